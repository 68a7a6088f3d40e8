// The board's book-keeping of a shop day: sales, tips, lost customers, the goal banners and the end of the day,
// which moves the run on (or costs a life) and tells the profile.
#include "game/shopday/Board.h"

#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Money.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"
#include "game/shoprules/ShopOffers.h"
#include "game/store/CashRegister.h"

#include <algorithm>

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
    PlayEvent served;
    served.kind = PlayEventKind::CustomerServed;
    served.sale = sale;
    served.tip = tip;
    served.dayTick = playedTicks;
    Feed(served);
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
    PlayEvent lost;
    lost.kind = PlayEventKind::CustomerLost;
    Feed(lost);
}

void Board::AddBonusMoney(double amount)
{
    day.AddBonus(amount);
}

void Board::Feed(PlayEvent event)
{
    const GameState* progress = run.Progress();
    if (recorder == nullptr || mode == BoardMode::Tutorial)
        return;
    if (event.storeNumber == 0)
    {
        if (progress == nullptr)
            return;
        event.storeNumber = progress->storeNumber;
        event.levelIndex = progress->levelIndex;
    }
    toast.Add(recorder->RecordEvent(event));
}

void Board::NoteUpgradeBought()
{
    const GameState* progress = run.Progress();
    if (progress == nullptr)
        return;
    PlayEvent bought;
    bought.kind = PlayEventKind::UpgradeBought;
    bought.offersLeft = int(ListShopOffers(*progress).size());
    Feed(bought);
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

    PlayEvent ended;
    ended.kind = PlayEventKind::DayEnded;
    ended.minigame = figures.minigame;
    ended.money = day.money;
    ended.tips = day.tips;
    ended.goal = day.goal;
    ended.served = day.customersServed;
    ended.lost = day.lostCustomers;
    ended.ticks = playedTicks;
    ended.drinksOnHand = drinksAtStart > 0;
    ended.drinksUsed = drinksGiven;
    ended.storeLevels = int(store->levels.size());
    ended.storeNumber = progress->storeNumber;
    ended.levelIndex = progress->levelIndex;

    DayEnd end = run.EndDay(figures);
    lastDay.storeCompleted = end.storeCompleted;
    lastDay.runLives = end.runLives;
    lastDay.runTotal = end.runTotal;
    ended.result = int(end.record.result);
    ended.runLives = end.runLives;
    // Every store's run starts with kNewGameLives; a debug word may have added more.
    ended.livesLostInStore = std::max(0, kNewGameLives - end.runLives);
    ended.storeCompleted = end.storeCompleted;
    ended.gameCompleted = end.storeCompleted && lastDay.storePlayed >= PlayableStoreCount();
    Feed(ended);
    if (recorder != nullptr)
        lastDay.highScoreRank = recorder->RecordDay(end.record);
    else
        lastDay.highScoreRank = end.record.runEnded ? std::optional<int>(-1) : std::nullopt;
    lastDay.levelResult = end.record.result;
    if (onLevelEnded)
        onLevelEnded();
}

} // namespace Zestra
