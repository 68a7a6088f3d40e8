// The achievement table and the statistics' arithmetic. Rules reward different ways of playing: progress, care for
// the customers, speed, thrift, spending, the memory game; each reads only its two arguments.
#include "game/profile/Achievements.h"

#include <algorithm>

namespace
{

constexpr int kTicksPerSecond = 100;
constexpr int kQuickSaleTicks = 60 * kTicksPerSecond;
constexpr double kTipJarTips = 50.0;
constexpr double kGenerousTips = 1000.0;
constexpr int kExpertStreakDays = 3;
constexpr int kBigSpenderUpgrades = 10;
constexpr double kMemoryJackpot = 1000.0;
constexpr int kRefreshingDrinks = 25;
constexpr double kRecordDayMoney = 1000.0;
constexpr int kFullHouseServed = 15;
constexpr double kPhotoFinishMargin = 10.0;
constexpr long long kTimeFliesTicks = 2LL * 60 * 60 * kTicksPerSecond;

bool Is(const PlayEvent& e, PlayEventKind kind)
{
    return e.kind == kind;
}

bool DayPassed(const PlayEvent& e)
{
    return Is(e, PlayEventKind::DayEnded) && e.result != kEventDayFailed;
}

// A passed day on the floor (the memory game has no customers, drinks or goal to beat).
bool ShopDayPassed(const PlayEvent& e)
{
    return DayPassed(e) && !e.minigame;
}

const std::vector<AchievementInfo> kAchievements = {
    {"first_sale", "ach_first_sale", "ach_first_sale_how", 0,
     [](const PlayerStats& s, const PlayEvent&) { return s.customersServed >= 1; }},
    {"first_day", "ach_first_day", "ach_first_day_how", 1,
     [](const PlayerStats&, const PlayEvent& e) { return ShopDayPassed(e); }},
    {"quick_hands", "ach_quick_hands", "ach_quick_hands_how", 2,
     [](const PlayerStats&, const PlayEvent& e) {
         return Is(e, PlayEventKind::CustomerServed) && e.dayTick <= kQuickSaleTicks;
     }},
    {"nobody_left", "ach_nobody_left", "ach_nobody_left_how", 3,
     [](const PlayerStats&, const PlayEvent& e) { return ShopDayPassed(e) && e.lost == 0 && e.served > 0; }},
    {"tip_jar", "ach_tip_jar", "ach_tip_jar_how", 4,
     [](const PlayerStats&, const PlayEvent& e) { return Is(e, PlayEventKind::DayEnded) && e.tips >= kTipJarTips; }},
    {"generous_crowd", "ach_generous_crowd", "ach_generous_crowd_how", 5,
     [](const PlayerStats& s, const PlayEvent&) { return s.tips >= kGenerousTips; }},
    {"expert_day", "ach_expert_day", "ach_expert_day_how", 6,
     [](const PlayerStats&, const PlayEvent& e) { return ShopDayPassed(e) && e.result == kEventDayExpert; }},
    {"on_a_roll", "ach_on_a_roll", "ach_on_a_roll_how", 7,
     [](const PlayerStats& s, const PlayEvent&) { return s.expertStreak >= kExpertStreakDays; }},
    {"perfectionist", "ach_perfectionist", "ach_perfectionist_how", 8,
     [](const PlayerStats&, const PlayEvent& e) {
         return Is(e, PlayEventKind::DayEnded) && e.storeLevels > 0 && e.storeExpertDays >= e.storeLevels;
     }},
    {"grand_opening", "ach_grand_opening", "ach_grand_opening_how", 9,
     [](const PlayerStats&, const PlayEvent& e) { return DayPassed(e) && e.storeCompleted; }},
    {"tycoon", "ach_tycoon", "ach_tycoon_how", 10,
     [](const PlayerStats&, const PlayEvent& e) { return DayPassed(e) && e.gameCompleted; }},
    {"steady_hands", "ach_steady_hands", "ach_steady_hands_how", 11,
     [](const PlayerStats&, const PlayEvent& e) {
         return DayPassed(e) && e.storeCompleted && e.livesLostInStore == 0;
     }},
    {"last_chance", "ach_last_chance", "ach_last_chance_how", 12,
     [](const PlayerStats&, const PlayEvent& e) { return ShopDayPassed(e) && e.runLives == 1; }},
    {"investor", "ach_investor", "ach_investor_how", 13,
     [](const PlayerStats& s, const PlayEvent&) { return s.upgradesBought >= 1; }},
    {"fully_stocked", "ach_fully_stocked", "ach_fully_stocked_how", 14,
     [](const PlayerStats&, const PlayEvent& e) { return Is(e, PlayEventKind::UpgradeBought) && e.offersLeft == 0; }},
    {"big_spender", "ach_big_spender", "ach_big_spender_how", 15,
     [](const PlayerStats& s, const PlayEvent&) { return s.upgradesBought >= kBigSpenderUpgrades; }},
    {"sharp_eye", "ach_sharp_eye", "ach_sharp_eye_how", 16,
     [](const PlayerStats& s, const PlayEvent&) { return s.perfectMemoryStages >= 1; }},
    {"encore", "ach_encore", "ach_encore_how", 17,
     [](const PlayerStats&, const PlayEvent& e) { return Is(e, PlayEventKind::MemoryStage) && e.stage >= 2; }},
    {"jackpot", "ach_jackpot", "ach_jackpot_how", 18,
     [](const PlayerStats&, const PlayEvent& e) {
         return DayPassed(e) && e.minigame && e.money >= kMemoryJackpot;
     }},
    {"dry_day", "ach_dry_day", "ach_dry_day_how", 19,
     [](const PlayerStats&, const PlayEvent& e) {
         return ShopDayPassed(e) && e.drinksOnHand && e.drinksUsed == 0;
     }},
    {"refreshing", "ach_refreshing", "ach_refreshing_how", 20,
     [](const PlayerStats& s, const PlayEvent&) { return s.drinksGiven >= kRefreshingDrinks; }},
    {"regulars", "ach_regulars", "ach_regulars_how", 21,
     [](const PlayerStats& s, const PlayEvent&) { return s.customersServed >= 100; }},
    {"crowd_pleaser", "ach_crowd_pleaser", "ach_crowd_pleaser_how", 22,
     [](const PlayerStats& s, const PlayEvent&) { return s.customersServed >= 500; }},
    {"well_off", "ach_well_off", "ach_well_off_how", 23,
     [](const PlayerStats& s, const PlayEvent&) { return s.money >= 10000.0; }},
    {"mogul", "ach_mogul", "ach_mogul_how", 24,
     [](const PlayerStats& s, const PlayEvent&) { return s.money >= 50000.0; }},
    {"record_day", "ach_record_day", "ach_record_day_how", 25,
     [](const PlayerStats&, const PlayEvent& e) { return ShopDayPassed(e) && e.money >= kRecordDayMoney; }},
    {"full_house", "ach_full_house", "ach_full_house_how", 26,
     [](const PlayerStats&, const PlayEvent& e) {
         return Is(e, PlayEventKind::DayEnded) && !e.minigame && e.served >= kFullHouseServed;
     }},
    {"photo_finish", "ach_photo_finish", "ach_photo_finish_how", 27,
     [](const PlayerStats&, const PlayEvent& e) {
         return ShopDayPassed(e) && e.money - e.goal < kPhotoFinishMargin;
     }},
    {"dedicated", "ach_dedicated", "ach_dedicated_how", 28,
     [](const PlayerStats& s, const PlayEvent&) { return s.daysPlayed >= 50; }},
    {"time_flies", "ach_time_flies", "ach_time_flies_how", 29,
     [](const PlayerStats& s, const PlayEvent&) { return s.timeTicks >= kTimeFliesTicks; }},
};

} // namespace

