// One slot of a piece of furniture: the garment on display while in stock, otherwise the empty hanger or the
// out-of-stock card. Clicking it sends the merchant to the furniture. Its pictures are owned sub-components.
#pragma once

#include "game/store/ActiveComponent.h"

#include <memory>

class Furniture;
class Merchant;

class ClothingForSale : public ActiveComponent
{
public:
    // look: 1 folded or 2 hanging; emptyPicture is borrowed; furniture is the owner of this slot.
    ClothingForSale(int centreX, int y, int clothing, int look, Furniture* furniture, Zestra::Image* emptyPicture,
                    bool rack);
    ~ClothingForSale() override;

    void Draw(Zestra::Graphics& g) override;
    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;

    int clothing;
    int look;
    std::unique_ptr<Component> emptyPicture;
    std::unique_ptr<Component> emptyIcon; // racks only
    std::unique_ptr<Component> shadow;    // folded items only
    Furniture* furniture;                 // not owned: the owner
    bool inStock = true;
};

// The order a click on a slot makes: the merchant walks to the furniture and takes the garment when the slot was
// stocked at the click, or puts the garment back when the slot was empty and the merchant carries one.
class GoToFurniture : public MerchantAction
{
public:
    GoToFurniture(Merchant& merchant, ClothingForSale& item);
    bool Perform() override;

    Merchant& merchant;
    ClothingForSale& item;
    bool wasPresent;
    Furniture* furniture; // not owned
};
