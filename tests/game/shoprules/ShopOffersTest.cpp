#include "../data/DataTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/profile/GameState.h"
#include "game/shoprules/ShopOffers.h"

#include <gtest/gtest.h>

namespace
{

// Three merchant levels, two rooms owned from the start and three for sale, a goodie rack, and two floor spots:
// spot 0 furnished for free with a clothing step and a furniture-only step after it, spot 1 empty at first.
const char* const kStores = R"(<store name="T"/>
<merchant name="Prella" speed="100" price="0"/>
<merchant name="Swift" speed="150" price="300"/>
<merchant name="Rush" speed="200" price="900"/>
<changing-rooms init="2"/>
<changing-room price="100"/>
<changing-room price="200"/>
<changing-room price="300"/>
<goodie-rack price="150" bonus="1.5"/>
<def-furniture type="rack"/>
<def-furniture type="bigrack"/>
<layout x="1" y="1"/>
<furniture type="rack" price="0" clothing="tee" cost="10"/>
<furniture type="rack" price="120" clothing="tee_red" cost="14"/>
<furniture type="bigrack" price="250"/>
<layout x="3" y="1"/>
<furniture type="rack" price="80" clothing="hat" cost="8"/>
)";

class ShopOffersTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;
    GameState run;

    void SetUp() override
    {
        folder.Write("properties/stores.xml", kStores);
        folder.Write("properties/levels.xml", "<store/><level/>");
        {
            LevelStats reader(host, false);
        }
        ASSERT_NE(GetStoreInfo(1), nullptr);
        run = NewGameState(GetStoreInfo(1));
    }

    // The run's current offer of a kind (the first for furniture unless a spot is given).
    const ShopOffer* Find(const std::vector<ShopOffer>& offers, ShopKind kind, int spot = -1)
    {
        for (const ShopOffer& offer : offers)
            if (offer.kind == kind && (spot < 0 || offer.spot == spot))
                return &offer;
        return nullptr;
    }
    ShopOffer Offer(ShopKind kind, int spot = -1)
    {
        std::vector<ShopOffer> offers = ListShopOffers(run);
        const ShopOffer* offer = Find(offers, kind, spot);
        EXPECT_NE(offer, nullptr);
        return offer != nullptr ? *offer : ShopOffer();
    }
};

} // namespace

TEST_F(ShopOffersTest, ANewRunIsOfferedEveryKindInFloorOrderWithItsPriceAndTextKey)
{
    struct Expected
    {
        ShopKind kind;
        int price;
        int step;
        int spot;
        const char* itemName;
    };
    const Expected expected[] = {
        {ShopKind::Merchant, 300, 1, -1, "Swift"},
        {ShopKind::GoodieRack, 150, 1, -1, "goodie_rack1"},
        {ShopKind::ChangingRoom, 100, 2, -1, "changing_room"},
        {ShopKind::Furniture, 120, 1, 0, "tee_red1"},
        {ShopKind::Furniture, 80, 0, 1, "hat1"},
    };
    std::vector<ShopOffer> offers = ListShopOffers(run);
    ASSERT_EQ(offers.size(), std::size(expected));
    for (size_t i = 0; i < offers.size(); ++i)
    {
        EXPECT_EQ(offers[i].kind, expected[i].kind) << i;
        EXPECT_EQ(offers[i].price, expected[i].price) << i;
        EXPECT_EQ(offers[i].step, expected[i].step) << i;
        EXPECT_EQ(offers[i].spot, expected[i].spot) << i;
        EXPECT_EQ(offers[i].itemName, expected[i].itemName) << i;
    }
    EXPECT_EQ(offers[3].clothing, FindClothing(1, "tee_red"));

    GameState storeless;
    EXPECT_TRUE(ListShopOffers(storeless).empty());
}

TEST_F(ShopOffersTest, CashPaysUpToItsLastCentAndNeverGoesNegative)
{
    struct Case
    {
        double cash;
        bool bought;
        double left;
    };
    const Case cases[] = {
        {100.00, true, 0.0},
        {0.1 + 0.2 + 99.7, true, 0.0}, // float sums that show as $100.00 still buy, and leave exactly 0
        {100.004, true, 0.0},
        {99.99, false, 99.99},
        {0.0, false, 0.0},
        {250.5, true, 150.5},
    };
    for (const Case& c : cases)
    {
        run.cash = c.cash;
        const ShopOffer room = Offer(ShopKind::ChangingRoom);
        EXPECT_EQ(CheckPurchase(run, room) == PurchaseCheck::Allowed, c.bought) << c.cash;
        EXPECT_EQ(BuyOffer(run, room), c.bought) << c.cash;
        EXPECT_DOUBLE_EQ(run.cash, c.left) << c.cash;
        EXPECT_GE(run.cash, 0.0);
        EXPECT_EQ(run.changingRooms, c.bought ? 3 : 2) << c.cash;
        run.changingRooms = 2;
    }
    double cash = 40.0;
    EXPECT_FALSE(PayFromCash(cash, 41));
    EXPECT_EQ(cash, 40.0);
    EXPECT_TRUE(PayFromCash(cash, -5)) << "a negative price pays nothing and never adds cash";
    EXPECT_EQ(cash, 40.0);
}

