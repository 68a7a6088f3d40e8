// The upgrade shop's offers mirror the floor builder's shop view: one offer per shop item it makes, in its order.
#include "game/shoprules/ShopOffers.h"

#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/data/Money.h"
#include "game/profile/GameState.h"

#include <algorithm>

namespace
{

bool SameOffer(const ShopOffer& a, const ShopOffer& b)
{
    return a.kind == b.kind && a.step == b.step && a.spot == b.spot && a.price == b.price;
}

} // namespace

std::string ChangingRoomItemName()
{
    return "changing_room";
}

std::string GoodieRackItemName(int storeNumber)
{
    return "goodie_rack" + std::to_string(storeNumber);
}

std::string FurnitureItemName(const StoreInfo& store, int spot, int step)
{
    if (spot < 0 || spot >= int(store.floorSpots.size()))
        return std::string();
    const FloorSpot& floorSpot = store.floorSpots[size_t(spot)];
    if (step < 0 || step >= int(floorSpot.upgrades.size()))
        return std::string();
    const FurnitureUpgrade& upgrade = floorSpot.upgrades[size_t(step)];
    if (upgrade.furnitureOnly)
        return upgrade.furniture != nullptr ? upgrade.furniture->type : std::string();
    return GetClothing(upgrade.clothing).key;
}

std::vector<ShopOffer> ListShopOffers(const GameState& run)
{
    if (run.store == nullptr)
        return {};
    return ListShopOffers(run, *run.store);
}

std::vector<ShopOffer> ListShopOffers(const GameState& run, const StoreInfo& store)
{
    std::vector<ShopOffer> offers;

    if (!store.merchantLevels.empty())
    {
        const int top = int(store.merchantLevels.size()) - 1;
        const int current = std::clamp(run.merchantLevel, 0, top);
        if (current < top)
        {
            const MerchantLevelInfo& next = store.merchantLevels[size_t(current + 1)];
            ShopOffer offer;
            offer.kind = ShopKind::Merchant;
            offer.price = next.price;
            offer.step = current + 1;
            offer.itemName = next.name;
            offers.push_back(offer);
        }
    }

    if (run.goodieRack == 0)
    {
        ShopOffer offer;
        offer.kind = ShopKind::GoodieRack;
        offer.price = store.goodieRackPrice;
        offer.step = 1;
        offer.itemName = GoodieRackItemName(store.number);
        offers.push_back(offer);
    }

    // Only a room that has a price of its own is for sale: a run that owns fewer rooms than the store starts with
    // (a damaged saved game) gets none.
    const int owned = std::max(0, run.changingRooms);
    const int priceIndex = owned - store.initialChangingRooms;
    if (priceIndex >= 0 && priceIndex < int(store.changingRoomPrices.size()))
    {
        ShopOffer offer;
        offer.kind = ShopKind::ChangingRoom;
        offer.price = store.changingRoomPrices[size_t(priceIndex)];
        offer.step = owned;
        offer.itemName = ChangingRoomItemName();
        offers.push_back(offer);
    }

    for (size_t j = 0; j < store.floorSpots.size(); ++j)
    {
        const FloorSpot& spot = store.floorSpots[j];
        const int step = j < run.furnitureLevels.size() ? std::max(-1, run.furnitureLevels[j]) : -1;
        if (step + 1 >= int(spot.upgrades.size()))
            continue;
        const FurnitureUpgrade& next = spot.upgrades[size_t(step + 1)];
        ShopOffer offer;
        offer.kind = ShopKind::Furniture;
        offer.price = next.price;
        offer.step = step + 1;
        offer.spot = int(j);
        offer.furnitureOnly = next.furnitureOnly;
        offer.clothing = next.clothing;
        offer.itemName = FurnitureItemName(store, int(j), step + 1);
        offers.push_back(offer);
    }
    return offers;
}

bool CanAfford(double cash, int price)
{
    return MoneyCents(cash) >= MoneyCents(std::max(0, price));
}

PurchaseCheck CheckPurchase(const GameState& run, const ShopOffer& offer)
{
    const std::vector<ShopOffer> offers = ListShopOffers(run);
    if (std::none_of(offers.begin(), offers.end(), [&](const ShopOffer& o) { return SameOffer(o, offer); }))
        return PurchaseCheck::NotOffered;
    if (offer.kind == ShopKind::Furniture && offer.furnitureOnly && !run.AllSpotsFurnished())
        return PurchaseCheck::SpotsEmpty;
    if (!CanAfford(run.cash, offer.price))
        return PurchaseCheck::TooDear;
    return PurchaseCheck::Allowed;
}

bool PayFromCash(double& cash, int price)
{
    if (!CanAfford(cash, price))
        return false;
    cash = AddMoney(cash, -std::max(0, price));
    return true;
}

void ApplyPurchase(GameState& run, const ShopOffer& offer)
{
    switch (offer.kind)
    {
    case ShopKind::ChangingRoom:
        run.changingRooms += 1;
        break;
    case ShopKind::Merchant:
        run.merchantLevel += 1;
        break;
    case ShopKind::GoodieRack:
        run.goodieRack = 1;
        break;
    case ShopKind::Furniture:
        run.UpgradeFurniture(offer.spot);
        break;
    }
}

bool BuyOffer(GameState& run, const ShopOffer& offer)
{
    if (CheckPurchase(run, offer) != PurchaseCheck::Allowed)
        return false;
    if (!PayFromCash(run.cash, offer.price))
        return false;
    ApplyPurchase(run, offer);
    return true;
}

std::string FillClothingPrice(const std::string& text, const std::string& value)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'c')
        {
            result += value;
            ++i;
            continue;
        }
        result += text[i];
    }
    return result;
}
