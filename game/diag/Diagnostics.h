// Wires the diagnostics options into the game application: the built-in player for "-autoplay" and, for
// "-quit-after-level", one line of JSON with the day's figures on standard output and a clean exit.
#pragma once

#include <memory>
#include <string>

class PlayerBot;

namespace Zestra
{
class Board;
class GameApp;
} // namespace Zestra

class Diagnostics
{
public:
    explicit Diagnostics(Zestra::GameApp& app);
    ~Diagnostics();

    // The day's figures as one JSON object (no line end).
    static std::string DayReport(const Zestra::Board& board, int ticks, long long wallMs);

private:
    void OnDayStarted();
    void OnUpdate();
    void OnLevelEnded();

    Zestra::GameApp& mApp;
    std::unique_ptr<PlayerBot> mBot;
    long long mStartMs = 0;
};
