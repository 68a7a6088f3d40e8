// The profiles file's text form and its crash-safe replacement. The order of the steps in WriteProfileFile is what
// makes a crash harmless: the new text is complete and on disk before any name changes, the backup is a second name
// for the old file made before the old file loses its name, and the rename is the single step that switches.
#include "game/profile/ProfileFile.h"

#include "framework/log/Log.h"
#include "framework/platform/SafeOutput.h"
#include "framework/xml/XMLParser.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

void AppendNumber(std::string& out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string SystemError(const std::string& file, int error)
{
    return file + ": " + std::strerror(error);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes renames in the folder durable. A failure leaves correct files behind, so it is not reported.
void SyncFolder(const std::string& path)
{
    const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        fsync(fd);
        close(fd);
    }
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t written = write(fd, data, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
        {
            errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Writes bytes to a new file at path (which must not exist), synced before it is closed.
bool WriteNewFile(const std::string& path, const char* data, size_t size, std::string& errorText)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
    {
        errorText = SystemError(path, errno);
        return false;
    }
    bool ok = WriteAll(fd, data, size) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok)
    {
        ok = false;
        error = errno;
    }
    if (!ok)
    {
        errorText = SystemError(path, error);
        unlink(path.c_str());
    }
    return ok;
}

// Gives the current file a second name "<path>.bak" before the save replaces it. Where the file system has no hard
// links the old bytes are copied instead.
void KeepBackup(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return; // nothing to keep (or a link we do not follow)
    const std::string backup = path + ".bak";
    const std::string backupTemp = path + ".bak.tmp";
    unlink(backupTemp.c_str());
    bool made = link(path.c_str(), backupTemp.c_str()) == 0;
    std::string errorText;
    if (!made)
    {
        std::string bytes;
        made = ReadProfileFile(path, bytes, errorText) == ProfileFileRead::Read &&
               WriteNewFile(backupTemp, bytes.data(), bytes.size(), errorText);
    }
    if (made)
    {
        chmod(backupTemp.c_str(), 0600); // a file left by an older copy may have been readable by everyone
        if (rename(backupTemp.c_str(), backup.c_str()) == 0)
            return;
        errorText = SystemError(backup, errno);
        unlink(backupTemp.c_str());
    }
    // The save goes on: the old file keeps its name until the new one is complete, so nothing is at risk yet.
    Zestra::LogFormat("profiles: no backup was made (%s)\n", errorText.c_str());
}

// Today's level states over the kept ones: a store and level the data knows again is played afresh from here on.
std::map<int, std::map<int, int>> MergedLevelStates(const Profile& profile)
{
    if (profile.keptLevelStates.empty())
        return profile.levelStates;
    std::map<int, std::map<int, int>> merged = profile.keptLevelStates;
    for (const auto& [store, levels] : profile.levelStates)
    {
        std::map<int, int>& into = merged[store];
        for (const auto& [level, state] : levels)
            into[level] = state;
    }
    return merged;
}

// A running total of money, kept to the cent: totals grow beyond what the file's float money keeps exactly.
void AppendCents(std::string& out, double value)
{
    if (!std::isfinite(value) || value < 0.0)
        value = 0.0;
    const long long cents = std::llround(std::min(value, 1e15) * 100.0);
    AppendNumber(out, cents / 100);
    out += '.';
    out += char('0' + cents % 100 / 10);
    out += char('0' + cents % 10);
}

void AppendStatistics(std::string& out, const PlayerStats& stats)
{
    const std::pair<const char*, long long> counts[] = {
        {"served", stats.customersServed},   {"lost", stats.customersLost},
        {"days", stats.daysPlayed},          {"passed", stats.daysPassed},
        {"expert", stats.daysExpert},        {"time", stats.timeTicks},
        {"drinks", stats.drinksGiven},       {"upgrades", stats.upgradesBought},
        {"memory_perfect", stats.perfectMemoryStages}, {"expert_streak", stats.expertStreak},
        {"stores_done", stats.storesCompleted},
    };
    out += "<statistics";
    for (const auto& [name, value] : counts)
    {
        out += ' ';
        out += name;
        out += "=\"";
        AppendNumber(out, value);
        out += '"';
    }
    for (const auto& [name, value] : {std::pair<const char*, double>{"money", stats.money}, {"tips", stats.tips},
                                      {"memory_best", stats.memoryBest}})
    {
        out += ' ';
        out += name;
        out += "=\"";
        AppendCents(out, value);
        out += '"';
    }
    out += "/>";
    for (const auto& [store, money] : stats.bestDay)
    {
        out += "<best-day store=\"";
        AppendNumber(out, store);
        out += "\" money=\"";
        AppendCents(out, money);
        out += "\"/>";
    }
}

} // namespace

std::string FormatFileMoney(double value)
{
    // Narrowing a double beyond the float range is undefined, and "inf" would not read back as a number.
    if (!std::isfinite(value))
        value = 0.0;
    value = std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX));
    const double narrowed = static_cast<float>(value);
    char buffer[64];
#if defined(__cpp_lib_to_chars)
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, narrowed, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
#else
    // A library without the floating-point to_chars (the browser build's) has only the "C" locale anyway.
    const int length = std::snprintf(buffer, sizeof buffer, "%.2f", narrowed);
    return std::string(buffer, size_t(std::clamp(length, 0, int(sizeof buffer) - 1)));
#endif
}

