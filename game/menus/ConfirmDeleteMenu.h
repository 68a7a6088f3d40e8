// Asks before a player's profile is deleted. The question names the player; its text comes from the data with
// one "%s" for the name, filled in by hand (never as a printf format).
#pragma once

#include "game/menus/ConfirmMenu.h"

#include <functional>
#include <string>

class ConfirmDeleteMenu : public ConfirmMenu
{
public:
    // deleteProfile: what the player-select menu does on confirmation (delete its selected profile).
    ConfirmDeleteMenu(Zestra::Board* board, const std::string& profileName, std::function<void()> deleteProfile);

    void OnConfirm() override;

    std::function<void()> deleteProfile;
};

// Fills the name into a text with exactly one "%s" and any number of "%%" (a percent sign). Any other use of "%"
// makes the text unusable: the result is empty and ok (when given) false.
std::string FillProfileName(const std::string& format, const std::string& name, bool* ok = nullptr);
