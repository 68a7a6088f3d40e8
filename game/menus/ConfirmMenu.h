// A yes-or-no question in a dialog box: a text, a confirm button and a cancel button below it. Either button runs
// its answer and then closes the menu; cancelling does nothing else by default.
#pragma once

#include "game/menus/DialogMenu.h"

#include <string>

class ConfirmMenu : public DialogMenu
{
public:
    // box: the dialog picture, the usual one when null; a question over another dialog takes that dialog's, so it
    // covers it whole.
    ConfirmMenu(const std::string& title, const std::string& text, const std::string& confirmLabel,
                const std::string& cancelLabel, Zestra::Board* board, Zestra::Image* box = nullptr);

    virtual void OnConfirm() = 0;
    virtual void OnCancel() {}

    using DialogMenu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    std::string text;
};
