// The upgrade shop in the running game, over the game's own content: the floor in upgrade form before the second
// day of the first store, its badges, panels, purchases and the done button, all driven by mouse events through
// the widget manager. Skipped when the build has no content folder.
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/menus/OpenSignMenu.h"
#include "game/profile/GameState.h"
#include "game/shop/ShopItems.h"
#include "game/shop/UpgradeFurnitureMenu.h"
#include "game/shop/UpgradeMenu.h"
#include "game/shopday/Board.h"
#include "game/store/ChangingRoom.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

class UpgradeShop : public ::testing::Test
{
protected:
    // One application for the suite: loading the content takes a while. Each test starts from a new run of store 1
    // before its second day.
    static void SetUpTestSuite() { TestSupport::StartLoadedGame("-level=1:1", platform, app); }
    static void TearDownTestSuite() { TestSupport::StopLoadedGame(platform, app); }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << kGameDir;
        store = GetStoreInfo(1);
        run = NewGameState(store);
        run.levelIndex = 1;
    }
    void TearDown() override
    {
        if (app == nullptr)
            return;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
    }

    Board& TheBoard() { return *app->GetBoard(); }
    // The shop opens for the run as the level start panel's OK opens it.
    void OpenShop()
    {
        TheBoard().run.StartDay(TheBoard().run.Store(), run, run);
        TheBoard().flow->AfterLevelStart(true);
    }
    void SetCash(double cash)
    {
        GameState changed = *TheBoard().run.Progress();
        changed.cash = cash;
        TheBoard().run.ReplaceWorkingCopy(changed);
    }
    void MoveTo(int x, int y)
    {
        app->mWidgetManager->PointerMoved(x, y);
        app->ProcessDeferredDeletes();
    }
    void Click(int x, int y)
    {
        app->mWidgetManager->PointerMoved(x, y);
        app->mWidgetManager->ButtonDown(x, y, 1);
        app->mWidgetManager->ButtonUp(x, y, 1);
        app->ProcessDeferredDeletes();
    }
    void Click(const Widget& widget) { Click(widget.mX + widget.mWidth / 2, widget.mY + widget.mHeight / 2); }
    static Point Centre(const Component& badge)
    {
        return Point{badge.x + badge.image->GetWidth() / 2, badge.y + badge.image->GetHeight() / 2};
    }
    template <class Kind> Kind* Item(int spot = -1)
    {
        for (auto& item : TheBoard().shopItems)
        {
            auto* found = dynamic_cast<Kind*>(item.get());
            if (found == nullptr)
                continue;
            if constexpr (std::is_same_v<Kind, ShopFurniture>)
            {
                if (spot >= 0 && found->spot != spot)
                    continue;
            }
            return found;
        }
        return nullptr;
    }
    // Clicks the item's badge; returns the panel that opened.
    UpgradeMenu* OpenPanelOf(const ShoppingComponent& item)
    {
        Point centre = Centre(*item.badge);
        Click(centre.mX, centre.mY);
        if (app->OpenMenus().empty())
            return nullptr;
        return dynamic_cast<UpgradeMenu*>(app->OpenMenus().back());
    }
    const GameState& Run() { return *TheBoard().run.Progress(); }

    const StoreInfo* store = nullptr;
    GameState run;
    static HeadlessPlatform* platform;
    static GameApp* app;
};

HeadlessPlatform* UpgradeShop::platform = nullptr;
GameApp* UpgradeShop::app = nullptr;

} // namespace

