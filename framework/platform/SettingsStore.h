// The per-user settings store: typed values (32-bit integers, strings, booleans, raw data) by value name below one
// registry-style key. A value name may carry sub-keys: everything before its last '\' names the sub-key, the rest
// the value. Every operation fails while the key is empty. Reads report found / not found and never change the
// output on "not found", so callers keep their defaults.
//
// The file-backed store keeps one human-readable file per key, "settings.ini" in
//     <config root>/<key with '\' turned into '/'>/
// where the config root is $XDG_CONFIG_HOME (default ~/.config), so the key "Kestrin\Velmora Row" lives in
// ~/.config/Kestrin/Velmora Row/settings.ini. The file format:
//
//     # Velmora Row settings                 lines starting with '#' or ';' are comments, blank lines are ignored
//     MusicVolume = int 85                   name = type value, types: int, bool, str, data
//     ScreenMode = bool false                bool: true / false
//     PlayerName = str "Anna \x22A\x22"      str: double-quoted; bytes outside 0x20..0x7e and " \ as \xNN
//     Blob = data 00ff10                     data: hexadecimal bytes, two digits each (empty allowed)
//     [Profiles/Slot 1]                      the sub-key "Profiles\Slot 1"; the values below it belong to it
//     Score = int -12
//
// Names (and the parts of sub-key paths) are escaped like strings, without quotes, where they hold '=', '[', ']',
// '#', ';', '/', '"', '\', blanks at either end, or bytes outside 0x20..0x7e. Each write goes to disk at once
// (temporary file, fflush + fsync, rename), so a crash never leaves a half-written file; BeginBatch / EndBatch group
// many writes into one save. An unreadable or corrupt file means an empty store (defaults) and one warning on stderr
// naming file and line; the bad file is kept beside the new one as "settings.ini.bad" on the next save instead of being
// lost.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

namespace Zestra
{

class SettingsStore
{
public:
    // An in-memory store for headless runs and tests: behaves the same, touches no file.
    static std::unique_ptr<SettingsStore> CreateInMemory();
    // A file-backed store below configRoot; an empty configRoot means $XDG_CONFIG_HOME or ~/.config.
    static std::unique_ptr<SettingsStore> CreateFileBacked(const std::string& configRoot = std::string());

    virtual ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Selects the key (e.g. "Kestrin\\Velmora Row"; a leading "SOFTWARE\\" is ignored) and loads its file.
    // An empty key makes every operation fail.
    void SetRegistryKey(const std::string& key);
    std::string RegistryKey() const;

    bool WriteInteger(const std::string& name, int32_t value);
    bool WriteBoolean(const std::string& name, bool value);
    bool WriteString(const std::string& name, const std::string& value);
    bool WriteData(const std::string& name, const std::vector<uint8_t>& data);

    // Integers and booleans are both 32-bit words: either read as the other (booleans as 0/1, integers as != 0).
    // A value of another type reads as not found.
    bool ReadInteger(const std::string& name, int32_t& value) const;
    bool ReadBoolean(const std::string& name, bool& value) const;
    bool ReadString(const std::string& name, std::string& value) const;
    bool ReadData(const std::string& name, std::vector<uint8_t>& data) const;

    // Removes one value; false when the key is empty or the value did not exist.
    bool Erase(const std::string& name);

    // Groups writes: the file is saved once, when the outermost batch ends (if anything changed).
    void BeginBatch();
    bool EndBatch();

    // Writes the file now if anything changed since the last save; true when the store is in sync with the disk.
    bool Flush();

    // The path of the settings file of the current key ("" for the in-memory store or an empty key).
    std::string FilePath() const;

    // The first load or save problem of this store ("file:line: what"); loading problems reset on SetRegistryKey.
    bool HasFailed() const;
    std::string ErrorText() const;

    // Text form of the whole store in the file format above (used for saving; handy for inspection in tests).
    std::string ToText() const;
    // Parses text in the file format; on failure leaves the store empty, sets errorText ("file:line: what") and
    // returns false. file names the source in the error text.
    bool FromText(const std::string& text, const std::string& file, std::string& errorText);

protected:
    explicit SettingsStore(std::string configRoot, bool fileBacked);

private:
    using Value = std::variant<int32_t, bool, std::string, std::vector<uint8_t>>;
    // Names compare without regard to ASCII case, as registry names do.
    struct NameLess
    {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    // section ("" for the key itself, else the sub-key path) -> value name -> value
    using Section = std::map<std::string, Value, NameLess>;

    bool Write(const std::string& name, Value value);
    const Value* Find(const std::string& name) const;
    bool Changed();
    bool Save();
    void Load();
    void Warn(const std::string& text);

    std::string mConfigRoot;
    bool mFileBacked = false;
    std::string mKey;
    std::map<std::string, Section, NameLess> mSections;
    int mBatchDepth = 0;
    bool mDirty = false;
    bool mKeepBadFile = false; // the loaded file was corrupt: move it aside before the first save
    std::string mErrorText;
    // The loading thread may read settings while the main thread writes them, as the registry allowed.
    mutable std::recursive_mutex mMutex;
};

} // namespace Zestra
