// The built-in player's hands outside the program ("-drive"): one line at a time, each waiting for its event to come
// back through the platform, and the player waiting with it while the game's clock runs on.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/app/GameApp.h"
#include "game/diag/Diagnostics.h"
#include "game/diag/MouseDriver.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

using Type = Zestra::PlatformEvent::Type;

Zestra::PlatformEvent Mouse(Type type, int x, int y, int code = 0)
{
    Zestra::PlatformEvent event;
    event.mType = type;
    event.mX = x;
    event.mY = y;
    event.mClickCode = code;
    return event;
}

struct DriverFixture
{
    std::vector<std::string> lines;
    MouseDriver driver{[this](const std::string& line) { lines.push_back(line); }};
};

TEST(MouseDriver, SendsOneLineAtATimeAndGoesOnOnlyWhenItsEventComesBack)
{
    DriverFixture f;
    f.driver.Offer(Mouse(Type::MouseMove, 10, 20));
    f.driver.Offer(Mouse(Type::MouseDown, 10, 20, 1));
    f.driver.Offer(Mouse(Type::MouseUp, 10, 20, 1));
    EXPECT_EQ(f.lines, std::vector<std::string>{"move 10 20"});
    EXPECT_TRUE(f.driver.Busy());

    // Not the awaited event: elsewhere, another kind, another button.
    for (const Zestra::PlatformEvent& other :
         {Mouse(Type::MouseMove, 11, 20), Mouse(Type::MouseDown, 10, 20, 1), Mouse(Type::MouseUp, 10, 20, 1)})
        f.driver.Observe(other);
    for (int i = 0; i < MouseDriver::kPatienceUpdates + 5; ++i)
        f.driver.Update();
    EXPECT_EQ(f.lines, std::vector<std::string>{"move 10 20"});
    EXPECT_EQ(f.driver.Awaited(), "move 10 20");

    f.driver.Observe(Mouse(Type::MouseMove, 10, 20));
    EXPECT_EQ(f.lines.back(), "down 10 20");
    f.driver.Observe(Mouse(Type::MouseDown, 10, 20, -1)); // the right button is not the player's
    EXPECT_EQ(f.lines.back(), "down 10 20");
    // A quick second press comes back from the display as a double click: it is still the press sent.
    f.driver.Observe(Mouse(Type::MouseDown, 10, 20, 2));
    EXPECT_EQ(f.lines.back(), "up 10 20");
    f.driver.Observe(Mouse(Type::MouseUp, 10, 20, 1));
    EXPECT_EQ(f.lines, (std::vector<std::string>{"move 10 20", "down 10 20", "up 10 20"}));
    EXPECT_FALSE(f.driver.Busy());
    EXPECT_EQ(f.driver.Awaited(), "");
}

TEST(MouseDriver, SkipsAMoveToWhereThePointerAlreadyIs)
{
    // The display reports nothing for such a move, so waiting for it would wait for ever.
    DriverFixture f;
    f.driver.Observe(Mouse(Type::MouseUp, 5, 6, 1));
    f.driver.Offer(Mouse(Type::MouseMove, 5, 6));
    EXPECT_TRUE(f.lines.empty());
    EXPECT_FALSE(f.driver.Busy());
    f.driver.Offer(Mouse(Type::MouseMove, 5, 6));
    f.driver.Offer(Mouse(Type::MouseDown, 5, 6, 1));
    EXPECT_EQ(f.lines, std::vector<std::string>{"down 5 6"});
    // A drag's moves are made one by one, the last one where the pointer already went is still made.
    f.driver.Observe(Mouse(Type::MouseDown, 5, 6, 1));
    f.driver.Offer(Mouse(Type::MouseMove, 7, 6));
    f.driver.Offer(Mouse(Type::MouseMove, 5, 6));
    f.driver.Offer(Mouse(Type::MouseUp, 5, 6, 1));
    f.driver.Observe(Mouse(Type::MouseMove, 7, 6));
    EXPECT_EQ(f.lines, (std::vector<std::string>{"down 5 6", "move 7 6", "move 5 6"}));
}

TEST(MouseDriver, DropsWhatThePlayerDoesNotMake)
{
    DriverFixture f;
    Zestra::PlatformEvent key;
    key.mType = Type::KeyDown;
    f.driver.Offer(key);
    f.driver.Offer(Mouse(Type::MouseDown, 1, 2, -1));
    EXPECT_TRUE(f.lines.empty());
    EXPECT_FALSE(f.driver.Busy());
}

// The whole program on its own content: the built-in player skips the studio logo with a click at (1, 1).
TEST(MouseDriver, ThePlayerWaitsForEachEventToComeBackThroughThePlatform)
{
    const std::string gameDir = VELMORA_BUILD_GAME_DIR;
    if (!std::filesystem::exists(gameDir + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << gameDir;
    TestSupport::TempFolder folder;
    const std::string linesPath = folder / "lines";
    Zestra::HeadlessPlatform platform;
    Zestra::GameApp app(platform);
    Diagnostics diagnostics(app);
    const std::string dir = "-changedir=" + gameDir;
    const std::string drive = "-drive=" + linesPath;
    const char* argv[] = {"velmora", dir.c_str(), "-autoplay", drive.c_str()};
    app.SetCommandLine(4, argv);
    app.Initialize();
    ASSERT_NE(app.GetLogoScreen(), nullptr);

    auto readLines = [&]
    {
        std::vector<std::string> lines;
        std::ifstream in(linesPath);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    };
    // What the display does with each line, and what the player must have written by then.
    struct Step
    {
        const char* awaited;  // the last line written, waited for
        Zestra::PlatformEvent answer;
    };
    const Step steps[] = {{"move 1 1", Mouse(Type::MouseMove, 1, 1)},
                          {"down 1 1", Mouse(Type::MouseDown, 1, 1, 1)},
                          {"up 1 1", Mouse(Type::MouseUp, 1, 1, 1)}};
    size_t step = 0;
    int quietSince = -1;
    bool logoLeft = false;
    std::vector<std::string> afterLogo;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    std::function<void()> playerUpdate = app.onUpdate;
    app.onUpdate = [&]
    {
        playerUpdate();
        const std::vector<std::string> lines = readLines();
        if (std::chrono::steady_clock::now() > deadline)
        {
            ADD_FAILURE() << "stopped at step " << step << " with " << lines.size() << " lines";
            app.Quit();
            return;
        }
        if (step < std::size(steps))
        {
            if (lines.size() < step + 1)
                return;
            ASSERT_EQ(lines.size(), step + 1) << "a line went out before the one before it came back";
            EXPECT_EQ(lines.back(), steps[step].awaited);
            // Nothing more is decided while the event is on its way, however long it takes; the clock runs on.
            if (quietSince < 0)
                quietSince = app.UpdateCount();
            if (app.UpdateCount() - quietSince < 150)
                return;
            platform.PushEvent(steps[step].answer);
            quietSince = -1;
            ++step;
            return;
        }
        logoLeft = logoLeft || app.GetLogoScreen() == nullptr;
        if (lines.size() > std::size(steps))
        {
            afterLogo.assign(lines.begin() + std::size(steps), lines.end());
            app.Quit();
        }
    };
    app.Run();
    app.onUpdate = playerUpdate;
    EXPECT_TRUE(logoLeft);
    // The next click, on the first splash, needs no move: the pointer is already there.
    EXPECT_EQ(afterLogo, std::vector<std::string>{"down 1 1"});
}

} // namespace
