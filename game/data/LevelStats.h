// Store and level definitions: LevelStats reads "properties/stores.xml" then "properties/levels.xml" and builds the
// process-wide store table (stores numbered from 1, each with its furniture, floor spots, art and the mixed list of
// levels and minigames). The table is written only on the loading thread and read-only once published
// (DataTables.h); StoreInfo addresses stay stable until FreeStoreTable.
#pragma once

#include "game/data/ClothingStats.h"
#include "game/data/Parser.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{
class Image;
}

struct MerchantLevelInfo
{
    float speed = 0.0f;    // walking speed multiplier ("speed" in percent)
    int backRoomTime = 0;  // ticks
    int discardTime = 0;   // ticks
    std::string name;      // person name in the people table
    int price = 0;
};

struct ClothingSpot
{
    int x = 0; // offset from the furniture's position
    int y = 0;
    bool drawnBefore = false; // drawn before (under) the furniture
};

struct FurnitureInfo
{
    std::string type;
    int clothingKind = 0; // 1 folded, 2 hung
    Zestra::Image* image = nullptr; // the store image named like the type; owned by the media cache
    int priceY = 0;
    int tagY = 0; // 0: the type has no clothing tag
    int shopX = 0;
    int shopY = 0;
    std::vector<ClothingSpot> clothingSpots;
};

struct FurnitureUpgrade
{
    FurnitureInfo* furniture = nullptr; // entry of the same store's furniture types; never null once read
    int clothing = 0;                   // clothing id
    int price = 0;
    bool furnitureOnly = false; // keeps the previous step's clothing, changes only the furniture
};

struct FloorSpot
{
    int x = 0; // floor coordinates
    int y = 0;
    int firstClothing = 0; // clothing of the first step; names the clothing line of this spot
    bool male = false;
    std::vector<FurnitureUpgrade> upgrades;
};

struct MannequinInfo
{
    int x = 0;
    int y = 0;
    bool male = false;
    int topClothing = 0;
    int bottomClothing = 0;
};

struct BuyCounts
{
    int expensiveItems = 0;
    int chicItems = 0;
    int mediumItems = 0;
};

struct CustomerArrival
{
    std::string customerKey;
    int delay = 0;              // ticks after the previous arrival became due
    std::vector<int> wishTypes; // filled by the running level
};

struct MinigameMannequinInfo
{
    bool male = false;
    int x = 0;
    int y = 0;
    bool secondRound = false;
};

struct MinigameClothingInfo
{
    Zestra::Image* image = nullptr;
    std::string name;
    bool male = false;
    int kind = 0; // 0 top, 1 bottom, 2 both
};

struct LevelInfo
{
    int id = 0; // position among the store's regular levels (month 0..11); 0 for a minigame
    int minGoal = 0;
    int expertGoal = 0;
    int music = -1;
    int duration = 0; // ticks
    float customerSpeed = 0.0f;
    int maxCustomers = 0;
    std::map<std::string, BuyCounts> buyCounts; // by CustomerKey
    std::vector<CustomerArrival> arrivals;
    bool isMinigame = false;
    int previewTime = 0; // ticks
    int hideTime = 0;
    int solveTime = 0;
    float matchBonus = 0.0f;
    float timeBonus = 0.0f;
    std::vector<MinigameMannequinInfo> minigameMannequins;
};

struct StoreInfo
{
    int number = 0; // 1-based
    std::string name; // also the store's image folder
    int iconX = 0;
    int iconY = 0;
    int iconBottom = 0;
    int iconLeft = 0;
    int iconRight = 0;
    std::vector<MerchantLevelInfo> merchantLevels;
    int initialChangingRooms = 0;
    std::vector<int> changingRoomPrices;
    int initialDrinks = 0;
    int maxDrinks = 0;
    int drinkPrice = 0;
    int goodieRackPrice = 0;
    float goodieRackBonus = 0.0f;
    float giftWrapCost = 0.0f; // 0: no gift wrap station
    std::map<std::string, FurnitureInfo> furnitureTypes; // map nodes keep FurnitureUpgrade links valid
    std::vector<FloorSpot> floorSpots;
    std::vector<MannequinInfo> mannequins;
    std::vector<LevelInfo> levels; // levels and minigames in file order
    std::map<std::string, Zestra::Image*> images; // the 23 store images by name; null when missing
    std::vector<MinigameClothingInfo> minigameClothing;

