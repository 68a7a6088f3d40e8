// Speed of a whole shop day of the game's own content (store 1, first day) played by the built-in player:
// simulation alone, and simulation with a full repaint after every tick. "x_realtime" is the simulated time over
// the time taken (a day of 18000 ticks is three minutes); update_share and draw_share split the drawing run.
#include "../../tests/game/diag/ShopContent.h"
#include "../../tests/game/store/FloorContent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/diag/HeadlessDay.h"
#include "game/diag/PlayerBot.h"
#include "game/shopday/Board.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace
{

bool ContentReady(benchmark::State& state)
{
    static const bool loaded = [] {
        std::string error;
        return LoadShopContent(&error);
    }();
    if (!loaded)
        state.SkipWithError("no built content (set VELMORA_GAME_DIR)");
    return loaded;
}

std::unique_ptr<Zestra::Board> OpenFirstDay()
{
    std::srand(1);
    auto board = std::make_unique<Zestra::Board>();
    board->LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
    board->OpenDay(1, 0);
    return board;
}

void BM_WholeDaySimulation(benchmark::State& state)
{
    if (!ContentReady(state))
        return;
    long ticks = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto board = OpenFirstDay();
        state.ResumeTiming();
        HeadlessDay day(*board);
        ticks += day.Play(true, nullptr).ticks;
        state.PauseTiming();
        board.reset();
        state.ResumeTiming();
    }
    state.counters["ticks_per_s"] = benchmark::Counter(double(ticks), benchmark::Counter::kIsRate);
    state.counters["x_realtime"] = benchmark::Counter(double(ticks) / 100.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeDaySimulation)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WholeDayWithDrawing(benchmark::State& state)
{
    if (!ContentReady(state))
        return;
    using Clock = std::chrono::steady_clock;
    long ticks = 0;
    double updateSeconds = 0;
    double drawSeconds = 0;
    Zestra::MemoryImage screen(800, 600);
    for (auto _ : state)
    {
        state.PauseTiming();
        auto board = OpenFirstDay();
        state.ResumeTiming();
        HeadlessDay day(*board);
        PlayerBot bot(*board, [&day](const Zestra::PlatformEvent& event) { day.Deliver(event); });
        Zestra::Graphics g(&screen);
        while (board->levelResult < 0 && ticks < 10000000)
        {
            Clock::time_point start = Clock::now();
            board->PlayTick();
            if (board->levelResult < 0)
                bot.Update();
            Clock::time_point middle = Clock::now();
            board->PaintPlay(g);
            Clock::time_point end = Clock::now();
            updateSeconds += std::chrono::duration<double>(middle - start).count();
            drawSeconds += std::chrono::duration<double>(end - middle).count();
            ++ticks;
        }
        state.PauseTiming();
        board.reset();
        state.ResumeTiming();
    }
    state.counters["ticks_per_s"] = benchmark::Counter(double(ticks), benchmark::Counter::kIsRate);
    state.counters["x_realtime"] = benchmark::Counter(double(ticks) / 100.0, benchmark::Counter::kIsRate);
    double total = updateSeconds + drawSeconds;
    state.counters["update_share"] = total > 0 ? updateSeconds / total : 0;
    state.counters["draw_share"] = total > 0 ? drawSeconds / total : 0;
}
BENCHMARK(BM_WholeDayWithDrawing)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
