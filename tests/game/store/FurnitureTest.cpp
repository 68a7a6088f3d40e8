#include "StoreTestSupport.h"
#include "tests/game/data/DataTestSupport.h"

#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/shopday/Board.h"
#include "game/store/ClothingButton.h"
#include "game/store/ClothingForSale.h"
#include "game/store/Furniture.h"
#include "game/store/Mannequin.h"

#include <vector>

namespace
{

class FurnitureTest : public BoundPictures
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    // A garment of store 1 whose pictures all have the given size.
    int Garment(const std::string& name, int price, int width = 40, int height = 50)
    {
        for (const char* suffix : kClothingPictureSuffixes)
            host.images["images/stores/S/clothing/" + name + suffix] = {width, height};
        ClothingStats stats(host);
        return stats.RegisterClothing(1, "S", name, price);
    }
};

FurnitureInfo Rack(int slots)
{
    FurnitureInfo info;
    info.type = "rack";
    info.clothingKind = LOOK_HANGING;
    for (int i = 0; i < slots; ++i)
        info.clothingSpots.push_back(ClothingSpot{20 * i, 10, false});
    return info;
}

std::vector<bool> Stock(const Furniture& furniture)
{
    std::vector<bool> stock;
    for (const auto& item : furniture.items)
        stock.push_back(item->inStock);
    return stock;
}

} // namespace

