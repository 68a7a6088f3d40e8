// Base of the merchant's orders: a behaviour step that a clicked store object makes for the merchant. The orders
// themselves (walk to the target, do its job) derive from it, each next to the object that makes it.
#pragma once

#include "framework/graphics/Rect.h"
#include "game/people/Action.h"

class Merchant;

// What an order is aimed at: a store object that shows the queue numbers of the orders pending on it.
class OrderTarget
{
public:
    virtual ~OrderTarget() = default;
    // Where the number of the k-th pending order on this target goes (k from 0 among its own orders).
    virtual Zestra::Point GetNumberPosition(int k) const = 0;
    // Shows cel (the order's place in the merchant's whole queue) at (x, y) on the next draw.
    virtual void AddNumber(int x, int y, int cel) = 0;
};

class MerchantAction : public Action
{
public:
    // target may be null: the order then counts for no object and shows no number.
    MerchantAction(Merchant& merchant, OrderTarget* target, int targetX, int targetY);
    OrderTarget* OrderedAt() const override { return target; }

    OrderTarget* target; // not owned
};
