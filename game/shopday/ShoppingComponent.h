// An item of the upgrade shop on the store floor: what stands on its place now (or nothing, when the purchase adds
// something new), the better version a purchase would put there, and the badge ("new" or "upgrade") that is
// clicked to open the item's panel. The item sits where its preview sits and owns all three.
#pragma once

#include "game/scene/Component.h"

#include <memory>

namespace Zestra
{
class Board;
}

class ShoppingComponent : public Component
{
public:
    // The badge's right edge is offsetX right of the preview's middle, its top offsetY below the preview's top.
    ShoppingComponent(std::unique_ptr<Component> current, std::unique_ptr<Component> preview, int offsetX, int offsetY,
                      int price);
    ~ShoppingComponent() override;

    // Hovered: the preview, greyed, under the hover badge; otherwise what stands there now under the badge, itself
    // greyed when the run's cash does not reach the price.
    void Draw(Zestra::Graphics& g) override;
    // Whether the badge holds the point. Also follows the mouse: the item becomes hovered (with a sound when it
    // was not) or stops being hovered, which is why it is asked of every item on every mouse move.
    bool Contains(int px, int py) const override;
    // A click on the badge: the item's panel opens over the board.
    virtual void OpenPanel(Zestra::Board& board) = 0;

    // Puts the badge: its right edge offsetX right of the preview's middle, its top offsetY below the preview's top.
    void PlaceBadge(int offsetX, int offsetY);

    std::unique_ptr<Component> current; // null when the purchase adds something new
    std::unique_ptr<Component> preview;
    std::unique_ptr<Component> badge;
    Zestra::Image* badgeHoverImage = nullptr; // not owned
    int price = 0;
    bool affordable = true; // false: the badge is greyed (its panel still opens and tells the price)
    mutable bool hovered = false;
};
