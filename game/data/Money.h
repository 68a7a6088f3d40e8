// Money is counted in dollars held as doubles that always carry a whole number of cents. Amounts are put on the
// cent grid where they enter the books (a sale with its gift wrapping, a tip multiplied by the goodie rack, a
// memory-game bonus, a day's takings reaching the run) and every sum is put back on it, so a total always equals
// the sum of the figures shown beside it, and cents never drift a sum below a goal.
#pragma once

#include <cstdint>

// The nearest whole number of cents (halves away from zero); not-a-number and infinities count as none.
std::int64_t MoneyCents(double dollars);
// The double nearest to the nearest whole number of cents: the one representation of that amount.
double RoundCents(double dollars);
// a + b on the cent grid, whatever grid a and b were on.
double AddMoney(double a, double b);
