// The customers of one shop day: the arrivals still scheduled, the entrance of released customers waiting to come
// in (one every 150 ticks, never more than maxCustomers inside) and the customers inside, in entry order.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

class Customer;
class Walkways;
struct LevelInfo;

namespace Zestra
{
class Board;
}

struct CrowdArrival
{
    std::string customerKey;
    int countdown = 0;          // ticks; only the front record of the arrivals counts down
    std::vector<int> wishTypes; // 0 cheapest, 1 medium, 2 chic, 3 expensive; one per wish
};

class CustomerCrowd
{
public:
    static constexpr int kSpawnCooldown = 150;

    explicit CustomerCrowd(Zestra::Board* board);
    CustomerCrowd(const CustomerCrowd&) = delete;
    CustomerCrowd& operator=(const CustomerCrowd&) = delete;
    ~CustomerCrowd();

    // Arrivals of unknown customer types (or types without wishes) are dropped with a message on stderr.
    void ResetForLevel(const LevelInfo& level);
    void Update();
    void UpdateFraction(float step, const Walkways& walkways);
    void CloseDoors();
    bool IsEmpty() const;
    bool TakeDoorsClosedEvent();
    // The frontmost customer that can take a drink at the point is highlighted (all others cleared).
    bool HighlightAt(int x, int y);
    bool GiveDrinkAt(int x, int y);
    void Clear();
    // Customers in drawing order (back to front).
    std::vector<Customer*> DepthSorted() const;

    std::vector<std::unique_ptr<Customer>> customers;
    float customerSpeed = 1.0f;
    Zestra::Board* board; // not owned: the board owns the crowd
    std::deque<CrowdArrival> arrivals;
    int maxCustomers = 0;
    std::deque<CrowdArrival> entrance;
    int spawnCooldown = 0;
    bool doorsClosedSeen = false;
};