std::string FormatProfiles(const ProfileSet& set)
{
    std::string out;
    out.reserve(4096);
    // A selected slot that is free means nobody, and is written so; the reader would reject it.
    const bool selectedUsed = set.selected >= 0 && set.selected < kProfileSlots &&
                              !set.profiles[static_cast<size_t>(set.selected)].IsFree();
    out += "<profiles selected=\"";
    AppendNumber(out, selectedUsed ? set.selected : -1);
    out += "\">";
    for (const Profile& profile : set.profiles)
    {
        out += "<profile name=\"";
        out += Zestra::EncodeEntities(profile.name);
        out += "\" unlocked_stores=\"";
        AppendNumber(out, std::max(profile.unlockedStores, profile.keptUnlockedStores));
        out += "\">";
        for (const auto& [store, levels] : MergedLevelStates(profile))
        {
            out += "<store number=\"";
            AppendNumber(out, store);
            out += "\">";
            for (const auto& [level, state] : levels)
            {
                out += "<level number=\"";
                AppendNumber(out, level);
                out += "\" state=\"";
                AppendNumber(out, state);
                out += "\"/>";
            }
            out += "</store>";
        }
        for (const std::string& hint : profile.hintsSeen)
        {
            out += "<hint name=\"";
            out += Zestra::EncodeEntities(hint);
            out += "\"/>";
        }
        if (const std::optional<GameState>& run = profile.savedGame)
        {
            out += "<state store=\"";
            AppendNumber(out, run->storeNumber);
            out += "\" level=\"";
            AppendNumber(out, run->levelIndex);
            out += "\" changing_rooms=\"";
            AppendNumber(out, run->changingRooms);
            out += "\" merchant_level=\"";
            AppendNumber(out, run->merchantLevel);
            out += "\" drinks=\"";
            AppendNumber(out, run->drinks);
            out += "\" goodie_rack=\"";
            AppendNumber(out, run->goodieRack);
            out += "\" score=\"";
            out += FormatFileMoney(run->score);
            out += "\" cash=\"";
            out += FormatFileMoney(run->cash);
            out += "\" lives=\"";
            AppendNumber(out, run->lives);
            out += "\">";
            for (int level : run->furnitureLevels)
            {
                out += "<furniture level=\"";
                AppendNumber(out, level);
                out += "\"/>";
            }
            out += "</state>";
        }
        else if (!profile.keptSavedGame.empty())
            out += profile.keptSavedGame + "</state>";
        // A player who has not played yet is written as before statistics existed; an old reader leaves these
        // elements out.
        if (!profile.IsFree())
        {
            if (!(profile.stats == PlayerStats{}))
                AppendStatistics(out, profile.stats);
            for (const auto& [id, day] : profile.achievements)
            {
                out += "<achievement id=\"";
                out += Zestra::EncodeEntities(id);
                out += "\" earned=\"";
                AppendNumber(out, day);
                out += "\"/>";
            }
            for (const std::string& kept : profile.keptAchievements)
                out += kept;
        }
        out += "</profile>";
    }
    for (const std::vector<HighScoreTable>* tables : {&set.highScores, &set.keptHighScores})
        for (const HighScoreTable& table : *tables)
        {
            out += "<highscore-store>";
            for (const HighScoreEntry& entry : table.entries)
            {
                out += "<highscore name=\"";
                out += Zestra::EncodeEntities(entry.name);
                out += "\" score=\"";
                AppendNumber(out, entry.score);
                out += "\"/>";
            }
            out += "</highscore-store>";
        }
    out += "</profiles>";
    return out;
}

ProfileFileRead ReadProfileFile(const std::string& path, std::string& bytes, std::string& errorText)
{
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        if (errno == ENOENT || errno == ENOTDIR)
            return ProfileFileRead::Missing;
        errorText = std::strerror(errno);
        return ProfileFileRead::Failed;
    }
    struct stat st;
    ProfileFileRead result = ProfileFileRead::Read;
    if (fstat(fd, &st) != 0)
    {
        errorText = std::strerror(errno);
        result = ProfileFileRead::Failed;
    }
    else if (!S_ISREG(st.st_mode))
    {
        errorText = "not a regular file";
        result = ProfileFileRead::Failed;
    }
    else if (static_cast<unsigned long long>(st.st_size) > kMaxProfileFileBytes)
    {
        errorText = "larger than " + std::to_string(kMaxProfileFileBytes / 1024) + " KiB";
        result = ProfileFileRead::Failed;
    }
    else
    {
        // The size is only a hint: a file growing while it is read still stops at the limit.
        char buffer[16384];
        for (;;)
        {
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
            {
                errorText = std::strerror(errno);
                result = ProfileFileRead::Failed;
                break;
            }
            if (got == 0)
                break;
            bytes.append(buffer, static_cast<size_t>(got));
            if (bytes.size() > kMaxProfileFileBytes)
            {
                errorText = "larger than " + std::to_string(kMaxProfileFileBytes / 1024) + " KiB";
                result = ProfileFileRead::Failed;
                break;
            }
        }
    }
    close(fd);
    if (result != ProfileFileRead::Read)
        bytes.clear();
    return result;
}

bool WriteProfileFile(const std::string& path, const std::string& bytes, bool keepBackup, std::string& errorText)
{
    // A profiles file that is a link (kept on another disk, say) is written where it points, and its backup beside
    // the real file.
    Zestra::SafeOutput out;
    if (!out.Open(path, 0600, errorText, false))
        return false;
    out.Write(bytes);
    if (!out.Finish(errorText))
        return false;
    if (keepBackup)
        KeepBackup(out.Target());
    return out.Replace(errorText);
}

bool SetProfileFileAside(const std::string& path, std::string& errorText)
{
    const std::string aside = path + ".bad";
    if (rename(path.c_str(), aside.c_str()) != 0)
    {
        errorText = SystemError(aside, errno);
        return false;
    }
    SyncFolder(path);
    return true;
}
