// The built-in player through the whole program: "-autoplay" without "-level" goes from the logo through the
// title, the name entry, the menus, the lessons, the upgrade shop, the memory game and the panels around every
// day, one JSON line per day, and ends with one line for the run once the first store is done (or the run is
// lost). Skipped when the build has no content folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace
{

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

struct Output
{
    std::vector<std::string> lines;
    int status = -1;
};

Output RunProgram(const std::string& command)
{
    Output out;
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, got);
        out.status = pclose(pipe);
    }
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        out.lines.push_back(line);
    return out;
}

int Field(const std::string& line, const std::string& name)
{
    size_t at = line.find("\"" + name + "\":");
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + name.size() + 3));
}

TEST(AutoplayRun, PlaysTheFirstStoreThroughEveryScreenAndReportsEachDayAndTheRun)
{
    if (!std::filesystem::exists(kGameDir + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    Output run = RunProgram(std::string("'") + VELMORA_PROGRAM + "' -headless -autoplay -nodraw -seed=1 2>/dev/null");
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    ASSERT_GE(run.lines.size(), 2u);
    const std::string& last = run.lines.back();
    ASSERT_EQ(last.rfind("{\"run\":", 0), 0u) << last;
    // With this seed the player finishes the store (it shops, plays the lessons and the memory game on the way).
    EXPECT_NE(last.find("\"run\":\"complete\""), std::string::npos) << last;

    // Day after day from the first: the same day again after a failure, the next one after a pass.
    int days = 0;
    int passed = 0;
    int expected = 0;
    for (size_t i = 0; i + 1 < run.lines.size(); ++i)
    {
        const std::string& day = run.lines[i];
        ASSERT_EQ(day.rfind("{\"store\":1,", 0), 0u) << day;
        EXPECT_EQ(Field(day, "level"), expected) << day;
        bool dayPassed = day.find("\"result\":\"failed\"") == std::string::npos;
        expected += dayPassed ? 1 : 0;
        passed += dayPassed ? 1 : 0;
        ++days;
    }
    EXPECT_EQ(Field(last, "days_played"), days);
    EXPECT_EQ(Field(last, "days_passed"), passed);
    EXPECT_EQ(run.lines[run.lines.size() - 2].find("\"result\":\"failed\""), std::string::npos)
        << "the store ends with a passed day";
}

} // namespace
