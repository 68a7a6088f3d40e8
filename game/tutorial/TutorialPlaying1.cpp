#include "game/data/ClothingStats.h"
#include "game/people/ClothingShelf.h"
#include "game/shopday/Board.h"
#include "game/tutorial/TextBoxes.h"
#include "game/tutorial/TutorialLessons.h"

namespace
{
constexpr int kStore = 1;
constexpr int kDressingTime = 100;

// The text box of each step; a step without key shows none.
constexpr StepBox kBoxes[TutorialPlaying1::kLastStep + 1] = {
    {"tutorial_intro1", 265, 300, true},
    {"tutorial_intro2", 265, 300, true},
    {"tutorial_mannequin", 265, 5, false},
    {"tutorial_put_down", 235, 130, false},
    {"tutorial_good_job", 265, 300, true},
    {"tutorial_first_customer", 265, 300, false},
    {"tutorial_restock", 265, 300, false},
    {"tutorial_restock_put_down", 235, 130, false},
    {"tutorial_restock_tip", 265, 300, true},
    {},
    {"tutorial_clean_up", 210, 15, false},
    {"tutorial_discard", 0, 200, false},
    {},
    {"tutorial_ready_to_pay1", 0, 155, false},
    {"tutorial_goodies", 265, 250, true},
    {"tutorial_another_cust", 265, 300, false},
    {"tutorial_put_on_table", 265, 300, false},
    {"tutorial_restock_pair", 218, 15, false},
    {"tutorial_put_down_pair", 268, 15, false},
    {},
    {"tutorial_ready_to_pay2", 0, 155, false},
    {"tutorial_customer_service", 525, 90, false},
    {"tutorial_bring_to_service", 335, 275, false},
    {},
    {"tutorial_ready_to_pay3", 0, 155, false},
    {"tutorial_last_tip", 265, 250, true},
    {"tutorial_end", 265, 250, true},
    {},
    {},
};
} // namespace

TutorialPlaying1::TutorialPlaying1(Zestra::Board& owner) : TutorialPlaying(owner)
{
    // One croppants slot starts empty, so the first lesson has something to fetch and put down.
    if (ClothingShelf* shelf = board.PickFurnitureWithClothing(FindClothing(kStore, "girls_croppants")))
        shelf->TakeItem(1);
}

StepBox TutorialPlaying1::CurrentBox() const
{
    return kBoxes[step];
}

bool TutorialPlaying1::WaitsForClick() const
{
    return kBoxes[step].clickToContinue;
}

void TutorialPlaying1::Draw(Zestra::Graphics& g)
{
    DrawStepBox(*this, g, CurrentBox());
    DrawArrows(g);
}

void TutorialPlaying1::ArrowAtRegister(int nextStep)
{
    GoTo(nextStep);
    AddArrow(42, 383, 24, 290, 0, true);
}

void TutorialPlaying1::ArrowAtRoom(int nextStep, int arrowX, int direction)
{
    GoTo(nextStep);
    AddArrow(151, 55, arrowX, 35, direction, true);
}

void TutorialPlaying1::OnClick(int x, int y, Merchant* merchant)
{
    switch (step)
    {
    case 0:
        GoTo(1);
        break;
    case 1:
        GoTo(2);
        AddArrow(708, 98, 729, 88, -1, true);
        break;
    case 4:
        GoTo(5);
        EnterCustomer("Lottra1", kStore, "girls_croppants", 2, 1, kDressingTime, Errand::Wish);
        break;
    case 8:
        GoTo(9);
        if (tryOnSeen)
            ArrowAtRoom(10, 70, 1);
        break;
    case 14:
        GoTo(15);
        EnterCustomer("Grunwick1", kStore, "mens_tshirt", 2, 1, kDressingTime, Errand::Wish);
        tryOnSeen = false;
        atRegister = false;
        break;
    case 16:
        if (ArrowClick(x, y, merchant) && !tableArrowShown)
        {
            tableArrowShown = true;
            AddArrow(290, 220, 320, 200, -1, true);
        }
        break;
    case 22:
        if (ArrowClick(x, y, merchant) && !deskArrowShown)
        {
            deskArrowShown = true;
            AddArrow(750, 223, 730, 136, 0, true);
        }
        break;
    case 25:
        GoTo(26);
        break;
    case 26:
        GoTo(customerLeft ? 28 : 27);
        break;
    case 28:
        break;
    default:
        ArrowClick(x, y, merchant);
        break;
    }
}

void TutorialPlaying1::OnCustomerLeft()
{
    if (step == 27)
        GoTo(28);
    else
        customerLeft = true;
}

void TutorialPlaying1::OnActionFinished(Person& person)
{
    if (IsOwn(person))
        return;
    bool nothingPending = arrows.empty() && person.actions.empty();
    switch (step)
    {
    case 2:
        GoTo(3);
        AddArrow(580, 220, 604, 202, -1, true);
        break;
    case 3:
        GoTo(4);
        break;
    case 6:
        GoTo(7);
        AddArrow(580, 220, 604, 202, -1, true);
        break;
    case 7:
        GoTo(8);
        break;
    case 10:
        GoTo(11);
        AddArrow(50, 90, 22, 130, 2, true);
        break;
    case 11:
        GoTo(12);
        if (atRegister)
            ArrowAtRegister(13);
        break;
    case 13:
        GoTo(14);
        break;
    case 16:
        if (!firstOfPairDone)
        {
            firstOfPairDone = true;
            break;
        }
        GoTo(17);
        AddArrow(700, 60, 723, 50, -1, true);
        AddArrow(600, 98, 508, 88, 1, false);
        break;
    case 17:
        if (!nothingPending)
            break;
        GoTo(18);
        AddArrow(260, 458, 173, 435, 1, true);
        AddArrow(578, 444, 604, 425, -1, false);
        break;
    case 18:
        if (!nothingPending)
            break;
        GoTo(19);
        if (atRegister)
            ArrowAtRegister(20);
        break;
    case 20:
        if (!nothingPending)
            break;
        GoTo(21);
        EnterCustomer("Masel1", kStore, "girls_captee", 1, -1, kDressingTime, Errand::Service);
        break;
    case 22:
        if (!firstAtDeskDone)
        {
            firstAtDeskDone = true;
            break;
        }
        GoTo(23);
        break;
    case 24:
        GoTo(25);
        break;
    default:
        break;
    }
}

void TutorialPlaying1::OnTryOnStarted(Customer&)
{
    if (step != 5)
        return;
    GoTo(6);
    AddArrow(708, 98, 729, 88, -1, true);
}

void TutorialPlaying1::OnTryOnFinished(Customer& customer)
{
    if (tryOnSeen)
        return;
    tryOnSeen = true;
    if (step == 15)
    {
        customer.wantedItem = FindClothing(kStore, "mens_jeans");
        customer.preferredSlot = 0;
        ArrowAtRoom(16, 184, -1);
        return;
    }
    customer.wantedItem = FindClothing(kStore, "girls_captee");
    customer.preferredSlot = 1;
    if (step == 9)
        ArrowAtRoom(10, 70, 1);
}

void TutorialPlaying1::OnCashRegisterHead(Customer&)
{
    atRegister = true;
    if (step == 12 || step == 19 || step == 23)
        ArrowAtRegister(step + 1);
}

void TutorialPlaying1::OnCustomerServiceHead()
{
    if (step != 21)
        return;
    GoTo(22);
    AddArrow(578, 444, 563, 360, 0, true);
}
