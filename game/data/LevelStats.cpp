// Store and level reader and the process-wide store table. Both data files are flat sequences of start tags; each
// element applies to the most recent "store" (and "def-furniture", "layout", "level"/"minigame") before it.
// Elements with nothing to apply to are reported and skipped, never guessed at.
#include "game/data/LevelStats.h"

#include "framework/graphics/Image.h"
#include "framework/xml/XMLParser.h"
#include "game/data/ParserHost.h"

#include <algorithm>

const char* const kStoreImageNames[kStoreImageCount] = {
    "Background",     "Hud",          "StartScreen",       "TutorialBox",      "TutorialBoxBig",
    "RopeCashRegister", "RopeChangingRoom", "RopeCustomerService", "ChangingRoom", "ChangingRoomShadow",
    "ChangingRoomDoor", "CashCounter",  "CustomerServiceDesk", "Drink",          "DrinkActive",
    "GoodieRack1",    "GoodieRack2",  "DiscardRack",       "MapHud",           "MapIcon",
    "MapIconLocked",  "MapIconOver",  "MinigameBackground",
};

namespace
{

std::vector<std::unique_ptr<StoreInfo>> gStores; // owned; addresses stable for GameState links
int gMainMenuSong = -1;
int gMapSong = -1;
int gPlayableStoreCount = 0;

// Store images a store may leave out on purpose: no drinks, or no tutorial in that store.
bool IsOptionalStoreImage(const std::string& name)
{
    return name == "Drink" || name == "DrinkActive" || name == "TutorialBox" || name == "TutorialBoxBig";
}

} // namespace

std::string MakeStoreKey(const std::string& name, int storeNumber)
{
    return name + std::to_string(storeNumber);
}

Zestra::Image* StoreInfo::GetImage(const std::string& imageName) const
{
    auto it = images.find(imageName);
    return it == images.end() ? nullptr : it->second;
}

const LevelInfo* StoreInfo::GetLevel(int index) const
{
    if (index < 0 || index >= static_cast<int>(levels.size()))
        return nullptr;
    return &levels[static_cast<size_t>(index)];
}

LevelStats::LevelStats(ParserHost& host, bool countOnly) : Parser(host, "stores"), mClothing(host), mCountOnly(countOnly)
{
    ParseProperties("stores.xml");
    if (mCountOnly)
        return;
    mReadingLevels = true;
    mStore = nullptr;
    mFurniture = nullptr;
    mSpotIndex = -1;
    mLevelIndex = -1;
    ParseProperties("levels.xml");
}

namespace
{
// What reads one tag; "store" and "game" apply without a store before them, every other tag to the current
// store.
struct LevelTag
{
    const char* tag;
    bool needsStore;
    void (LevelStats::*read)(const Zestra::ParsedElement& element);
};
} // namespace

void LevelStats::OnStartElement(const Zestra::ParsedElement& element)
{
    const std::string& tag = element.mText;
    if (mCountOnly)
    {
        if (tag == "store")
            mImageTotal += kStoreImageCount;
        else if (tag == "minigame-clothing")
            mImageTotal += 1;
        return;
    }

    static const LevelTag kTags[] = {
        {"game", false, &LevelStats::ReadGame},
        {"store", false, &LevelStats::ReadStore},
        {"map-icon", true, &LevelStats::ReadMapIcon},
        {"merchant", true, &LevelStats::ReadMerchant},
        {"changing-rooms", true, &LevelStats::ReadChangingRooms},
        {"changing-room", true, &LevelStats::ReadChangingRoom},
        {"drink", true, &LevelStats::ReadDrink},
        {"goodie-rack", true, &LevelStats::ReadGoodieRack},
        {"gift-wrap", true, &LevelStats::ReadGiftWrap},
        {"def-furniture", true, &LevelStats::ReadFurnitureType},
        {"clothing", true, &LevelStats::ReadClothingSpot},
        {"layout", true, &LevelStats::ReadFloorSpot},
        {"furniture", true, &LevelStats::AddFurnitureStep},
        {"mannequin", true, &LevelStats::ReadMannequin},
        {"minigame-clothing", true, &LevelStats::ReadMinigameClothing},
        {"level", true, &LevelStats::ReadLevel},
        {"minigame", true, &LevelStats::ReadMinigame},
        {"buy", true, &LevelStats::ReadBuyCounts},
        {"customer", true, &LevelStats::ReadArrival},
    };
    const auto it = std::find_if(std::begin(kTags), std::end(kTags), [&](const LevelTag& t) { return tag == t.tag; });
    if (it == std::end(kTags))
        return; // tags of neither file are ignored
    if (it->needsStore && !mStore)
    {
        if (!mSkipExtraStore)
            DataError("<" + tag + "> comes before any <store>; ignored");
        return;
    }
    (this->*it->read)(element);
}

