// The clothing catalogue: every garment of every store gets a positive id (0 means none) in the order stores.xml
// first names it, and its price and five pictures. Filled only while the store definitions are read; read-only
// afterwards. Ids and the catalogue are rebuilt at every start and never stored.
#pragma once

#include "game/data/Parser.h"

#include <string>

namespace Zestra
{
class Image;
}

// Looks of a garment, in the order of the picture suffixes.
enum ClothingLook
{
    LOOK_ICON = 0,
    LOOK_FOLDED = 1,
    LOOK_HANGING = 2,
    LOOK_CARRIED = 3,
    LOOK_MANNEQUIN = 4,
    LOOK_COUNT = 5,
};

extern const char* const kClothingPictureSuffixes[LOOK_COUNT]; // "_Icon", "_Folded", ...

struct ClothingInfo
{
    int id = 0;      // 1-based; 0 only in the shared empty record
    std::string key; // clothing name followed by the store number
    int price = 0;
    Zestra::Image* icon = nullptr; // pictures are owned by the media cache; any may be null
    Zestra::Image* folded = nullptr;
    Zestra::Image* hanging = nullptr;
    Zestra::Image* carried = nullptr;
    Zestra::Image* onMannequin = nullptr;

    Zestra::Image* GetPicture(int look) const; // null for a look outside 0..4
};

class ClothingStats : public Parser
{
public:
    explicit ClothingStats(ParserHost& host);
    ~ClothingStats() = default;

    // Appends a garment, loads its five pictures from "<storeName>/clothing/<clothingName><suffix>" and returns the
    // new id. The name index then maps the key to it, even if the key was registered before.
    int RegisterClothing(int storeNumber, const std::string& storeName, const std::string& clothingName, int price);
    // Missing pictures are reported at this place of the file being read (the element that names the garment).
    void ReportAt(const std::string& file, int line) { SetLocation(file, line); }
};

// The catalogue, read-only after publication.
int FindClothing(int storeNumber, const std::string& clothingName); // 0 when unknown or empty
int ClothingCount();
// Checked: ids outside 1..ClothingCount() give a shared empty record (id 0, no pictures, price 0).
const ClothingInfo& GetClothing(int id);
void FreeClothingTable();
