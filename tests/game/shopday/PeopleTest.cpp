// Customers, their steps, the waiting lines, the merchant and its orders, on a board without a walk grid: every
// walk arrives at once, so a queue runs to its first step that needs time.
#include "ShopDaySupport.h"

#include "game/people/CustomerActions.h"
#include "game/store/BackRoom.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClothingButton.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/GiftWrap.h"

#include <typeinfo>

namespace
{

struct Step
{
    const std::type_info* type;
    int x;
    int y;
};

// The customer's queued steps from index `from` on, as (type, walk target).
std::vector<Step> StepsOf(const Customer& customer, size_t from = 0)
{
    std::vector<Step> steps;
    for (size_t i = from; i < customer.actions.size(); ++i)
    {
        const Action& action = *customer.actions[i];
        steps.push_back({&typeid(action), action.targetX, action.targetY});
    }
    return steps;
}

void ExpectSteps(const Customer& customer, const std::vector<Step>& expected)
{
    std::vector<Step> steps = StepsOf(customer);
    ASSERT_EQ(steps.size(), expected.size());
    for (size_t i = 0; i < steps.size(); ++i)
    {
        EXPECT_EQ(steps[i].type->name(), expected[i].type->name()) << "step " << i;
        if (*expected[i].type == typeid(Walk))
        {
            EXPECT_EQ(steps[i].x, expected[i].x) << "step " << i;
            EXPECT_EQ(steps[i].y, expected[i].y) << "step " << i;
        }
    }
}

using People = ShopDay;

TEST_F(People, DrinksRestoreTwoHeartsUpToFourAndRestartPatience)
{
    struct Case
    {
        int hearts;
        int patienceLeft;
        int heartsAfter;
    };
    for (Case c : {Case{1, 40, 3}, Case{3, 500, 4}, Case{4, 10, 4}})
    {
        Customer& customer = AddCustomer("Lottra1");
        customer.profile.hearts = c.hearts;
        customer.patienceLeft = c.patienceLeft;
        customer.GiveDrink();
        customer.UpdateActions(1.0f, board->FloorGrid());
        EXPECT_EQ(customer.profile.hearts, c.heartsAfter) << c.hearts;
        EXPECT_EQ(customer.patienceLeft, 1000) << c.hearts;
        ASSERT_FALSE(customer.actions.empty());
        EXPECT_TRUE(dynamic_cast<Drink*>(customer.actions.front().get()) != nullptr);
    }
}

TEST_F(People, MissingWishTypesReadAsTheCheapestItem)
{
    // A scripted customer may come with fewer price classes than wishes.
    Customer customer("Lottra1", 1.0f, std::vector<int>{3}, board.get());
    ASSERT_EQ(customer.wishTypes.size(), 2u);
    EXPECT_EQ(customer.wishTypes[0], 3);
    EXPECT_EQ(customer.wishTypes[1], 0);
    customer.NextWishOrCheckout(); // the second wish picks with the filled-in class
    EXPECT_EQ(customer.wishIndex, 1);
}

TEST_F(People, PatienceCostsAHeartAtATimeAndTheLastOneExplodes)
{
    Customer& customer = AddCustomer("Lottra1");
    for (int i = 0; i < 1999; ++i)
        customer.Update();
    EXPECT_EQ(customer.profile.hearts, 2);
    EXPECT_FALSE(customer.IsAngry());
    customer.Update();
    EXPECT_TRUE(customer.IsAngry());
    for (int i = 0; i < 999; ++i)
        customer.Update();
    EXPECT_EQ(customer.status, Customer::STATUS_IN_STORE);
    customer.Update();
    EXPECT_EQ(customer.status, Customer::STATUS_EXPLODING);

    // The explosion counts the customer as lost at once and is over 60 updates later.
    customer.UpdateActions(1.0f, board->FloorGrid());
    EXPECT_EQ(board->day.lostCustomers, 1);
    EXPECT_EQ(customer.explosionCel, 0);
    for (int i = 0; i < 59; ++i)
        customer.UpdateActions(1.0f, board->FloorGrid());
    EXPECT_EQ(customer.explosionCel, 5);
    EXPECT_EQ(customer.status, Customer::STATUS_EXPLODING);
    customer.UpdateActions(1.0f, board->FloorGrid());
    EXPECT_EQ(customer.status, Customer::STATUS_GONE);
}

TEST_F(People, PaymentAddsPricesAndTipsByHeartsAndGoodieRack)
{
    struct Case
    {
        int goodieRack;
        double tip;
    };
    for (Case c : {Case{0, 3.0}, Case{1, 4.5}})
    {
        board->day.cash = board->day.tips = board->day.money = 0;
        GameState run = *board->run.Progress();
        run.goodieRack = c.goodieRack;
        board->run.ReplaceWorkingCopy(run);
        Customer& customer = AddCustomer("Lottra1");
        customer.hands[0] = tee;
        customer.hands[1] = jeans;
        customer.profile.hearts = 2;
        customer.Pay();
        EXPECT_DOUBLE_EQ(board->day.cash, 65.0);
        EXPECT_DOUBLE_EQ(board->day.tips, c.tip);
    }
}

TEST_F(People, AWrongItemWithWaitKeepsTheCustomerHiddenInTheRoom)
{
    ChangingRoom room(154, 0, nullptr, nullptr, nullptr, nullptr);
    Customer& customer = AddCustomer("Masel1");
    ASSERT_TRUE(room.IsFree());
    customer.room = &room;
    room.Reserve(&customer);
    customer.StepIntoRoom();
    EXPECT_FALSE(customer.visible);
    customer.FinishedTryingOn();
    EXPECT_FALSE(customer.visible);
    EXPECT_EQ(customer.bubble, Customer::BUBBLE_ITEM_SHOWN);
    EXPECT_EQ(room.occupancy, Occupancy::Waiting);
    EXPECT_EQ(customer.room, &room);
    // Waiting inside, the customer still takes drinks.
    EXPECT_TRUE(customer.CanTakeDrinkAt(customer.x + 40, customer.y + 10));
}

TEST_F(People, AFullLineDoomsTheSixthCustomerWhoExplodes300UpdatesLater)
{
    CustomerLine& line = *board->CashLine();
    for (int i = 0; i < 5; ++i)
        line.Join(AddCustomer("Lottra1"));
    Customer& sixth = AddCustomer("Lottra1");
    line.Join(sixth);
    EXPECT_FALSE(line.Contains(sixth));
    EXPECT_TRUE(sixth.doomed);
    EXPECT_EQ(sixth.profile.hearts, 1);
    EXPECT_FALSE(sixth.CanTakeDrinkAt(sixth.x + 40, sixth.y + 10));
    for (int i = 0; i < 299; ++i)
        sixth.Update();
    EXPECT_EQ(sixth.status, Customer::STATUS_IN_STORE);
    sixth.Update();
    EXPECT_EQ(sixth.status, Customer::STATUS_EXPLODING);
}

TEST_F(People, ANewcomerWalksToTheTailFirstThenUpTheLine)
{
    Customer& first = AddCustomer("Lottra1");
    board->CashLine()->Join(first);
    ExpectSteps(first, {{&typeid(Walk), 40, 130}, {&typeid(NearHeadOfLine), 0, 0}, {&typeid(Walk), 80, 340},
                        {&typeid(HeadOfLine), 0, 0}});
}

TEST_F(People, LeavingTheHeadMovesEveryoneUpOnePlace)
{
    CustomerLine& line = *board->CashLine();
    Customer& a = AddCustomer("Lottra1");
    Customer& b = AddCustomer("Lottra1");
    Customer& c = AddCustomer("Lottra1");
    for (Customer* customer : {&a, &b, &c})
        line.Join(*customer);
    b.actions.clear();
    c.actions.clear();
    line.RemoveCustomer(a);
    ExpectSteps(b, {{&typeid(Walk), 80, 340}, {&typeid(HeadOfLine), 0, 0}});
    ExpectSteps(c, {{&typeid(Walk), 80, 280}});
    ASSERT_EQ(line.entries.size(), 2u);
    EXPECT_EQ(line.entries[0].slot, 0);
    EXPECT_EQ(line.entries[1].slot, 1);

    // Exploding in the middle of a line takes the customer out, too.
    Customer& d = AddCustomer("Lottra1");
    line.Join(d);
    c.Explode();
    ASSERT_EQ(line.entries.size(), 2u);
    EXPECT_EQ(line.entries[1].customer, &d);
    EXPECT_EQ(line.entries[1].slot, 1);
}

TEST_F(People, AFreeRoomTakesTheNewHeadOfTheChangingRoomLineAtOnce)
{
    auto room = std::make_unique<ChangingRoom>(154, 0, nullptr, nullptr, nullptr, board->RoomLine());
    board->AddChangingRoom(std::move(room));
    Customer& customer = AddCustomer("Masel1");
    board->RoomLine()->Join(customer);
    ExpectSteps(customer, {{&typeid(Walk), 486, 75}, {&typeid(NearHeadOfLine), 0, 0}, {&typeid(Walk), 126, 75},
                           {&typeid(HeadOfLine), 0, 0}, {&typeid(TryOnClothing), 0, 0}});
    EXPECT_TRUE(board->RoomLine()->Empty());
    Settle(customer);
    EXPECT_EQ(board->ChangingRooms()[0]->occupancy, Occupancy::Occupied);
}

TEST_F(People, AChangingRoomLineStaysConsecutiveWhenTheNewHeadLeavesAtOnce)
{
    auto room = std::make_unique<ChangingRoom>(154, 0, nullptr, nullptr, nullptr, board->RoomLine());
    ChangingRoom& only = *room;
    board->AddChangingRoom(std::move(room));
    CustomerLine& line = *board->RoomLine();
    std::vector<Customer*> waiting;
    for (int i = 0; i < 4; ++i)
    {
        waiting.push_back(&AddCustomer("Masel1"));
        line.Join(*waiting.back());
    }
    // The first took the room; three wait. When the room is free again the head goes in and the rest move up.
    ASSERT_EQ(line.entries.size(), 3u);
    only.occupancy = Occupancy::Free;
    only.occupant = nullptr;
    line.ServeHead();
    ASSERT_EQ(line.entries.size(), 2u);
    EXPECT_EQ(line.entries[0].customer, waiting[2]);
    EXPECT_EQ(line.entries[0].slot, 0);
    EXPECT_EQ(line.entries[1].slot, 1);
}

class Orders : public ShopDay
{
protected:
    BackRoom backRoom{696, 115};

