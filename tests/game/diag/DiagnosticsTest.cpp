// The diagnostics options: the level option's parsing and the one-line day report.
#include "game/app/GameApp.h"
#include "game/diag/Diagnostics.h"
#include "game/shopday/Board.h"

#include <gtest/gtest.h>

namespace
{

TEST(LevelOption, AcceptsStoreColonLevelOnly)
{
    struct Case
    {
        const char* text;
        bool ok;
        int store;
        int level;
    };
    for (Case c : {Case{"1:0", true, 1, 0}, Case{"5:11", true, 5, 11}, Case{"0:1", false, 0, 0},
                   Case{"1", false, 0, 0}, Case{"1:", false, 0, 0}, Case{":2", false, 0, 0},
                   Case{"1:-1", false, 0, 0}, Case{"a:b", false, 0, 0}, Case{"1:2x", false, 0, 0},
                   Case{"99999999999:1", false, 0, 0}})
    {
        int store = 0;
        int level = 0;
        EXPECT_EQ(Zestra::ParseLevelOption(c.text, store, level), c.ok) << c.text;
        if (c.ok)
        {
            EXPECT_EQ(store, c.store) << c.text;
            EXPECT_EQ(level, c.level) << c.text;
        }
    }
}

TEST(DayReport, IsOneJsonObjectWithEveryFigure)
{
    Zestra::Board board;
    board.lastDay.storePlayed = 2;
    board.lastDay.levelPlayed = 3;
    board.lastDay.levelResult = DayResult::Expert;
    board.lastDay.levelMoney = 160.5;
    board.day.cash = 150;
    board.day.tips = 10.5;
    board.day.goal = 100;
    board.day.expertGoal = 150;
    board.day.lostCustomers = 1;
    board.day.customersServed = 9;
    board.lastDay.runLives = 3;
    board.lastDay.runTotal = 420;
    EXPECT_EQ(Diagnostics::DayReport(board, 18000, 42),
              "{\"store\":2,\"level\":3,\"result\":\"expert\",\"money\":160.50,\"cash\":150.00,\"tips\":10.50,"
              "\"goal\":100.00,\"expert_goal\":150.00,\"lost_customers\":1,\"customers_served\":9,\"lives\":3,"
              "\"run_total\":420,\"ticks\":18000,\"wall_ms\":42}");
    board.lastDay.levelResult = DayResult::Failed;
    EXPECT_NE(Diagnostics::DayReport(board, 1, 1).find("\"result\":\"failed\""), std::string::npos);
}

} // namespace
