// The panels around a day and the store map on the application's menu stack: slides that settle before their
// buttons answer and freeze while the application is inactive, the result panel's forms and the picture behind
// it, the boss panel's zoom, and the map's icons, building effect, countdown, choosing and iris.
#include "MenuTestSupport.h"

#include "../data/DataTestSupport.h"
#include "../store/StoreTestSupport.h"

#include "framework/graphics/Graphics.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/menus/CharacterMenu.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelStartBossMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/MapMenu.h"
#include "game/minigame/Minigame.h"
#include "game/profile/ProfileTable.h"

#include <algorithm>

using namespace MenuTest;

namespace
{

class PanelMenus : public MenuKitTest
{
protected:
    void SetUp() override
    {
        MenuKitTest::SetUp();
        IMAGE_MENU_LEVEL_BEGIN = MakePicture(700, 560);
        IMAGE_MENU_LEVEL_FAIL = MakePicture(800, 500);
        IMAGE_MENU_LEVEL_COMPLETE = MakePicture(800, 500);
        IMAGE_MENU_LEVEL_COMPLETE_DOUBLE = MakePicture(800, 560);
        for (ResImage* id :
             {&IMAGE_MENU_LEVEL_BUTTON_NORMAL, &IMAGE_MENU_LEVEL_BUTTON_DOWN, &IMAGE_MENU_LEVEL_BUTTON_OVER})
            *id = MakePicture(120, 42);
        for (ResImage* id : {&IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL, &IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN,
                             &IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER})
            *id = MakePicture(210, 50);
        IMAGE_MENU_CUSTOMER_HANDBOOK_NORMAL = MakePicture(64, 64);
        FONT_SMALL = &font;
    }

