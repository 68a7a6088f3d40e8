#include "DataTestSupport.h"

#include "framework/graphics/Image.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"

#include <gtest/gtest.h>

namespace
{

class LevelStatsTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    void Read(const std::string& stores, const std::string& levels)
    {
        folder.Write("properties/stores.xml", stores);
        folder.Write("properties/levels.xml", levels);
        LevelStats reader(host, false);
    }
};

std::vector<int> Ids(const StoreInfo& store)
{
    std::vector<int> ids;
    for (const LevelInfo& level : store.levels)
        ids.push_back(level.id);
    return ids;
}

} // namespace

TEST_F(LevelStatsTest, LevelsGoToTheStoresInOrderAndMinigamesKeepTheIdCounter)
{
    Read(R"(<game main-menu-music="menu" map-music="map"/><store name="A"/><store name="B"/>)",
         R"(<store/><level/><level/><minigame preview-time="2" hide-time="1" solve-time="3"/><level/>)");
    ASSERT_EQ(StoreCount(), 2);
    EXPECT_EQ(Ids(*GetStoreInfo(1)), (std::vector<int>{0, 1, 0, 2}));
    EXPECT_TRUE(GetStoreInfo(1)->levels[2].isMinigame);
    EXPECT_EQ(GetStoreInfo(1)->levels[2].previewTime, 200);
    EXPECT_TRUE(GetStoreInfo(2)->levels.empty());
    EXPECT_EQ(PlayableStoreCount(), 1);
    EXPECT_EQ(GetStoreInfo(0), nullptr);
    EXPECT_EQ(GetStoreInfo(3), nullptr);
    EXPECT_EQ(GetStoreInfo(1)->GetLevel(4), nullptr);
}

TEST_F(LevelStatsTest, DoorStripColumnsAreWholeFramesAndNeverZero)
{
    const std::pair<int, int> cases[] = {{612, 6}, {650, 6}, {408, 4}, {50, 1}};
    for (const auto& [width, columns] : cases)
    {
        FreeDataTables();
        host.issues.clear();
        host.images.clear();
        host.AddStoreImages("A", width);
        Read(R"(<store name="A"/>)", "");
        Zestra::Image* door = GetStoreInfo(1)->GetImage("ChangingRoomDoor");
        ASSERT_NE(door, nullptr);
        EXPECT_EQ(door->GetCelCols(), columns) << width;
        EXPECT_EQ(host.Find("narrower") != nullptr, width < kDoorFrameWidth) << width;
    }
}

TEST_F(LevelStatsTest, FurnitureStepsTrackClothingLinesAndRegisterWithTheFirstCost)
{
    Read(R"(<store name="A"/>
<def-furniture type="TA" clothing-type="folded"/><clothing x="1" y="2" display="before"/>
<def-furniture type="TB"/>
<layout x="1" y="2" gender="male"/>
<furniture type="TA" price="0" clothing="X" cost="30"/>
<furniture type="TB" price="50" clothing="X" cost="99"/>
<furniture type="TB" price="80" clothing="Y" cost="45"/>
<furniture type="TB" price="90"/>
<mannequin gender="male" x="3" y="4" top="X" bottom="nope"/>)",
         "");
    const StoreInfo& store = *GetStoreInfo(1);
    ASSERT_EQ(store.floorSpots.size(), 1u);
    const FloorSpot& spot = store.floorSpots[0];
    ASSERT_EQ(spot.upgrades.size(), 4u);
    const bool only[] = {false, true, false, false};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(spot.upgrades[i].furnitureOnly, only[i]) << i;
    EXPECT_EQ(spot.upgrades[3].clothing, spot.upgrades[2].clothing); // an empty clothing keeps the last one
    EXPECT_EQ(spot.firstClothing, FindClothing(1, "X"));
    EXPECT_EQ(GetClothing(FindClothing(1, "X")).price, 30);
    EXPECT_EQ(GetClothing(FindClothing(1, "Y")).price, 45);
    EXPECT_EQ(spot.upgrades[0].furniture, &store.furnitureTypes.at("TA"));
    EXPECT_EQ(store.furnitureTypes.at("TA").clothingKind, 1);
    EXPECT_EQ(store.furnitureTypes.at("TB").clothingKind, 2);
    EXPECT_TRUE(store.furnitureTypes.at("TA").clothingSpots[0].drawnBefore);
    ASSERT_EQ(store.mannequins.size(), 1u);
    EXPECT_EQ(store.mannequins[0].topClothing, spot.firstClothing);
    EXPECT_EQ(store.mannequins[0].bottomClothing, 0);
    const ReportedIssue* unknown = host.Find("\"nope\"");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->line, 9);
}

TEST_F(LevelStatsTest, RedefiningAFurnitureTypeKeepsStepLinksValid)
{
    Read(R"(<store name="A"/><def-furniture type="T" price-y="1"/><layout/><furniture type="T" clothing="X"/>
<def-furniture type="T" price-y="7"/>)",
         "");
    const StoreInfo& store = *GetStoreInfo(1);
    EXPECT_EQ(store.floorSpots[0].upgrades[0].furniture->priceY, 7);
}

