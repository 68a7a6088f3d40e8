// The lesson of the upgrade shop in the running game, over the game's own content: its panels and the done button
// are real widgets, so every click goes through the widget manager as a person's would. Skipped without content.
#include "framework/platform/Platform.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/diag/PlayerBot.h"
#include "game/ui/Button.h"
#include "game/menus/LevelStartMenu.h"
#include "game/profile/GameState.h"
#include "game/res/Res.h"
#include "game/shop/ShopItems.h"
#include "game/shop/UpgradeMenu.h"
#include "game/shopday/Board.h"
#include "game/tutorial/LessonScreens.h"
#include "game/tutorial/TutorialShopping.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

class ShoppingLesson : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { TestSupport::StartLoadedGame("-level=1:1", platform, app); }
    static void TearDownTestSuite() { TestSupport::StopLoadedGame(platform, app); }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << kGameDir;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        const LessonScreen* screen = FindLessonScreen("tutorial-shop");
        ASSERT_NE(screen, nullptr);
        ASSERT_TRUE(OpenLessonScreen(TheBoard(), *screen));
        lesson = dynamic_cast<TutorialShopping*>(TheBoard().lesson.get());
        ASSERT_NE(lesson, nullptr);
        ASSERT_EQ(TheBoard().Mode(), BoardMode::Tutorial);
    }
    void TearDown() override
    {
        if (app == nullptr)
            return;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        TheBoard().EndLesson();
    }

    static Board& TheBoard() { return *app->GetBoard(); }
    static Menu* Top() { return app->OpenMenus().empty() ? nullptr : app->OpenMenus().back(); }
    static void Deliver(const PlatformEvent& event)
    {
        WidgetManager& manager = *app->mWidgetManager;
        if (event.mType == PlatformEvent::Type::MouseMove)
            manager.PointerMoved(event.mX, event.mY);
        else if (event.mType == PlatformEvent::Type::MouseDown)
            manager.ButtonDown(event.mX, event.mY, event.mClickCode);
        else if (event.mType == PlatformEvent::Type::MouseUp)
            manager.ButtonUp(event.mX, event.mY, event.mClickCode);
        app->ProcessDeferredDeletes();
    }
    static void Click(int x, int y)
    {
        PlatformEvent event;
        event.mX = x;
        event.mY = y;
        event.mClickCode = 1;
        for (auto type : {PlatformEvent::Type::MouseMove, PlatformEvent::Type::MouseDown, PlatformEvent::Type::MouseUp})
        {
            event.mType = type;
            Deliver(event);
        }
    }
    static void Click(const Widget& widget) { Click(widget.mX + widget.mWidth / 2, widget.mY + widget.mHeight / 2); }
    static void Update()
    {
        app->RunUpdate();
        app->ProcessDeferredDeletes();
    }
    // Clicks on the floor away from every badge until the lesson asks for the purchase.
    void ContinueToTheBuyingStep()
    {
        while (lesson->step < TutorialShopping::kBuyStep)
        {
            ASSERT_TRUE(lesson->WaitsForClick()) << "step " << lesson->step;
            Click(400, 300);
        }
    }
    // Clicks where the lesson's arrow points; returns the panel that opened.
    UpgradeMenu* ClickTheArrow()
    {
        int x = 0;
        int y = 0;
        if (!lesson->ArrowTargetPoint(x, y))
            return nullptr;
        Click(x, y);
        return dynamic_cast<UpgradeMenu*>(Top());
    }
    bool IsShopItem(const Component* target) const
    {
        const auto& items = TheBoard().shopItems;
        return std::any_of(items.begin(), items.end(), [target](const auto& item) { return item.get() == target; });
    }

    TutorialShopping* lesson = nullptr;
    static HeadlessPlatform* platform;
    static GameApp* app;
};

HeadlessPlatform* ShoppingLesson::platform = nullptr;
GameApp* ShoppingLesson::app = nullptr;

TEST_F(ShoppingLesson, DoneButtonStaysOffUntilTheLessonAsksForIt)
{
    Board& board = TheBoard();
    Button& done = *board.hud.doneButton;
    EXPECT_TRUE(board.HudShowsShop()) << "the run's cash and the prices, as in the shop";
    ASSERT_TRUE(done.mShown);
    EXPECT_TRUE(done.mInactive) << "step 0";
    ContinueToTheBuyingStep();
    EXPECT_TRUE(done.mInactive) << "step 3";
    UpgradeMenu* panel = ClickTheArrow();
    ASSERT_NE(panel, nullptr);
    Click(*panel->buyButton);
    ASSERT_EQ(lesson->step, 4);
    EXPECT_TRUE(done.mInactive) << "step 4";
    Click(done); // off: nothing happens
    EXPECT_EQ(lesson->step, 4);
    Click(400, 300);
    ASSERT_EQ(lesson->step, TutorialShopping::kDoneStep);
    EXPECT_FALSE(done.mInactive);

    // Off again whenever the board's buttons are: a paused lesson.
    board.OnChar(' ');
    EXPECT_TRUE(done.mInactive);
    board.OnChar(' ');
    EXPECT_FALSE(done.mInactive);

    Click(done);
    EXPECT_TRUE(lesson->IsFinished());
}