void LevelStats::ReadGame(const Zestra::ParsedElement& element)
{
    if (!mReadingLevels)
    {
        gMainMenuSong = LoadSong(Attribute(element, "main-menu-music"));
        gMapSong = LoadSong(Attribute(element, "map-music"));
    }
}

void LevelStats::ReadStore(const Zestra::ParsedElement& element)
{
    if (mReadingLevels)
        StartLevelsStore();
    else
        StartStore(element);
}

void LevelStats::ReadMapIcon(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    store.iconX = DataConvert::Integer(Attribute(element, "x"));
    store.iconY = DataConvert::Integer(Attribute(element, "y"));
    store.iconBottom = DataConvert::Integer(Attribute(element, "bottom"));
    store.iconLeft = DataConvert::Integer(Attribute(element, "left"));
    store.iconRight = DataConvert::Integer(Attribute(element, "right"));
    if (store.iconRight <= store.iconLeft || store.iconBottom <= store.iconY)
        DataWarning("map icon of store " + store.name + " has an empty click area");
}

void LevelStats::ReadMerchant(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    MerchantLevelInfo merchant;
    merchant.name = Attribute(element, "name");
    merchant.speed = DataConvert::Percentage(Attribute(element, "speed"));
    merchant.backRoomTime = DataConvert::Hundredths(Attribute(element, "backroom_time"));
    merchant.discardTime = DataConvert::Hundredths(Attribute(element, "discard_time"));
    merchant.price = DataConvert::Integer(Attribute(element, "price"));
    if (merchant.speed <= 0.0f)
        DataWarning("merchant " + merchant.name + " has no speed and will not move");
    store.merchantLevels.push_back(merchant);
}

void LevelStats::ReadChangingRooms(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    // The board builds every owned room, so the count is bounded before anything is built for it.
    const int init = DataConvert::Integer(Attribute(element, "init"));
    store.initialChangingRooms = std::clamp(init, 0, kMaxChangingRooms);
    if (init != store.initialChangingRooms)
        DataError("store " + store.name + " starts with " + std::to_string(init) + " changing rooms; there is room "
                  "for 0 to " + std::to_string(kMaxChangingRooms) + " (read as " +
                  std::to_string(store.initialChangingRooms) + ")");
}

void LevelStats::ReadChangingRoom(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    if (store.initialChangingRooms + static_cast<int>(store.changingRoomPrices.size()) >= kMaxChangingRooms)
    {
        DataError("store " + store.name + " sells more changing rooms than the floor holds (" +
                  std::to_string(kMaxChangingRooms) + " in all); this one is ignored");
        return;
    }
    store.changingRoomPrices.push_back(DataConvert::Integer(Attribute(element, "price")));
}

void LevelStats::ReadDrink(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    store.initialDrinks = DataConvert::Integer(Attribute(element, "init"));
    store.maxDrinks = DataConvert::Integer(Attribute(element, "max"));
    store.drinkPrice = DataConvert::Integer(Attribute(element, "price"));
    if (store.initialDrinks != 0 && !store.GetImage("Drink"))
        DataWarning("store " + store.name + " has drinks but no Drink image; no drinks are handed out");
}

void LevelStats::ReadGoodieRack(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    store.goodieRackPrice = DataConvert::Integer(Attribute(element, "price"));
    store.goodieRackBonus = DataConvert::Real(Attribute(element, "bonus"));
}

void LevelStats::ReadGiftWrap(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    store.giftWrapCost = DataConvert::Real(Attribute(element, "cost"));
}

