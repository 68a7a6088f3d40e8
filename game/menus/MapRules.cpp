#include "game/menus/MapRules.h"

#include "game/data/LevelStats.h"

std::vector<MonthIcon> MonthIcons(const StoreInfo& store, int level, const std::function<int(int)>& stateOf)
{
    std::vector<MonthIcon> icons;
    for (int i = 0; i <= level; ++i)
    {
        const LevelInfo* info = store.GetLevel(i);
        bool behind = i < level;
        if (info != nullptr && info->isMinigame)
        {
            icons.push_back(behind ? MonthIcon::MinigameComplete : MonthIcon::NotComplete);
            continue;
        }
        int state = behind && stateOf ? stateOf(i) : 0;
        icons.push_back(state == 2 ? MonthIcon::Complete
                                   : (state == 3 ? MonthIcon::ExpertComplete : MonthIcon::NotComplete));
    }
    return icons;
}

bool BuildsStoreOnMap(int storeNumber, int levelIndex, bool levelStarted)
{
    return storeNumber >= 2 && levelIndex == 0 && !levelStarted;
}

double GrowIris(double size)
{
    return size < 80 ? size * 1.2 : size + 30;
}

int MarkerAlpha(int countdown)
{
    if (countdown <= 0)
        return 255;
    if (countdown > 99)
        return 0;
    return (100 - countdown) * 255 / 100;
}
