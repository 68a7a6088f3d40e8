#include "game/shopday/DayLedger.h"

#include "game/data/Money.h"

DayLedger::Reached DayLedger::AddSale(double sale, double tip)
{
    customersServed += 1;
    int old = int(money);
    sale = RoundCents(sale);
    tip = RoundCents(tip);
    cash = AddMoney(cash, sale);
    tips = AddMoney(tips, tip);
    money = AddMoney(money, sale + tip);
    if (old < expertGoal && expertGoal <= money)
        return Reached::ExpertGoal;
    if (old < goal && goal <= money)
        return Reached::Goal;
    return Reached::Nothing;
}

void DayLedger::AddBonus(double amount)
{
    cash = AddMoney(cash, amount);
    money = AddMoney(money, amount);
}
