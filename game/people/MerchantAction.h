// Base of the merchant's orders: a behaviour step that a clicked component makes for the merchant. The orders
// themselves (walk to the target, do its job) derive from it.
#pragma once

#include "game/people/Action.h"

class MerchantAction : public Action
{
public:
    using Action::Action;
};
