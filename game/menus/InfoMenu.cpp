// The information menu base.
#include "game/menus/InfoMenu.h"

#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/shopday/Board.h"

namespace
{
constexpr int kBackCentreX = 400;
constexpr int kBackTop = 500;
} // namespace

InfoMenu::InfoMenu(Zestra::Board* board, Zestra::Image* image) : Menu(board, image, false, false, true)
{
    backButton = AddMenuButton(GetText("back_to_menu"), kBackCentreX, kBackTop, kBackButton);
    confirmControl = backButton;
    cancelControl = backButton;
}

void InfoMenu::OnBack()
{
    Close();
    if (board != nullptr)
        board->flow->ShowMainMenu();
}

void InfoMenu::ButtonPressed(int id)
{
    if (id == kBackButton)
        OnBack();
}

void InfoMenu::Paint(Zestra::Graphics& g)
{
    Menu::Paint(g);
    DrawContent(g);
}
