// Where the built-in player clicks outside the shop floor: never on a panel still moving in, always on the button
// that goes on with the run, and on the first way on of any other menu once it has settled.
#include "../menus/MenuTestSupport.h"
#include "../store/StoreTestSupport.h"

#include "game/diag/PanelPlayer.h"
#include "game/ui/Button.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/NoticeMenu.h"

using namespace MenuTest;

namespace
{

class PanelPlayerTest : public MenuKitTest
{
protected:
    void SetUp() override
    {
        MenuKitTest::SetUp();
        IMAGE_MENU_LEVEL_BEGIN = MakePicture(700, 560);
        IMAGE_MENU_LEVEL_FAIL = MakePicture(800, 500);
        for (ResImage* id :
             {&IMAGE_MENU_LEVEL_BUTTON_NORMAL, &IMAGE_MENU_LEVEL_BUTTON_DOWN, &IMAGE_MENU_LEVEL_BUTTON_OVER})
            *id = MakePicture(120, 42);
    }
    // Updates until the menu has settled, checking that nothing is clicked before.
    void SettleUnclicked(const Menu& menu)
    {
        for (int i = 0; i < 1000 && !menu.IsSettled(); ++i)
        {
            EXPECT_FALSE(ChoosePanelClick(menu)) << "after " << i << " updates";
            Updates(1);
        }
    }
};

TEST_F(PanelPlayerTest, ClicksOKOnceTheLevelStartPanelHasSettled)
{
    Menu* panel = app->AddMenu(std::make_unique<LevelStartMenu>(nullptr, 1, 0, nullptr));
    SettleUnclicked(*panel);
    auto click = ChoosePanelClick(*panel);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->x, 30 + 405);
    EXPECT_EQ(click->y, 433 + 21);
}

TEST_F(PanelPlayerTest, RetriesAFailedDayRatherThanQuitting)
{
    Menu* panel = app->AddMenu(std::make_unique<LevelCompleteMenu>(nullptr, 0, true, 1, 0, ResultFigures{}));
    SettleUnclicked(*panel);
    auto click = ChoosePanelClick(*panel);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->x, 502 - 60 - 5);
}

TEST_F(PanelPlayerTest, TakesTheFirstWayOnOfAnyOtherMenuOnceItHasSettled)
{
    auto* notice = static_cast<NoticeMenu*>(app->AddMenu(std::make_unique<NoticeMenu>(nullptr, "a", "b")));
    SettleUnclicked(*notice);
    auto click = ChoosePanelClick(*notice);
    ASSERT_TRUE(click);
    Click(click->x, click->y);
    EXPECT_FALSE(IsOpen(notice));
}

} // namespace