    template <class M> M* Open(std::unique_ptr<M> menu)
    {
        M* opened = menu.get();
        app->AddMenu(std::move(menu));
        return opened;
    }
    // Updates until the menu has settled; returns how many it took.
    int Settle(const Menu& menu, int limit = 1000)
    {
        int updates = 0;
        while (!menu.IsSettled() && updates < limit)
        {
            Updates(1);
            ++updates;
        }
        return updates;
    }
};

TEST_F(PanelMenus, TheLevelStartPanelSlidesInBouncesOnceAndOnlyThenTakesClicks)
{
    auto* panel = Open(std::make_unique<LevelStartMenu>(nullptr, 1, 0, nullptr));
    EXPECT_EQ(panel->mX, -700);
    ASSERT_NE(panel->handbookButton, nullptr);
    int furthest = panel->mX;
    int updates = 0;
    while (!panel->IsSettled() && updates < 1000)
    {
        // A click before it has settled does nothing.
        if (panel->okButton->mX > 0)
        {
            Click(*panel->okButton);
            ASSERT_TRUE(IsOpen(panel));
        }
        Updates(1);
        furthest = std::max(furthest, panel->mX);
        ++updates;
    }
    EXPECT_EQ(panel->mX, 30);
    EXPECT_EQ(furthest, 36);                       // the one bounce, 6 past the target
    EXPECT_EQ(panel->okButton->mX, 30 + 405 - 60); // children follow the panel
    // The handbook opens over the panel, which stays.
    Click(*panel->handbookButton);
    ASSERT_EQ(app->OpenMenus().size(), 2u);
    EXPECT_NE(dynamic_cast<CharacterMenu*>(app->OpenMenus().back()), nullptr);
    app->RemoveDialog(app->OpenMenus().back()->mDialogId);
    Click(*panel->okButton);
    EXPECT_FALSE(IsOpen(panel));
}

TEST_F(PanelMenus, TheLevelStartPanelWaitsWhileTheApplicationIsInactive)
{
    auto* panel = Open(std::make_unique<LevelStartMenu>(nullptr, 1, 0, nullptr));
    Updates(1);
    int x = panel->mX;
    app->OnFocusLost();
    Updates(100);
    EXPECT_EQ(panel->mX, x);
    app->OnFocusGained();
    Updates(1);
    EXPECT_EQ(panel->mX, x + 16);
}

TEST_F(PanelMenus, ABonusDayHasNoHandbookAndItsOKStartsTheFirstStage)
{
    // Without a memory game in the data the game goes straight to its done button once its stage is started.
    auto* bonus = Open(std::make_unique<Minigame>(nullptr, 1, 0));
    auto* panel = Open(std::make_unique<LevelStartMenu>(nullptr, 1, 0, bonus));
    EXPECT_EQ(panel->handbookButton, nullptr);
    Settle(*panel);
    EXPECT_FALSE(bonus->doneButton->mShown);
    Click(*panel->okButton);
    EXPECT_TRUE(bonus->doneButton->mShown);
    EXPECT_FALSE(IsOpen(panel));
    EXPECT_TRUE(IsOpen(bonus));

    // Quitting instead takes the memory game away with the panel.
    auto* again = Open(std::make_unique<LevelStartMenu>(nullptr, 1, 0, bonus));
    Settle(*again);
    Click(*again->quitButton);
    EXPECT_FALSE(IsOpen(again));
    EXPECT_FALSE(IsOpen(bonus));
}

TEST_F(PanelMenus, TheResultPanelDropsInThenFadesItsTitleIn)
{
    auto* panel = Open(std::make_unique<LevelCompleteMenu>(nullptr, 0, false, 1, 0, ResultFigures{10, 2, 1, std::nullopt}));
    EXPECT_EQ(panel->mY, -500);
    EXPECT_EQ(panel->mHeight, 500 + 500);  // covers the screen wherever it is on its way down
    EXPECT_EQ(panel->quitButton, nullptr); // game over: one continue button
    EXPECT_EQ(panel->form.titleKey, "level_fail_game_over");
    ASSERT_NE(panel->snapshot, nullptr); // the screen as it was, drawn fixed behind the moving panel
    EXPECT_EQ(panel->snapshot->GetWidth(), 800);
    EXPECT_EQ(panel->snapshot->GetHeight(), 600);
    Updates(1);
    EXPECT_EQ(panel->titleAlpha, -100); // no fade before the panel has settled
    Settle(*panel);
    EXPECT_EQ(panel->mY, 0);
    EXPECT_FALSE(panel->okButton->mInactive);
    Updates(50);
    EXPECT_EQ(panel->titleAlpha, 0);
    Updates(200);
    EXPECT_EQ(panel->titleAlpha, 255);

    auto* retry = Open(std::make_unique<LevelCompleteMenu>(nullptr, 0, true, 1, 0, ResultFigures{10, 2, 1, std::nullopt}));
    ASSERT_NE(retry->quitButton, nullptr);
    EXPECT_EQ(retry->okButton->mX + 60, 502 - 60 - 5);
    EXPECT_EQ(retry->quitButton->mX + 60, 502 + 60 + 5);
    EXPECT_TRUE(retry->okButton->mInactive);
}

TEST_F(PanelMenus, TheBossPanelZoomsInForFortyUpdatesBeforeItsButtonAppears)
{
    auto screen = MakePicture(800, 600);
    auto* panel = Open(std::make_unique<LevelStartBossMenu>(nullptr, screen.get(), 1, 0));
    EXPECT_FALSE(panel->okButton->mShown);
    Updates(39);
    Click(554, 455); // where the button will be: nothing there yet
    EXPECT_TRUE(IsOpen(panel));
    EXPECT_FALSE(panel->okButton->mShown);
    Updates(1);
    EXPECT_TRUE(panel->okButton->mShown);
    Click(*panel->okButton);
    EXPECT_FALSE(IsOpen(panel));
}

// Three stores on the map; the third has no highlight picture and so no icon.
class MapScreen : public PanelMenus
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    void SetUp() override
    {
        PanelMenus::SetUp();
        IMAGE_MENU_MAP = MakePicture(800, 600);
        IMAGE_MENU_MAP_HUD = MakePicture(800, 90);
        IMAGE_MENU_NOT_COMPLETE_ICON = MakePicture(40, 40);
        IMAGE_MENU_COMPLETE_ICON = MakePicture(40, 40);
        IMAGE_MENU_EXPERT_COMPLETE_ICON = MakePicture(40, 40);
        IMAGE_MENU_PRELLA_MARKER = MakePicture(44, 64);
        IMAGE_MENU_STORE_SMOKE = MakePicture(144, 48, 3);
        IMAGE_MENU_IRIS = MakePicture(64, 64, 1, 0xFFFF00FF);
        FONT_LARGE_LIGHT = &font;
        for (const char* store : {"A", "B", "C"})
            host.AddStoreImages(store);
        host.images.erase("images/stores/C/MapIconOver");
        folder.Write("properties/stores.xml",
                     R"(<store name="A"/><map-icon x="40" y="300" bottom="430" left="50" right="180"/>
<store name="B"/><map-icon x="190" y="160" bottom="290" left="200" right="330"/>
<store name="C"/><map-icon x="350" y="300" bottom="430" left="360" right="490"/>)");
        folder.Write("properties/levels.xml", "<store/><level/><level/><level/><level/><store/><level/><level/>"
                                              "<level/><level/><store/><level/>");
        folder.Write("properties/localization.xml", R"(<id tag="store2" value="B-town"/>
<id tag="map_click_to_continue" value="Click"/><store/><store/>
<level month="January"/><level month="February"/><level month="March"/><level month="April"/>)");
        LevelStats stores(host, false);
        Localization texts(host);
    }
    void TearDown() override
    {
        FreeProfiles();
        PanelMenus::TearDown();
    }
};