void LevelStats::ReadFurnitureType(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    const std::string& type = Attribute(element, "type");
    FurnitureInfo& info = store.furnitureTypes[type];
    info = FurnitureInfo(); // a second definition replaces the first, in place: steps keep their link
    info.type = type;
    info.clothingKind = DataConvert::Flag(Attribute(element, "clothing-type"), "folded") ? 1 : 2;
    info.image = LoadImage(store.name + "/" + type);
    if (!info.image)
        DataError("furniture image " + ImageFolder() + store.name + "/" + type + " is missing");
    info.priceY = DataConvert::Integer(Attribute(element, "price-y"));
    info.tagY = DataConvert::Integer(Attribute(element, "tag-y"));
    info.shopX = DataConvert::Integer(Attribute(element, "shop-x"));
    info.shopY = DataConvert::Integer(Attribute(element, "shop-y"));
    mFurniture = &info;
}

void LevelStats::ReadClothingSpot(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    if (!mFurniture)
    {
        DataError("<clothing> spot comes before any <def-furniture> of store " + store.name + "; ignored");
        return;
    }
    ClothingSpot spot;
    spot.x = DataConvert::Integer(Attribute(element, "x"));
    spot.y = DataConvert::Integer(Attribute(element, "y"));
    spot.drawnBefore = DataConvert::Flag(Attribute(element, "display"), "before");
    mFurniture->clothingSpots.push_back(spot);
}

void LevelStats::ReadFloorSpot(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    if (static_cast<int>(store.floorSpots.size()) >= kMaxFloorSpots)
    {
        DataError("store " + store.name + " has more than " + std::to_string(kMaxFloorSpots) +
                  " floor spots; this one and its furniture are ignored");
        mSpotIndex = kSkippedSpot;
        return;
    }
    FloorSpot spot;
    spot.x = DataConvert::Integer(Attribute(element, "x"));
    spot.y = DataConvert::Integer(Attribute(element, "y"));
    spot.male = DataConvert::Flag(Attribute(element, "gender"), "male");
    store.floorSpots.push_back(spot);
    mSpotIndex = static_cast<int>(store.floorSpots.size()) - 1;
}

void LevelStats::ReadStoreMannequin(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    MannequinInfo mannequin;
    mannequin.male = DataConvert::Flag(Attribute(element, "gender"), "male");
    mannequin.x = DataConvert::Integer(Attribute(element, "x"));
    mannequin.y = DataConvert::Integer(Attribute(element, "y"));
    int* pieces[2] = {&mannequin.topClothing, &mannequin.bottomClothing};
    const char* attrs[2] = {"top", "bottom"};
    for (int i = 0; i < 2; ++i)
    {
        const std::string& name = Attribute(element, attrs[i]);
        *pieces[i] = FindClothing(store.number, name);
        if (!name.empty() && *pieces[i] == 0)
            DataError("mannequin " + std::string(attrs[i]) + " \"" + name + "\" is no clothing of store " +
                      store.name + " (name its floor spot's first clothing, after that <layout>)");
        else if (*pieces[i] != 0 &&
                 std::none_of(store.floorSpots.begin(), store.floorSpots.end(),
                              [&](const FloorSpot& spot) { return spot.firstClothing == *pieces[i]; }))
            DataWarning("mannequin " + std::string(attrs[i]) + " \"" + name +
                        "\" is not the first clothing of any floor spot; the mannequin never wears it");
    }
    store.mannequins.push_back(mannequin);
}

void LevelStats::ReadLevelMannequin(const Zestra::ParsedElement& element)
{
    LevelInfo* level = CurrentLevelOrError(element.mText);
    if (!level)
        return;
    if (!level->isMinigame)
        DataWarning("<mannequin> belongs to a regular level; only minigames use it");
    MinigameMannequinInfo mannequin;
    mannequin.male = DataConvert::Flag(Attribute(element, "gender"), "male");
    mannequin.x = DataConvert::Integer(Attribute(element, "x"));
    mannequin.y = DataConvert::Integer(Attribute(element, "y"));
    mannequin.secondRound = DataConvert::Flag(Attribute(element, "second-round"), "true");
    level->minigameMannequins.push_back(mannequin);
}

void LevelStats::ReadMinigameClothing(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    MinigameClothingInfo clothing;
    clothing.name = Attribute(element, "name");
    clothing.male = DataConvert::Flag(Attribute(element, "gender"), "male");
    const std::string& type = Attribute(element, "type");
    clothing.kind = type == "both" ? 2 : (type == "bottom" ? 1 : 0);
    clothing.image = LoadImage(store.name + "/Minigame/" + clothing.name);
    if (!clothing.image)
        DataError("minigame clothing picture " + ImageFolder() + store.name + "/Minigame/" + clothing.name +
                  " is missing");
    mHost.OnLoadingStep();
    store.minigameClothing.push_back(clothing);
}