    // Find-only: null for a name that is not one of the store images or whose file was missing.
    Zestra::Image* GetImage(const std::string& imageName) const;
    // Checked: null for an index outside the level list.
    const LevelInfo* GetLevel(int index) const;
};

// The 23 images every store folder provides, in loading order.
constexpr int kStoreImageCount = 23;
extern const char* const kStoreImageNames[kStoreImageCount];
// Width of one frame of the "ChangingRoomDoor" strip, in pixels.
constexpr int kDoorFrameWidth = 102;
// The back wall holds five changing rooms (the walk grid has their spots); a store may own and sell no more.
constexpr int kMaxChangingRooms = 5;
// Floor spots of one store: every one becomes furniture with a ring of walk grid nodes, whose route table grows
// with the square of the node count, so a store may not ask for more.
constexpr int kMaxFloorSpots = 64;

// CustomerKey and clothing key: the name followed by the store number in decimal ("lady" in store 2 is "lady2").
std::string MakeStoreKey(const std::string& name, int storeNumber);

class LevelStats : public Parser
{
public:
    // countOnly: reads only stores.xml and counts the loading steps a full read will report (ImageTotal); nothing
    // is built. Otherwise reads stores.xml then levels.xml into the store table and the clothing catalogue.
    LevelStats(ParserHost& host, bool countOnly);
    ~LevelStats() = default;

    int ImageTotal() const { return mImageTotal; }

protected:
    void OnStartElement(const Zestra::ParsedElement& element) override;

private:
    // One reader per tag; OnStartElement picks it from a table and has checked that a store is current where the
    // tag needs one.
    void ReadGame(const Zestra::ParsedElement& element);
    void ReadStore(const Zestra::ParsedElement& element);
    void ReadMapIcon(const Zestra::ParsedElement& element);
    void ReadMerchant(const Zestra::ParsedElement& element);
    void ReadChangingRooms(const Zestra::ParsedElement& element);
    void ReadChangingRoom(const Zestra::ParsedElement& element);
    void ReadDrink(const Zestra::ParsedElement& element);
    void ReadGoodieRack(const Zestra::ParsedElement& element);
    void ReadGiftWrap(const Zestra::ParsedElement& element);
    void ReadFurnitureType(const Zestra::ParsedElement& element);
    void ReadClothingSpot(const Zestra::ParsedElement& element);
    void ReadFloorSpot(const Zestra::ParsedElement& element);
    void ReadMannequin(const Zestra::ParsedElement& element);
    void ReadStoreMannequin(const Zestra::ParsedElement& element);
    void ReadLevelMannequin(const Zestra::ParsedElement& element);
    void ReadMinigameClothing(const Zestra::ParsedElement& element);
    void ReadLevel(const Zestra::ParsedElement& element);
    void ReadMinigame(const Zestra::ParsedElement& element);
    void ReadBuyCounts(const Zestra::ParsedElement& element);
    void ReadArrival(const Zestra::ParsedElement& element);
    void StartStore(const Zestra::ParsedElement& element);
    void StartLevelsStore();
    void AddFurnitureStep(const Zestra::ParsedElement& element);
    LevelInfo* CurrentLevelOrError(const std::string& tag);

    ClothingStats mClothing;
    bool mCountOnly;
    bool mReadingLevels = false;
    int mImageTotal = 0;
    StoreInfo* mStore = nullptr;
    FurnitureInfo* mFurniture = nullptr;
    static constexpr int kSkippedSpot = -2; // the current "layout" was one too many: its furniture goes with it
    int mSpotIndex = -1;  // index into mStore->floorSpots, -1 before the first "layout"
    int mLevelIndex = -1; // index into mStore->levels of the current level, -1 before the first
    int mLevelIdCounter = 0;
    int mLevelsStoreCount = 0;
    bool mSkipExtraStore = false; // levels.xml named more stores than stores.xml: ignore until the next one
};

// The process-wide store table, read-only after publication.
int StoreCount();
const StoreInfo* GetStoreInfo(int number); // null outside 1..StoreCount()
int MainMenuSong();                        // music id, -1 when none
int MapSong();
int PlayableStoreCount(); // highest store number that has at least one regular level
// Deletes every StoreInfo and resets the globals; at shutdown, and before a reload.
void FreeStoreTable();
