// The end-of-day rule over plain values, as a table, and the one call that carries its record into the profile.
#include "ProfileTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/profile/DayRecord.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{

TEST(DayRecordTest, TheDaysEndMovesTheRunCostsALifeOrEndsIt)
{
    StoreInfo next;
    next.number = 2;
    next.initialDrinks = 3;
    struct Case
    {
        const char* name;
        double money;
        bool minigame;
        int levelIndex; // of 3 levels
        int livesAtStart;
        bool nextStore;
        DayResult result;
        bool storeCompleted;
        bool runEnded;
        int unlock;
        int savedStore; // 0: no saved run
        int savedLevel;
        int savedLives;
        int runTotal;
    };
    // Goal 100, expert 150; the run has score 500 and cash 20, the day earns cash 70% and tips 30% of its money.
    const Case cases[] = {
        {"failed", 99.99, false, 1, 4, true, DayResult::Failed, false, false, 0, 1, 1, 3, 500},
        {"exactly the goal", 100, false, 1, 4, true, DayResult::Passed, false, false, 1, 1, 2, 4, 600},
        {"exactly the expert goal", 150, false, 1, 4, true, DayResult::Expert, false, false, 1, 1, 2, 4, 650},
        {"a memory game always passes", 0, true, 1, 4, true, DayResult::Passed, false, false, 1, 1, 2, 4, 500},
        {"the last life", 10, false, 1, 1, true, DayResult::Failed, false, true, 0, 0, 0, 0, 510},
        {"the store's last day", 120, false, 2, 2, true, DayResult::Passed, true, true, 2, 2, 0, 4, 620},
        {"the last store's last day", 120, false, 2, 2, false, DayResult::Passed, true, true, 0, 0, 0, 0, 620},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameState run;
        run.storeNumber = 1;
        run.levelIndex = c.levelIndex;
        run.score = 500;
        run.cash = 20;
        run.lives = c.livesAtStart;
        GameState working = run;
        working.cash = 5; // spent in the shop before the day
        DayFigures day;
        day.money = c.money;
        day.cash = c.money * 0.7;
        day.tips = c.money * 0.3;
        day.goal = 100;
        day.expertGoal = 150;
        day.minigame = c.minigame;

        DayEnd end = EndOfDay(RunCopies{working, run}, day, 3, c.nextStore ? &next : nullptr);
        EXPECT_EQ(end.record.result, c.result);
        EXPECT_EQ(end.storeCompleted, c.storeCompleted);
        EXPECT_EQ(end.record.runEnded, c.runEnded);
        EXPECT_EQ(end.record.unlockStore, c.unlock);
        EXPECT_EQ(end.record.storeNumber, 1);
        EXPECT_EQ(end.record.levelIndex, c.levelIndex);
        EXPECT_EQ(end.record.finalScore, int(500 + c.money));
        EXPECT_EQ(end.runTotal, c.runTotal);
        EXPECT_EQ(end.record.savedGame.has_value(), c.savedStore != 0);
        EXPECT_EQ(end.run.saved.has_value(), c.savedStore != 0);
        if (end.run.saved)
        {
            EXPECT_EQ(end.run.saved->storeNumber, c.savedStore);
            EXPECT_EQ(end.run.saved->levelIndex, c.savedLevel);
            EXPECT_EQ(end.run.saved->lives, c.savedLives);
        }
        if (c.savedStore == 1)
        {
            EXPECT_EQ(end.runLives, c.savedLives);
        }
        if (IsPassed(c.result))
        {
            // Nothing is left to play on until the map makes a working copy again.
            EXPECT_FALSE(end.run.progress);
            if (c.savedStore == 1)
            {
                EXPECT_DOUBLE_EQ(end.run.saved->cash, 5 + c.money);
            }
            if (c.savedStore == 2)
            {
                EXPECT_EQ(end.run.saved->drinks, 3) << "a fresh run of the next store";
            }
        }
        else
        {
            // The working copy stays as it was; its purchases are lost when the map replaces it.
            ASSERT_TRUE(end.run.progress);
            EXPECT_DOUBLE_EQ(end.run.progress->cash, 5);
        }
    }
}

