// The memory-block source: reads and seeks are clamped to the block, so a decoder fed corrupt sizes can never
// step outside it.
#include "framework/sound/ByteSource.h"

#include <cstring>

namespace Zestra
{

size_t MemoryByteSource::Read(void* buffer, size_t size)
{
    size_t n = mSize - mPos < size ? mSize - mPos : size;
    if (n > 0)
        std::memcpy(buffer, mData + mPos, n);
    mPos += n;
    return n;
}

bool MemoryByteSource::Seek(int64_t offset, int origin)
{
    int64_t base = origin == 0 ? 0 : origin == 1 ? int64_t(mPos) : int64_t(mSize);
    // Offsets near the int64 limits come from corrupt headers; saturate instead of overflowing.
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : int64_t(mSize);
    bool inside = target >= 0 && target <= int64_t(mSize);
    if (target < 0)
        target = 0;
    if (target > int64_t(mSize))
        target = int64_t(mSize);
    mPos = size_t(target);
    return inside;
}

} // namespace Zestra
