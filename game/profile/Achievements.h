// Achievements and a player's statistics as plain values: the events of play, the running statistics they add up
// to, and the table of achievements, each earned by a rule over the statistics after an event and the event itself.
// Nothing here reads a clock or a global: the same events always earn the same achievements.
#pragma once

#include <map>
#include <string>
#include <vector>

// Something that happened in play that statistics count or an achievement may reward.
enum class PlayEventKind
{
    CustomerServed, // a customer paid: sale, tip and dayTick
    CustomerLost,
    DrinkGiven,
    UpgradeBought,  // offersLeft: upgrades of the store still on offer after it
    MemoryStage,    // a stage of the memory game was counted: matches, misses, needed, stage
    DayEnded,       // the day's figures below
};

// The outcome of a day as the events carry it (the numbers of DayResult).
constexpr int kEventDayFailed = 0;
constexpr int kEventDayPassed = 1;
constexpr int kEventDayExpert = 2;

struct PlayEvent
{
    PlayEventKind kind = PlayEventKind::CustomerServed;
    int storeNumber = 0;
    int levelIndex = 0;
    // CustomerServed
    double sale = 0.0;
    double tip = 0.0;
    int dayTick = 0; // ticks since the doors opened
    // UpgradeBought
    int offersLeft = 0;
    // MemoryStage
    int stage = 0;
    int matches = 0;
    int misses = 0;
    int needed = 0;
    // DayEnded
    int result = kEventDayFailed;
    bool minigame = false;
    double money = 0.0; // sales and tips
    double tips = 0.0;
    double goal = 0.0;
    int served = 0;
    int lost = 0;
    int ticks = 0;             // played on the floor
    bool drinksOnHand = false; // the day started with drinks to give
    int drinksUsed = 0;
    int runLives = 0;          // the run's lives after the day
    int livesLostInStore = 0;  // since the store's first day of this run
    bool storeCompleted = false;
    bool gameCompleted = false;     // the store was the last one
    int storeLevels = 0;            // days in the store
    int storeExpertDays = 0;        // days of the store the player has finished at expert, this one included
};

// A player's statistics; every count starts at zero for a new player and for a file written before they existed.
struct PlayerStats
{
    int customersServed = 0;
    int customersLost = 0;
    double money = 0.0; // sales and tips of every day played
    double tips = 0.0;
    int daysPlayed = 0;
    int daysPassed = 0; // expert days included
    int daysExpert = 0;
    std::map<int, double> bestDay; // store number -> the most money of one day there
    double memoryBest = 0.0;       // the most money of one memory game day
    long long timeTicks = 0;       // on the floor, in ticks
    // Counts some achievements ask for.
    int drinksGiven = 0;
    int upgradesBought = 0;
    int perfectMemoryStages = 0;
    int expertStreak = 0; // expert days in a row, up to the last day played
    int storesCompleted = 0;

    bool operator==(const PlayerStats&) const = default;
};

// Adds the event to the statistics.
void ApplyPlayEvent(PlayerStats& stats, const PlayEvent& event);

struct AchievementInfo
{
    const char* id;       // as the profiles file names it; never changes once shipped
    const char* nameKey;  // text keys of its name and of its one-line description (how to earn it)
    const char* textKey;
    int icon;             // cel of the achievement icons picture
    bool (*rule)(const PlayerStats& after, const PlayEvent& event);
};

// Every achievement, in the order the trophy screen shows them.
const std::vector<AchievementInfo>& AchievementTable();
// Null for an id this version does not know.
const AchievementInfo* FindAchievement(const std::string& id);

// Earned achievements: id -> the player's day on which it was earned (1 = the first day played).
using EarnedAchievements = std::map<std::string, int>;

// The event goes into the statistics, and every achievement not yet earned whose rule holds afterwards is earned
// on the day it happened. Returns the ids newly earned, in table order.
std::vector<std::string> RecordPlayEvent(PlayerStats& stats, EarnedAchievements& earned, const PlayEvent& event);
