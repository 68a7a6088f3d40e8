// Drives a Buffer with an operation script taken from the input: writes and reads of every width, interleaved, must
// never touch memory outside the buffer, and what was written aligned must read back unchanged.
#include "framework/xml/Buffer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zestra::Buffer buffer;
    buffer.Assign(data, size / 2);
    size_t pos = size / 2;
    auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
    while (pos < size)
    {
        uint8_t op = next();
        switch (op % 14)
        {
        case 0: buffer.PutByte(next()); break;
        case 1: buffer.PutBits(uint32_t(next()) * 0x01010101u, next() % 40); break;
        case 2: buffer.PutInt16(int16_t(next() << 8 | next())); break;
        case 3: buffer.PutInt32(int32_t(next())); break;
        case 4: buffer.PutString(std::string(next(), 'x')); break;
        case 5: buffer.TakeByte(); break;
        case 6: buffer.TakeBits(next() % 40, next() & 1); break;
        case 7: buffer.TakeInt16(); break;
        case 8: buffer.TakeInt32(); break;
        case 9: buffer.TakeString(); break;
        case 10: {
            uint8_t out[64];
            buffer.TakeBytes(out, next() % sizeof(out));
            break;
        }
        case 11: buffer.Rewind(); break;
        case 12: buffer.TakeBool(); break;
        default: {
            Zestra::Buffer check;
            std::string text(next(), 'q');
            check.PutInt32(-7);
            check.PutString(text);
            if (check.TakeInt32() != -7 || check.TakeString() != text)
                std::abort();
            break;
        }
        }
    }
    if (buffer.ByteCount() > 0 && buffer.Bytes() == nullptr)
        std::abort();
    return 0;
}
