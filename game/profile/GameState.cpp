// The run record's rules: the new-game values and the mannequin clothing derived from the furniture levels.
#include "game/profile/GameState.h"

#include "game/data/LevelStats.h"

#include <algorithm>
#include <map>

GameState NewGameState(const StoreInfo* store)
{
    GameState state;
    state.store = store;
    if (!store)
        return state;
    state.storeNumber = store->number;
    state.changingRooms = store->initialChangingRooms;
    state.drinks = store->initialDrinks;
    state.lives = kNewGameLives;
    state.furnitureLevels.reserve(store->floorSpots.size());
    for (const FloorSpot& spot : store->floorSpots)
        state.furnitureLevels.push_back(!spot.upgrades.empty() && spot.upgrades.front().price == 0 ? 0 : -1);
    state.RebuildMannequinClothing();
    return state;
}

void GameState::RebuildMannequinClothing()
{
    mannequinClothing.clear();
    if (!store)
        return;
    // First clothing of every furnished spot -> that spot's index (a later spot with the same line wins).
    std::map<int, size_t> spotOfLine;
    const size_t spots = std::min(furnitureLevels.size(), store->floorSpots.size());
    for (size_t i = 0; i < spots; ++i)
        if (furnitureLevels[i] != -1)
            spotOfLine[store->floorSpots[i].firstClothing] = i;

    auto shown = [&](int line) {
        auto it = spotOfLine.find(line);
        if (line == 0 || it == spotOfLine.end())
            return 0;
        const FloorSpot& spot = store->floorSpots[it->second];
        const int level = furnitureLevels[it->second];
        if (level < 0 || level >= static_cast<int>(spot.upgrades.size()))
            return 0;
        return spot.upgrades[static_cast<size_t>(level)].clothing;
    };
    for (const MannequinInfo& mannequin : store->mannequins)
        mannequinClothing.emplace_back(shown(mannequin.topClothing), shown(mannequin.bottomClothing));
}

void GameState::UpgradeFurniture(int spot)
{
    if (!store || spot < 0 || spot >= static_cast<int>(furnitureLevels.size()) ||
        spot >= static_cast<int>(store->floorSpots.size()))
        return;
    const int steps = static_cast<int>(store->floorSpots[static_cast<size_t>(spot)].upgrades.size());
    int& level = furnitureLevels[static_cast<size_t>(spot)];
    if (level + 1 >= steps)
        return; // already at the last step: no further purchase exists
    ++level;
    RebuildMannequinClothing();
}

bool GameState::AllSpotsFurnished() const
{
    return std::none_of(furnitureLevels.begin(), furnitureLevels.end(), [](int level) { return level == -1; });
}
