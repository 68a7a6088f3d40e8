// The board's play of a day: arrivals and the clock, clicks and the order queue, pause, cheat words, wish types,
// and the money rules from a sale to the end of the day.
#include "ShopDaySupport.h"

#include "game/shopday/Hud.h"
#include "game/store/ClosedSign.h"
#include "game/store/DiscardRack.h"

#include <algorithm>
#include <cstdlib>

namespace
{

class BoardPlay : public ShopDay
{
protected:
    LevelInfo& Level() { return store.levels[0]; }

    void Arrivals(const std::vector<std::pair<std::string, int>>& list)
    {
        Level().arrivals.clear();
        for (const auto& [key, time] : list)
            Level().arrivals.push_back(CustomerArrival{key, time, {}});
        board->crowd.ResetForLevel(Level());
        board->day.clockTicks = Level().duration;
    }

    // Ticks until the crowd holds `count` customers; returns the tick number (1-based), or -1.
    int TickUntilInside(size_t count, int limit)
    {
        for (int tick = 1; tick <= limit; ++tick)
        {
            board->PlayTick();
            if (board->crowd.customers.size() >= count)
                return tick;
        }
        return -1;
    }

    DiscardRack& AddRack()
    {
        IMAGE_NUMBERS = MakePicture(20, 20);
        auto rack = std::make_unique<DiscardRack>(48, 10, rackPicture.get());
        DiscardRack& ref = *rack;
        board->clickables.push_back(rack.get());
        board->sceneItems.push_back(std::move(rack));
        return ref;
    }
    std::shared_ptr<Zestra::MemoryImage> rackPicture = MakePicture(40, 60);
};

TEST_F(BoardPlay, ArrivalTimesAreGapsAfterThePreviousRelease)
{
    Arrivals({{"Lottra1", 100}, {"Lottra1", 0}, {"Lottra1", 300}});
    std::vector<int> released;
    for (int tick = 1; tick <= 500; ++tick)
    {
        size_t before = board->crowd.arrivals.size();
        board->PlayTick();
        if (board->crowd.arrivals.size() < before)
            released.push_back(tick);
    }
    EXPECT_EQ(released, (std::vector<int>{101, 102, 403}));
}

TEST_F(BoardPlay, MaxCustomersAndTheSpawnCooldownMeterTheEntrance)
{
    Level().maxCustomers = 2;
    Arrivals({{"Lottra1", 0}, {"Lottra1", 0}, {"Lottra1", 0}, {"Lottra1", 0}, {"Lottra1", 0}});
    EXPECT_EQ(TickUntilInside(1, 10), 1);
    for (int tick = 2; tick <= 5; ++tick)
        board->PlayTick();
    EXPECT_TRUE(board->crowd.arrivals.empty());
    EXPECT_EQ(TickUntilInside(2, 500), 151 - 5);
    // Full: nobody else comes in until someone has left.
    for (int tick = 152; tick < 400; ++tick)
        board->PlayTick();
    EXPECT_EQ(board->crowd.customers.size(), 2u);
    board->crowd.customers[0]->status = Customer::STATUS_GONE;
    board->PlayTick(); // tick 400: the customer is removed after the admission step
    EXPECT_EQ(board->crowd.customers.size(), 1u);
    board->PlayTick();
    EXPECT_EQ(board->crowd.customers.size(), 2u);
}

TEST_F(BoardPlay, TheLastClockTickTurnsAwayEveryoneNotYetInside)
{
    Arrivals({{"Lottra1", 0}, {"Lottra1", 0}, {"Lottra1", 900}});
    ASSERT_EQ(TickUntilInside(1, 10), 1);
    board->day.clockTicks = 1;
    board->PlayTick();
    EXPECT_EQ(board->day.clockTicks, 0);
    EXPECT_TRUE(board->crowd.arrivals.empty());
    EXPECT_TRUE(board->crowd.entrance.empty());
    EXPECT_EQ(board->crowd.customers.size(), 1u);
    EXPECT_EQ(board->lastDay.levelResult, DayResult::None);
    board->crowd.customers[0]->status = Customer::STATUS_GONE;
    board->PlayTick(); // removes the last customer
    EXPECT_EQ(board->lastDay.levelResult, DayResult::None);
    board->PlayTick(); // the store is empty and no banner shows
    EXPECT_NE(board->lastDay.levelResult, DayResult::None);
}

TEST_F(BoardPlay, WhenTheLastCustomerIsInTheClosedSignComesAndTheClockJumpsToZero)
{
    Arrivals({{"Lottra1", 0}});
    board->PlayTick();
    EXPECT_EQ(board->day.clockTicks, 0);
    int signs = 0;
    for (auto& item : board->sceneItems)
        signs += dynamic_cast<ClosedSign*>(item.get()) != nullptr;
    EXPECT_EQ(signs, 1);
    board->PlayTick();
    for (auto& item : board->sceneItems)
        signs -= dynamic_cast<ClosedSign*>(item.get()) != nullptr;
    EXPECT_EQ(signs, 0) << "the sign comes once";
}

TEST_F(BoardPlay, ArrivalsOfUnknownCustomersAreDropped)
{
    Arrivals({{"nobody1", 0}, {"Lottra1", 0}});
    EXPECT_EQ(board->crowd.arrivals.size(), 1u);
}

TEST_F(BoardPlay, BuyCountsAreSpreadOverAllWishesOfTheType)
{
    Level().buyCounts["Lottra1"] = BuyCounts{1, 0, 2};
    for (unsigned seed : {1u, 2u, 3u, 4u})
    {
        std::srand(seed);
        Arrivals({{"Lottra1", 0}, {"Lottra1", 0}, {"Lottra1", 0}});
        std::vector<int> all;
        for (const CrowdArrival& arrival : board->crowd.arrivals)
        {
            EXPECT_EQ(arrival.wishTypes.size(), 2u);
            all.insert(all.end(), arrival.wishTypes.begin(), arrival.wishTypes.end());
        }
        EXPECT_EQ(std::count(all.begin(), all.end(), 0), 3);
        EXPECT_EQ(std::count(all.begin(), all.end(), 1), 2);
        EXPECT_EQ(std::count(all.begin(), all.end(), 2), 0);
        EXPECT_EQ(std::count(all.begin(), all.end(), 3), 1);
    }
}

TEST_F(BoardPlay, ClicksBecomeOrdersUpToTheLimits)
{
    DiscardRack& rack = AddRack();
    board->OnMouseDown(rack.x + 5, rack.y + 5, 1);
    ASSERT_EQ(merchant->actions.size(), 1u);
    EXPECT_TRUE(dynamic_cast<DiscardClothing*>(merchant->actions.back().get()) != nullptr);
    // One order per rack at a time; the click is not passed on.
    board->OnMouseDown(rack.x + 5, rack.y + 5, 1);
    EXPECT_EQ(merchant->actions.size(), 1u);
    // Six orders in all: the seventh click is dropped.
    rack.maxOrders = 10;
    for (int i = 0; i < 8; ++i)
        board->OnMouseDown(rack.x + 5, rack.y + 5, 1);
    EXPECT_EQ(merchant->actions.size(), 6u);
}

TEST_F(BoardPlay, ARightClickDropsTheNewestOrderOrStopsTheOnlyOne)
{
    for (int i = 0; i < 3; ++i)
        merchant->AddAction(std::make_unique<DiscardClothing>(*merchant, nullptr));
    Action* second = merchant->actions[1].get();
    board->OnMouseDown(300, 300, -1);
    ASSERT_EQ(merchant->actions.size(), 2u);
    EXPECT_EQ(merchant->actions.back().get(), second);
    EXPECT_FALSE(second->cancelled);
    merchant->actions.pop_back();
    board->OnMouseDown(300, 300, -1);
    ASSERT_EQ(merchant->actions.size(), 1u);
    EXPECT_TRUE(merchant->actions.front()->cancelled);
}

TEST_F(BoardPlay, SpaceAndClicksPauseAndResumeOnlyWhilePlaying)
{
    DiscardRack& rack = AddRack();
    board->SetBoardState(BoardState::Covered, true);
    board->OnChar(' ');
    EXPECT_EQ(board->PauseCount(), 0);
    board->SetBoardState(BoardState::Playing, false);
    board->OnChar(' ');
    EXPECT_EQ(board->PauseCount(), 1);
    EXPECT_FALSE(board->hud.buttonsEnabled);
    board->OnMouseDown(rack.x + 5, rack.y + 5, 1);
    EXPECT_EQ(board->PauseCount(), 0);
    EXPECT_TRUE(merchant->actions.empty()) << "the click only resumed the day";
    EXPECT_TRUE(board->hud.buttonsEnabled);
}

TEST_F(BoardPlay, CheatWordsCountFromTheirEighthCharacterAndRepeat)
{
    struct Case
    {
        const char* typed;
        double score;
    };
    for (Case c : {Case{"qarvons", 0}, Case{"xx7qarvonsc", 1000}, Case{"qarvonscqarvonsc", 2000},
                   Case{"QARVONSC", 0}})
    {
        GameState run = *board->run.Progress();
        run.score = 0;
        board->run.ReplaceWorkingCopy(run);
        board->ClearCheatWord();
        for (const char* p = c.typed; *p != 0; ++p)
            board->OnChar(*p);
        EXPECT_EQ(board->run.Progress()->score, c.score) << c.typed;
    }
}

TEST_F(BoardPlay, SalesAnnounceEachGoalOnce)
{
    struct Case
    {
        double before;
        double sale;
        Zestra::Image* banner;
    };
    auto goalBanner = MakePicture(10, 10);
    auto expertBanner = MakePicture(10, 10);
    IMAGE_GOAL_REACHED = goalBanner;
    IMAGE_EXPERT_GOAL_REACHED = expertBanner;
    for (Case c : {Case{99.5, 0.5, goalBanner.get()}, Case{100.4, 5, nullptr}, Case{90, 70, expertBanner.get()},
                   Case{140, 10, expertBanner.get()}, Case{0, 10, nullptr}})
    {
        board->day.money = c.before;
        board->hud.bannerTimer = -1;
        board->hud.bannerImage = nullptr;
        board->AddSale(c.sale, 0, 0);
        EXPECT_EQ(board->hud.bannerImage, c.banner) << c.before << " + " << c.sale;
        EXPECT_EQ(board->hud.bannerTimer, c.banner != nullptr ? 0 : -1);
    }
}

TEST_F(BoardPlay, GiftWrappingIsBookedAsCash)
{
    board->AddSale(20.0, 1.0, 2);
    EXPECT_DOUBLE_EQ(board->day.cash, 25.0);
    EXPECT_DOUBLE_EQ(board->day.tips, 1.0);
    EXPECT_DOUBLE_EQ(board->day.money, 26.0);
}

TEST_F(BoardPlay, TheBannerLasts225Ticks)
{
    Arrivals({{"Lottra1", 5000}});
    board->hud.bannerTimer = 0;
    for (int i = 0; i < 224; ++i)
        board->PlayTick();
    EXPECT_EQ(board->hud.bannerTimer, 224);
    board->PlayTick();
    EXPECT_EQ(board->hud.bannerTimer, -1);
}

TEST(Clock, ShowsMinutesAndSeconds)
{
    EXPECT_EQ(ClockText(6500), "1:05");
    EXPECT_EQ(ClockText(99), "0:00");
    EXPECT_EQ(ClockText(18000), "3:00");
}

TEST_F(BoardPlay, TheEndOfTheDayComparesMoneyWithTheGoals)
{
    struct Case
    {
        double money;
        DayResult result;
        int livesLeft;
    };
    for (Case c : {Case{99.99, DayResult::Failed, 3}, Case{100, DayResult::Passed, 4},
                   Case{149.99, DayResult::Passed, 4}, Case{150, DayResult::Expert, 4}})
    {
        GameState run;
        run.store = &store;
        run.storeNumber = 1;
        board->run.StartDay(&store, run, run);
        board->lastDay.levelResult = DayResult::None;
        board->day.money = c.money;
        board->EndLevel();
        EXPECT_EQ(board->lastDay.levelResult, c.result) << c.money;
        ASSERT_TRUE(board->run.Saved()) << c.money;
        EXPECT_EQ(board->run.Saved()->lives, c.livesLeft);
        EXPECT_EQ(board->run.Saved()->levelIndex, IsPassed(c.result) ? 1 : 0);
        EXPECT_EQ(board->lastDay.highScoreRank, std::nullopt);
    }
}

TEST_F(BoardPlay, FailingTheLastLifeEndsTheRunAndSubmitsTheScore)
{
    FakeRecorder recorder;
    board->SetRecorder(&recorder);
    GameState run = *board->run.Progress();
    run.score = 500;
    GameState startOfDay = run;
    startOfDay.lives = 1;
    board->run.StartDay(&store, startOfDay, run);
    board->day.money = 40.5;
    board->EndLevel();
    EXPECT_FALSE(board->run.Saved());
    EXPECT_TRUE(recorder.lastSavedWasNone);
    ASSERT_EQ(recorder.submitted.size(), 1u);
    EXPECT_EQ(recorder.submitted[0], std::make_pair(1, 540));
    EXPECT_EQ(board->lastDay.highScoreRank, 3);
    EXPECT_EQ(board->lastDay.runTotal, 540);
    EXPECT_DOUBLE_EQ(board->day.money, 40.5); // the HUD keeps showing today's takings, not the run's
}

TEST_F(BoardPlay, PassingTheLastDayOfAStoreStartsARunInTheNextAndUnlocksIt)
{
    for (const char* name : {"A", "B"})
        host.AddStoreImages(name);
    folder.Write("properties/stores.xml", R"(<store name="A"/><store name="B"/>)");
    folder.Write("properties/levels.xml",
                 R"(<store/><level min_goal="100" expert_goal="150"/><level min_goal="100" expert_goal="150"/>
<store/><level min_goal="10"/>)");
    LevelStats stores(host, false);
    FakeRecorder recorder;
    board->SetRecorder(&recorder);
    GameState run = NewGameState(GetStoreInfo(1));
    run.levelIndex = 1;
    run.score = 300;
    board->run.StartDay(GetStoreInfo(1), run, run);
    board->day.goal = 100;
    board->day.expertGoal = 150;
    board->day.money = 100; // exactly the goal passes
    board->EndLevel();
    EXPECT_EQ(board->lastDay.levelResult, DayResult::Passed);
    EXPECT_EQ(recorder.passed, (std::vector<std::pair<int, bool>>{{1, false}}));
    EXPECT_TRUE(board->lastDay.storeCompleted);
    EXPECT_EQ(recorder.unlocked, std::vector<int>{2});
    ASSERT_TRUE(board->run.Saved());
    EXPECT_EQ(board->run.Saved()->storeNumber, 2);
    EXPECT_EQ(board->run.Saved()->levelIndex, 0);
    EXPECT_FALSE(board->run.Progress());
    EXPECT_FALSE(recorder.lastSavedWasNone);
    // The finished store's run goes into its high-score table.
    EXPECT_EQ(recorder.submitted, (std::vector<std::pair<int, int>>{{1, 400}}));
    EXPECT_EQ(board->lastDay.highScoreRank, 3);
    EXPECT_EQ(board->lastDay.runTotal, 400);
    EXPECT_DOUBLE_EQ(board->day.money, 100);
}

TEST_F(BoardPlay, ADoomedCustomerCannotBeHighlightedForADrink)
{
    Arrivals({{"Lottra1", 0}});
    board->PlayTick();
    ASSERT_EQ(board->crowd.customers.size(), 1u);
    Customer& customer = *board->crowd.customers[0];
    EXPECT_TRUE(board->crowd.HighlightAt(customer.x + 40, customer.y + 20));
    EXPECT_TRUE(customer.highlighted);
    customer.LineFull();
    EXPECT_FALSE(board->crowd.HighlightAt(customer.x + 40, customer.y + 20));
    EXPECT_FALSE(customer.highlighted);
}

} // namespace
