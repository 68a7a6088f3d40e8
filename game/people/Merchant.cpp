#include "game/people/Merchant.h"

#include "game/data/LevelStats.h"
#include "game/people/MerchantAction.h"

#include <algorithm>

namespace
{
const MerchantLevelInfo& LevelOf(const std::vector<MerchantLevelInfo>& levels, int index)
{
    static const MerchantLevelInfo none = [] {
        MerchantLevelInfo info;
        info.speed = 1.0f;
        return info;
    }();
    if (levels.empty())
        return none;
    return levels[size_t(std::clamp(index, 0, int(levels.size()) - 1))];
}
} // namespace

Merchant::Merchant(int x, int y, const std::vector<MerchantLevelInfo>& levels, int levelIndex)
    : Person(x, y, LevelOf(levels, levelIndex).name, LevelOf(levels, levelIndex).speed),
      levelSpeed(LevelOf(levels, levelIndex).speed), backRoomTime(LevelOf(levels, levelIndex).backRoomTime),
      discardTime(LevelOf(levels, levelIndex).discardTime), personName(LevelOf(levels, levelIndex).name)
{
}

int Merchant::CountOrdersFor(const OrderTarget* target) const
{
    int count = 0;
    for (const auto& order : actions)
        if (order->OrderedAt() == target)
            count += 1;
    return count;
}

void Merchant::CancelNewest()
{
    if (actions.size() > 1)
    {
        // Unlink first: the order before it may have to walk out of the back room again, and it must not find the
        // dropped order still queued.
        std::unique_ptr<Action> dropped = std::move(actions.back());
        actions.pop_back();
        dropped->Withdrawn(*actions.back());
        return;
    }
    if (actions.size() == 1)
        actions.front()->cancelled = true;
}

void Merchant::MarkOrderNumbers()
{
    for (size_t i = 0; i < actions.size(); ++i)
    {
        OrderTarget* target = actions[i]->OrderedAt();
        if (target == nullptr)
            continue;
        int k = 0;
        for (size_t j = 0; j < i; ++j)
            if (actions[j]->OrderedAt() == target)
                k += 1;
        Zestra::Point at = target->GetNumberPosition(k);
        target->AddNumber(at.mX, at.mY, int(i));
    }
}
