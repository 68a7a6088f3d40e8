#include "game/tutorial/TutorialShopping.h"

#include "game/shopday/Board.h"
#include "game/shopday/ShoppingComponent.h"
#include "game/tutorial/TextBoxes.h"

namespace
{
constexpr StepBox kBoxes[TutorialShopping::kLastStep + 1] = {
    {"tutorial_shopping_intro1", 265, 300, true},
    {"tutorial_shopping_intro2", 265, 300, true},
    {"tutorial_shopping_intro3", 265, 300, true},
    {"tutorial_shopping_buy_equipment", 90, 120, false},
    {"tutorial_shopping_good_job", 265, 300, true},
    {"tutorial_shopping_done_button", 500, 350, false},
    {},
};

// A point on the badge of the changing room on offer, and where its arrow is drawn.
constexpr int kRoomBadgeX = 155;
constexpr int kRoomBadgeY = 30;
constexpr int kRoomArrowX = 75;
constexpr int kRoomArrowY = 18;
constexpr int kDoneArrowX = 660;
constexpr int kDoneArrowY = 470;
constexpr int kRight = 1;
constexpr int kDown = 0;
} // namespace

TutorialShopping::TutorialShopping(Zestra::Board& owner) : Tutorial(owner)
{
    if (board.run.Progress() != nullptr)
        initialRooms = board.run.Progress()->changingRooms;
    UpdateDoneButton();
}

Component* TutorialShopping::FindTargetAt(int x, int y) const
{
    return board.FindShopItemAt(x, y);
}

StepBox TutorialShopping::CurrentBox() const
{
    return kBoxes[step];
}

bool TutorialShopping::WaitsForClick() const
{
    return kBoxes[step].clickToContinue;
}

void TutorialShopping::Draw(Zestra::Graphics& g)
{
    DrawStepBox(*this, g, CurrentBox());
    DrawArrows(g);
}

void TutorialShopping::OnMouseDown(int x, int y, int clicks)
{
    if (clicks < 0)
        return;
    switch (step)
    {
    case 0:
    case 1:
        GoTo(step + 1);
        break;
    case 2:
        GoTo(kBuyStep);
        CheckPurchase();
        break;
    case kBuyStep:
        if (auto arrow = ArrowAt(x, y); arrow != arrows.end())
        {
            auto* item = static_cast<ShoppingComponent*>(arrow->target);
            arrows.erase(arrow);
            // The board asks the lesson again once the panel has closed, bought or not.
            item->OpenPanel(board);
        }
        else
            Pulse();
        break;
    case 4:
        GoTo(kDoneStep);
        UpdateDoneButton();
        ArrowAtDoneButton();
        break;
    default:
        // The done button takes its own clicks; one anywhere else missed what the arrow shows.
        if (!arrows.empty())
            Pulse();
        break;
    }
}

void TutorialShopping::CheckPurchase()
{
    // Only the buying step waits for a panel; a later one must not be sent back to the praise.
    if (step != kBuyStep)
        return;
    if (board.run.Progress() != nullptr && board.run.Progress()->changingRooms > initialRooms)
    {
        arrows.clear();
        GoTo(4);
        return;
    }
    AddArrow(kRoomBadgeX, kRoomBadgeY, kRoomArrowX, kRoomArrowY, kRight, true);
    // A run that cannot buy the room (no such offer on this floor, or too little cash) would be held here for
    // good with the done button off: it is shown the way out instead.
    const auto* badge = static_cast<const ShoppingComponent*>(arrows.back().target);
    const bool affordable = badge != nullptr && board.run.Progress() != nullptr &&
                            board.run.Progress()->cash + 0.005 >= double(badge->price);
    if (!affordable)
    {
        GoTo(kDoneStep);
        UpdateDoneButton();
        ArrowAtDoneButton();
    }
}

void TutorialShopping::ArrowAtDoneButton()
{
    // The button is not a shop item: this arrow only points.
    AddArrow(0, 0, kDoneArrowX, kDoneArrowY, kDown, true);
}

void TutorialShopping::UpdateDoneButton()
{
    board.UpdateButtons();
}

void TutorialShopping::OnDonePressed()
{
    arrows.clear();
    GoTo(kLastStep);
}

void TutorialShopping::ForgetTargets()
{
    // The shop items were deleted with the floor; the arrows stay where they are drawn but point at nothing until
    // the lesson sets them again.
    for (TutorialArrow& arrow : arrows)
        arrow.target = nullptr;
}

double TutorialShopping::PriceAt(int x, int y) const
{
    for (const TutorialArrow& arrow : arrows)
        if (arrow.target != nullptr && arrow.target->Contains(x, y))
            return static_cast<const ShoppingComponent*>(arrow.target)->price;
    return 0.0;
}
