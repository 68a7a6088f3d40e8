// The illustrated how-to-play pages over the game's own content: every rule has its picture and its text, and the
// arrows turn the pages, each shown only where there is a page to turn to. Skipped without a content folder.
#include "framework/graphics/Image.h"
#include "game/data/Localization.h"
#include "game/menus/HowToPlayMenu.h"
#include "game/ui/Button.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

namespace
{

class HowToPlay : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { TestSupport::StartLoadedGame("-level=1:1", platform, app); }
    static void TearDownTestSuite() { TestSupport::StopLoadedGame(platform, app); }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << VELMORA_BUILD_GAME_DIR;
    }

    static Zestra::HeadlessPlatform* platform;
    static Zestra::GameApp* app;
};

Zestra::HeadlessPlatform* HowToPlay::platform = nullptr;
Zestra::GameApp* HowToPlay::app = nullptr;

} // namespace

TEST_F(HowToPlay, EveryRuleHasItsPictureAndItsText)
{
    ASSERT_GT(HowToPlayMenu::PageCount(), 1);
    for (int page = 0; page < HowToPlayMenu::PageCount(); ++page)
        for (int rule = 0; rule < HowToPlayMenu::RulesOnPage(page); ++rule)
        {
            SCOPED_TRACE(testing::Message() << "page " << page << " rule " << rule);
            int cel = -1;
            const Zestra::Image* picture = HowToPlayMenu::RulePicture(page, rule, cel);
            ASSERT_NE(picture, nullptr);
            EXPECT_GT(picture->GetCelWidth(), 0);
            EXPECT_GE(cel, 0);
            EXPECT_FALSE(GetText(HowToPlayMenu::RuleTextKey(page, rule)).empty());
        }
}

TEST_F(HowToPlay, TheArrowsTurnThePagesAndShowOnlyWhereThereIsOne)
{
    HowToPlayMenu menu(app->GetBoard());
    const int last = HowToPlayMenu::PageCount() - 1;
    EXPECT_EQ(menu.page, 0);
    EXPECT_FALSE(menu.previousButton->mShown);
    EXPECT_TRUE(menu.nextButton->mShown);
    for (int page = 1; page <= last; ++page)
    {
        menu.ButtonPressed(menu.nextButton->mButtonId);
        EXPECT_EQ(menu.page, page);
        EXPECT_TRUE(menu.previousButton->mShown);
    }
    EXPECT_FALSE(menu.nextButton->mShown);
    menu.ShowPage(last + 5);
    EXPECT_EQ(menu.page, last);
    menu.ButtonPressed(menu.previousButton->mButtonId);
    EXPECT_EQ(menu.page, last - 1);
    EXPECT_TRUE(menu.nextButton->mShown);
}
