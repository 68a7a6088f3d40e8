// The stop-playing confirmation, opened over the options: in their picture, so it hides them whole.
#include "game/menus/ConfirmMainMenu.h"

#include "game/ui/MenuHost.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

ConfirmMainMenu::ConfirmMainMenu(Zestra::Board* board, int openerId)
    : ConfirmMenu(GetText("stop_playing_title"), GetText("stop_playing_text"), GetText("stop_playing_confirm"),
                  GetText("stop_playing_cancel"), board, IMAGE_MENU_DIALOG_BOX_3.get()),
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
