// Growable byte buffer with bit-level writing and reading (recorded input, crash reports). Multi-byte values are
// little-endian, bit fields least significant bit first; reads past the data give zeros and never leave the vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zestra
{

class Buffer
{
public:
    void PutByte(uint8_t b);
    // The low count bits of value (count 0..32), least significant first.
    void PutBits(uint32_t value, int count);
    void PutBool(bool value);
    void PutInt16(int16_t value);
    void PutInt32(int32_t value);
    // A 16-bit length, then the bytes; longer strings are cut to 32767 bytes so they read back.
    void PutString(const std::string& text);
    void PutBytes(const void* data, size_t count);

    // 0 without moving when no whole byte is left.
    uint8_t TakeByte();
    // Up to 32 bits, stopping at the end of data; with isSigned a last bit of 1 fills the higher bits.
    int32_t TakeBits(int count, bool isSigned = false);
    bool TakeBool();
    int16_t TakeInt16();
    int32_t TakeInt32();
    std::string TakeString();
    void TakeBytes(void* destination, size_t count);

    void Assign(const void* data, size_t count);
    void Reset();
    void Rewind() { mReadBitPos = 0; }

    const uint8_t* Bytes() const { return mData.empty() ? nullptr : mData.data(); }
    size_t ByteCount() const { return size_t((mDataBitSize + 7) / 8); }
    uint64_t BitCount() const { return mDataBitSize; }
    bool Exhausted() const { return mReadBitPos >= mDataBitSize; }

private:
    void PutBit(uint32_t bit);
    int TakeBit(); // -1 at the end of data

    std::vector<uint8_t> mData;
    uint64_t mDataBitSize = 0;
    uint64_t mReadBitPos = 0;
    uint64_t mWriteBitPos = 0;
};

} // namespace Zestra
