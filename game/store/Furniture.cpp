#include "game/store/Furniture.h"

#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/res/Res.h"
#include "game/store/ClothingForSale.h"

#include <cstdlib>

namespace
{
int Width(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetWidth();
}

int Height(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetHeight();
}

const FurnitureInfo& TypeOf(const FurnitureUpgrade& step)
{
    static const FurnitureInfo kNoType;
    return step.furniture != nullptr ? *step.furniture : kNoType;
}
} // namespace

Furniture::Furniture(int centreX, int topY, const FurnitureUpgrade& step, bool shopView)
    : Component(centreX - Width(TypeOf(step).image) / 2, topY, TypeOf(step).image), clothing(step.clothing),
      isTable(TypeOf(step).type != "rack"), type(step.furniture), price(GetClothing(step.clothing).price)
{
    const FurnitureInfo& info = TypeOf(step);
    bool rack = !isTable;
    Zestra::Image* empty = rack ? IMAGE_EMPTY_HANGER.get() : IMAGE_OUT_OF_STOCK.get();
    for (const ClothingSpot& spot : info.clothingSpots)
        items.push_back(std::make_unique<ClothingForSale>(x + spot.x, y + spot.y, clothing, info.clothingKind, this,
                                                          empty, rack));
    int celWidth = image != nullptr ? image->GetCelWidth() : 0;
    if (info.tagY != 0)
    {
        Zestra::Image* tagImage = IMAGE_TABLE_TAG.get();
        int tagTop = y + info.tagY;
        tag = std::make_unique<Component>(x + celWidth / 2 - Width(tagImage) / 2, tagTop, tagImage);
        Zestra::Image* icon = GetClothing(clothing).icon;
        tagIcon = std::make_unique<Component>(x + celWidth / 2 - (Width(icon) + 1) / 2,
                                              tagTop - Height(icon) / 2 + 17, icon);
    }
    if (shopView)
    {
        Zestra::Image* sign = rack ? IMAGE_RACK_PRICE_SIGN.get() : IMAGE_TABLE_PRICE_SIGN.get();
        priceSign = std::make_unique<Component>(x + celWidth / 2 - Width(sign) / 2, y + info.priceY, sign);
    }
}

Furniture::~Furniture() = default;

void Furniture::Draw(Zestra::Graphics& g)
{
    const std::vector<ClothingSpot>* spots = type != nullptr ? &type->clothingSpots : nullptr;
    auto drawnBefore = [&](size_t i) { return spots != nullptr && i < spots->size() && (*spots)[i].drawnBefore; };
    for (size_t i = 0; i < items.size(); ++i)
        if (drawnBefore(i))
            items[i]->Draw(g);
    if (!isTable)
        Component::Draw(g);
    if (priceSign)
    {
        priceSign->Draw(g);
        if (FONT_SMALL != nullptr && priceSign->image != nullptr)
        {
            Zestra::Graphics text(g);
            text.SetTypeface(FONT_SMALL);
            text.SetInk(Zestra::Color(0, 0, 0));
            int centre = priceSign->x + priceSign->image->GetWidth() / 2;
            std::string label = FormatMoney(price);
            text.PrintText(label, centre - FONT_SMALL->TextWidth(label) / 2, priceSign->y + 25);
        }
    }
    if (isTable)
        Component::Draw(g);
    for (size_t i = 0; i < items.size(); ++i)
        if (!drawnBefore(i))
            items[i]->Draw(g);
    if (tag)
        tag->Draw(g);
    if (tagIcon)
        tagIcon->Draw(g);
}

Zestra::Point Furniture::CustomerSpot() const
{
    return Zestra::Point{x + (image != nullptr ? image->GetCelWidth() : 0) / 2 + 13, y + 9};
}

bool Furniture::TakeItem(int start)
{
    int count = int(items.size());
    if (count == 0)
        return false;
    if (start < 0 || start >= count)
        start = start < 0 ? std::rand() % count : start % count;
    for (int i = 0; i < count; ++i)
    {
        ClothingForSale& item = *items[size_t((start + i) % count)];
        if (item.inStock)
        {
            item.inStock = false;
            return true;
        }
    }
    return false;
}
