#include "game/shopday/Run.h"

#include "game/data/LevelStats.h"
#include "game/data/Money.h"
#include "game/shoprules/ShopOffers.h"

#include <algorithm>

namespace
{
// The store a finished store's run goes on in: none after the last playable one.
const StoreInfo* NextStoreAfter(int storeNumber)
{
    const StoreInfo* next = GetStoreInfo(storeNumber + 1);
    return storeNumber + 1 <= PlayableStoreCount() ? next : nullptr;
}
} // namespace

void Run::StartStore(const StoreInfo* storeInfo)
{
    store = storeInfo;
    saved = NewGameState(storeInfo);
    progress = saved;
}

void Run::StartDay(const StoreInfo* storeInfo, const GameState& startOfDay, const GameState& working)
{
    store = storeInfo;
    saved = startOfDay;
    progress = working;
}

void Run::ReplaceWorkingCopy(const GameState& working)
{
    progress = working;
}

void Run::Resume(std::unique_ptr<GameState> profileRun)
{
    saved.reset();
    if (!profileRun)
        return;
    saved = *profileRun;
    store = GetStoreInfo(saved->storeNumber);
}

void Run::GiveUp()
{
    saved.reset();
}

void Run::Forget()
{
    saved.reset();
    progress.reset();
}

void Run::GoOn()
{
    progress = saved;
    if (progress)
        store = GetStoreInfo(progress->storeNumber);
}

DayEnd Run::EndDay(const DayFigures& day)
{
    const StoreInfo* played = store;
    int levelCount = played != nullptr ? int(played->levels.size()) : 0;
    DayEnd end = EndOfDay(RunCopies{progress, saved}, day, levelCount, NextStoreAfter(progress->storeNumber));
    progress = end.run.progress;
    saved = end.run.saved;
    return end;
}

std::optional<DayRecord> Run::Skip(bool wholeStore)
{
    if (!progress || progress->store == nullptr)
        return std::nullopt;
    const StoreInfo* current = GetStoreInfo(progress->storeNumber);
    if (current == nullptr)
        return std::nullopt;
    const bool lastStore = progress->storeNumber >= PlayableStoreCount();
    std::optional<DayRecord> record =
        SkipDay(*progress, wholeStore, int(current->levels.size()), lastStore, GetStoreInfo(progress->storeNumber + 1));
    if (record)
        progress = saved = record->savedGame;
    return record;
}

bool Run::Pay(int amount)
{
    return progress && PayFromCash(progress->cash, amount);
}

void Run::Apply(const ShopOffer& offer)
{
    if (progress)
        ApplyPurchase(*progress, offer);
}

void Run::GrantCash(double atLeast)
{
    if (!progress)
        return;
    progress->cash = RoundCents(std::max(progress->cash, atLeast));
    if (saved)
        *saved = *progress;
}

void Run::RefillDrinks(int drinks)
{
    if (progress)
        progress->drinks = drinks;
}

void Run::UseDrink()
{
    if (progress)
        progress->drinks -= 1;
}

void Run::AddCash(double amount, double cap)
{
    if (progress)
        progress->cash = RoundCents(std::min(progress->cash + amount, cap));
}

void Run::AddLife(int cap)
{
    if (!progress || progress->lives >= cap)
        return;
    progress->lives += 1;
    if (saved)
        saved->lives += 1;
}

void Run::AddScore(double amount)
{
    if (progress)
        progress->score = AddMoney(progress->score, amount);
}

void Run::MoveToLastDay(int levelCount)
{
    if (progress && levelCount > 0)
        progress->levelIndex = levelCount - 1;
}
