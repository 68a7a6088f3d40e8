// Wires the diagnostics options into the game application: the built-in player for "-autoplay" and, for
// "-quit-after-level", one line of JSON with the day's figures on standard output and a clean exit. "-autoplay"
// without "-level" plays the whole game from the logo through every screen and every store: one JSON line per day,
// and a last line once the last store is done (or a run is lost), then a clean exit.
#pragma once

#include <memory>
#include <string>

class PanelPlayer;
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

    // What the game played by the built-in player came to.
    struct RunTally
    {
        int storesDone = 0;
        int daysPlayed = 0;
        int daysPassed = 0;
        bool complete = false; // the last store was finished; otherwise a run was lost
        double score = 0;      // the final totals of every store's run, added up
    };
    static std::string RunReport(const RunTally& tally, long long wallMs);

private:
    void OnDayStarted();
    void OnUpdate();
    void OnLevelEnded();
    // A whole run through the screens ("-autoplay" without "-level").
    bool PlaysRun() const;
    // The run is over and its last screen reached: the last line, then the end.
    void FinishRunWhenShown();

    Zestra::GameApp& mApp;
    std::unique_ptr<PlayerBot> mBot;
    std::unique_ptr<PanelPlayer> mPanels;
    long long mStartMs = 0;
    long long mRunStartMs = 0;
    RunTally mTally;
    bool mRunOver = false;
};
