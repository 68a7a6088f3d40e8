// Plays a whole store headless: every regular day in order, one run from a new game, with the built-in player on
// the floor and, when shopping, its shopping rule in the upgrade shop before every day but the first. A failed day
// is played again from its start-of-day copy (the purchases made before it undone, their cash returned), as the
// game does. Minigame days are stepped over. Used by the whole-run tests to compare play with and without
// shopping.
#pragma once

#include "game/diag/HeadlessDay.h"

#include <functional>
#include <string>
#include <vector>

struct GameState;

namespace Zestra
{
class Board;
}

struct RunDayRecord
{
    int level = 0;   // level index in the store's list
    int attempt = 1; // 1 for the first try of the day
    DayOutcome outcome;
    double cashBefore = 0; // the run's cash when the shop opened
    double spent = 0;
    std::vector<std::string> bought; // item names, in buying order
};

class HeadlessRun
{
public:
    // Buys for the run before a day and names what it bought; the default is the built-in player's rule.
    using Shopper = std::function<void(GameState& run, std::vector<std::string>& bought)>;

    explicit HeadlessRun(Zestra::Board& board);

    // seed: every attempt of every day reseeds the C library generator from it, the store, the day and the attempt,
    // so a run with and one without shopping see the same customers. A day not passed within maxAttempts is
    // recorded and stepped over.
    std::vector<RunDayRecord> PlayStore(int storeNumber, bool shopping, unsigned seed, int maxAttempts = 3);

    Shopper shopper;

private:
    Zestra::Board& mBoard;
};

// The built-in player's shopping in the upgrade shop, applied straight to the run.
void ShopByRule(GameState& run, std::vector<std::string>& bought);
