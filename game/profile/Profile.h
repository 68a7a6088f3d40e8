// Records of the profiles file: eight player slots, each with its progress and saved run, and one high-score table
// per store. Plain values that copy deeply; the one process-wide set lives in ProfileTable.cpp.
#pragma once

#include "game/profile/Achievements.h"
#include "game/profile/GameState.h"

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

constexpr int kProfileSlots = 8;
constexpr int kHighScoreRows = 10;
// The name entry allows 12 characters; names read from a file are cut here so a hostile file cannot make the next
// save grow without bound.
constexpr size_t kMaxProfileNameBytes = 64;
// Hint names are short words; a hostile file cannot make the set grow past these.
constexpr size_t kMaxHintNameBytes = 32;
constexpr size_t kMaxHintsSeen = 64;

// Level state values; an absent entry reads as kLevelNeverStarted.
constexpr int kLevelNeverStarted = 0;
constexpr int kLevelStarted = 1;
constexpr int kLevelPassed = 2;
constexpr int kLevelPassedExpert = 3;

struct Profile
{
    std::string name;       // empty: a free slot
    int unlockedStores = 1; // highest store number the player may enter on the map
    std::map<int, std::map<int, int>> levelStates; // store number -> level index -> state
    std::optional<GameState> savedGame;            // the run in progress, if any
    // Progress this run's data does not know (stores and levels beyond today's tables, a saved run in an unknown
    // store): kept as read and written back unchanged, so data that is repaired or extended later finds it.
    std::map<int, std::map<int, int>> keptLevelStates; // store number -> level index -> state
    int keptUnlockedStores = 0; // an unlocked count beyond today's stores; 0 when there is none
    // The <state> start tag and its furniture as the file spells them, without the end tag; empty: none.
    std::string keptSavedGame;
    // Names of the first-meeting hints this player has closed; names this copy of the game does not show are kept
    // too, so a later version's hints are not shown again.
    std::set<std::string> hintsSeen;
    PlayerStats stats;
    EarnedAchievements achievements; // only ids of today's table
    // Achievements this version does not know (from a later one): their elements as the file spelled them,
    // written back unchanged after the known ones.
    std::vector<std::string> keptAchievements;

    bool IsFree() const { return name.empty(); }
};

struct HighScoreEntry
{
    std::string name;
    int score = 0;
};

struct HighScoreTable
{
    std::vector<HighScoreEntry> entries; // best first
};

struct ProfileSet
{
    std::array<Profile, kProfileSlots> profiles;
    int selected = -1;                     // slot index, -1 when nobody is selected
    std::vector<HighScoreTable> highScores; // table i belongs to store number i + 1
    // Tables for stores beyond today's store table, in file order after highScores; written back unchanged.
    std::vector<HighScoreTable> keptHighScores;
};

// Ten rows named "XXXXX" scoring 1000, 900, ..., 100.
HighScoreTable DefaultHighScoreTable();

// A name as the file and the screens can carry it: control bytes (which the file format cannot hold) are dropped
// and the text is cut at kMaxProfileNameBytes. Letters, blanks, markup characters and Latin-1 stay.
std::string CleanProfileName(const std::string& name);

// A name typed by the player: at most kNameEntryLength characters, letters and blanks, never starting with a blank.
constexpr size_t kNameEntryLength = 12;
// Whether ch may be appended to a name being typed; the name-entry field and the player slots both ask this.
bool NameAcceptsChar(const std::string& name, char ch);
