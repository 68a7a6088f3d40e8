#include "game/minigame/MinigameClothing.h"

#include "framework/graphics/Image.h"
#include "game/data/LevelStats.h"

MinigameClothing::MinigameClothing(int x, int y, const MinigameClothingInfo& info)
    : Component(x, y, info.image), name(info.name), male(info.male), kind(info.kind)
{
}

MinigameClothing::MinigameClothing(int x, int y, const MinigameClothing& piece)
    : Component(x, y, piece.image), name(piece.name), male(piece.male), kind(piece.kind)
{
}

int MinigameClothing::CelWidth() const
{
    return image != nullptr ? image->GetCelWidth() : 0;
}

int MinigameClothing::CelHeight() const
{
    return image != nullptr ? image->GetCelHeight() : 0;
}
