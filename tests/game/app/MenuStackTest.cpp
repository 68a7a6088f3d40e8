// The application's stack of open menus over a day of the game's own content: the board's state and focus as
// menus open and close, closing everything while the next screen opens, and every screen of the catalogue opened,
// drawn and closed by name. Skipped when the build has no content folder.
#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/Localization.h"
#include "game/flow/MenuCatalog.h"
#include "game/menus/CharacterMenu.h"
#include "game/menus/Comic.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/EnterNameMenu.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/HowToPlayMenu.h"
#include "game/menus/InfoMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MainMenuButton.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/TextInBox.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

// One application for the whole suite: loading the content takes a while, and the process holds one at a time.
class MenuStack : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { TestSupport::StartLoadedGame("-level=1:1", platform, app); }
    static void TearDownTestSuite() { TestSupport::StopLoadedGame(platform, app); }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << kGameDir;
    }
    void TearDown() override
    {
        if (app == nullptr)
            return;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
    }

    static Board& TheBoard() { return *app->GetBoard(); }
    static void Updates(int count)
    {
        for (int i = 0; i < count; i++)
        {
            app->RunUpdate();
            app->RunFractionalUpdate(1.0);
            app->ProcessDeferredDeletes();
        }
    }
    static std::vector<uint32_t> Screen()
    {
        app->RunUpdateAndFullDraw();
        MemoryImage* screen = app->GetScreenImage();
        const uint32_t* bits = screen->GetBits();
        return std::vector<uint32_t>(bits, bits + size_t(screen->GetWidth()) * size_t(screen->GetHeight()));
    }

    static HeadlessPlatform* platform;
    static GameApp* app;
};

HeadlessPlatform* MenuStack::platform = nullptr;
GameApp* MenuStack::app = nullptr;

enum class Kind
{
    Notice, // a dialog: shows the board, darkened
    Sign,   // shows the board undarkened, does not keep the focus
    Info,   // full screen: the board is hidden
};

std::unique_ptr<Menu> Make(Kind kind, Board& board)
{
    switch (kind)
    {
    case Kind::Notice:
        return std::make_unique<NoticeMenu>(&board, "quit_title", "quit_text");
    case Kind::Sign:
        return std::make_unique<OpenSignMenu>(&board);
    case Kind::Info:
        return std::make_unique<InfoMenu>(&board, IMAGE_MENU_MAIN.get());
    }
    return nullptr;
}

} // namespace

TEST_F(MenuStack, TheBoardsStateFollowsTheOpenMenus)
{
    struct Case
    {
        const char* name;
        std::vector<Kind> menus;
        BoardState state;
        bool dimmed;
        bool boardHasFocus;
    };
    const Case cases[] = {
        {"none", {}, BoardState::Playing, false, true},
        {"dialog", {Kind::Notice}, BoardState::Covered, true, false},
        {"open sign", {Kind::Sign}, BoardState::Covered, false, true},
        {"full screen", {Kind::Info}, BoardState::Hidden, false, false},
        {"dialog over full screen", {Kind::Info, Kind::Notice}, BoardState::Hidden, false, false},
        {"full screen over dialog", {Kind::Notice, Kind::Info}, BoardState::Hidden, true, false},
        {"sign over dialog", {Kind::Notice, Kind::Sign}, BoardState::Covered, true, false},
    };
    for (const Case& c : cases)
    {
        for (Kind kind : c.menus)
            app->AddMenu(Make(kind, TheBoard()));
        EXPECT_EQ(c.state, TheBoard().State()) << c.name;
        EXPECT_EQ(c.dimmed, TheBoard().Dimmed()) << c.name;
        EXPECT_EQ(c.boardHasFocus, app->mWidgetManager->mFocus == &TheBoard()) << c.name;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        EXPECT_EQ(BoardState::Playing, TheBoard().State()) << c.name;
    }
}

TEST_F(MenuStack, TheDayStandsWhileAMenuIsOpenAndRunsWhenTheLastOneCloses)
{
    Updates(1);
    Menu* notice = app->AddMenu(Make(Kind::Notice, TheBoard()));
    int clock = TheBoard().day.clockTicks;
    Updates(20);
    EXPECT_EQ(clock, TheBoard().day.clockTicks);
    app->RemoveDialog(notice->mDialogId);
    Updates(20);
    EXPECT_EQ(clock - 20, TheBoard().day.clockTicks);
    EXPECT_EQ(&TheBoard(), app->mWidgetManager->mFocus);
}

