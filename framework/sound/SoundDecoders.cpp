// The decoders never trust a header: sizes are checked against the bytes actually left before anything is
// allocated, and formats the mixer cannot play are refused.
#include "framework/sound/SoundDecoders.h"

#include "framework/sound/ByteSource.h"
#include "framework/sound/OggCodec.h"

#include <algorithm>
#include <cstring>

namespace Zestra
{

namespace
{

bool ReadExact(ByteSource& source, void* buffer, size_t size)
{
    return source.Read(buffer, size) == size;
}

bool ReadLe16(ByteSource& source, uint32_t& value)
{
    uint8_t b[2];
    if (!ReadExact(source, b, 2))
        return false;
    value = uint32_t(b[0]) | uint32_t(b[1]) << 8;
    return true;
}

bool ReadLe32(ByteSource& source, uint32_t& value)
{
    uint8_t b[4];
    if (!ReadExact(source, b, 4))
        return false;
    value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

bool ReadBe32(ByteSource& source, uint32_t& value)
{
    uint8_t b[4];
    if (!ReadExact(source, b, 4))
        return false;
    value = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
    return true;
}

int64_t BytesLeft(ByteSource& source)
{
    return std::max<int64_t>(0, source.Size() - source.Tell());
}

void PutLe16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

// An Ogg stream cut short still decodes up to its last whole page; only the final page's end-of-stream flag,
// with the page running exactly to the end of the file, shows that nothing is missing.
bool EndsWithEndOfStreamPage(ByteSource& source)
{
    const int64_t maxPage = 27 + 255 + 255 * 255;
    int64_t size = source.Size();
    int64_t start = std::max<int64_t>(0, size - maxPage);
    std::vector<uint8_t> tail(static_cast<size_t>(size - start));
    if (!source.Seek(start, 0) || !ReadExact(source, tail.data(), tail.size()))
        return false;
    for (int64_t at = int64_t(tail.size()) - 27; at >= 0; --at)
    {
        const uint8_t* page = tail.data() + at;
        if (std::memcmp(page, "OggS", 4) != 0)
            continue;
        int64_t segments = page[26];
        if (at + 27 + segments > int64_t(tail.size()))
            continue;
        int64_t length = 27 + segments;
        for (int64_t i = 0; i < segments; ++i)
            length += page[27 + i];
        if (at + length == int64_t(tail.size()))
            return (page[5] & 0x04) != 0;
    }
    return false;
}

} // namespace

bool IsPlayableFormat(int channels, int rate, int bits)
{
    return channels >= 1 && channels <= 2 && rate >= 1 && rate <= 1000000 && (bits == 8 || bits == 16);
}

bool ReadWav(ByteSource& source, PcmData& out, const FileTimeFn& fileTime)
{
    char tag[4];
    uint32_t riffSize;
    if (!ReadExact(source, tag, 4) || std::memcmp(tag, "RIFF", 4) != 0 || !ReadLe32(source, riffSize) ||
        !ReadExact(source, tag, 4) || std::memcmp(tag, "WAVE", 4) != 0)
        return false;

    int channels = 1;
    int rate = 22050;
    int bits = 16;
    uint8_t key = 0;
    for (;;)
    {
        uint32_t size;
        if (!ReadExact(source, tag, 4) || !ReadLe32(source, size))
            return false;
        int64_t next = source.Tell() + int64_t(size);

        if (std::memcmp(tag, "fmt ", 4) == 0)
        {
            uint32_t formatTag, ch, sampleRate, bytesPerSecond, blockAlign, bitsPerSample;
            if (size < 16 || !ReadLe16(source, formatTag) || !ReadLe16(source, ch) || !ReadLe32(source, sampleRate) ||
                !ReadLe32(source, bytesPerSecond) || !ReadLe16(source, blockAlign) ||
                !ReadLe16(source, bitsPerSample) || formatTag != 1)
                return false;
            channels = int(ch);
            rate = sampleRate > 0x7FFFFFFF ? 0 : int(sampleRate);
            bits = int(bitsPerSample);
        }
        else if (std::memcmp(tag, "dep ", 4) == 0)
        {
            uint32_t nameLength;
            if (!ReadLe16(source, nameLength))
                return false;
            // Longer names were never written; reading at most 255 keeps old caches readable either way.
            nameLength = std::min<uint32_t>(nameLength, 255);
            char name[255];
            uint8_t time[8];
            if (!ReadExact(source, name, nameLength) || !ReadExact(source, time, 8))
                return false;
            uint64_t stored = 0;
            for (int i = 7; i >= 0; --i)
                stored = stored << 8 | time[i];
            if (fileTime && fileTime(std::string(name, nameLength)) != stored)
                return false;
        }
        else if (std::memcmp(tag, "xor ", 4) == 0)
        {
            if (!ReadExact(source, &key, 1))
                return false;
        }
        else if (std::memcmp(tag, "data", 4) == 0)
        {
            if (!IsPlayableFormat(channels, rate, bits) || int64_t(size) > BytesLeft(source))
                return false;
            PcmData pcm;
            pcm.mChannels = channels;
            pcm.mRate = rate;
            pcm.mBits = bits;
            pcm.mBytes.resize(size);
            if (!ReadExact(source, pcm.mBytes.data(), size))
                return false;
            if (key != 0)
                for (uint8_t& b : pcm.mBytes)
                    b ^= key;
            // A trailing partial frame cannot be played; drop it rather than read past the end while mixing.
            pcm.mBytes.resize(pcm.mBytes.size() - pcm.mBytes.size() % size_t(pcm.BlockAlign()));
            out = std::move(pcm);
            return true;
        }
        if (!source.Seek(next, 0))
            return false;
    }
}

std::unique_ptr<OggStream> OpenOggStream(ByteSource& source)
{
#ifdef ZESTRA_STB_CODECS
    return OpenStbVorbisStream(source);
#else
    return OpenVorbisFileStream(source);
#endif
}

bool DecodeOgg(ByteSource& source, PcmData& out)
{
    source.Seek(0, 0);
    std::unique_ptr<OggStream> stream = OpenOggStream(source);
    if (!stream)
        return false;

    bool ok = false;
    PcmData decoded;
    const int64_t total = stream->Length();
    if (total > 0 && IsPlayableFormat(stream->Channels(), stream->Rate(), 16))
    {
        PcmData pcm;
        pcm.mChannels = stream->Channels();
        pcm.mRate = stream->Rate();
        pcm.mBits = 16;
        uint64_t wanted = uint64_t(total) * uint64_t(pcm.BlockAlign());
        // The total comes from the last page's granule position, which a corrupt file can inflate; grow with
        // what really decodes instead of trusting it up front.
        pcm.mBytes.reserve(size_t(std::min<uint64_t>(wanted, 16u << 20)));
        int16_t chunk[4096];
        const int chunkFrames = 4096 / pcm.mChannels;
        while (pcm.mBytes.size() < wanted)
        {
            int frames = stream->Read(chunk, chunkFrames);
            if (frames <= 0)
                break;
            const auto* bytes = reinterpret_cast<const uint8_t*>(chunk);
            size_t take = size_t(std::min<uint64_t>(uint64_t(frames) * pcm.BlockAlign(), wanted - pcm.mBytes.size()));
            pcm.mBytes.insert(pcm.mBytes.end(), bytes, bytes + take);
        }
        ok = pcm.mBytes.size() == wanted;
        if (ok)
            decoded = std::move(pcm);
    }
    stream.reset();
    if (!ok || !EndsWithEndOfStreamPage(source))
        return false;
    out = std::move(decoded);
    return true;
}

int16_t MuLawToLinear(uint8_t b)
{
    int c = b | 0x80;
    int sign = b >= 0x80 ? 1 : -1;
    int m;
    if (c >= 240)
        m = (255 - c) * 2;
    else if (c >= 224)
        m = (247 - c) * 4;
    else if (c >= 208)
        m = (235 - c) * 8;
    else if (c >= 192)
        m = (221 - c) * 16;
    else if (c >= 176)
        m = (206 - c) * 32;
    else if (c >= 160)
        m = 12192 - 64 * c;
    else if (c >= 144)
        m = 22368 - 128 * c;
    else if (c >= 129)
        m = 40672 - 256 * c;
    else
        m = 255;
    return int16_t(sign * m * 4);
}

bool DecodeAu(ByteSource& source, PcmData& out)
{
    char magic[4];
    uint32_t offset, size, encoding, rate, channels;
    if (!ReadExact(source, magic, 4) || std::memcmp(magic, ".snd", 4) != 0 || !ReadBe32(source, offset) ||
        !ReadBe32(source, size) || !ReadBe32(source, encoding) || !ReadBe32(source, rate) ||
        !ReadBe32(source, channels))
        return false;
    if (encoding != 1 && encoding != 2)
        return false;
    int bits = encoding == 1 ? 16 : 8;
    if (rate > 0x7FFFFFFF || channels > 2 || !IsPlayableFormat(int(channels), int(rate), bits))
        return false;
    if (int64_t(offset) > source.Size() || !source.Seek(offset, 0))
        return false;
    int64_t left = BytesLeft(source);
    // 0xFFFFFFFF is the format's "size unknown": the data runs to the end of the file.
    int64_t dataSize = size == 0xFFFFFFFFu ? left : int64_t(size);
    if (dataSize > left)
        return false;

    std::vector<uint8_t> data(static_cast<size_t>(dataSize));
    if (!ReadExact(source, data.data(), data.size()))
        return false;

    PcmData pcm;
    pcm.mChannels = int(channels);
    pcm.mRate = int(rate);
    pcm.mBits = bits;
    if (encoding == 1)
    {
        pcm.mBytes.resize(data.size() * 2);
        for (size_t i = 0; i < data.size(); ++i)
        {
            uint16_t s = uint16_t(MuLawToLinear(data[i]));
            pcm.mBytes[2 * i] = uint8_t(s);
            pcm.mBytes[2 * i + 1] = uint8_t(s >> 8);
        }
    }
    else
    {
        // AU stores 8-bit linear samples signed; the mixer's 8-bit format is unsigned like WAV's.
        pcm.mBytes = std::move(data);
        for (uint8_t& b : pcm.mBytes)
            b ^= 0x80;
    }
    pcm.mBytes.resize(pcm.mBytes.size() - pcm.mBytes.size() % size_t(pcm.BlockAlign()));
    out = std::move(pcm);
    return true;
}

std::vector<uint8_t> BuildCacheWav(const PcmData& pcm, const std::string& sourceName, uint64_t sourceTime, uint8_t key)
{
    std::string name = sourceName.substr(0, 255);
    uint32_t length = uint32_t(pcm.mBytes.size());
    std::vector<uint8_t> out;
    out.reserve(71 + name.size() + pcm.mBytes.size());
    PutTag(out, "RIFF");
    PutLe32(out, length + 36);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe32(out, 16);
    PutLe16(out, 1);
    PutLe16(out, uint32_t(pcm.mChannels));
    PutLe32(out, uint32_t(pcm.mRate));
    PutLe32(out, uint32_t(pcm.mRate * pcm.BlockAlign()));
    PutLe16(out, uint32_t(pcm.BlockAlign()));
    PutLe16(out, uint32_t(pcm.mBits));
    PutTag(out, "dep ");
    PutLe32(out, uint32_t(name.size() + 10));
    PutLe16(out, uint32_t(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutLe32(out, uint32_t(sourceTime));
    PutLe32(out, uint32_t(sourceTime >> 32));
    PutTag(out, "xor ");
    PutLe32(out, 1);
    out.push_back(key);
    PutTag(out, "data");
    PutLe32(out, length);
    for (uint8_t b : pcm.mBytes)
        out.push_back(b ^ key);
    return out;
}

} // namespace Zestra
