// The screens around the game on the application's menu stack: name entry and the name rule, the player slots
// (typing, choosing, renaming, deleting), the continue question, the options dialog's samples and display
// choices, high-score browsing and blinking, the credits' scroll and the handbook's rows.
#include "../data/DataTestSupport.h"
#include "MenuTestSupport.h"

#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/Slider.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/diag/ScreenPlayer.h"
#include "game/menus/CharacterMenu.h"
#include "game/menus/ConfirmMenu.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/EnterNameMenu.h"
#include "game/ui/FancyCheckbox.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MainMenuButton.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/menus/ProfileNameWidget.h"
#include "game/profile/ProfileTable.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <sstream>

using namespace MenuTest;
using namespace Zestra;

namespace
{

constexpr int kCashRegisterSound = 104;

class ScreensTest : public MenuKitTest
{
protected:
    void SetUp() override
    {
        MenuKitTest::SetUp();
        auto blank = [](int w, int h) { return std::make_shared<MemoryImage>(w, h); };
        for (ResImage* image : {&IMAGE_MENU_BACKGROUND_1, &IMAGE_MENU_BACKGROUND_2, &IMAGE_MENU_BACKGROUND_3,
                                &IMAGE_MENU_BACKGROUND_4, &IMAGE_MENU_BACKGROUND_5})
            *image = blank(800, 600);
        for (ResImage* image : {&IMAGE_MENU_PLAY_GAME_UP, &IMAGE_MENU_PLAY_GAME_DOWN, &IMAGE_MENU_PLAY_GAME_OVER,
                                &IMAGE_MENU_QUIT_UP, &IMAGE_MENU_QUIT_DOWN, &IMAGE_MENU_QUIT_OVER})
            *image = blank(230, 52);
        IMAGE_ENTER_NAME = blank(600, 360);
        IMAGE_ENTER_NAME_OK_UP = blank(50, 44);
        IMAGE_ENTER_NAME_OK_DOWN = blank(50, 44);
        IMAGE_ENTER_NAME_OK_OVER = blank(50, 44);
        IMAGE_MENU_PROFILE_BUTTON_NORMAL = blank(250, 38);
        IMAGE_MENU_PROFILE_BUTTON_OVER = blank(250, 38);
        IMAGE_MENU_PROFILE_BUTTON_SELECTED = blank(250, 38);
        IMAGE_MENU_PROFILE_BUTTON_OK_NORMAL = blank(70, 36);
        IMAGE_MENU_PROFILE_BUTTON_OK_OVER = blank(70, 36);
        IMAGE_MENU_PROFILE_BUTTON_OK_SELECTED = blank(70, 36);
        IMAGE_MENU_DIALOG_BOX_3 = blank(440, 400);
        IMAGE_MENU_DIALOG_BOX_4 = blank(400, 320);
        IMAGE_MENU_SLIDER_TRACK = blank(240, 18);
        IMAGE_MENU_SLIDER_THUMB = blank(26, 34);
        IMAGE_MENU_CHARACTER_HANDBOOK = blank(528, 590);
        IMAGE_MENU_LEVEL_BUTTON_NORMAL = blank(120, 42);
        IMAGE_MENU_LEVEL_BUTTON_OVER = blank(120, 42);
        IMAGE_MENU_LEVEL_BUTTON_DOWN = blank(120, 42);
        FONT_SMALL = &font;
        FONT_LARGE_DARK = &font;
        FONT_LARGE_LIGHT = &font;
        SOUND_CASH_REGISTER = kCashRegisterSound;
        InstallProfiles(ProfileSet{}, ProfilesPath(), true);
    }
    void TearDown() override
    {
        FreeProfiles();
        MenuKitTest::TearDown();
    }

