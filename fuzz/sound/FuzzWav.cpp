// The WAV chunk reader on arbitrary bytes, with a dependency checker that accepts every time half the time so
// both outcomes of the "dep " chunk are explored.
#include "framework/sound/ByteSource.h"
#include "framework/sound/SoundDecoders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zestra::MemoryByteSource source(data, size);
    Zestra::PcmData pcm;
    bool accept = size > 0 && (data[size - 1] & 1);
    if (Zestra::ReadWav(source, pcm, [accept](const std::string&) { return accept ? uint64_t(0) : uint64_t(1); }))
    {
        // What the mixer will index must be whole frames of a playable format.
        if (pcm.mBytes.size() % size_t(pcm.BlockAlign()) != 0 ||
            !Zestra::IsPlayableFormat(pcm.mChannels, pcm.mRate, pcm.mBits))
            __builtin_trap();
    }
    return 0;
}
