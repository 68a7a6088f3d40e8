// The main menu: the greeting with the player's name, six picture buttons that slide in from the right one after
// another (play, high scores, options, how to play, credits, quit), the link to change player and the trophies
// button below the clothes rail.
#pragma once

#include "game/ui/Menu.h"

#include <array>
#include <string>

namespace Zestra
{
class HyperlinkWidget;
}
class MainMenuButton;

class MainMenu : public Menu
{
public:
    enum ButtonId
    {
        kPlay = 1,
        kHighScores,
        kOptions,
        kHowToPlay,
        kCredits,
        kQuit,
        kNotYou,
        kTrophies,
    };

    explicit MainMenu(Zestra::Board* board);

    // Every button has landed.
    bool IsSettled() const override;

    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    std::array<MainMenuButton*, 6> buttons{}; // in the order of ButtonId, owned by the children
    Zestra::HyperlinkWidget* notYouLink = nullptr;
    Button* trophiesButton = nullptr;
    std::string greeting;
    std::string playerName;
};
