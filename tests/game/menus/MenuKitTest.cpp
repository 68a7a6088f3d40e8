// The menu kit on the application's menu stack: the slide-in and its pause rule, the confirmations and their
// answers, the notice, the open sign's timing, the game's button sounds, the keys every menu shares, and the
// children a menu keeps beside it.
#include "MenuTestSupport.h"

#include "../data/DataTestSupport.h"
#include "game/data/Localization.h"

#include "framework/widgets/EditWidget.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/Slider.h"
#include "framework/widgets/SliderListener.h"
#include "game/ui/Button.h"
#include "game/menus/ConfirmDeleteMenu.h"
#include "game/menus/ConfirmMainMenu.h"
#include "game/menus/ConfirmNewGameMenu.h"
#include "game/menus/ConfirmQuitMenu.h"
#include "game/ui/FancyCheckbox.h"
#include "game/menus/InfoMenu.h"
#include "game/menus/MainMenuButton.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/SlideIn.h"

#include <algorithm>

using namespace MenuTest;
using namespace Zestra;

namespace
{

// A full-screen menu with two buttons that counts their presses, standing for the main menu below a dialog.
class TwoButtonMenu : public Menu
{
public:
    TwoButtonMenu() : Menu(nullptr, IMAGE_MENU_MAIN.get(), false, false, true)
    {
        first = AddMenuButton("One", 400, 200, 7);
        second = AddMenuButton("Two", 400, 300, 8);
        box = AddChild(std::make_unique<FancyCheckbox>(nullptr));
        box->MoveTo(100, 100);
    }
    using Menu::ButtonPressed;
    void ButtonPressed(int id) override { pressed.push_back(id); }
    std::vector<int> pressed;
    Button* first;
    Button* second;
    FancyCheckbox* box;
};

// One control of every kind a menu walks with the keyboard, in the order added: a button, a slider, a text field
// and a check box.
class EveryControlMenu : public Menu, public SliderListener
{
public:
    EveryControlMenu() : Menu(nullptr, IMAGE_MENU_MAIN.get(), false, false, true)
    {
        button = AddMenuButton("One", 400, 200, 7);
        slider = AddChild(std::make_unique<Slider>(nullptr, nullptr, 31, this));
        slider->SetValue(0.5);
        field = AddChild(std::make_unique<EditWidget>(32, nullptr));
        box = AddChild(std::make_unique<FancyCheckbox>(nullptr));
    }
    using Menu::ButtonPressed;
    void ButtonPressed(int id) override { pressed.push_back(id); }
    void SliderMoved(int id, double value) override { moved.emplace_back(id, value); }
    std::vector<int> pressed;
    std::vector<std::pair<int, double>> moved;
    Button* button;
    Slider* slider;
    EditWidget* field;
    FancyCheckbox* box;
};

// Slides in like the day's panels: it stops while the application is inactive.
class PanelMenu : public Menu
{
public:
    PanelMenu() : Menu(nullptr, IMAGE_MENU_DIALOG_BOX_1.get(), true, false, true), slide(-700, 16, 30, 6) {}
    void TickFraction(double step) override
    {
        if (!AnimationsPaused())
            slide.Advance(step);
    }
    SlideIn slide;
};

} // namespace

