// Helpers for the archive tests: archives written byte by byte, so broken layouts can be produced on purpose, and
// small file helpers around the shared scratch folder.
#pragma once

#include "framework/pak/PakFormat.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace PakTest
{

using TestSupport::ReadFile;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

// An archive's plain (unkeyed) bytes, built field by field.
class RawPak
{
public:
    RawPak& Header(uint32_t magic = Zestra::kPakMagic, uint32_t version = Zestra::kPakVersion)
    {
        Put(magic, 4);
        Put(version, 4);
        return *this;
    }
    RawPak& Record(const std::string& name, uint32_t size, uint64_t fileTime = 0)
    {
        mBytes.push_back(0);
        mBytes.push_back(uint8_t(name.size()));
        mBytes.insert(mBytes.end(), name.begin(), name.end());
        Put(size, 4);
        Put(fileTime, 8);
        return *this;
    }
    RawPak& EndTable()
    {
        mBytes.push_back(Zestra::kPakEndOfTable);
        return *this;
    }
    RawPak& Data(const std::string& bytes)
    {
        mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    RawPak& Cut(size_t size)
    {
        mBytes.resize(size);
        return *this;
    }
    size_t Size() const { return mBytes.size(); }
    std::vector<uint8_t> Keyed() const
    {
        std::vector<uint8_t> keyed = mBytes;
        Zestra::PakXor(keyed.data(), keyed.size());
        return keyed;
    }
    void WriteTo(const std::string& path) const
    {
        std::vector<uint8_t> keyed = Keyed();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(keyed.data()), std::streamsize(keyed.size()));
    }

private:
    void Put(uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            mBytes.push_back(uint8_t(value >> (8 * i)));
    }
    std::vector<uint8_t> mBytes;
};

// A well-formed archive of the given names and contents, written to path.
inline void WritePak(const std::string& path, const std::vector<std::pair<std::string, std::string>>& files)
{
    RawPak pak;
    pak.Header();
    for (const auto& [name, content] : files)
        pak.Record(name, uint32_t(content.size()), 0x01D0000000000000ull);
    pak.EndTable();
    for (const auto& file : files)
        pak.Data(file.second);
    pak.WriteTo(path);
}

} // namespace PakTest
