// The archive's byte layout, shared by the reader and the velmora-pak tool: every byte of the file is stored XOR
// kPakKey; after the key is removed the file is a header, a table of records and the entries' data in table order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zestra
{

inline constexpr uint8_t kPakKey = 0xF7;
inline constexpr uint32_t kPakMagic = 0xBAC04AC0;
inline constexpr uint32_t kPakVersion = 0;
inline constexpr uint8_t kPakEndOfTable = 0x80; // a flags byte with this bit ends the table
inline constexpr size_t kPakHeaderSize = 8;
inline constexpr size_t kPakMaxNameLength = 255;

// One table record as read from or written to an archive.
struct PakTableEntry
{
    std::string mName;      // as stored, "\\" separators
    uint64_t mFileTime = 0; // Windows file time
    uint64_t mOffset = 0;   // from the start of the file, already including the table's end
    uint64_t mSize = 0;
};

// Result of reading a table. A fatal problem (magic, version, truncated table, data past the end) fails the whole
// archive; a record with an unusable name (empty, a ".." part) is dropped with a warning and the others stay.
struct PakTable
{
    std::vector<PakTableEntry> mEntries;
    uint64_t mTableEnd = 0;
    bool mFailed = false;
    std::string mError;
    std::vector<std::string> mWarnings;
};

// Reads the table of an archive held in memory still carrying the key (a mapped file). Never reads past size.
PakTable ReadPakTable(const uint8_t* data, size_t size);

// True when a stored name is usable: not empty and no ".." component.
bool IsSafePakName(const std::string& name);

// Applies the key in place (it is its own inverse).
void PakXor(uint8_t* data, size_t size);

// Builds a complete archive in memory from names (any separators; stored with "\\") and contents.
struct PakSourceFile
{
    std::string mName;
    uint64_t mFileTime = 0;
    std::vector<uint8_t> mData;
};
bool BuildPak(const std::vector<PakSourceFile>& files, std::vector<uint8_t>& out, std::string& error);

// Unix seconds to a Windows file time and back.
uint64_t UnixToFileTime(int64_t unixSeconds);
int64_t FileTimeToUnix(uint64_t fileTime);

} // namespace Zestra
