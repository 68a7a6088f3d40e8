#include "game/shopday/ShoppingComponent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/people/GameSound.h"
#include "game/res/Res.h"

namespace
{

const Zestra::Color kPreviewTint(200, 200, 200, 225);

int CelWidthOf(const Component* item)
{
    const Zestra::Image* picture = item != nullptr ? item->GetImage() : nullptr;
    return picture != nullptr ? picture->GetCelWidth() : 0;
}

} // namespace

ShoppingComponent::ShoppingComponent(std::unique_ptr<Component> current, std::unique_ptr<Component> preview,
                                     int offsetX, int offsetY, int price)
    : Component(preview ? preview->x : 0, preview ? preview->y : 0, preview ? preview->GetImage() : nullptr),
      current(std::move(current)), preview(std::move(preview)), price(price)
{
    Zestra::Image* normal = this->current ? IMAGE_UPGRADE_NORMAL.get() : IMAGE_NEW_NORMAL.get();
    badgeHoverImage = this->current ? IMAGE_UPGRADE_HOVER.get() : IMAGE_NEW_HOVER.get();
    const int badgeWidth = normal != nullptr ? normal->GetWidth() : 0;
    badge = std::make_unique<Component>(x + CelWidthOf(this->preview.get()) / 2 + offsetX - badgeWidth,
                                        y + offsetY, normal);
}

ShoppingComponent::~ShoppingComponent() = default;

void ShoppingComponent::Draw(Zestra::Graphics& g)
{
    if (hovered)
    {
        if (preview)
        {
            const bool oldTint = g.GetTintImages();
            const Zestra::Color oldInk = g.GetInk();
            g.SetTintImages(true);
            g.SetInk(kPreviewTint);
            preview->Draw(g);
            g.SetTintImages(oldTint);
            g.SetInk(oldInk);
        }
        if (badgeHoverImage != nullptr)
            g.Blit(badgeHoverImage, badge->x, badge->y);
        return;
    }
    if (current)
        current->Draw(g);
    badge->Draw(g);
}

bool ShoppingComponent::Contains(int px, int py) const
{
    const bool inside = badge->Contains(px, py);
    if (inside && !hovered)
        PlayGameSound(SOUND_HIGHLIGHT);
    hovered = inside;
    return inside;
}
