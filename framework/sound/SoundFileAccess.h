// How the sound code reaches files: through the archive-aware file functions, so a sound may be a loose file or
// an entry of the mounted archive. Tests may substitute their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class ByteSource;

class SoundFileAccess
{
public:
    virtual ~SoundFileAccess() = default;
    // null when the file does not exist or cannot be opened.
    virtual std::unique_ptr<ByteSource> Open(const std::string& path) = 0;
    // Last-write time in Windows file time units (100 ns since 1601); for an archive entry, the entry's time.
    // 0 when the file cannot be found.
    virtual uint64_t FileTime(const std::string& path) = 0;
    // Reads a whole file; false when it cannot be opened or read completely.
    bool ReadAll(const std::string& path, std::vector<uint8_t>& out);
};

// The archive-aware implementation the program uses.
std::shared_ptr<SoundFileAccess> MakeArchiveSoundFileAccess();

} // namespace Zestra
