#include "StoreTestSupport.h"

#include "game/audio/GameSound.h"
#include "game/people/Person.h"
#include "game/people/WaitingLine.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClosedSign.h"
#include "game/store/Clothing.h"

#include <vector>

namespace
{

class FakeOccupant : public RoomOccupant
{
public:
    Person body{0, 0, "nobody", 1.0f};
    int dressing = 900;
    int takeBacks = 0;
    int finishes = 0;
    int tryOns = 0;

    Person& OccupantBody() override { return body; }
    int DressingTime() const override { return dressing; }
    int WantedItem() const override { return 0; }
    void TakeBackFromRoom() override { ++takeBacks; }
    void FinishedTryingOn() override { ++finishes; }
    int SwapHand(int item) override
    {
        int old = body.hands[0];
        body.hands[0] = item;
        return old;
    }
    void ClearThought() override {}
    void QueueTryOn(ChangingRoomPlace&) override { ++tryOns; }
};

class CountingLine : public WaitingLine
{
public:
    int served = 0;
    void ServeHead() override { ++served; }
};

class StationTest : public BoundPictures
{
protected:
    std::vector<int> sounds;
    std::shared_ptr<Zestra::MemoryImage> roomImage = MakePicture(102, 150);
    std::shared_ptr<Zestra::MemoryImage> doorImage = MakePicture(408, 150);
    CountingLine line;

    void SetUp() override
    {
        SOUND_CHANGING_ROOM = 4;
        SetGameSoundSink([this](int id) { sounds.push_back(id); });
    }
    void TearDown() override
    {
        SetGameSoundSink(nullptr);
        BoundPictures::TearDown();
    }
    std::unique_ptr<ChangingRoom> MakeRoom()
    {
        return std::make_unique<ChangingRoom>(154, 0, roomImage.get(), nullptr, doorImage.get(), &line);
    }
};

} // namespace

TEST_F(StationTest, TheDoorClosesInSevenTickStepsAndHangsUpTheLastFilledHand)
{
    auto room = MakeRoom();
    FakeOccupant customer;
    customer.body.hands[0] = 12;
    room->CustomerEntered(); // not reserved: nothing happens
    EXPECT_EQ(room->occupancy, Occupancy::Free);
    room->Reserve(&customer);
    room->CustomerEntered();
    EXPECT_FALSE(customer.body.visible);
    EXPECT_EQ(sounds, std::vector<int>{4});
    std::vector<int> cels;
    for (int tick = 1; tick <= 15; ++tick)
    {
        room->Update();
        cels.push_back(room->doorCel);
    }
    EXPECT_EQ(cels, (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 3}));
    EXPECT_EQ(room->doorPhase, 0);
    ASSERT_TRUE(room->shownClothing);
    EXPECT_EQ(room->shownClothing->clothing, 12);
    EXPECT_EQ(customer.body.hands[0], 0);
    EXPECT_FALSE(room->IsFree());
}

TEST_F(StationTest, TryingOnRunsTheTimerThenTheDoorOpensWithTheSecondSound)
{
    auto room = MakeRoom();
    FakeOccupant customer;
    room->Reserve(&customer);
    room->CustomerEntered();
    for (int tick = 0; tick < 15; ++tick)
        room->Update();
    ASSERT_EQ(room->doorPhase, 0);
    std::vector<int> timerSteps; // ticks left when the timer advanced
    int tick = 0;
    while (room->doorPhase == 0 && tick < 2000)
    {
        int before = room->timerCel;
        room->Update();
        ++tick;
        if (room->timerCel != before)
            timerSteps.push_back(room->phaseTicks);
    }
    EXPECT_EQ(tick, 900);
    EXPECT_EQ(timerSteps, (std::vector<int>{740, 580, 420, 260, 100}));
    EXPECT_EQ(room->doorCel, 2);
    EXPECT_EQ(customer.takeBacks, 1);
    int opening = 0;
    while (room->doorPhase != 2 && opening < 100)
    {
        room->Update();
        ++opening;
    }
    EXPECT_EQ(opening, 14);
    EXPECT_EQ(customer.finishes, 1);
    EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(StationTest, ShortDressingTimesNeitherDivideByZeroNorHoldTheDoorShut)
{
    for (int dressing : {0, 3})
    {
        auto room = MakeRoom();
        FakeOccupant customer;
        customer.dressing = dressing;
        room->Reserve(&customer);
        room->CustomerEntered();
        int ticks = 0;
        while (customer.finishes == 0 && ticks < 200)
        {
            room->Update();
            ++ticks;
        }
        EXPECT_EQ(customer.finishes, 1) << dressing;
        EXPECT_EQ(room->doorPhase, 2);
    }
}

TEST_F(StationTest, HandingOverAnItemAndReleasingTheRoom)
{
    auto room = MakeRoom();
    FakeOccupant customer;
    customer.body.hands[0] = 3;
    room->Reserve(&customer);
    FakeOccupant other;
    room->Reserve(&other); // taken: ignored
    EXPECT_EQ(room->occupant, &customer);
    room->occupancy = Occupancy::Waiting;
    EXPECT_EQ(room->StartTryOn(8), 3);
    EXPECT_EQ(customer.body.hands[0], 8);
    EXPECT_EQ(customer.tryOns, 1);
    EXPECT_EQ(room->occupancy, Occupancy::Reserved);
    room->Release();
    EXPECT_TRUE(room->IsFree());
    EXPECT_EQ(line.served, 1);
    room->Release(); // already free: the line is not told again
    EXPECT_EQ(line.served, 1);
}

TEST_F(StationTest, OnlyTheFirstOfTwoCloseSalesIsShown)
{
    auto image = MakePicture(60, 40);
    CashRegister cashRegister(48, 354, image.get(), nullptr);
    cashRegister.ShowAmounts(20.0, 2.0);
    const int firstSaleY = cashRegister.saleY;
    for (int tick = 0; tick < 50; ++tick)
        cashRegister.Update();
    cashRegister.ShowAmounts(30.0, 5.0);
    EXPECT_EQ(cashRegister.amountTimer, 20); // not restarted
    for (int tick = 50; tick < 89; ++tick)
        cashRegister.Update();
    EXPECT_TRUE(cashRegister.showing);
    cashRegister.Update();
    EXPECT_FALSE(cashRegister.showing); // 30 ticks still, 60 rising
    EXPECT_EQ(cashRegister.saleY, firstSaleY - 29);
}

TEST_F(StationTest, TheClosedSignStopsExactlyOnItsTarget)
{
    ClosedSign sign(-250, 413, nullptr, 8);
    int ticks = 0;
    while (sign.x < 8 && ticks < 1000)
    {
        sign.Update();
        ++ticks;
    }
    EXPECT_EQ(ticks, 129);
    sign.Update();
    EXPECT_EQ(sign.x, 8);
}
