#include "DataTestSupport.h"

#include "game/data/ClothingStats.h"

#include <gtest/gtest.h>

namespace
{

class ClothingStatsTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;
};

} // namespace

TEST_F(ClothingStatsTest, OneNameInTwoStoresIsTwoGarments)
{
    ClothingStats catalogue(host);
    EXPECT_EQ(catalogue.RegisterClothing(1, "A", "mens_tshirt", 10), 1);
    EXPECT_EQ(catalogue.RegisterClothing(2, "B", "mens_tshirt", 20), 2);
    EXPECT_EQ(GetClothing(1).key, "mens_tshirt1");
    EXPECT_EQ(GetClothing(2).key, "mens_tshirt2");
    EXPECT_EQ(FindClothing(2, "mens_tshirt"), 2);
    EXPECT_EQ(FindClothing(3, "mens_tshirt"), 0);
    EXPECT_EQ(FindClothing(1, ""), 0);
    EXPECT_EQ(GetClothing(2).price, 20);
}

TEST_F(ClothingStatsTest, OutOfRangeIdsGiveTheEmptyRecord)
{
    ClothingStats catalogue(host);
    catalogue.RegisterClothing(1, "A", "x", 10);
    for (int id : {0, -1, 2, 1000})
    {
        EXPECT_EQ(GetClothing(id).id, 0) << id;
        EXPECT_EQ(GetClothing(id).GetPicture(LOOK_ICON), nullptr) << id;
    }
    EXPECT_EQ(GetClothing(1).GetPicture(LOOK_COUNT), nullptr);
}

TEST_F(ClothingStatsTest, PicturesComeFromTheStoreFolderAndAreShared)
{
    for (const char* suffix : kClothingPictureSuffixes)
        host.images[std::string("images/stores/A/clothing/x") + suffix] = {10, 10};
    ClothingStats catalogue(host);
    const int first = catalogue.RegisterClothing(1, "A", "x", 10);
    const int again = catalogue.RegisterClothing(1, "A", "x", 10);
    EXPECT_EQ(FindClothing(1, "x"), again); // the index follows the latest registration
    for (int look = 0; look < LOOK_COUNT; ++look)
    {
        ASSERT_NE(GetClothing(first).GetPicture(look), nullptr);
        EXPECT_EQ(GetClothing(first).GetPicture(look), GetClothing(again).GetPicture(look));
    }
    EXPECT_EQ(host.imageLoads["images/stores/A/clothing/x_Carry"], 1);
    EXPECT_EQ(host.Count(DataSeverity::Error), 0);
}
