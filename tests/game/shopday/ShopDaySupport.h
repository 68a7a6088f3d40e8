// A small shop for the shop-day tests: a catalogue of two garments, a few customer types, a board with its three
// lines and a playable merchant, and a store with two levels. Tables are freed again after each test.
#pragma once

#include "../data/DataTestSupport.h"
#include "../store/StoreTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/people/Customer.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/shopday/Board.h"

#include <memory>
#include <string>
#include <vector>

// Remembers what the end of a day tells the profile.
class FakeRecorder : public DayRecorder
{
public:
    std::vector<std::pair<int, bool>> passed; // (level, expert)
    std::vector<std::pair<int, int>> submitted; // (store, score)
    std::vector<int> unlocked;
    int savedGames = 0;
    bool lastSavedWasNone = false;
    std::optional<int> RecordDay(const DayRecord& record) override
    {
        if (IsPassed(record.result))
            passed.emplace_back(record.levelIndex, record.result == DayResult::Expert);
        if (record.unlockStore > 0)
            unlocked.push_back(record.unlockStore);
        ++savedGames;
        lastSavedWasNone = !record.savedGame;
        if (!record.runEnded)
            return std::nullopt;
        submitted.emplace_back(record.storeNumber, record.finalScore);
        return 3;
    }
};

class ShopDay : public BoundPictures
{
protected:
    FakeHost host;
    ScratchGameFolder folder;
    StoreInfo store;
    std::unique_ptr<Zestra::Board> board;
    Merchant* merchant = nullptr;
    int tee = 0;   // price 40
    int jeans = 0; // price 25

    void SetUp() override;
    void TearDown() override;

    // A customer of the given type inside the store, with its start-up steps dropped.
    Customer& AddCustomer(const std::string& key);
    // Runs the customer's queue until nothing is left that needs no time.
    void Settle(Customer& customer);
    std::vector<std::unique_ptr<Customer>> extras;
};
