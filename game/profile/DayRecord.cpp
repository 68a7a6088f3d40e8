#include "game/profile/DayRecord.h"

#include "game/data/Money.h"

DayEnd EndOfDay(const RunCopies& run, const DayFigures& day, int levelCount, const StoreInfo* nextStore)
{
    DayEnd end;
    GameState progress = *run.progress;
    std::optional<GameState> saved = run.saved;
    DayRecord& record = end.record;
    record.storeNumber = progress.storeNumber;
    record.levelIndex = progress.levelIndex;

    const bool passed = day.money >= day.goal || day.minigame;
    if (passed)
    {
        record.result = day.money >= day.expertGoal ? DayResult::Expert : DayResult::Passed;
        end.runLives = progress.lives;
        progress.cash = AddMoney(AddMoney(progress.cash, day.cash), day.tips);
        progress.score = AddMoney(progress.score, day.money);
        progress.levelIndex += 1;
        std::optional<GameState> next = progress;
        if (progress.levelIndex >= levelCount)
        {
            end.storeCompleted = true;
            record.runEnded = true;
            next.reset();
            if (nextStore != nullptr)
                next = NewGameState(nextStore);
        }
        if (next)
            record.unlockStore = next->storeNumber;
        saved = next;
    }
    else
    {
        record.result = DayResult::Failed;
        // A run always keeps its start-of-day copy; one started without it fails from the working copy.
        if (!saved)
            saved = progress;
        saved->lives -= 1;
        end.runLives = saved->lives;
        if (saved->lives <= 0)
        {
            saved.reset();
            record.runEnded = true;
        }
        // The working copy, with what was bought before the day, stays until the map replaces it.
        end.run.progress = progress;
    }
    end.run.saved = saved;
    record.savedGame = saved;
    record.finalScore = int(AddMoney(run.progress->score, day.money)); // whole dollars score
    end.runTotal = passed || !saved ? record.finalScore : int(saved->score);
    return end;
}

std::optional<DayRecord> SkipDay(const GameState& progress, bool wholeStore, int levelCount, bool lastStore,
                                 const StoreInfo* nextStore)
{
    if (lastStore && (wholeStore || progress.levelIndex + 1 >= levelCount))
        return std::nullopt;
    GameState moved = progress;
    moved.levelIndex = wholeStore ? levelCount : moved.levelIndex + 1;
    if (moved.levelIndex >= levelCount)
        moved = NewGameState(nextStore);
    DayRecord record;
    record.storeNumber = progress.storeNumber;
    record.levelIndex = progress.levelIndex;
    record.unlockStore = moved.storeNumber;
    record.savedGame = moved;
    return record;
}
