// A notice in a dialog box: a title, a text and one button that closes it (Return and Escape close it too).
#pragma once

#include "game/menus/DialogMenu.h"

#include <string>

class NoticeMenu : public DialogMenu
{
public:
    // The title and the text are looked up by their keys.
    NoticeMenu(Zestra::Board* board, const std::string& titleKey, const std::string& textKey);

    using DialogMenu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    std::string text;
};
