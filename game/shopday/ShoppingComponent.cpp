#include "game/shopday/ShoppingComponent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

namespace
{

const Zestra::Color kPreviewTint(200, 200, 200, 225);
const Zestra::Color kTooDearTint(140, 140, 140, 200);

// Draws the item through a tint, the context's tint left as it was.
void DrawTinted(Zestra::Graphics& g, Component& item, const Zestra::Color& tint)
{
    const bool oldTint = g.GetTintImages();
    const Zestra::Color oldInk = g.GetInk();
    g.SetTintImages(true);
    g.SetInk(tint);
    item.Draw(g);
    g.SetTintImages(oldTint);
    g.SetInk(oldInk);
}

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
    badgeHoverImage = this->current ? IMAGE_UPGRADE_HOVER.get() : IMAGE_NEW_HOVER.get();
    badge = std::make_unique<Component>(0, 0, this->current ? IMAGE_UPGRADE_NORMAL.get() : IMAGE_NEW_NORMAL.get());
    PlaceBadge(offsetX, offsetY);
}

void ShoppingComponent::PlaceBadge(int offsetX, int offsetY)
{
    const int badgeWidth = badge->image != nullptr ? badge->image->GetWidth() : 0;
    badge->x = x + CelWidthOf(preview.get()) / 2 + offsetX - badgeWidth;
    badge->y = y + offsetY;
}

ShoppingComponent::~ShoppingComponent() = default;

void ShoppingComponent::Draw(Zestra::Graphics& g)
{
    if (hovered)
    {
        if (preview)
            DrawTinted(g, *preview, kPreviewTint);
        if (badgeHoverImage != nullptr)
            g.Blit(badgeHoverImage, badge->x, badge->y);
        return;
    }
    if (current)
        current->Draw(g);
    if (affordable)
        badge->Draw(g);
    else
        DrawTinted(g, *badge, kTooDearTint);
}

bool ShoppingComponent::Contains(int px, int py) const
{
    const bool inside = badge->Contains(px, py);
    if (inside && !hovered)
        PlayGameSound(SOUND_HIGHLIGHT);
    hovered = inside;
    return inside;
}
