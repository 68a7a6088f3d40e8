#include "game/shopday/CustomerCrowd.h"

#include "framework/log/Log.h"
#include "game/data/CustomerStats.h"
#include "game/data/LevelStats.h"
#include "game/people/Customer.h"
#include "game/shopday/Board.h"

#include <algorithm>
#include <cstdlib>
#include <map>

CustomerCrowd::CustomerCrowd(Zestra::Board* board) : board(board)
{
}

CustomerCrowd::~CustomerCrowd() = default;

void CustomerCrowd::Clear()
{
    customers.clear();
    arrivals.clear();
    entrance.clear();
}

void CustomerCrowd::ResetForLevel(const LevelInfo& level)
{
    Clear();
    spawnCooldown = 0;
    maxCustomers = level.maxCustomers;
    customerSpeed = level.customerSpeed;
    doorsClosedSeen = false;
    for (const CustomerArrival& arrival : level.arrivals)
    {
        // A customer nobody defined (or one without a single wish) cannot shop; it never comes in.
        if (!HasCustomer(arrival.customerKey) || FindCustomer(arrival.customerKey).wishes.empty())
        {
            Zestra::Log("levels: arrival of unknown customer \"" + arrival.customerKey + "\" dropped");
            continue;
        }
        arrivals.push_back(CrowdArrival{arrival.customerKey, arrival.delay, {}});
    }

    // Spread the level's buy counts at random over all wishes of each customer type.
    std::vector<std::string> keys;
    for (const CrowdArrival& arrival : arrivals)
        if (std::find(keys.begin(), keys.end(), arrival.customerKey) == keys.end())
            keys.push_back(arrival.customerKey);
    for (const std::string& key : keys)
    {
        BuyCounts counts;
        if (auto found = level.buyCounts.find(key); found != level.buyCounts.end())
            counts = found->second;
        size_t wishes = FindCustomer(key).wishes.size();
        std::vector<int*> pool;
        for (CrowdArrival& arrival : arrivals)
        {
            if (arrival.customerKey != key)
                continue;
            arrival.wishTypes.assign(wishes, 0);
            for (int& type : arrival.wishTypes)
                pool.push_back(&type);
        }
        const int perType[3] = {counts.mediumItems, counts.chicItems, counts.expensiveItems};
        for (int t = 1; t <= 3; ++t)
            for (int n = 0; n < perType[t - 1] && !pool.empty(); ++n)
            {
                size_t pick = size_t(std::rand()) % pool.size();
                *pool[pick] = t;
                pool.erase(pool.begin() + long(pick));
            }
    }
}

void CustomerCrowd::Update()
{
    if (spawnCooldown > 0)
        spawnCooldown -= 1;
    if (!arrivals.empty())
    {
        // At or below 0, not only at 0: a negative time in the data must not hold the queue forever.
        if (arrivals.front().countdown <= 0)
        {
            entrance.push_back(std::move(arrivals.front()));
            arrivals.pop_front();
        }
        else
        {
            arrivals.front().countdown -= 1;
        }
    }
    if (!entrance.empty() && spawnCooldown == 0 && int(customers.size()) < maxCustomers)
    {
        CrowdArrival& next = entrance.front();
        customers.push_back(std::make_unique<Customer>(next.customerKey, customerSpeed, next.wishTypes, board));
        entrance.pop_front();
        spawnCooldown = kSpawnCooldown;
    }
    // Indexing, not iterators: an update may not add customers, but keep this robust against it anyway.
    for (size_t i = 0; i < customers.size(); ++i)
        customers[i]->Update();
    std::erase_if(customers, [](const std::unique_ptr<Customer>& customer) {
        return customer->status == Customer::STATUS_GONE;
    });
}

void CustomerCrowd::UpdateFraction(float step, const Walkways& walkways)
{
    for (size_t i = 0; i < customers.size(); ++i)
        customers[i]->UpdateActions(step, walkways);
}

void CustomerCrowd::CloseDoors()
{
    arrivals.clear();
    entrance.clear();
}

bool CustomerCrowd::IsEmpty() const
{
    return arrivals.empty() && entrance.empty() && customers.empty();
}

bool CustomerCrowd::TakeDoorsClosedEvent()
{
    if (doorsClosedSeen || !arrivals.empty() || !entrance.empty())
        return false;
    doorsClosedSeen = true;
    return true;
}

std::vector<Customer*> CustomerCrowd::DepthSorted() const
{
    std::vector<Customer*> sorted;
    sorted.reserve(customers.size());
    for (const auto& customer : customers)
        sorted.push_back(customer.get());
    // Entry order breaks ties, the same fixed order the scene uses.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Customer* a, const Customer* b) {
        return a->y != b->y ? a->y < b->y : a->x < b->x;
    });
    return sorted;
}

bool CustomerCrowd::HighlightAt(int x, int y)
{
    bool found = false;
    std::vector<Customer*> sorted = DepthSorted();
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
    {
        Customer* customer = *it;
        bool hit = !found && customer->CanTakeDrinkAt(x, y);
        customer->highlighted = hit;
        found = found || hit;
    }
    return found;
}

bool CustomerCrowd::GiveDrinkAt(int x, int y)
{
    std::vector<Customer*> sorted = DepthSorted();
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
    {
        Customer* customer = *it;
        customer->highlighted = false;
        if (customer->CanTakeDrinkAt(x, y))
        {
            customer->GiveDrink();
            return true;
        }
    }
    return false;
}
