// The panel of a floor spot's next step. Its description shows the new clothing's price; a step that changes only
// the furniture is refused, with a notice, while any floor spot is still empty.
#pragma once

#include "game/shop/UpgradeMenu.h"

class UpgradeFurnitureMenu : public UpgradeMenu
{
public:
    UpgradeFurnitureMenu(Zestra::Board& board, int price, Component* preview, int spot);

    void Paint(Zestra::Graphics& g) override;

    int spot;
    std::string notice; // empty unless the purchase is refused
};
