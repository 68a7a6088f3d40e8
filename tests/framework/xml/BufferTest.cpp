#include "framework/xml/Buffer.h"

#include <gtest/gtest.h>

using namespace Zestra;

TEST(Buffer, BitsAndBytesShareTheStream)
{
    Buffer buffer;
    buffer.PutBits(5, 3);
    buffer.PutByte(0xFF);
    EXPECT_EQ(buffer.BitCount(), 11u);
    EXPECT_EQ(buffer.ByteCount(), 2u);
    EXPECT_EQ(buffer.TakeBits(3), 5);
    EXPECT_EQ(buffer.TakeByte(), 0xFF);
    EXPECT_TRUE(buffer.Exhausted());
    // No whole byte left: 0 and the position stays.
    EXPECT_EQ(buffer.TakeByte(), 0);
    EXPECT_EQ(buffer.TakeBits(4), 0);
}

TEST(Buffer, ValuesRoundTrip)
{
    Buffer buffer;
    buffer.PutBool(true);
    buffer.PutInt16(-2);
    buffer.PutBits(0x5, 3);
    buffer.PutInt32(-123456789);
    buffer.PutString("caf\xE9");
    buffer.PutString("");
    buffer.PutBits(0x6, 3); // 110: signed reads -2
    const uint8_t raw[3] = {1, 2, 3};
    buffer.PutBytes(raw, 3);

    buffer.Rewind();
    EXPECT_TRUE(buffer.TakeBool());
    EXPECT_EQ(buffer.TakeInt16(), -2);
    EXPECT_EQ(buffer.TakeBits(3), 5);
    EXPECT_EQ(buffer.TakeInt32(), -123456789);
    EXPECT_EQ(buffer.TakeString(), "caf\xE9");
    EXPECT_EQ(buffer.TakeString(), "");
    EXPECT_EQ(buffer.TakeBits(3, true), -2);
    uint8_t back[4] = {9, 9, 9, 9};
    buffer.TakeBytes(back, 4); // one more than written: reads as 0
    EXPECT_EQ(back[0], 1);
    EXPECT_EQ(back[2], 3);
    EXPECT_EQ(back[3], 0);
    EXPECT_TRUE(buffer.Exhausted());
}

TEST(Buffer, LittleEndianLayoutAssignAndReset)
{
    Buffer buffer;
    buffer.PutInt32(0x04030201);
    ASSERT_EQ(buffer.ByteCount(), 4u);
    EXPECT_EQ(buffer.Bytes()[0], 1);
    EXPECT_EQ(buffer.Bytes()[3], 4);

    const uint8_t text[] = {0xFF, 0x7F, 'a'}; // length 32767, only one byte present
    buffer.Assign(text, sizeof(text));
    EXPECT_EQ(buffer.BitCount(), 24u);
    EXPECT_EQ(buffer.TakeString(), "a");
    const uint8_t negative[] = {0xFF, 0xFF, 'a'};
    buffer.Assign(negative, sizeof(negative));
    EXPECT_EQ(buffer.TakeString(), "");

    buffer.Reset();
    EXPECT_EQ(buffer.Bytes(), nullptr);
    EXPECT_EQ(buffer.ByteCount(), 0u);
    EXPECT_TRUE(buffer.Exhausted());
    EXPECT_EQ(buffer.TakeInt32(), 0);
}
