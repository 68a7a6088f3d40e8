#include "ProfileTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/profile/ProfileFile.h"

#include <filesystem>
#include <functional>
#include <random>
#include <set>

namespace
{

// Eight used and free slots with level states in several stores, hints seen (one this copy does not know), two
// saved games with furniture, names that need
// escaping or carry Latin-1, and five high-score tables: everything the writer can produce.
std::string BusyFile()
{
    std::string text = "<profiles selected=\"2\">";
    text += "<profile name=\"Ada\" unlocked_stores=\"3\"><store number=\"1\"><level number=\"0\" state=\"3\"/>"
            "<level number=\"1\" state=\"2\"/><level number=\"12\" state=\"1\"/></store><store number=\"2\">"
            "<level number=\"0\" state=\"2\"/></store><hint name=\"drink\"/><hint name=\"hint_of_a_later_copy\"/>"
            "<state store=\"3\" level=\"4\" changing_rooms=\"3\" "
            "merchant_level=\"2\" drinks=\"2\" goodie_rack=\"1\" score=\"1234.00\" cash=\"56.25\" lives=\"2\">"
            "<furniture level=\"2\"/><furniture level=\"-1\"/><furniture level=\"0\"/></state></profile>";
    text += "<profile name=\"\" unlocked_stores=\"1\"></profile>";
    text += "<profile name=\"A&quot;B&lt;&amp;C&gt;&apos;\" unlocked_stores=\"5\"><store number=\"5\"></store>"
            "<state store=\"5\" level=\"12\" changing_rooms=\"1\" merchant_level=\"0\" drinks=\"0\" "
            "goodie_rack=\"0\" score=\"0.00\" cash=\"1234567.88\" lives=\"0\"><furniture level=\"0\"/>"
            "<furniture level=\"1\"/><furniture level=\"2\"/></state></profile>";
    text += "<profile name=\"Zo\xEB M\xFCller\" unlocked_stores=\"2\"><store number=\"1\"><level number=\"6\" "
            "state=\"0\"/></store></profile>";
    for (const char* name : {"Eve", "Finn", "Gus", "Hal Lee"})
        text += std::string("<profile name=\"") + name + "\" unlocked_stores=\"1\"></profile>";
    for (int t = 0; t < 5; ++t)
    {
        text += "<highscore-store>";
        for (int row = 0; row < 10; ++row)
            text += "<highscore name=\"" + std::string(row == 3 ? "A&amp;B" : (row == 4 ? "\xC9lise" : "XXXXX")) +
                    "\" score=\"" + std::to_string(5000 - 400 * row - t) + "\"/>";
        text += "</highscore-store>";
    }
    return text + "</profiles>";
}

// A sound file that differs from everything the cases write, to tell the backup apart.
const std::string kBackupFile =
    "<profiles selected=\"0\"><profile name=\"Keeper\" unlocked_stores=\"2\"></profile></profiles>";

} // namespace

TEST_F(ProfileTest, BusyFileRoundTripsByteForByte)
{
    const std::string busy = BusyFile();
    WriteMain(busy);
    Load();
    EXPECT_TRUE(host.issues.empty()) << host.issues[0].what;
    const ProfileSet& set = GetProfiles();
    EXPECT_EQ(set.selected, 2);
    EXPECT_EQ(set.profiles[2].name, "A\"B<&C>'");
    EXPECT_EQ(set.profiles[3].name, "Zo\xEB M\xFCller");
    ASSERT_TRUE(set.profiles[0].savedGame);
    EXPECT_EQ(set.profiles[0].savedGame->furnitureLevels, (std::vector<int>{2, -1, 0}));
    EXPECT_EQ(set.profiles[0].savedGame->store, GetStoreInfo(3));
    EXPECT_EQ(set.profiles[0].savedGame->cash, 56.25);
    EXPECT_EQ(set.highScores[0].entries[3].name, "A&B");
    EXPECT_EQ(set.profiles[0].hintsSeen, (std::set<std::string>{"drink", "hint_of_a_later_copy"}));
    EXPECT_TRUE(set.profiles[1].hintsSeen.empty());

    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadMain(), busy);
    EXPECT_EQ(TestSupport::ReadFile(BackupPath()), busy);
    EXPECT_EQ(ReadMain().find('\n'), std::string::npos);
}

