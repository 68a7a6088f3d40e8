// Bits are stored least significant first within each byte; the byte vector always covers the write position, so
// writes never index past it and reads check the data size first.
#include "framework/xml/Buffer.h"

#include <cstring>

namespace Zestra
{

void Buffer::PutBit(uint32_t bit)
{
    size_t byteIndex = size_t(mWriteBitPos / 8);
    if (mWriteBitPos % 8 == 0 && byteIndex >= mData.size())
        mData.push_back(0);
    if (byteIndex >= mData.size())
        mData.resize(byteIndex + 1, 0);
    uint8_t mask = uint8_t(1u << (mWriteBitPos % 8));
    if (bit & 1)
        mData[byteIndex] |= mask;
    else
        mData[byteIndex] &= uint8_t(~mask);
    ++mWriteBitPos;
    if (mWriteBitPos > mDataBitSize)
        mDataBitSize = mWriteBitPos;
}

void Buffer::PutByte(uint8_t b)
{
    if (mWriteBitPos % 8 == 0)
    {
        size_t byteIndex = size_t(mWriteBitPos / 8);
        if (byteIndex >= mData.size())
            mData.resize(byteIndex + 1, 0);
        mData[byteIndex] = b;
        mWriteBitPos += 8;
        if (mWriteBitPos > mDataBitSize)
            mDataBitSize = mWriteBitPos;
        return;
    }
    PutBits(b, 8);
}

void Buffer::PutBits(uint32_t value, int count)
{
    if (count > 32)
        count = 32;
    for (int i = 0; i < count; ++i)
        PutBit((value >> i) & 1u);
}

void Buffer::PutBool(bool value)
{
    PutByte(value ? 1 : 0);
}

void Buffer::PutInt16(int16_t value)
{
    uint16_t v = uint16_t(value);
    PutByte(uint8_t(v & 0xFF));
    PutByte(uint8_t(v >> 8));
}

void Buffer::PutInt32(int32_t value)
{
    uint32_t v = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        PutByte(uint8_t((v >> (8 * i)) & 0xFF));
}

void Buffer::PutString(const std::string& text)
{
    // The length travels as a signed short; anything longer would read back as empty or negative.
    size_t length = text.size() > 32767 ? 32767 : text.size();
    PutInt16(int16_t(length));
    PutBytes(text.data(), length);
}

void Buffer::PutBytes(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < count; ++i)
        PutByte(bytes[i]);
}

int Buffer::TakeBit()
{
    if (mReadBitPos >= mDataBitSize)
        return -1;
    size_t byteIndex = size_t(mReadBitPos / 8);
    int bit = byteIndex < mData.size() ? (mData[byteIndex] >> (mReadBitPos % 8)) & 1 : 0;
    ++mReadBitPos;
    return bit;
}

uint8_t Buffer::TakeByte()
{
    if ((mReadBitPos + 7) / 8 >= ByteCount())
        return 0;
    if (mReadBitPos % 8 == 0)
    {
        uint8_t b = mData[size_t(mReadBitPos / 8)];
        mReadBitPos += 8;
        return b;
    }
    return uint8_t(TakeBits(8, false) & 0xFF);
}

int32_t Buffer::TakeBits(int count, bool isSigned)
{
    if (count > 32)
        count = 32;
    uint32_t value = 0;
    int lastBit = 0;
    int read = 0;
    for (; read < count; ++read)
    {
        int bit = TakeBit();
        if (bit < 0)
            break;
        value |= uint32_t(bit) << read;
        lastBit = bit;
    }
    if (isSigned && read > 0 && read < 32 && lastBit)
        value |= ~((1u << read) - 1u);
    return int32_t(value);
}

bool Buffer::TakeBool()
{
    return TakeByte() != 0;
}

int16_t Buffer::TakeInt16()
{
    uint16_t low = TakeByte();
    uint16_t high = TakeByte();
    return int16_t(uint16_t(low | (high << 8)));
}

int32_t Buffer::TakeInt32()
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(TakeByte()) << (8 * i);
    return int32_t(v);
}

std::string Buffer::TakeString()
{
    int length = TakeInt16();
    if (length <= 0)
        return std::string();
    std::string text;
    text.reserve(size_t(length));
    for (int i = 0; i < length && !Exhausted(); ++i)
        text.push_back(char(TakeByte()));
    return text;
}

void Buffer::TakeBytes(void* destination, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(destination);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = TakeByte();
}

void Buffer::Assign(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    mData.assign(bytes, bytes + count);
    mDataBitSize = uint64_t(count) * 8;
    mReadBitPos = 0;
    mWriteBitPos = mDataBitSize;
}

void Buffer::Reset()
{
    mData.clear();
    mDataBitSize = 0;
    mReadBitPos = 0;
    mWriteBitPos = 0;
}

} // namespace Zestra
