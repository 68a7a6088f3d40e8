#include "game/store/Mannequin.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/res/Res.h"
#include "game/store/ClothingButton.h"

namespace
{
// A top longer than this covers the legs, so the mannequin needs its full body.
constexpr int kLongTopHeight = 60;
} // namespace

Mannequin::Mannequin(int x, int y, bool male, BackRoom* backRoom)
    : Component(x, y, male ? IMAGE_MANNEQUIN_MALE.get() : IMAGE_MANNEQUIN_FEMALE.get()), backRoom(backRoom),
      male(male)
{
}

Mannequin::~Mannequin() = default;

void Mannequin::Draw(Zestra::Graphics& g)
{
    Component::Draw(g);
    if (bottomButton)
        bottomButton->Draw(g);
    if (topButton)
        topButton->Draw(g);
}

ClothingButton* Mannequin::AddTopButton(int clothing)
{
    int celWidth = image != nullptr ? image->GetCelWidth() : 0;
    topButton = std::make_unique<ClothingButton>(x + celWidth / 2, y + 8, clothing, true, backRoom);
    const Zestra::Image* picture = topButton->image;
    bool longTop = picture != nullptr && picture->GetHeight() > kLongTopHeight;
    if (bottomButton || longTop)
        image = male ? IMAGE_MANNEQUIN_MALE.get() : IMAGE_MANNEQUIN_FEMALE.get();
    else
        image = male ? IMAGE_MANNEQUIN_MALE_TOP.get() : IMAGE_MANNEQUIN_FEMALE_TOP.get();
    return topButton.get();
}

ClothingButton* Mannequin::AddBottomButton(int clothing)
{
    if (topButton)
        image = male ? IMAGE_MANNEQUIN_MALE.get() : IMAGE_MANNEQUIN_FEMALE.get();
    else
        image = male ? IMAGE_MANNEQUIN_MALE_BOTTOM.get() : IMAGE_MANNEQUIN_FEMALE_BOTTOM.get();
    int celWidth = image != nullptr ? image->GetCelWidth() : 0;
    bottomButton = std::make_unique<ClothingButton>(x + celWidth / 2 + (male ? 2 : 0), y + 45, clothing, false,
                                                    backRoom);
    return bottomButton.get();
}
