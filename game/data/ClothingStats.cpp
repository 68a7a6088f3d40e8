// The clothing catalogue: ids are positions in the list plus one, keys map to ids. Written only while stores.xml
// is read on the loading thread.
#include "game/data/ClothingStats.h"

#include "game/data/LevelStats.h"
#include "game/data/ParserHost.h"

#include <map>
#include <vector>

const char* const kClothingPictureSuffixes[LOOK_COUNT] = {"_Icon", "_Folded", "_Hanging", "_Carry", "_Mannequin"};

namespace
{

std::vector<ClothingInfo> gClothing;     // id i is element i - 1
std::map<std::string, int> gClothingIds; // by clothing key
const ClothingInfo kNoClothing;

} // namespace

Zestra::Image* ClothingInfo::GetPicture(int look) const
{
    switch (look)
    {
    case LOOK_ICON:
        return icon;
    case LOOK_FOLDED:
        return folded;
    case LOOK_HANGING:
        return hanging;
    case LOOK_CARRIED:
        return carried;
    case LOOK_MANNEQUIN:
        return onMannequin;
    default:
        return nullptr;
    }
}

ClothingStats::ClothingStats(ParserHost& host) : Parser(host, "stores")
{
}

int ClothingStats::RegisterClothing(int storeNumber, const std::string& storeName, const std::string& clothingName,
                                    int price)
{
    ClothingInfo info;
    info.id = static_cast<int>(gClothing.size()) + 1;
    info.key = MakeStoreKey(clothingName, storeNumber);
    info.price = price;
    const std::string base = storeName + "/clothing/" + clothingName;
    Zestra::Image** pictures[LOOK_COUNT] = {&info.icon, &info.folded, &info.hanging, &info.carried,
                                            &info.onMannequin};
    for (int look = 0; look < LOOK_COUNT; ++look)
    {
        *pictures[look] = LoadImage(base + kClothingPictureSuffixes[look]);
        if (!*pictures[look])
            DataError("clothing picture " + ImageFolder() + base + kClothingPictureSuffixes[look] +
                      " is missing; the garment shows nothing in that look");
    }
    gClothingIds[info.key] = info.id;
    gClothing.push_back(std::move(info));
    return gClothing.back().id;
}

int FindClothing(int storeNumber, const std::string& clothingName)
{
    if (clothingName.empty())
        return 0;
    auto it = gClothingIds.find(MakeStoreKey(clothingName, storeNumber));
    return it == gClothingIds.end() ? 0 : it->second;
}

int ClothingCount()
{
    return static_cast<int>(gClothing.size());
}

const ClothingInfo& GetClothing(int id)
{
    if (id < 1 || id > static_cast<int>(gClothing.size()))
        return kNoClothing;
    return gClothing[static_cast<size_t>(id) - 1];
}

void FreeClothingTable()
{
    gClothing.clear();
    gClothingIds.clear();
}
