// The merchant's orders, one per click on a store object: fetch from or restock a furniture, fetch from the back
// room, serve a changing room, discard, and serve the register, the service desk or the gift-wrap station.
#pragma once

#include "game/people/MerchantAction.h"

#include <memory>

class ActiveComponent;
class BackRoom;
class CashRegister;
class ChangingRoom;
class ClothingForSale;
class Customer;
class CustomerLine;
class DiscardRack;
class Furniture;
class GiftWrap;
class Merchant;

// The order a click on the component makes, or null for a component that takes no orders.
std::unique_ptr<MerchantAction> CreateOrderFor(ActiveComponent& component, Merchant& merchant);

class GoToFurniture : public MerchantAction
{
public:
    GoToFurniture(Merchant& merchant, ClothingForSale& item);
    bool Perform() override;

    Merchant& merchant;
    ClothingForSale& item;
    bool wasPresent;
    Furniture* furniture; // not owned
};

class VisitBackRoom : public MerchantAction
{
public:
    VisitBackRoom(Merchant& merchant, OrderTarget* button, BackRoom* backRoom, int item);
    bool Chain(Action* following) override;
    void Withdrawn(Action& previous) override;
    bool Perform() override;

    Merchant& merchant;
    BackRoom* backRoom; // not owned; may be null
    int item;
    int countdown = -1; // -1 not started, -2 walking back out
    bool chained = false;
    int duration;
};

class VisitChangingRoom : public MerchantAction
{
public:
    VisitChangingRoom(Merchant& merchant, ChangingRoom& room);
    bool Perform() override;

    Merchant& merchant;
    ChangingRoom& room;
};

class DiscardClothing : public MerchantAction
{
public:
    DiscardClothing(Merchant& merchant, OrderTarget* rack);
    bool Perform() override;

    Merchant& merchant;
    int countdown = -1;
};

class VisitLine : public MerchantAction
{
public:
    VisitLine(Merchant& merchant, OrderTarget* station, int x, int y, CustomerLine* line);
    bool Perform() override;
    virtual bool ServeLine() = 0;

    Merchant& merchant;
    CustomerLine* line; // not owned; null: nothing to serve
    Customer* servedCustomer = nullptr;
    bool headSeen = false;
};

class VisitCashRegister : public VisitLine
{
public:
    VisitCashRegister(Merchant& merchant, CashRegister& cashRegister, CustomerLine* line);
    bool ServeLine() override;

    CashRegister& cashRegister;
    bool busy = false;
};

class VisitCustomerService : public VisitLine
{
public:
    VisitCustomerService(Merchant& merchant, OrderTarget* desk, CustomerLine* line);
    bool ServeLine() override;
};

class GiftWrapAtCustomerService : public VisitLine
{
public:
    GiftWrapAtCustomerService(Merchant& merchant, GiftWrap& station, CustomerLine* line);
    bool ServeLine() override;

    GiftWrap& station;
    bool busy = false;
    bool secondRound = false;
};
