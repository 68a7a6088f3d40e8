// The Ogg path on arbitrary bytes: the effect decoder and the song stream (open, read, seek, read again).
#include "framework/sound/ByteSource.h"
#include "framework/sound/SongStream.h"
#include "framework/sound/SoundDecoders.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zestra::MemoryByteSource source(data, size);
    Zestra::PcmData pcm;
    Zestra::DecodeOgg(source, pcm);

    std::unique_ptr<Zestra::SongStream> song = Zestra::OpenSongStream(std::vector<uint8_t>(data, data + size), "ogg");
    if (song)
    {
        std::vector<int16_t> frames(2 * 4096);
        for (int i = 0; i < 8 && song->Read(frames.data(), 4096) > 0; ++i)
        {
        }
        song->Seek(song->Length() / 2);
        song->Read(frames.data(), 4096);
    }
    return 0;
}
