// The clipboard panel of one upgrade: its name, price and description, a picture of what it brings, and buy and
// cancel. Buy pays from the run's cash and applies the purchase to the run; either button closes the panel and
// goes back to the shop, which buying rebuilds with the next offers (or leaves for the day when nothing is left).
// The buy button is there only when the run can pay and the offer still stands.
#pragma once

#include "framework/graphics/Rect.h"
#include "game/ui/Menu.h"
#include "game/shoprules/ShopOffers.h"

#include <string>

class Component;

class UpgradeMenu : public Menu
{
public:
    // preview: drawn on the panel, not owned (the shop item owns it and outlives the panel's use of it).
    UpgradeMenu(Zestra::Board& board, int price, const std::string& itemName, Component* preview);

    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;
    // What the purchase changes in the run; the offer the panel was opened for, by default.
    virtual void ApplyPurchase();

    int price;
    std::string title;
    std::string description;
    Component* preview;          // not owned
    Zestra::Point previewOffset; // added to the preview's own position to draw it on the panel
    Button* buyButton = nullptr;
    Button* cancelButton = nullptr;
    // The run's offer this panel sells; offered is false when the run no longer has it.
    ShopOffer offer;
    bool offered = false;

protected:
    // Finds the run's current offer of that kind (and floor spot) and hides the buy button when the run cannot
    // have it now. Each kind calls it once it is built.
    void TakeOffer(ShopKind kind, int spot = -1);
    void HideBuyButton();

private:
    void Buy();
    void Cancel();
};
