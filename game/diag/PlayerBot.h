// The built-in player: looks at the board every few updates and plays the day through the mouse alone, sending the
// same events a person would (move, press, drag, release) into the application's event queue. It serves the
// lines, fetches and brings wanted items, collects items left in changing rooms, restocks, discards what nobody
// wants and gives drinks to the angriest customers. Before a day it shops in the upgrade shop by the rule of
// ShoppingRule.h: it clicks the badge of the offer it wants, then the panel's buy button, and done when it wants
// nothing more. On a minigame day it plays the memory game instead (see MinigamePlayer). It uses no randomness of
// the game's: a seeded day plays the same way again.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <utility>

class ActiveComponent;
class Customer;
class Minigame;
class MinigamePlayer;
class NovicePlayer;
struct PlatformEventSink;

namespace Zestra
{
class Board;
struct PlatformEvent;
} // namespace Zestra

class PlayerBot
{
public:
    using EventSink = std::function<void(const Zestra::PlatformEvent&)>;

    static constexpr int kThinkTicks = 8;  // a person does not click a hundred times a second
    static constexpr size_t kPlanAhead = 3; // orders it keeps queued at most

    enum class Style
    {
        Strong, // plans ahead and never hesitates
        Novice, // a newcomer on the floor and in the memory game (see NovicePlayer); shops and follows lessons alike
    };

    // seed: the run's; only the newcomer draws chances from it.
    PlayerBot(Zestra::Board& board, EventSink sink, Style style = Style::Strong, unsigned seed = 1);
    ~PlayerBot();

    // Once per fixed update.
    void Update();
    // One decision now: at most one click or one drink; false when there was nothing to do.
    bool Think();
    // One decision in the upgrade shop: a badge, a panel's button or done; false when there was nothing to click.
    bool Shop();

    int clicks = 0;
    int drinksGiven = 0;
    const NovicePlayer* Novice() const { return mNovice.get(); } // null for the strong player

private:
    bool ClickOn(ActiveComponent& component);
    void ClickAt(int x, int y);
    bool GiveDrink();
    void PlayMinigame(const Minigame& minigame);
    // During a lesson: what its arrows point at, the click that continues a text box, or the drink it asks for.
    bool FollowLesson();
    bool GiveLessonDrink();
    // The upgrade panel the shop lesson opened: buy, or leave when it cannot sell.
    bool AnswerLessonPanel();
    void Send(int type, int x, int y, int code);

    Zestra::Board& mBoard;
    EventSink mSink;
    int mWait = 0;
    // Offers (kind, spot) whose panel would not sell during this visit of the shop; forgotten when it closes.
    std::set<std::pair<int, int>> mRefused;
    std::pair<int, int> mChosen{-1, -1};
    std::unique_ptr<MinigamePlayer> mMinigamePlayer; // made on the first minigame update
    std::unique_ptr<NovicePlayer> mNovice;           // plays the floor in place of Think for the newcomer
    unsigned mSeed;
    bool mDrinksShown = false; // a lesson had the player give a drink
};
