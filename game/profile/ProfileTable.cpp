// The process-wide profile table and the operations the menus and the board use on it. Written on the loading
// thread only by InstallProfiles (before the data tables are published), then used on the main thread alone.
#include "game/profile/ProfileTable.h"

#include "framework/log/Log.h"
#include "framework/platform/Paths.h"
#include "game/data/LevelStats.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileFile.h"

#include <algorithm>
#include <cstdio>

namespace
{

ProfileSet gProfiles;
std::string gProfilePath;
// False while the file at gProfilePath is a damaged one that could not be set aside: it must not become the backup.
bool gKeepBackup = true;

// The selected player; a selected slot that is free (its player was deleted, or it is not named yet) is nobody, so
// nothing is ever recorded for a player who does not exist.
Profile* Selected()
{
    if (gProfiles.selected < 0 || gProfiles.selected >= kProfileSlots)
        return nullptr;
    Profile& profile = gProfiles.profiles[static_cast<size_t>(gProfiles.selected)];
    return profile.IsFree() ? nullptr : &profile;
}

} // namespace

const ProfileSet& GetProfiles()
{
    return gProfiles;
}

const Profile* GetProfile(int slot)
{
    if (slot < 0 || slot >= kProfileSlots)
        return nullptr;
    return &gProfiles.profiles[static_cast<size_t>(slot)];
}

void InstallProfiles(ProfileSet set, const std::string& path, bool keepBackup)
{
    gProfiles = std::move(set);
    gProfilePath = path;
    gKeepBackup = keepBackup;
}

std::string ProfilePathIn(const std::string& dataFolder)
{
    std::string folder = dataFolder.empty() ? Zestra::DataRoot() + "/Kestrin/Velmora Row" : dataFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string error;
    Zestra::MakeFolders(folder, 0700, error); // a failure shows up when the file is written
    return folder + "/profiles.xml";
}

std::string GetProfilePath()
{
    if (gProfilePath.empty())
        gProfilePath = ProfilePathIn(std::string());
    return gProfilePath;
}

bool SaveProfiles(std::string* errorText)
{
    const std::string path = GetProfilePath();
    std::string error;
    if (!WriteProfileFile(path, FormatProfiles(gProfiles), gKeepBackup, error))
    {
        Zestra::LogFormat("profiles: cannot save %s (%s); the previous file is kept\n", path.c_str(),
                     error.c_str());
        if (errorText != nullptr)
            *errorText = error;
        return false;
    }
    gKeepBackup = true; // the file is now ours and good
    return true;
}

int CreateProfile(const std::string& name)
{
    int slot = kProfileSlots - 1;
    for (int i = 0; i < kProfileSlots; ++i)
        if (gProfiles.profiles[static_cast<size_t>(i)].IsFree())
        {
            slot = i;
            break;
        }
    Profile& profile = gProfiles.profiles[static_cast<size_t>(slot)];
    profile.name = CleanProfileName(name);
    profile.savedGame.reset();
    profile.keptSavedGame.clear();
    gProfiles.selected = slot;
    return slot;
}

void SetProfileName(int slot, const std::string& name)
{
    if (slot < 0 || slot >= kProfileSlots)
        return;
    Profile& profile = gProfiles.profiles[static_cast<size_t>(slot)];
    const std::string clean = CleanProfileName(name);
    if (clean.empty())
        profile = Profile{};
    else
        profile.name = clean;
}

void SelectProfile(int slot)
{
    if (slot >= -1 && slot < kProfileSlots)
        gProfiles.selected = slot;
}

int GetSelectedProfile()
{
    return gProfiles.selected;
}

bool HasSavedGame()
{
    const Profile* profile = Selected();
    return profile != nullptr && profile->savedGame.has_value();
}

int GetUnlockedStores()
{
    const Profile* profile = Selected();
    return profile != nullptr ? profile->unlockedStores : 1;
}

void UnlockStore(int storeNumber)
{
    if (Profile* profile = Selected())
        profile->unlockedStores = std::max(profile->unlockedStores, storeNumber);
}

int GetLevelState(int storeNumber, int levelIndex)
{
    const Profile* profile = Selected();
    if (profile == nullptr)
        return kLevelNeverStarted;
    const auto store = profile->levelStates.find(storeNumber);
    if (store == profile->levelStates.end())
        return kLevelNeverStarted;
    const auto level = store->second.find(levelIndex);
    return level == store->second.end() ? kLevelNeverStarted : level->second;
}