TEST(SlideInTest, EveryMoverPassesItsTargetOnceBouncesAndStopsOnIt)
{
    using Turn = SlideIn::Turn;
    struct Row
    {
        const char* who;
        double start, speed, target, overshoot;
        Turn turn;
        int settlesOnUpdate; // at whole updates
    };
    const Row rows[] = {
        {"dialog menu", 600, -30, 120, 6, Turn::AtTarget, 17},
        {"main menu button", 900, -28, 325, 2, Turn::PastOvershoot, 22},
        // Buttons that reach the landing place, or come within the 2 pixels of it, go on for one more update.
        {"main menu button 314 wide, exactly on its landing place", 800, -28, 268, 2, Turn::PastOvershoot, 21},
        {"main menu button 200 wide, 1 pixel short of the turn", 800, -28, 325, 2, Turn::PastOvershoot, 19},
        {"level start", -700, 16, 30, 6, Turn::AtTarget, 47},
        {"level complete", -500, 14, 0, 6, Turn::AtTarget, 37},
    };
    for (const Row& row : rows)
    {
        for (double step : {1.0, 1.6667})
        {
            SlideIn slide(row.start, row.speed, row.target, row.overshoot, row.turn);
            double furthest = row.start;
            int updates = 0;
            while (!slide.Advance(step) && updates < 1000)
            {
                updates++;
                furthest = row.speed < 0 ? std::min(furthest, slide.position) : std::max(furthest, slide.position);
            }
            EXPECT_EQ(row.target, slide.position) << row.who;
            EXPECT_TRUE(slide.Settled()) << row.who;
            double expectedFurthest = row.target + (row.speed < 0 ? -row.overshoot : row.overshoot);
            EXPECT_EQ(expectedFurthest, furthest) << row.who << " step " << step;
            int travel = int(std::abs(row.target - row.start) / std::abs(row.speed * step));
            EXPECT_NEAR(travel + 1, updates, 1) << row.who << " step " << step;
            if (step == 1.0)
            {
                EXPECT_EQ(row.settlesOnUpdate, updates + 1) << row.who;
            }
        }
    }
}

TEST_F(MenuKitTest, ADialogMenuAnswersNoClicksUntilItHasSettled)
{
    auto* quit = static_cast<ConfirmQuitMenu*>(app->AddMenu(std::make_unique<ConfirmQuitMenu>(nullptr)));
    EXPECT_EQ(600, quit->mY);
    auto* confirm = static_cast<Button*>(quit->children[0].get());
    Updates(5);
    EXPECT_TRUE(confirm->mInactive);
    Click(*confirm);
    EXPECT_FALSE(app->quitAsked);
    Key(KEY_RETURN); // nor keys
    EXPECT_FALSE(app->quitAsked);
    Updates(30);
    ASSERT_TRUE(quit->IsSettled());
    EXPECT_EQ(300 - 360 / 2, quit->mY);
    EXPECT_FALSE(confirm->mInactive);
    EXPECT_EQ(quit->mY + 246, confirm->mY); // children follow the menu
    Click(*confirm);
    EXPECT_TRUE(app->quitAsked);
    EXPECT_FALSE(IsOpen(quit));
}

TEST_F(MenuKitTest, FocusLossFreezesAPanelSlideButNotADialogs)
{
    auto* panel = static_cast<PanelMenu*>(app->AddMenu(std::make_unique<PanelMenu>()));
    auto* notice = static_cast<NoticeMenu*>(app->AddMenu(std::make_unique<NoticeMenu>(nullptr, "t", "x")));
    Updates(3);
    double panelAt = panel->slide.position;
    double noticeAt = notice->slide.position;
    app->OnFocusLost();
    Updates(5);
    EXPECT_EQ(panelAt, panel->slide.position);
    EXPECT_LT(notice->slide.position, noticeAt);
    EXPECT_EQ(1, panel->inactiveCount);
    app->OnFocusGained();
    Updates(1);
    EXPECT_GT(panel->slide.position, panelAt);
    app->OnFocusGained(); // never below 0
    EXPECT_EQ(0, panel->inactiveCount);
}

TEST_F(MenuKitTest, CancellingAConfirmationLeavesTheMenuBelowAsItWas)
{
    auto* below = static_cast<TwoButtonMenu*>(app->AddMenu(std::make_unique<TwoButtonMenu>()));
    Rect firstBounds = below->first->Bounds();
    auto* quit = static_cast<ConfirmQuitMenu*>(app->AddMenu(std::make_unique<ConfirmQuitMenu>(nullptr)));
    // The menu below takes no clicks while the confirmation is up.
    Click(*below->first);
    EXPECT_TRUE(below->pressed.empty());
    Updates(40);
    Click(*quit->children[1]); // cancel
    EXPECT_FALSE(app->quitAsked);
    EXPECT_FALSE(IsOpen(quit));
    EXPECT_TRUE(IsOpen(below));
    EXPECT_EQ(1u, app->OpenMenus().size());
    EXPECT_EQ(firstBounds, below->first->Bounds());
    EXPECT_FALSE(below->first->mInactive);
    EXPECT_TRUE(below->pressed.empty());
    Click(*below->first);
    EXPECT_EQ((std::vector<int>{7}), below->pressed);
}

