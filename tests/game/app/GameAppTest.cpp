// The game application: its options in the one table "-help" prints.
#include "game/app/GameApp.h"

#include "framework/platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{

using Zestra::GameApp;
using Zestra::HeadlessPlatform;

std::string RunProgram(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

TEST(GameOptions, TheGamesOwnOptionsAreReadFromTheTable)
{
    HeadlessPlatform platform;
    GameApp app(platform);
    for (const char* name : {"-level", "-autoplay", "-nodraw", "-quit-after-level"})
        EXPECT_NE(nullptr, app.GetCommandLineOptions().Find(name)) << name;
    app.HandleArgument("-level", "2:3");
    app.HandleArgument("-AutoPlay", "");
    app.HandleArgument("-nodraw", "");
    app.HandleArgument("-quit-after-level", "");
    EXPECT_TRUE(app.options.levelGiven);
    EXPECT_EQ(2, app.options.store);
    EXPECT_EQ(3, app.options.level);
    EXPECT_TRUE(app.options.autoplay && app.options.noDraw && app.options.quitAfterLevel);
    EXPECT_EXIT(app.HandleArgument("-level", "2"), ::testing::ExitedWithCode(GameApp::kBadLevelExitCode), "-level");
}

TEST(GameOptions, ScreenTakesANameFromTheCatalogueAndRefusesOthers)
{
    HeadlessPlatform platform;
    GameApp app(platform);
    app.HandleArgument("-screen", "open-sign");
    EXPECT_EQ("open-sign", app.options.screen);
    EXPECT_EXIT(app.HandleArgument("-screen", "no-such-screen"), ::testing::ExitedWithCode(2),
                "no screen \"no-such-screen\"; the screens are: .*confirm-quit");
    const Zestra::CommandLineOption* option = app.GetCommandLineOptions().Find("-screen");
    ASSERT_NE(nullptr, option);
    for (const char* name : {"confirm-quit", "notice", "open-sign"})
        EXPECT_NE(std::string::npos, option->help.find(name)) << name;
}

TEST(GameOptions, AutoplayChoosesTheStrongPlayerOrTheNewcomerAndRefusesOthers)
{
    HeadlessPlatform platform;
    GameApp app(platform);
    app.HandleArgument("-autoplay", "");
    EXPECT_TRUE(app.options.autoplay);
    EXPECT_FALSE(app.options.novice);
    app.HandleArgument("-autoplay", "novice");
    EXPECT_TRUE(app.options.novice);
    EXPECT_EXIT(app.HandleArgument("-autoplay", "expert"), ::testing::ExitedWithCode(2), "");
}

// What the program prints is the table the parser reads, every option on its line.
TEST(GameOptions, ProgramHelpIsTheParsersTable)
{
    HeadlessPlatform platform;
    GameApp app(platform);
    std::string expected = app.GetCommandLineOptions().HelpText("Velmora Row");
    std::string printed = RunProgram(std::string("'") + VELMORA_PROGRAM + "' -help");
    EXPECT_EQ(expected, printed);
    for (const char* line : {"\n  -level=S:L ", "\n  -autoplay=[novice] ", "\n  -nodraw ", "\n  -quit-after-level ",
                             "\n  -headless ", "\n  -ticks=N ", "\n  -shot=FILE ", "\n  -screen=NAME "})
        EXPECT_NE(std::string::npos, printed.find(line)) << line;
}

} // namespace