TEST(DayRecordTest, ARunWithoutAStartOfDayCopyFailsFromItsWorkingCopy)
{
    GameState working;
    working.storeNumber = 1;
    working.lives = 2;
    DayFigures day;
    day.goal = 10;
    DayEnd end = EndOfDay(RunCopies{working, std::nullopt}, day, 3, nullptr);
    ASSERT_TRUE(end.run.saved);
    EXPECT_EQ(end.run.saved->lives, 1);
}

TEST(DayRecordTest, ARunCountsItsDaysToTheCent)
{
    // Twelve days of $0.10 sales and $0.05 tips, then one of $0.20: as plain doubles the cash and score fall short
    // of $1.80 and the final score of 2.
    GameState run;
    run.storeNumber = 1;
    DayFigures day;
    day.money = 0.15;
    day.cash = 0.1;
    day.tips = 0.05;
    for (int i = 0; i < 12; ++i)
    {
        DayEnd end = EndOfDay(RunCopies{run, run}, day, 13, nullptr);
        ASSERT_TRUE(end.run.saved);
        run = *end.run.saved;
    }
    EXPECT_EQ(run.cash, 1.8);
    EXPECT_EQ(run.score, 1.8);
    DayFigures last = day;
    last.money = 0.2;
    EXPECT_EQ(EndOfDay(RunCopies{run, run}, last, 13, nullptr).record.finalScore, 2);
}

TEST(DayRecordTest, SkippingMovesToTheNextDayOrStoreButNotPastTheLast)
{
    StoreInfo next;
    next.number = 2;
    struct Case
    {
        int levelIndex; // of 3 levels
        bool wholeStore;
        bool lastStore;
        int store; // 0: nothing happens
        int level;
    };
    const Case cases[] = {
        {0, false, false, 1, 1}, {2, false, false, 2, 0}, {0, true, false, 2, 0},
        {1, false, true, 1, 2},  {2, false, true, 0, 0},  {0, true, true, 0, 0},
    };
    for (const Case& c : cases)
    {
        GameState run;
        run.storeNumber = 1;
        run.levelIndex = c.levelIndex;
        std::optional<DayRecord> record = SkipDay(run, c.wholeStore, 3, c.lastStore, c.lastStore ? nullptr : &next);
        ASSERT_EQ(record.has_value(), c.store != 0) << c.levelIndex << c.wholeStore << c.lastStore;
        if (!record)
            continue;
        EXPECT_EQ(record->result, DayResult::None);
        EXPECT_FALSE(record->runEnded);
        ASSERT_TRUE(record->savedGame);
        EXPECT_EQ(record->savedGame->storeNumber, c.store);
        EXPECT_EQ(record->savedGame->levelIndex, c.level);
        EXPECT_EQ(record->unlockStore, c.store);
    }
}

TEST_F(ProfileTest, ADaysRecordReachesTheProfileAndTheFileInOneCall)
{
    Load();
    CreateProfile("Ann");
    DayRecord record;
    record.storeNumber = 1;
    record.levelIndex = 11;
    record.result = DayResult::Expert;
    record.unlockStore = 2;
    record.savedGame = NewGameState(GetStoreInfo(2));
    EXPECT_EQ(RecordDay(record), std::nullopt) << "the run goes on: no score submitted";
    EXPECT_EQ(GetLevelState(1, 11), kLevelPassedExpert);
    EXPECT_EQ(GetUnlockedStores(), 2);
    ASSERT_TRUE(HasSavedGame());
    EXPECT_EQ(GetSavedGame()->storeNumber, 2);
    EXPECT_NE(ReadMain().find("<state store=\"2\""), std::string::npos);

    DayRecord lost;
    lost.storeNumber = 2;
    lost.result = DayResult::Failed;
    lost.runEnded = true;
    lost.finalScore = 5000;
    EXPECT_EQ(RecordDay(lost), 0);
    EXPECT_FALSE(HasSavedGame());
    EXPECT_EQ(GetLevelState(2, 0), kLevelNeverStarted);
    Load();
    EXPECT_EQ(GetHighScoreTable(2)->entries[0].score, 5000);
    EXPECT_EQ(GetHighScoreTable(2)->entries[0].name, "Ann");
}

} // namespace
