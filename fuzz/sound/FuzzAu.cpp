// The AU decoder on arbitrary bytes.
#include "framework/sound/ByteSource.h"
#include "framework/sound/SoundDecoders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zestra::MemoryByteSource source(data, size);
    Zestra::PcmData pcm;
    if (Zestra::DecodeAu(source, pcm))
    {
        // Decoded data never outgrows twice the file (mu-law doubles each byte).
        if (pcm.mBytes.size() > 2 * size || pcm.mBytes.size() % size_t(pcm.BlockAlign()) != 0)
            __builtin_trap();
    }
    return 0;
}
