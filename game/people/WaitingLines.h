// The three waiting lines of a level: five fixed standing places each, customers in arrival order (the first is
// the head). A line walks each customer to its place by appending steps to the customer's queue, moves everybody
// up when someone leaves and serves the head when the merchant or a free changing room asks.
#pragma once

#include "game/people/WaitingLine.h"

#include <vector>

class Customer;
class Merchant;

struct LineEntry
{
    Customer* customer = nullptr; // not owned
    bool atHead = false;          // reached slot 0
    bool arrived = false;         // reached the tail place after joining
    int slot = 1000;              // the place it was last sent to; 1000 before it is placed
};

struct LineSlot
{
    int x;
    int y;
};

class CustomerLine : public WaitingLine
{
public:
    static constexpr int kCapacity = 5;
    static constexpr int kUnplaced = 1000;

    explicit CustomerLine(const LineSlot (&places)[kCapacity]);

    void Join(Customer& customer);
    void MarkArrived(Customer& customer);
    void AssignSlot(Customer& customer, int n);
    void RemoveCustomer(Customer& customer);
    void ServeHead() override;
    // True when the customer is done with the line.
    virtual bool Serve(Customer& customer) = 0;
    virtual void OnNewHead(Customer& customer);
    virtual void OnReachedHead(Customer& customer);

    bool Empty() const { return entries.empty(); }
    const LineEntry* Head() const { return entries.empty() ? nullptr : &entries.front(); }
    LineEntry* Find(const Customer& customer);
    bool Contains(const Customer& customer) const;

    std::vector<LineEntry> entries;
    LineSlot slots[kCapacity];
    int capacity = kCapacity;
};

class CashRegisterLine : public CustomerLine
{
public:
    CashRegisterLine();
    bool Serve(Customer& customer) override;
    void OnReachedHead(Customer& customer) override;
};

class ChangingRoomLine : public CustomerLine
{
public:
    ChangingRoomLine();
    bool Serve(Customer& customer) override;
    void OnNewHead(Customer& customer) override;
};

class CustomerServiceLine : public CustomerLine
{
public:
    explicit CustomerServiceLine(Merchant* merchant);
    bool Serve(Customer& customer) override;
    void OnReachedHead(Customer& customer) override;

    Merchant* merchant; // not owned; null serves nothing
};