void ApplyPlayEvent(PlayerStats& stats, const PlayEvent& event)
{
    switch (event.kind)
    {
    case PlayEventKind::CustomerServed:
        stats.customersServed += 1;
        break;
    case PlayEventKind::CustomerLost:
        stats.customersLost += 1;
        break;
    case PlayEventKind::DrinkGiven:
        stats.drinksGiven += 1;
        break;
    case PlayEventKind::UpgradeBought:
        stats.upgradesBought += 1;
        break;
    case PlayEventKind::MemoryStage:
        if (event.needed > 0 && event.matches == event.needed && event.misses == 0)
            stats.perfectMemoryStages += 1;
        break;
    case PlayEventKind::DayEnded:
    {
        stats.daysPlayed += 1;
        stats.money += event.money;
        stats.tips += event.tips;
        stats.timeTicks += std::max(0, event.ticks);
        if (event.result != kEventDayFailed)
            stats.daysPassed += 1;
        if (event.result == kEventDayExpert)
            stats.daysExpert += 1;
        // A memory game day always counts as expert; only days on the floor make or break a streak.
        if (!event.minigame)
            stats.expertStreak = event.result == kEventDayExpert ? stats.expertStreak + 1 : 0;
        if (event.minigame)
            stats.memoryBest = std::max(stats.memoryBest, event.money);
        double& best = stats.bestDay[event.storeNumber];
        best = std::max(best, event.money);
        if (event.result != kEventDayFailed && event.storeCompleted)
            stats.storesCompleted += 1;
        break;
    }
    }
}

const std::vector<AchievementInfo>& AchievementTable()
{
    return kAchievements;
}

const AchievementInfo* FindAchievement(const std::string& id)
{
    for (const AchievementInfo& info : kAchievements)
        if (id == info.id)
            return &info;
    return nullptr;
}

std::vector<std::string> RecordPlayEvent(PlayerStats& stats, EarnedAchievements& earned, const PlayEvent& event)
{
    ApplyPlayEvent(stats, event);
    // Events inside a day belong to the day being played; a day's end has already been counted.
    const int day = event.kind == PlayEventKind::DayEnded ? stats.daysPlayed : stats.daysPlayed + 1;
    std::vector<std::string> fresh;
    for (const AchievementInfo& info : kAchievements)
    {
        if (earned.count(info.id) != 0 || !info.rule(stats, event))
            continue;
        earned[info.id] = day;
        fresh.push_back(info.id);
    }
    return fresh;
}
