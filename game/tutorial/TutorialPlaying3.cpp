#include "game/shopday/Board.h"
#include "game/tutorial/TextBoxes.h"
#include "game/tutorial/TutorialLessons.h"

namespace
{
constexpr StepBox kBoxes[TutorialPlaying3::kLastStep + 1] = {
    {"tutorial3_intro1", 265, 300, true},
    {"tutorial3_intro2", 265, 300, false},
    {"tutorial3_gift_wrap", 390, 90, false},
    {"tutorial3_wait_to_pay", 265, 300, false},
    {"tutorial3_ready_to_pay", 0, 155, false},
    {},
    {},
};
} // namespace

TutorialPlaying3::TutorialPlaying3(Zestra::Board& owner) : TutorialPlaying(owner)
{
    EnterCustomer("Brisk3", 3, "mens_tshirt", -1, -1, -1, Errand::Wish);
}

StepBox TutorialPlaying3::CurrentBox() const
{
    return kBoxes[step];
}

bool TutorialPlaying3::WaitsForClick() const
{
    return kBoxes[step].clickToContinue;
}

void TutorialPlaying3::Draw(Zestra::Graphics& g)
{
    DrawStepBox(*this, g, CurrentBox());
    DrawArrows(g);
}

void TutorialPlaying3::OnClick(int x, int y, Merchant* merchant)
{
    if (step == 0)
        GoTo(1);
    else if (step < kLastStep)
        ArrowClick(x, y, merchant);
}

void TutorialPlaying3::OnCustomerLeft()
{
    GoTo(kLastStep);
}

void TutorialPlaying3::OnActionFinished(Person& person)
{
    if (IsOwn(person))
        return;
    if (step == 2)
        GoTo(3);
    else if (step == 4)
        GoTo(5);
}

void TutorialPlaying3::OnCashRegisterHead(Customer&)
{
    GoTo(4);
    AddArrow(42, 383, 24, 290, 0, true);
}

void TutorialPlaying3::OnCustomerServiceHead()
{
    GoTo(2);
    AddArrow(725, 220, 703, 130, 0, true);
}
