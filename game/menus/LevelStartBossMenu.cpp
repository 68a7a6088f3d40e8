#include "game/menus/LevelStartBossMenu.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

namespace
{
enum ButtonId
{
    kOkButton = 1,
};

constexpr int kOkX = 554, kOkY = 430;
constexpr Zestra::Rect kBody{399, 220, 280, 340};
constexpr int kCentreX = 400, kCentreY = 300; // the zoom grows around the screen's centre
} // namespace

LevelStartBossMenu::LevelStartBossMenu(Zestra::Board* board, Zestra::Image* startScreen, int storeNumber,
                                       int levelIndex)
    : Menu(board, startScreen, true, false, false)
{
    okButton = AddButton(GetText("level_boss_start_ok"), kOkX, kOkY, IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL.get(),
                         IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN.get(), IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER.get(), kOkButton);
    confirmControl = okButton;

    panel = std::make_unique<Zestra::MemoryImage>(std::max(mWidth, 1), std::max(mHeight, 1));
    Zestra::Graphics g(panel.get());
    if (startScreen != nullptr)
        g.Blit(startScreen, 0, 0);
    if (FONT_SMALL != nullptr)
    {
        g.SetTypeface(FONT_SMALL);
        g.SetInk(Zestra::Color(0, 0, 0));
        g.PrintWrapped(kBody, GetLevelText(storeNumber, levelIndex).GetText("bossbegin"));
    }
    // The button is part of the zooming picture; the live one appears once the zoom is over.
    Zestra::Graphics buttonArea(g);
    buttonArea.Offset(float(okButton->mX - mX), float(okButton->mY - mY));
    okButton->Paint(buttonArea);
    okButton->SetShown(false);
    panel->MarkPixelsChanged();
}

LevelStartBossMenu::~LevelStartBossMenu() = default;

void LevelStartBossMenu::Tick()
{
    Menu::Tick();
    if (zoom >= kZoomUpdates || AnimationsPaused())
        return;
    zoom += 1;
    if (zoom == kZoomUpdates)
        okButton->SetShown(true);
    Invalidate();
}

void LevelStartBossMenu::Paint(Zestra::Graphics& g)
{
    if (!panel || zoom <= 0)
        return;
    if (zoom >= kZoomUpdates)
    {
        g.Blit(panel.get(), 0, 0);
        return;
    }
    int w = panel->GetWidth() * zoom / kZoomUpdates;
    int h = panel->GetHeight() * zoom / kZoomUpdates;
    if (w > 0 && h > 0)
        g.BlitScaled(panel.get(), kCentreX - w / 2 - mX, kCentreY - h / 2 - mY, w, h);
}

void LevelStartBossMenu::ButtonPressed(int id)
{
    if (id != kOkButton)
        return;
    if (board != nullptr)
        board->flow->ShowLevelStart(false);
    Close();
}
