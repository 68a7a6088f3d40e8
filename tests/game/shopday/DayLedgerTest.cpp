// A day's books: every figure on whole cents, and the takings always the sum of sales, bonuses and tips.
#include "game/shopday/DayLedger.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

TEST(DayLedgerTest, TakingsAreTheSumOfTheirPartsToTheCent)
{
    struct Entry
    {
        double sale;
        double tip;
        bool bonus; // a memory game bonus (sale holds it)
    };
    struct Case
    {
        const char* name;
        std::vector<Entry> entries;
        double cash;
        double tips;
        double money;
    };
    const Case cases[] = {
        {"a float price and a tip times the goodie rack", {{24.99f, 3 * 1.7 * 1.5, false}}, 24.99, 7.65, 32.64},
        {"ten tips of a dime", std::vector<Entry>(10, Entry{0.0, 0.1, false}), 0.0, 1.0, 1.0},
        {"the two stages of a memory game", {{279.0, 0.0, true}, {445.5, 0.0, true}}, 724.5, 0.0, 724.5},
        {"half cents of a wrapped gift", {{20.0 + 2.005 * 2, 0.333, false}, {10.0, 0.333, false}}, 34.01, 0.66, 34.67},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        DayLedger day;
        for (const Entry& e : c.entries)
        {
            if (e.bonus)
                day.AddBonus(e.sale);
            else
                day.AddSale(e.sale, e.tip);
        }
        EXPECT_EQ(day.cash, c.cash);
        EXPECT_EQ(day.tips, c.tips);
        EXPECT_EQ(day.money, c.money);
    }
}

TEST(DayLedgerTest, CentsThatAddUpToTheGoalReachIt)
{
    DayLedger day;
    day.goal = 1;
    day.expertGoal = 5;
    DayLedger::Reached reached = DayLedger::Reached::Nothing;
    for (int i = 0; i < 10; ++i)
        reached = day.AddSale(0.0, 0.1);
    EXPECT_EQ(reached, DayLedger::Reached::Goal);
    EXPECT_TRUE(day.GoalReached());
}

} // namespace
