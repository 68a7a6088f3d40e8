// Damaged data files against the player's progress, through the real program: every data file is cut in half,
// emptied, has a markup byte flipped or is replaced by random bytes; the game is started on it and a day is played
// where it starts at all; then the data is repaired and the game started again. The profiles file must come out of
// every round byte for byte as it went in, and every refused start must name the file at fault (with the archive,
// for a file damaged inside main.pak).
#include "framework/pak/PakFormat.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

struct RunResult
{
    int exitCode = -1;
    std::string output; // standard output and error together
};

RunResult RunGame(const std::string& gameDir, const std::string& dataDir)
{
    const std::string command = std::string("SDL_AUDIODRIVER=dummy '") + VELMORA_PROGRAM +
                                "' -headless -nodraw -seed=1 -level=1:0 -autoplay -quit-after-level '-changedir=" +
                                gameDir + "' '-datafolder=" + dataDir + "' 2>&1";
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

// Progress in every store, a saved run and high scores, with nobody selected: a day played on any data then has
// no business changing a byte of the file.
std::string StartingProfiles()
{
    std::string text = "<profiles selected=\"-1\"><profile name=\"Ada\" unlocked_stores=\"5\">";
    for (int store = 1; store <= 5; ++store)
    {
        text += "<store number=\"" + std::to_string(store) + "\">";
        for (int level = 0; level < 12; ++level)
            text += "<level number=\"" + std::to_string(level) + "\" state=\"" + std::to_string(2 + level % 2) +
                    "\"/>";
        text += "</store>";
    }
    text += "<state store=\"4\" level=\"3\" changing_rooms=\"2\" merchant_level=\"1\" drinks=\"1\" goodie_rack=\"1\" "
            "score=\"4321.00\" cash=\"250.50\" lives=\"2\"></state></profile>";
    text += "<profile name=\"Bo\" unlocked_stores=\"3\"><store number=\"3\"><level number=\"2\" state=\"1\"/>"
            "</store></profile>";
    for (int table = 0; table < 5; ++table)
    {
        text += "<highscore-store>";
        for (int row = 0; row < 10; ++row)
            text += "<highscore name=\"Ada\" score=\"" + std::to_string(9000 - 700 * row - table) + "\"/>";
        text += "</highscore-store>";
    }
    return text + "</profiles>";
}

// The game's folder with its own copy of the data files and links to the media; without main.pak, so the loose
// files are the ones read.
void MakeGameFolder(const fs::path& folder)
{
    fs::create_directories(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(kGameDir))
    {
        const std::string name = entry.path().filename().string();
        if (name == "properties" || name == "fonts")
            fs::copy(entry.path(), folder / name, fs::copy_options::recursive);
        else if (name != "main.pak" && name != "velmora")
            fs::create_symlink(entry.path(), folder / name);
    }
}

std::string Damaged(const std::string& bytes, const std::string& how)
{
    if (how == "cut")
        return bytes.substr(0, bytes.size() / 2);
    if (how == "empty")
        return std::string();
    if (how == "flip")
    {
        // A flipped bit in a number reads as another number and is no damage anyone could see; one in the markup
        // is, and is what a damaged disk block does to these files as often as not.
        std::string out = bytes;
        size_t at = out.find('<', out.size() / 2);
        if (at == std::string::npos)
            at = out.find_first_not_of(" \t\r\n#", out.size() / 2);
        if (at == std::string::npos)
            at = out.size() / 2;
        out[at] = char(out[at] ^ 0x08);
        return out;
    }
    std::mt19937 random(7);
    std::string out(bytes.size(), '\0');
    for (char& c : out)
        c = char(random() & 0xFF);
    return out;
}

TEST(DataDamage, NoDamagedDataFileChangesTheProfilesAndEachRefusalNamesItsFile)
{
    if (!fs::exists(fs::path(kGameDir) / "properties" / "stores.xml"))
        GTEST_SKIP() << "no game data in " << kGameDir;
    TestSupport::TempFolder root("velmora-damage");
    const fs::path game = root.Path() / "game";
    const fs::path data = root.Path() / "data";
    MakeGameFolder(game);
    fs::create_directories(data);
    const fs::path profiles = data / "profiles.xml";
    TestSupport::WriteFile(profiles, StartingProfiles());

    // The first run on whole data writes the file as the game writes it; that is the file every later run keeps.
    RunResult first = RunGame(game.string(), data.string());
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string before = TestSupport::ReadFile(profiles);
    ASSERT_NE(before.find("<store number=\"5\">"), std::string::npos);

    const char* const files[] = {"properties/stores.xml",    "properties/levels.xml",     "properties/customers.xml",
                                 "properties/people.xml",    "properties/localization.xml",
                                 "properties/resources.xml", "properties/grid.txt",       "fonts/small.txt",
                                 "fonts/medium_dark.txt"};
    for (const char* file : files)
    {
        const fs::path path = game / file;
        const std::string whole = TestSupport::ReadFile(path);
        for (const char* how : {"cut", "empty", "flip", "random"})
        {
            SCOPED_TRACE(std::string(file) + " " + how);
            TestSupport::WriteFile(path, Damaged(whole, how));
            const RunResult run = RunGame(game.string(), data.string());
            // A start that is refused names the file; one that plays (a flipped byte that leaves the file whole
            // and legal) must still leave the profiles alone.
            if (run.exitCode != 0)
            {
                EXPECT_EQ(run.exitCode, 1) << run.output;
                EXPECT_NE(run.output.find(file), std::string::npos) << "the file at fault is not named:\n" << run.output;
            }
            // The walk grid is lines of text: half of it can be a smaller floor that still reads as whole.
            if (std::string(how) != "flip" && std::string(file) != "properties/grid.txt")
            {
                EXPECT_NE(run.exitCode, 0) << "damaged data was played on:\n" << run.output;
            }
            EXPECT_EQ(TestSupport::ReadFile(profiles), before) << run.output;
            EXPECT_FALSE(fs::exists(data / "profiles.xml.bad"));
            TestSupport::WriteFile(path, whole);
        }
    }

    // Repaired, the data finds the progress where it was.
    RunResult repaired = RunGame(game.string(), data.string());
    EXPECT_EQ(repaired.exitCode, 0) << repaired.output;
    EXPECT_EQ(TestSupport::ReadFile(profiles), before);
}

// The archive's entries as the game asks for them ("properties/stores.xml") with their bytes.
std::vector<Zestra::PakSourceFile> ReadArchive(const fs::path& path)
{
    std::string bytes = TestSupport::ReadFile(path);
    const Zestra::PakTable table = Zestra::ReadPakTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_FALSE(table.mFailed) << table.mError;
    Zestra::PakXor(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    std::vector<Zestra::PakSourceFile> files;
    for (const Zestra::PakTableEntry& entry : table.mEntries)
    {
        Zestra::PakSourceFile file;
        file.mName = entry.mName;
        std::replace(file.mName.begin(), file.mName.end(), '\\', '/');
        file.mFileTime = entry.mFileTime;
        file.mData.assign(bytes.begin() + std::ptrdiff_t(entry.mOffset),
                          bytes.begin() + std::ptrdiff_t(entry.mOffset + entry.mSize));
        files.push_back(std::move(file));
    }
    return files;
}

TEST(DataDamage, AFileDamagedInsideTheArchiveIsNamedWithTheArchive)
{
    const fs::path archive = fs::path(kGameDir) / "main.pak";
    if (!fs::exists(archive))
        GTEST_SKIP() << "no main.pak in " << kGameDir;
    TestSupport::TempFolder root("velmora-damage");
    const fs::path game = root.Path() / "game";
    const fs::path data = root.Path() / "data";
    fs::create_directories(game);
    fs::create_directories(data);
    const fs::path profiles = data / "profiles.xml";
    TestSupport::WriteFile(profiles, StartingProfiles());
    const std::vector<Zestra::PakSourceFile> whole = ReadArchive(archive);
    ASSERT_FALSE(whole.empty());

    // The game folder holds the archive alone, so every file comes from it.
    auto writeArchive = [&](const std::vector<Zestra::PakSourceFile>& files)
    {
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(Zestra::BuildPak(files, bytes, error)) << error;
        TestSupport::WriteFile(game / "main.pak", std::string(bytes.begin(), bytes.end()));
    };
    writeArchive(whole);
    const RunResult first = RunGame(game.string(), data.string());
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string before = TestSupport::ReadFile(profiles);

    struct Case
    {
        const char* entry;
        const char* how;
    };
    const Case cases[] = {
        {"properties/stores.xml", "cut"},
        {"properties/levels.xml", "random"},
        {"images/ui/angry_cloud.png", "cut"},
        {"fonts/small.txt", "empty"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.entry) + " " + c.how);
        std::vector<Zestra::PakSourceFile> damaged = whole;
        bool found = false;
        for (Zestra::PakSourceFile& file : damaged)
        {
            if (file.mName != c.entry)
                continue;
            const std::string bytes = Damaged(std::string(file.mData.begin(), file.mData.end()), c.how);
            file.mData.assign(bytes.begin(), bytes.end());
            found = true;
        }
        ASSERT_TRUE(found) << "no entry " << c.entry;
        writeArchive(damaged);
        const RunResult run = RunGame(game.string(), data.string());
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find("main.pak: " + std::string(c.entry)), std::string::npos) << run.output;
        EXPECT_EQ(TestSupport::ReadFile(profiles), before) << run.output;
    }
}

} // namespace
