// Whole runs through a store of the game's own content, with and without the upgrade shop, and the content's
// upgrade path. Skipped when the build has no content folder.
#include "ShopContent.h"

#include "../store/FloorContent.h"

#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/diag/HeadlessRun.h"
#include "game/profile/GameState.h"
#include "game/shoprules/ShopOffers.h"
#include "game/shopday/Board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

class WholeRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        if (!LoadShopContent(&error))
            GTEST_SKIP() << error;
        board = std::make_unique<Zestra::Board>();
        board->LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
    }
    void TearDown() override
    {
        board.reset();
        FreeShopContent();
    }

    std::unique_ptr<Zestra::Board> board;
};

bool Has(const std::vector<ShopOffer>& offers, ShopKind kind)
{
    return std::any_of(offers.begin(), offers.end(), [&](const ShopOffer& offer) { return offer.kind == kind; });
}

} // namespace

// Every store sells every kind from its first shop on, every offer has its name and description, and buying
// everything there is ends with nothing left to sell.
TEST_F(WholeRun, EveryStoreHasAFullUpgradePathWithItsTexts)
{
    for (int number = 1; number <= StoreCount(); ++number)
    {
        GameState run = NewGameState(GetStoreInfo(number));
        std::vector<ShopOffer> offers = ListShopOffers(run);
        for (ShopKind kind : {ShopKind::ChangingRoom, ShopKind::Merchant, ShopKind::GoodieRack, ShopKind::Furniture})
            EXPECT_TRUE(Has(offers, kind)) << "store " << number << " kind " << int(kind);
        run.cash = 1e9;
        int purchases = 0;
        while (!offers.empty() && purchases < 200)
        {
            for (const ShopOffer& offer : offers)
            {
                EXPECT_FALSE(GetText("buy_" + offer.itemName).empty()) << number << " " << offer.itemName;
                EXPECT_FALSE(GetText("buy_" + offer.itemName + "_msg").empty()) << number << " " << offer.itemName;
            }
            auto allowed = std::find_if(offers.begin(), offers.end(), [&](const ShopOffer& offer) {
                return CheckPurchase(run, offer) == PurchaseCheck::Allowed;
            });
            ASSERT_NE(allowed, offers.end()) << "store " << number << ": offers left that can never be bought";
            ASSERT_TRUE(BuyOffer(run, *allowed));
            ++purchases;
            offers = ListShopOffers(run);
        }
        EXPECT_TRUE(offers.empty()) << "store " << number;
        EXPECT_TRUE(run.AllSpotsFurnished()) << "store " << number;
    }
}

// Store 1 with the shop: the first day's takings buy the changing room before day 2 (the shopping lesson's buy),
// the cash never goes below zero, and a failed day's purchases are bought again from the returned cash.
TEST_F(WholeRun, TheFirstStoresRunBuysWithItsTakingsAndNeverOverspends)
{
    HeadlessRun harness(*board);
    std::vector<GameState> shopped;
    harness.shopper = [&](GameState& run, std::vector<std::string>& bought) {
        ShopByRule(run, bought);
        shopped.push_back(run);
    };
    std::vector<RunDayRecord> days = harness.PlayStore(1, true, 1);
    ASSERT_GE(days.size(), 2u);
    EXPECT_TRUE(days[0].bought.empty()) << "no shop before the first day";
    ASSERT_EQ(days[1].level, 1);
    ASSERT_FALSE(days[1].bought.empty());
    EXPECT_EQ(days[1].bought[0], "changing_room");
    for (size_t i = 0; i < days.size(); ++i)
    {
        EXPECT_GE(days[i].cashBefore - days[i].spent, 0.0) << i;
        if (i > 0 && days[i].attempt > 1)
        {
            EXPECT_EQ(days[i].cashBefore, days[i - 1].cashBefore) << "a failed day gives its purchases' cash back";
        }
    }
    for (const GameState& run : shopped)
        EXPECT_GE(run.cash, 0.0);
    EXPECT_GE(shopped.front().changingRooms, 2);
}

namespace
{

struct RunTally
{
    int days = 0;      // regular days played
    int firstTry = 0;  // passed at the first attempt
    int attempts = 0;
    double money = 0;  // takings of the passed days
};

RunTally Tally(const std::vector<RunDayRecord>& records)
{
    RunTally tally;
    for (const RunDayRecord& record : records)
    {
        tally.attempts += 1;
        if (record.attempt == 1)
            tally.days += 1;
        if (record.attempt == 1 && record.outcome.result > 0)
            tally.firstTry += 1;
        if (record.outcome.result > 0)
            tally.money += record.outcome.money;
    }
    return tally;
}

} // namespace

// Every store's run with and without the shop, over several seeds, with the tables; long, so only on request
// (VELMORA_ALL_DAYS=1). The shop must not make the built-in player pass fewer days, and its takings must grow
// through a store as it buys.
TEST_F(WholeRun, EveryStorePlayedWithAndWithoutTheShop)
{
    if (std::getenv("VELMORA_ALL_DAYS") == nullptr)
        GTEST_SKIP() << "set VELMORA_ALL_DAYS=1 to play every store's run";
    const unsigned seeds[] = {1, 2, 3};
    RunTally total[2];
    for (int number = 1; number <= StoreCount(); ++number)
    {
        for (unsigned seed : seeds)
        {
            RunTally tally[2];
            std::vector<RunDayRecord> records[2];
            for (int shopping = 0; shopping < 2; ++shopping)
            {
                HeadlessRun harness(*board);
                records[shopping] = harness.PlayStore(number, shopping == 1, seed);
                tally[shopping] = Tally(records[shopping]);
                total[shopping].days += tally[shopping].days;
                total[shopping].firstTry += tally[shopping].firstTry;
                total[shopping].attempts += tally[shopping].attempts;
                total[shopping].money += tally[shopping].money;
            }
            std::printf("store %d seed %u: without shop %2d/%2d first try, %2d attempts, $%8.2f | with shop %2d/%2d "
                        "first try, %2d attempts, $%8.2f\n",
                        number, seed, tally[0].firstTry, tally[0].days, tally[0].attempts, tally[0].money,
                        tally[1].firstTry, tally[1].days, tally[1].attempts, tally[1].money);
            if (seed != seeds[0])
                continue;
            // The day's takings at its first attempt, without and with the shop, and what the shop sold before it.
            for (const RunDayRecord& with : records[1])
            {
                if (with.attempt != 1)
                    continue;
                double without = 0;
                for (const RunDayRecord& plain : records[0])
                    if (plain.level == with.level && plain.attempt == 1)
                        without = plain.outcome.money;
                std::string bought;
                for (const std::string& item : with.bought)
                    bought += (bought.empty() ? "" : ", ") + item;
                std::printf("  day %2d goal %7.2f: without %7.2f, with %7.2f %-7s cash %8.2f spent %7.2f %s\n",
                            with.level, with.outcome.goal, without, with.outcome.money,
                            with.outcome.result == 2 ? "expert" : (with.outcome.result == 1 ? "passed" : "failed"),
                            with.cashBefore, with.spent, bought.c_str());
            }
        }
    }
    std::printf("all stores: without shop %d/%d first try (%d attempts), with shop %d/%d first try (%d attempts)\n",
                total[0].firstTry, total[0].days, total[0].attempts, total[1].firstTry, total[1].days,
                total[1].attempts);
    EXPECT_GE(total[1].firstTry * total[0].days, total[0].firstTry * total[1].days);
}

