#include "game/data/LevelStats.h"
#include "game/profile/GameState.h"

#include <gtest/gtest.h>

namespace
{

// A store built by hand: spots whose first steps cost the given prices, each its own clothing line
// (line i + 1, with step k selling clothing 10 * (i + 1) + k).
StoreInfo MakeStore(const std::vector<int>& firstPrices)
{
    StoreInfo store;
    store.number = 3;
    store.initialChangingRooms = 2;
    store.initialDrinks = 5;
    for (size_t i = 0; i < firstPrices.size(); ++i)
    {
        FloorSpot spot;
        const int line = 10 * static_cast<int>(i + 1);
        spot.firstClothing = line;
        for (int k = 0; k < 3; ++k)
            spot.upgrades.push_back({nullptr, line + k, k == 0 ? firstPrices[i] : 100, false});
        store.floorSpots.push_back(spot);
    }
    return store;
}

} // namespace

TEST(GameStateTest, NewGameFurnishesExactlyTheFreeFirstSteps)
{
    struct Case
    {
        std::vector<int> prices;
        std::vector<int> levels;
        bool furnished;
    };
    const Case cases[] = {
        {{50, 20}, {-1, -1}, false},
        {{0, 0}, {0, 0}, true},
        {{0, 30}, {0, -1}, false},
        {{}, {}, true},
    };
    for (const Case& c : cases)
    {
        const StoreInfo store = MakeStore(c.prices);
        const GameState state = NewGameState(&store);
        EXPECT_EQ(state.furnitureLevels, c.levels);
        EXPECT_EQ(state.AllSpotsFurnished(), c.furnished);
        EXPECT_EQ(state.storeNumber, 3);
        EXPECT_EQ(state.levelIndex, 0);
        EXPECT_EQ(state.changingRooms, 2);
        EXPECT_EQ(state.drinks, 5);
        EXPECT_EQ(state.lives, 4);
        EXPECT_EQ(state.score, 0.0);
        EXPECT_EQ(state.store, &store);
    }
}

TEST(GameStateTest, MannequinsWearTheCurrentStepOfTheirSpot)
{
    StoreInfo store = MakeStore({0, 50});
    store.mannequins.push_back({0, 0, false, 10, 20}); // top from line 10, bottom from line 20
    store.mannequins.push_back({0, 0, true, 99, 0});   // a line no spot sells
    GameState state = NewGameState(&store);
    ASSERT_EQ(state.mannequinClothing.size(), 2u);
    EXPECT_EQ(state.mannequinClothing[0], std::make_pair(10, 0)); // spot 1 has no furniture yet
    EXPECT_EQ(state.mannequinClothing[1], std::make_pair(0, 0));

    state.UpgradeFurniture(0);
    state.UpgradeFurniture(1);
    EXPECT_EQ(state.mannequinClothing[0], std::make_pair(11, 20));
    state.UpgradeFurniture(0);
    state.UpgradeFurniture(0); // past the last step: nothing to buy
    state.UpgradeFurniture(7);
    EXPECT_EQ(state.furnitureLevels, (std::vector<int>{2, 0}));
    EXPECT_EQ(state.mannequinClothing[0], std::make_pair(12, 20));

    const GameState copy = state; // a plain value: the copy keeps the store link and every field
    EXPECT_EQ(copy.store, &store);
    EXPECT_EQ(copy.mannequinClothing, state.mannequinClothing);
}

TEST(GameStateTest, NoStoreGivesAnEmptyRun)
{
    GameState state = NewGameState(nullptr);
    EXPECT_TRUE(state.furnitureLevels.empty());
    state.UpgradeFurniture(0);
    state.RebuildMannequinClothing();
    EXPECT_TRUE(state.mannequinClothing.empty());
}
