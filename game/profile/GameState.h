// One run in progress: the store and level reached, the upgrades bought for that store, drinks, score, cash, lives
// and each floor spot's furniture step. A plain value: copies carry every field; the store link points into the
// store table and is never owned.
#pragma once

#include <utility>
#include <vector>

struct StoreInfo;

struct GameState
{
    int storeNumber = 0;
    int levelIndex = 0;        // next entry of the store's level list
    int changingRooms = 0;
    int merchantLevel = 0;
    int drinks = 0;
    int goodieRack = 0;        // 1 once bought
    double score = 0.0;
    double cash = 0.0;
    int lives = 4;
    std::vector<int> furnitureLevels;                   // per floor spot; -1 = no furniture yet
    std::vector<std::pair<int, int>> mannequinClothing; // per mannequin: (top, bottom) clothing ids, 0 = none
    const StoreInfo* store = nullptr;

    // Rebuilds what each mannequin wears from the furniture levels: a mannequin shows the current step's clothing
    // of the furnished spot whose first clothing is the mannequin's own piece, or nothing.
    void RebuildMannequinClothing();
    // Next step for that spot (ignored for a spot outside the list or already at its last step).
    void UpgradeFurniture(int spot);
    bool AllSpotsFurnished() const;
};

constexpr int kNewGameLives = 4;

// A fresh run in that store: level 0, the store's initial changing rooms and drinks, 4 lives, every spot furnished
// at step 0 when that step is free and empty otherwise. A null store gives a default run with no spots.
GameState NewGameState(const StoreInfo* store);
