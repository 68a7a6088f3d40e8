#include "game/diag/ShoppingRule.h"

#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/profile/GameState.h"
#include "game/shoprules/ShopOffers.h"

namespace
{

constexpr int kNotWanted = 100;

// Mean price of the clothing the furnished spots sell; 0 with none.
double FloorPriceMean(const GameState& run)
{
    if (run.store == nullptr)
        return 0.0;
    double sum = 0.0;
    int count = 0;
    for (size_t j = 0; j < run.furnitureLevels.size() && j < run.store->floorSpots.size(); ++j)
    {
        const FloorSpot& spot = run.store->floorSpots[j];
        const int level = run.furnitureLevels[j];
        if (level < 0 || level >= int(spot.upgrades.size()))
            continue;
        sum += GetClothing(spot.upgrades[size_t(level)].clothing).price;
        ++count;
    }
    return count > 0 ? sum / count : 0.0;
}

// Lower is wanted first.
int Preference(const GameState& run, const ShopOffer& offer)
{
    switch (offer.kind)
    {
    case ShopKind::ChangingRoom:
        return 0;
    case ShopKind::Merchant:
        return 1;
    case ShopKind::GoodieRack:
        return 4;
    case ShopKind::Furniture:
        break;
    }
    if (offer.furnitureOnly)
        return 5;
    const bool emptySpot =
        offer.spot >= 0 && offer.spot < int(run.furnitureLevels.size()) && run.furnitureLevels[size_t(offer.spot)] < 0;
    if (!emptySpot)
        return 3;
    return GetClothing(offer.clothing).price >= FloorPriceMean(run) ? 2 : kNotWanted;
}

} // namespace

int ChooseShopOffer(const GameState& run, const std::vector<ShopOffer>& offers)
{
    int best = -1;
    for (size_t i = 0; i < offers.size(); ++i)
    {
        if (CheckPurchase(run, offers[i]) != PurchaseCheck::Allowed || Preference(run, offers[i]) == kNotWanted)
            continue;
        if (best < 0)
        {
            best = int(i);
            continue;
        }
        const ShopOffer& chosen = offers[size_t(best)];
        const int a = Preference(run, offers[i]);
        const int b = Preference(run, chosen);
        if (a < b || (a == b && offers[i].price < chosen.price))
            best = int(i);
    }
    return best;
}
