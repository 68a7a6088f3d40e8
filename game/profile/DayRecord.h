// The end of a shop day as plain values: the rule that turns a day's figures into the run's next state, its lives,
// the store to unlock and the high-score entry, and the one record of it that the player's profile receives.
// The rule reads nothing but its arguments, so every case of it can be tried as a table.
#pragma once

#include "game/profile/Achievements.h"
#include "game/profile/GameState.h"

#include <optional>
#include <string>
#include <vector>

struct StoreInfo;

// How a day ended. The numbers are those the diagnostics lines print.
enum class DayResult
{
    None = -1, // no day has ended (or a skip word moved the run on without one)
    Failed = 0,
    Passed = 1,
    Expert = 2, // passed with the expert goal
};

inline bool IsPassed(DayResult result)
{
    return result == DayResult::Passed || result == DayResult::Expert;
}

// What a day's end tells the player's profile, in one value.
struct DayRecord
{
    int storeNumber = 0; // the day played
    int levelIndex = 0;
    DayResult result = DayResult::None; // passed or expert marks the level passed
    int unlockStore = 0;                // unlocked stores are raised to it; 0 leaves them
    std::optional<GameState> savedGame; // the run to keep; none clears the saved game
    bool runEnded = false;              // finalScore goes to the high-score table of storeNumber
    int finalScore = 0;
};

// The run as the board holds it: the working copy the day is played on and the copy from the start of the day.
struct RunCopies
{
    std::optional<GameState> progress;
    std::optional<GameState> saved;
};

// The day's figures that decide its end.
struct DayFigures
{
    double money = 0.0; // sales and tips
    double cash = 0.0;
    double tips = 0.0;
    double goal = 0.0;
    double expertGoal = 0.0;
    bool minigame = false; // a memory game day always passes
};

struct DayEnd
{
    RunCopies run; // after the day: no working copy; no saved copy once the run has ended
    DayRecord record;
    bool storeCompleted = false; // the day was the store's last
    int runLives = 0;            // the run's lives after the day
    int runTotal = 0;            // the run's score after the day (kept, or final)
};

// A passed day adds its takings to the run's cash and score and moves it to the next day; after the store's last
// day the run goes on in a fresh run of nextStore (null: the game is over) and that store is unlocked. A failed
// day costs a life of the start-of-day copy, and the last one ends the run. run.progress must hold a run.
DayEnd EndOfDay(const RunCopies& run, const DayFigures& day, int levelCount, const StoreInfo* nextStore);

// A skip word: the run moves to the next day, or past the store's last day with wholeStore, and then on to a fresh
// run of nextStore. Nothing in the last playable store when there is no next day. The record keeps the moved run.
std::optional<DayRecord> SkipDay(const GameState& progress, bool wholeStore, int levelCount, bool lastStore,
                                 const StoreInfo* nextStore);

// Where the records of a board's days go: the player's profile (ProfileRecorder) or, in tests, a fake.
class DayRecorder
{
public:
    virtual ~DayRecorder() = default;
    // The place in the store's high-score table when the record ended the run (-1: not good enough), nothing
    // when no score was submitted.
    virtual std::optional<int> RecordDay(const DayRecord& record) = 0;
    // The debug word that puts every table back to its default rows.
    virtual void ResetHighScores() {}
    // An event of play for the player's statistics; returns the achievements it earned (ids). A day's end is
    // reported before its RecordDay, which writes both to the file.
    virtual std::vector<std::string> RecordEvent(const PlayEvent&) { return {}; }
};