TEST_F(ShoppingLesson, ClosingThePanelChecksThePurchaseAndTheRebuiltShopKeepsTheLesson)
{
    Board& board = TheBoard();
    const int rooms = board.run.Progress()->changingRooms;
    ContinueToTheBuyingStep();
    ASSERT_EQ(lesson->arrows.size(), 1u);
    EXPECT_NE(dynamic_cast<ShopChangingRoom*>(lesson->arrows[0].target), nullptr) << "the arrow is at the room";

    // Cancelled: nothing bought, the arrow points at the same badge again.
    UpgradeMenu* panel = ClickTheArrow();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(lesson->arrows.empty()) << "the clicked arrow goes";
    Click(*panel->cancelButton);
    EXPECT_EQ(Top(), nullptr);
    EXPECT_EQ(lesson->step, TutorialShopping::kBuyStep);
    ASSERT_EQ(lesson->arrows.size(), 1u);
    EXPECT_NE(dynamic_cast<ShopChangingRoom*>(lesson->arrows[0].target), nullptr);

    // Bought: the shop view is built again with the next offers, under the same lesson, which moves on.
    panel = ClickTheArrow();
    ASSERT_NE(panel, nullptr);
    Click(*panel->buyButton);
    EXPECT_EQ(board.lesson.get(), lesson);
    EXPECT_TRUE(board.TutorialRunning());
    EXPECT_EQ(board.Mode(), BoardMode::Tutorial);
    EXPECT_EQ(board.run.Progress()->changingRooms, rooms + 1);
    EXPECT_EQ(int(board.ChangingRooms().size()), rooms + 1) << "the floor was built again";
    EXPECT_EQ(lesson->step, 4);
    EXPECT_TRUE(lesson->arrows.empty());

    // Another rebuild while an arrow still points into the floor: the arrow lets go of the deleted badge.
    ASSERT_FALSE(board.shopItems.empty());
    const Component& badge = *board.shopItems.front()->badge;
    const int badgeX = badge.x + badge.GetImage()->GetWidth() / 2;
    const int badgeY = badge.y + badge.GetImage()->GetHeight() / 2;
    lesson->GoTo(TutorialShopping::kBuyStep);
    lesson->AddArrow(badgeX, badgeY, 75, 18, 1, true);
    ASSERT_TRUE(IsShopItem(lesson->arrows[0].target));
    board.LoadLevel(true);
    ASSERT_EQ(board.lesson.get(), lesson);
    EXPECT_EQ(lesson->arrows[0].target, nullptr);
    board.OnMouseMove(badgeX, badgeY); // asks the arrows for the price and the hand
    board.flow->AfterLevelStart(false);
    ASSERT_EQ(lesson->step, 4) << "a room was bought since the lesson began";
}

TEST_F(ShoppingLesson, ARunThatCannotPayForTheRoomIsShownTheWayOut)
{
    GameState broke = *TheBoard().run.Progress();
    broke.cash = 0.0;
    TheBoard().run.ReplaceWorkingCopy(broke);
    ContinueToTheBuyingStep();
    EXPECT_EQ(lesson->step, TutorialShopping::kDoneStep);
    EXPECT_FALSE(TheBoard().hud.doneButton->mInactive);
    Click(*TheBoard().hud.doneButton);
    EXPECT_TRUE(lesson->IsFinished());
}

TEST_F(ShoppingLesson, TheBuiltInPlayerBuysTheRoomAndHandsOverToTheLevelStart)
{
    Board& board = TheBoard();
    const int rooms = board.run.Progress()->changingRooms;
    PlayerBot bot(board, Deliver);
    int updates = 0;
    for (; updates < 3000 && board.lesson != nullptr; ++updates)
    {
        Update();
        bot.Update();
    }
    ASSERT_EQ(board.lesson, nullptr) << "the lesson did not end";
    RecordProperty("updates", updates);
    EXPECT_FALSE(board.TutorialRunning());
    EXPECT_EQ(board.run.Progress()->changingRooms, rooms + 1);
    auto* start = dynamic_cast<LevelStartMenu*>(Top());
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->storeNumber, 1);
    EXPECT_EQ(start->levelIndex, 1);
    EXPECT_FALSE(board.hud.doneButton->mShown) << "the floor is the day's again";
}

// A small box holds three wrapped lines over the click-to-continue line (four go into the big box): the line must
// not run into the text above it. The text starts 10 pixels into the box; the line's baseline is 20 above its end.
TEST_F(ShoppingLesson, SmallTextBoxKeepsItsClickLineClearOfThreeLines)
{
    ASSERT_NE(FONT_SMALL, nullptr);
    const Font& font = *FONT_SMALL;
    for (int storeNumber : {1, 2, 3})
    {
        SCOPED_TRACE(storeNumber);
        const StoreInfo* store = GetStoreInfo(storeNumber);
        ASSERT_NE(store, nullptr);
        const Image* small = store->GetImage("TutorialBox");
        const Image* big = store->GetImage("TutorialBoxBig");
        ASSERT_NE(small, nullptr);
        ASSERT_NE(big, nullptr);
        const int textBottom = 10 + 3 * font.LineSpacing();
        const int clickTop = small->GetHeight() - 20 - font.Ascent();
        EXPECT_GE(clickTop, textBottom) << "box height " << small->GetHeight();
        EXPECT_GT(big->GetHeight(), small->GetHeight());
    }
}

} // namespace
