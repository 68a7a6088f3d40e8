// The built-in player's hands outside the program ("-drive"): rather than putting its mouse events straight into the
// application's queue, the player hands them here, and they go out one at a time as text lines ("move X Y",
// "down X Y", "up X Y", in window pixels) for a script to perform with the real pointer of the display. Each line
// waits until its event has come back in through the platform, like any input a person makes, and the player's
// decisions wait with it: it never sends a second click before the first was seen, while the game's clock runs on
// as it would for a person's slow hand.
#pragma once

#include <deque>
#include <functional>
#include <string>

namespace Zestra
{
struct PlatformEvent;
}

class MouseDriver
{
public:
    using LineSink = std::function<void(const std::string& line)>;

    // Updates a line may wait for its event before the driver says so on the log (once per line).
    static constexpr int kPatienceUpdates = 1000;

    explicit MouseDriver(LineSink sink);

    // An event the player wants made. Moves, presses and releases of the left button go out as lines; anything
    // else is dropped (the player makes nothing else).
    void Offer(const Zestra::PlatformEvent& event);
    // An input event the application has handled: the awaited one lets the next line go.
    void Observe(const Zestra::PlatformEvent& event);
    // Once per fixed update: counts the wait of the line out.
    void Update();

    // A line is out and not yet seen back, or more are waiting: the player should not decide anything now.
    bool Busy() const { return !mPending.empty(); }
    // The line whose event is awaited, or empty.
    const std::string& Awaited() const { return mAwaitedLine; }

private:
    struct Wanted
    {
        int type = 0; // 0 move, 1 down, 2 up
        int x = 0;
        int y = 0;
    };
    // Sends the next line, skipping moves to where the pointer already is (the display would report nothing).
    void SendNext();

    LineSink mSink;
    std::deque<Wanted> mPending; // the first one is out when mAwaitedLine is set
    std::string mAwaitedLine;
    bool mPointerKnown = false;
    int mPointerX = 0;
    int mPointerY = 0;
    int mWaited = 0;
};
