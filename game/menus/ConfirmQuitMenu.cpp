// The quit confirmation.
#include "game/menus/ConfirmQuitMenu.h"

#include "game/ui/MenuHost.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"

ConfirmQuitMenu::ConfirmQuitMenu(Zestra::Board* board)
    : ConfirmMenu(GetText("quit_title"), GetText("quit_text"), GetText("quit_confirm"), GetText("quit_cancel"), board)
{
}

void ConfirmQuitMenu::OnConfirm()
{
    if (MenuHost* host = Host())
        host->QuitGame();
}
