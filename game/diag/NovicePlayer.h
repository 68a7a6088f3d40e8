// The built-in newcomer ("-autoplay=novice"): plays the shop floor as a first-timer would, so the days can be
// balanced for people and not only for the planner of PlayerBot. It takes about a second per decision, acts on
// what caught its eye first rather than on what pays best, now and then misses its target by a few centimetres,
// and drags no drink before the game has shown it drinks. Mouse events only; its chances come from its own
// generator seeded with the run's seed, so a seeded day plays the same way again.
#pragma once

#include <functional>
#include <map>
#include <random>
#include <utility>
#include <vector>

class ActiveComponent;
class Customer;

namespace Zestra
{
class Board;
struct PlatformEvent;
} // namespace Zestra

class NovicePlayer
{
public:
    using EventSink = std::function<void(const Zestra::PlatformEvent&)>;

    // All in updates (1/100 s).
    static constexpr int kDecisionMin = 60;  // between two clicks: this plus up to kDecisionSpread
    static constexpr int kDecisionSpread = 80;
    static constexpr int kNoticeTicks = 35;  // something new is seen this long before it is acted on
    static constexpr int kLookTicks = 12;    // how often the floor is looked over while nothing is done
    static constexpr int kMissPercent = 8;   // clicks that land beside their target
    static constexpr int kWanderPercent = 25; // decisions taken on whatever the eye falls on, not the oldest

    NovicePlayer(Zestra::Board& board, EventSink sink, unsigned seed);

    // Once per fixed update while the day is played. drinksKnown: the game has shown what drinks are for.
    void Update(bool drinksKnown);

    int clicks = 0;
    int misses = 0;
    int drinksGiven = 0;

private:
    // Something on the floor that asks for a click, and what the click is for.
    struct Sight
    {
        const void* thing = nullptr; // what is seen (a customer, a room, a slot): with why, the key of the sight
        int why = 0;
        ActiveComponent* target = nullptr; // null for a drink
        Customer* drinker = nullptr;
        int firstSeen = 0;
    };

    std::vector<Sight> LookAround(bool drinksKnown) const;
    void Remember(std::vector<Sight>& sights);
    bool Act(const Sight& sight);
    bool ClickOn(ActiveComponent& component);
    bool DragDrinkTo(Customer& customer);
    void Send(int type, int x, int y, int code);
    int Chance(int below); // 0 .. below - 1

    Zestra::Board& mBoard;
    EventSink mSink;
    std::mt19937 mRandom;
    int mTick = 0;
    int mWait = 0;
    std::map<std::pair<const void*, int>, int> mSeen; // sight key -> update it was first seen
};
