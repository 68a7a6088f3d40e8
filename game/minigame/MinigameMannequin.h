// A mannequin of the memory game. Dress gives it the outfit shown in the preview; Place takes the player's cards,
// each slot (top, bottom) once per stage, so a wrong card blocks its slot. The preview pieces stay after the clothes
// come off (only their "shown" flags are cleared): they are what the player's cards are compared with.
#pragma once

#include "game/scene/Component.h"

#include <memory>

class MinigameBonus;
class MinigameClothing;
struct MinigameClothingInfo;

class MinigameMannequin : public Component
{
public:
    MinigameMannequin(int x, int y, bool male);
    ~MinigameMannequin() override;

    void Draw(Zestra::Graphics& g) override;

    // Whether Dress would accept the piece now.
    bool CanDress(const MinigameClothingInfo& clothing) const;
    // Puts a piece of the preview outfit on; false (and nothing changes) when the mannequin refuses it.
    bool Dress(const MinigameClothingInfo& clothing);
    // A card dropped on the mannequin while solving. Null when the card is refused (wrong gender, slot already
    // placed); otherwise the card is worn from now on and the result shows as the returned bonus, worth
    // bonusValue when the card is the piece of the preview and 0 when it is not.
    std::unique_ptr<MinigameBonus> Place(const MinigameClothing& card, double bonusValue);

    // Top piece and (bottom piece or dress).
    bool IsComplete() const;
    // Every slot the outfit needs has had a card.
    bool IsPlaced() const;
    int CentreX() const;
    // Where a piece of the given picture width sits.
    int TopX(int pieceWidth) const;
    int TopY() const;
    int BottomX(int pieceWidth) const;
    int BottomY() const;

    std::unique_ptr<MinigameClothing> topPiece;
    std::unique_ptr<MinigameClothing> bottomPiece;
    bool dress = false; // the top piece covers top and bottom
    bool male = false;
    bool topShown = false;
    bool bottomShown = false;
    bool topPlaced = false;
    bool bottomPlaced = false;
};
