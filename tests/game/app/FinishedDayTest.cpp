// Draw when dirty holds for the board: once a day has ended nothing on it moves, so nothing is drawn or presented
// until something changes. Skipped without a content folder.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/app/GameApp.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/shopday/Board.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace
{

namespace fs = std::filesystem;

TEST(FinishedDay, NothingIsDrawnAfterTheDayHasEndedUntilSomethingChanges)
{
    if (!fs::exists(std::string(VELMORA_BUILD_GAME_DIR) + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << VELMORA_BUILD_GAME_DIR;
    const fs::path oldFolder = fs::current_path();
    Zestra::HeadlessPlatform platform;
    Zestra::GameApp app(platform);
    const char* argv[] = {"velmora", "-headless", "-level=1:0", "-changedir=" VELMORA_BUILD_GAME_DIR};
    app.SetCommandLine(4, argv);
    app.Initialize();

    int endedAt = -1;
    int dirtyAtEnd = 0;
    uint64_t presentsAtEnd = 0;
    int dirtyWhilePlaying = 0;
    int drawsAtEnd = 0;
    int drawsAfterMove = -1;
    app.onUpdate = [&]
    {
        Zestra::Board* board = app.GetBoard();
        if (board == nullptr)
            return;
        if (app.LevelTicks() == 20)
        {
            dirtyWhilePlaying = app.Clock().mDirtyUpdates;
            for (char c : std::string("qarvonhi")) // the word that ends the day at once
                platform.PushChar(uint8_t(c));
        }
        if (endedAt < 0 && board->lastDay.levelResult != DayResult::None)
        {
            endedAt = app.UpdateCount();
            return;
        }
        // Two updates later the last picture of the day has been drawn and presented.
        if (endedAt >= 0 && app.UpdateCount() == endedAt + 2)
        {
            dirtyAtEnd = app.Clock().mDirtyUpdates;
            presentsAtEnd = platform.PresentCount();
            drawsAtEnd = app.Clock().mDrawCount;
        }
        if (endedAt >= 0 && app.UpdateCount() == endedAt + 500)
        {
            EXPECT_EQ(app.Clock().mDirtyUpdates, dirtyAtEnd) << "updates of a finished day asked for a new picture";
            EXPECT_EQ(platform.PresentCount(), presentsAtEnd) << "a finished day was presented again";
            platform.PushMouseMove(400, 300); // input still redraws
        }
        if (endedAt >= 0 && app.UpdateCount() == endedAt + 510)
        {
            // Drawn, though the picture need not change: the screen hands the display only what did.
            drawsAfterMove = app.Clock().mDrawCount - drawsAtEnd;
            app.Quit();
        }
        if (app.LevelTicks() > 20000)
            app.Quit();
    };
    app.Run();
    app.onUpdate = nullptr;
    fs::current_path(oldFolder);
    ASSERT_GE(endedAt, 0) << "the day did not end";
    EXPECT_GE(dirtyWhilePlaying, 15) << "a running day is drawn as it moves";
    EXPECT_GE(drawsAfterMove, 1) << "a mouse move over the finished day is drawn";
}

// A day opened with "-level" in a window is no dead end: it ends in the result panel, which leads on as after any
// day. Played for its figures ("-quit-after-level") or headless it ends where it stands (the test above).
TEST(FinishedDay, ADayOpenedByLevelInAWindowEndsInTheResultPanel)
{
    if (!fs::exists(std::string(VELMORA_BUILD_GAME_DIR) + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << VELMORA_BUILD_GAME_DIR;
    const fs::path oldFolder = fs::current_path();
    Zestra::HeadlessPlatform platform(true); // the wall clock, as a window has
    Zestra::GameApp app(platform);
    const char* argv[] = {"velmora", "-level=1:0", "-changedir=" VELMORA_BUILD_GAME_DIR};
    app.SetCommandLine(3, argv);
    app.Initialize();

    int endedAt = -1;
    bool panelShown = false;
    app.onUpdate = [&]
    {
        Zestra::Board* board = app.GetBoard();
        if (board == nullptr)
            return;
        if (app.LevelTicks() == 20)
            for (char c : std::string("qarvonhi")) // the word that ends the day at once
                platform.PushChar(uint8_t(c));
        if (endedAt < 0 && board->lastDay.levelResult != DayResult::None)
            endedAt = app.UpdateCount();
        for (Menu* menu : app.OpenMenus())
            panelShown = panelShown || dynamic_cast<LevelCompleteMenu*>(menu) != nullptr;
        if ((endedAt >= 0 && app.UpdateCount() > endedAt + 50) || app.LevelTicks() > 20000)
            app.Quit();
    };
    app.Run();
    app.onUpdate = nullptr;
    fs::current_path(oldFolder);
    ASSERT_GE(endedAt, 0) << "the day did not end";
    EXPECT_TRUE(panelShown) << "the day ended without its result panel";
}

} // namespace