void LevelStats::ReadLevel(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    LevelInfo level;
    level.id = mLevelIdCounter++;
    level.minGoal = DataConvert::Integer(Attribute(element, "min_goal"));
    level.expertGoal = DataConvert::Integer(Attribute(element, "expert_goal"));
    level.music = LoadSong(Attribute(element, "music"));
    level.duration = DataConvert::Hundredths(Attribute(element, "duration"));
    level.customerSpeed = DataConvert::Percentage(Attribute(element, "customer_speed"));
    level.maxCustomers = DataConvert::Integer(Attribute(element, "max_customers"));
    if (level.duration <= 0)
        DataWarning("level " + std::to_string(level.id) + " of store " + store.name + " has no duration");
    if (level.maxCustomers <= 0)
        DataWarning("level " + std::to_string(level.id) + " of store " + store.name +
                    " lets no customer in (max_customers)");
    store.levels.push_back(std::move(level));
    mLevelIndex = static_cast<int>(store.levels.size()) - 1;
    gPlayableStoreCount = std::max(gPlayableStoreCount, store.number);
}

void LevelStats::ReadMinigame(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    LevelInfo level;
    level.isMinigame = true;
    level.music = LoadSong(Attribute(element, "music"));
    level.previewTime = DataConvert::Hundredths(Attribute(element, "preview-time"));
    level.hideTime = DataConvert::Hundredths(Attribute(element, "hide-time"));
    level.solveTime = DataConvert::Hundredths(Attribute(element, "solve-time"));
    level.matchBonus = DataConvert::Real(Attribute(element, "match-bonus"));
    level.timeBonus = DataConvert::Real(Attribute(element, "time-bonus"));
    if (level.previewTime <= 0 || level.hideTime <= 0 || level.solveTime <= 0)
        DataWarning("minigame of store " + store.name + " has a preview, hide or solve time of 0");
    store.levels.push_back(std::move(level));
    mLevelIndex = static_cast<int>(store.levels.size()) - 1;
}

void LevelStats::ReadBuyCounts(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    LevelInfo* level = CurrentLevelOrError(element.mText);
    if (!level)
        return;
    BuyCounts& counts = level->buyCounts[MakeStoreKey(Attribute(element, "customer"), store.number)];
    counts.expensiveItems = DataConvert::Integer(Attribute(element, "expensive-items"));
    counts.chicItems = DataConvert::Integer(Attribute(element, "chic-items"));
    counts.mediumItems = DataConvert::Integer(Attribute(element, "medium-items"));
}

void LevelStats::ReadArrival(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    LevelInfo* level = CurrentLevelOrError(element.mText);
    if (!level)
        return;
    CustomerArrival arrival;
    arrival.customerKey = MakeStoreKey(Attribute(element, "name"), store.number);
    arrival.delay = DataConvert::Hundredths(Attribute(element, "time"));
    level->arrivals.push_back(std::move(arrival));
}

void LevelStats::ReadMannequin(const Zestra::ParsedElement& element)
{
    // stores.xml places the store's mannequins; in levels.xml a mannequin belongs to the current minigame.
    if (mReadingLevels)
        ReadLevelMannequin(element);
    else
        ReadStoreMannequin(element);
}

void LevelStats::StartStore(const Zestra::ParsedElement& element)
{
    auto store = std::make_unique<StoreInfo>();
    store->number = static_cast<int>(gStores.size()) + 1;
    store->name = Attribute(element, "name");
    if (store->name.empty())
        DataError("<store> without a name; its images cannot be found");
    mStore = store.get();
    gStores.push_back(std::move(store));
    mFurniture = nullptr;
    mSpotIndex = -1;
    mLevelIndex = -1;
    mLevelIdCounter = 0;

    StoreInfo& info = *mStore;
    const std::string folder = info.name + "/";
    for (const char* name : kStoreImageNames)
    {
        Zestra::Image* image = LoadImage(folder + name);
        info.images[name] = image;
        if (!image)
        {
            const std::string what = "store image " + ImageFolder() + folder + name + " is missing";
            if (IsOptionalStoreImage(name))
                DataWarning(what);
            else
                DataError(what);
        }
        mHost.OnLoadingStep();
    }
    if (Zestra::Image* door = info.GetImage("ChangingRoomDoor"))
    {
        if (door->GetWidth() < kDoorFrameWidth)
            DataError("ChangingRoomDoor of store " + info.name + " is narrower than one " +
                      std::to_string(kDoorFrameWidth) + "-pixel frame");
        // SetCelGrid keeps at least one column, so a narrow strip still draws.
        door->SetCelGrid(door->GetCelRows(), door->GetWidth() / kDoorFrameWidth);
    }
}

