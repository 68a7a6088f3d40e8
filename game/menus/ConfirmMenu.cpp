// Layout and answers of the confirmation dialog.
#include "game/menus/ConfirmMenu.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/ui/Button.h"

namespace
{
enum ButtonId
{
    kConfirmButton = 1,
    kCancelButton = 2,
};
constexpr int kTextLeft = 40;
constexpr int kTextTop = 95;
constexpr int kConfirmAboveBottom = 114; // from the confirm button's top to the dialog's bottom
constexpr int kButtonGap = 4; // between the confirm button and the cancel button below it
} // namespace

ConfirmMenu::ConfirmMenu(const std::string& title, const std::string& text, const std::string& confirmLabel,
                         const std::string& cancelLabel, Zestra::Board* board, Zestra::Image* box)
    : DialogMenu(board, box != nullptr ? box : IMAGE_MENU_DIALOG_BOX_1.get(), title), text(text)
{
    Zestra::Image* buttonImage = IMAGE_MENU_DIALOG_BUTTON_NORMAL.get();
    int buttonHeight = buttonImage != nullptr ? buttonImage->GetHeight() : 0;
    const int confirmTop = mHeight - kConfirmAboveBottom;
    confirmControl = AddDialogButton(confirmLabel, mWidth / 2, confirmTop, kConfirmButton);
    cancelControl = AddDialogButton(cancelLabel, mWidth / 2, confirmTop + buttonHeight + kButtonGap, kCancelButton);
}

void ConfirmMenu::ButtonPressed(int id)
{
    if (id == kConfirmButton)
        OnConfirm();
    else if (id == kCancelButton)
        OnCancel();
    else
        return;
    Close();
}

void ConfirmMenu::Paint(Zestra::Graphics& g)
{
    DialogMenu::Paint(g);
    DrawBodyText(g, Zestra::Rect(kTextLeft, kTextTop, mWidth - 2 * kTextLeft, mHeight - kTextTop), text);
}
