// The stop-playing confirmation.
#include "game/menus/ConfirmMainMenu.h"

#include "framework/app/ZestraAppBase.h"
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
    if (Zestra::ZestraAppBase* app = Zestra::AppOf(*this); app != nullptr && openerId >= 0)
        app->RemoveDialog(openerId);
}
