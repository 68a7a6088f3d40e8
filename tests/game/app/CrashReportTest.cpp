// A crash leaves a report a player can send and we can replay: a child program crashes on purpose, and its report
// holds the version, the signal, a backtrace with function names, the options, the last frame and a demo that
// replays to the same fault with the same state; the next start says where the report is, once.
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
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

// Runs the program headless in folder with its state folder (crash reports) below it.
RunResult RunProgram(const TestSupport::TempFolder& folder, const std::string& arguments)
{
    const std::string command = "cd '" + folder.Path().string() + "' && XDG_STATE_HOME='" + folder / "state" +
                                "' SDL_AUDIODRIVER=dummy '" + VELMORA_PROGRAM + "' -headless " + arguments + " 2>&1";
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

// The digest the deliberate crash printed, or "".
std::string CrashDigest(const std::string& output, int update)
{
    const std::string marker = "deliberate crash after update " + std::to_string(update) + ", digest ";
    const size_t at = output.find(marker);
    return at == std::string::npos ? std::string() : output.substr(at + marker.size(), 16);
}

// The report folders written so far.
std::vector<fs::path> Reports(const TestSupport::TempFolder& folder)
{
    std::vector<fs::path> found;
    const fs::path root = folder.Path() / "state/Kestrin/Velmora Row";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root, error))
        if (entry.is_directory() && entry.path().filename().string().rfind("crash-", 0) == 0)
            found.push_back(entry.path());
    return found;
}

TEST(CrashReport, ACrashLeavesAReportWhoseDemoReplaysToTheSameFault)
{
    TestSupport::TempFolder folder("velmora-crash");
    const RunResult crashed = RunProgram(folder, "-level=1:0 -autoplay -crash=2000");
    EXPECT_EQ(crashed.exitCode, 128 + SIGSEGV) << crashed.output;
    const std::string digest = CrashDigest(crashed.output, 2000);
    ASSERT_FALSE(digest.empty()) << crashed.output;
    const std::vector<fs::path> reports = Reports(folder);
    ASSERT_EQ(reports.size(), 1u) << crashed.output;
    const fs::path report = reports[0];
    EXPECT_NE(crashed.output.find(report.string()), std::string::npos) << crashed.output;

    const std::string text = TestSupport::ReadFile(report / "report.txt");
    for (const std::string& fragment : std::vector<std::string>{"\nversion v", "\nsignal 11 SIGSEGV", "\nupdate 2000\n",
                                       "\noptions -headless -level=1:0 -autoplay -crash=2000\n",
                                       "digest " + digest, "\nbacktrace:\n", "CrashNow"})
        EXPECT_NE(text.find(fragment), std::string::npos) << fragment << "\n" << text;

    const std::string demo = TestSupport::ReadFile(report / "demo.dmo");
    EXPECT_EQ(demo.rfind("zestra-demo 1\n", 0), 0u);
    EXPECT_NE(demo.find("\noption -level=1:0\n"), std::string::npos);
    EXPECT_NE(demo.find("\nev "), std::string::npos) << "the built-in player's clicks are input";
    EXPECT_TRUE(demo.size() > 8 && demo.substr(demo.size() - 9) == "end 2000\n") << demo.substr(demo.size() - 40);

    const std::string frame = TestSupport::ReadFile(report / "frame.bmp");
    EXPECT_EQ(frame.substr(0, 2), "BM");
    EXPECT_EQ(frame.size(), 54u + 800u * 600u * 4u);

    // The next start says where the report is, and only the next one.
    const RunResult next = RunProgram(folder, "-nodraw -ticks=1");
    EXPECT_EQ(next.exitCode, 0) << next.output;
    EXPECT_NE(next.output.find("its report is in " + report.string()), std::string::npos) << next.output;
    const RunResult later = RunProgram(folder, "-nodraw -ticks=1");
    EXPECT_EQ(later.output.find("report is in"), std::string::npos) << later.output;

    const RunResult replayed = RunProgram(folder, "-play='" + (report / "demo.dmo").string() + "' -crash=2000");
    EXPECT_EQ(replayed.exitCode, 128 + SIGSEGV) << replayed.output;
    EXPECT_EQ(CrashDigest(replayed.output, 2000), digest) << replayed.output;
}

TEST(CrashReport, ABareCrashOptionCrashesAtOnceWithAReport)
{
    TestSupport::TempFolder folder("velmora-crash");
    const RunResult crashed = RunProgram(folder, "-nodraw -crash");
    EXPECT_EQ(crashed.exitCode, 128 + SIGSEGV) << crashed.output;
    const std::vector<fs::path> reports = Reports(folder);
    ASSERT_EQ(reports.size(), 1u) << crashed.output;
    EXPECT_NE(TestSupport::ReadFile(reports[0] / "report.txt").find("\nupdate 0\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(reports[0] / "frame.bmp")) << "nothing was drawn";
}

} // namespace
