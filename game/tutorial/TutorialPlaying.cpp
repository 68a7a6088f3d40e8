#include "game/tutorial/TutorialPlaying.h"

#include "game/data/ClothingStats.h"
#include "game/people/Merchant.h"
#include "game/people/MerchantAction.h"
#include "game/shopday/Board.h"
#include "game/store/ActiveComponent.h"
#include "game/store/ChangingRoom.h"
#include "game/people/WaitingLines.h"

#include <algorithm>

namespace
{
constexpr float kScriptedSpeed = 1.5f;
} // namespace

TutorialPlaying::TutorialPlaying(Zestra::Board& owner) : Tutorial(owner) {}

TutorialPlaying::~TutorialPlaying()
{
    // Customers still in the store stand in the board's lines and rooms, which outlive the lesson until the level
    // is built again: nothing there may keep pointing at them.
    for (auto& customer : people)
        customer->listener = nullptr;
    for (auto& customer : people)
    {
        for (CustomerLine* line : {static_cast<CustomerLine*>(board.CashLine()),
                                   static_cast<CustomerLine*>(board.RoomLine()),
                                   static_cast<CustomerLine*>(board.ServiceLine())})
        {
            if (line != nullptr)
                line->RemoveCustomer(*customer);
        }
        for (auto& room : board.ChangingRooms())
        {
            if (room->occupant == customer.get())
                room->occupant = nullptr;
        }
    }
    people.clear();
}

Component* TutorialPlaying::FindTargetAt(int x, int y) const
{
    return board.FindClickableAt(x, y);
}

void TutorialPlaying::Update()
{
    Tutorial::Update();
    for (size_t i = 0; i < people.size();)
    {
        people[i]->Update();
        if (people[i]->status == Customer::STATUS_GONE)
        {
            people.erase(people.begin() + std::ptrdiff_t(i));
            OnCustomerLeft();
        }
        else
        {
            ++i;
        }
    }
}

void TutorialPlaying::UpdateActions(float dt, const Walkways& walkways)
{
    for (size_t i = 0; i < people.size(); ++i)
        people[i]->UpdateActions(dt, walkways);
}

void TutorialPlaying::AppendPeople(std::vector<Person*>& out) const
{
    for (const auto& customer : people)
        out.push_back(customer.get());
}

void TutorialPlaying::OnMouseDown(int x, int y, int clicks)
{
    if (clicks < 0)
        return;
    Merchant* merchant = board.PlayMerchant();
    // A click the step does not take would otherwise pass in silence: the arrows bounce to show where to click.
    const int stepBefore = step;
    const size_t arrowsBefore = arrows.size();
    const size_t ordersBefore = merchant != nullptr ? merchant->actions.size() : 0;
    OnClick(x, y, merchant);
    const size_t ordersAfter = merchant != nullptr ? merchant->actions.size() : 0;
    if (step == stepBefore && arrows.size() == arrowsBefore && ordersAfter == ordersBefore && !arrows.empty())
        Pulse();
}

bool TutorialPlaying::ArrowClick(int x, int y, Merchant* merchant)
{
    auto hit = ArrowAt(x, y);
    if (hit == arrows.end())
        return false;
    if (merchant != nullptr)
    {
        if (auto* clickable = dynamic_cast<ActiveComponent*>(hit->target))
        {
            if (std::unique_ptr<MerchantAction> order = clickable->CreateMerchantAction(*merchant))
                merchant->AddAction(std::move(order));
        }
    }
    arrows.erase(hit);
    return true;
}

bool TutorialPlaying::IsOwn(const Person& person) const
{
    return std::any_of(people.begin(), people.end(),
                       [&person](const std::unique_ptr<Customer>& customer) { return customer.get() == &person; });
}

Customer& TutorialPlaying::EnterCustomer(const std::string& key, int storeNumber, const std::string& item,
                                         int tries, int preferredSlot, int dressingTime, Errand errand)
{
    auto customer = std::make_unique<Customer>(key, kScriptedSpeed, std::vector<int>{0}, &board);
    // The script decides the errand, not the constructor.
    customer->actions.clear();
    customer->listener = this;
    customer->wantedItem = FindClothing(storeNumber, item);
    if (tries >= 0)
        customer->CurrentWish().tries = tries;
    if (preferredSlot >= 0)
        customer->preferredSlot = preferredSlot;
    if (dressingTime >= 0)
        customer->profile.dressingTime = dressingTime;
    if (errand == Errand::Wish)
        customer->StartWish();
    else
        customer->GoToCustomerService();
    people.push_back(std::move(customer));
    return *people.back();
}