TEST_F(ProfileTest, EdgeCasesOfTheFormat)
{
    // No "unlocked_stores": 1. Three tables with five playable stores: two default tables follow.
    std::string tables;
    for (int t = 0; t < 3; ++t)
    {
        tables += "<highscore-store>";
        for (int row = 0; row < 10; ++row)
            tables += "<highscore name=\"T\" score=\"" + std::to_string(50 - row) + "\"/>";
        tables += "</highscore-store>";
    }
    WriteMain(File("<profile name=\"A\"></profile>" + tables, 0));
    Load();
    EXPECT_TRUE(host.issues.empty());
    EXPECT_EQ(GetUnlockedStores(), 1);
    ASSERT_EQ(HighScoreTableCount(), 5);
    EXPECT_EQ(GetHighScoreTable(3)->entries[0].score, 50);
    EXPECT_EQ(GetHighScoreTable(4)->entries.size(), 10u);
    EXPECT_EQ(GetHighScoreTable(5)->entries[0].score, 1000);

    // A score written as 12.75 returns whole; cash returns as written, to two decimals.
    GameState run = NewGameState(GetStoreInfo(2));
    run.score = 12.75;
    run.cash = 3.14159;
    SetSavedGame(&run);
    ASSERT_TRUE(SaveProfiles());
    EXPECT_NE(ReadMain().find("score=\"12.75\" cash=\"3.14\""), std::string::npos);
    Load();
    std::unique_ptr<GameState> back = GetSavedGame();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->score, 12.0);
    EXPECT_EQ(FormatFileMoney(back->cash), "3.14");
    EXPECT_EQ(back->store, GetStoreInfo(2));
    EXPECT_EQ(back->mannequinClothing, run.mannequinClothing);

    // Free slots are still written, with an empty name.
    FreeProfiles();
    const std::string empty = FormatProfiles(GetProfiles());
    size_t free = 0;
    for (size_t at = empty.find("<profile name=\"\" unlocked_stores=\"1\"></profile>"); at != std::string::npos;
         at = empty.find("<profile name=\"\"", at + 1))
        ++free;
    EXPECT_EQ(free, 8u);
}

TEST_F(ProfileTest, NamesThatNeedEscapingSurviveSaveAndLoad)
{
    const std::string names[] = {"A\"B<&C", "O'Neil > all", "\xC9lodie \xE6\xF8\xE5", "&amp; literal", "  x  "};
    for (const std::string& name : names)
    {
        FreeProfiles();
        std::filesystem::remove(MainPath());
        std::filesystem::remove(BackupPath());
        Load();
        CreateProfile(name);
        AddHighScore(1, 2000);
        ASSERT_TRUE(SaveProfiles());
        Load();
        EXPECT_TRUE(host.issues.empty()) << name;
        EXPECT_EQ(GetProfile(0)->name, name);
        EXPECT_EQ(GetHighScoreTable(1)->entries[0].name, name);
    }
    // Control characters cannot be carried by the file; they are dropped before anything is written.
    CreateProfile("Tab\tNew\nLine");
    EXPECT_EQ(GetProfile(1)->name, "TabNewLine");
}