TEST_F(MenuKitTest, ReturnConfirmsEscapeCancelsAndTabWalksTheControls)
{
    auto* below = static_cast<TwoButtonMenu*>(app->AddMenu(std::make_unique<TwoButtonMenu>()));
    Key(KEY_TAB); // the two buttons, then the check box, in the order added
    EXPECT_TRUE(below->first->mKeySelected);
    Key(KEY_TAB);
    Key(KEY_RETURN);
    EXPECT_EQ((std::vector<int>{8}), below->pressed);
    Key(KEY_TAB);
    EXPECT_FALSE(below->second->mKeySelected);
    Key(KEY_SPACE);
    EXPECT_TRUE(below->box->IsChecked());
    Manager().KeyPressed(KEY_SHIFT);
    Key(KEY_TAB); // back to the second button
    Manager().KeyReleased(KEY_SHIFT);
    EXPECT_TRUE(below->second->mKeySelected);

    auto* quit = static_cast<ConfirmQuitMenu*>(app->AddMenu(std::make_unique<ConfirmQuitMenu>(nullptr)));
    Updates(40);
    Key(KEY_ESCAPE);
    EXPECT_FALSE(IsOpen(quit));
    EXPECT_FALSE(app->quitAsked);
    EXPECT_EQ((std::vector<int>{8}), below->pressed); // the keys went to the top menu only

    quit = static_cast<ConfirmQuitMenu*>(app->AddMenu(std::make_unique<ConfirmQuitMenu>(nullptr)));
    Updates(40);
    Key(KEY_RETURN);
    EXPECT_TRUE(app->quitAsked);

    auto* notice = app->AddMenu(std::make_unique<NoticeMenu>(nullptr, "t", "x"));
    Updates(40);
    Key(KEY_ESCAPE);
    EXPECT_FALSE(IsOpen(notice));
}

