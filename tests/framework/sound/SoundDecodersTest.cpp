#include "framework/sound/SoundDecoders.h"

#include "framework/sound/ByteSource.h"
#include "tests/framework/sound/SoundTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Zestra;
using namespace SoundTest;

namespace
{

bool DecodeWav(const Bytes& bytes, PcmData& out, const FileTimeFn& fileTime = {})
{
    MemoryByteSource source(bytes);
    return ReadWav(source, out, fileTime);
}

Bytes DepBody(uint32_t declaredLength, const std::string& name, uint64_t time)
{
    Bytes body;
    PutLe(body, declaredLength, 2);
    for (char c : name) // a loop: GCC 12 misreads a range insert here as an overflow
        body.push_back(uint8_t(c));
    PutLe(body, time, 8);
    return body;
}

} // namespace

TEST(WavReader, DecodesLayoutsTheWriterAndOtherToolsProduce)
{
    const Bytes frames = Samples16({100, -200, 300, -400});
    struct Case
    {
        const char* name;
        Bytes file;
        int channels, rate, bits;
        Bytes samples;
    };
    const Case cases[] = {
        {"plain", Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("data", frames)}), 2, 44100, 16, frames},
        {"long fmt and a foreign chunk first",
         Riff({Chunk("LIST", Bytes(7, 'x')), Chunk("fmt ", FmtBody(1, 11025, 16, 1, 2)), Chunk("data", frames)}), 1,
         11025, 16, frames},
        {"no fmt uses the defaults", Riff({Chunk("data", frames)}), 1, 22050, 16, frames},
        {"8-bit", Riff({Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", {0, 128, 255})}), 1, 8000, 8, {0, 128, 255}},
        {"xor key",
         Riff({Chunk("xor ", {0x0F}), Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", {0x0F, 0xF0})}),
         1,
         8000,
         8,
         {0x00, 0xFF}},
        {"partial last frame dropped",
         Riff({Chunk("fmt ", FmtBody(2, 8000, 16)), Chunk("data", {1, 2, 3, 4, 5})}),
         2,
         8000,
         16,
         {1, 2, 3, 4}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PcmData pcm;
        ASSERT_TRUE(DecodeWav(c.file, pcm));
        EXPECT_EQ(pcm.mChannels, c.channels);
        EXPECT_EQ(pcm.mRate, c.rate);
        EXPECT_EQ(pcm.mBits, c.bits);
        EXPECT_EQ(pcm.mBytes, c.samples);
    }
}

TEST(WavReader, RefusesBrokenFilesAndLeavesTheOutputAlone)
{
    const Bytes frames = Samples16({1, 2, 3, 4});
    Bytes good = Wav16(1, 22050, {1, 2, 3, 4});
    struct Case
    {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"not WAVE", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}},
        {"float samples", Riff({Chunk("fmt ", FmtBody(1, 22050, 32, 3)), Chunk("data", frames)})},
        {"no data chunk", Riff({Chunk("fmt ", FmtBody(1, 22050, 16))})},
        {"data larger than the file", Riff({Chunk("fmt ", FmtBody(1, 22050, 16)), Chunk("data", frames, 0x7FFFFFF0)})},
        {"truncated in the data", Bytes(good.begin(), good.end() - 3)},
        {"truncated fmt", Riff({Chunk("fmt ", Bytes{1, 0, 1})})},
        {"chunk size past the end", Riff({Chunk("LIST", Bytes(4, 0), 0xFFFFFFFF), Chunk("data", frames)})},
        {"no channels", Riff({Chunk("fmt ", FmtBody(0, 22050, 16)), Chunk("data", frames)})},
        {"three channels", Riff({Chunk("fmt ", FmtBody(3, 22050, 16)), Chunk("data", frames)})},
        {"24 bits", Riff({Chunk("fmt ", FmtBody(1, 22050, 24)), Chunk("data", frames)})},
        {"rate 0", Riff({Chunk("fmt ", FmtBody(1, 0, 16)), Chunk("data", frames)})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PcmData pcm;
        pcm.mBytes = {42};
        EXPECT_FALSE(DecodeWav(c.file, pcm));
        EXPECT_EQ(pcm.mBytes, Bytes{42});
    }
}

TEST(WavReader, DependencyChunkComparesTheSourceTime)
{
    Bytes file =
        Riff({Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("dep ", DepBody(7, "a/b.ogg", 1234)), Chunk("data", {7})});
    std::string asked;
    PcmData pcm;
    EXPECT_TRUE(DecodeWav(file, pcm,
                          [&](const std::string& name)
                          {
                              asked = name;
                              return uint64_t(1234);
                          }));
    EXPECT_EQ(asked, "a/b.ogg");
    EXPECT_FALSE(DecodeWav(file, pcm, [](const std::string&) { return uint64_t(1235); }));
    EXPECT_TRUE(DecodeWav(file, pcm)); // no checker: the dependency is not looked at
}

TEST(WavReader, DependencyNameLengthsAbove255CountAs255)
{
    // 65535 declared, 255 name bytes and the time follow; the chunk's size still says where the next chunk is.
    std::string name(255, 'n');
    Bytes body = DepBody(65535, name, 77);
    body.insert(body.end(), 100, 0xEE); // bytes a longer name would have covered, skipped by the chunk size
    Bytes file = Riff({Chunk("dep ", body), Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", {1, 2})});
    std::string asked;
    PcmData pcm;
    ASSERT_TRUE(DecodeWav(file, pcm,
                          [&](const std::string& n)
                          {
                              asked = n;
                              return uint64_t(77);
                          }));
    EXPECT_EQ(asked, name);
    EXPECT_EQ(pcm.mBytes, (Bytes{1, 2}));
}

TEST(WavReader, CacheFileRoundTrips)
{
    PcmData pcm;
    pcm.mChannels = 2;
    pcm.mRate = 32000;
    pcm.mBytes = Samples16({1000, -1000, 5, -5});
    Bytes file = BuildCacheWav(pcm, "sounds/x.ogg", 0x0123456789ABCDEFull, 0x5A);
    ASSERT_EQ(file.size(), 71 + 12 + pcm.mBytes.size());
    EXPECT_EQ(file[4] | file[5] << 8, int(pcm.mBytes.size()) + 36);
    EXPECT_EQ(file[62 + 12], 0x5A);                 // the key byte
    EXPECT_EQ(file[71 + 12], (1000 & 0xFF) ^ 0x5A); // samples are stored XORed
    PcmData back;
    ASSERT_TRUE(
        DecodeWav(file, back, [](const std::string& n) { return n == "sounds/x.ogg" ? 0x0123456789ABCDEFull : 0; }));
    EXPECT_EQ(back.mBytes, pcm.mBytes);
    EXPECT_EQ(back.mChannels, 2);
    EXPECT_EQ(back.mRate, 32000);
}

TEST(AuDecoder, MuLawExpansion)
{
    // One value from every row of the expansion table, both signs, and the special 0x80.
    const std::pair<uint8_t, int16_t> cases[] = {
        {0xFF, 0},    {0x7F, 0},    {0xF0, 120},   {0x70, -120},  {0xE0, 368},    {0xD0, 864},  {0xC0, 1856},
        {0xB0, 3840}, {0xA0, 7808}, {0x90, 15744}, {0x81, 30592}, {0x01, -30592}, {0x80, 1020}, {0x00, -1020},
    };
    for (auto [byte, expected] : cases)
        EXPECT_EQ(MuLawToLinear(byte), expected) << int(byte);
}

TEST(AuDecoder, DecodesMuLawAndLinear)
{
    PcmData pcm;
    Bytes mulaw = Au(32, 3, 1, 8000, 1, {0xFF, 0x81, 0x01});
    MemoryByteSource source(mulaw);
    ASSERT_TRUE(DecodeAu(source, pcm));
    EXPECT_EQ(pcm.mBits, 16);
    EXPECT_EQ(pcm.mRate, 8000);
    EXPECT_EQ(pcm.mBytes, Samples16({0, 30592, -30592}));

    // Signed 8-bit linear becomes the mixer's unsigned 8 bits; an unknown size runs to the end of the file.
    Bytes linear = Au(24, 0xFFFFFFFF, 2, 11025, 2, {0x00, 0x7F, 0x80, 0xFF});
    MemoryByteSource linearSource(linear);
    ASSERT_TRUE(DecodeAu(linearSource, pcm));
    EXPECT_EQ(pcm.mBits, 8);
    EXPECT_EQ(pcm.mChannels, 2);
    EXPECT_EQ(pcm.mBytes, (Bytes{0x80, 0xFF, 0x00, 0x7F}));
}

TEST(AuDecoder, RefusesBrokenFiles)
{
    Bytes good = Au(24, 4, 1, 8000, 1, {1, 2, 3, 4});
    struct Case
    {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"wrong magic", Bytes{'.', 's', 'n', 'x', 0, 0, 0, 24}},
        {"truncated header", Bytes(good.begin(), good.begin() + 20)},
        {"truncated data", Bytes(good.begin(), good.end() - 1)},
        {"size past the end", Au(24, 0x7FFFFFFF, 1, 8000, 1, {1})},
        {"offset past the end", Au(24, 1, 1, 8000, 1, {}) /* offset patched below */},
        {"encoding 3", Au(24, 1, 3, 8000, 1, {1, 2})},
        {"no channels", Au(24, 1, 1, 8000, 0, {1})},
        {"five channels", Au(24, 5, 1, 8000, 5, {1, 2, 3, 4, 5})},
        {"rate 0", Au(24, 1, 1, 0, 1, {1})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Bytes file = c.file;
        if (std::string(c.name) == "offset past the end")
            file[7] = 200;
        PcmData pcm;
        MemoryByteSource source(file);
        EXPECT_FALSE(DecodeAu(source, pcm));
        EXPECT_TRUE(pcm.mBytes.empty());
    }
}

TEST(OggDecoder, DecodesTheEncodedTone)
{
    const int frames = 4410;
    std::vector<int16_t> tone = Sine(1, 22050, frames, 441.0, 12000.0);
    Bytes ogg = EncodeOgg(1, 22050, tone);
    MemoryByteSource source(ogg);
    PcmData pcm;
    ASSERT_TRUE(DecodeOgg(source, pcm));
    EXPECT_EQ(pcm.mChannels, 1);
    EXPECT_EQ(pcm.mRate, 22050);
    ASSERT_EQ(pcm.Frames(), frames);
    // Lossy, so compare the energy difference rather than the samples.
    double error = 0, energy = 0;
    for (int i = 0; i < frames; ++i)
    {
        int16_t s = int16_t(pcm.mBytes[2 * i] | pcm.mBytes[2 * i + 1] << 8);
        error += double(s - tone[i]) * (s - tone[i]);
        energy += double(tone[i]) * tone[i];
    }
    EXPECT_LT(error / energy, 0.01);
}

TEST(OggDecoder, RefusesCutAndCorruptStreams)
{
    Bytes ogg = EncodeOgg(2, 44100, Sine(2, 44100, 20000, 300.0, 8000.0));
    Bytes flipped = ogg;
    for (size_t i = 40; i < 120 && i < flipped.size(); ++i)
        flipped[i] ^= 0x55;
    struct Case
    {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"headers only", Bytes(ogg.begin(), ogg.begin() + 100)},
        {"cut in half", Bytes(ogg.begin(), ogg.begin() + ptrdiff_t(ogg.size() / 2))},
        {"one byte short", Bytes(ogg.begin(), ogg.end() - 1)},
        {"corrupt headers", flipped},
        {"not Ogg", Wav16(1, 8000, {1, 2, 3})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MemoryByteSource source(c.file);
        PcmData pcm;
        EXPECT_FALSE(DecodeOgg(source, pcm));
        EXPECT_TRUE(pcm.mBytes.empty());
    }
}
