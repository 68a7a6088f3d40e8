#include "framework/graphics/Image.h"
#include "game/data/ClothingStats.h"
#include "game/shopday/Board.h"
#include "game/tutorial/TextBoxes.h"
#include "game/tutorial/TutorialLessons.h"

namespace
{
constexpr int kStore = 2;
constexpr int kHalfCel = 60; // half of a person's cel when it has no picture to measure

constexpr StepBox kBoxes[TutorialPlaying2::kLastStep + 1] = {
    {"tutorial2_intro1", 265, 300, true},
    {"tutorial2_intro2", 265, 300, false},
    {"tutorial2_bring_clothes", 265, 300, false},
    {"tutorial2_restock", 265, 300, false},
    {},
    {"tutorial2_impatient", 265, 300, true},
    {"tutorial2_coffee", 265, 300, false},
    {"tutorial2_ready_to_pay", 0, 155, false},
    {"tutorial2_end", 256, 300, true},
    {},
    {},
};
} // namespace

TutorialPlaying2::TutorialPlaying2(Zestra::Board& owner) : TutorialPlaying(owner)
{
    EnterCustomer("Teodan2", kStore, "mens_tshirt", 2, 1, 100, Errand::Wish);
}

StepBox TutorialPlaying2::CurrentBox() const
{
    return kBoxes[step];
}

bool TutorialPlaying2::WaitsForClick() const
{
    return kBoxes[step].clickToContinue;
}

void TutorialPlaying2::Draw(Zestra::Graphics& g)
{
    DrawStepBox(*this, g, CurrentBox());
    DrawArrows(g);
}

void TutorialPlaying2::OnClick(int x, int y, Merchant* merchant)
{
    switch (step)
    {
    case 0:
        GoTo(1);
        break;
    case 2:
        if (ArrowClick(x, y, merchant) && !roomArrowShown)
        {
            roomArrowShown = true;
            AddArrow(roomX, 55, roomX - 80, 35, 1, true);
        }
        break;
    case 5:
        GoTo(6);
        DropDrink(0, 0); // points at the drink station
        break;
    case 8:
        GoTo(customerLeft ? 10 : 9);
        break;
    case 9:
    case 10:
        break;
    default:
        ArrowClick(x, y, merchant);
        break;
    }
}

void TutorialPlaying2::OnCustomerLeft()
{
    if (step == 9)
        GoTo(10);
    else
        customerLeft = true;
}

void TutorialPlaying2::OnActionFinished(Person& person)
{
    if (IsOwn(person))
        return;
    if (step == 2)
    {
        if (!firstOrderDone)
        {
            firstOrderDone = true;
            return;
        }
        GoTo(3);
        AddArrow(290, 230, 271, 150, 0, true);
    }
    else if (step == 3)
    {
        GoTo(4);
        if (atRegister)
            GoTo(5);
    }
    else if (step == 7)
    {
        GoTo(8);
    }
}

void TutorialPlaying2::OnTryOnFinished(Customer& customer)
{
    if (tryOnSeen)
        return;
    tryOnSeen = true;
    customer.wantedItem = FindClothing(kStore, "mens_jeans");
    Zestra::Image* picture = customer.GetImage();
    roomX = customer.x + (picture != nullptr ? picture->GetCelWidth() / 2 : kHalfCel);
    GoTo(2);
    AddArrow(580, 220, 558, 150, 0, true);
}

void TutorialPlaying2::OnCashRegisterHead(Customer& customer)
{
    customer.MakeAngry();
    atRegister = true;
    if (step == 4)
        GoTo(5);
}

void TutorialPlaying2::OnDrinkGrabbed()
{
    AddArrow(0, 0, 120, 280, 0, true);
}

bool TutorialPlaying2::HighlightDrinkTarget(int x, int y)
{
    bool found = false;
    for (auto it = people.rbegin(); it != people.rend(); ++it)
    {
        bool takes = !found && (*it)->CanTakeDrinkAt(x, y);
        (*it)->highlighted = takes;
        found = found || takes;
    }
    return found;
}

bool TutorialPlaying2::DropDrink(int x, int y)
{
    Customer* taker = nullptr;
    for (auto& customer : people)
    {
        customer->highlighted = false;
        if (taker == nullptr && customer->CanTakeDrinkAt(x, y))
            taker = customer.get();
    }
    if (taker == nullptr)
    {
        AddArrow(0, 0, 410, 470, 0, true);
        return false;
    }
    taker->GiveDrink();
    GoTo(7);
    AddArrow(42, 383, 24, 290, 0, true);
    return true;
}