// Each value out of range is dropped or brought into range with a message naming the file and its line; the rest
// of the file is used.
// Data cut down to fewer stores and levels (damaged, or an older version) must not cost the progress it does not
// know: the entries beyond it are written back as they were, and data that knows them again finds them in place.
TEST_F(ProfileTest, ProgressBeyondTodaysDataIsKeptAndWrittenBackUnchanged)
{
    const std::string busy = BusyFile();
    for (int stores : {2, 1, 0})
    {
        FreeProfiles();
        FreeDataTables();
        WriteTestStores(game, stores);
        WriteMain(busy);
        Load();
        EXPECT_TRUE(host.issues.empty()) << stores << " stores: " << host.issues[0].what;
        // A day played in a store that is still there changes only its own entries.
        if (stores >= 1)
        {
            EXPECT_EQ(GetProfiles().profiles[0].levelStates.at(1).at(1), 2);
        }
        ASSERT_TRUE(SaveProfiles());
        EXPECT_EQ(ReadMain(), busy) << stores << " stores";
    }
    // Repaired data reads every entry as its own again.
    FreeProfiles();
    FreeDataTables();
    WriteTestStores(game, 5);
    Load();
    EXPECT_TRUE(host.issues.empty());
    EXPECT_TRUE(GetProfiles().profiles[2].keptSavedGame.empty());
    ASSERT_TRUE(GetProfiles().profiles[2].savedGame);
    EXPECT_EQ(GetProfiles().profiles[2].unlockedStores, 5);
    EXPECT_TRUE(GetProfiles().keptHighScores.empty());
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadMain(), busy);

    // A run started in a known store replaces a kept one; high scores reset their kept tables too.
    FreeProfiles();
    FreeDataTables();
    WriteTestStores(game, 2);
    WriteMain(busy);
    Load();
    SelectProfile(2);
    const GameState fresh = NewGameState(GetStoreInfo(1));
    SetSavedGame(&fresh);
    ResetHighScores();
    const std::string saved = ReadMain();
    EXPECT_EQ(saved.find("<state store=\"5\""), std::string::npos);
    EXPECT_NE(saved.find("<state store=\"1\""), std::string::npos);
    EXPECT_EQ(saved.find("score=\"5000\""), std::string::npos) << "a kept table was not reset";
}

