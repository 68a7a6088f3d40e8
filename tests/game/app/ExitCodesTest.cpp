// The program from outside, as a script sees it: exit code 0 for a run that went well, 1 for a run that failed
// (a file it could not write, damaged data), 2 for a command line to fix, each with a message naming what is at
// fault; output targets that are folders or devices are refused and left alone; a relative data folder is the one
// in the folder the game was started in; a demo replays with the options it was recorded with.
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;

struct RunResult
{
    int exitCode = -1;
    std::string output; // standard output and error together
};

// Runs the program in folder with the given arguments (each already quoted where needed).
RunResult RunProgram(const std::string& folder, const std::string& arguments)
{
    const std::string command = "cd '" + folder + "' && SDL_AUDIODRIVER=dummy '" + VELMORA_PROGRAM + "' -headless " +
                                arguments + " 2>&1";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string Digest(const std::string& output)
{
    const size_t at = output.rfind("digest ");
    return at == std::string::npos ? std::string() : output.substr(at + 7, 16);
}

TEST(ExitCodes, EachFailureHasItsCodeAndNamesWhatIsAtFault)
{
    TestSupport::TempFolder folder("velmora-exit");
    fs::create_directories(folder.Path() / "a folder");
    TestSupport::WriteFile(folder.Path() / "plain file", "x");
    struct Case
    {
        std::string arguments;
        int exitCode;
        std::string fragment;
    };
    const Case cases[] = {
        {"-nosuchoption", 2, "-nosuchoption"},
        {"-ticks=abc", 2, "-ticks"},
        {"-seed=", 2, "-seed"},
        {"-level=0:0", 2, "-level"},
        {"-recnum=3", 2, "-recnum"},
        {"-playnum=x", 2, "-playnum"},
        {"-record=a.dmo -play=b.dmo", 2, "-record and -play"},
        {"-changedir=/nonexistent/velmora", 2, "/nonexistent/velmora"},
        {"'-datafolder=plain file'", 2, "plain file"},
        {"-datafolder=/proc", 2, "/proc"},
        {"-datafolder=" + std::string(10000, 'd'), 2, "ddd"},
        {"-ticks=5 '-shot=a folder'", 1, "a folder"},
        {"-ticks=5 -shot=/dev/full", 1, "/dev/full"},
        {"-ticks=5 -record=/dev/full", 1, "/dev/full"},
        {"-play=missing.dmo", 1, "missing.dmo"},
    };
    for (const Case& c : cases)
    {
        const RunResult run = RunProgram(folder.Path().string(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.substr(0, 80) << "\n" << run.output.substr(0, 400);
        EXPECT_NE(run.output.find(c.fragment), std::string::npos)
            << c.arguments.substr(0, 80) << "\n" << run.output.substr(0, 400);
    }
    EXPECT_TRUE(fs::is_directory(folder.Path() / "a folder"));
    struct stat st;
    ASSERT_EQ(0, stat("/dev/full", &st));
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "/dev/full was replaced";
    EXPECT_FALSE(fs::exists(folder.Path() / "a.dmo"));

    const RunResult help = RunProgram(folder.Path().string(), "-help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("2 a bad command line"), std::string::npos) << help.output;
    EXPECT_EQ(help.output.find("-recnum"), std::string::npos);
}

TEST(ExitCodes, OutputsGoThroughLinksToTheirTargets)
{
    TestSupport::TempFolder folder("velmora-exit");
    fs::create_directories(folder.Path() / "pictures");
    fs::create_symlink(folder.Path() / "pictures/shot.png", folder.Path() / "shot.png");
    fs::create_symlink(folder.Path() / "pictures/day.dmo", folder.Path() / "day.dmo");
    const RunResult run = RunProgram(folder.Path().string(), "-ticks=30 -shot=shot.png -record=day.dmo");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "shot.png"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "day.dmo"));
    EXPECT_GT(fs::file_size(folder.Path() / "pictures/shot.png"), 100u);
    EXPECT_NE(TestSupport::ReadFile(folder.Path() / "pictures/day.dmo").find("\nend "), std::string::npos);
}

TEST(ExitCodes, ARelativeDataFolderIsTheOneInTheLaunchFolder)
{
    TestSupport::TempFolder folder("velmora-exit");
    const RunResult run =
        RunProgram(folder.Path().string(), "-nodraw -seed=1 -level=1:0 -autoplay -quit-after-level -datafolder=rd");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::exists(folder.Path() / "rd/profiles.xml")) << run.output;
}

TEST(ExitCodes, ADemoReplaysWithTheOptionsItWasRecordedWith)
{
    TestSupport::TempFolder folder("velmora-exit");
    const RunResult recorded =
        RunProgram(folder.Path().string(), "-nodraw -seed=3 -level=1:2 -autoplay -ticks=400 -record=day.dmo");
    ASSERT_EQ(recorded.exitCode, 0) << recorded.output;
    EXPECT_NE(TestSupport::ReadFile(folder.Path() / "day.dmo").find("\noption -level=1:2\n"), std::string::npos);

    const RunResult alone = RunProgram(folder.Path().string(), "-nodraw -play=day.dmo");
    EXPECT_EQ(alone.exitCode, 0) << alone.output;
    EXPECT_EQ(Digest(alone.output), Digest(recorded.output)) << alone.output;
    EXPECT_FALSE(Digest(recorded.output).empty());

    const RunResult same = RunProgram(folder.Path().string(), "-nodraw -play=day.dmo -level=1:2");
    EXPECT_EQ(same.exitCode, 0) << same.output;
    EXPECT_EQ(Digest(same.output), Digest(recorded.output));

    const RunResult other = RunProgram(folder.Path().string(), "-nodraw -play=day.dmo -level=2:0");
    EXPECT_EQ(other.exitCode, 2) << other.output;
    EXPECT_NE(other.output.find("-level=1:2"), std::string::npos) << other.output;
}

} // namespace
