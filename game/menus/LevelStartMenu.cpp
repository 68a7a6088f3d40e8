#include "game/menus/LevelStartMenu.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/menus/CharacterMenu.h"
#include "game/menus/LevelPanels.h"
#include "game/ui/MenuHost.h"
#include "game/minigame/Minigame.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

namespace
{
enum ButtonId
{
    kOkButton = 1,
    kQuitButton,
    kHandbookButton,
};

constexpr double kSlideStart = -700;
constexpr double kSlideSpeed = 16;
constexpr double kSlideTarget = 30;
constexpr double kSlideOvershoot = 6; // right of the target
constexpr int kOkX = 405, kQuitX = 535, kButtonY = 433;
constexpr int kHandbookX = 548, kHandbookY = 148; // centre
constexpr int kTitleX = 440, kTitleY = 190;
constexpr Zestra::Rect kBody{320, 237, 270, 260};
} // namespace

LevelStartMenu::LevelStartMenu(Zestra::Board* board, int storeNumber, int levelIndex, Minigame* minigame,
                               double practiceMoney)
    : Menu(board, IMAGE_MENU_LEVEL_BEGIN.get(), true, false, false), storeNumber(storeNumber), levelIndex(levelIndex),
      minigame(minigame), slide(kSlideStart, kSlideSpeed, kSlideTarget, kSlideOvershoot)
{
    okButton = AddLevelButton(GetText("level_start_ok"), kOkX, kButtonY, kOkButton);
    quitButton = AddLevelButton(GetText("level_status_quit"), kQuitX, kButtonY, kQuitButton);
    if (minigame == nullptr)
    {
        Zestra::Image* normal = IMAGE_MENU_CUSTOMER_HANDBOOK_NORMAL.get();
        int height = normal != nullptr ? normal->GetHeight() : 0;
        handbookButton =
            AddButton("", kHandbookX, kHandbookY - height / 2, normal, IMAGE_MENU_CUSTOMER_HANDBOOK_DOWN.get(),
                      IMAGE_MENU_CUSTOMER_HANDBOOK_OVER.get(), kHandbookButton);
    }
    confirmControl = okButton;
    SetChildrenInactive(true);

    const LevelText& text = GetLevelText(storeNumber, levelIndex);
    const StoreInfo* store = GetStoreInfo(storeNumber);
    const LevelInfo* level = store != nullptr ? store->GetLevel(levelIndex) : nullptr;
    bool bonus = minigame != nullptr;

    // Drawn once: the panel only moves afterwards.
    Zestra::Image* background = IMAGE_MENU_LEVEL_BEGIN.get();
    panel = std::make_unique<Zestra::MemoryImage>(mWidth, mHeight);
    Zestra::Graphics g(panel.get());
    if (background != nullptr)
        g.Blit(background, 0, 0);
    if (FONT_MEDIUM_DARK != nullptr)
    {
        g.SetTypeface(FONT_MEDIUM_DARK);
        g.SetInk(Zestra::Color(255, 255, 255));
        g.PrintColored(LevelStartTitle(text, bonus), kTitleX, kTitleY, 0, 0);
    }
    if (FONT_SMALL != nullptr)
    {
        g.SetTypeface(FONT_SMALL);
        g.SetInk(Zestra::Color(0, 0, 0));
        g.PrintWrapped(kBody, LevelStartBody(text, level, bonus, practiceMoney));
    }
    panel->MarkPixelsChanged();
    MoveTo(int(slide.position), 0);
}

LevelStartMenu::~LevelStartMenu() = default;

void LevelStartMenu::AdvanceSlide(double step)
{
    // The panel waits where it is while the player is away.
    if (AnimationsPaused() || slide.Settled())
        return;
    bool settled = slide.Advance(step);
    MoveTo(int(slide.position), mY);
    if (settled)
        SetChildrenInactive(false);
}

void LevelStartMenu::Tick()
{
    Menu::Tick();
    if (!FractionalUpdates())
        AdvanceSlide(1.0);
}

void LevelStartMenu::TickFraction(double step)
{
    Menu::TickFraction(step);
    if (FractionalUpdates())
        AdvanceSlide(step);
}

void LevelStartMenu::Paint(Zestra::Graphics& g)
{
    if (panel)
        g.Blit(panel.get(), 0, 0);
}

void LevelStartMenu::ButtonPressed(int id)
{
    switch (id)
    {
    case kOkButton:
        if (minigame != nullptr)
            minigame->StartStage();
        else if (board != nullptr)
            board->flow->AfterLevelStart(true);
        Close();
        break;
    case kQuitButton:
        // The memory game waiting under the panel goes with it.
        if (minigame != nullptr)
        {
            if (MenuHost* host = Host())
                host->CloseMenu(minigame->mDialogId);
            if (board != nullptr)
                board->ForgetMinigame(minigame);
        }
        if (board != nullptr)
            board->flow->ShowMainMenu();
        Close();
        break;
    case kHandbookButton:
        // The handbook opens over the panel, which stays.
        if (MenuHost* host = Host())
            host->AddMenu(std::make_unique<CharacterMenu>(board, storeNumber, levelIndex));
        break;
    default:
        break;
    }
}
