// Whole shop days of the game's own content, played headless by the built-in player through the board's mouse
// handlers. Skipped when the build has no content folder.
#include "ShopContent.h"

#include "../store/FloorContent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/diag/HeadlessDay.h"
#include "game/shopday/Board.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

class WholeDay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        if (!LoadShopContent(&error))
            GTEST_SKIP() << error;
    }
    void TearDown() override { FreeShopContent(); }

    DayOutcome Play(int store, int level, unsigned seed, bool draw)
    {
        std::srand(seed);
        auto board = std::make_unique<Zestra::Board>();
        board->LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
        EXPECT_TRUE(board->OpenDay(store, level));
        Zestra::MemoryImage screen(800, 600);
        Zestra::Graphics g(&screen);
        HeadlessDay day(*board);
        return day.Play(true, draw ? &g : nullptr);
    }
};

TEST_F(WholeDay, TheFirstDaysPlayToTheEndAndTheSameSeedPlaysTheSameDay)
{
    for (int level : {0, 1})
    {
        DayOutcome first = Play(1, level, 7, level == 0);
        ASSERT_GE(first.result, 0) << "day 1:" << level << " did not end";
        EXPECT_GT(first.customersServed, 0);
        DayOutcome again = Play(1, level, 7, false);
        EXPECT_EQ(again.result, first.result);
        EXPECT_EQ(again.money, first.money);
        EXPECT_EQ(again.ticks, first.ticks);
        EXPECT_EQ(again.lostCustomers, first.lostCustomers);
    }
}

TEST_F(WholeDay, TheNewcomerTakesAboutASecondPerClickMissesSometimesAndASeedReplaysItsDay)
{
    auto playNovice = [](int level, unsigned seed)
    {
        std::srand(seed);
        auto board = std::make_unique<Zestra::Board>();
        board->LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
        EXPECT_TRUE(board->OpenDay(1, level));
        HeadlessDay day(*board);
        return day.PlayAsNovice(seed);
    };
    int misses = 0;
    for (int level : {0, 3})
    {
        DayOutcome first = playNovice(level, 2);
        ASSERT_GE(first.result, 0) << "day 1:" << level << " did not end";
        ASSERT_GT(first.clicks, 0);
        EXPECT_GE(first.ticks / first.clicks, 60) << "faster than a person on day 1:" << level;
        EXPECT_GT(first.customersServed, 0);
        misses += first.misses;
        DayOutcome again = playNovice(level, 2);
        EXPECT_EQ(again.money, first.money);
        EXPECT_EQ(again.ticks, first.ticks);
        EXPECT_EQ(again.clicks, first.clicks);
        EXPECT_EQ(again.misses, first.misses);
    }
    EXPECT_GT(misses, 0);
}

// Records what the end of the day tells the profile.
class Recorder : public DayRecorder
{
public:
    int submittedScore = -1;
    int unlocked = 0;
    bool savedNone = false;
    std::optional<int> RecordDay(const DayRecord& record) override
    {
        if (record.unlockStore > 0)
            unlocked = record.unlockStore;
        savedNone = !record.savedGame;
        if (!record.runEnded)
            return std::nullopt;
        submittedScore = record.finalScore;
        return 0;
    }
};

TEST_F(WholeDay, PassingAStoresLastDayMovesTheRunOnOrEndsIt)
{
    struct Case
    {
        int store;
        bool runGoesOn;
    };
    for (Case c : {Case{1, true}, Case{PlayableStoreCount(), false}})
    {
        const StoreInfo* info = GetStoreInfo(c.store);
        ASSERT_NE(info, nullptr);
        Zestra::Board board;
        Recorder recorder;
        board.SetRecorder(&recorder);
        ASSERT_TRUE(board.OpenDay(c.store, int(info->levels.size()) - 1));
        GameState scored = *board.run.Progress();
        scored.score = 1000;
        board.run.ReplaceWorkingCopy(scored);
        board.day.money = board.day.goal;
        board.EndLevel();
        EXPECT_TRUE(board.lastDay.storeCompleted);
        EXPECT_EQ(recorder.submittedScore, 1000 + int(board.day.goal)) << "the store's run has ended";
        EXPECT_EQ(board.run.Saved() != nullptr, c.runGoesOn);
        EXPECT_EQ(recorder.savedNone, !c.runGoesOn);
        if (c.runGoesOn)
        {
            EXPECT_EQ(board.run.Saved()->storeNumber, c.store + 1);
            EXPECT_EQ(board.run.Saved()->levelIndex, 0);
            EXPECT_EQ(recorder.unlocked, c.store + 1);
        }
    }
}

} // namespace

namespace
{

// Every day of the content with one seed, and the table of results; long, so only on request
// (VELMORA_ALL_DAYS=1). The built-in player must pass at least four days in five.
TEST_F(WholeDay, EveryDayOfTheContent)
{
    if (std::getenv("VELMORA_ALL_DAYS") == nullptr)
        GTEST_SKIP() << "set VELMORA_ALL_DAYS=1 to play every day";
    int days = 0;
    int passed = 0;
    for (int store = 1; store <= StoreCount(); ++store)
    {
        const StoreInfo* info = GetStoreInfo(store);
        for (int level = 0; info != nullptr && level < int(info->levels.size()); ++level)
        {
            if (info->levels[size_t(level)].isMinigame)
                continue;
            DayOutcome day = Play(store, level, 1, false);
            ASSERT_GE(day.result, 0) << store << ":" << level;
            ++days;
            passed += day.result > 0;
            std::printf("%d:%-2d goal %7.2f expert %7.2f money %7.2f lost %2d served %3d %s\n", store, level, day.goal,
                        day.expertGoal, day.money, day.lostCustomers, day.customersServed,
                        day.result == 2 ? "expert" : (day.result == 1 ? "passed" : "failed"));
        }
    }
    std::printf("passed %d of %d days\n", passed, days);
    EXPECT_GE(passed * 5, days * 4);
}

} // namespace
