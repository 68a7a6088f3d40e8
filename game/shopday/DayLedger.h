// The figures of one shop day: its clock, its takings and its goals. A plain value; the board keeps today's, the
// HUD shows it and the end of the day turns it into the run's cash and score.
#pragma once

struct DayLedger
{
    // What a sale crossed on its way up.
    enum class Reached
    {
        Nothing,
        Goal,
        ExpertGoal,
    };

    int clockTicks = 0;  // left until the doors close
    // Whole cents (see Money.h); the books keep money = cash + tips.
    double money = 0.0;  // today's takings: sales, bonuses and tips
    double cash = 0.0;   // sales and bonuses
    double tips = 0.0;
    double goal = 0.0;
    double expertGoal = 0.0;
    int lostCustomers = 0;
    int customersServed = 0; // customers that paid

    // Books a paid sale and its tip. Whole dollars decide whether a goal was crossed, so a goal already reached is
    // never announced again by cents above it; the expert goal wins when one sale crosses both.
    Reached AddSale(double sale, double tip);
    void AddBonus(double amount);
    bool GoalReached() const { return money >= goal; }
    bool ExpertGoalReached() const { return money >= expertGoal; }
};
