#include "game/store/ClothingForSale.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/res/Res.h"

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
    // The GoToFurniture order arrives with the merchant's orders.
    return nullptr;
}
