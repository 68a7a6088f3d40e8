#include "game/people/WaitingLines.h"

#include "game/people/Customer.h"
#include "game/people/CustomerActions.h"
#include "game/people/Merchant.h"
#include "game/people/PersonObserver.h"

namespace
{
constexpr LineSlot kCashRegisterSlots[CustomerLine::kCapacity] = {{80, 340}, {80, 280}, {40, 230}, {40, 180},
                                                                   {40, 130}};
constexpr LineSlot kChangingRoomSlots[CustomerLine::kCapacity] = {{126, 75}, {216, 75}, {306, 75}, {396, 75},
                                                                   {486, 75}};
constexpr LineSlot kCustomerServiceSlots[CustomerLine::kCapacity] = {{694, 225}, {694, 280}, {694, 335},
                                                                      {694, 390}, {694, 445}};
} // namespace

CustomerLine::CustomerLine(const LineSlot (&places)[kCapacity])
{
    for (int i = 0; i < kCapacity; ++i)
        slots[i] = places[i];
}

LineEntry* CustomerLine::Find(const Customer& customer)
{
    for (LineEntry& entry : entries)
        if (entry.customer == &customer)
            return &entry;
    return nullptr;
}

bool CustomerLine::Contains(const Customer& customer) const
{
    for (const LineEntry& entry : entries)
        if (entry.customer == &customer)
            return true;
    return false;
}

void CustomerLine::Join(Customer& customer)
{
    if (int(entries.size()) >= capacity)
    {
        customer.LineFull();
        return;
    }
    entries.push_back(LineEntry{&customer, false, false, kUnplaced});
    AssignSlot(customer, int(entries.size()) - 1);
}

void CustomerLine::MarkArrived(Customer& customer)
{
    if (LineEntry* entry = Find(customer))
        entry->arrived = true;
}

void CustomerLine::AssignSlot(Customer& customer, int n)
{
    LineEntry* entry = Find(customer);
    if (entry == nullptr || n < 0 || n >= kCapacity)
        return;
    int old = entry->slot;
    entry->slot = n;
    if (old >= kCapacity)
    {
        const LineSlot& tail = slots[kCapacity - 1];
        customer.AddAction(std::make_unique<Walk>(&customer, tail.x, tail.y));
        customer.AddAction(std::make_unique<NearHeadOfLine>(&customer, this));
    }
    customer.AddAction(std::make_unique<Walk>(&customer, slots[n].x, slots[n].y));
    if (n == 0)
    {
        customer.AddAction(std::make_unique<HeadOfLine>(&customer, this));
        OnNewHead(customer);
    }
}

void CustomerLine::RemoveCustomer(Customer& customer)
{
    size_t i = 0;
    while (i < entries.size() && entries[i].customer != &customer)
        ++i;
    if (i == entries.size())
        return;
    entries.erase(entries.begin() + long(i));
    // A new head may leave the line at once (a free changing room); its own removal then moves up everybody behind
    // it, so the walk here stops as soon as the entry it just placed is no longer where it was.
    for (; i < entries.size() && int(i) < capacity; ++i)
    {
        Customer* moving = entries[i].customer;
        AssignSlot(*moving, int(i));
        if (i >= entries.size() || entries[i].customer != moving)
            break;
    }
}

void CustomerLine::ServeHead()
{
    if (entries.empty())
        return;
    Customer* head = entries.front().customer;
    if (Serve(*head))
        RemoveCustomer(*head);
}

void CustomerLine::OnNewHead(Customer&)
{
}

void CustomerLine::OnReachedHead(Customer& customer)
{
    if (LineEntry* entry = Find(customer))
        entry->atHead = true;
}

CashRegisterLine::CashRegisterLine() : CustomerLine(kCashRegisterSlots)
{
}

bool CashRegisterLine::Serve(Customer& customer)
{
    customer.Pay();
    customer.Leave();
    return true;
}

void CashRegisterLine::OnReachedHead(Customer& customer)
{
    CustomerLine::OnReachedHead(customer);
    if (customer.listener != nullptr)
        customer.listener->OnCashRegisterHead(customer);
}

ChangingRoomLine::ChangingRoomLine() : CustomerLine(kChangingRoomSlots)
{
}

bool ChangingRoomLine::Serve(Customer& customer)
{
    return customer.EnterChangingRoom();
}

void ChangingRoomLine::OnNewHead(Customer& customer)
{
    if (customer.EnterChangingRoom())
        RemoveCustomer(customer);
}

CustomerServiceLine::CustomerServiceLine(Merchant* merchant) : CustomerLine(kCustomerServiceSlots), merchant(merchant)
{
}

bool CustomerServiceLine::Serve(Customer& customer)
{
    if (customer.bubble == Customer::BUBBLE_WRAP_SHOWN)
    {
        customer.GiftWrapped();
        return true;
    }
    // An empty hand "holds" id 0: a customer without a wanted item can never be handed one.
    if (merchant == nullptr || customer.wantedItem == 0 || !merchant->IsHolding(customer.wantedItem))
        return false;
    merchant->PutDown(customer.wantedItem, false);
    int old = customer.SwapHand(customer.wantedItem);
    if (old != 0)
        merchant->PickUp(old, false);
    return customer.AfterGotItem(true);
}

void CustomerServiceLine::OnReachedHead(Customer& customer)
{
    CustomerLine::OnReachedHead(customer);
    customer.ShowBubble();
    if (customer.listener != nullptr)
        customer.listener->OnCustomerServiceHead();
}