TEST_F(ProfileTest, OutOfRangeValuesAreReportedAndMadeSafe)
{
    const std::string state = "<state store=\"1\" level=\"2\" changing_rooms=\"2\" merchant_level=\"1\" drinks=\"1\" "
                              "goodie_rack=\"0\" score=\"10\" cash=\"5\" lives=\"3\"";
    auto run = [] { return GetProfiles().profiles[0].savedGame; };
    struct Case
    {
        std::string body;
        std::function<bool()> check;
        std::string message;
        int line;
        int selected = -1;
    };
    const Case cases[] = {
        {"<profile name=\"A\" unlocked_stores=\"0\"/>", [] { return GetProfile(0)->unlockedStores == 1; },
         "unlocked stores 0", 2},
        {"<profile name=\"A\" unlocked_stores=\"99999999999\"/>", [] { return GetProfile(0)->unlockedStores == 5; },
         "unlocked stores 2147483647", 2},
        {"<profile name=\"A\">\n<store number=\"99\">\n<level number=\"0\" state=\"2\"/></store></profile>",
         [] { return GetProfile(0)->levelStates.empty() && GetProfile(0)->keptLevelStates.empty(); },
         "store 99 can never exist", 3},
        {"<profile name=\"A\">\n<store number=\"-2\"><level number=\"0\" state=\"2\"/></store></profile>",
         [] { return GetProfile(0)->levelStates.empty(); }, "store -2 can never exist", 3},
        {"<profile name=\"A\"><store number=\"1\">\n<level number=\"300\" state=\"2\"/>\n<level number=\"1\" "
         "state=\"3\"/></store></profile>",
         [] { return GetProfile(0)->levelStates.at(1) == std::map<int, int>{{1, 3}}; }, "level 300 can never exist",
         3},
        {"<profile name=\"A\"><store number=\"1\">\n<level number=\"0\" state=\"4\"/></store></profile>",
         [] { return GetProfile(0)->levelStates.at(1).empty(); }, "level state 4", 3},
        {"<profile name=\"A\">" + state + "/>\n<state store=\"-1\" level=\"0\"/></profile>",
         [&] { return run() && run()->storeNumber == 1; }, "store -1, which does not exist", 3},
        {"<profile name=\"A\">\n<state store=\"70\"><furniture level=\"0\"/></state></profile>",
         [&] { return !run() && GetProfile(0)->keptSavedGame.empty(); }, "store 70, which does not exist", 3},
        {"<profile name=\"A\">\n<state store=\"2\" level=\"40\" changing_rooms=\"9\" merchant_level=\"-3\" "
         "drinks=\"50\" goodie_rack=\"3\" lives=\"12\"/></profile>",
         [&] {
             return run()->levelIndex == 12 && run()->changingRooms == 4 && run()->merchantLevel == 0 &&
                    run()->drinks == 2 && run()->goodieRack == 1 && run()->lives == 9;
         },
         "saved level 40", 3},
        {"<profile name=\"A\">\n<state store=\"2\" changing_rooms=\"0\" lives=\"-1\"/></profile>",
         [&] { return run()->changingRooms == 1 && run()->lives == 0; }, "changing rooms 0", 3},
        {"<profile name=\"A\">\n<state store=\"2\" score=\"99999999999\" cash=\"1e30\"/></profile>",
         [&] { return run()->score == 0.0 && run()->cash == 0.0; }, "cash 1e30", 3},
        {"<profile name=\"A\">" + state + ">\n<furniture level=\"7\"/>\n<furniture level=\"-5\"/></state></profile>",
         [&] { return run()->furnitureLevels == std::vector<int>{2, -1, -1}; }, "furniture level of spot 1 -5", 4},
        {"<profile name=\"A\">\n" + state +
             "><furniture level=\"0\"/></state></profile>", // the other spots start as in a new game
         [&] { return run()->furnitureLevels == std::vector<int>{0, -1, -1}; }, "furniture for 1 of 3", 3},
        {"<profile name=\"A\">" + state +
             "><furniture level=\"0\"/><furniture level=\"0\"/><furniture level=\"0\"/>\n<furniture "
             "level=\"0\"/></state></profile>",
         [&] { return run()->furnitureLevels.size() == 3; }, "only 3 floor spots", 3},
        {"<profile name=\"1\"/><profile name=\"2\"/><profile name=\"3\"/><profile name=\"4\"/><profile "
         "name=\"5\"/><profile name=\"6\"/><profile name=\"7\"/><profile name=\"8\"/>\n<profile name=\"9\">" +
             state + "/></profile>",
         [] { return GetProfile(7)->name == "8" && !GetProfile(7)->savedGame; }, "more than 8 profiles", 3},
        {"<profile name=\"A\"/>", [] { return GetSelectedProfile() == -1; }, "selected profile 9", 1, 9},
        {"<profile name=\"A\"/><profile name=\"\"/>", [] { return GetSelectedProfile() == -1; },
         "selected profile 1", 1, 1},
        {"<highscore-store>\n<highscore name=\"Z\" score=\"700\"/></highscore-store>",
         [] {
             const auto& rows = GetHighScoreTable(1)->entries;
             return rows.size() == 10 && rows[0].score == 700 && rows[1].score == 700 && rows[2].score == 700 &&
                    rows[9].score == 100;
         },
         "has 1 of 10 rows", 2},
        {"<highscore-store>" + [] {
             std::string rows;
             for (int i = 0; i < 10; ++i)
                 rows += "<highscore name=\"R\" score=\"" + std::to_string(90 - i) + "\"/>";
             return rows;
         }() + "\n<highscore name=\"Eleventh\" score=\"1\"/></highscore-store>",
         [] { return GetHighScoreTable(1)->entries.back().score == 81; }, "more than 10 rows", 3},
        {"<highscore name=\"Stray\" score=\"5\"/>", [] { return HighScoreTableCount() == 5; },
         "<highscore> before any <highscore-store>", 2},
        {[] {
             std::string tables;
             for (int t = 0; t < 64; ++t)
                 tables += "<highscore-store></highscore-store>";
             return tables;
         }() + "\n<highscore-store><highscore name=\"x\" score=\"1\"/></highscore-store>",
         [] { return HighScoreTableCount() == 5 && GetProfiles().keptHighScores.size() == 59; },
         "more high-score tables than there can be stores", 3},
        {"<profile name=\"" + std::string(100, 'n') + "\"/>",
         [] { return GetProfile(0)->name == std::string(kMaxProfileNameBytes, 'n'); }, "was shortened", 2},
        {"<junk/><profile name=\"A\"/>", [] { return GetProfile(0)->name == "A"; }, "unknown element <junk>", 2},
        {"<profile name=\"A\"><hint name=\"drink\"/>\n<hint name=\"a b\"/><hint name=\"" + std::string(40, 'h') +
             "\"/></profile>",
         [] { return GetProfile(0)->hintsSeen == std::set<std::string>{"drink"}; }, "hint name \"a b\"", 3},
        {"<profile name=\"A\">" + [] {
             std::string hints;
             for (size_t i = 0; i < kMaxHintsSeen; ++i)
                 hints += "<hint name=\"h" + std::to_string(i) + "\"/>";
             return hints;
         }() + "<hint name=\"h0\"/>\n<hint name=\"one_more\"/></profile>",
         [] { return GetProfile(0)->hintsSeen.size() == kMaxHintsSeen; }, "hints seen: \"one_more\"", 3},
    };
    for (const Case& c : cases)
    {
        FreeProfiles();
        WriteMain(File(c.body, c.selected));
        Load();
        EXPECT_TRUE(c.check()) << c.body;
        const ReportedIssue* issue = host.Find(c.message);
        ASSERT_NE(issue, nullptr) << c.body << "\nfirst issue: " << (host.issues.empty() ? "" : host.issues[0].what);
        EXPECT_EQ(issue->file, MainPath());
        EXPECT_EQ(issue->line, c.line) << c.body;
        EXPECT_FALSE(std::filesystem::exists(BadPath())) << "a file with bad values is still used: " << c.body;
        // What is kept saves and reads back without a further complaint.
        ASSERT_TRUE(SaveProfiles());
        const std::string saved = ReadMain();
        Load();
        EXPECT_TRUE(host.issues.empty()) << c.body << ": " << host.issues[0].what;
        EXPECT_EQ(FormatProfiles(GetProfiles()), saved);
    }
}

