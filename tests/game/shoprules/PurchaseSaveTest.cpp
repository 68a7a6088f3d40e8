// Upgrades bought in the shop reach the profiles file with the saved game and come back from it.
#include "../profile/ProfileTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/profile/GameState.h"
#include "game/shoprules/ShopOffers.h"

namespace
{

bool BuyFirst(GameState& run, ShopKind kind, int spot = -1)
{
    for (const ShopOffer& offer : ListShopOffers(run))
        if (offer.kind == kind && (spot < 0 || offer.spot == spot))
            return BuyOffer(run, offer);
    return false;
}

} // namespace

TEST_F(ProfileTest, PurchasesSurviveSavingAndReadingTheProfile)
{
    Load();
    CreateProfile("Ann");
    GameState run = NewGameState(GetStoreInfo(2));
    run.levelIndex = 3;
    run.cash = 400.25;
    ASSERT_TRUE(BuyFirst(run, ShopKind::Merchant));
    ASSERT_TRUE(BuyFirst(run, ShopKind::GoodieRack));
    ASSERT_TRUE(BuyFirst(run, ShopKind::ChangingRoom));
    ASSERT_TRUE(BuyFirst(run, ShopKind::Furniture, 0)); // the free first step's successor
    ASSERT_TRUE(BuyFirst(run, ShopKind::Furniture, 1)); // an empty spot's first step
    EXPECT_DOUBLE_EQ(run.cash, 400.25 - 50 - 0 - 10 - 40 - 30);
    SetSavedGame(&run);
    ASSERT_TRUE(SaveProfiles());

    FreeProfiles();
    Load();
    std::unique_ptr<GameState> back = GetSavedGame();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->storeNumber, 2);
    EXPECT_EQ(back->levelIndex, 3);
    EXPECT_EQ(back->merchantLevel, 1);
    EXPECT_EQ(back->goodieRack, 1);
    EXPECT_EQ(back->changingRooms, 2);
    EXPECT_EQ(back->furnitureLevels, (std::vector<int>{1, 0, -1}));
    EXPECT_EQ(back->mannequinClothing, run.mannequinClothing);
    EXPECT_DOUBLE_EQ(back->cash, run.cash);
    // The shop offers the same next steps after the reload.
    std::vector<ShopOffer> before = ListShopOffers(run);
    std::vector<ShopOffer> after = ListShopOffers(*back);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
    {
        EXPECT_EQ(after[i].kind, before[i].kind);
        EXPECT_EQ(after[i].step, before[i].step);
        EXPECT_EQ(after[i].price, before[i].price);
    }
}
