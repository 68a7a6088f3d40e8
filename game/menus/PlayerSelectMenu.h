// The player-select screen: eight name slots, each with an OK button that shows while a free slot takes a typed
// name. Choosing a named slot selects that player; cancel, delete and play show only while a player is selected.
// Every change to the players is saved at once.
#pragma once

#include "game/ui/Menu.h"
#include "game/profile/Profile.h"

#include <array>

class ProfileNameWidget;

class PlayerSelectMenu : public Menu
{
public:
    enum ButtonId
    {
        kCancel = 1,
        kDelete,
        kPlay,
        kFirstSlot = 10,                           // slot i is kFirstSlot + i
        kFirstSlotOk = kFirstSlot + kProfileSlots, // its OK button
    };

    explicit PlayerSelectMenu(Zestra::Board* board);

    // The chosen slot's name becomes its profile's and that player is selected (buttons shown); a chosen free slot
    // is reset and nobody is selected (buttons hidden).
    void ApplySelection();
    // Typing in the chosen slot is over: its OK hides, the menu takes the keyboard, the choice is applied, and a
    // slot still free is let go.
    void FinishEditing();
    // A click on slot i.
    void ChooseSlot(int slot);
    // The delete confirmation's answer: the chosen slot's player is gone and nobody is selected.
    void DeleteSelected();

    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    int selectedSlot = -1;
    std::array<ProfileNameWidget*, kProfileSlots> slots{}; // owned by the children
    std::array<Button*, kProfileSlots> okButtons{};
    Button* cancelButton = nullptr;
    Button* deleteButton = nullptr;
    Button* playButton = nullptr;
};
