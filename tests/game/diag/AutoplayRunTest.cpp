// The built-in player through the whole game: "-autoplay" without "-level" goes from the logo through the title,
// the name entry, the menus, the lessons, the upgrade shop, the memory game and the panels around every day of
// every store, one JSON line per day, and ends with one line for the run. The player's data goes to a folder of
// the test's own, so the profile file it leaves can be read. Skipped when the build has no content folder.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
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

// Both programs run at once; their output is small enough to wait in the pipe while the other is read.
std::vector<Output> RunPrograms(const std::vector<std::string>& commands)
{
    std::vector<FILE*> pipes;
    for (const std::string& command : commands)
        pipes.push_back(popen(command.c_str(), "r"));
    std::vector<Output> outputs;
    for (FILE* pipe : pipes)
    {
        Output out;
        std::string text;
        if (pipe != nullptr)
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
        outputs.push_back(std::move(out));
    }
    return outputs;
}

double Number(const std::string& line, const std::string& name)
{
    size_t at = line.find("\"" + name + "\":");
    return at == std::string::npos ? -1 : std::strtod(line.c_str() + at + name.size() + 3, nullptr);
}

int Field(const std::string& line, const std::string& name)
{
    return int(Number(line, name));
}

std::string WithoutWallTime(const std::string& line)
{
    return std::regex_replace(line, std::regex("\"wall_ms\":[0-9]+"), "");
}

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-autoplay-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            mPath = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AutoplayRun, PlaysEveryStoreThroughEveryScreenTheSameWayAgainAndLeavesItInTheProfile)
{
    if (!std::filesystem::exists(kGameDir + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    TempFolder data;
    TempFolder other;
    ASSERT_FALSE(data.Path().empty());
    ASSERT_FALSE(other.Path().empty());
    const std::string command = std::string("'") + VELMORA_PROGRAM + "' -headless -autoplay -nodraw -seed=1";
    std::vector<Output> runs = RunPrograms({command + " '-datafolder=" + data.Path() + "' 2>/dev/null",
                                            command + " '-datafolder=" + other.Path() + "' 2>/dev/null"});
    const Output& run = runs[0];
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    ASSERT_GE(run.lines.size(), 2u);

    // The same seed plays the same game, day by day.
    ASSERT_EQ(run.lines.size(), runs[1].lines.size());
    for (size_t i = 0; i < run.lines.size(); ++i)
        EXPECT_EQ(WithoutWallTime(run.lines[i]), WithoutWallTime(runs[1].lines[i]));

    // Before the run's line, the achievements the player's profile earned, each with its day.
    ASSERT_GE(run.lines.size(), 2u);
    const std::string earnedLine = run.lines[run.lines.size() - 2];
    ASSERT_TRUE(std::regex_match(earnedLine, std::regex("\\{\"achievements\":\\{(\"[a-z_]+\":[0-9]+,?)*\\}\\}")))
        << earnedLine;
    std::vector<std::string> lines = run.lines;
    lines.erase(lines.end() - 2);
    const std::string& last = lines.back();
    ASSERT_TRUE(std::regex_match(last, std::regex("\\{\"run\":\"(complete|lost)\",\"stores_done\":[0-9]+,"
                                                  "\"days_played\":[0-9]+,\"days_passed\":[0-9]+,"
                                                  "\"score\":[0-9]+,\"wall_ms\":[0-9]+\\}")))
        << last;
    // With this seed the player finishes every store (it shops, plays the lessons and the memory game on the way).
    EXPECT_NE(last.find("\"run\":\"complete\""), std::string::npos) << last;

    // Store after store from the first, each from its first day: the same day again after a failure, with a life
    // less and the total kept; the next one after a pass, with the day's money added to the total.
    int store = 0;
    int level = 0;
    int lives = 0;
    double total = 0;
    int passed = 0;
    std::map<int, int> storeTotals;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
    {
        const std::string& day = lines[i];
        if (Field(day, "store") != store)
        {
            ASSERT_EQ(Field(day, "store"), store + 1) << day;
            ASSERT_TRUE(store == 0 || storeTotals.count(store) != 0) << "store " << store << " was left unfinished";
            store += 1;
            level = 0;
            lives = 4;
            total = 0;
        }
        EXPECT_EQ(Field(day, "level"), level) << day;
        const bool dayPassed = day.find("\"result\":\"failed\"") == std::string::npos;
        if (dayPassed)
        {
            level += 1;
            total += Number(day, "money");
            passed += 1;
        }
        else
        {
            lives -= 1;
        }
        EXPECT_EQ(Field(day, "lives"), lives) << day;
        EXPECT_NEAR(Field(day, "run_total"), total, 1.0) << day;
        // The last line of a store: its run total is the one entered in the store's high scores.
        if (i + 2 == lines.size() || Field(lines[i + 1], "store") != store)
            storeTotals[store] = Field(day, "run_total");
    }
    EXPECT_EQ(Field(last, "stores_done"), store);
    EXPECT_EQ(Field(last, "days_played"), int(lines.size()) - 1);
    EXPECT_EQ(Field(last, "days_passed"), passed);
    int score = 0;
    for (const auto& [number, storeTotal] : storeTotals)
        score += storeTotal;
    EXPECT_EQ(Field(last, "score"), score);

    // The profile file: the player's every store unlocked, and each store's table holds that store's run total.
    const std::string profiles = ReadFile(data.Path() + "/profiles.xml");
    std::smatch player;
    ASSERT_TRUE(std::regex_search(profiles, player, std::regex("<profile name=\"([^\"]+)\" unlocked_stores=\"([0-9]+)\"")))
        << profiles;
    EXPECT_GE(std::stoi(player[2]), store) << "store " << store << " is unlocked once the store before is done";
    const std::regex earnedPattern("\"([a-z_]+)\":([0-9]+)");
    for (auto it = std::sregex_iterator(earnedLine.begin(), earnedLine.end(), earnedPattern);
         it != std::sregex_iterator(); ++it)
        EXPECT_NE(profiles.find("<achievement id=\"" + (*it)[1].str() + "\" earned=\"" + (*it)[2].str() + "\"/>"),
                  std::string::npos)
            << (*it)[0];
    EXPECT_NE(profiles.find("<statistics served="), std::string::npos) << "the run's statistics are kept";
    std::vector<std::string> tables;
    const std::regex tablePattern("<highscore-store>(.*?)</highscore-store>");
    for (auto it = std::sregex_iterator(profiles.begin(), profiles.end(), tablePattern); it != std::sregex_iterator(); ++it)
        tables.push_back((*it)[1]);
    ASSERT_GE(int(tables.size()), store);
    for (const auto& [number, storeTotal] : storeTotals)
    {
        const std::string entry =
            "<highscore name=\"" + player[1].str() + "\" score=\"" + std::to_string(storeTotal) + "\"/>";
        EXPECT_NE(tables[size_t(number - 1)].find(entry), std::string::npos)
            << "store " << number << ": " << tables[size_t(number - 1)];
    }
}

// Every result panel the built-in player meets says what the day's line says, and its takings are its sales and
// tips added up to the cent. One day is left alone so that a failed day's panel is read too.
TEST(AutoplayRun, EveryResultPanelShowsTheDaysFiguresAndTheyAddUp)
{
    if (!std::filesystem::exists(kGameDir + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    TempFolder data;
    ASSERT_FALSE(data.Path().empty());
    const std::string command = std::string("'") + VELMORA_PROGRAM +
                                "' -headless -autoplay -nodraw -seed=2 -panels -idle-day=1:2 '-datafolder=" +
                                data.Path() + "' 2>/dev/null";
    const Output run = RunPrograms({command})[0];
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);

    // "$1,234.50" and the like: the figure in cents.
    auto cents = [](const std::string& money)
    {
        std::string digits;
        for (char c : money)
            if (std::isdigit(static_cast<unsigned char>(c)) != 0)
                digits += c;
        return digits.empty() ? -1LL : std::stoll(digits);
    };
    auto lineCents = [](const std::string& line, const std::string& name)
    { return std::llround(Number(line, name) * 100.0); };
    const std::regex rowPattern("\\[\"((?:[^\"\\\\]|\\\\.)*)\",\"((?:[^\"\\\\]|\\\\.)*)\"\\]");
    bool failedPanelSeen = false;
    int panels = 0;
    std::string day;
    for (const std::string& line : run.lines)
    {
        if (line.rfind("{\"panel\":", 0) != 0)
        {
            day = line;
            continue;
        }
        SCOPED_TRACE(day + "\n" + line);
        ASSERT_NE(day.find("\"store\":"), std::string::npos) << "a panel comes after its day's line";
        std::vector<std::string> figures;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), rowPattern); it != std::sregex_iterator(); ++it)
        {
            EXPECT_FALSE((*it)[1].str().empty()) << "every figure has its label";
            figures.push_back((*it)[2]);
        }
        // Sales, tips, takings, lost customers and, while the run goes on, the cash for the shop.
        ASSERT_GE(figures.size(), 4u);
        EXPECT_EQ(cents(figures[0]), lineCents(day, "cash"));
        EXPECT_EQ(cents(figures[1]), lineCents(day, "tips"));
        EXPECT_EQ(cents(figures[2]), lineCents(day, "money"));
        EXPECT_EQ(cents(figures[2]), cents(figures[0]) + cents(figures[1]));
        EXPECT_EQ(figures[3], std::to_string(Field(day, "lost_customers")));
        for (const std::string& figure : {figures[0], figures[1], figures[2]})
            EXPECT_EQ(figure.front(), '$') << figure;
        failedPanelSeen = failedPanelSeen || day.find("\"result\":\"failed\"") != std::string::npos;
        panels += 1;
        day.clear(); // one panel per day
    }
    EXPECT_GT(panels, 0);
    EXPECT_TRUE(failedPanelSeen);
}

} // namespace
