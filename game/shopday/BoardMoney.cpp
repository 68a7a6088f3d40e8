// The board's book-keeping of a shop day: sales, tips, lost customers, the goal banners and the end of the day,
// which moves the run on (or costs a life) and tells the profile.
#include "game/shopday/Board.h"

#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Money.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"
#include "game/store/CashRegister.h"

namespace Zestra
{

double Board::TipFactor() const
{
    // A store without a goodie rack of its own (bonus 0) must not wipe out every tip once one was bought.
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    if (progress != nullptr && progress->goodieRack > 0 && store != nullptr && store->goodieRackBonus > 0.0f)
        return store->goodieRackBonus;
    return 1.0;
}

void Board::AddSale(double price, double tip, int wrappedCount)
{
    double sale = price;
    if (wrappedCount > 0 && run.Store() != nullptr)
        sale += double(run.Store()->giftWrapCost) * wrappedCount;
    // The register shows what the books keep.
    sale = RoundCents(sale);
    tip = RoundCents(tip);
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
    if (!run.Pay(amount))
        return false;
    PlayGameSound(SOUND_CASH_REGISTER);
    return true;
}

void Board::EndLevel()
{
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    if (progress == nullptr || store == nullptr)
        return;
    Invalidate(); // the last picture of the day shows its final figures
    const LevelInfo* level = store->GetLevel(progress->levelIndex);
    DayFigures figures;
    figures.money = day.money;
    figures.cash = day.cash;
    figures.tips = day.tips;
    figures.goal = day.goal;
    figures.expertGoal = day.expertGoal;
    figures.minigame = level != nullptr && level->isMinigame;
    lastDay.levelMoney = day.money;
    lastDay.levelPlayed = progress->levelIndex;
    lastDay.storePlayed = progress->storeNumber;

    DayEnd end = run.EndDay(figures);
    lastDay.storeCompleted = end.storeCompleted;
    lastDay.runLives = end.runLives;
    lastDay.runTotal = end.runTotal;
    if (recorder != nullptr)
        lastDay.highScoreRank = recorder->RecordDay(end.record);
    else
        lastDay.highScoreRank = end.record.runEnded ? std::optional<int>(-1) : std::nullopt;
    lastDay.levelResult = end.record.result;
    if (onLevelEnded)
        onLevelEnded();
}

} // namespace Zestra
