#include "ProfileTestSupport.h"

#include "game/data/LevelStats.h"

#include <filesystem>

TEST_F(ProfileTest, HighScoresEnterBelowEqualScores)
{
    const std::pair<int, int> cases[] = {{100, -1}, {101, 9}, {1000, 1}, {1001, 0}, {550, 5}};
    for (const auto& [score, row] : cases)
    {
        FreeProfiles();
        std::filesystem::remove(MainPath());
        Load();
        CreateProfile("Ann");
        EXPECT_EQ(AddHighScore(2, score), row) << score;
        const std::vector<HighScoreEntry>& rows = GetHighScoreTable(2)->entries;
        ASSERT_EQ(rows.size(), 10u);
        for (size_t r = 1; r < rows.size(); ++r)
            EXPECT_GE(rows[r - 1].score, rows[r].score) << score;
        if (row >= 0)
        {
            EXPECT_EQ(rows[size_t(row)].name, "Ann");
            EXPECT_EQ(rows.back().score, score > 200 ? 200 : score) << "the last row falls out";
            EXPECT_EQ(GetHighScoreTable(1)->entries[0].name, "XXXXX") << "other stores keep their tables";
        }
        // An entry is saved at once; a score that does not enter writes nothing.
        EXPECT_EQ(std::filesystem::exists(MainPath()), row >= 0) << score;
    }
    EXPECT_EQ(AddHighScore(0, 5000), -1);
    EXPECT_EQ(AddHighScore(6, 5000), -1);
    SelectProfile(-1);
    EXPECT_EQ(AddHighScore(1, 5000), -1) << "nobody to enter";
}

TEST_F(ProfileTest, SlotsFillInOrderAndTheNinthRenamesTheLast)
{
    Load();
    for (int i = 0; i < 8; ++i)
    {
        std::string name = "P";
        name += std::to_string(i);
        EXPECT_EQ(CreateProfile(name), i);
    }
    MarkLevelPassed(3, 4, true);
    UnlockStore(3);
    GameState run = NewGameState(GetStoreInfo(3));
    SetSavedGame(&run);
    ASSERT_TRUE(HasSavedGame());

    EXPECT_EQ(CreateProfile("Ninth"), 7);
    EXPECT_EQ(GetSelectedProfile(), 7);
    EXPECT_EQ(GetProfile(7)->name, "Ninth");
    EXPECT_EQ(GetLevelState(3, 4), kLevelPassedExpert) << "the renamed slot keeps its progress";
    EXPECT_EQ(GetUnlockedStores(), 3);
    EXPECT_FALSE(HasSavedGame()) << "but not the run";

    // Freeing a slot resets it; the next profile takes the first free slot.
    SetProfileName(2, "");
    EXPECT_TRUE(GetProfile(2)->IsFree());
    EXPECT_EQ(CreateProfile("New"), 2);
    EXPECT_EQ(GetUnlockedStores(), 1);
    EXPECT_EQ(GetLevelState(3, 4), kLevelNeverStarted);
    SetProfileName(9, "nobody");
    SetProfileName(-1, "nobody");
    EXPECT_EQ(GetProfile(8), nullptr);
}

TEST_F(ProfileTest, LevelStatesAndTheSavedRunBelongToTheSelectedPlayer)
{
    Load();
    // Nobody selected: nothing is recorded and the answers are those of a fresh player.
    MarkLevelPassed(1, 0, false);
    UnlockStore(4);
    GameState run = NewGameState(GetStoreInfo(1));
    SetSavedGame(&run);
    EXPECT_EQ(GetLevelState(1, 0), kLevelNeverStarted);
    EXPECT_EQ(GetUnlockedStores(), 1);
    EXPECT_FALSE(HasSavedGame());
    EXPECT_EQ(GetSavedGame(), nullptr);

    CreateProfile("Ann");
    MarkLevelPassed(1, 0, false);
    EXPECT_EQ(GetLevelState(1, 0), kLevelPassed);
    MarkLevelStarted(1, 0); // the level start screen marks a passed level again
    EXPECT_EQ(GetLevelState(1, 0), kLevelStarted);
    EXPECT_TRUE(WasLevelStarted(1, 0));
    EXPECT_FALSE(WasLevelStarted(1, 1));
    UnlockStore(3);
    UnlockStore(2);
    EXPECT_EQ(GetUnlockedStores(), 3);

    run.UpgradeFurniture(0);
    run.cash = 77.5;
    SetSavedGame(&run);
    run.cash = 0; // the profile keeps its own copy
    std::unique_ptr<GameState> copy = GetSavedGame();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->cash, 77.5);
    EXPECT_EQ(copy->furnitureLevels, run.furnitureLevels);
    EXPECT_EQ(copy->store, GetStoreInfo(1));
    SetSavedGame(nullptr);
    EXPECT_FALSE(HasSavedGame());

    CreateProfile("Bo");
    EXPECT_EQ(GetLevelState(1, 0), kLevelNeverStarted);
    SelectProfile(0);
    EXPECT_EQ(GetLevelState(1, 0), kLevelStarted);
    SelectProfile(12);
    EXPECT_EQ(GetSelectedProfile(), 0);

    // Deleting the selected player leaves nobody to record for, and the file says so.
    SetProfileName(0, "");
    MarkLevelPassed(2, 0, false);
    EXPECT_EQ(GetLevelState(2, 0), kLevelNeverStarted);
    EXPECT_TRUE(GetProfile(0)->levelStates.empty());
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadMain().rfind("<profiles selected=\"-1\">", 0), 0u);
    Load();
    EXPECT_TRUE(host.issues.empty());
}

TEST_F(ProfileTest, ResettingHighScoresRestoresTheDefaultsAndSaves)
{
    Load();
    CreateProfile("Ann");
    ASSERT_EQ(AddHighScore(1, 5000), 0);
    ResetHighScores();
    EXPECT_EQ(HighScoreTableCount(), 5);
    EXPECT_EQ(GetHighScoreTable(1)->entries[0].score, 1000);
    Load();
    EXPECT_EQ(GetHighScoreTable(1)->entries[0].name, "XXXXX");
}

TEST(NameRuleTest, LettersAndInnerBlanksUpToTwelveCharacters)
{
    struct Case
    {
        const char* name;
        char ch;
        bool accepted;
    };
    const Case cases[] = {
        {"", 'A', true},
        {"", ' ', false},
        {"Ann", ' ', true},
        {"Ann ", ' ', true},
        {"Ann", 'z', true},
        {"Ann", '1', false},
        {"Ann", '-', false},
        {"Ann", '<', false},
        {"Ann", '\xE9', false},
        {"Ann", '\0', false},
        {"Abcdefghijk", 'l', true},
        {"Abcdefghijkl", 'm', false},
        {"Abcdefghijk ", ' ', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameAcceptsChar(c.name, c.ch), c.accepted) << '"' << c.name << "\" + " << int(c.ch);
}