TEST_F(FurnitureTest, TakingAnItemSkipsEmptySlotsAndWrapsAround)
{
    FurnitureInfo info = Rack(3);
    FurnitureUpgrade step{&info, 0, 0, false};
    Furniture rack(300, 100, step, false);
    ASSERT_EQ(rack.items.size(), 3u);
    EXPECT_FALSE(rack.isTable);
    rack.items[1]->inStock = false;
    EXPECT_TRUE(rack.TakeItem(1));
    EXPECT_EQ(Stock(rack), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(rack.TakeItem(2)); // wraps to slot 0
    EXPECT_EQ(Stock(rack), (std::vector<bool>{false, false, false}));
    EXPECT_FALSE(rack.TakeItem(-1));
    EXPECT_EQ(Stock(rack), (std::vector<bool>{false, false, false}));

    FurnitureInfo bare = Rack(0);
    FurnitureUpgrade bareStep{&bare, 0, 0, false};
    Furniture empty(300, 100, bareStep, false);
    EXPECT_FALSE(empty.TakeItem(-1)); // no slots: no modulo by zero
}

TEST_F(FurnitureTest, SlotsSignsAndTagsArePlacedFromTheType)
{
    int shirt = Garment("shirt", 25, 30, 60);
    IMAGE_EMPTY_HANGER = MakePicture(24, 8);
    IMAGE_OUT_OF_STOCK = MakePicture(30, 20);
    IMAGE_TABLE_PRICE_SIGN = MakePicture(50, 30);
    IMAGE_TABLE_TAG = MakePicture(20, 16);
    auto tableImage = MakePicture(140, 80);
    FurnitureInfo table;
    table.type = "table";
    table.clothingKind = LOOK_FOLDED;
    table.image = tableImage.get();
    table.tagY = 40;
    table.priceY = 60;
    table.clothingSpots.push_back(ClothingSpot{30, 5, false});
    FurnitureUpgrade step{&table, shirt, 0, false};
    for (bool shop : {false, true})
    {
        Furniture piece(345, 161, step, shop);
        EXPECT_EQ(piece.x, 275);
        EXPECT_TRUE(piece.isTable);
        EXPECT_EQ(piece.price, 25);
        EXPECT_EQ(piece.priceSign != nullptr, shop);
        if (shop)
        {
            EXPECT_EQ(piece.priceSign->x, 275 + 70 - 25);
        }
        ASSERT_EQ(piece.items.size(), 1u);
        const ClothingForSale& slot = *piece.items[0];
        EXPECT_EQ(slot.x, 305 - 15); // centred on x + spot x
        EXPECT_EQ(slot.numberY, 166 + 8); // folded items carry their number 8 below the top
        EXPECT_EQ(slot.emptyPicture->x, 305 - 15);
        EXPECT_EQ(slot.emptyIcon, nullptr); // tables show no icon over an empty slot
        ASSERT_TRUE(piece.tag);
        EXPECT_EQ(piece.tag->y, 201);
        EXPECT_EQ(piece.tagIcon->y, 201 - 30 + 17);
    }
}

TEST_F(FurnitureTest, MannequinBodyFollowsWhatItWears)
{
    IMAGE_MANNEQUIN_FEMALE = MakePicture(60, 140);
    IMAGE_MANNEQUIN_FEMALE_TOP = MakePicture(60, 140);
    IMAGE_MANNEQUIN_FEMALE_BOTTOM = MakePicture(60, 140);
    IMAGE_MANNEQUIN_MALE = MakePicture(60, 140);
    IMAGE_MANNEQUIN_MALE_TOP = MakePicture(60, 140);
    IMAGE_MANNEQUIN_MALE_BOTTOM = MakePicture(60, 140);
    int longTop = Garment("coat", 40, 40, 80);
    int shortTop = Garment("tshirt", 20, 40, 50);
    int bottom = Garment("jeans", 30, 40, 60);
    const struct
    {
        int top;
        int bottom;
        Zestra::Image* body;
    } cases[] = {
        {longTop, 0, IMAGE_MANNEQUIN_FEMALE.get()},
        {shortTop, 0, IMAGE_MANNEQUIN_FEMALE_TOP.get()},
        {0, bottom, IMAGE_MANNEQUIN_FEMALE_BOTTOM.get()},
        {shortTop, bottom, IMAGE_MANNEQUIN_FEMALE.get()},
    };
    for (const auto& c : cases)
    {
        Mannequin mannequin(530, 20, false, nullptr);
        if (c.top != 0)
            mannequin.AddTopButton(c.top);
        if (c.bottom != 0)
            mannequin.AddBottomButton(c.bottom);
        EXPECT_EQ(mannequin.image, c.body) << c.top << "/" << c.bottom;
    }
}

TEST_F(FurnitureTest, MannequinButtonsSitAndNumberAsTheyShould)
{
    IMAGE_MANNEQUIN_FEMALE = MakePicture(60, 140);
    IMAGE_MANNEQUIN_MALE = MakePicture(60, 140);
    int top = Garment("tshirt", 20, 40, 50);
    int bottom = Garment("jeans", 30, 40, 60);
    int bottomX[2];
    for (bool male : {false, true})
    {
        Mannequin mannequin(530, 20, male, nullptr);
        ClothingButton* topButton = mannequin.AddTopButton(top);
        ClothingButton* bottomButton = mannequin.AddBottomButton(bottom);
        bottomX[male] = bottomButton->x;
        EXPECT_EQ(topButton->maxOrders, 2);
        EXPECT_EQ(topButton->x, 560 - 20);
        EXPECT_EQ(topButton->y, 28);
        EXPECT_EQ(bottomButton->y, 65);
        // Two pending back-room orders for the top: one below the other, 10 pixels apart.
        EXPECT_EQ(topButton->GetNumberPosition(0), (Zestra::Point{550, 38}));
        EXPECT_EQ(topButton->GetNumberPosition(1), (Zestra::Point{550, 48}));
        EXPECT_EQ(bottomButton->GetNumberPosition(0).mY, 80);
    }
    EXPECT_EQ(bottomX[1] - bottomX[0], 2);
}

TEST_F(FurnitureTest, WishTypesPickByPriceClass)
{
    const struct
    {
        std::vector<int> prices;
        std::vector<int> expected; // prices chosen for wish types 0..3
    } cases[] = {
        {{30, 10, 20}, {10, 20, 20, 30}},
        {{10, 20, 30, 40}, {10, 20, 30, 40}},
    };
    for (const auto& c : cases)
    {
        FreeDataTables();
        StoreInfo store;
        GameState progress;
        int liked[4] = {0, 0, 0, 0};
        for (size_t i = 0; i < c.prices.size(); ++i)
        {
            int id = Garment("line" + std::to_string(i), c.prices[i]);
            FloorSpot spot;
            spot.firstClothing = id;
            spot.upgrades.push_back(FurnitureUpgrade{nullptr, id, 0, false});
            store.floorSpots.push_back(spot);
            progress.furnitureLevels.push_back(0);
            liked[i] = id;
        }
        // An unliked spot never counts.
        int other = Garment("other", 1);
        FloorSpot spot;
        spot.firstClothing = other;
        spot.upgrades.push_back(FurnitureUpgrade{nullptr, other, 0, false});
        store.floorSpots.push_back(spot);
        progress.furnitureLevels.push_back(0);

        Zestra::Board board;
        board.run.StartDay(&store, progress, progress);
        for (int wish = 0; wish < 4; ++wish)
            EXPECT_EQ(GetClothing(board.PickClothingByPrice(liked, wish)).price, c.expected[size_t(wish)])
                << "wish type " << wish;
        EXPECT_EQ(board.PickClothingByPrice(liked, 7), 0);
        const int none[4] = {0, 0, 0, 0};
        EXPECT_EQ(board.PickClothingByPrice(none, 0), 0);
    }
}