TEST_F(MenuStack, EscapeBacksOutOfEveryInformationScreen)
{
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<Menu>(Board&)> make;
        bool overLevelStart; // the handbook is opened from the level start panel, which stays
    };
    const Case cases[] = {
        {"high scores", [](Board& b) { return std::make_unique<HighScoresMenu>(&b); }, false},
        {"credits", [](Board& b) { return std::make_unique<CreditsMenu>(&b); }, false},
        {"how to play", [](Board& b) { return std::make_unique<HowToPlayMenu>(&b); }, false},
        {"handbook", [](Board& b) { return std::make_unique<CharacterMenu>(&b, 1, 0); }, true},
    };
    for (const Case& c : cases)
    {
        Menu* under = c.overLevelStart ? app->AddMenu(std::make_unique<LevelStartMenu>(&TheBoard(), 1, 0, nullptr))
                                       : nullptr;
        Menu* screen = app->AddMenu(c.make(TheBoard()));
        Updates(2);
        app->mWidgetManager->KeyPressed(KEY_ESCAPE);
        app->mWidgetManager->KeyReleased(KEY_ESCAPE);
        app->ProcessDeferredDeletes();
        EXPECT_EQ(nullptr, app->FindDialog(screen->mDialogId)) << c.name;
        if (under != nullptr)
        {
            EXPECT_NE(nullptr, app->FindDialog(under->mDialogId)) << c.name << ": the panel under it stays";
            EXPECT_EQ(&TheBoard(), app->mWidgetManager->mFocus) << c.name << ": the panel leaves the keys to the board";
        }
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
    }
}

TEST_F(MenuStack, ClosingEverythingKeepsTheBoardCoveredUntilTheNextScreenIsOpen)
{
    Menu* first = app->AddMenu(Make(Kind::Info, TheBoard()));
    app->AddMenu(Make(Kind::Notice, TheBoard()));
    std::optional<BoardState> stateWhileOpening;
    Menu* next = nullptr;
    app->CloseAllMenus(
        [&]
        {
            stateWhileOpening = TheBoard().State();
            next = app->AddMenu(Make(Kind::Notice, TheBoard()));
        });
    EXPECT_EQ(BoardState::Hidden, stateWhileOpening);
    EXPECT_EQ((std::list<Menu*>{next}), app->OpenMenus());
    EXPECT_EQ(nullptr, app->FindDialog(first->mDialogId));
    EXPECT_EQ(BoardState::Covered, TheBoard().State());
    EXPECT_EQ(2u, app->PendingDeferredDeletes());
    app->ProcessDeferredDeletes();
    EXPECT_EQ(0u, app->PendingDeferredDeletes());
}

TEST_F(MenuStack, EveryCatalogueScreenOpensDrawsAndCloses)
{
    std::vector<uint32_t> floor = Screen();
    for (const MenuCatalogEntry& entry : MenuCatalog())
    {
        entry.open(TheBoard(), *app);
        if (entry.startScreen)
        {
            // A start screen covers everything, over the board and outside the menu stack.
            EXPECT_TRUE(app->OpenMenus().empty()) << entry.name;
            Updates(2);
            std::vector<uint32_t> shown = Screen();
            size_t changed = 0;
            for (size_t i = 0; i < shown.size(); i++)
                changed += shown[i] != floor[i];
            EXPECT_GT(changed, 100000u) << entry.name << " does not cover the screen";
            app->CloseStartScreens();
            app->ProcessDeferredDeletes();
            EXPECT_EQ(0u, app->PendingDeferredDeletes()) << entry.name;
            floor = Screen();
            continue;
        }
        // The upgrade shop's floor is a screen of the board itself: it opens no menu.
        ASSERT_LE(app->OpenMenus().size(), 1u) << entry.name;
        Menu* menu = app->OpenMenus().empty() ? nullptr : app->OpenMenus().front();
        // The slowest to settle is a store being built on the map: 300 updates, then the 150 of its countdown.
        for (int i = 0; i < 600 && !((menu == nullptr || menu->IsSettled()) && i >= 60); i++)
            Updates(1);
        EXPECT_TRUE(menu == nullptr || menu->IsSettled()) << entry.name;
        std::vector<uint32_t> shown = Screen();
        size_t changed = 0;
        for (size_t i = 0; i < shown.size(); i++)
            changed += shown[i] != floor[i];
        EXPECT_GT(changed, 5000u) << entry.name << " draws next to nothing";
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        EXPECT_TRUE(app->OpenMenus().empty()) << entry.name;
        EXPECT_EQ(0u, app->PendingDeferredDeletes()) << entry.name;
        floor = Screen();
    }
}

