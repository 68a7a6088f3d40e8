// A day on the shop floor shows the same frames whether the screen repaints only what changed or everything, every
// frame, also after the window is made anew by a switch of the screen mode. Skipped without a content folder.
#include "framework/graphics/ScreenImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/app/GameApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

uint64_t FrameHash(const Zestra::HeadlessPlatform& platform)
{
    uint64_t h = 1469598103934665603ull;
    for (uint32_t p : platform.LastFrame())
        h = (h ^ p) * 1099511628211ull;
    return h;
}

// The presented frame every few updates of the first part of a day that nobody plays: customers come, wait,
// walk off, and the clock runs; the screen mode switches twice on the way.
std::vector<uint64_t> DayFrames(bool compared)
{
    const fs::path oldFolder = fs::current_path();
    Zestra::HeadlessPlatform platform;
    Zestra::GameApp app(platform);
    const char* argv[] = {"velmora", "-headless", "-seed=4", "-level=2:1", "-changedir=" VELMORA_BUILD_GAME_DIR};
    app.SetCommandLine(5, argv);
    app.Initialize();
    std::vector<uint64_t> frames;
    app.onUpdate = [&]
    {
        auto* screen = dynamic_cast<Zestra::ScreenImage*>(app.GetScreenImage());
        if (screen != nullptr && screen->RetainedDrawing() != compared)
            screen->SetRetainedDrawing(compared);
        // Full screen and back: each switch makes a new window, which holds nothing until it is presented to.
        if (app.UpdateCount() == 1000 || app.UpdateCount() == 1500)
            app.SetScreenMode(!app.Window().mWindowed);
        if (app.UpdateCount() % 40 == 0)
            frames.push_back(FrameHash(platform));
        if (app.UpdateCount() >= 2400)
            app.Quit();
    };
    app.Run();
    app.onUpdate = nullptr;
    fs::current_path(oldFolder);
    return frames;
}

TEST(DayFrames, RepaintingOnlyWhatChangedShowsTheFramesOfFullRepaints)
{
    if (!fs::exists(std::string(VELMORA_BUILD_GAME_DIR) + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << VELMORA_BUILD_GAME_DIR;
    const std::vector<uint64_t> compared = DayFrames(true);
    const std::vector<uint64_t> full = DayFrames(false);
    ASSERT_EQ(compared.size(), full.size());
    for (size_t i = 0; i < compared.size(); ++i)
        EXPECT_EQ(compared[i], full[i]) << "frame at update " << (i + 1) * 40;
    std::vector<uint64_t> distinct(full);
    std::sort(distinct.begin(), distinct.end());
    EXPECT_GT(std::unique(distinct.begin(), distinct.end()) - distinct.begin(), 10) << "the day hardly moved";
}

} // namespace
