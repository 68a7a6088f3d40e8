// The stop-playing confirmation.
#include "game/menus/ConfirmMainMenu.h"

#include "game/ui/MenuHost.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"
#include "game/shopday/Board.h"

ConfirmMainMenu::ConfirmMainMenu(Zestra::Board* board, int openerId)
    : ConfirmMenu(GetText("stop_playing_title"), GetText("stop_playing_text"), GetText("stop_playing_confirm"),
                  GetText("stop_playing_cancel"), board),
      openerId(openerId)
{
}

void ConfirmMainMenu::OnConfirm()
{
    if (board != nullptr)
        board->flow->ShowMainMenu();
    if (MenuHost* host = Host(); host != nullptr && openerId >= 0)
        host->CloseMenu(openerId);
}
