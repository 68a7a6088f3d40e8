#include "game/data/Money.h"

#include <cmath>

std::int64_t MoneyCents(double dollars)
{
    // Beyond this no amount of the game can go, and llround would be undefined past the 64-bit range.
    constexpr double kLimit = 1e15;
    if (!std::isfinite(dollars))
        return 0;
    const double cents = std::round(dollars * 100.0);
    if (cents >= kLimit)
        return std::int64_t(kLimit);
    if (cents <= -kLimit)
        return -std::int64_t(kLimit);
    return std::int64_t(cents);
}

double RoundCents(double dollars)
{
    return double(MoneyCents(dollars)) / 100.0;
}

double AddMoney(double a, double b)
{
    return double(MoneyCents(a) + MoneyCents(b)) / 100.0;
}
