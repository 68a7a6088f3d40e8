// What the upgrade shop can sell a run, and the purchase rules. The offers come in the order the shop floor shows
// them (merchant, goodie rack, changing room, then the floor spots in store order). A purchase is paid from the
// run's cash and never takes it below zero; a furniture-only step waits until every floor spot has furniture.
#pragma once

#include <string>
#include <vector>

struct GameState;
struct StoreInfo;

enum class ShopKind
{
    ChangingRoom,
    Merchant,
    GoodieRack,
    Furniture,
};

struct ShopOffer
{
    ShopKind kind = ShopKind::ChangingRoom;
    int price = 0;
    // What the purchase brings the run to: the room index (changing room), the merchant level, 1 (goodie rack) or
    // the furniture step.
    int step = 0;
    int spot = -1;              // furniture: floor spot index
    bool furnitureOnly = false; // furniture: the step changes the furniture and keeps the clothing
    int clothing = 0;           // furniture: clothing id the spot sells after the purchase
    std::string itemName;       // stem of the text keys "buy_<itemName>" and "buy_<itemName>_msg"
};

enum class PurchaseCheck
{
    Allowed,
    TooDear,    // the price is above the run's cash
    SpotsEmpty, // a furniture-only step while some floor spot has no furniture yet
    NotOffered, // the run has moved on (already bought, or never sold in this store)
};

// Every offer of the run's store for the run as it stands; empty without a store.
std::vector<ShopOffer> ListShopOffers(const GameState& run);
// The same for a store given apart from the run (the run's own store link is not used).
std::vector<ShopOffer> ListShopOffers(const GameState& run, const StoreInfo& store);

// Text key stems of the four kinds.
std::string ChangingRoomItemName();
std::string GoodieRackItemName(int storeNumber);
// Furniture steps: the furniture type for a furniture-only step, else the clothing key of the step.
std::string FurnitureItemName(const StoreInfo& store, int spot, int step);

// Whole cents decide, so that cash that shows as $100.00 buys an item priced 100.
bool CanAfford(double cash, int price);
PurchaseCheck CheckPurchase(const GameState& run, const ShopOffer& offer);
// Takes the price from the cash; false (cash unchanged) when it would go below zero. Rounding dust left after an
// exact payment becomes 0.
bool PayFromCash(double& cash, int price);
// Applies what was bought to the run, without paying.
void ApplyPurchase(GameState& run, const ShopOffer& offer);
// Checks, pays and applies; false leaves the run unchanged.
bool BuyOffer(GameState& run, const ShopOffer& offer);

// Replaces every "%c" of the text by the price's text (formatted as money by the caller).
std::string FillClothingPrice(const std::string& text, const std::string& value);