// Files that cannot be read as a whole are set aside with one warning; the backup is used when there is one, else
// every slot starts free. Files that read but hold bad values are used without the values.
TEST_F(ProfileTest, DamagedFilesStartCleanFromTheBackupOrEmpty)
{
    const std::string busy = BusyFile();
    std::mt19937 random(14);
    std::string binary(4096, '\0');
    for (char& c : binary)
        c = static_cast<char>(random());
    std::string deep = "<profiles selected=\"0\">";
    for (int i = 0; i < 20000; ++i)
        deep += "<a>";
    std::string huge = busy.substr(0, busy.size() - 11) + std::string(10 << 20, ' ') + "</profiles>";
    std::string nine = "<profiles selected=\"8\">";
    for (int i = 0; i < 9; ++i)
        nine += "<profile name=\"P" + std::to_string(i) + "\" unlocked_stores=\"2\"></profile>";
    nine += "</profiles>";
    const std::string bigNumbers =
        "<profiles selected=\"0\"><profile name=\"Big\" unlocked_stores=\"4294967296\"><store "
        "number=\"99999999999999\"><level number=\"1\" state=\"2\"/></store><state store=\"1\" "
        "level=\"99999999999\" changing_rooms=\"-99999999999\" merchant_level=\"1e99\" drinks=\"2147483648\" "
        "goodie_rack=\"7\" score=\"1e300\" cash=\"-1e300\" lives=\"99999\"><furniture level=\"2147483647\"/>"
        "</state></profile><highscore-store><highscore name=\"Big\" score=\"99999999999\"/></highscore-store>"
        "</profiles>";
    const std::string negativeStore = "<profiles selected=\"0\"><profile name=\"Neg\" unlocked_stores=\"-4\">"
                                      "<state store=\"-3\" level=\"1\"/><store number=\"-1\"/></profile></profiles>";

    struct Case
    {
        const char* name;
        std::string text;
        bool damaged;
        std::function<bool()> usedCheck; // for files that are used
    };
    const Case cases[] = {
        {"truncated", busy.substr(0, busy.size() / 2), true, nullptr},
        {"cut before the root ends", busy.substr(0, busy.size() - 11), true, nullptr},
        {"empty", "", true, nullptr},
        {"binary", binary, true, nullptr},
        {"10 MB", huge, true, nullptr},
        {"nested junk", deep, true, nullptr},
        {"no profiles element", "<settings volume=\"3\"/>", true, nullptr},
        {"9 profiles", nine, false, [] { return GetProfile(7)->name == "P7" && GetSelectedProfile() == -1; }},
        {"huge numbers", bigNumbers, false,
         [] {
             const std::optional<GameState>& run = GetProfile(0)->savedGame;
             return GetProfile(0)->unlockedStores == 5 && GetProfile(0)->levelStates.empty() && run &&
                    run->levelIndex == 12 && run->changingRooms == 1 && run->lives == 9 && run->cash == 0.0 &&
                    run->furnitureLevels == std::vector<int>{2, -1, -1} &&
                    GetHighScoreTable(1)->entries[0].score == 2147483647;
         }},
        {"negative store", negativeStore, false,
         [] { return GetProfile(0)->name == "Neg" && !GetProfile(0)->savedGame && GetUnlockedStores() == 1; }},
    };
    for (const Case& c : cases)
        for (bool withBackup : {true, false})
        {
            SCOPED_TRACE(std::string(c.name) + (withBackup ? ", with a backup" : ", without a backup"));
            FreeProfiles();
            std::filesystem::remove(BadPath());
            std::filesystem::remove(BackupPath());
            if (withBackup)
                TestSupport::WriteFile(BackupPath(), kBackupFile);
            WriteMain(c.text);
            Load();
            EXPECT_EQ(HighScoreTableCount(), 5);
            int warnings = host.Count(DataSeverity::Warning);
            if (!c.damaged)
            {
                EXPECT_EQ(warnings, 0);
                EXPECT_GT(host.Count(DataSeverity::Error), 0);
                EXPECT_TRUE(c.usedCheck());
                EXPECT_FALSE(std::filesystem::exists(BadPath()));
                continue;
            }
            EXPECT_EQ(warnings, 1);
            EXPECT_EQ(host.Count(DataSeverity::Error), 0) << "only the file that is used reports its values";
            EXPECT_EQ(TestSupport::ReadFile(BadPath()), c.text);
            EXPECT_FALSE(std::filesystem::exists(MainPath()));
            ASSERT_NE(host.Find("damaged"), nullptr);
            if (withBackup)
            {
                EXPECT_EQ(GetProfile(0)->name, "Keeper");
                EXPECT_EQ(GetSelectedProfile(), 0);
                EXPECT_NE(host.Find("backup profiles.xml.bak is used"), nullptr);
            }
            else
            {
                for (int slot = 0; slot < kProfileSlots; ++slot)
                    EXPECT_TRUE(GetProfile(slot)->IsFree());
                EXPECT_EQ(GetSelectedProfile(), -1);
                EXPECT_NE(host.Find("every profile slot starts empty"), nullptr);
            }
            // The next save writes a new file and leaves the backup as the last good one.
            ASSERT_TRUE(SaveProfiles());
            EXPECT_EQ(TestSupport::ReadFile(BackupPath()), withBackup ? kBackupFile : "");
        }
}

