// The new-game confirmation.
#include "game/menus/ConfirmNewGameMenu.h"

#include "game/ui/MenuHost.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"
#include "game/shopday/Board.h"

ConfirmNewGameMenu::ConfirmNewGameMenu(Zestra::Board* board, int loadGameMenuId, int mainMenuId)
    : ConfirmMenu(GetText("new_game_title"), GetText("new_game_text"), GetText("new_game_confirm"),
                  GetText("new_game_cancel"), board),
      loadGameMenuId(loadGameMenuId), mainMenuId(mainMenuId)
{
}

void ConfirmNewGameMenu::OnConfirm()
{
    if (board != nullptr)
        board->flow->StartNewGame(false);
    MenuHost* host = Host();
    if (host == nullptr)
        return;
    for (int id : {loadGameMenuId, mainMenuId})
    {
        if (id >= 0)
            host->CloseMenu(id);
    }
}
