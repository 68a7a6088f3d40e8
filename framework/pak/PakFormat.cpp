// Table reading and archive building for the one archive format; every size is checked in 64 bits against the
// bytes actually present, so a damaged archive can only be refused, never read past its end.
#include "framework/pak/PakFormat.h"

#include <cstring>

namespace Zestra
{

namespace
{

// Reads keyed little-endian values from memory, failing instead of running past the end.
class KeyedCursor
{
public:
    KeyedCursor(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    bool Byte(uint8_t& value)
    {
        if (mPos >= mSize)
            return false;
        value = uint8_t(mData[mPos++] ^ kPakKey);
        return true;
    }
    bool UInt(uint64_t& value, int bytes)
    {
        if (mSize - mPos < size_t(bytes) || mPos > mSize)
            return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint64_t(uint8_t(mData[mPos + size_t(i)] ^ kPakKey)) << (8 * i);
        mPos += size_t(bytes);
        return true;
    }
    bool Text(std::string& text, size_t length)
    {
        if (mSize - mPos < length)
            return false;
        text.resize(length);
        for (size_t i = 0; i < length; ++i)
            text[i] = char(mData[mPos + i] ^ kPakKey);
        mPos += length;
        return true;
    }
    size_t Pos() const { return mPos; }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

void PutUInt(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t((value >> (8 * i)) & 0xFF));
}

} // namespace

bool IsSafePakName(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    if (name[0] == '\\' || name[0] == '/')
        return false;
    size_t start = 0;
    while (start <= name.size())
    {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        std::string part = name.substr(start, end - start);
        if (part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

PakTable ReadPakTable(const uint8_t* data, size_t size)
{
    PakTable table;
    KeyedCursor cursor(data, size);
    uint64_t magic = 0;
    uint64_t version = 0;
    if (!cursor.UInt(magic, 4) || !cursor.UInt(version, 4))
    {
        table.mFailed = true;
        table.mError = "file too short for an archive header";
        return table;
    }
    if (magic != kPakMagic)
    {
        table.mFailed = true;
        table.mError = "not an archive (wrong magic number)";
        return table;
    }
    if (version != kPakVersion)
    {
        table.mFailed = true;
        table.mError = "unsupported archive version " + std::to_string(version);
        return table;
    }

    std::vector<PakTableEntry> records;
    std::vector<bool> usable;
    uint64_t running = 0;
    for (;;)
    {
        uint8_t flags = 0;
        if (!cursor.Byte(flags))
        {
            table.mFailed = true;
            table.mError = "entry table is truncated (no end marker)";
            return table;
        }
        if (flags & kPakEndOfTable)
            break;
        uint8_t nameLength = 0;
        PakTableEntry entry;
        uint64_t entrySize = 0;
        if (!cursor.Byte(nameLength) || !cursor.Text(entry.mName, nameLength) || !cursor.UInt(entrySize, 4) ||
            !cursor.UInt(entry.mFileTime, 8))
        {
            table.mFailed = true;
            table.mError = "entry table is truncated in record " + std::to_string(records.size() + 1);
            return table;
        }
        entry.mSize = entrySize;
        entry.mOffset = running;
        running += entrySize;
        records.push_back(std::move(entry));
    }

    table.mTableEnd = cursor.Pos();
    for (size_t i = 0; i < records.size(); ++i)
    {
        PakTableEntry& entry = records[i];
        entry.mOffset += table.mTableEnd;
        if (entry.mOffset > size || entry.mSize > size - entry.mOffset)
        {
            table.mFailed = true;
            table.mError = "entry '" + entry.mName + "' lies past the end of the file (" +
                           std::to_string(entry.mOffset + entry.mSize) + " > " + std::to_string(size) + ")";
            table.mEntries.clear();
            return table;
        }
        if (!IsSafePakName(entry.mName))
        {
            table.mWarnings.push_back("record " + std::to_string(i + 1) + " has an unusable name '" + entry.mName +
                                      "' and is skipped");
            continue;
        }
        table.mEntries.push_back(std::move(entry));
    }
    return table;
}

void PakXor(uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        data[i] ^= kPakKey;
}

bool BuildPak(const std::vector<PakSourceFile>& files, std::vector<uint8_t>& out, std::string& error)
{
    out.clear();
    PutUInt(out, kPakMagic, 4);
    PutUInt(out, kPakVersion, 4);
    for (const PakSourceFile& file : files)
    {
        std::string name = file.mName;
        for (char& c : name)
        {
            if (c == '/')
                c = '\\';
        }
        if (name.size() > kPakMaxNameLength)
        {
            error = "name longer than 255 bytes: " + name;
            return false;
        }
        if (!IsSafePakName(name))
        {
            error = "unusable name: '" + name + "'";
            return false;
        }
        if (file.mData.size() > 0xFFFFFFFFull)
        {
            error = "file larger than 4 GiB: " + name;
            return false;
        }
        out.push_back(0);
        out.push_back(uint8_t(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        PutUInt(out, file.mData.size(), 4);
        PutUInt(out, file.mFileTime, 8);
    }
    out.push_back(kPakEndOfTable);
    for (const PakSourceFile& file : files)
        out.insert(out.end(), file.mData.begin(), file.mData.end());
    PakXor(out.data(), out.size());
    return true;
}

// Windows file times count 100 ns steps from 1601-01-01; 11644473600 s separate that from the Unix epoch.
uint64_t UnixToFileTime(int64_t unixSeconds)
{
    int64_t seconds = unixSeconds + 11644473600LL;
    if (seconds < 0)
        return 0;
    return uint64_t(seconds) * 10000000ULL;
}

int64_t FileTimeToUnix(uint64_t fileTime)
{
    return int64_t(fileTime / 10000000ULL) - 11644473600LL;
}

} // namespace Zestra