TEST_F(ShopOffersTest, ChangingRoomsAreSoldOneAtATimeAtTheirOwnPrices)
{
    run.cash = 1000;
    std::vector<std::pair<int, int>> sold; // (room index, price)
    for (int visit = 0; visit < 5; ++visit)
    {
        std::vector<ShopOffer> offers = ListShopOffers(run);
        const ShopOffer* room = Find(offers, ShopKind::ChangingRoom);
        if (room == nullptr)
            break;
        sold.emplace_back(room->step, room->price);
        ASSERT_TRUE(BuyOffer(run, *room));
    }
    EXPECT_EQ(sold, (std::vector<std::pair<int, int>>{{2, 100}, {3, 200}, {4, 300}}));
    EXPECT_EQ(run.changingRooms, 5);
    EXPECT_DOUBLE_EQ(run.cash, 400);

    // A damaged saved game with fewer rooms than the store starts with is sold none (there is no price for them).
    run.changingRooms = 1;
    EXPECT_EQ(Find(ListShopOffers(run), ShopKind::ChangingRoom), nullptr);
}

TEST_F(ShopOffersTest, MerchantAndGoodieRackOffersEndWithTheirLastPurchase)
{
    run.cash = 2000;
    ASSERT_TRUE(BuyOffer(run, Offer(ShopKind::Merchant)));
    EXPECT_EQ(run.merchantLevel, 1);
    const ShopOffer last = Offer(ShopKind::Merchant);
    EXPECT_EQ(last.itemName, "Rush");
    EXPECT_EQ(last.price, 900);
    ASSERT_TRUE(BuyOffer(run, last));
    EXPECT_EQ(run.merchantLevel, 2);
    EXPECT_EQ(Find(ListShopOffers(run), ShopKind::Merchant), nullptr);
    EXPECT_FALSE(BuyOffer(run, last)) << "a panel left open must not sell the same level twice";
    EXPECT_EQ(run.merchantLevel, 2);

    ASSERT_TRUE(BuyOffer(run, Offer(ShopKind::GoodieRack)));
    EXPECT_EQ(run.goodieRack, 1);
    EXPECT_EQ(Find(ListShopOffers(run), ShopKind::GoodieRack), nullptr);
    EXPECT_DOUBLE_EQ(run.cash, 2000 - 300 - 900 - 150);

    // A merchant level beyond the store's list (a damaged saved game) counts as the last one.
    run.merchantLevel = 7;
    EXPECT_EQ(Find(ListShopOffers(run), ShopKind::Merchant), nullptr);
}

TEST_F(ShopOffersTest, AFurnitureOnlyStepWaitsUntilEverySpotHasFurniture)
{
    run.cash = 1000;
    ASSERT_TRUE(BuyOffer(run, Offer(ShopKind::Furniture, 0)));
    ShopOffer bigger = Offer(ShopKind::Furniture, 0);
    EXPECT_TRUE(bigger.furnitureOnly);
    EXPECT_EQ(bigger.itemName, "bigrack");
    EXPECT_EQ(bigger.clothing, FindClothing(1, "tee_red")) << "the spot keeps selling its clothing";
    EXPECT_EQ(CheckPurchase(run, bigger), PurchaseCheck::SpotsEmpty);
    EXPECT_FALSE(BuyOffer(run, bigger));
    EXPECT_DOUBLE_EQ(run.cash, 880);

    ASSERT_TRUE(BuyOffer(run, Offer(ShopKind::Furniture, 1)));
    EXPECT_TRUE(run.AllSpotsFurnished());
    EXPECT_EQ(CheckPurchase(run, bigger), PurchaseCheck::Allowed);
    ASSERT_TRUE(BuyOffer(run, bigger));
    EXPECT_EQ(run.furnitureLevels, (std::vector<int>{2, 0}));
    EXPECT_EQ(Find(ListShopOffers(run), ShopKind::Furniture), nullptr) << "both chains are at their ends";
    EXPECT_DOUBLE_EQ(run.cash, 1000 - 120 - 80 - 250);
}

TEST_F(ShopOffersTest, AnOfferIsTooDearOrNotOfferedWhenItsPriceOrTheRunDisagrees)
{
    run.cash = 0;
    EXPECT_EQ(CheckPurchase(run, Offer(ShopKind::Merchant)), PurchaseCheck::TooDear);
    ShopOffer invented = Offer(ShopKind::Merchant);
    invented.price = 1;
    EXPECT_EQ(CheckPurchase(run, invented), PurchaseCheck::NotOffered);
}

TEST(ShopTextTest, ClothingPricesFillEveryPercentC)
{
    struct Case
    {
        const char* text;
        const char* price;
        const char* expected;
    };
    const Case cases[] = {
        {"They sell for %c each.", "$24", "They sell for $24 each."},
        {"%c or %c", "$24.50", "$24.50 or $24.50"},
        {"100%% cotton, %d and %", "$3", "100%% cotton, %d and %"},
        {"Bigger, same clothes: %c", "$0", "Bigger, same clothes: $0"},
        {"", "$5", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillClothingPrice(c.text, c.price), c.expected) << c.text;
}
