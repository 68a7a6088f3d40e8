// A shopper: walks in, works through the wishes of its customer definition (fetch or ask for an item, try it on,
// have it wrapped), queues at the register, pays and tips, and leaves; or loses its hearts while waiting and
// explodes. Its private copy of the definition is where hearts and tries are counted down.
#pragma once

#include "game/data/CustomerStats.h"
#include "game/people/Person.h"
#include "game/people/RoomOccupant.h"

#include <string>
#include <vector>

class ChangingRoomPlace;
class ShopFloor;

class Customer : public Person, public RoomOccupant
{
public:
    enum Status
    {
        STATUS_IN_STORE = 0,
        STATUS_LEAVING = 1,
        STATUS_GONE = 2,
        STATUS_EXPLODING = 3,
    };
    enum Bubble
    {
        BUBBLE_ITEM_PENDING = 0,
        BUBBLE_WRAP_PENDING = 1,
        BUBBLE_ITEM_SHOWN = 2,
        BUBBLE_WRAP_SHOWN = 3,
        BUBBLE_NONE = 4,
    };
    static constexpr int kDoomedPatience = 300; // updates a customer turned away by a full line has left
    static constexpr int kMaxHearts = 4;        // the heart meter's capacity

    // speed: pixels per update. board may be null only in tests that never reach the board's services.
    Customer(const std::string& key, float speed, const std::vector<int>& wishTypes, ShopFloor* board);
    ~Customer() override;

    void Update() override;
    void DrawPerson(Zestra::Graphics& g) override;
    bool IsAngry() const override;

    bool CanTakeDrinkAt(int px, int py) const;
    void GiveDrink();
    void MakeAngry();

    void ChooseWantedItem();
    void StartWish();
    void GoToCustomerService();
    bool AfterGotItem(bool atDesk);
    bool EnterChangingRoom();
    void StepIntoRoom();
    void NextWishOrCheckout();
    void GiftWrapped();
    void ShowBubble();
    void Pay();
    void Leave();
    void LineFull();
    void Explode();
    void DrinkEffect();
    void PlayHappyVoice();
    // The current wish (a copy of the definition's, with tries counted down); a shared empty wish without any.
    CustomerWish& CurrentWish();

    // RoomOccupant
    Person& OccupantBody() override { return *this; }
    int DressingTime() const override { return profile.dressingTime; }
    int WantedItem() const override { return wantedItem; }
    void TakeBackFromRoom() override;
    void FinishedTryingOn() override;
    int SwapHand(int item) override;
    void ClearThought() override;
    void QueueTryOn(ChangingRoomPlace& room) override;

    CustomerDefinition profile;
    std::vector<int> wishTypes;
    int wishIndex = 0;
    ShopFloor* board; // not owned
    int status = STATUS_IN_STORE;
    int bubble = BUBBLE_NONE;
    ChangingRoomPlace* room = nullptr; // not owned
    int wantedItem = 0;
    int preferredSlot = -1;
    int patienceLeft = 0;
    int explosionCel = -1;
    bool doomed = false;
    bool thunderPlayed = false;

private:
    CustomerWish noWish; // stands in for the current wish of a customer type without wishes
};