TEST_F(ProfileTest, MissingOrDamagedBackupsAreReportedOnce)
{
    struct Case
    {
        const char* main; // null: no file
        const char* backup;
        const char* message;
        const char* firstName;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, ""},
        {nullptr, "<profiles selected=\"0\"><profile name=\"Keeper\"/></profiles>", "is missing; its backup", "Keeper"},
        {nullptr, "<profiles", "is missing; its backup is damaged too", ""},
        {"<profiles>", "<profiles><profile name=\"X\">", "every profile slot starts empty", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message != nullptr ? c.message : "first start");
        FreeProfiles();
        for (const std::string& path : {MainPath(), BackupPath(), BadPath()})
            std::filesystem::remove(path);
        if (c.main != nullptr)
            WriteMain(c.main);
        if (c.backup != nullptr)
            TestSupport::WriteFile(BackupPath(), c.backup);
        Load();
        EXPECT_EQ(host.issues.size(), c.message != nullptr ? 1u : 0u);
        if (c.message != nullptr)
        {
            ASSERT_NE(host.Find(c.message), nullptr) << host.issues[0].what;
            EXPECT_EQ(host.Find(c.message)->file, MainPath());
        }
        EXPECT_EQ(GetProfile(0)->name, c.firstName);
        EXPECT_EQ(GetProfilePath(), MainPath());
        EXPECT_EQ(std::filesystem::exists(BackupPath()), c.backup != nullptr) << "a backup is never set aside";
    }
}
