#include "game/people/MerchantAction.h"

#include "game/people/Merchant.h"

MerchantAction::MerchantAction(Merchant& merchant, OrderTarget* target, int targetX, int targetY)
    : Action(&merchant, targetX, targetY), target(target)
{
}
