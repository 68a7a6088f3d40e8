// The steps a customer queues: walks, joining and moving up a waiting line, fetching from furniture, trying on,
// drinking, leaving and exploding. Each finishes in the update it arrives in, except Drink and ExplodeCustomer.
#pragma once

#include "game/people/Action.h"

class ClothingShelf;
class Customer;
class CustomerLine;
class ChangingRoomPlace;
class ShopFloor;

class CustomerAction : public Action
{
public:
    CustomerAction(Customer* customer, int targetX, int targetY);
    Customer& customer() const;
};

class Walk : public CustomerAction
{
public:
    Walk(Customer* customer, int x, int y);
    bool Perform() override;
};

class GetInLine : public CustomerAction
{
public:
    GetInLine(Customer* customer, int x, int y, CustomerLine* line);
    bool Perform() override;

    CustomerLine* line; // not owned: the board's line of this level
};

class CheckOut : public GetInLine
{
public:
    CheckOut(Customer* customer, CustomerLine* cashRegisterLine);
};

class GoToCustomerService : public GetInLine
{
public:
    GoToCustomerService(Customer* customer, CustomerLine* serviceLine);
};

class GetInChangingRoomLine : public GetInLine
{
public:
    GetInChangingRoomLine(Customer* customer, CustomerLine* roomLine);
};

class HeadOfLine : public CustomerAction
{
public:
    HeadOfLine(Customer* customer, CustomerLine* line);
    bool Perform() override;

    CustomerLine* line;
};

class NearHeadOfLine : public CustomerAction
{
public:
    NearHeadOfLine(Customer* customer, CustomerLine* line);
    bool Perform() override;

    CustomerLine* line;
};

class PickUpClothing : public CustomerAction
{
public:
    PickUpClothing(Customer* customer, ClothingShelf* shelf);
    bool Perform() override;

    ClothingShelf* shelf; // not owned
};

class TryOnClothing : public CustomerAction
{
public:
    TryOnClothing(Customer* customer, ChangingRoomPlace* room);
    bool Perform() override;
};

class Drink : public CustomerAction
{
public:
    explicit Drink(Customer* customer);
    bool Perform() override;

    bool started = false;
};

class LeaveStore : public CustomerAction
{
public:
    explicit LeaveStore(Customer* customer);
    bool Perform() override;
};

class ExplodeCustomer : public CustomerAction
{
public:
    ExplodeCustomer(Customer* customer, ShopFloor* board);
    bool Perform() override;

    ShopFloor* board; // not owned; null counts nothing (tests)
    int countdown = -1;
};