// What a person does before day 2 of store 1: sees the offers, reads the room's panel, buys it with exactly the
// money it costs, sees the floor change, and presses done to open the day.
TEST_F(UpgradeShop, BuyingTheRoomBeforeTheSecondDayChangesTheFloorAndDoneOpensTheDay)
{
    run.cash = 100.00;
    OpenShop();
    Board& board = TheBoard();
    ASSERT_EQ(board.Mode(), BoardMode::UpgradeShop);
    EXPECT_TRUE(board.hud.doneButton->mShown);
    EXPECT_FALSE(board.hud.optionsButton->mShown);
    EXPECT_NE(Item<ShopMerchant>(), nullptr);
    EXPECT_NE(Item<ShopGoodieRack>(), nullptr);
    EXPECT_NE(Item<ShopFurniture>(), nullptr);
    ShopChangingRoom* room = Item<ShopChangingRoom>();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->preview->x, 154 + 101 - 51);
    EXPECT_EQ(board.ChangingRooms().size(), 1u);
    EXPECT_EQ(board.day.goal, 0) << "no price is shown until the mouse is over a badge";

    Point centre = Centre(*room->badge);
    MoveTo(centre.mX, centre.mY);
    EXPECT_EQ(board.day.goal, 100);
    EXPECT_TRUE(room->hovered);

    UpgradeMenu* panel = OpenPanelOf(*room);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->title, GetText("buy_changing_room"));
    EXPECT_EQ(panel->description, GetText("buy_changing_room_msg"));
    EXPECT_FALSE(panel->title.empty());
    EXPECT_EQ(panel->price, 100);
    EXPECT_TRUE(board.hud.doneButton->greyed) << "the shop stands still behind its panel";
    ASSERT_TRUE(panel->buyButton->mShown) << "cash equal to the price buys";
    Click(*panel->buyButton);

    EXPECT_TRUE(app->OpenMenus().empty());
    EXPECT_FALSE(board.hud.doneButton->greyed);
    EXPECT_EQ(Run().cash, 0.0);
    EXPECT_EQ(Run().changingRooms, 2);
    ASSERT_EQ(board.Mode(), BoardMode::UpgradeShop) << "more is for sale";
    EXPECT_EQ(board.ChangingRooms().size(), 2u) << "the bought room stands on the floor";
    ShopChangingRoom* next = Item<ShopChangingRoom>();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->price, 350);
    EXPECT_EQ(next->preview->x, 154 + 202 - 51);

    Click(*board.hud.doneButton);
    EXPECT_EQ(board.Mode(), BoardMode::Level);
    ASSERT_EQ(app->OpenMenus().size(), 1u);
    EXPECT_NE(dynamic_cast<OpenSignMenu*>(app->OpenMenus().front()), nullptr) << "the day opens behind the sign";
    EXPECT_TRUE(board.shopItems.empty());
    EXPECT_EQ(board.ChangingRooms().size(), 2u);
    EXPECT_FALSE(board.hud.doneButton->mShown);
    EXPECT_TRUE(board.hud.optionsButton->mShown);
}

// The rooms of store 1 (one at the start, three for sale) are sold one at a time at their own prices.
TEST_F(UpgradeShop, RoomsAreOfferedOneAtATimeAtTheirPricesUntilNoneIsLeft)
{
    run.cash = 2000;
    OpenShop();
    int expected[] = {100, 350, 700};
    for (int i = 0; i < 3; ++i)
    {
        ShopChangingRoom* room = Item<ShopChangingRoom>();
        ASSERT_NE(room, nullptr) << i;
        EXPECT_EQ(room->price, expected[i]);
        EXPECT_EQ(room->preview->x, 154 + 101 * (i + 1) - 51);
        UpgradeMenu* panel = OpenPanelOf(*room);
        ASSERT_NE(panel, nullptr);
        Click(*panel->buyButton);
    }
    EXPECT_EQ(Item<ShopChangingRoom>(), nullptr);
    EXPECT_EQ(Run().changingRooms, 4);
    EXPECT_EQ(TheBoard().ChangingRooms().size(), 4u);
    EXPECT_DOUBLE_EQ(Run().cash, 2000 - 100 - 350 - 700);
}

TEST_F(UpgradeShop, AfterTheLastMerchantLevelTheMerchantStandsAsUsual)
{
    run.cash = 5000;
    run.merchantLevel = int(store->merchantLevels.size()) - 2;
    OpenShop();
    ShopMerchant* merchant = Item<ShopMerchant>();
    ASSERT_NE(merchant, nullptr);
    UpgradeMenu* panel = OpenPanelOf(*merchant);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->title, GetText("buy_" + store->merchantLevels.back().name));
    Click(*panel->buyButton);
    EXPECT_EQ(Run().merchantLevel, int(store->merchantLevels.size()) - 1);
    EXPECT_EQ(Item<ShopMerchant>(), nullptr);
    EXPECT_NE(TheBoard().merchant, nullptr);
}

// Spot 0 of store 1 goes from the striped tees to a big table that keeps them: refused with the notice while the
// spots that cost from their first step are empty, sold once every spot has furniture.
TEST_F(UpgradeShop, AFurnitureOnlyStepIsRefusedWhileASpotIsEmpty)
{
    run.cash = 5000;
    run.furnitureLevels[0] = 1;
    ASSERT_FALSE(run.AllSpotsFurnished());
    OpenShop();
    ShopFurniture* table = Item<ShopFurniture>(0);
    ASSERT_NE(table, nullptr);
    auto* panel = dynamic_cast<UpgradeFurnitureMenu*>(OpenPanelOf(*table));
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->buyButton->mShown);
    EXPECT_EQ(panel->notice, GetText("upgrade_furniture_notice"));
    EXPECT_FALSE(panel->notice.empty());
    app->mWidgetManager->KeyPressed(KEY_RETURN);
    app->ProcessDeferredDeletes();
    EXPECT_EQ(Run().furnitureLevels[0], 1) << "Return does not buy what the panel refuses";
    Click(*panel->cancelButton);
    EXPECT_TRUE(app->OpenMenus().empty());
    EXPECT_EQ(TheBoard().Mode(), BoardMode::UpgradeShop) << "cancel leaves the shop open";

    for (int& level : run.furnitureLevels)
        level = std::max(level, 0);
    run.furnitureLevels[0] = 1;
    OpenShop();
    panel = dynamic_cast<UpgradeFurnitureMenu*>(OpenPanelOf(*Item<ShopFurniture>(0)));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->buyButton->mShown);
    EXPECT_TRUE(panel->notice.empty());
    Click(*panel->buyButton);
    EXPECT_EQ(Run().furnitureLevels[0], 2);
}

