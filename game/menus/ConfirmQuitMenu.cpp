// The quit confirmation.
#include "game/menus/ConfirmQuitMenu.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"

ConfirmQuitMenu::ConfirmQuitMenu(Zestra::Board* board)
    : ConfirmMenu(GetText("quit_title"), GetText("quit_text"), GetText("quit_confirm"), GetText("quit_cancel"), board)
{
}

void ConfirmQuitMenu::OnConfirm()
{
    if (Zestra::ZestraAppBase* app = Zestra::AppOf(*this))
        app->Quit();
}