// Key by key through every kind of control: which control is chosen, who holds the keyboard focus, and what
// the key did (a button's press, the slider's value, the check box).
TEST_F(MenuKitTest, EachKindOfControlAnswersTabReturnSpaceAndArrowsInItsOwnWay)
{
    auto* menu = static_cast<EveryControlMenu*>(app->AddMenu(std::make_unique<EveryControlMenu>()));
    enum Chosen
    {
        None,
        TheButton,
        TheSlider,
        TheField,
        TheBox
    };
    struct Step
    {
        int key;
        bool shift;
        Chosen chosen;
        bool fieldHasFocus;
        size_t presses;
        double sliderValue;
        bool checked;
    };
    const Step steps[] = {
        {KEY_RIGHT, false, None, false, 0, 0.5, false},      // nothing chosen: arrows do nothing
        {KEY_TAB, false, TheButton, false, 0, 0.5, false},
        {KEY_RIGHT, false, TheButton, false, 0, 0.5, false}, // a button ignores arrows
        {KEY_RETURN, false, TheButton, false, 1, 0.5, false},
        {KEY_SPACE, false, TheButton, false, 2, 0.5, false},
        {KEY_TAB, false, TheSlider, false, 2, 0.5, false},
        {KEY_RIGHT, false, TheSlider, false, 2, 0.55, false},
        {KEY_LEFT, false, TheSlider, false, 2, 0.5, false},
        {KEY_LEFT, false, TheSlider, false, 2, 0.45, false},
        {KEY_RETURN, false, TheSlider, false, 2, 0.45, false}, // a slider is not pressed
        {KEY_TAB, false, TheField, true, 2, 0.45, false},      // the field takes the focus itself
        {KEY_TAB, false, TheBox, false, 2, 0.45, false},       // Tab in the field hands it back and moves on
        {KEY_SPACE, false, TheBox, false, 2, 0.45, true},
        {KEY_RETURN, false, TheBox, false, 2, 0.45, false},
        {KEY_TAB, false, TheButton, false, 2, 0.45, false},    // round again
        {KEY_TAB, true, TheBox, false, 2, 0.45, false},
        {KEY_TAB, true, TheField, true, 2, 0.45, false},
        {KEY_TAB, true, TheSlider, false, 2, 0.45, false},     // Shift+Tab in the field goes back
        {KEY_ESCAPE, false, TheSlider, false, 2, 0.45, false}, // no cancel control: the menu stays
    };
    for (size_t i = 0; i < std::size(steps); i++)
    {
        const Step& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        if (step.shift)
            Manager().KeyPressed(KEY_SHIFT);
        Key(step.key);
        if (step.shift)
            Manager().KeyReleased(KEY_SHIFT);
        Widget* chosen[] = {nullptr, menu->button, menu->slider, menu->field, menu->box};
        EXPECT_EQ(step.chosen == TheButton, menu->button->mKeySelected);
        EXPECT_EQ(step.chosen == TheSlider, menu->slider->mKeySelected);
        EXPECT_EQ(step.chosen == TheBox, menu->box->mKeySelected);
        EXPECT_EQ(step.fieldHasFocus ? chosen[step.chosen] : static_cast<Widget*>(menu), Manager().mFocus);
        EXPECT_EQ(step.presses, menu->pressed.size());
        EXPECT_NEAR(step.sliderValue, menu->slider->mValue, 1e-9);
        EXPECT_EQ(step.checked, menu->box->IsChecked());
    }
    EXPECT_TRUE(IsOpen(menu));
    // Each arrow on the slider told its listener once.
    ASSERT_EQ(3u, menu->moved.size());
    EXPECT_EQ(31, menu->moved[0].first);
    EXPECT_NEAR(0.45, menu->moved[2].second, 1e-9);
}

TEST_F(MenuKitTest, TheOpenSignClosesItselfExactlyTwoHundredUpdatesAfterItWasMade)
{
    auto* sign = static_cast<OpenSignMenu*>(app->AddMenu(std::make_unique<OpenSignMenu>(nullptr)));
    EXPECT_EQ((std::vector<int>{kStartDaySound}), sounds);
    EXPECT_FALSE(sign->ShowsBoard());
    EXPECT_EQ(Rect(0, 0, 800, 600), sign->Bounds());
    Updates(100);
    app->OnFocusLost(); // the count stops while the application is inactive
    Updates(50);
    app->OnFocusGained();
    Updates(99);
    EXPECT_TRUE(IsOpen(sign));
    Updates(1);
    EXPECT_FALSE(IsOpen(sign));
}

TEST_F(MenuKitTest, ButtonsWithSoundsOffPlayNothing)
{
    for (bool soundsOn : {true, false})
    {
        sounds.clear();
        auto* menu = static_cast<TwoButtonMenu*>(app->AddMenu(std::make_unique<TwoButtonMenu>()));
        menu->first->sounds = soundsOn;
        Click(*menu->first);
        Key(KEY_TAB);
        Key(KEY_RETURN); // the keyboard's press sounds like a click
        if (soundsOn)
            EXPECT_EQ((std::vector<int>{kHighlightSound, kButtonSound, kButtonSound}), sounds);
        else
            EXPECT_TRUE(sounds.empty());
        EXPECT_EQ((std::vector<int>{7, 7}), menu->pressed);
        app->RemoveDialog(menu->mDialogId);
        Click(0, 0);
    }
}