TEST_F(MapScreen, AStoreWithoutAHighlightPictureHasNoIconAndWithout3DThereIsNoIris)
{
    auto* map = Open(std::make_unique<MapMenu>(nullptr, 1, 0));
    ASSERT_EQ(map->stores.size(), 2u);
    EXPECT_NE(map->FindStore(2), nullptr);
    EXPECT_EQ(map->FindStore(3), nullptr);
    EXPECT_EQ(map->snapshot, nullptr); // shown at once
    EXPECT_EQ(Settle(*map), 150);
}

TEST_F(MapScreen, With3DTheMapOpensThroughTheIrisBeforeTheCountdownRuns)
{
    app->Window().mIs3D = true;
    auto* map = Open(std::make_unique<MapMenu>(nullptr, 1, 0));
    ASSERT_NE(map->snapshot, nullptr);
    int irisUpdates = 0;
    while (map->snapshot && irisUpdates < 1000)
    {
        Updates(1);
        ++irisUpdates;
    }
    EXPECT_GT(irisUpdates, 4);
    EXPECT_LT(irisUpdates, 1000);
    EXPECT_EQ(map->countdown, 150); // the countdown waits for the iris
    EXPECT_GT(map->irisSize, 1.2 * 800);
}

TEST_F(MapScreen, AStoreInProgressShowsItsMonthsAndTheMarkerOnTheDayToPlay)
{
    CreateProfile("Ann");
    UnlockStore(2);
    MarkLevelPassed(2, 0, true);
    MarkLevelPassed(2, 1, false);
    MarkLevelStarted(2, 2);
    auto* map = Open(std::make_unique<MapMenu>(nullptr, 2, 3));
    EXPECT_EQ(map->storeTitle, "B-town");
    EXPECT_EQ(map->dayTitle, "April");
    ASSERT_EQ(map->levelIcons.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(map->levelIcons[i]->x + 20, int(54 * i + 49));
    EXPECT_EQ(map->levelIcons[0]->image, IMAGE_MENU_EXPERT_COMPLETE_ICON.get());
    EXPECT_EQ(map->levelIcons[1]->image, IMAGE_MENU_COMPLETE_ICON.get());
    EXPECT_EQ(map->levelIcons[2]->image, IMAGE_MENU_NOT_COMPLETE_ICON.get()); // started, not passed
    EXPECT_EQ(map->levelIcons[3]->image, IMAGE_MENU_NOT_COMPLETE_ICON.get()); // under the marker
    ASSERT_NE(map->marker, nullptr);
    EXPECT_EQ(map->marker->x + 22, 54 * 3 + 49);
    EXPECT_EQ(map->marker->y + 64, 583);
    EXPECT_TRUE(map->FindStore(2)->hovered);
    EXPECT_FALSE(map->FindStore(2)->IsBuilding());
    EXPECT_EQ(map->countdown, 150);
}

TEST_F(MapScreen, ANewlyUnlockedStoreIsBuiltAndClicksWaitForTheCountdown)
{
    CreateProfile("Ann");
    UnlockStore(2);
    auto* map = Open(std::make_unique<MapMenu>(nullptr, 2, 0));
    MapStoreIcon* built = map->FindStore(2);
    ASSERT_TRUE(built->IsBuilding());
    int updates = 0;
    while (map->countdown > 0 && updates < 2000)
    {
        Click(400, 300);
        ASSERT_TRUE(IsOpen(map)) << "after " << updates << " updates";
        Updates(1);
        ++updates;
    }
    // The update that finishes the building already counts down once.
    EXPECT_EQ(updates, 300 + 150 - 1);
    EXPECT_TRUE(built->hovered);
    Click(400, 300);
    EXPECT_FALSE(IsOpen(map));
}

TEST_F(MapScreen, ChoosingShowsEveryStoreAndOnlyAnOpenOneCanBePicked)
{
    auto* map = Open(std::make_unique<MapMenu>(nullptr));
    EXPECT_TRUE(map->chooseMode);
    EXPECT_EQ(map->stores.size(), 2u);
    EXPECT_FALSE(map->FindStore(2)->IsUnlocked());
    // Over the locked store: its note shows, the arrow stays, and a click picks nothing.
    Manager().PointerMoved(250, 200);
    EXPECT_TRUE(map->FindStore(2)->hovered);
    EXPECT_EQ(app->Window().mCursor, 0);
    Zestra::MemoryImage screen(800, 600);
    Zestra::Graphics g(&screen);
    Manager().RedrawInto(g); // draws the "locked" note without trouble
    Click(250, 200);
    EXPECT_TRUE(map->chooseMode);
    Manager().PointerMoved(100, 350);
    EXPECT_EQ(app->Window().mCursor, 1);
    Manager().ButtonDown(100, 350, -1); // right clicks never choose
    Manager().ButtonUp(100, 350, -1);
    EXPECT_TRUE(map->chooseMode);
    Click(100, 350);
    EXPECT_FALSE(map->chooseMode);
    EXPECT_EQ(map->storeNumber, 1);
    EXPECT_EQ(map->countdown, 150);
}

} // namespace
