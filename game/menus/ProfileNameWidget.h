// One player slot of the player-select screen: a picture button that shows the slot's name (or a prompt when the
// slot is free) and, while it is chosen and has the keyboard, takes a name typed by the name rule.
#pragma once

#include "game/ui/Button.h"

#include <string>

class PlayerSelectMenu;

class ProfileNameWidget : public Button
{
public:
    // centreX, top: menu pixels. The owner hears of clicks (as a button) and of Return.
    ProfileNameWidget(int centreX, int top, int slot, PlayerSelectMenu* owner, int id);

    // Shows the chosen look, and the typing prompt when the slot is free.
    void Select();
    // Back to the plain look and, when free, the "no player" prompt.
    void Deselect();
    // Drops the name: the slot is free again (the profile itself is reset by the owner).
    void MarkEmpty();
    // The name typed or read from the profile; empty for a free slot.
    const std::string& Text() const { return mText; }
    bool IsEmpty() const { return mText.empty(); }
    bool IsSelected() const { return mSelected; }

    bool AcceptsFocus() const override { return true; }
    void OnChar(char ch) override;
    void OnKeyDown(int key) override;

    int slot = 0;
    PlayerSelectMenu* owner = nullptr; // the menu that holds this widget among its children

private:
    void ShowLabel();

    std::string mText;
    bool mSelected = false;
};
