// The board's book-keeping of a shop day: sales, tips, lost customers, the goal banners and the end of the day,
// which moves the run on (or costs a life) and tells the profile.
#include "game/shopday/Board.h"

#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/audio/GameSound.h"
#include "game/shoprules/ShopOffers.h"
#include "game/res/Res.h"
#include "game/store/CashRegister.h"

namespace Zestra
{

double Board::TipFactor() const
{
    // A store without a goodie rack of its own (bonus 0) must not wipe out every tip once one was bought.
    if (progress != nullptr && progress->goodieRack > 0 && store != nullptr && store->goodieRackBonus > 0.0f)
        return store->goodieRackBonus;
    return 1.0;
}

void Board::AddSale(double price, double tip, int wrappedCount)
{
    double sale = price;
    if (wrappedCount > 0 && store != nullptr)
        sale += double(store->giftWrapCost) * wrappedCount;
    DayLedger::Reached reached = day.AddSale(sale, tip);
    if (cashRegister != nullptr)
        cashRegister->ShowAmounts(sale, tip);
    PlayGameSound(SOUND_CASH_REGISTER);
    if (reached == DayLedger::Reached::ExpertGoal)
    {
        hud.ShowBanner(IMAGE_EXPERT_GOAL_REACHED.get());
        PlayGameSound(SOUND_EXPERT_GOAL);
    }
    else if (reached == DayLedger::Reached::Goal)
    {
        hud.ShowBanner(IMAGE_GOAL_REACHED.get());
        PlayGameSound(SOUND_GOAL_REACHED);
    }
}

void Board::AddLostCustomer()
{
    day.lostCustomers += 1;
    PlayGameSound(SOUND_CUSTOMER_EXPLODE);
}

void Board::AddBonusMoney(double amount)
{
    day.AddBonus(amount);
}

bool Board::SpendFunds(int amount)
{
    // A panel left open while the cash changed must not take the run below zero.
    if (progress == nullptr || !PayFromCash(progress->cash, amount))
        return false;
    PlayGameSound(SOUND_CASH_REGISTER);
    return true;
}

void Board::EndLevel()
{
    if (progress == nullptr || store == nullptr)
        return;
    Invalidate(); // the last picture of the day shows its final figures
    const LevelInfo* level = store->GetLevel(progress->levelIndex);
    bool minigame = level != nullptr && level->isMinigame;
    int levelCount = int(store->levels.size());
    storeCompleted = false;
    levelMoney = day.money;
    levelPlayed = progress->levelIndex;

    bool passed = day.money >= day.goal || minigame;
    int result = 0;
    if (passed)
    {
        bool expert = day.money >= day.expertGoal;
        if (recorder != nullptr)
            recorder->RecordLevelPassed(progress->storeNumber, progress->levelIndex, expert);
        result = expert ? 2 : 1;
    }
    else
    {
        // A run always keeps its start-of-day copy; one started without it fails from the working copy.
        if (!savedProgress)
            savedProgress = std::make_unique<GameState>(*progress);
        savedProgress->lives -= 1;
    }

    double previousScore = progress->score;
    storePlayed = progress->storeNumber;
    runLives = passed ? progress->lives : savedProgress->lives;
    bool runEnded = false;
    if (passed)
    {
        progress->cash += day.cash + day.tips;
        progress->score += day.money;
        progress->levelIndex += 1;
        if (progress->levelIndex >= levelCount)
        {
            storeCompleted = true;
            runEnded = true;
            const StoreInfo* next = GetStoreInfo(progress->storeNumber + 1);
            if (progress->storeNumber + 1 <= PlayableStoreCount() && next != nullptr)
                progress = std::make_unique<GameState>(NewGameState(next));
            else
                progress.reset();
        }
        if (progress && recorder != nullptr)
            recorder->UnlockStore(progress->storeNumber);
        savedProgress = std::move(progress);
    }
    else if (savedProgress->lives <= 0)
    {
        storeCompleted = false;
        savedProgress.reset();
        runEnded = true;
    }

    if (recorder != nullptr)
        recorder->SetSavedGame(savedProgress.get());
    int finalScore = int(previousScore + day.money);
    runTotal = passed || !savedProgress ? finalScore : int(savedProgress->score);
    if (runEnded)
        highScoreRank = recorder != nullptr ? recorder->SubmitHighScore(storePlayed, finalScore) : -1;
    else
        highScoreRank = -2;
    if (recorder != nullptr)
        recorder->SaveProfiles();
    day.money = finalScore;
    levelResult = result;
    if (onLevelEnded)
        onLevelEnded();
}

} // namespace Zestra
