// Random-access byte input for the decoders: an archive-aware file in the program, a memory block in tests,
// fuzzers and streamed music. Positions are 64-bit and never move outside 0..Size().
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Zestra
{

class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Copies up to size bytes; returns how many were copied (short at the end).
    virtual size_t Read(void* buffer, size_t size) = 0;
    // origin as fseek: 0 start, 1 current, 2 end. The position is clamped to 0..Size(); false when it had to be.
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual int64_t Tell() = 0;
    virtual int64_t Size() = 0;
};

// Reads a block it does not own; the block must outlive the source.
class MemoryByteSource : public ByteSource
{
public:
    MemoryByteSource(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    explicit MemoryByteSource(const std::vector<uint8_t>& data) : mData(data.data()), mSize(data.size()) {}

    size_t Read(void* buffer, size_t size) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override { return int64_t(mPos); }
    int64_t Size() override { return int64_t(mSize); }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

} // namespace Zestra
