#include "game/shopday/Board.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/log/Log.h"
#include "game/data/LevelStats.h"
#include "game/people/Person.h"
#include "game/people/WaitingLine.h"
#include "game/res/Res.h"
#include "game/shoprules/ShopOffers.h"
#include "game/store/BackRoom.h"
#include "game/store/CashCounter.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClothingButton.h"
#include "game/store/ClothingForSale.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/DiscardRack.h"
#include "game/store/Furniture.h"
#include "game/store/GiftWrap.h"
#include "game/store/Mannequin.h"
#include "game/store/Rope.h"

#include <algorithm>
#include <cstdlib>

namespace
{
int WidthOf(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetWidth();
}

void SetColumns(const ResImage& image, int columns)
{
    if (image)
        image->SetCelGrid(1, columns);
}

// Square cels side by side.
void SetSquareCels(const ResImage& image)
{
    if (image && image->GetHeight() > 0)
        image->SetCelGrid(1, image->GetWidth() / image->GetHeight());
}

template <typename T>
T* PickAtRandom(const std::vector<T*>& candidates)
{
    if (candidates.empty())
        return nullptr;
    return candidates[size_t(std::rand()) % candidates.size()];
}
} // namespace

namespace Zestra
{

Board::Board()
{
    SetSquareCels(IMAGE_NUMBERS);
    SetSquareCels(IMAGE_TIMER);
    SetColumns(IMAGE_EXPLOSION, 6);
    SetColumns(IMAGE_ANGRY_CLOUD, 3);
    SetColumns(IMAGE_BACK_ROOM_SMOKE, 5);
    SetColumns(IMAGE_OPEN_SIGN, 10);
    SetColumns(IMAGE_TABLE_SMOKE, 3);
    SetColumns(IMAGE_CHRISTMAS_LIGHTS, 2);
    SetColumns(IMAGE_MENU_STORE_SMOKE, 3);
    SetColumns(IMAGE_MENU_SAW, 8);
    SetColumns(IMAGE_MENU_HAMMER, 6);
}

Board::~Board()
{
    ClearLevel();
}

bool Board::LoadWalkGrid(const std::string& path)
{
    return walkGrid.Load(path);
}

void Board::ClearLevel()
{
    Invalidate();
    // A lesson's people stand in the lines and rooms below.
    EndLesson();
    // Pointer lists first: they borrow from the owning lists below.
    clickables.clear();
    tickers.clear();
    furnitureList.clear();
    mannequins.clear();
    people.clear();
    // Customers point at the lines and rooms below; they go first.
    crowd.Clear();
    draggedDrink.reset();
    merchant = nullptr;
    cashRegister = nullptr;
    serviceDesk = nullptr;
    giftWrap = nullptr;
    backRoom = nullptr;
    sceneItems.clear();
    changingRooms.clear();
    shopItems.clear();
    cashRegisterLine.reset();
    changingRoomLine.reset();
    customerServiceLine.reset();
    drinkStation.reset();
    hud.bannerTimer = -1;
}

std::unique_ptr<Person> Board::MakeMerchant(int level) const
{
    const MerchantLevelInfo& info = run.Store()->merchantLevels[size_t(level)];
    return std::make_unique<Person>(605, 225, info.name, info.speed);
}

std::unique_ptr<Furniture> Board::MakeFurniture(int spot, int step, bool shopView) const
{
    const FloorSpot& floorSpot = run.Store()->floorSpots[size_t(spot)];
    if (step < 0 || step >= int(floorSpot.upgrades.size()))
        return nullptr;
    return std::make_unique<Furniture>(floorSpot.x * 72 + 203, floorSpot.y * 55 + 106,
                                       floorSpot.upgrades[size_t(step)], shopView);
}

bool Board::LoadLevel(bool shop)
{
    Invalidate();
    day.money = day.cash = day.tips = 0.0;
    day.lostCustomers = 0;
    // The shop lesson teaches over the shop view: a purchase builds that view again and the lesson goes on over
    // the new one, pointing at nothing of the old.
    std::unique_ptr<BoardLesson> shopLesson;
    if (shop && lesson && lesson->InShop())
    {
        shopLesson = std::move(lesson);
        shopLesson->ForgetTargets();
    }
    ClearLevel();
    lesson = std::move(shopLesson);
    if (run.Store() == nullptr || !run.Active())
    {
        Zestra::Log("board: no store or run to build a level from");
        return false;
    }
    const LevelInfo* level = run.Store()->GetLevel(run.Progress()->levelIndex);
    bool madeShopItem = BuildFloor(shop, level);
    if (level != nullptr)
    {
        day.clockTicks = level->duration;
        day.goal = level->minGoal;
        day.expertGoal = level->expertGoal;
    }
    // In the shop the HUD's second figure is the price under the mouse: none yet.
    if (shop)
        day.goal = 0;
    walkGrid.SetFurniture(furnitureList);
    hud.ShowButtonsFor(madeShopItem);
    return madeShopItem;
}

bool Board::BuildFloor(bool shop, const LevelInfo* level)
{
    // The order of the pieces is the order of the scene lists: it decides who is drawn first among equals and
    // which click target is tested first.
    bool madeShopItem = PlaceMerchant(shop);
    madeShopItem = PlaceStations(shop, level != nullptr && level->id == 11) || madeShopItem;
    const StoreInfo* store = run.Store();
    if (store->initialDrinks != 0 && store->GetImage("Drink") != nullptr)
        run.RefillDrinks(store->initialDrinks);
    PlaceDrinkStation();
    madeShopItem = PlaceChangingRooms(shop) || madeShopItem;
    PlaceMannequins();
    madeShopItem = PlaceFurniture(shop) || madeShopItem;
    return madeShopItem;
}

void Board::AddChangingRoom(std::unique_ptr<ChangingRoom> room)
{
    changingRooms.push_back(std::move(room));
}

bool Board::OfferInShop(std::unique_ptr<ShoppingComponent> item)
{
    if (!item)
        return false;
    // The floor is built again after every purchase, so the cash it is greyed against stays current.
    const GameState* progress = run.Progress();
    item->affordable = progress != nullptr && CanAfford(progress->cash, item->price);
    shopItems.push_back(std::move(item));
    return true;
}

bool Board::PlaceMerchant(bool shop)
{
    const StoreInfo* store = run.Store();
    if (store->merchantLevels.empty())
        return false;
    int top = int(store->merchantLevels.size()) - 1;
    int current = std::clamp(run.Progress()->merchantLevel, 0, top);
    std::unique_ptr<Person> person = MakeMerchant(current);
    merchant = person.get();
    if (!shop || current >= top || shopFactory == nullptr)
    {
        sceneItems.push_back(std::move(person));
        return false;
    }
    // In the shop view the offer owns the merchant; without an offer there is none on the floor.
    if (OfferInShop(shopFactory->MakeShoppingMerchant(std::move(person), MakeMerchant(current + 1),
                                                      store->merchantLevels[size_t(current + 1)].price)))
        return true;
    merchant = nullptr;
    return false;
}

bool Board::PlaceStations(bool shop, bool december)
{
    const StoreInfo* store = run.Store();
    auto storeImage = [store](const char* name) { return store->GetImage(name); };
    auto room = std::make_unique<BackRoom>(696, 115);
    backRoom = room.get();
    tickers.push_back(room.get());
    sceneItems.push_back(std::move(room));

    // The waiting lines come with the customers; until then the stations have none.

    std::vector<std::unique_ptr<ActiveComponent>> stations; // owned here until they join sceneItems at the end
    auto addStation = [&](std::unique_ptr<ActiveComponent> station) {
        clickables.push_back(station.get());
        stations.push_back(std::move(station));
    };

    auto registerStation =
        std::make_unique<CashRegister>(48, 354, IMAGE_CASH_REGISTER.get(), cashRegisterLine.get());
    cashRegister = registerStation.get();
    tickers.push_back(registerStation.get());
    addStation(std::move(registerStation));

    sceneItems.push_back(std::make_unique<Rope>(120, 220, storeImage("RopeCashRegister")));
    sceneItems.push_back(std::make_unique<Rope>(140, 73, storeImage("RopeChangingRoom")));
    sceneItems.push_back(std::make_unique<Rope>(660, 280, storeImage("RopeCustomerService")));

    bool madeShopItem = false;
    int rackLevel = run.Progress()->goodieRack;
    std::string rackName = "GoodieRack" + std::to_string(rackLevel + 1);
    auto goodieRack = std::make_unique<Component>(73, 356, storeImage(rackName.c_str()));
    if (shop && rackLevel == 0 && shopFactory != nullptr)
    {
        auto next = std::make_unique<Component>(73, 356, storeImage("GoodieRack2"));
        madeShopItem = OfferInShop(
            shopFactory->MakeShoppingGoodieRack(std::move(goodieRack), std::move(next), store->goodieRackPrice));
    }

    auto counter = std::make_unique<CashCounter>(0, 333, storeImage("CashCounter"), std::move(goodieRack), december);
    CashCounter* counterPointer = counter.get();
    sceneItems.push_back(std::move(counter));

    if (store->giftWrapCost > 0.0f)
    {
        auto station = std::make_unique<GiftWrap>(722, 195, customerServiceLine.get());
        giftWrap = station.get();
        addStation(std::move(station));
    }

    Image* deskImage = storeImage("CustomerServiceDesk");
    auto desk = std::make_unique<CustomerServiceDesk>(800 - WidthOf(deskImage), 190, deskImage,
                                                      customerServiceLine.get(), december);
    if (december)
    {
        tickers.push_back(counterPointer);
        tickers.push_back(desk.get());
    }
    serviceDesk = desk.get();
    addStation(std::move(desk));

    addStation(std::make_unique<DiscardRack>(48, 10, storeImage("DiscardRack")));

    for (auto& station : stations)
        sceneItems.push_back(std::move(station));
    return madeShopItem;
}

void Board::PlaceDrinkStation()
{
    Image* drink = run.Store()->GetImage("Drink");
    if (drink == nullptr)
        return;
    int height = drink->GetHeight();
    int top = 578 - height / 2;
    // Keep the station on the board when it is tall.
    if (578 + (height - height / 2) > 600)
        top = 600 - height;
    drinkStation = std::make_unique<Component>(432 - drink->GetWidth() / 2, top, drink);
}

bool Board::PlaceChangingRooms(bool shop)
{
    // The owned ones and, while more can be bought, one more.
    const StoreInfo* store = run.Store();
    bool madeShopItem = false;
    int owned = std::max(0, run.Progress()->changingRooms);
    int buyable = store->initialChangingRooms + int(store->changingRoomPrices.size());
    int buildable = owned < buyable ? owned + 1 : owned;
    for (int i = 0; i < buildable; ++i)
    {
        auto changingRoom = std::make_unique<ChangingRoom>(154 + 101 * i, 0, store->GetImage("ChangingRoom"),
                                                           store->GetImage("ChangingRoomShadow"),
                                                           store->GetImage("ChangingRoomDoor"), changingRoomLine.get());
        if (i < owned)
        {
            clickables.push_back(changingRoom.get());
            tickers.push_back(changingRoom.get());
            changingRooms.push_back(std::move(changingRoom));
            continue;
        }
        int priceIndex = i - store->initialChangingRooms;
        if (shop && shopFactory != nullptr && priceIndex >= 0 && priceIndex < int(store->changingRoomPrices.size()))
            madeShopItem = OfferInShop(shopFactory->MakeShoppingChangingRoom(
                               std::move(changingRoom), store->changingRoomPrices[size_t(priceIndex)])) ||
                           madeShopItem;
    }
    return madeShopItem;
}

void Board::PlaceMannequins()
{
    // Dressed from the run; a mannequin with nothing to wear stays off the floor.
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    std::vector<std::unique_ptr<Mannequin>> dressed;
    for (size_t k = 0; k < store->mannequins.size(); ++k)
    {
        std::pair<int, int> wear =
            k < progress->mannequinClothing.size() ? progress->mannequinClothing[k] : std::pair<int, int>(0, 0);
        if (wear.first == 0 && wear.second == 0)
            continue;
        const MannequinInfo& info = store->mannequins[k];
        auto mannequin = std::make_unique<Mannequin>(info.x * 25 + 530, info.y * 15 + 20, info.male, backRoom);
        if (wear.first != 0)
            clickables.push_back(mannequin->AddTopButton(wear.first));
        if (wear.second != 0)
            clickables.push_back(mannequin->AddBottomButton(wear.second));
        mannequins.push_back(mannequin.get());
        dressed.push_back(std::move(mannequin));
    }
    for (auto& mannequin : dressed)
        sceneItems.push_back(std::move(mannequin));
}

bool Board::PlaceFurniture(bool shop)
{
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    bool madeShopItem = false;
    for (size_t j = 0; j < store->floorSpots.size(); ++j)
    {
        const FloorSpot& spot = store->floorSpots[j];
        int step = j < progress->furnitureLevels.size() ? std::max(-1, progress->furnitureLevels[j]) : -1;
        bool hasNext = step + 1 < int(spot.upgrades.size());
        if (shop && hasNext && shopFactory != nullptr)
        {
            madeShopItem = OfferInShop(shopFactory->MakeShoppingFurniture(
                               MakeFurniture(int(j), step, true), MakeFurniture(int(j), step + 1, true),
                               spot.upgrades[size_t(step + 1)].price, int(j))) ||
                           madeShopItem;
            continue;
        }
        if (step < 0)
            continue;
        std::unique_ptr<Furniture> piece = MakeFurniture(int(j), step, shop);
        if (!piece)
            continue;
        for (auto item = piece->items.rbegin(); item != piece->items.rend(); ++item)
            clickables.push_back(item->get());
        furnitureList.push_back(piece.get());
        sceneItems.push_back(std::move(piece));
    }
    return madeShopItem;
}

void Board::DrawScene(Graphics& g)
{
    for (auto& changingRoom : changingRooms)
        changingRoom->Draw(g);
    for (auto& changingRoom : changingRooms)
        changingRoom->DrawOccupant(g);

    std::vector<Component*> scene;
    scene.reserve(sceneItems.size() + people.size() + shopItems.size());
    for (auto& item : sceneItems)
        item->AddDepthParts(scene);
    for (Person* person : people)
        scene.push_back(person);
    for (auto& item : shopItems)
        item->AddDepthParts(scene);
    // Ties keep list order, which is fixed, so the picture never flickers between frames.
    std::stable_sort(scene.begin(), scene.end(), [](const Component* a, const Component* b) {
        const int depthA = a->DepthY();
        const int depthB = b->DepthY();
        return depthA != depthB ? depthA < depthB : a->x < b->x;
    });
    for (Component* item : scene)
        item->Draw(g);
}

ClothingShelf* Board::PickFurnitureWithClothing(int clothing) const
{
    std::vector<Furniture*> candidates;
    for (Furniture* piece : furnitureList)
        if (piece->clothing == clothing)
            candidates.push_back(piece);
    return PickAtRandom(candidates);
}

int Board::PickClothingForGender(bool male) const
{
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    if (store == nullptr || progress == nullptr)
        return 0;
    std::vector<int> candidates;
    for (size_t j = 0; j < store->floorSpots.size() && j < progress->furnitureLevels.size(); ++j)
    {
        const FloorSpot& spot = store->floorSpots[j];
        int step = progress->furnitureLevels[j];
        if (spot.male == male && step >= 0 && step < int(spot.upgrades.size()))
            candidates.push_back(spot.upgrades[size_t(step)].clothing);
    }
    if (candidates.empty())
        return 0;
    return candidates[size_t(std::rand()) % candidates.size()];
}

int Board::PickClothingByPrice(const int likedLines[4], int wishType) const
{
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    if (store == nullptr || progress == nullptr)
        return 0;
    std::vector<int> clothing;
    std::vector<int> prices;
    for (size_t j = 0; j < store->floorSpots.size() && j < progress->furnitureLevels.size(); ++j)
    {
        const FloorSpot& spot = store->floorSpots[j];
        int step = progress->furnitureLevels[j];
        if (step < 0 || step >= int(spot.upgrades.size()))
            continue;
        if (std::find(likedLines, likedLines + 4, spot.firstClothing) == likedLines + 4)
            continue;
        int id = spot.upgrades[size_t(step)].clothing;
        clothing.push_back(id);
        prices.push_back(GetClothing(id).price);
    }
    // Selection pass; a coin decides between equal prices so that they end up in random order.
    for (size_t p = 0; p < prices.size(); ++p)
        for (size_t q = p + 1; q < prices.size(); ++q)
            if (prices[q] < prices[p] || (prices[q] == prices[p] && (std::rand() & 1) != 0))
            {
                std::swap(prices[p], prices[q]);
                std::swap(clothing[p], clothing[q]);
            }
    size_t n = clothing.size();
    if (n == 0)
        return 0;
    switch (wishType)
    {
    case 0:
        return clothing[0];
    case 1:
        return clothing[(n - 1) / 2];
    case 2:
        return clothing[n / 2];
    case 3:
        return clothing[n - 1];
    default:
        return 0;
    }
}

ChangingRoomPlace* Board::PickFreeChangingRoom() const
{
    std::vector<ChangingRoom*> candidates;
    for (const auto& changingRoom : changingRooms)
        if (changingRoom->IsFree())
            candidates.push_back(changingRoom.get());
    return PickAtRandom(candidates);
}

bool Board::OffersGiftWrap() const
{
    return run.Store() != nullptr && run.Store()->giftWrapCost > 0.0f;
}

ActiveComponent* Board::FindClickableAt(int x, int y) const
{
    for (ActiveComponent* clickable : clickables)
        if (clickable->Contains(x, y))
            return clickable;
    return nullptr;
}

ShoppingComponent* Board::FindShopItemAt(int x, int y) const
{
    for (const auto& item : shopItems)
        if (item->Contains(x, y))
            return item.get();
    return nullptr;
}

} // namespace Zestra
