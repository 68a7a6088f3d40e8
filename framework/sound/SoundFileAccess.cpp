// The program's file access for sounds: files open through the archive-aware functions and are wrapped as byte
// sources with their size measured once at open.
#include "framework/sound/SoundFileAccess.h"

#include "framework/pak/PakInterface.h"
#include "framework/sound/ByteSource.h"

#include <algorithm>

namespace Zestra
{

namespace
{

// A file opened through the archive-aware functions; the size is measured once at open.
class ArchiveByteSource final : public ByteSource
{
public:
    explicit ArchiveByteSource(ArchiveFilePtr file) : mFile(std::move(file))
    {
        ArchiveFileSeek(mFile.get(), 0, 2);
        mSize = std::max<int64_t>(0, ArchiveFileTell(mFile.get()));
        ArchiveFileSeek(mFile.get(), 0, 0);
    }

    size_t Read(void* buffer, size_t size) override
    {
        if (size == 0 || mPos >= mSize)
            return 0;
        size_t n = ArchiveFileRead(buffer, 1, size, mFile.get());
        mPos += int64_t(n);
        return n;
    }

    bool Seek(int64_t offset, int origin) override
    {
        int64_t base = origin == 0 ? 0 : origin == 1 ? mPos : mSize;
        int64_t target;
        if (__builtin_add_overflow(base, offset, &target))
            target = offset < 0 ? 0 : mSize;
        bool inside = target >= 0 && target <= mSize;
        target = std::clamp<int64_t>(target, 0, mSize);
        ArchiveFileSeek(mFile.get(), target, 0);
        mPos = target;
        return inside;
    }

    int64_t Tell() override { return mPos; }
    int64_t Size() override { return mSize; }

private:
    ArchiveFilePtr mFile;
    int64_t mSize = 0;
    int64_t mPos = 0;
};

class ArchiveSoundFileAccess final : public SoundFileAccess
{
public:
    std::unique_ptr<ByteSource> Open(const std::string& path) override
    {
        ArchiveFilePtr file(ArchiveFileOpen(path, "rb"));
        if (!file)
            return nullptr;
        return std::make_unique<ArchiveByteSource>(std::move(file));
    }

    uint64_t FileTime(const std::string& path) override
    {
        uint64_t time = 0;
        return ArchiveFileTime(path, time) ? time : 0;
    }
};

} // namespace

bool SoundFileAccess::ReadAll(const std::string& path, std::vector<uint8_t>& out)
{
    std::unique_ptr<ByteSource> source = Open(path);
    if (!source)
        return false;
    std::vector<uint8_t> data(static_cast<size_t>(source->Size()));
    if (source->Read(data.data(), data.size()) != data.size())
        return false;
    out = std::move(data);
    return true;
}

std::shared_ptr<SoundFileAccess> MakeArchiveSoundFileAccess()
{
    return std::make_shared<ArchiveSoundFileAccess>();
}

} // namespace Zestra
