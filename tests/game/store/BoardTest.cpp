#include "StoreTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/people/Person.h"
#include "game/shopday/Board.h"
#include "game/store/CashCounter.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClothingForSale.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/DiscardRack.h"
#include "game/store/Furniture.h"
#include "game/store/GiftWrap.h"

#include <map>
#include <vector>

namespace
{

// A shop item that only stands on the floor.
class PlainShopItem : public ShoppingComponent
{
public:
    PlainShopItem(int x, int y, int price)
        : ShoppingComponent(nullptr, std::make_unique<Component>(x, y, nullptr), 0, 0, price)
    {
    }
    void OpenPanel(Zestra::Board&) override {}
};

// Records what the shop view offers.
class RecordingFactory : public ShopItemFactory
{
public:
    std::vector<std::pair<int, int>> rooms;         // (room x, price)
    std::vector<std::pair<int, int>> furniture;     // (spot, price)
    std::vector<bool> furnitureHadCurrent;
    int merchants = 0;
    int goodieRacks = 0;

    std::unique_ptr<ShoppingComponent> MakeShoppingMerchant(std::unique_ptr<Person> current,
                                                            std::unique_ptr<Person> next, int price) override
    {
        ++merchants;
        return std::make_unique<PlainShopItem>(605, 225, price);
    }
    std::unique_ptr<ShoppingComponent> MakeShoppingGoodieRack(std::unique_ptr<Component>, std::unique_ptr<Component>,
                                                              int price) override
    {
        ++goodieRacks;
        return std::make_unique<PlainShopItem>(73, 356, price);
    }
    std::unique_ptr<ShoppingComponent> MakeShoppingChangingRoom(std::unique_ptr<ChangingRoom> room, int price) override
    {
        rooms.emplace_back(room->x, price);
        return std::make_unique<PlainShopItem>(room->x, 0, price);
    }
    std::unique_ptr<ShoppingComponent> MakeShoppingFurniture(std::unique_ptr<Furniture> current,
                                                             std::unique_ptr<Furniture> next, int price,
                                                             int spot) override
    {
        furniture.emplace_back(spot, price);
        furnitureHadCurrent.push_back(current != nullptr);
        return std::make_unique<PlainShopItem>(next->x, next->y, price);
    }
};

class BoardTest : public BoundPictures
{
protected:
    std::map<std::string, std::shared_ptr<Zestra::MemoryImage>> pictures;
    StoreInfo store;
    FurnitureInfo rack;
    GameState run;

    void SetUp() override
    {
        IMAGE_CASH_REGISTER = MakePicture(60, 50);
        Picture("CustomerServiceDesk", 100, 120);
        Picture("DiscardRack", 40, 60);
        Picture("ChangingRoom", 102, 150);
        Picture("Drink", 40, 30);
        Picture("Rack", 140, 90);
        rack.type = "rack";
        rack.clothingKind = 2;
        rack.image = store.images["Rack"];
        rack.clothingSpots = {{10, 5, false}, {40, 5, false}};
        store.number = 1;
        store.initialChangingRooms = 2;
        store.changingRoomPrices = {500, 900};
        store.initialDrinks = 3;
        store.merchantLevels.resize(2);
        store.merchantLevels[1].price = 700;
        store.goodieRackPrice = 300;
        LevelInfo level;
        level.duration = 12000;
        level.minGoal = 100;
        level.expertGoal = 250;
        store.levels.push_back(level);
        FloorSpot spot;
        spot.x = 1;
        spot.y = 2;
        spot.upgrades = {{&rack, 0, 0, false}, {&rack, 0, 150, false}};
        store.floorSpots = {spot, spot};
        run.changingRooms = 2;
        run.furnitureLevels = {0, 1};
    }

    void Picture(const std::string& name, int width, int height)
    {
        pictures[name] = MakePicture(width, height);
        store.images[name] = pictures[name].get();
    }

    void Prepare(Zestra::Board& board) { board.run.StartDay(&store, run, run); }
};

template <typename T>
int CountOf(const std::vector<ActiveComponent*>& list)
{
    int n = 0;
    for (ActiveComponent* item : list)
        n += dynamic_cast<T*>(item) != nullptr;
    return n;
}

} // namespace

