// The name entry of a first run, over the title screen: a text field that takes names by the name rule and an OK
// button. OK (or Return) with a name creates the profile, selects it and saves, closes the menu and hands over to
// whatever starts the game; with the field empty it does nothing. The field starts with the data's default name,
// selected, so typing replaces it and a plain OK still makes a player.
#pragma once

#include "framework/widgets/EditListener.h"
#include "game/ui/Menu.h"

#include <functional>
#include <string>

namespace Zestra
{
class EditWidget;
}

class EnterNameMenu : public Menu, public Zestra::EditListener
{
public:
    enum ButtonId
    {
        kOk = 1,
        kNameField,
    };

    // startGame: what follows the name (the title screen starts the game); run after the menu has closed.
    explicit EnterNameMenu(std::function<void()> startGame);

    // The name in the field.
    const std::string& Name() const;
    // OK: with a name, creates the profile and moves on; false (nothing done) while the field is empty.
    bool Submit();

    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    void EditSubmitted(int id, const std::string& text) override;
    bool AcceptChar(int id, char ch) override;
    bool AcceptContent(int id, const std::string& text) override;

    Zestra::EditWidget* nameField = nullptr; // owned by the children
    Button* okButton = nullptr;

private:
    std::function<void()> mStartGame;
};

// Whether every character of the text could have been typed by the name rule, one after the other.
bool IsTypeableName(const std::string& text);
