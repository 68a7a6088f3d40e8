// Linux folder conventions and small file helpers shared by the platforms: XDG folders, folder creation and
// atomic file replacement. No SDL here, so headless builds and tests use the same rules as the real program.
#pragma once

#include <string>
#include <vector>

namespace Zestra
{

// $XDG_CONFIG_HOME, or $HOME/.config; relative XDG values are ignored, as the XDG rules ask. No trailing '/'.
std::string ConfigRoot();
// $XDG_DATA_HOME, or $HOME/.local/share. No trailing '/'.
std::string DataRoot();
// $XDG_STATE_HOME, or $HOME/.local/state (crash reports). No trailing '/'.
std::string StateRoot();
// $XDG_RUNTIME_DIR when it is an absolute path, else "/tmp/velmora-<uid>" (created with mode 0700); "" when that
// folder exists but is not ours alone.
std::string RuntimeFolder();

// Creates folder and its missing parents; new folders get mode. false with errorText on failure.
bool MakeFolders(const std::string& folder, unsigned mode, std::string& errorText);

// Replaces path with contents so that a crash leaves either the old or the new file (WriteWholeFile of
// SafeOutput.h: a link is written through, a folder or device refused, a new file made private).
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& errorText);

// Makes folder (mode 0700) when it is missing and proves that files can be made in it, by making and removing one.
// False with errorText for a file, a folder without write access, a name too long, or a system folder like /proc.
bool CheckWritableFolder(const std::string& folder, std::string& errorText);

// The folder holding the running program, ending in '/' ("./" when it cannot be found).
std::string ProgramFolder();

// Where a program's data is: the first of programFolder and programFolder/candidate (each candidate a relative
// path, tried in order) that holds one of the markers, ending in '/'; programFolder itself when none does. A build
// tree keeps program and data together; a system package puts them apart (/usr/games and /usr/share/games/...).
std::string FindDataFolder(const std::string& programFolder, const std::vector<std::string>& candidates,
                           const std::vector<std::string>& markers);

} // namespace Zestra
