// A mannequin showing a top and/or a bottom; each garment is a clickable ClothingButton that it owns. The body
// picture follows what it wears (full body, or only the upper or lower half).
#pragma once

#include "game/scene/Component.h"

#include <memory>

class BackRoom;
class ClothingButton;

class Mannequin : public Component
{
public:
    Mannequin(int x, int y, bool male, BackRoom* backRoom);
    ~Mannequin() override;

    void Draw(Zestra::Graphics& g) override;
    // Both return the new button, which stays owned by the mannequin.
    ClothingButton* AddTopButton(int clothing);
    ClothingButton* AddBottomButton(int clothing);

    std::unique_ptr<ClothingButton> topButton;
    std::unique_ptr<ClothingButton> bottomButton;
    BackRoom* backRoom; // not owned
    bool male;
};
