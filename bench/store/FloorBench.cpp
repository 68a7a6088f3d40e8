// The store floor's costs: all-pairs routes for the game's largest floor (the grid file plus the rings of every
// floor spot of the store with the most spots) and for a synthetic 20 x 20 lattice of 400 nodes, route lookups,
// and one depth-sorted draw of store 1's fully furnished floor with eight people (needs a built game folder).
#include "tests/game/store/FloorContent.h"
#include "tests/support/NullParserHost.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/ScreenImage.h"
#include "game/data/DataTables.h"
#include "game/data/LevelStats.h"
#include "game/data/ParserHost.h"
#include "game/people/Motion.h"
#include "game/people/Person.h"
#include "game/shopday/Board.h"
#include "game/store/WalkGrid.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <vector>

namespace
{

using NoMediaHost = TestSupport::NullParserHost;

// Ring centres and tops of every floor spot of the store with the most spots.
std::vector<FurnitureFootprint> LargestFloor()
{
    namespace fs = std::filesystem;
    fs::path old = fs::current_path();
    fs::current_path(VELMORA_CONTENT_DIR);
    std::vector<FurnitureFootprint> best;
    {
        NoMediaHost host;
        LevelStats stores(host, false);
        for (int number = 1; number <= StoreCount(); ++number)
        {
            const StoreInfo* store = GetStoreInfo(number);
            if (store->floorSpots.size() <= best.size())
                continue;
            best.clear();
            // Width 0: a ring needs only the centre.
            for (const FloorSpot& spot : store->floorSpots)
                best.push_back(FurnitureFootprint{spot.x * 72 + 203, spot.y * 55 + 106, 0});
        }
    }
    FreeDataTables();
    fs::current_path(old);
    return best;
}

void LoadGameFloor(WalkGrid& grid, const std::vector<FurnitureFootprint>& floor)
{
    grid.Load(std::string(VELMORA_CONTENT_DIR) + "/properties/grid.txt");
    grid.SetFurniture(floor);
}

void BM_ComputeRoutesGameFloor(benchmark::State& state)
{
    WalkGrid grid;
    LoadGameFloor(grid, LargestFloor());
    for (auto _ : state)
    {
        grid.ComputeRoutes();
        benchmark::ClobberMemory();
    }
    state.counters["nodes"] = grid.NodeCount();
}
BENCHMARK(BM_ComputeRoutesGameFloor)->Unit(benchmark::kMillisecond);

void BM_ComputeRoutesSynthetic400(benchmark::State& state)
{
    WalkGrid grid;
    for (int row = 0; row < 20; ++row)
        for (int column = 0; column < 20; ++column)
            grid.AddNode(30 + 30 * column, 30 + 30 * row, "+");
    for (auto _ : state)
    {
        grid.ComputeRoutes();
        benchmark::ClobberMemory();
    }
    state.counters["nodes"] = grid.NodeCount();
}
BENCHMARK(BM_ComputeRoutesSynthetic400)->Unit(benchmark::kMillisecond);

void BM_RouteLookup(benchmark::State& state)
{
    WalkGrid grid;
    LoadGameFloor(grid, LargestFloor());
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, grid.NodeCount() - 1);
    // Nodes under furniture cannot be reached by design; walks only ever go between reachable points.
    std::vector<std::pair<int, int>> pairs;
    while (pairs.size() < 1024)
    {
        int from = pick(random);
        int to = pick(random);
        if (grid.Distance(from, to) < WalkGrid::kFar)
            pairs.emplace_back(from, to);
    }
    size_t next = 0;
    int64_t moves = 0;
    for (auto _ : state)
    {
        const GridNode& from = grid.NodeAt(pairs[next].first);
        const GridNode& to = grid.NodeAt(pairs[next].second);
        next = (next + 1) % pairs.size();
        MotionPath path = grid.Route(nullptr, from.x, from.y, false, to.x, to.y);
        moves += int64_t(path.size());
        benchmark::DoNotOptimize(path);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["moves/route"] = benchmark::Counter(double(moves) / double(state.iterations()));
}
BENCHMARK(BM_RouteLookup);

void BM_DrawFurnishedFloor(benchmark::State& state)
{
    std::string why;
    if (!LoadFloorContent(FloorContentFolder(), &why))
    {
        state.SkipWithError(why.c_str());
        return;
    }
    {
        const StoreInfo* store = GetStoreInfo(1);
        Zestra::Board board;
        GameState run = NewGameState(store);
        for (size_t j = 0; j < store->floorSpots.size(); ++j)
            run.furnitureLevels[j] = int(store->floorSpots[j].upgrades.size()) - 1;
        run.changingRooms = store->initialChangingRooms + int(store->changingRoomPrices.size());
        run.RebuildMannequinClothing();
        board.run.StartDay(store, run, run);
        board.LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
        board.LoadLevel(false);
        const char* names[] = {"Lottra", "Grunwick", "Masel", "Teodan", "Brisk", "Finnola", "Quorra", "Bastien"};
        std::vector<std::unique_ptr<Person>> crowd;
        for (int i = 0; i < 8; ++i)
        {
            crowd.push_back(std::make_unique<Person>(100 + 70 * i, 150 + 40 * (i % 6), names[i], 1.5f));
            if (i % 2 == 1)
                crowd.back()->MoveLeft(-0.0f);
            else
                crowd.back()->MoveDown(0.0f);
            board.people.push_back(crowd.back().get());
        }
        Zestra::ScreenImage screen(800, 600);
        Zestra::Graphics g(&screen);
        // The scene is drawn over the opaque background, as on the board.
        g.SetInk(Zestra::Color(0, 0, 0));
        g.FillBox(0, 0, 800, 600);
        if (Zestra::Image* background = store->GetImage("Background"))
            g.Blit(background, 0, 0);
        for (auto _ : state)
        {
            board.DrawScene(g);
            benchmark::ClobberMemory();
        }
        board.people.clear();
    }
    FreeFloorContent();
}
BENCHMARK(BM_DrawFurnishedFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
