#include "game/shopday/DayLedger.h"

DayLedger::Reached DayLedger::AddSale(double sale, double tip)
{
    customersServed += 1;
    int old = int(money);
    money += sale + tip;
    cash += sale;
    tips += tip;
    if (old < expertGoal && expertGoal <= money)
        return Reached::ExpertGoal;
    if (old < goal && goal <= money)
        return Reached::Goal;
    return Reached::Nothing;
}

void DayLedger::AddBonus(double amount)
{
    money += amount;
    cash += amount;
}
