// The profiles file on disk: its one-line text form, a bounded whole-file read, and a crash-safe replacement that
// keeps the previous good file as "<file>.bak". A crash or a failed write at any moment leaves the file holding
// either its old or its new complete content.
#pragma once

#include "game/profile/Profile.h"

#include <cstddef>
#include <string>

// A real profiles file is a few kilobytes; anything larger is not one of ours and is treated as damaged.
constexpr size_t kMaxProfileFileBytes = 1 << 20;

// The whole set as one line, in the layout every copy of the game writes: the eight slots in order (free ones with
// an empty name), their level states by increasing store and level, the saved run, then the high-score tables.
// Names are entity-escaped; numbers never depend on the process locale.
std::string FormatProfiles(const ProfileSet& set);

// A money value as the file stores it: narrowed to a 32-bit float, then fixed-point with two decimals.
std::string FormatFileMoney(double value);

enum class ProfileFileRead
{
    Missing, // no such file (or no such folder)
    Read,    // bytes hold the whole file
    Failed,  // exists but cannot be used: errorText says why
};

// Reads the whole file; a file larger than kMaxProfileFileBytes or that is not a regular file fails.
ProfileFileRead ReadProfileFile(const std::string& path, std::string& bytes, std::string& errorText);

// Replaces path with bytes: writes "<path>.tmp" in the same folder (mode 0600), syncs it, keeps the current file as
// "<path>.bak" when keepBackup is set (a hard link, or a synced copy where links are not possible), renames the
// temporary file over path and syncs the folder. On failure the temporary file is removed, path is untouched, and
// errorText names the file and the system's reason.
bool WriteProfileFile(const std::string& path, const std::string& bytes, bool keepBackup, std::string& errorText);

// Moves a damaged file out of the way as "<path>.bad" (replacing an older one).
bool SetProfileFileAside(const std::string& path, std::string& errorText);
