// Animation of the open sign.
#include "game/menus/OpenSignMenu.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/audio/GameSound.h"

namespace
{
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kSignCentreX = 400;
constexpr int kSignCentreY = 300;
constexpr int kTurnCounts = OpenSignMenu::kTurnedCount; // updates the sign takes to turn over (cel 0 to the last)
constexpr int kFadeStart = 100; // from here the last cel fades out until the menu closes
} // namespace

OpenSignMenu::OpenSignMenu(Zestra::Board* board) : Menu(board, IMAGE_OPEN_SIGN.get(), true, false, false)
{
    Menu::SetBounds(0, 0, kScreenWidth, kScreenHeight);
    PlayGameSound(SOUND_START_DAY);
}

bool OpenSignMenu::ShowsBoard() const
{
    // The shop behind the sign stays bright, although it is stopped.
    return false;
}

void OpenSignMenu::Tick()
{
    Menu::Tick();
    if (AnimationsPaused() || counter >= kCloseCount || (holdTurned && counter >= kTurnCounts))
        return;
    counter++;
    Invalidate();
    if (counter >= kCloseCount)
        Close();
}

void OpenSignMenu::Paint(Zestra::Graphics& g)
{
    Zestra::Image* sign = IMAGE_OPEN_SIGN.get();
    if (sign == nullptr)
        return;
    int cels = sign->GetCelCount();
    int cel = 0;
    if (counter >= kTurnCounts)
        cel = cels - 1;
    else if (counter >= 0)
        cel = counter * cels / kTurnCounts;
    int x = kSignCentreX - sign->GetCelWidth() / 2;
    int y = kSignCentreY - sign->GetCelHeight() / 2;
    if (counter <= kFadeStart)
    {
        g.BlitCell(sign, x, y, cel);
        return;
    }
    Zestra::Graphics faded(g);
    faded.SetTintImages(true);
    faded.SetInk(Zestra::Color(255, 255, 255, (kCloseCount - counter) * 255 / (kCloseCount - kFadeStart)));
    faded.BlitCell(sign, x, y, cel);
}

void OpenSignMenu::OnMouseDown(int x, int y, int button, int clickCount)
{
    Menu::OnMouseDown(x, y, button, clickCount);
    holdTurned = false;
}
