// The new-game confirmation.
#include "game/menus/ConfirmNewGameMenu.h"

#include "framework/app/ZestraAppBase.h"
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
    Zestra::ZestraAppBase* app = Zestra::AppOf(*this);
    if (app == nullptr)
        return;
    for (int id : {loadGameMenuId, mainMenuId})
    {
        if (id >= 0)
            app->RemoveDialog(id);
    }
}
