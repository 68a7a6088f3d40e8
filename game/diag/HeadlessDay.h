// Plays one shop day on a board without an application around it: ticks it, lets the built-in player act through
// the board's own mouse handlers (the way the widget manager would deliver the events), and optionally draws
// every tick. Used by the whole-day tests and the speed benchmarks.
#pragma once

namespace Zestra
{
class Board;
class Graphics;
struct PlatformEvent;
} // namespace Zestra

class PlayerBot;

struct DayOutcome
{
    int result = -1; // 0 failed, 1 passed, 2 expert; -1 when the day did not end within the tick limit
    double money = 0;
    double cash = 0;
    double tips = 0;
    double goal = 0;
    double expertGoal = 0;
    int lostCustomers = 0;
    int customersServed = 0;
    int ticks = 0;
    int clicks = 0; // the player's clicks on the floor
    int misses = 0; // of them, landed beside their target (the newcomer only)
};

class HeadlessDay
{
public:
    explicit HeadlessDay(Zestra::Board& board) : mBoard(board) {}

    // g: drawn into after every tick when not null. maxTicks bounds a day that never ends.
    DayOutcome Play(bool autoplay, Zestra::Graphics* g, int maxTicks = 200000);
    // The same, played by the built-in newcomer with the run's seed.
    DayOutcome PlayAsNovice(unsigned seed, int maxTicks = 200000);
    // Plays the board's lesson with the built-in player until the board has deleted it; returns the updates it
    // took, or -1 when it still ran after maxTicks.
    int PlayLesson(Zestra::Graphics* g, int maxTicks);
    // Routes one input event to the board as the widget manager does (moves while pressed become drags).
    void Deliver(const Zestra::PlatformEvent& event);

private:
    DayOutcome PlayWith(PlayerBot* bot, Zestra::Graphics* g, int maxTicks);

    Zestra::Board& mBoard;
    bool mPressed = false;
};
