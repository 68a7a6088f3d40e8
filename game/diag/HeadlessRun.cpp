#include "game/diag/HeadlessRun.h"

#include "game/data/LevelStats.h"
#include "game/diag/ShoppingRule.h"
#include "game/profile/GameState.h"
#include "game/shoprules/ShopOffers.h"
#include "game/shopday/Board.h"

#include <cstdlib>
#include <memory>

void ShopByRule(GameState& run, std::vector<std::string>& bought)
{
    for (;;)
    {
        const std::vector<ShopOffer> offers = ListShopOffers(run);
        const int choice = ChooseShopOffer(run, offers);
        if (choice < 0 || !BuyOffer(run, offers[size_t(choice)]))
            return;
        bought.push_back(offers[size_t(choice)].itemName);
    }
}

HeadlessRun::HeadlessRun(Zestra::Board& board) : shopper(ShopByRule), mBoard(board) {}

std::vector<RunDayRecord> HeadlessRun::PlayStore(int storeNumber, bool shopping, unsigned seed, int maxAttempts)
{
    std::vector<RunDayRecord> records;
    const StoreInfo* store = GetStoreInfo(storeNumber);
    if (store == nullptr)
        return records;
    GameState run = NewGameState(store);
    int attempt = 1;
    while (run.storeNumber == storeNumber && run.levelIndex < int(store->levels.size()))
    {
        const LevelInfo& level = store->levels[size_t(run.levelIndex)];
        if (level.isMinigame)
        {
            run.levelIndex += 1;
            continue;
        }
        RunDayRecord record;
        record.level = run.levelIndex;
        record.attempt = attempt;
        record.cashBefore = run.cash;

        // The start-of-day copy is taken before the shop: a failed day undoes the purchases.
        GameState shopped = run;
        if (shopping && run.levelIndex > 0 && shopper)
            shopper(shopped, record.bought);
        record.spent = run.cash - shopped.cash;
        mBoard.run.StartDay(store, run, shopped);
        mBoard.SetMode(BoardMode::Level);
        mBoard.ClearPauses();
        // The day is played in whole updates (HeadlessDay makes no fractional ones).
        mBoard.SetFractionalUpdates(false);
        std::srand(seed * 7919u + unsigned(storeNumber) * 613u + unsigned(run.levelIndex) * 31u + unsigned(attempt));
        mBoard.LoadLevel(false);
        mBoard.StartShopDay();
        mBoard.SetBoardState(BoardState::Playing, false);
        HeadlessDay day(mBoard);
        record.outcome = day.Play(true, nullptr);
        records.push_back(record);

        const bool passed = record.outcome.result > 0;
        if (passed && mBoard.run.Saved() && mBoard.run.Saved()->storeNumber == storeNumber)
        {
            run = *mBoard.run.Saved();
            attempt = 1;
            continue;
        }
        if (passed || record.outcome.result < 0)
            break; // the store is done (the run moved on to the next one), or the day never ended
        // Failed: back to the start-of-day copy. Lives are not the point of the measurement: an ended run goes on
        // with its lives refilled.
        run = mBoard.run.Saved() ? *mBoard.run.Saved() : run;
        if (run.lives <= 0 || !mBoard.run.Saved())
            run.lives = kNewGameLives;
        if (++attempt > maxAttempts)
        {
            run.levelIndex += 1;
            attempt = 1;
        }
    }
    mBoard.ClearLevel();
    return records;
}
