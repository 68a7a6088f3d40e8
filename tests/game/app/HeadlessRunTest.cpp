// A "-headless" run is repeatable: the same options give the same picture whether the machine loads the game fast
// or slowly, because the virtual clock does not run ahead of the loading thread. Skipped without a content folder.
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/app/GameApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace
{

namespace fs = std::filesystem;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

// The game with a loading thread held back on purpose, as on a slow machine.
class SlowLoaderApp : public Zestra::GameApp
{
public:
    SlowLoaderApp(Zestra::Platform& platform, int delayMs) : GameApp(platform), mDelayMs(delayMs) {}
    void RunLoadingTask() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(mDelayMs));
        GameApp::RunLoadingTask();
    }

private:
    int mDelayMs;
};

// Runs the program's options on the game folder and returns the bytes of the picture it saved.
std::string HeadlessShot(const std::vector<std::string>& options, int loadingDelayMs)
{
    TestSupport::TempFolder folder;
    const std::string shot = folder / "out.png";
    std::vector<std::string> args = {"velmora", "-changedir=" + kGameDir};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("-shot=" + shot);
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    const fs::path oldFolder = fs::current_path();
    {
        Zestra::HeadlessPlatform platform;
        SlowLoaderApp app(platform, loadingDelayMs);
        app.SetCommandLine(int(argv.size()), argv.data());
        app.Initialize();
        app.Run();
        EXPECT_EQ(app.ExitCode(), 0);
    }
    fs::current_path(oldFolder);
    std::ifstream in(shot, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t DistinctColours(const std::string& png)
{
    auto image = Zestra::ImageLoader::DecodePNG(reinterpret_cast<const uint8_t*>(png.data()), png.size());
    if (!image)
        return 0;
    std::set<uint32_t> colours;
    for (int y = 0; y < image->GetHeight(); y += 3)
        for (int x = 0; x < image->GetWidth(); x += 3)
            colours.insert(image->GetPixel(x, y));
    return colours.size();
}

TEST(HeadlessRun, TheSameOptionsGiveTheSamePictureHoweverFastTheGameLoads)
{
    if (!fs::exists(kGameDir + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    struct Case
    {
        const char* what;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"the README's example: the studio logo", {"-headless", "-ticks=300"}},
        {"the title screen after the logo and both splashes", {"-headless", "-ticks=1400"}},
    };
    for (const Case& c : cases)
    {
        const std::string first = HeadlessShot(c.options, 0);
        const std::string again = HeadlessShot(c.options, 0);
        const std::string slow = HeadlessShot(c.options, 1500);
        ASSERT_FALSE(first.empty()) << c.what;
        EXPECT_GT(DistinctColours(first), 10u) << c.what << ": not a blank frame";
        EXPECT_TRUE(first == again) << c.what;
        EXPECT_TRUE(first == slow) << c.what << ": a slow load changed the picture";
    }
}

} // namespace
