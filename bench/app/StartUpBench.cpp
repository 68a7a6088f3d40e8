// Start-up speed on the game's own content, headless: from the application's construction to its first drawn
// logo frame (settings, archive, the two small groups, the count pass), and the loading task that reads every
// data table and the two large groups from main.pak. Run from the build tree after the content was generated.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/app/GameApp.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

std::unique_ptr<Zestra::GameApp> MakeApp(Zestra::HeadlessPlatform& platform)
{
    static const std::string changeDir = std::string("-changedir=") + VELMORA_BUILD_GAME_DIR;
    const char* argv[] = {"velmora", changeDir.c_str()};
    auto app = std::make_unique<Zestra::GameApp>(platform);
    app->SetCommandLine(2, argv);
    return app;
}

bool HaveContent(benchmark::State& state)
{
    if (std::filesystem::exists(std::string(VELMORA_BUILD_GAME_DIR) + "/main.pak"))
        return true;
    state.SkipWithError("no main.pak in the game folder: build the content first");
    return false;
}

void BM_FirstLogoFrame(benchmark::State& state)
{
    if (!HaveContent(state))
        return;
    for (auto _ : state)
    {
        Zestra::HeadlessPlatform platform;
        auto app = MakeApp(platform);
        app->Initialize();
        app->DrawIfDirty();
        benchmark::DoNotOptimize(platform.PresentCount());
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstLogoFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadingTask(benchmark::State& state)
{
    if (!HaveContent(state))
        return;
    for (auto _ : state)
    {
        state.PauseTiming();
        Zestra::HeadlessPlatform platform;
        auto app = MakeApp(platform);
        app->Initialize();
        state.ResumeTiming();
        app->RunLoadingTask();
        state.PauseTiming();
        if (app->LoadingFailed())
            state.SkipWithError("loading failed");
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadingTask)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
