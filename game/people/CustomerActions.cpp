#include "game/people/CustomerActions.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/people/ClothingShelf.h"
#include "game/people/Customer.h"
#include "game/people/ChangingRoomPlace.h"
#include "game/people/ShopFloor.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"

CustomerAction::CustomerAction(Customer* customer, int targetX, int targetY)
    : Action(customer, targetX, targetY)
{
}

Customer& CustomerAction::customer() const
{
    return static_cast<Customer&>(*person);
}

Walk::Walk(Customer* customer, int x, int y) : CustomerAction(customer, x, y)
{
}

bool Walk::Perform()
{
    return true;
}

GetInLine::GetInLine(Customer* customer, int x, int y, CustomerLine* line)
    : CustomerAction(customer, x, y), line(line)
{
}

bool GetInLine::Perform()
{
    if (line != nullptr)
        line->Join(customer());
    return true;
}

CheckOut::CheckOut(Customer* customer, CustomerLine* cashRegisterLine)
    : GetInLine(customer, 40, 115, cashRegisterLine)
{
}

GoToCustomerService::GoToCustomerService(Customer* customer, CustomerLine* serviceLine)
    : GetInLine(customer, 576, 445, serviceLine)
{
}

GetInChangingRoomLine::GetInChangingRoomLine(Customer* customer, CustomerLine* roomLine)
    : GetInLine(customer, 576, 75, roomLine)
{
}

HeadOfLine::HeadOfLine(Customer* customer, CustomerLine* line) : CustomerAction(customer, -1, -1), line(line)
{
}

bool HeadOfLine::Perform()
{
    if (line != nullptr)
        line->OnReachedHead(customer());
    return true;
}

NearHeadOfLine::NearHeadOfLine(Customer* customer, CustomerLine* line)
    : CustomerAction(customer, -1, -1), line(line)
{
}

bool NearHeadOfLine::Perform()
{
    if (line != nullptr)
        line->MarkArrived(customer());
    return true;
}

PickUpClothing::PickUpClothing(Customer* customer, ClothingShelf* shelf)
    : CustomerAction(customer, shelf->CustomerSpot().mX, shelf->CustomerSpot().mY), shelf(shelf)
{
}

bool PickUpClothing::Perform()
{
    Customer& who = customer();
    if (who.HandState() == Hands::Both || !shelf->TakeItem(who.preferredSlot))
    {
        who.GoToCustomerService();
        return true;
    }
    who.PickUp(shelf->HeldClothing(), true);
    who.AfterGotItem(false);
    return true;
}

TryOnClothing::TryOnClothing(Customer* customer, ChangingRoomPlace* room)
    : CustomerAction(customer, room->Entrance().mX, room->Entrance().mY)
{
}

bool TryOnClothing::Perform()
{
    customer().StepIntoRoom();
    return true;
}

Drink::Drink(Customer* customer) : CustomerAction(customer, -1, -1)
{
}

bool Drink::Perform()
{
    Customer& who = customer();
    if (!started)
    {
        started = true;
        who.SetAnimation("happy");
        who.DrinkEffect();
        who.PlayHappyVoice();
        return false;
    }
    return who.animationName != "happy";
}

LeaveStore::LeaveStore(Customer* customer) : CustomerAction(customer, -39, 420)
{
}

bool LeaveStore::Perform()
{
    customer().status = Customer::STATUS_GONE;
    return true;
}

ExplodeCustomer::ExplodeCustomer(Customer* customer, ShopFloor* board)
    : CustomerAction(customer, -1, -1), board(board)
{
}

bool ExplodeCustomer::Perform()
{
    Customer& who = customer();
    countdown -= 1;
    if (countdown == 0)
    {
        who.status = Customer::STATUS_GONE;
        return true;
    }
    if (countdown < 0)
    {
        if (board != nullptr)
            board->AddLostCustomer();
        int columns = IMAGE_EXPLOSION ? IMAGE_EXPLOSION->GetCelCols() : 6;
        countdown = 10 * (columns > 0 ? columns : 6);
    }
    if (countdown % 10 == 0)
        who.explosionCel += 1;
    return false;
}