    VisitBackRoom& QueueBackRoom(int item)
    {
        auto order = std::make_unique<VisitBackRoom>(*merchant, nullptr, &backRoom, item);
        VisitBackRoom& ref = *order;
        merchant->AddAction(std::move(order));
        return ref;
    }
};

TEST_F(Orders, ASecondBackRoomOrderTakesHalfTheTimeAndCancellingItSendsTheFirstOut)
{
    VisitBackRoom& first = QueueBackRoom(tee);
    VisitBackRoom& second = QueueBackRoom(jeans);
    EXPECT_EQ(first.duration, 100);
    EXPECT_EQ(second.duration, 50);
    EXPECT_TRUE(first.chained);
    merchant->CancelNewest();
    ASSERT_EQ(merchant->actions.size(), 1u);
    EXPECT_FALSE(first.chained);

    // Chained, the first hands over to the second inside the back room.
    VisitBackRoom& third = QueueBackRoom(jeans);
    EXPECT_TRUE(first.chained);
    for (int i = 0; i < 101; ++i)
        merchant->UpdateActions(1.0f, board->FloorGrid());
    EXPECT_TRUE(merchant->IsHolding(tee));
    ASSERT_EQ(merchant->actions.size(), 1u);
    EXPECT_EQ(merchant->actions.front().get(), &third);
}

TEST_F(Orders, ClearingALevelWithBackRoomOrdersQueuedIsSafe)
{
    QueueBackRoom(tee);
    QueueBackRoom(jeans);
    board->ClearLevel();
    SUCCEED();
}

TEST_F(Orders, ARegisterOrderServesTheWholeLineWithOneHandsAnimationEach)
{
    CashRegister cashRegister(48, 354, nullptr, board->CashLine());
    CustomerLine& line = *board->CashLine();
    std::vector<Customer*> queue;
    for (int i = 0; i < 3; ++i)
    {
        queue.push_back(&AddCustomer("Lottra1"));
        queue.back()->hands[0] = tee;
        line.Join(*queue.back());
        Settle(*queue.back());
    }
    merchant->AddAction(std::make_unique<VisitCashRegister>(*merchant, cashRegister, &line));
    int hands = 0;
    for (int update = 0; update < 2000 && !merchant->actions.empty(); ++update)
    {
        merchant->UpdateActions(1.0f, board->FloorGrid());
        if (merchant->animationName == "hands")
        {
            ++hands;
            merchant->ClearAnimation(); // the merchant here has no pictures, so the animation ends at once
        }
        cashRegister.Update();
        for (Customer* customer : queue)
            Settle(*customer);
    }
    EXPECT_EQ(hands, 3);
    EXPECT_TRUE(merchant->actions.empty());
    EXPECT_TRUE(line.Empty());
    EXPECT_DOUBLE_EQ(board->day.cash, 120.0);
    for (Customer* customer : queue)
        EXPECT_EQ(customer->status, Customer::STATUS_GONE);
}

TEST_F(Orders, ARegisterOrderFinishesAtOnceWhileTheOnlyCustomerIsStillOnItsWay)
{
    CashRegister cashRegister(48, 354, nullptr, board->CashLine());
    Customer& customer = AddCustomer("Lottra1");
    board->CashLine()->Join(customer); // joined, but not yet at the tail place
    merchant->AddAction(std::make_unique<VisitCashRegister>(*merchant, cashRegister, board->CashLine()));
    merchant->UpdateActions(1.0f, board->FloorGrid());
    EXPECT_TRUE(merchant->actions.empty());
    EXPECT_EQ(customer.status, Customer::STATUS_IN_STORE);
}

TEST_F(Orders, GiftWrappingPlaysHandsTwiceThenReleasesTheCustomer)
{
    GiftWrap station(722, 195, board->ServiceLine());
    Customer& customer = AddCustomer("Finnola1");
    customer.hands[0] = tee;
    customer.bubble = Customer::BUBBLE_WRAP_PENDING;
    board->ServiceLine()->Join(customer);
    Settle(customer);
    ASSERT_EQ(customer.bubble, Customer::BUBBLE_WRAP_SHOWN);
    merchant->AddAction(std::make_unique<GiftWrapAtCustomerService>(*merchant, station, board->ServiceLine()));
    int hands = 0;
    for (int update = 0; update < 20 && !merchant->actions.empty(); ++update)
    {
        merchant->UpdateActions(1.0f, board->FloorGrid());
        if (merchant->animationName == "hands")
        {
            ++hands;
            EXPECT_TRUE(station.wrapping);
            merchant->ClearAnimation();
        }
    }
    EXPECT_EQ(hands, 2);
    EXPECT_FALSE(station.wrapping);
    EXPECT_TRUE(customer.wrapped[0]);
    EXPECT_TRUE(board->ServiceLine()->Empty());
    ASSERT_FALSE(customer.actions.empty());
    EXPECT_TRUE(dynamic_cast<CheckOut*>(customer.actions.back().get()) != nullptr);
}

TEST_F(Orders, TheDeskHandsOverTheWantedItemAndTakesBackTheWrongOne)
{
    Customer& customer = AddCustomer("Lottra1");
    customer.wantedItem = jeans;
    customer.hands[0] = tee;
    board->ServiceLine()->Join(customer);
    Settle(customer);
    auto desk = std::make_unique<VisitCustomerService>(*merchant, nullptr, board->ServiceLine());
    merchant->AddAction(std::move(desk));
    merchant->UpdateActions(1.0f, board->FloorGrid());
    // Without the item the customer keeps waiting at the head.
    EXPECT_FALSE(board->ServiceLine()->Empty());
    merchant->hands[0] = jeans;
    merchant->AddAction(std::make_unique<VisitCustomerService>(*merchant, nullptr, board->ServiceLine()));
    merchant->UpdateActions(1.0f, board->FloorGrid());
    EXPECT_TRUE(board->ServiceLine()->Empty());
    EXPECT_EQ(customer.hands[0], jeans);
    EXPECT_TRUE(merchant->IsHolding(tee));
    EXPECT_FALSE(merchant->IsHolding(jeans));
}

} // namespace
