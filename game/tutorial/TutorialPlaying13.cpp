#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/people/ClothingShelf.h"
#include "game/people/Merchant.h"
#include "game/people/MerchantAction.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/store/ActiveComponent.h"
#include "game/tutorial/TextBoxes.h"
#include "game/tutorial/TutorialLessons.h"

namespace
{
constexpr StepBox kBoxes[TutorialPlaying13::kLastStep + 1] = {
    {"tutorial13_intro1", 265, 300, true},
    {"tutorial13_intro2", 265, 300, true},
    {"tutorial13_double_click", 345, 25, false},
    {"tutorial13_double_click", 345, 25, false},
    {},
    {},
    {"tutorial13_put_down", 345, 25, false},
    {"tutorial13_put_down", 345, 25, false},
    {"tutorial13_end", 265, 300, true},
    {},
};
} // namespace

TutorialPlaying13::TutorialPlaying13(Zestra::Board& owner) : TutorialPlaying(owner)
{
    ClothingShelf* shelf = board.PickFurnitureWithClothing(FindClothing(1, "girls_croppants"));
    if (shelf == nullptr)
    {
        // Nothing to teach on this floor: the lesson ends on its first update.
        step = kLastStep;
        return;
    }
    shelf->TakeItem(0);
    shelf->TakeItem(1);
}

StepBox TutorialPlaying13::CurrentBox() const
{
    return kBoxes[step];
}

bool TutorialPlaying13::WaitsForClick() const
{
    return kBoxes[step].clickToContinue;
}

void TutorialPlaying13::Draw(Zestra::Graphics& g)
{
    if (step == 3 && IMAGE_NUMBERS.get() != nullptr)
        g.BlitCell(IMAGE_NUMBERS.get(), markerX, markerY, 0);
    DrawStepBox(*this, g, CurrentBox());
    DrawArrows(g);
}

void TutorialPlaying13::OnClick(int x, int y, Merchant* merchant)
{
    switch (step)
    {
    case 0:
        GoTo(1);
        return;
    case 1:
        GoTo(2);
        AddArrow(708, 98, 729, 88, -1, true);
        return;
    case 2:
    case 3: {
        auto hit = ArrowAt(x, y);
        if (hit == arrows.end())
            return;
        auto* target = dynamic_cast<ActiveComponent*>(hit->target);
        if (step == 2)
        {
            // The first click only shows what a queued order looks like.
            GoTo(3);
            if (target != nullptr)
            {
                Zestra::Point spot = target->GetNumberPosition(0);
                markerX = spot.mX;
                markerY = spot.mY;
            }
            AddArrow(708, 98, 729, 88, -1, true);
            return;
        }
        GoTo(4);
        for (int order = 0; order < 2 && target != nullptr && merchant != nullptr; ++order)
        {
            if (std::unique_ptr<MerchantAction> made = target->CreateMerchantAction(*merchant))
                merchant->AddAction(std::move(made));
        }
        arrows.erase(hit);
        return;
    }
    case 8:
        GoTo(9);
        break;
    default:
        break;
    }
    ArrowClick(x, y, merchant);
}

void TutorialPlaying13::OnActionFinished(Person&)
{
    switch (step)
    {
    case 4:
        GoTo(5);
        break;
    case 5:
        GoTo(6);
        AddArrow(542, 230, 523, 150, 0, true);
        AddArrow(580, 222, 563, 142, 0, false);
        break;
    case 6:
        GoTo(7);
        break;
    case 7:
        GoTo(8);
        break;
    default:
        break;
    }
}
