// The built-in player's part in the memory game. It looks at the mannequins while they are shown and remembers
// their outfits (every piece, or each piece with a given chance), then drags the remembered cards from the tray onto
// them with the mouse alone (press, a few moves, release) and finally presses the done button. What it forgot it
// guesses among the cards of the right gender and kind. Its guesses come from its own generator, so a seed replays
// the same game.
#pragma once

#include <functional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

class MinigamePlay;

namespace Zestra
{
struct PlatformEvent;
struct Rect;
} // namespace Zestra

class MinigamePlayer
{
public:
    using EventSink = std::function<void(const Zestra::PlatformEvent&)>;

    static constexpr int kThinkTicks = 12; // updates between two drags
    static constexpr int kDragMoves = 6;   // pointer moves between press and release, one per update

    // memoryPercent: the chance that a piece seen in the preview is remembered (100: all of them).
    MinigamePlayer(EventSink sink, int memoryPercent = 100, unsigned seed = 1);

    // Once per fixed update. doneButton: where the done button is while it is shown, else null.
    void Update(const MinigamePlay& play, const Zestra::Rect* doneButton);

    int drags = 0;        // cards dragged onto mannequins
    int donePresses = 0;

private:
    struct Slot
    {
        size_t mannequin = 0;
        bool top = true;        // the top slot (a dress fills it too), else the bottom slot
        int kind = 0;           // what was worn there: 0 top, 1 bottom, 2 dress
        std::string name;       // empty when forgotten
    };

    void Remember(const MinigamePlay& play);
    bool StartDrag(const MinigamePlay& play);
    void Send(int type, int x, int y, int code);

    EventSink mSink;
    int mMemoryPercent;
    std::mt19937 mRandom;
    int mStage = 0;
    bool mRemembered = false;
    std::vector<Slot> mSlots;                   // the outfits of this stage, tops before bottoms
    std::set<std::pair<size_t, bool>> mTried;   // slots a card was dropped on
    std::vector<Zestra::PlatformEvent> mGesture; // events still to send, one per update
    int mWait = 0;
};
