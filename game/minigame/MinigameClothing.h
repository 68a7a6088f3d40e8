// One clothing picture of the memory game: a card of the tray, the card being dragged, or a piece worn by a
// minigame mannequin. Its picture belongs to the store's media cache.
#pragma once

#include "game/scene/Component.h"

#include <string>

struct MinigameClothingInfo;

class MinigameClothing : public Component
{
public:
    MinigameClothing(int x, int y, const MinigameClothingInfo& info);
    // The same piece (picture and identity) at another place.
    MinigameClothing(int x, int y, const MinigameClothing& piece);

    int CelWidth() const;
    int CelHeight() const;

    std::string name;
    bool male = false;
    int kind = 0; // 0 top, 1 bottom, 2 both (a dress over top and bottom)
};
