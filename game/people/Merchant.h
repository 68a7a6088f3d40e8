// The shop assistant the player steers: a person whose action queue holds the player's orders (six at most, the
// board enforces it). Its level sets its look, walking speed and working times.
#pragma once

#include "game/people/Person.h"

#include <vector>

class OrderTarget;
struct MerchantLevelInfo;

class Merchant : public Person
{
public:
    // levelIndex is clamped into the list; an empty list gives an invisible merchant with speed 1.
    Merchant(int x, int y, const std::vector<MerchantLevelInfo>& levels, int levelIndex);

    // Orders queued (the one under way included) that target the component.
    int CountOrdersFor(const OrderTarget* target) const;
    // Right click: drops the newest pending order; with only one left, asks it to stop.
    void CancelNewest();
    // Shows each pending order's queue place on its target; call before every scene draw.
    void MarkOrderNumbers();

    float levelSpeed;
    int backRoomTime;
    int discardTime;
    std::string personName;
};
