// Speed of a whole shop day of the game's own content (store 1, first day) played by the built-in player:
// simulation alone, and simulation with a full repaint after every tick. "x_realtime" is the simulated time over
// the time taken (a day of 18000 ticks is three minutes); update_share and draw_share split the drawing run.
// The screen variants draw the way the game does, into the screen image and on to a headless display after every
// tick: once with every frame repainted in full, once with frames compared and repainted where they changed. The
// latter is the one that must run at least 50 times faster than real time.
#include "../../tests/game/diag/ShopContent.h"
#include "../../tests/game/store/FloorContent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/ScreenImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/diag/HeadlessDay.h"
#include "game/diag/PlayerBot.h"
#include "game/shopday/Board.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

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
        while (board->lastDay.levelResult == DayResult::None && ticks < 10000000)
        {
            Clock::time_point start = Clock::now();
            board->PlayTick();
            if (board->lastDay.levelResult == DayResult::None)
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

void WholeDayOnScreen(benchmark::State& state, bool compared)
{
    if (!ContentReady(state))
        return;
    using Clock = std::chrono::steady_clock;
    long ticks = 0;
    double updateSeconds = 0;
    double drawSeconds = 0;
    double presentSeconds = 0;
    Zestra::HeadlessPlatform display;
    std::string error;
    if (display.CreateMainWindow(Zestra::WindowSpec{"bench", 800, 600}, error) != Zestra::DisplayResult::Ok)
    {
        state.SkipWithError(error.c_str());
        return;
    }
    Zestra::ScreenImage screen(800, 600);
    screen.SetRetainedDrawing(compared);
    for (auto _ : state)
    {
        state.PauseTiming();
        auto board = OpenFirstDay();
        state.ResumeTiming();
        HeadlessDay day(*board);
        PlayerBot bot(*board, [&day](const Zestra::PlatformEvent& event) { day.Deliver(event); });
        Zestra::Graphics g(&screen);
        while (board->lastDay.levelResult == DayResult::None && ticks < 10000000)
        {
            Clock::time_point start = Clock::now();
            board->PlayTick();
            if (board->lastDay.levelResult == DayResult::None)
                bot.Update();
            Clock::time_point middle = Clock::now();
            screen.BeginFrame();
            board->PaintPlay(g);
            screen.EndFrame();
            Clock::time_point drawn = Clock::now();
            screen.PresentTo(display);
            Clock::time_point end = Clock::now();
            updateSeconds += std::chrono::duration<double>(middle - start).count();
            drawSeconds += std::chrono::duration<double>(drawn - middle).count();
            presentSeconds += std::chrono::duration<double>(end - drawn).count();
            ++ticks;
        }
        state.PauseTiming();
        board.reset();
        state.ResumeTiming();
    }
    state.counters["x_realtime"] = benchmark::Counter(double(ticks) / 100.0, benchmark::Counter::kIsRate);
    state.counters["draw_us_per_frame"] = ticks > 0 ? drawSeconds * 1e6 / double(ticks) : 0;
    state.counters["present_us_per_frame"] = ticks > 0 ? presentSeconds * 1e6 / double(ticks) : 0;
    state.counters["update_us_per_tick"] = ticks > 0 ? updateSeconds * 1e6 / double(ticks) : 0;
}

void BM_WholeDayOnScreenFullFrames(benchmark::State& state)
{
    WholeDayOnScreen(state, false);
}
BENCHMARK(BM_WholeDayOnScreenFullFrames)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WholeDayOnScreenComparedFrames(benchmark::State& state)
{
    WholeDayOnScreen(state, true);
}
BENCHMARK(BM_WholeDayOnScreenComparedFrames)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
