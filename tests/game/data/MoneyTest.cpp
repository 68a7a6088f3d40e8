// The cent grid every amount of the game lives on.
#include "game/data/Money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

TEST(MoneyTest, AmountsAndSumsLandOnWholeCents)
{
    struct Case
    {
        double dollars;
        long long cents;
    };
    const Case cases[] = {
        {0.0, 0},
        {24.99f, 2499},               // a price read as a float
        {3 * 1.7 * 1.5, 765},         // a tip of three hearts at 1.70 with a goodie rack of 1.5
        {0.1 + 0.2, 30},
        {-12.345, -1235},             // halves away from zero
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(MoneyCents(c.dollars), c.cents) << c.dollars;
        EXPECT_EQ(RoundCents(c.dollars), double(c.cents) / 100.0) << c.dollars;
    }
    // Ten dimes make exactly a dollar on the grid; added as doubles they fall short of it.
    double sum = 0.0;
    for (int i = 0; i < 10; ++i)
        sum = AddMoney(sum, 0.1);
    EXPECT_EQ(sum, 1.0);
    EXPECT_EQ(AddMoney(279.0, 445.5), 724.5);
    EXPECT_EQ(AddMoney(500.0, -100.0), 400.0);
}

} // namespace