void LevelStats::StartLevelsStore()
{
    ++mLevelsStoreCount;
    mFurniture = nullptr;
    mSpotIndex = -1;
    mLevelIndex = -1;
    mLevelIdCounter = 0;
    if (mLevelsStoreCount > static_cast<int>(gStores.size()))
    {
        if (!mSkipExtraStore)
            DataError("levels.xml has more <store> elements than stores.xml (" + std::to_string(gStores.size()) +
                      "); the extra ones are ignored");
        mSkipExtraStore = true;
        mStore = nullptr;
        return;
    }
    mStore = gStores[static_cast<size_t>(mLevelsStoreCount) - 1].get();
}

void LevelStats::AddFurnitureStep(const Zestra::ParsedElement& element)
{
    StoreInfo& store = *mStore;
    if (mSpotIndex == kSkippedSpot)
        return; // reported with its spot
    if (mSpotIndex < 0)
    {
        DataError("<furniture> comes before any <layout> of store " + store.name + "; ignored");
        return;
    }
    FloorSpot& spot = store.floorSpots[static_cast<size_t>(mSpotIndex)];
    const std::string& type = Attribute(element, "type");
    auto found = store.furnitureTypes.find(type);
    if (found == store.furnitureTypes.end())
    {
        DataError("furniture type \"" + type + "\" is not defined by a <def-furniture> of store " + store.name +
                  " before it; it has no picture and holds nothing");
        found = store.furnitureTypes.emplace(type, FurnitureInfo()).first;
        found->second.type = type;
    }
    FurnitureInfo& furniture = found->second;

    FurnitureUpgrade step;
    step.furniture = &furniture;
    step.price = DataConvert::Integer(Attribute(element, "price"));
    const std::string& clothingName = Attribute(element, "clothing");
    if (!clothingName.empty())
    {
        step.clothing = FindClothing(store.number, clothingName);
        mClothing.ReportAt(CurrentFile(), CurrentLine());
        if (step.clothing == 0)
            step.clothing = mClothing.RegisterClothing(store.number, store.name, clothingName,
                                                       DataConvert::Integer(Attribute(element, "cost")));
    }
    else if (!spot.upgrades.empty())
    {
        step.clothing = spot.upgrades.back().clothing;
    }
    else
    {
        DataError("the first <furniture> step of a floor spot of store " + store.name +
                  " names no clothing; the spot never sells anything");
    }
    step.furnitureOnly = !spot.upgrades.empty() && spot.upgrades.back().clothing == step.clothing &&
                         spot.upgrades.back().furniture != step.furniture;
    spot.upgrades.push_back(step);
    if (spot.firstClothing == 0)
        spot.firstClothing = step.clothing;
}

LevelInfo* LevelStats::CurrentLevelOrError(const std::string& tag)
{
    if (mLevelIndex < 0)
    {
        DataError("<" + tag + "> comes before any <level> or <minigame> of store " + mStore->name + "; ignored");
        return nullptr;
    }
    return &mStore->levels[static_cast<size_t>(mLevelIndex)];
}

int StoreCount()
{
    return static_cast<int>(gStores.size());
}

const StoreInfo* GetStoreInfo(int number)
{
    if (number < 1 || number > static_cast<int>(gStores.size()))
        return nullptr;
    return gStores[static_cast<size_t>(number) - 1].get();
}

int MainMenuSong()
{
    return gMainMenuSong;
}

int MapSong()
{
    return gMapSong;
}

int PlayableStoreCount()
{
    return gPlayableStoreCount;
}

void FreeStoreTable()
{
    gStores.clear();
    gMainMenuSong = -1;
    gMapSong = -1;
    gPlayableStoreCount = 0;
}