void MarkLevelStarted(int storeNumber, int levelIndex)
{
    if (Profile* profile = Selected())
        profile->levelStates[storeNumber][levelIndex] = kLevelStarted;
}

void MarkLevelPassed(int storeNumber, int levelIndex, bool expert)
{
    if (Profile* profile = Selected())
        profile->levelStates[storeNumber][levelIndex] = expert ? kLevelPassedExpert : kLevelPassed;
}

bool WasLevelStarted(int storeNumber, int levelIndex)
{
    return GetLevelState(storeNumber, levelIndex) != kLevelNeverStarted;
}

void SetSavedGame(const GameState* state)
{
    Profile* profile = Selected();
    if (profile == nullptr)
        return;
    // A run started or ended today replaces a kept one from a store today's data does not know.
    profile->keptSavedGame.clear();
    if (state == nullptr)
        profile->savedGame.reset();
    else
        profile->savedGame = *state;
}

std::unique_ptr<GameState> GetSavedGame()
{
    const Profile* profile = Selected();
    if (profile == nullptr || !profile->savedGame)
        return nullptr;
    auto copy = std::make_unique<GameState>(*profile->savedGame);
    copy->store = GetStoreInfo(copy->storeNumber);
    copy->RebuildMannequinClothing();
    return copy;
}

int AddHighScore(int storeNumber, int score)
{
    const Profile* player = Selected();
    if (player == nullptr || storeNumber < 1 || storeNumber > HighScoreTableCount())
        return -1;
    std::vector<HighScoreEntry>& rows = gProfiles.highScores[static_cast<size_t>(storeNumber - 1)].entries;
    if (rows.empty() || rows.back().score >= score)
        return -1;
    size_t row = rows.size() - 1;
    // Rows below move down by one; equal scores already in the table stay above the new one.
    while (row >= 1 && rows[row - 1].score < score)
    {
        rows[row] = rows[row - 1];
        --row;
    }
    rows[row] = {player->name, score};
    SaveProfiles();
    return static_cast<int>(row);
}

int HighScoreTableCount()
{
    return static_cast<int>(gProfiles.highScores.size());
}

const HighScoreTable* GetHighScoreTable(int storeNumber)
{
    if (storeNumber < 1 || storeNumber > HighScoreTableCount())
        return nullptr;
    return &gProfiles.highScores[static_cast<size_t>(storeNumber - 1)];
}

std::optional<int> RecordDay(const DayRecord& record)
{
    if (IsPassed(record.result))
        MarkLevelPassed(record.storeNumber, record.levelIndex, record.result == DayResult::Expert);
    if (record.unlockStore > 0)
        UnlockStore(record.unlockStore);
    SetSavedGame(record.savedGame ? &*record.savedGame : nullptr);
    std::optional<int> rank;
    if (record.runEnded)
        rank = AddHighScore(record.storeNumber, record.finalScore);
    SaveProfiles();
    return rank;
}

std::vector<std::string> RecordEvent(PlayEvent event)
{
    Profile* profile = Selected();
    if (profile == nullptr)
        return {};
    if (event.kind == PlayEventKind::DayEnded)
    {
        int expertDays = event.result == kEventDayExpert ? 1 : 0;
        const auto store = profile->levelStates.find(event.storeNumber);
        if (store != profile->levelStates.end())
            for (const auto& [level, state] : store->second)
                if (state == kLevelPassedExpert && (level != event.levelIndex || expertDays == 0))
                    expertDays += 1;
        event.storeExpertDays = expertDays;
    }
    std::vector<std::string> earned = RecordPlayEvent(profile->stats, profile->achievements, event);
    if (!earned.empty() && event.kind != PlayEventKind::DayEnded)
        SaveProfiles();
    return earned;
}

void ResetHighScores()
{
    const size_t tables = gProfiles.highScores.size();
    gProfiles.highScores.assign(tables, DefaultHighScoreTable());
    gProfiles.keptHighScores.assign(gProfiles.keptHighScores.size(), DefaultHighScoreTable());
    FillDefaultHighScores(gProfiles);
    SaveProfiles();
}

void FillDefaultHighScores(ProfileSet& set)
{
    while (static_cast<int>(set.highScores.size()) < PlayableStoreCount())
        set.highScores.push_back(DefaultHighScoreTable());
}

void FreeProfiles()
{
    gProfiles = ProfileSet{};
    gProfilePath.clear();
    gKeepBackup = true;
}
