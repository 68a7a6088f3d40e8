// Base of the orders that send the merchant to serve a waiting line: once at the station, the merchant waits for
// the head of the line to arrive and then serves it the way the station does (ServeLine).
#pragma once

#include "game/people/MerchantAction.h"

class Customer;
class CustomerLine;

class VisitLine : public MerchantAction
{
public:
    VisitLine(Merchant& merchant, OrderTarget* station, int x, int y, CustomerLine* line);
    bool Perform() override;
    // True when the order is done.
    virtual bool ServeLine() = 0;

    Merchant& merchant;
    CustomerLine* line; // not owned; null: nothing to serve
    Customer* servedCustomer = nullptr;
    bool headSeen = false;
};
