// The store map without a screen: the month icons of a run, when a store is built, the iris and the marker, and a
// store icon's hover, lock and building effect.
#include "../store/StoreTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/menus/MapRules.h"
#include "game/menus/MapStoreIcon.h"
#include "game/audio/GameSound.h"

#include <cstdlib>
#include <map>

namespace
{

TEST(MapRules, AStoreInProgressShowsItsPastMonthsByStateAndTheNextAsNotComplete)
{
    StoreInfo store;
    store.levels.resize(6);
    store.levels[2].isMinigame = true;
    std::map<int, int> states = {{0, 3}, {1, 2}, {3, 1}, {4, 9}};
    std::vector<int> asked;
    auto stateOf = [&](int i) {
        asked.push_back(i);
        return states.count(i) ? states[i] : 0;
    };
    // The run stands at entry 5: the day to play next has no state of its own yet.
    EXPECT_EQ(MonthIcons(store, 5, stateOf),
              (std::vector<MonthIcon>{MonthIcon::ExpertComplete, MonthIcon::Complete, MonthIcon::MinigameComplete,
                                      MonthIcon::NotComplete, MonthIcon::NotComplete, MonthIcon::NotComplete}));
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 3, 4}));
    // Standing on the bonus day itself: not complete under the marker.
    EXPECT_EQ(MonthIcons(store, 2, stateOf).back(), MonthIcon::NotComplete);
    EXPECT_EQ(MonthIcons(store, 0, stateOf), std::vector<MonthIcon>{MonthIcon::NotComplete});
    EXPECT_EQ(MonthIconCentreX(0), 49);
    EXPECT_EQ(MonthIconCentreX(3), 211);
}

TEST(MapRules, OnlyTheUnstartedFirstDayOfALaterStoreIsBuilt)
{
    EXPECT_TRUE(BuildsStoreOnMap(2, 0, false));
    EXPECT_FALSE(BuildsStoreOnMap(2, 0, true));
    EXPECT_FALSE(BuildsStoreOnMap(2, 1, false));
    EXPECT_FALSE(BuildsStoreOnMap(1, 0, false));
}

TEST(MapRules, TheIrisGrowsByAFifthWhileSmallThenThirtyAStep)
{
    double size = kIrisStartSize;
    int steps = 0;
    double last = size;
    while (size <= 1.2 * 800)
    {
        last = size;
        size = GrowIris(size);
        ++steps;
    }
    EXPECT_DOUBLE_EQ(GrowIris(8), 9.6);
    EXPECT_DOUBLE_EQ(GrowIris(80), 110);
    EXPECT_GT(last, 930);
    // 13 steps of a fifth to pass 80, then 30 at a time past 960: about 2 seconds at one step per four updates.
    EXPECT_EQ(steps, 43);
}

TEST(MapRules, TheMarkerFadesInOverTheLastHundredUpdatesOfTheCountdown)
{
    const std::pair<int, int> cases[] = {{150, 0}, {100, 0}, {99, 2}, {50, 127}, {1, 252}, {0, 255}};
    for (auto [countdown, alpha] : cases)
        EXPECT_EQ(MarkerAlpha(countdown), alpha) << countdown;
}

class StoreIcon : public BoundPictures
{
protected:
    std::shared_ptr<Zestra::MemoryImage> icon = MakePicture(130, 130);
    std::shared_ptr<Zestra::MemoryImage> locked = MakePicture(130, 130);
    std::shared_ptr<Zestra::MemoryImage> over = MakePicture(130, 130);
    StoreInfo info;
    std::vector<int> sounds;

    void SetUp() override
    {
        info.number = 2;
        info.iconX = 190;
        info.iconY = 160;
        info.iconLeft = 200;
        info.iconRight = 330;
        info.iconBottom = 290;
        info.images = {{"MapIcon", icon.get()}, {"MapIconLocked", locked.get()}, {"MapIconOver", over.get()}};
        IMAGE_MENU_STORE_SMOKE = MakePicture(144, 48, 3);
        IMAGE_MENU_SAW = MakePicture(384, 48, 8);
        IMAGE_MENU_HAMMER = MakePicture(288, 48, 6);
        SOUND_CONSTRUCTION = 31;
        SOUND_STORE_BUILT = 32;
        SetGameSoundSink([this](int id) { sounds.push_back(id); });
        std::srand(7);
    }
    void TearDown() override
    {
        SetGameSoundSink({});
        SOUND_CONSTRUCTION = -1;
        SOUND_STORE_BUILT = -1;
        BoundPictures::TearDown();
    }
};

TEST_F(StoreIcon, ALockedStoreHoversButCannotBeChosen)
{
    MapStoreIcon store(info, false);
    EXPECT_EQ(store.image, locked.get());
    EXPECT_FALSE(store.IsUnlocked());
    store.TrackMouse(250, 200);
    EXPECT_TRUE(store.hovered);
    EXPECT_FALSE(store.Contains(250, 200));

    MapStoreIcon open(info, true);
    EXPECT_EQ(open.image, icon.get());
    EXPECT_TRUE(open.Contains(200, 160));
    EXPECT_FALSE(open.Contains(330, 200)); // right and bottom edges are outside
    EXPECT_FALSE(open.Contains(250, 290));
    EXPECT_FALSE(open.Contains(250, 159));
}

TEST_F(StoreIcon, BuildingLastsThreeHundredUpdatesThenTheStoreIsHighlighted)
{
    MapStoreIcon store(info, true);
    store.StartConstruction();
    EXPECT_EQ(store.image, locked.get());
    EXPECT_EQ(store.particles.size(), 74u);
    for (const auto& particle : store.particles)
    {
        EXPECT_GE(particle->x, 200 - 48);
        EXPECT_LT(particle->x, 330);
        EXPECT_GE(particle->y, 160 - 36);
        EXPECT_LT(particle->y, 290);
    }
    int updates = 0;
    while (store.IsBuilding() && updates < 1000)
    {
        EXPECT_FALSE(store.hovered);
        store.Update();
        ++updates;
    }
    EXPECT_EQ(updates, 300);
    EXPECT_TRUE(store.hovered);
    EXPECT_EQ(sounds, (std::vector<int>{31, 32}));
    store.Update(); // idle again: nothing more happens
    EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(StoreIcon, AClickAreaNarrowerThanTheToolsStillBuilds)
{
    info.iconRight = info.iconLeft;
    info.iconBottom = info.iconY;
    MapStoreIcon store(info, true);
    store.StartConstruction();
    EXPECT_EQ(store.particles.size(), 74u);
    EXPECT_TRUE(store.IsBuilding());
}

} // namespace