TEST_F(BoardTest, TheNormalViewBuildsTheFloorInPlace)
{
    Zestra::Board board;
    Prepare(board);
    EXPECT_FALSE(board.LoadLevel(false));
    ASSERT_NE(board.merchant, nullptr);
    EXPECT_EQ(board.merchant->x, 605);
    EXPECT_EQ(board.merchant->y, 225);
    ASSERT_NE(board.Register(), nullptr);
    EXPECT_EQ(board.Register()->x, 48 - 30);
    EXPECT_EQ(board.Register()->y, 354);
    EXPECT_EQ(board.day.clockTicks, 12000);
    EXPECT_EQ(board.day.goal, 100.0);
    EXPECT_EQ(board.run.Progress()->drinks, 3);
    ASSERT_TRUE(board.DrinkStation());
    EXPECT_EQ(board.DrinkStation()->x, 412);
    EXPECT_EQ(board.DrinkStation()->y, 563);

    // Clicks test the register, the desk, the discard rack, the rooms, then the slots (last slot first).
    ASSERT_EQ(board.clickables.size(), 3u + 2u + 4u);
    EXPECT_EQ(board.clickables[0], board.Register());
    auto* desk = dynamic_cast<CustomerServiceDesk*>(board.clickables[1]);
    ASSERT_NE(desk, nullptr);
    EXPECT_EQ(desk->x, 700);
    EXPECT_EQ(desk->y, 190);
    auto* discard = dynamic_cast<DiscardRack*>(board.clickables[2]);
    ASSERT_NE(discard, nullptr);
    EXPECT_EQ(discard->x, 28);
    EXPECT_EQ(CountOf<GiftWrap>(board.clickables), 0); // the store wraps no gifts
    ASSERT_EQ(board.ChangingRooms().size(), 2u);
    EXPECT_EQ(board.ChangingRooms()[1]->x, 255 - 51);

    ASSERT_EQ(board.FurnitureOnFloor().size(), 2u);
    EXPECT_EQ(board.FurnitureOnFloor()[0]->x, 275 - 70);
    EXPECT_EQ(board.FurnitureOnFloor()[0]->y, 216);
    EXPECT_EQ(board.FurnitureOnFloor()[0]->priceSign, nullptr);
    EXPECT_EQ(board.clickables[5], board.FurnitureOnFloor()[0]->items[1].get());
    // The ring around the furniture is part of the floor now.
    EXPECT_NE(board.FloorGrid().FindNode(275 - 131, 216 - 46), nullptr);

    // Owners: merchant, back room, three ropes, counter, register, desk, discard rack, two pieces of furniture.
    EXPECT_EQ(board.sceneItems.size(), 11u);
    board.ClearLevel();
    EXPECT_TRUE(board.sceneItems.empty());
    EXPECT_TRUE(board.clickables.empty());
    EXPECT_EQ(board.merchant, nullptr);
}

TEST_F(BoardTest, DecemberAndGiftWrapAddTheirPieces)
{
    store.levels[0].id = 11;
    store.giftWrapCost = 2.5f;
    pictures["Drink"] = MakePicture(40, 60);
    store.images["Drink"] = pictures["Drink"].get();
    Zestra::Board board;
    Prepare(board);
    board.LoadLevel(false);
    ASSERT_EQ(CountOf<GiftWrap>(board.clickables), 1);
    EXPECT_NE(dynamic_cast<GiftWrap*>(board.clickables[1]), nullptr);
    int counters = 0;
    int desks = 0;
    for (Component* ticker : board.Tickers())
    {
        counters += dynamic_cast<CashCounter*>(ticker) != nullptr;
        desks += dynamic_cast<CustomerServiceDesk*>(ticker) != nullptr;
    }
    EXPECT_EQ(counters, 1);
    EXPECT_EQ(desks, 1);
    EXPECT_EQ(board.DrinkStation()->y, 540); // a tall station stays on the board
}

TEST_F(BoardTest, TheShopViewOffersWhatCanStillBeBought)
{
    RecordingFactory factory;
    Zestra::Board board;
    board.SetShopFactory(&factory);
    Prepare(board);
    EXPECT_TRUE(board.LoadLevel(true));
    // Two owned rooms, and the third offered for the first price.
    EXPECT_EQ(board.ChangingRooms().size(), 2u);
    ASSERT_EQ(factory.rooms.size(), 1u);
    EXPECT_EQ(factory.rooms[0], (std::pair<int, int>{356 - 51, 500}));
    EXPECT_EQ(factory.merchants, 1);
    EXPECT_EQ(factory.goodieRacks, 1);
    // Spot 0 can still be upgraded, spot 1 is at its last step and stands with a price sign.
    ASSERT_EQ(factory.furniture.size(), 1u);
    EXPECT_EQ(factory.furniture[0], (std::pair<int, int>{0, 150}));
    EXPECT_TRUE(factory.furnitureHadCurrent[0]);
    ASSERT_EQ(board.FurnitureOnFloor().size(), 1u);
    EXPECT_NE(board.FurnitureOnFloor()[0]->priceSign, nullptr);
    EXPECT_EQ(board.shopItems.size(), 4u);

    // All rooms bought: nothing more to offer.
    run.changingRooms = 4;
    Prepare(board);
    factory.rooms.clear();
    board.LoadLevel(true);
    EXPECT_EQ(board.ChangingRooms().size(), 4u);
    EXPECT_TRUE(factory.rooms.empty());
}