TEST_F(LevelStatsTest, CountPassPredictsTheLoadingStepsOfTheFullPass)
{
    const std::string stores = R"(<store name="A"/><minigame-clothing name="m1"/><store name="B"/>
<minigame-clothing name="m2" type="both"/><minigame-clothing name="m3"/>)";
    folder.Write("properties/stores.xml", stores);
    LevelStats counter(host, true);
    EXPECT_EQ(StoreCount(), 0);
    Read(stores, "");
    EXPECT_EQ(counter.ImageTotal(), 2 * kStoreImageCount + 3);
    EXPECT_EQ(host.steps, counter.ImageTotal());
    EXPECT_EQ(GetStoreInfo(2)->minigameClothing[0].kind, 2);
}

// Each broken file is reported at its line and the rest still reads.
TEST_F(LevelStatsTest, DataErrorsAreReportedWithTheirLineAndSkipped)
{
    std::string manySpots = "<store name=\"A\"/><def-furniture type=\"T\"/>";
    for (int i = 0; i < 70; ++i)
        manySpots += "\n<layout x=\"1\" y=\"1\"/><furniture type=\"T\" clothing=\"X\"/>";
    struct Case
    {
        const char* stores;
        const char* levels;
        const char* fragment;
        const char* file;
        int line;
    };
    const Case cases[] = {
        {"<layout/>", "", "before any <store>", "properties/stores.xml", 1},
        {"<store name=\"A\"/>\n<furniture type=\"T\" clothing=\"X\"/>", "", "before any <layout>",
         "properties/stores.xml", 2},
        {"<store name=\"A\"/>\n<clothing x=\"1\"/>", "", "before any <def-furniture>", "properties/stores.xml", 2},
        {"<store name=\"A\"/>\n<layout/>\n<furniture type=\"T\" clothing=\"X\"/>", "", "is not defined",
         "properties/stores.xml", 3},
        {"<store name=\"A\"/><def-furniture type=\"T\"/>\n<layout/>\n<furniture type=\"T\"/>", "",
         "names no clothing", "properties/stores.xml", 3},
        {"<store name=\"A\"/>", "<store/>\n<store/>\n<level/>", "more <store> elements", "properties/levels.xml", 2},
        {"<store name=\"A\"/>", "<store/>\n<customer name=\"x\"/>", "before any <level>", "properties/levels.xml", 2},
        // Counts the board builds from are bounded by what the floor holds.
        {"<store name=\"A\"/>\n<changing-rooms init=\"2000000000\"/>", "", "starts with 2000000000 changing rooms",
         "properties/stores.xml", 2},
        {"<store name=\"A\"/><changing-rooms init=\"3\"/>\n<changing-room/>\n<changing-room/>\n<changing-room/>", "",
         "more changing rooms than the floor holds", "properties/stores.xml", 4},
        {manySpots.c_str(), "", "more than 64 floor spots", "properties/stores.xml", 66},
    };
    for (const Case& c : cases)
    {
        FreeDataTables();
        host.issues.clear();
        Read(c.stores, c.levels);
        const ReportedIssue* issue = host.Find(c.fragment);
        ASSERT_NE(issue, nullptr) << c.fragment;
        EXPECT_EQ(issue->severity, DataSeverity::Error) << c.fragment;
        EXPECT_EQ(issue->file, c.file) << c.fragment;
        EXPECT_EQ(issue->line, c.line) << c.fragment;
    }
    EXPECT_EQ(StoreCount(), 1); // an extra levels store never becomes a store
    EXPECT_EQ(GetStoreInfo(1)->floorSpots.size(), size_t(kMaxFloorSpots));
    EXPECT_EQ(host.Find("before any <layout>"), nullptr); // the furniture of a refused spot goes with it silently

    FreeDataTables();
    Read("<store name=\"A\"/><changing-rooms init=\"9\"/><changing-room price=\"5\"/>", "");
    EXPECT_EQ(GetStoreInfo(1)->initialChangingRooms, kMaxChangingRooms);
    EXPECT_TRUE(GetStoreInfo(1)->changingRoomPrices.empty());
}

TEST_F(LevelStatsTest, LevelFieldsAndTables)
{
    host.songs = {"music/day.ogg"};
    Read(R"(<store name="A"/><merchant name="P" speed="150" backroom_time="0.29" discard_time="2" price="5"/>)",
         R"(<store/><level min_goal="100" expert_goal="200" music="day" duration="90.5" customer_speed="80"
 max_customers="4"/><buy customer="lady" expensive-items="1" chic-items="2" medium-items="3"/>
<buy customer="lady" chic-items="9"/><customer name="lady" time="1.5"/>)");
    const StoreInfo& store = *GetStoreInfo(1);
    EXPECT_FLOAT_EQ(store.merchantLevels[0].speed, 1.5f);
    EXPECT_EQ(store.merchantLevels[0].backRoomTime, 28);
    const LevelInfo& level = store.levels[0];
    EXPECT_EQ(level.music, 0);
    EXPECT_EQ(level.duration, 9050);
    EXPECT_FLOAT_EQ(level.customerSpeed, 0.8f);
    EXPECT_EQ(level.buyCounts.at("lady1").chicItems, 9); // a repeated key overwrites
    EXPECT_EQ(level.buyCounts.at("lady1").expensiveItems, 0);
    ASSERT_EQ(level.arrivals.size(), 1u);
    EXPECT_EQ(level.arrivals[0].customerKey, "lady1");
    EXPECT_EQ(level.arrivals[0].delay, 150);
}
