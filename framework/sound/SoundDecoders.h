// Decoders from a ByteSource into PcmData: the WAV chunk reader (with the cache's "dep " and "xor " chunks), Ogg
// Vorbis through libvorbisfile, and Sun AU. None of them throws; each answers false for truncated, corrupt or
// unsupported input and leaves out untouched then.
#pragma once

#include "framework/sound/PcmData.h"

#include <cstdint>
#include <functional>
#include <string>

struct OggVorbis_File;

namespace Zestra
{

class ByteSource;

// Current last-write time (Windows file time units) of a file named in a "dep " chunk; 0 when it cannot be found.
using FileTimeFn = std::function<uint64_t(const std::string& name)>;

// Formats the mixer accepts: 1..2 channels, 8 or 16 bits, a rate of 1..1000000 frames per second.
bool IsPlayableFormat(int channels, int rate, int bits);

// A "dep " chunk whose stored time differs from fileTime(name) makes the file stale (false). Without fileTime the
// dependency is not checked.
bool ReadWav(ByteSource& source, PcmData& out, const FileTimeFn& fileTime = {});

// Opens a libvorbisfile stream that reads through source, which must outlive the stream; answers as
// ov_open_callbacks does (0 on success, and file needs ov_clear only then).
int OpenOggFile(ByteSource& source, OggVorbis_File* file);

// Decodes the whole stream to 16-bit samples. The source is only read during the call.
bool DecodeOgg(ByteSource& source, PcmData& out);

// Encoding 1 (8-bit mu-law) gives 16-bit samples, encoding 2 (8-bit linear) 8-bit samples.
bool DecodeAu(ByteSource& source, PcmData& out);

// The 16-bit value of one mu-law byte.
int16_t MuLawToLinear(uint8_t byte);

// The bytes of a cache file: a WAV with a "dep " chunk naming the source and its time, and samples XORed with key.
std::vector<uint8_t> BuildCacheWav(const PcmData& pcm, const std::string& sourceName, uint64_t sourceTime, uint8_t key);

} // namespace Zestra
