// A scene object the player clicks to give the merchant an order. It also shows the queue numbers of the orders
// that target it: the merchant marks them before the scene is drawn and the next Draw shows and forgets them.
#pragma once

#include "framework/graphics/Rect.h"
#include "game/people/MerchantAction.h"
#include "game/scene/Component.h"

#include <deque>
#include <memory>

class Merchant;

struct NumberMarker
{
    int x = 0;
    int y = 0;
    int cel = 0; // cel of IMAGE_NUMBERS: the order's position in the merchant's whole queue
};

class ActiveComponent : public Component, public OrderTarget
{
public:
    // Common form: centred on centreX (integer halving of one cel), one order at a time, the number 10 pixels
    // left of the centre plus numberDX and numberDY below the top.
    ActiveComponent(int centreX, int y, Zestra::Image* image, int numberDY, int numberDX);
    // Second form: position unchanged, no number position (subclasses override GetNumberPosition).
    ActiveComponent(int x, int y, int orderLimit, Zestra::Image* image);

    // Body, overlay, then every pending marker (each drawn once).
    void Draw(Zestra::Graphics& g) override;
    // A newly made order that walks the merchant here and does this component's job; the caller owns it.
    virtual std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) = 0;
    Zestra::Point GetNumberPosition(int k) const override;
    virtual void DrawOverlay(Zestra::Graphics& g);

    void AddNumber(int x, int y, int cel) override;
    // Draws the pending markers in FIFO order and forgets them.
    void DrawNumbers(Zestra::Graphics& g);

    int numberX = 0;
    int numberY = 0;
    std::deque<NumberMarker> markers;
    int maxOrders = 1;
};