TEST_F(MenuKitTest, ConfirmationsCloseTheMenusThatAskedAndDeleteThroughTheirOpener)
{
    auto* options = app->AddMenu(std::make_unique<TwoButtonMenu>());
    auto* stop = app->AddMenu(std::make_unique<ConfirmMainMenu>(nullptr, options->mDialogId));
    Updates(40);
    Key(KEY_RETURN);
    EXPECT_FALSE(IsOpen(stop));
    EXPECT_FALSE(IsOpen(options));

    auto* mainMenu = app->AddMenu(std::make_unique<TwoButtonMenu>());
    auto* loadGame = app->AddMenu(std::make_unique<TwoButtonMenu>());
    app->AddMenu(std::make_unique<ConfirmNewGameMenu>(nullptr, loadGame->mDialogId, mainMenu->mDialogId));
    Updates(40);
    Key(KEY_RETURN);
    EXPECT_TRUE(app->OpenMenus().empty());

    int deleted = 0;
    auto* ask = app->AddMenu(std::make_unique<ConfirmDeleteMenu>(nullptr, "Mia", [&] { deleted++; }));
    Updates(40);
    Key(KEY_ESCAPE);
    EXPECT_EQ(0, deleted);
    EXPECT_FALSE(IsOpen(ask));
    app->AddMenu(std::make_unique<ConfirmDeleteMenu>(nullptr, "Mia", [&] { deleted++; }));
    Updates(40);
    Key(KEY_RETURN);
    EXPECT_EQ(1, deleted);
}

TEST(ConfirmDeleteText, OnlyASingleStringConversionIsFilledIn)
{
    struct Case
    {
        const char* format;
        bool ok;
        const char* text;
    };
    const Case cases[] = {
        {"Delete %s?", true, "Delete Mia?"},
        {"100%% sure about %s?", true, "100% sure about Mia?"},
        {"%s", true, "Mia"},
        {"Delete %s and %s?", false, ""},
        {"Delete %d?", false, ""},
        {"%n%d", false, ""},
        {"%s %n", false, ""},
        {"no name at all", false, ""},
        {"ends in %", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases)
    {
        bool ok = !c.ok;
        EXPECT_EQ(c.text, FillProfileName(c.format, "Mia", &ok)) << c.format;
        EXPECT_EQ(c.ok, ok) << c.format;
    }
    // The name is never read as a format either.
    EXPECT_EQ("Bye %s%n!", FillProfileName("Bye %s!", "%s%n"));
}

TEST_F(MenuKitTest, TheDeleteQuestionShowsADataTextOnlyWhenItIsASingleNameSlot)
{
    FakeHost host;
    ScratchGameFolder folder;
    for (auto [format, shown] :
         {std::pair<const char*, const char*>{"Delete %s? 100%% sure?", "Delete Mia? 100% sure?"},
          {"Delete %n%d", ""},
          {"Delete %s %s", ""}})
    {
        FreeDataTables();
        folder.Write("properties/localization.xml", std::string("<id tag=\"delete_text\" value=\"") + format + "\"/>");
        Localization reader(host);
        ConfirmDeleteMenu menu(nullptr, "Mia", nullptr);
        EXPECT_EQ(shown, menu.text) << format;
    }
}

TEST_F(MenuKitTest, ChildrenKeepTheirOffsetsAndComeAndGoWithTheMenu)
{
    auto menu = std::make_unique<TwoButtonMenu>();
    TwoButtonMenu* raw = menu.get();
    Button* first = raw->first;
    EXPECT_EQ(nullptr, first->mParent);
    app->AddMenu(std::move(menu));
    EXPECT_EQ(&Manager(), first->mParent);
    EXPECT_TRUE(Manager().IsDrawnBefore(raw, first));
    EXPECT_EQ(raw, Manager().mFocus);
    raw->MoveTo(10, 20);
    EXPECT_EQ((Point{400 - 100 + 10, 200 + 20}), (Point{first->mX, first->mY}));
    app->RemoveDialog(raw->mDialogId);
    EXPECT_EQ(nullptr, first->mParent);
    EXPECT_EQ(1u, app->PendingDeferredDeletes());
    app->ProcessDeferredDeletes();
    EXPECT_EQ(0u, app->PendingDeferredDeletes());
}

TEST_F(MenuKitTest, EveryMenuButtonAndCheckboxTakesAFreshId)
{
    auto a = std::make_unique<NoticeMenu>(nullptr, "t", "x");
    auto b = std::make_unique<NoticeMenu>(nullptr, "t", "x");
    Button free(nullptr);
    FancyCheckbox box(nullptr);
    std::vector<int> ids = {a->mDialogId, b->mDialogId, free.mButtonId, box.mCheckboxId};
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.end(), std::adjacent_find(ids.begin(), ids.end()));
    EXPECT_GT(ids.front(), 0);
}

