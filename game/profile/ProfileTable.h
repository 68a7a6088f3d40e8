// The process-wide profile table: eight slots, the selected slot, the high-score tables and the file path. It is
// filled once by ProfileManager on the loading thread and published with the data tables; afterwards only the main
// thread reads, changes and saves it. Operations on "the selected profile" do nothing (or answer as for a fresh
// player) while no slot is selected or the selected slot is free.
#pragma once

#include "game/profile/DayRecord.h"
#include "game/profile/Profile.h"

#include <memory>
#include <string>

struct GameState;

// The whole table, read-only (the high-score and player screens draw from it).
const ProfileSet& GetProfiles();
// Null for a slot outside 0..7.
const Profile* GetProfile(int slot);

// Replaces the table with what was read from path. keepBackup false: the file at path is not a good one (it could
// not be set aside), so the next save must not turn it into the backup. Called by ProfileManager.
void InstallProfiles(ProfileSet set, const std::string& path, bool keepBackup);

// The profiles file of a data folder ("<folder>/profiles.xml"); the per-user folder
// $XDG_DATA_HOME/Kestrin/Velmora Row when dataFolder is empty. Makes the folder (mode 0700) when it is missing.
std::string ProfilePathIn(const std::string& dataFolder);
// The file ProfileManager read (and every save writes); before any read, ProfilePathIn("").
std::string GetProfilePath();

// Writes the whole table crash-safely (see WriteProfileFile). On failure the old file stays, one line naming the
// file and the reason goes to stderr, errorText (when given) receives it, and the result is false.
bool SaveProfiles(std::string* errorText = nullptr);

// Takes the first free slot (the last slot when all are used, keeping its progress), names it, drops its saved
// game and selects it. Returns the slot.
int CreateProfile(const std::string& name);
// An empty name frees the slot (no saved game, unlocked stores 1, no level states). Slots outside 0..7 are ignored.
void SetProfileName(int slot, const std::string& name);
// -1 or 0..7; other values are ignored.
void SelectProfile(int slot);
int GetSelectedProfile();

bool HasSavedGame();
int GetUnlockedStores(); // 1 without a selected profile
void UnlockStore(int storeNumber); // raises, never lowers
int GetLevelState(int storeNumber, int levelIndex); // kLevelNeverStarted when absent
void MarkLevelStarted(int storeNumber, int levelIndex); // also over a passed level
void MarkLevelPassed(int storeNumber, int levelIndex, bool expert);
bool WasLevelStarted(int storeNumber, int levelIndex);

// Null deletes the saved game; otherwise the selected profile keeps a copy.
void SetSavedGame(const GameState* state);
// A fresh copy with its store link and mannequin clothing rebuilt, or null.
std::unique_ptr<GameState> GetSavedGame();

// Enters the score for the selected player when it beats the table's last row (equal scores stay above it), saves,
// and returns the row (0-based); -1 when the score does not enter, the store has no table or nobody is selected.
int AddHighScore(int storeNumber, int score);
int HighScoreTableCount();
const HighScoreTable* GetHighScoreTable(int storeNumber); // null when the store has none
// Every table back to the default rows (at least one per playable store), then saved.
void ResetHighScores();
// Appends default tables until there is one per playable store.
void FillDefaultHighScores(ProfileSet& set);

// A day's end in the selected profile: the level passed, the store unlocked, the saved game kept or cleared, the
// score entered when the run ended; then the file is written. Returns the high-score place (RecordDay of
// DayRecorder).
std::optional<int> RecordDay(const DayRecord& record);

// An event of play in the selected profile's statistics and achievements (nothing without a selected player).
// A day's end learns here how many days of its store the player has finished at expert. Achievements earned
// inside a day are saved at once; a day's end is saved by the RecordDay that follows it. Returns the new ids.
std::vector<std::string> RecordEvent(PlayEvent event);

// The board's recorder for the selected player's profile.
class ProfileRecorder : public DayRecorder
{
public:
    std::optional<int> RecordDay(const DayRecord& record) override { return ::RecordDay(record); }
    void ResetHighScores() override { ::ResetHighScores(); }
    std::vector<std::string> RecordEvent(const PlayEvent& event) override { return ::RecordEvent(event); }
};

// Back to eight free slots, nobody selected, no tables and no path. At shutdown (and between tests).
void FreeProfiles();
