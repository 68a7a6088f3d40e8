// A rack or table on a floor spot: the picture of its furniture type, one ClothingForSale per clothing spot of
// that type, the tag with the clothing's icon and, in the upgrade-shop view, the price sign. It owns all of them.
#pragma once

#include "game/people/ClothingShelf.h"
#include "game/scene/Component.h"

#include <memory>
#include <vector>

class ClothingForSale;
struct FurnitureInfo;
struct FurnitureUpgrade;

class Furniture : public Component, public ClothingShelf
{
public:
    // Centred on centreX (whole picture width) with its top at topY, built from one upgrade step.
    Furniture(int centreX, int topY, const FurnitureUpgrade& step, bool shopView);
    ~Furniture() override;

    void Draw(Zestra::Graphics& g) override;
    bool TakeItem(int start) override;
    int HeldClothing() const override { return clothing; }
    Zestra::Point CustomerSpot() const override;

    int clothing; // catalogue id
    std::vector<std::unique_ptr<ClothingForSale>> items; // in clothing-spot order
    std::unique_ptr<Component> tag;
    std::unique_ptr<Component> tagIcon;
    std::unique_ptr<Component> priceSign; // upgrade-shop view only
    bool isTable;
    const FurnitureInfo* type; // not owned: the store table's furniture type
    int price;
};