TEST_F(MenuKitTest, AMainMenuButtonLandsOnlyThenAnswersAndKeepsSlidingWhileInactive)
{
    auto* menu = static_cast<TwoButtonMenu*>(app->AddMenu(std::make_unique<TwoButtonMenu>()));
    auto* sliding = menu->AddChild(std::make_unique<MainMenuButton>(menu, 9));
    sliding->SetImages(IMAGE_MENU_BUTTON_NORMAL.get(), IMAGE_MENU_BUTTON_OVER.get(), IMAGE_MENU_BUTTON_DOWN.get());
    sliding->MoveTo(0, 400);
    sliding->StartSlide(900);
    app->OnFocusLost();
    Updates(10);
    EXPECT_EQ(900 - 280, sliding->mX);
    EXPECT_TRUE(sliding->mInactive);
    app->OnFocusGained();
    Click(*sliding);
    EXPECT_TRUE(menu->pressed.empty());
    Updates(30);
    EXPECT_TRUE(sliding->Landed());
    EXPECT_EQ(425 - 100, sliding->mX);
    Click(*sliding);
    EXPECT_EQ((std::vector<int>{9}), menu->pressed);

    // From 800 it comes to 324 after 17 updates, inside the 2 pixels before its landing place: not yet a turn.
    sliding->StartSlide(800);
    Updates(17);
    EXPECT_EQ(324, sliding->mX);
    Updates(1);
    EXPECT_EQ(323, sliding->mX);
    EXPECT_FALSE(sliding->Landed());
    Updates(1);
    EXPECT_TRUE(sliding->Landed());
    EXPECT_EQ(325, sliding->mX);
}

TEST_F(MenuKitTest, TheFancyCheckboxLightsUnderThePointerAndSoundsWhenItChanges)
{
    auto* menu = static_cast<TwoButtonMenu*>(app->AddMenu(std::make_unique<TwoButtonMenu>()));
    FancyCheckbox* box = menu->box;
    EXPECT_EQ(Rect(100, 100, 32, 32), box->Bounds());
    Manager().PointerMoved(110, 110);
    EXPECT_EQ(IMAGE_MENU_CHECKBOX_HOVER.get(), box->mOffImage);
    EXPECT_EQ(IMAGE_MENU_CHECKBOX_CHECKED_HOVER.get(), box->mOnImage);
    Click(110, 110);
    EXPECT_TRUE(box->IsChecked());
    Manager().PointerMoved(300, 500);
    EXPECT_EQ(IMAGE_MENU_CHECKBOX.get(), box->mOffImage);
    EXPECT_EQ((std::vector<int>{kHighlightSound, kButtonSound}), sounds);
}

TEST_F(MenuKitTest, AnInformationScreenGoesBackWithItsButtonOrEscape)
{
    auto* info = app->AddMenu(std::make_unique<InfoMenu>(nullptr, IMAGE_MENU_MAIN.get()));
    EXPECT_EQ(Rect(0, 0, 800, 600), info->Bounds());
    EXPECT_FALSE(info->ShowsBoard());
    Key(KEY_ESCAPE);
    EXPECT_FALSE(IsOpen(info));
    info = app->AddMenu(std::make_unique<InfoMenu>(nullptr, IMAGE_MENU_MAIN.get()));
    Click(*static_cast<InfoMenu*>(info)->backButton);
    EXPECT_FALSE(IsOpen(info));
}
