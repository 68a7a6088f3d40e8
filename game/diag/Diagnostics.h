// Wires the diagnostics options into the game application: the built-in player for "-autoplay" and, for
// "-quit-after-level", one line of JSON with the day's figures on standard output and a clean exit. "-autoplay"
// without "-level" plays the whole game from the logo through every screen and every store: one JSON line per day,
// and a last line once the last store is done (or a run is lost), then a clean exit.
//
// With "-drive" the player's events go out through a MouseDriver for a script to make with the real pointer, and
// its decisions wait while one is on its way; each new step of a lesson is told there too ("lesson step N", then
// "lesson end"). "-idle-day" keeps its hands still through one day, once.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct FigureRow;
class MouseDriver;
class PanelPlayer;
class PlayerBot;

namespace Zestra
{
class Board;
class GameApp;
struct PlatformEvent;
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
    // A result panel's table as one JSON object: {"panel":[["label","figure"],...]} in its order on screen.
    static std::string PanelReport(const std::vector<FigureRow>& rows);

private:
    void OnDayStarted();
    void OnUpdate();
    void OnLevelEnded();
    // A whole run through the screens ("-autoplay" without "-level").
    bool PlaysRun() const;
    // The run is over and its last screen reached: the last line, then the end.
    void FinishRunWhenShown();
    // Where the player's events go: the application's queue, or the driver's lines.
    std::function<void(const Zestra::PlatformEvent&)> EventSink();
    // "-drive": opens its file and makes the driver, once; false when the file cannot be opened.
    bool StartDriver();
    // "-idle-day": the day being played is the one to leave alone, and it has not been yet.
    bool IdlesNow() const;

    struct FileCloser
    {
        void operator()(std::FILE* file) const;
    };

    Zestra::GameApp& mApp;
    std::unique_ptr<PlayerBot> mBot;
    std::unique_ptr<PanelPlayer> mPanels;
    std::unique_ptr<std::FILE, FileCloser> mDriveFile; // null for standard output
    std::unique_ptr<MouseDriver> mDriver;
    std::function<void(const std::string&)> mDriveOut; // a line to the driver's file
    int mLessonStep = -1;                              // the last step told to the driver's file
    bool mIdled = false;
    long long mStartMs = 0;
    long long mRunStartMs = 0;
    RunTally mTally;
    bool mRunOver = false;
    bool mPanelDue = false; // "-panels": a day has ended whose result panel has not been printed yet
};
