// The built-in player's shopping rule. Between days it keeps buying while its cash allows, always the most useful
// offer it can afford, in this order of preference:
//   1. another changing room (customers queue for the rooms more than for anything else),
//   2. the next merchant level (every order of the day goes faster),
//   3. a new clothing line on an empty floor spot, but only one that sells for at least the average price of the
//      clothing already on the floor: customers mostly take the cheapest line they like, so a cheap new line
//      lowers the takings,
//   4. the dearer clothing of a furnished spot (each sale is worth more),
//   5. the goodie rack (bigger tips),
//   6. a bigger piece of furniture that keeps its clothing (fewer restocks).
// Within one kind the cheapest offer comes first. An offer the run cannot afford, or a bigger piece of furniture
// refused while a spot is empty, is passed over; when nothing is left that it can buy, it presses done.
#pragma once

#include <vector>

struct GameState;
struct ShopOffer;

// Index into offers of the one to buy now, or -1 for none.
int ChooseShopOffer(const GameState& run, const std::vector<ShopOffer>& offers);
