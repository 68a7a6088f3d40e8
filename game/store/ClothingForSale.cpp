#include "game/store/ClothingForSale.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/people/Merchant.h"
#include "game/res/Res.h"
#include "game/store/Furniture.h"

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

int CelWidth(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetCelWidth();
}
} // namespace

ClothingForSale::ClothingForSale(int centreX, int y, int clothing, int look, Furniture* furniture,
                                 Zestra::Image* emptyPicture, bool rack)
    : ActiveComponent(centreX, y, GetClothing(clothing).GetPicture(look), look == LOOK_HANGING ? 22 : 8, 0),
      clothing(clothing), look(look), furniture(furniture)
{
    this->emptyPicture = std::make_unique<Component>(centreX - Width(emptyPicture) / 2, y, emptyPicture);
    if (rack)
    {
        Zestra::Image* icon = GetClothing(clothing).icon;
        int middleY = y + (look == LOOK_HANGING ? 30 : 17);
        emptyIcon = std::make_unique<Component>(centreX - Width(icon) / 2, middleY - Height(icon) / 2, icon);
    }
    if (look == LOOK_FOLDED)
    {
        Zestra::Image* shadowImage = IMAGE_CLOTHING_FOLDED_SHADOW.get();
        int itemHeight = image != nullptr ? image->GetCelHeight() : 0;
        shadow = std::make_unique<Component>(centreX - Width(shadowImage) / 2,
                                             y + itemHeight - Height(shadowImage) + 8, shadowImage);
    }
}

ClothingForSale::~ClothingForSale() = default;

void ClothingForSale::Draw(Zestra::Graphics& g)
{
    if (shadow)
        shadow->Draw(g);
    if (inStock)
    {
        ActiveComponent::Draw(g);
        return;
    }
    emptyPicture->Draw(g);
    if (emptyIcon)
        emptyIcon->Draw(g);
    DrawNumbers(g);
}

std::unique_ptr<MerchantAction> ClothingForSale::CreateMerchantAction(Merchant& merchant)
{
    // A slot that belongs to no furniture has nowhere to send the merchant.
    if (furniture == nullptr)
        return nullptr;
    return std::make_unique<GoToFurniture>(merchant, *this);
}

GoToFurniture::GoToFurniture(Merchant& merchant, ClothingForSale& item)
    : MerchantAction(merchant, &item, item.furniture->x + CelWidth(item.furniture->image) / 2 - 131,
                     item.furniture->y + 9),
      merchant(merchant), item(item), wasPresent(item.inStock), furniture(item.furniture)
{
}

bool GoToFurniture::Perform()
{
    if (wasPresent)
    {
        if (merchant.HandState() == Hands::Both)
            return true;
        if (item.inStock)
            item.inStock = false;
        else if (!furniture->TakeItem(-1))
            return true;
        merchant.PickUp(item.clothing, true);
        return true;
    }
    // The player clicked an empty place: restock it when the merchant carries its garment.
    if (!item.inStock && merchant.IsHolding(item.clothing))
    {
        merchant.PutDown(item.clothing, true);
        item.inStock = true;
    }
    return true;
}