    std::string ProfilesPath() const { return profilesFolder / "profiles.xml"; }
    std::string ProfilesFile() const
    {
        std::ifstream in(ProfilesPath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    template <class M, class... Args> M* Open(Args&&... args)
    {
        auto* menu = static_cast<M*>(app->AddMenu(std::make_unique<M>(std::forward<Args>(args)...)));
        Updates(40); // every slide has settled
        return menu;
    }
    void Type(const std::string& text)
    {
        for (char ch : text)
            Manager().CharTyped(ch);
    }
    int Count(int sound) const { return int(std::count(sounds.begin(), sounds.end(), sound)); }
    template <class M> M* TopMenu() const
    {
        return app->OpenMenus().empty() ? nullptr : dynamic_cast<M*>(app->OpenMenus().back());
    }

    TestSupport::TempFolder profilesFolder{"velmora-screens"};
};

} // namespace

TEST_F(ScreensTest, NameEntryTakesTheNameRuleAndReturnCreatesTheProfile)
{
    int started = 0;
    EnterNameMenu* menu = Open<EnterNameMenu>([&] { started++; });
    // The field starts empty here (no default name in the data) and has the keyboard.
    EXPECT_EQ(menu->Name(), "");
    Type(" Ann 4Lee");
    EXPECT_EQ(menu->Name(), "Ann Lee");
    Type("abcdefgh");
    EXPECT_EQ(menu->Name(), "Ann Leeabcde") << "the thirteenth character is refused";
    Key(KEY_RETURN);
    EXPECT_EQ(started, 1);
    EXPECT_FALSE(IsOpen(menu));
    EXPECT_EQ(GetSelectedProfile(), 0);
    EXPECT_EQ(GetProfile(0)->name, "Ann Leeabcde");
    EXPECT_NE(ProfilesFile().find("Ann Leeabcde"), std::string::npos) << "the first player is saved at once";
}

TEST_F(ScreensTest, NameEntryWithAnEmptyFieldDoesNothing)
{
    int started = 0;
    EnterNameMenu* menu = Open<EnterNameMenu>([&] { started++; });
    Click(*menu->okButton);
    Key(KEY_RETURN);
    EXPECT_EQ(started, 0);
    EXPECT_TRUE(IsOpen(menu));
    EXPECT_EQ(GetSelectedProfile(), -1);
}

TEST_F(ScreensTest, AFreeSlotLeftEmptySelectsNobodyAndHidesTheButtons)
{
    PlayerSelectMenu* menu = Open<PlayerSelectMenu>(nullptr);
    EXPECT_FALSE(menu->playButton->mShown);
    Click(*menu->slots[2]);
    EXPECT_EQ(menu->selectedSlot, 2);
    EXPECT_TRUE(menu->okButtons[2]->mShown);
    Type(" "); // a first blank is refused
    EXPECT_TRUE(menu->slots[2]->IsEmpty());
    Click(*menu->okButtons[2]);
    EXPECT_EQ(menu->selectedSlot, -1);
    EXPECT_EQ(GetSelectedProfile(), -1);
    EXPECT_FALSE(menu->okButtons[2]->mShown);
    for (Button* button : {menu->cancelButton, menu->deleteButton, menu->playButton})
        EXPECT_FALSE(button->mShown);
}

TEST_F(ScreensTest, TypingInAFreeSlotMakesAPlayerAndChoosingSwitchesBetweenThem)
{
    CreateProfile("Ann");
    PlayerSelectMenu* menu = Open<PlayerSelectMenu>(nullptr);
    EXPECT_EQ(menu->selectedSlot, 0);
    EXPECT_TRUE(menu->playButton->mShown);
    Click(*menu->slots[1]);
    Type("Bob Rich Jonesy");
    EXPECT_EQ(menu->slots[1]->Text(), "Bob Rich Jon");
    Key(KEY_RETURN);
    EXPECT_EQ(GetSelectedProfile(), 1);
    EXPECT_EQ(GetProfile(1)->name, "Bob Rich Jon");
    EXPECT_TRUE(menu->deleteButton->mShown);
    Click(*menu->slots[0]);
    EXPECT_EQ(GetSelectedProfile(), 0);
    EXPECT_EQ(GetProfile(1)->name, "Bob Rich Jon") << "the other player stays";
}

TEST_F(ScreensTest, RenamingTheSelectedPlayerReachesTheFileWithTheNextSave)
{
    CreateProfile("Ann");
    UnlockStore(3);
    SaveProfiles();
    PlayerSelectMenu* menu = Open<PlayerSelectMenu>(nullptr);
    ProfileNameWidget* slot = menu->slots[0];
    Manager().FocusWidget(slot);
    Key(KEY_BACKSPACE);
    Key(KEY_BACKSPACE);
    Type("my");
    Key(KEY_RETURN);
    EXPECT_EQ(GetProfile(0)->name, "Amy");
    EXPECT_EQ(GetUnlockedStores(), 3) << "renaming keeps the progress";
    ASSERT_TRUE(SaveProfiles());
    EXPECT_NE(ProfilesFile().find("\"Amy\""), std::string::npos);
    EXPECT_EQ(ProfilesFile().find("\"Ann\""), std::string::npos);
}

TEST_F(ScreensTest, DeletingTheSelectedPlayerResetsItsSlotAndSelectsNobody)
{
    CreateProfile("Ann");
    CreateProfile("Bob");
    UnlockStore(2);
    PlayerSelectMenu* menu = Open<PlayerSelectMenu>(nullptr);
    ASSERT_EQ(menu->selectedSlot, 1);
    Click(*menu->deleteButton);
    Updates(40);
    ConfirmMenu* confirm = TopMenu<ConfirmMenu>();
    ASSERT_NE(confirm, nullptr);
    Key(KEY_RETURN);
    EXPECT_FALSE(IsOpen(confirm));
    EXPECT_EQ(menu->selectedSlot, -1);
    EXPECT_EQ(GetSelectedProfile(), -1);
    EXPECT_TRUE(GetProfile(1)->IsFree());
    EXPECT_EQ(GetProfile(1)->unlockedStores, 1);
    EXPECT_EQ(GetProfile(0)->name, "Ann");
    EXPECT_TRUE(menu->slots[1]->IsEmpty());
    EXPECT_FALSE(menu->playButton->mShown);
    EXPECT_EQ(ProfilesFile().find("Bob"), std::string::npos) << "the deletion is saved";
}

TEST_F(ScreensTest, ContinueComesFirstAndReturnTakesItClosingTheQuestionAndTheMenuThatAsked)
{
    MainMenu* main = Open<MainMenu>(nullptr);
    LoadGameMenu* question = Open<LoadGameMenu>(nullptr, main->mDialogId);
    EXPECT_LT(question->loadButton->mY, question->newGameButton->mY) << "Continue comes before New Game";
    Key(KEY_ESCAPE);
    EXPECT_FALSE(IsOpen(question));
    EXPECT_TRUE(IsOpen(main)) << "cancel leaves the main menu";
    question = Open<LoadGameMenu>(nullptr, main->mDialogId);
    Key(KEY_RETURN);
    EXPECT_FALSE(IsOpen(question));
    EXPECT_FALSE(IsOpen(main));
}

TEST_F(ScreensTest, TheSoundSliderPlaysItsSampleOnlyWhenLetGo)
{
    OptionsDialog* options = Open<OptionsDialog>(nullptr, false);
    Slider* slider = options->soundSlider;
    Rect thumb = slider->ThumbRect();
    int x = slider->mX + thumb.mX + thumb.mWidth / 2;
    int y = slider->mY + thumb.mY + thumb.mHeight / 2;
    Manager().PointerMoved(x, y);
    Manager().ButtonDown(x, y, 1);
    int before = Count(kCashRegisterSound);
    for (int step = 1; step <= 5; step++)
        Manager().PointerMoved(x - 20 * step, y);
    EXPECT_EQ(Count(kCashRegisterSound), before) << "no sample while dragging";
    EXPECT_LT(app->GetEffectsVolume(), 1.0) << "the volume follows the drag at once";
    Manager().ButtonUp(x - 100, y, 1);
    EXPECT_EQ(Count(kCashRegisterSound), before + 1);
    EXPECT_NEAR(app->GetEffectsVolume(), slider->mValue, 1e-9);
}

TEST_F(ScreensTest, LeavingOptionsUntouchedKeepsTheScreenModeAndWindowedModeCanBeRefused)
{
    app->Window().mWindowed = true;
    app->Window().mCustomCursorsEnabled = false;
    OptionsDialog* options = Open<OptionsDialog>(nullptr, true);
    EXPECT_FALSE(options->fullScreenBox->IsChecked());
    EXPECT_TRUE(options->mainMenuButton != nullptr);
    Key(KEY_ESCAPE);
    EXPECT_FALSE(IsOpen(options));
    EXPECT_TRUE(app->Window().mWindowed);
    EXPECT_FALSE(app->Is3D());
    EXPECT_FALSE(app->Window().mCustomCursorsEnabled);

    app->Window().mWindowed = false;
    app->Window().mFullscreenOnly = true;
    options = Open<OptionsDialog>(nullptr, false);
    ASSERT_TRUE(options->fullScreenBox->IsChecked());
    Click(*options->fullScreenBox);
    EXPECT_TRUE(options->fullScreenBox->IsChecked()) << "the box is checked again";
    NoticeMenu* notice = TopMenu<NoticeMenu>();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text, GetText("no_windowed_mode_msg"));
}

TEST_F(ScreensTest, ThreeDThatCannotWorkIsUncheckedWithANotice)
{
    platform.SetSupport3D(Support3D::Impossible);
    OptionsDialog* options = Open<OptionsDialog>(nullptr, false);
    Click(*options->box3D);
    EXPECT_FALSE(options->box3D->IsChecked());
    EXPECT_NE(TopMenu<NoticeMenu>(), nullptr);
}

TEST_F(ScreensTest, HighScoresBrowseBetweenTheFirstAndTheLastPlayableStore)
{
    FakeHost host;
    ScratchGameFolder folder;
    folder.Write("properties/stores.xml", R"(<store name="A"/><store name="B"/><store name="C"/>)");
    folder.Write("properties/levels.xml", R"(<store/><level/><store/><level/><store/><level/>)");
    LevelStats reader(host, false);
    ASSERT_EQ(PlayableStoreCount(), 3);
    HighScoresMenu* menu = Open<HighScoresMenu>(nullptr);
    const int clicks[] = {HighScoresMenu::kPrevious, HighScoresMenu::kNext, HighScoresMenu::kNext,
                          HighScoresMenu::kNext, HighScoresMenu::kPrevious};
    const int stores[] = {1, 2, 3, 3, 2};
    for (size_t i = 0; i < std::size(clicks); i++)
    {
        Click(*(clicks[i] == HighScoresMenu::kNext ? menu->nextButton : menu->previousButton));
        EXPECT_EQ(menu->storeNumber, stores[i]) << "click " << i;
    }
    EXPECT_EQ(menu->mSkinImage, IMAGE_MENU_BACKGROUND_2.get());
}

TEST_F(ScreensTest, TheNewEntryBlinksHalfASecondOnAndHalfOff)
{
    HighScoresMenu* menu = Open<HighScoresMenu>(nullptr, 1, 5000, 3, false);
    menu->blinkCounter = 0;
    std::string pattern;
    for (int update = 0; update < 200; update++)
    {
        pattern += menu->HighlightShown() ? '1' : '0';
        Updates(1);
    }
    EXPECT_EQ(pattern, std::string(50, '1') + std::string(50, '0') + std::string(50, '1') + std::string(50, '0'));
}

TEST_F(ScreensTest, TheCreditsStartAgainFromBelowOnceEverythingHasPassed)
{
    CreditsMenu* menu = Open<CreditsMenu>(nullptr);
    menu->totalHeight = 100;
    menu->scroll = 99.8;
    menu->Advance(1.0);
    EXPECT_DOUBLE_EQ(menu->scroll, CreditsMenu::kStartScroll) << "restart from below the window";
    EXPECT_EQ(CreditsHeight({{"Music", ""}, {"", "Ann"}, {"", "Bob"}}), 40 + 44 + 33 + 33);
}

TEST_F(ScreensTest, AHandbookOfSevenTypesHasTwoRowsOfFourAndThree)
{
    EXPECT_EQ(HandbookRows(7), (std::vector<int>{4, 3}));
    EXPECT_EQ(HandbookRows(6), (std::vector<int>{6}));
    EXPECT_EQ(HandbookRows(0), (std::vector<int>{}));
    EXPECT_EQ(HandbookRowCentres(4), (std::vector<int>{189, 239, 289, 339}));
    EXPECT_EQ(HandbookRowCentres(3), (std::vector<int>{214, 264, 314}));

    FakeHost host;
    ScratchGameFolder folder;
    folder.Write("properties/stores.xml", R"(<store name="A"/>)");
    std::string buys;
    for (char c = 'A'; c <= 'G'; c++)
        buys += std::string("<buy customer=\"") + c + "\"/>";
    folder.Write("properties/levels.xml", "<store/><level>" + buys + "</level>");
    LevelStats reader(host, false);
    CharacterMenu* menu = Open<CharacterMenu>(nullptr, 1, 0);
    ASSERT_EQ(menu->typeButtons.size(), 7u);
    EXPECT_EQ(menu->mX, 400 - 264);
    for (size_t i = 0; i < 7; i++)
        EXPECT_EQ(menu->typeButtons[i]->mY - menu->mY, i < 4 ? 160 : 250) << i;
    EXPECT_EQ(menu->typeByButton.at(CharacterMenu::kFirstType + 6), "G");
    EXPECT_TRUE(menu->figure != nullptr) << "the first type is shown at once";
}

TEST_F(ScreensTest, TheBuiltInPlayerMakesAPlayerWithTheDefaultNameAndFindsPlay)
{
    FakeHost host;
    ScratchGameFolder folder;
    folder.Write("properties/localization.xml", R"(<id tag="enter_name_default" value="Shopkeeper"/>)");
    Localization reader(host);

    int started = 0;
    auto* entry = static_cast<EnterNameMenu*>(app->AddMenu(std::make_unique<EnterNameMenu>([&] { started++; })));
    std::optional<ScreenClick> click = ChooseScreenClick(*entry);
    ASSERT_TRUE(click.has_value());
    Click(click->x, click->y);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(GetProfile(GetSelectedProfile())->name, "Shopkeeper");

    auto* main = static_cast<MainMenu*>(app->AddMenu(std::make_unique<MainMenu>(nullptr)));
    EXPECT_FALSE(ChooseScreenClick(*main).has_value()) << "the buttons are still sliding in";
    Updates(200);
    click = ChooseScreenClick(*main);
    ASSERT_TRUE(click.has_value());
    EXPECT_TRUE(main->buttons[0]->ContainsPoint(click->x, click->y));
}
