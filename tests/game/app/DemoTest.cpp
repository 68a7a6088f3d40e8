// Demos of the program itself: a headless day played by the built-in player and recorded replays to the same state
// digest, with or without drawing; a cut or foreign demo is refused with the line named and a failing exit code.
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace
{

struct Outcome
{
    std::string output; // standard output and standard error together
    int exitCode = -1;
};

Outcome RunGame(const std::string& options)
{
    Outcome outcome;
    const std::string command = std::string("'") + VELMORA_PROGRAM + "' -headless " + options + " 2>&1";
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            outcome.output.append(buffer, got);
        int status = pclose(pipe);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return outcome;
}

std::string Digest(const std::string& output)
{
    size_t at = output.find("digest ");
    return at == std::string::npos ? std::string() : output.substr(at + 7, 16);
}

bool HasContent()
{
    return std::filesystem::exists(std::filesystem::path(VELMORA_PROGRAM).parent_path() / "properties" /
                                   "resources.xml");
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Demo, ARecordedDayReplaysToTheSameDigestWithOrWithoutDrawing)
{
    if (!HasContent())
        GTEST_SKIP() << "no game content beside the program";
    TestSupport::TempFolder folder;
    const std::string demo = folder / "day.dmo";
    const Outcome recorded = RunGame("-nodraw -seed=11 -level=1:1 -autoplay -ticks=6000 -record=" + demo);
    ASSERT_EQ(recorded.exitCode, 0) << recorded.output;
    const std::string digest = Digest(recorded.output);
    ASSERT_EQ(digest.size(), 16u) << recorded.output;
    const std::string text = ReadAll(demo);
    EXPECT_NE(text.find("\nev "), std::string::npos) << "the player's clicks are in the demo";

    const Outcome replayed = RunGame("-nodraw -level=1:1 -play=" + demo);
    EXPECT_EQ(replayed.exitCode, 0) << replayed.output;
    EXPECT_EQ(Digest(replayed.output), digest) << replayed.output;
    const Outcome drawn = RunGame("-level=1:1 -play=" + demo);
    EXPECT_EQ(Digest(drawn.output), digest) << drawn.output;

    // Without the clicks the day goes otherwise: the digest sees the difference.
    const Outcome unplayed = RunGame("-nodraw -seed=11 -level=1:1 -ticks=6000 -digest");
    EXPECT_NE(Digest(unplayed.output), digest);
}

TEST(Demo, ACutOrForeignDemoIsRefusedNamingTheLine)
{
    if (!HasContent())
        GTEST_SKIP() << "no game content beside the program";
    TestSupport::TempFolder folder;
    const std::string demo = folder / "day.dmo";
    ASSERT_EQ(RunGame("-nodraw -seed=3 -level=1:1 -autoplay -ticks=3000 -record=" + demo).exitCode, 0);
    const std::string text = ReadAll(demo);

    const std::string half = folder / "half.dmo";
    std::ofstream(half, std::ios::binary) << text.substr(0, text.size() / 2);
    const Outcome cut = RunGame("-nodraw -level=1:1 -play=" + half);
    EXPECT_NE(cut.exitCode, 0);
    EXPECT_NE(cut.output.find("line "), std::string::npos) << cut.output;
    EXPECT_EQ(cut.output.find("digest "), std::string::npos) << "a refused demo runs nothing";

    const std::string foreign = folder / "foreign.dmo";
    std::string changed = text;
    changed.replace(changed.find("version "), changed.find('\n', changed.find("version ")) - changed.find("version "),
                    "version v0.9");
    std::ofstream(foreign, std::ios::binary) << changed;
    const Outcome other = RunGame("-nodraw -level=1:1 -play=" + foreign);
    EXPECT_NE(other.exitCode, 0);
    EXPECT_NE(other.output.find("line 2: recorded by version \"v0.9\""), std::string::npos) << other.output;
}

} // namespace
