// The tutorial confirmation.
#include "game/menus/ConfirmTutorialMenu.h"

#include "game/data/Localization.h"
#include "game/shopday/Board.h"

ConfirmTutorialMenu::ConfirmTutorialMenu(Zestra::Board* board)
    : ConfirmMenu(GetText("tutorial_title"), GetText("tutorial_text"), GetText("tutorial_confirm"),
                  GetText("tutorial_cancel"), board)
{
}

void ConfirmTutorialMenu::OnConfirm()
{
    if (board != nullptr)
        board->flow->StartTutorial();
}

void ConfirmTutorialMenu::OnCancel()
{
    if (board != nullptr)
        board->flow->ShowLevelStart(true);
}
