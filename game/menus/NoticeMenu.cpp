// Layout of the notice.
#include "game/menus/NoticeMenu.h"

#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"

namespace
{
enum ButtonId
{
    kOkButton = 1,
};
constexpr int kTextLeft = 40;
constexpr int kTextTop = 95;
constexpr int kButtonTop = 276;
} // namespace

NoticeMenu::NoticeMenu(Zestra::Board* board, const std::string& titleKey, const std::string& textKey)
    : DialogMenu(board, IMAGE_MENU_DIALOG_BOX_2.get(), GetText(titleKey)), text(GetText(textKey))
{
    confirmControl = AddDialogButton(GetText("notice_button"), mWidth / 2, kButtonTop, kOkButton);
    cancelControl = confirmControl;
}

void NoticeMenu::ButtonPressed(int id)
{
    if (id == kOkButton)
        Close();
}

void NoticeMenu::Paint(Zestra::Graphics& g)
{
    DialogMenu::Paint(g);
    DrawBodyText(g, Zestra::Rect(kTextLeft, kTextTop, mWidth - 2 * kTextLeft, mHeight - kTextTop), text);
}