TEST_F(MenuStack, TheWordsWrittenOverTheArtFitTheirBoxesInTheGamesFonts)
{
    for (int page = 1; page <= 4; ++page)
    {
        for (int panel = 0; panel < Comic::kPanels; ++panel)
        {
            const std::string key = Comic::CaptionKey(page, panel);
            const std::string& text = GetText(key);
            EXPECT_FALSE(text.empty()) << key;
            EXPECT_TRUE(FitTextInBox(text, Comic::CaptionBox(panel), {FONT_MEDIUM_LIGHT, FONT_SMALL}).fits) << key;
        }
    }
    const std::string& title = GetText("characters_title");
    EXPECT_FALSE(title.empty());
    TextFit fit = FitTextInBox(title, HandbookTitleBand(), {FONT_LARGE_LIGHT, FONT_MEDIUM_LIGHT, FONT_SMALL});
    EXPECT_TRUE(fit.fits);
    EXPECT_EQ(fit.font, FONT_LARGE_LIGHT) << "the title shrinks in the game's own language";

    struct Banner
    {
        const ResImage* image;
        const char* key;
    };
    for (const Banner& banner :
         {Banner{&IMAGE_MENU_HIGH_SCORE_TITLE, "high_scores_title"}, Banner{&IMAGE_MENU_CREDITS_TITLE, "credits_title"},
          Banner{&IMAGE_MENU_HOW_TO_PLAY_TITLE, "how_to_play_title"}})
    {
        const std::string& text = GetText(banner.key);
        EXPECT_FALSE(text.empty()) << banner.key;
        EXPECT_TRUE(FitTextInBox(text, BannerTextBox(banner.image->get(), 0, 0),
                                 {FONT_LARGE_LIGHT, FONT_MEDIUM_LIGHT, FONT_SMALL})
                        .fits)
            << banner.key;
    }

    auto* main = static_cast<MainMenu*>(app->AddMenu(std::make_unique<MainMenu>(&TheBoard())));
    for (const MainMenuButton* button : main->buttons)
    {
        EXPECT_FALSE(button->label.empty());
        EXPECT_TRUE(FitTextInBox(button->label, button->LabelBox(), {button->labelFont}).fits) << button->label;
        EXPECT_EQ(button->labelFont, main->buttons[0]->labelFont) << "one font for all the labels";
    }

    auto* entry = static_cast<EnterNameMenu*>(app->AddMenu(std::make_unique<EnterNameMenu>(nullptr)));
    const Button& ok = *entry->okButton;
    EXPECT_FALSE(ok.mCaption.empty());
    ASSERT_NE(ok.mCaptionFont, nullptr);
    EXPECT_LE(ok.mCaptionFont->TextWidth(ok.mCaption), ok.mWidth);
}

TEST_F(MenuStack, ASnapshotHoldsWhatTheScreenShowsUnderTheMenu)
{
    Menu* notice = app->AddMenu(Make(Kind::Notice, TheBoard()));
    Updates(60);
    std::vector<uint32_t> screen = Screen();
    notice->TakeSnapshot();
    ASSERT_NE(nullptr, notice->snapshot);
    ASSERT_EQ(notice->mWidth, notice->snapshot->GetWidth());
    int mismatches = 0;
    for (int y = 0; y < notice->mHeight; y += 7)
        for (int x = 0; x < notice->mWidth; x += 7)
            mismatches +=
                notice->snapshot->GetPixel(x, y) != screen[size_t(notice->mY + y) * 800 + size_t(notice->mX + x)];
    EXPECT_EQ(0, mismatches);
}
