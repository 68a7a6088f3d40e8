// The store map's rules that need no screen: which icon stands for each month of the run so far, where the month
// icons and the heroine's marker sit, when a store is shown being built, how the iris opens and how the marker
// fades in during the countdown.
#pragma once

#include <functional>
#include <vector>

struct StoreInfo;

enum class MonthIcon
{
    NotComplete,       // not played yet, started, or the day to play next
    Complete,          // passed
    ExpertComplete,    // passed with the expert goal
    MinigameComplete,  // a bonus day already behind the player
};

// Icons of the store's list entries 0..level (inclusive). stateOf(i) is the profile's level state of entry i
// (0 never started, 1 started, 2 passed, 3 expert); only entries before `level` ask for it, and any other value
// reads as not complete.
std::vector<MonthIcon> MonthIcons(const StoreInfo& store, int level, const std::function<int(int)>& stateOf);

constexpr int kMonthIconY = 573;    // centre of the month icons
constexpr int kMarkerBottom = 583;  // bottom edge of the heroine's marker
constexpr int kMapCountdown = 150;  // updates between the map settling and the click that continues
constexpr int kBuildUpdates = 300;  // updates a newly unlocked store is shown being built

// Centre x of month icon i, and of the marker standing on it.
constexpr int MonthIconCentreX(int index)
{
    return 54 * index + 49;
}

// A store is built on the map when the run stands at the first day of a store after the first one, and that day
// was never started.
bool BuildsStoreOnMap(int storeNumber, int levelIndex, bool levelStarted);

constexpr double kIrisStartSize = 8.0;
// The iris size after one of its growth steps: times 1.2 while small, then 30 pixels at a time.
double GrowIris(double size);

// Alpha of the marker during the countdown: hidden above 99, fading in over its last 100 updates, full at 0.
int MarkerAlpha(int countdown);
