// STAND-IN for a screen that has not been built yet (main menu, map, comics, level start, results, player
// screens, options). It says plainly that it is one, shows the screen's name and a few lines about the run, and
// offers one button per way on, so the whole flow from the title screen to a played day and back can be used and
// tested. Each real screen replaces its stand-in where the board's flow operations open it.
#pragma once

#include "framework/widgets/EditListener.h"
#include "game/menus/Menu.h"

#include <functional>

namespace Zestra
{
class EditWidget;
}
#include <string>
#include <utility>
#include <vector>

class StandInMenu : public Menu
{
public:
    // showsBoard: whether the board stays drawn (darkened) behind it, as the real screen would have it. Without an
    // image the stand-in takes a full-screen background, or a dialog box when it shows the board.
    StandInMenu(Zestra::Board* board, const std::string& screenName, bool showsBoard,
                Zestra::Image* image = nullptr);

    // A button for one way on, placed below the ones before. The action decides what closes (usually this menu).
    Button* AddAction(const std::string& label, std::function<void()> action);
    // Runs the action of the button with that label as a click would (tests, and the keyboard's confirm key).
    bool Choose(const std::string& label);
    // The same by position, first button 0; false when there is no such button.
    bool ChooseAction(size_t index);
    size_t ActionCount() const { return mActions.size(); }

    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    std::string screenName;
    std::vector<std::string> lines; // shown under the name

protected:
    // Top of the first action button, menu pixels.
    int FirstButtonTop() const;

private:
    struct Action
    {
        int buttonId;
        std::string label;
        std::function<void()> run;
    };
    std::vector<Action> mActions;
};

// STAND-IN for the name entry of a first run: a text field and OK. OK with a name creates the profile, selects it,
// saves the profiles and runs what follows (the game's start); an empty name does nothing.
class StandInNameEntry : public StandInMenu, public Zestra::EditListener
{
public:
    StandInNameEntry(Zestra::Board* board, std::function<void()> afterName);

    void EditSubmitted(int id, const std::string& text) override;
    // The field takes the keyboard as soon as the menu shows.
    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    // The name typed so far.
    std::string Name() const;
    // Fills the field (tests, and a name given by the player in a later screen).
    void SetName(const std::string& name);

private:
    void Submit();

    Zestra::EditWidget* mField = nullptr; // owned by the menu's children
    std::function<void()> mAfterName;
};
