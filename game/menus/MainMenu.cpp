// Layout and buttons of the main menu.
#include "game/menus/MainMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "game/data/Localization.h"
#include "game/menus/AchievementsMenu.h"
#include "game/menus/ConfirmQuitMenu.h"
#include "game/menus/MainMenuButton.h"
#include "game/menus/TextInBox.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/ui/MenuHost.h"

#include <memory>

using namespace Zestra;

namespace
{
struct ButtonPlace
{
    MainMenu::ButtonId id;
    const char* labelKey;
    ResImage* up;
    ResImage* down;
    ResImage* over;
    int startX; // off screen to the right; the further out, the later it lands
    int y;
};

const ButtonPlace kButtons[] = {
    {MainMenu::kPlay, "main_menu_play", &IMAGE_MENU_PLAY_GAME_UP, &IMAGE_MENU_PLAY_GAME_DOWN,
     &IMAGE_MENU_PLAY_GAME_OVER, 800, 210},
    {MainMenu::kHighScores, "main_menu_high_scores", &IMAGE_MENU_HIGH_SCORE_UP, &IMAGE_MENU_HIGH_SCORE_DOWN,
     &IMAGE_MENU_HIGH_SCORE_OVER, 1100, 265},
    {MainMenu::kOptions, "main_menu_options", &IMAGE_MENU_OPTIONS_UP, &IMAGE_MENU_OPTIONS_DOWN,
     &IMAGE_MENU_OPTIONS_OVER, 1400, 320},
    {MainMenu::kHowToPlay, "main_menu_how_to_play", &IMAGE_MENU_HOW_TO_UP, &IMAGE_MENU_HOW_TO_DOWN,
     &IMAGE_MENU_HOW_TO_OVER, 1700, 375},
    {MainMenu::kCredits, "main_menu_credits", &IMAGE_MENU_CREDITS_UP, &IMAGE_MENU_CREDITS_DOWN,
     &IMAGE_MENU_CREDITS_OVER, 2000, 430},
    {MainMenu::kQuit, "main_menu_quit", &IMAGE_MENU_QUIT_UP, &IMAGE_MENU_QUIT_DOWN, &IMAGE_MENU_QUIT_OVER, 2300, 485},
};

constexpr int kGreetingCentreX = 135;
// Under the clothes rail on the left, clear of the sliding column.
constexpr int kTrophiesCentreX = 155;
constexpr int kTrophiesTop = 472;
constexpr int kGreetingBaseline = 65;
constexpr int kNameBaseline = 100;
constexpr int kLinkTop = 105;
// The name sits in the sign at the top left; a name wider than this falls back to a smaller font.
constexpr int kNameMaxWidth = 220;
const Color kLinkColour{255, 128, 128};
const Color kLinkHoverColour{255, 0, 0};

void DrawCentred(Graphics& g, Font* font, const std::string& text, int centreX, int baseline)
{
    if (font == nullptr || text.empty())
        return;
    g.SetTypeface(font);
    g.SetInk(Color::White);
    g.PrintText(text, centreX - font->TextWidth(text) / 2, baseline);
}
} // namespace

MainMenu::MainMenu(Board* board) : Menu(board, IMAGE_MENU_MAIN.get(), false, false, true)
{
    for (size_t i = 0; i < std::size(kButtons); i++)
    {
        const ButtonPlace& place = kButtons[i];
        auto button = std::make_unique<MainMenuButton>(this, place.id);
        button->SetImages(place.up->get(), place.over->get(), place.down->get());
        button->mHandCursor = true;
        button->mY = place.y;
        button->label = GetText(place.labelKey);
        button->StartSlide(place.startX);
        buttons[i] = AddChild(std::move(button));
    }
    // The labels share the largest font every one of them fits in.
    Font* labelFont = nullptr;
    for (Font* font : {FONT_LARGE_LIGHT, FONT_MEDIUM_LIGHT, FONT_SMALL})
    {
        if (font == nullptr)
            continue;
        labelFont = font;
        bool allFit = true;
        for (const MainMenuButton* button : buttons)
            allFit = allFit && FitTextInBox(button->label, button->LabelBox(), {font}).fits;
        if (allFit)
            break;
    }
    for (MainMenuButton* button : buttons)
        button->labelFont = labelFont;

    auto link = std::make_unique<HyperlinkWidget>(kNotYou, this);
    link->mCaption = GetText("not_you");
    link->SetCaptionFont(FONT_SMALL);
    link->mLinkColor = kLinkColour;
    link->mLinkHoverColor = kLinkHoverColour;
    link->mUnderlineThickness = 0;
    link->mHandCursor = true;
    int width = FONT_SMALL != nullptr ? FONT_SMALL->TextWidth(link->mCaption) : 0;
    int height = FONT_SMALL != nullptr ? FONT_SMALL->Height() + 4 : 0;
    link->SetBounds(kGreetingCentreX - width / 2, kLinkTop, width, height);
    notYouLink = AddChild(std::move(link));
    trophiesButton = AddMenuButton(GetText("main_menu_trophies"), kTrophiesCentreX, kTrophiesTop, kTrophies);

    // "Welcome back" only for a player who has been here before: one who has begun a day or has a run saved.
    const Profile* profile = GetProfile(GetSelectedProfile());
    bool returning = profile != nullptr && profile->savedGame.has_value();
    if (profile != nullptr)
    {
        for (const auto& [store, levels] : profile->levelStates)
            returning = returning || !levels.empty();
    }
    greeting = GetText(returning ? "welcome" : "welcome_new");
    if (profile != nullptr)
        playerName = profile->name;

    confirmControl = buttons[0];
    cancelControl = buttons[5];
}

bool MainMenu::IsSettled() const
{
    for (const MainMenuButton* button : buttons)
    {
        if (!button->Landed())
            return false;
    }
    return true;
}

void MainMenu::ButtonPressed(int id)
{
    MenuHost* host = Host();
    switch (id)
    {
    case kPlay:
        if (board != nullptr)
            board->flow->Play(this);
        break;
    case kHighScores:
        Close();
        if (board != nullptr)
            board->flow->ShowHighScores();
        break;
    case kHowToPlay:
        Close();
        if (board != nullptr)
            board->flow->ShowHowToPlay();
        break;
    case kCredits:
        Close();
        if (board != nullptr)
            board->flow->ShowCredits();
        break;
    case kOptions:
        if (board != nullptr)
            board->flow->ShowOptions(false);
        break;
    case kQuit:
        if (host != nullptr)
            host->AddMenu(std::make_unique<ConfirmQuitMenu>(board));
        break;
    case kTrophies:
        Close();
        if (host != nullptr)
            host->AddMenu(std::make_unique<AchievementsMenu>(board));
        break;
    case kNotYou:
        Close();
        if (board != nullptr)
            board->flow->ShowPlayerSelect();
        break;
    default:
        break;
    }
}

void MainMenu::Paint(Graphics& g)
{
    Menu::Paint(g);
    DrawCentred(g, FONT_MEDIUM_DARK, greeting, kGreetingCentreX, kGreetingBaseline);
    // The largest font the name fits the sign in; the small one takes any typed name.
    Font* nameFont = nullptr;
    for (Font* font : {FONT_LARGE_DARK, FONT_MEDIUM_DARK, FONT_SMALL})
    {
        if (font == nullptr)
            continue;
        nameFont = font;
        if (font->TextWidth(playerName) <= kNameMaxWidth)
            break;
    }
    DrawCentred(g, nameFont, playerName, kGreetingCentreX, kNameBaseline);
}
