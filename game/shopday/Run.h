// The run being played: its working copy (what the day is played on, upgrades bought before it included), the copy
// from the start of the day, and the store whose pictures the board shows. The board owns the one run; everything
// else reads it and moves it on only through these operations. Without a run both copies are absent.
#pragma once

#include "game/profile/DayRecord.h"
#include "game/profile/GameState.h"

#include <memory>
#include <optional>

struct ShopOffer;
struct StoreInfo;

class Run
{
public:
    const GameState* Progress() const { return progress ? &*progress : nullptr; }
    const GameState* Saved() const { return saved ? &*saved : nullptr; }
    // The store the board dresses itself for; it follows the run when one starts or the map opens.
    const StoreInfo* Store() const { return store; }
    // What the HUD counts drinks and lives of: the working copy, else the start-of-day copy.
    const GameState* Shown() const { return progress ? Progress() : Saved(); }
    bool Active() const { return progress.has_value(); }

    // A new run of that store from its first day: both copies fresh.
    void StartStore(const StoreInfo* storeInfo);
    // A day set up by hand (the "-level" option, diagnostics, fixtures): startOfDay is what a failed day falls back
    // to, working what the day is played on.
    void StartDay(const StoreInfo* storeInfo, const GameState& startOfDay, const GameState& working);
    // The working copy becomes this, the start-of-day copy stays (screen fixtures).
    void ReplaceWorkingCopy(const GameState& working);
    // Main menu Play: the profile's saved run goes on (none: no run), or the player gives it up for a new one.
    void Resume(std::unique_ptr<GameState> profileRun);
    void GiveUp();
    // No run at all: both copies go (a board that starts over).
    void Forget();
    // The map: the day to come is played on a fresh copy of the start-of-day one (none when the run has ended).
    // Purchases of a failed day are lost here.
    void GoOn();
    // The day is over: the rule of EndOfDay moves the run on. Needs a working copy.
    DayEnd EndDay(const DayFigures& day);
    // A skip word; the record for the profile, or nothing when the run cannot move on.
    std::optional<DayRecord> Skip(bool wholeStore);

    // The upgrade shop: false (nothing paid) when the cash does not cover the amount.
    bool Pay(int amount);
    void Apply(const ShopOffer& offer);
    // At least that much cash in both copies (the shop lesson needs something to spend).
    void GrantCash(double atLeast);
    // Every day in a store with drinks starts with the store's drinks.
    void RefillDrinks(int drinks);
    void UseDrink();
    // The debug words.
    void AddCash(double amount, double cap);
    void AddLife(int cap);
    void AddScore(double amount);
    void MoveToLastDay(int levelCount);

private:
    std::optional<GameState> progress;
    std::optional<GameState> saved;
    const StoreInfo* store = nullptr; // not owned: the store table's
};
