// The built-in player shopping in the running game through mouse events alone: badges, panels and the done
// button, routed by the widget manager as a person's clicks are. Over the game's own content; skipped without it.
#include "framework/platform/Platform.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/diag/HeadlessRun.h"
#include "game/diag/PlayerBot.h"
#include "game/profile/GameState.h"
#include "game/shoprules/ShopOffers.h"
#include "game/shopday/Board.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

class ShoppingRun : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { TestSupport::StartLoadedGame("-level=1:1", platform, app); }
    static void TearDownTestSuite() { TestSupport::StopLoadedGame(platform, app); }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << kGameDir;
    }

    // A person's mouse, as the application hands it to the widget manager.
    static void Deliver(const PlatformEvent& event)
    {
        WidgetManager& manager = *app->mWidgetManager;
        switch (event.mType)
        {
        case PlatformEvent::Type::MouseMove:
            manager.PointerMoved(event.mX, event.mY);
            break;
        case PlatformEvent::Type::MouseDown:
            manager.ButtonDown(event.mX, event.mY, event.mClickCode);
            break;
        case PlatformEvent::Type::MouseUp:
            manager.ButtonUp(event.mX, event.mY, event.mClickCode);
            break;
        default:
            break;
        }
        app->ProcessDeferredDeletes();
    }

    // The shop as the level start panel's OK opens it, played by the built-in player until the day opens.
    static void ShopWithTheMouse(GameState& run, std::vector<std::string>& bought, int* clicks = nullptr)
    {
        Board& board = *app->GetBoard();
        board.run.ReplaceWorkingCopy(run);
        board.flow->AfterLevelStart(true);
        PlayerBot bot(board, Deliver);
        for (int update = 0; update < 20000 && board.Mode() == BoardMode::UpgradeShop; ++update)
            bot.Update();
        EXPECT_EQ(board.Mode(), BoardMode::Level) << "the player pressed done";
        // The day opens behind the open sign, which is gone by the time the day runs.
        EXPECT_EQ(app->OpenMenus().size(), 1u);
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        // What changed, named as the shop names it.
        std::vector<ShopOffer> before = ListShopOffers(run);
        const GameState& after = *board.run.Progress();
        for (const ShopOffer& offer : before)
        {
            bool taken = false;
            switch (offer.kind)
            {
            case ShopKind::ChangingRoom:
                taken = after.changingRooms > run.changingRooms;
                break;
            case ShopKind::Merchant:
                taken = after.merchantLevel > run.merchantLevel;
                break;
            case ShopKind::GoodieRack:
                taken = after.goodieRack > run.goodieRack;
                break;
            case ShopKind::Furniture:
                taken = after.furnitureLevels[size_t(offer.spot)] > run.furnitureLevels[size_t(offer.spot)];
                break;
            }
            if (taken)
                bought.push_back(offer.itemName);
        }
        if (clicks != nullptr)
            *clicks = bot.clicks;
        run = after;
    }

    static HeadlessPlatform* platform;
    static GameApp* app;
};

HeadlessPlatform* ShoppingRun::platform = nullptr;
GameApp* ShoppingRun::app = nullptr;

} // namespace

TEST_F(ShoppingRun, ThePlayerBuysWhatItsRuleSaysWithClicksAndPressesDone)
{
    GameState run = NewGameState(GetStoreInfo(1));
    run.levelIndex = 1;
    run.cash = 1000;
    GameState byRule = run;
    std::vector<std::string> ruleBought;
    ShopByRule(byRule, ruleBought);
    ASSERT_GE(ruleBought.size(), 3u);

    std::vector<std::string> bought;
    int clicks = 0;
    ShopWithTheMouse(run, bought, &clicks);
    EXPECT_EQ(run.cash, byRule.cash);
    EXPECT_EQ(run.changingRooms, byRule.changingRooms);
    EXPECT_EQ(run.merchantLevel, byRule.merchantLevel);
    EXPECT_EQ(run.goodieRack, byRule.goodieRack);
    EXPECT_EQ(run.furnitureLevels, byRule.furnitureLevels);
    EXPECT_EQ(clicks, 2 * int(ruleBought.size()) + 1) << "a badge and buy per purchase, then done";
}

// The whole first store, shopping through the mouse, plays exactly as with the rule applied directly.
TEST_F(ShoppingRun, AStoresRunShoppingWithTheMousePlaysAsTheRuleSays)
{
    std::vector<RunDayRecord> records[2];
    for (int mouse = 0; mouse < 2; ++mouse)
    {
        HeadlessRun harness(*app->GetBoard());
        if (mouse == 1)
            harness.shopper = [](GameState& run, std::vector<std::string>& bought) { ShopWithTheMouse(run, bought); };
        records[mouse] = harness.PlayStore(1, true, 1);
    }
    ASSERT_EQ(records[1].size(), records[0].size());
    for (size_t i = 0; i < records[0].size(); ++i)
    {
        ASSERT_GE(records[0][i].outcome.result, 0) << "day " << records[0][i].level << " never ended";
        EXPECT_EQ(records[1][i].level, records[0][i].level);
        EXPECT_EQ(records[1][i].spent, records[0][i].spent) << "day " << records[0][i].level;
        EXPECT_EQ(records[1][i].outcome.money, records[0][i].outcome.money) << "day " << records[0][i].level;
        EXPECT_EQ(records[1][i].outcome.result, records[0][i].outcome.result);
    }
}
