#include "game/minigame/MinigameMannequin.h"

#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/minigame/MinigameBonus.h"
#include "game/minigame/MinigameClothing.h"
#include "game/res/Res.h"

namespace
{
constexpr int kTopOffsetY = 10;
constexpr int kBottomOffsetX = 3;
constexpr int kBottomOffsetY = 63;
// The female figure is a little narrower and shorter at the hips.
constexpr int kFemaleBottomShiftX = 4;
constexpr int kFemaleBottomShiftY = 3;
// Above the slot: where the result of a drop appears.
constexpr int kTopBonusOffsetY = 20;
constexpr int kBottomBonusOffsetY = 80;

int PictureWidth(const Zestra::Image* image)
{
    return image != nullptr ? image->GetWidth() : 0;
}
} // namespace

MinigameMannequin::MinigameMannequin(int x, int y, bool male)
    : Component(x, y, male ? IMAGE_MINIGAME_MANNEQUIN_MALE.get() : IMAGE_MINIGAME_MANNEQUIN_FEMALE.get()),
      male(male)
{
}

MinigameMannequin::~MinigameMannequin() = default;

void MinigameMannequin::Draw(Zestra::Graphics& g)
{
    Component::Draw(g);
    if (bottomPiece && bottomShown)
        bottomPiece->Draw(g);
    if (topPiece && topShown)
        topPiece->Draw(g);
}

bool MinigameMannequin::CanDress(const MinigameClothingInfo& clothing) const
{
    if (clothing.male != male)
        return false;
    if (clothing.kind == 1)
        return !bottomPiece && !dress;
    return !topPiece && !(clothing.kind == 2 && bottomPiece);
}

bool MinigameMannequin::Dress(const MinigameClothingInfo& clothing)
{
    if (!CanDress(clothing))
        return false;
    int width = PictureWidth(clothing.image);
    if (clothing.kind == 1)
    {
        bottomPiece = std::make_unique<MinigameClothing>(BottomX(width), BottomY(), clothing);
        bottomShown = true;
        return true;
    }
    dress = clothing.kind == 2;
    topPiece = std::make_unique<MinigameClothing>(TopX(width), TopY(), clothing);
    topShown = true;
    return true;
}

std::unique_ptr<MinigameBonus> MinigameMannequin::Place(const MinigameClothing& card, double bonusValue)
{
    if (card.male != male)
        return nullptr;
    int width = PictureWidth(card.image);
    if (card.kind == 1)
    {
        if (bottomPlaced || dress)
            return nullptr;
        bool right = bottomPiece && bottomPiece->name == card.name;
        bottomPiece = std::make_unique<MinigameClothing>(BottomX(width), BottomY(), card);
        bottomShown = true;
        bottomPlaced = true;
        return std::make_unique<MinigameBonus>(CentreX(), y + kBottomBonusOffsetY, right ? bonusValue : 0.0, right);
    }
    if (topPlaced || (card.kind == 2 && bottomPlaced))
        return nullptr;
    bool right = topPiece && topPiece->name == card.name;
    dress = card.kind == 2;
    topPiece = std::make_unique<MinigameClothing>(TopX(width), TopY(), card);
    topShown = true;
    topPlaced = true;
    return std::make_unique<MinigameBonus>(CentreX(), y + kTopBonusOffsetY, right ? bonusValue : 0.0, right);
}

bool MinigameMannequin::IsComplete() const
{
    return topPiece && (bottomPiece || dress);
}

bool MinigameMannequin::IsPlaced() const
{
    return topPlaced && (dress || bottomPlaced);
}

int MinigameMannequin::CentreX() const
{
    return x + (image != nullptr ? image->GetCelWidth() : 0) / 2;
}

int MinigameMannequin::TopX(int pieceWidth) const
{
    return CentreX() - pieceWidth / 2;
}

int MinigameMannequin::TopY() const
{
    return y + kTopOffsetY;
}

int MinigameMannequin::BottomX(int pieceWidth) const
{
    return CentreX() - pieceWidth / 2 + kBottomOffsetX - (male ? 0 : kFemaleBottomShiftX);
}

int MinigameMannequin::BottomY() const
{
    return y + kBottomOffsetY - (male ? 0 : kFemaleBottomShiftY);
}
