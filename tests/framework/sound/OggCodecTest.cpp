// The two Ogg Vorbis codecs (libvorbisfile on the desktop, stb_vorbis in the browser build) must give the same
// sound: the same layout and length, and samples that differ only by the floating-point rounding their inverse
// transforms are free to choose, both when read whole and when a song seeks.
#include "framework/sound/OggCodec.h"

#include "framework/sound/ByteSource.h"
#include "tests/framework/sound/SoundTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

using Zestra::OggStream;
using namespace SoundTest;

// Up to limit frames (a codec may answer a read with fewer than asked, a packet at a time).
std::vector<int16_t> ReadAll(OggStream& stream, int64_t limit = INT64_MAX)
{
    std::vector<int16_t> out;
    std::vector<int16_t> chunk(size_t(1000) * size_t(stream.Channels()));
    for (int64_t done = 0; done < limit;)
    {
        const int frames = stream.Read(chunk.data(), int(std::min<int64_t>(1000, limit - done)));
        if (frames <= 0)
            break;
        out.insert(out.end(), chunk.begin(), chunk.begin() + long(frames) * stream.Channels());
        done += frames;
    }
    return out;
}

int LargestDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    int largest = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    return largest;
}

TEST(OggCodecTest, BothCodecsDecodeTheSameSound)
{
    struct Case
    {
        int channels;
        int rate;
        int frames;
    };
    for (const Case c : {Case{1, 22050, 30000}, Case{2, 44100, 50000}})
    {
        SCOPED_TRACE(c.channels);
        const Bytes ogg = EncodeOgg(c.channels, c.rate, Sine(c.channels, c.rate, c.frames, 440.0, 12000.0));
        Zestra::MemoryByteSource forLibrary(ogg), forStb(ogg);
        std::unique_ptr<OggStream> library = Zestra::OpenVorbisFileStream(forLibrary);
        std::unique_ptr<OggStream> stb = Zestra::OpenStbVorbisStream(forStb);
        ASSERT_TRUE(library && stb);
        EXPECT_EQ(stb->Channels(), library->Channels());
        EXPECT_EQ(stb->Rate(), library->Rate());
        EXPECT_EQ(stb->Length(), library->Length());
        EXPECT_EQ(library->Length(), c.frames);
        const std::vector<int16_t> a = ReadAll(*library), b = ReadAll(*stb);
        EXPECT_EQ(a.size(), b.size());
        EXPECT_LE(LargestDifference(a, b), 4);

        // A song seeking back: both continue from the same frame.
        ASSERT_TRUE(library->Seek(12345));
        ASSERT_TRUE(stb->Seek(12345));
        const std::vector<int16_t> afterA = ReadAll(*library, 500), afterB = ReadAll(*stb, 500);
        EXPECT_EQ(afterA.size(), size_t(500) * size_t(c.channels));
        EXPECT_EQ(afterB.size(), afterA.size());
        EXPECT_LE(LargestDifference(afterA, afterB), 4);
    }
}

TEST(OggCodecTest, BothCodecsRefuseWhatIsNoVorbis)
{
    const Bytes ogg = EncodeOgg(1, 22050, Sine(1, 22050, 4000, 440.0, 8000.0));
    const Bytes cut(ogg.begin(), ogg.begin() + 40);
    const Bytes wav = Wav16(1, 22050, {1, 2, 3, 4});
    for (const Bytes* bytes : {&cut, &wav})
    {
        Zestra::MemoryByteSource a(*bytes), b(*bytes);
        EXPECT_EQ(Zestra::OpenVorbisFileStream(a), nullptr);
        EXPECT_EQ(Zestra::OpenStbVorbisStream(b), nullptr);
    }
}

} // namespace