// A new line's description tells its selling price; the title names the clothing.
TEST_F(UpgradeShop, AClothingStepsPanelNamesTheClothingAndItsPrice)
{
    run.cash = 5000;
    OpenShop();
    const FloorSpot& spot = store->floorSpots[4];
    ASSERT_EQ(run.furnitureLevels[4], -1);
    const ClothingInfo& clothing = GetClothing(spot.upgrades[0].clothing);
    ShopFurniture* item = Item<ShopFurniture>(4);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->current, nullptr) << "an empty spot";
    UpgradeMenu* panel = OpenPanelOf(*item);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->title, GetText("buy_" + clothing.key));
    EXPECT_NE(panel->description.find(std::to_string(clothing.price)), std::string::npos) << panel->description;
    EXPECT_EQ(panel->description.find("%c"), std::string::npos);
}

// Cash never goes below zero: a dear item's panel has no buy button, and a panel whose item became too dear while
// it was open does not sell.
TEST_F(UpgradeShop, ThePanelNeverSellsBeyondTheCash)
{
    run.cash = 99.99;
    OpenShop();
    EXPECT_FALSE(Item<ShopChangingRoom>()->affordable) << "a badge the cash does not reach is greyed";
    UpgradeMenu* panel = OpenPanelOf(*Item<ShopChangingRoom>());
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->buyButton->mShown);
    Click(*panel->cancelButton);

    SetCash(100);
    panel = OpenPanelOf(*Item<ShopChangingRoom>());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->buyButton->mShown);
    SetCash(60); // spent elsewhere while the panel was open
    panel->ButtonPressed(panel->buyButton->mButtonId);
    app->ProcessDeferredDeletes();
    EXPECT_EQ(Run().cash, 60.0);
    EXPECT_EQ(Run().changingRooms, 1);
    EXPECT_EQ(TheBoard().Mode(), BoardMode::UpgradeShop);
}

// Moving from one badge to another lights only the one under the mouse; a click elsewhere buys nothing.
TEST_F(UpgradeShop, OnlyTheBadgeUnderTheMouseIsLit)
{
    run.cash = 500;
    OpenShop();
    ShopChangingRoom* room = Item<ShopChangingRoom>();
    ShopGoodieRack* rack = Item<ShopGoodieRack>();
    ASSERT_TRUE(room != nullptr && rack != nullptr);
    EXPECT_TRUE(room->affordable);
    Point a = Centre(*room->badge);
    Point b = Centre(*rack->badge);
    MoveTo(a.mX, a.mY);
    MoveTo(b.mX, b.mY);
    EXPECT_FALSE(room->hovered);
    EXPECT_TRUE(rack->hovered);
    EXPECT_EQ(TheBoard().day.goal, rack->price);
    MoveTo(400, 300);
    EXPECT_FALSE(rack->hovered);
    EXPECT_EQ(TheBoard().day.goal, 0);
    Click(400, 300);
    EXPECT_TRUE(app->OpenMenus().empty());
    EXPECT_EQ(Run().cash, 500.0);
}

// With nothing left to buy the shop is skipped: the day opens straight away.
TEST_F(UpgradeShop, WithNothingLeftToBuyTheDayOpensWithoutTheShop)
{
    GameState full = run;
    full.cash = 1e6;
    for (std::vector<ShopOffer> offers = ListShopOffers(full); !offers.empty(); offers = ListShopOffers(full))
    {
        bool bought = false;
        for (const ShopOffer& offer : offers)
            bought = bought || BuyOffer(full, offer);
        ASSERT_TRUE(bought);
    }
    run = full;
    OpenShop();
    EXPECT_EQ(TheBoard().Mode(), BoardMode::Level);
    ASSERT_EQ(app->OpenMenus().size(), 1u);
    EXPECT_NE(dynamic_cast<OpenSignMenu*>(app->OpenMenus().front()), nullptr);
    EXPECT_TRUE(TheBoard().shopItems.empty());
    EXPECT_FALSE(TheBoard().hud.doneButton->mShown);
    EXPECT_TRUE(TheBoard().hud.optionsButton->mShown);
    EXPECT_EQ(TheBoard().ChangingRooms().size(), size_t(full.changingRooms));
}
