// Builders for the sound fixtures the tests need (WAV, AU and Ogg Vorbis bytes made here, never taken from
// elsewhere), a scratch folder the test runs in, and a helper that pulls mixed frames straight from the mixer.
#pragma once

#include "framework/sound/AudioMixer.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace SoundTest
{

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes& out, uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

inline void PutBe(Bytes& out, uint32_t value)
{
    for (int i = 3; i >= 0; --i)
        out.push_back(uint8_t(value >> (8 * i)));
}

inline Bytes Chunk(const char* id, const Bytes& body, int64_t declaredSize = -1)
{
    Bytes out(id, id + 4);
    PutLe(out, declaredSize < 0 ? body.size() : uint64_t(declaredSize), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes FmtBody(int channels, int rate, int bits, int formatTag = 1, int extraBytes = 0)
{
    Bytes out;
    PutLe(out, uint32_t(formatTag), 2);
    PutLe(out, uint32_t(channels), 2);
    PutLe(out, uint32_t(rate), 4);
    PutLe(out, uint32_t(rate * channels * bits / 8), 4);
    PutLe(out, uint32_t(channels * bits / 8), 2);
    PutLe(out, uint32_t(bits), 2);
    out.insert(out.end(), size_t(extraBytes), 0);
    return out;
}

inline Bytes Samples16(const std::vector<int16_t>& samples)
{
    Bytes out;
    for (int16_t s : samples)
        PutLe(out, uint16_t(s), 2);
    return out;
}

inline Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

inline Bytes Wav16(int channels, int rate, const std::vector<int16_t>& samples)
{
    return Riff({Chunk("fmt ", FmtBody(channels, rate, 16)), Chunk("data", Samples16(samples))});
}

inline Bytes Au(uint32_t offset, uint32_t size, uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data)
{
    Bytes out{'.', 's', 'n', 'd'};
    for (uint32_t v : {offset, size, encoding, rate, channels})
        PutBe(out, v);
    out.resize(std::max<size_t>(out.size(), offset), 0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// Interleaved frames of a sine tone, the same on every channel.
std::vector<int16_t> Sine(int channels, int rate, int frames, double frequency, double amplitude);

// Encodes interleaved samples as Ogg Vorbis with libvorbisenc.
Bytes EncodeOgg(int channels, int rate, const std::vector<int16_t>& samples);

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadFile(const std::filesystem::path& path);

// A fresh folder that is the working directory for its lifetime, so relative sound paths resolve inside it.
using ScratchFolder = TestSupport::WorkingFolder;

// Pulls frames of mixed output (interleaved stereo).
inline std::vector<int16_t> Pull(Zestra::AudioMixer& mixer, int frames)
{
    std::vector<int16_t> out(size_t(frames) * 2);
    mixer.Mix(out.data(), frames);
    return out;
}

} // namespace SoundTest
