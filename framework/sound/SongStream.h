// A song's samples as a seekable source of 16-bit stereo frames, decoded on demand from the song file's bytes
// held in memory. Used only by the main thread, which fills the song's streaming ring from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class SongStream
{
public:
    virtual ~SongStream() = default;
    virtual int Rate() const = 0;
    virtual int Channels() const = 0; // of the file; Read always gives stereo
    // Total length in frames.
    virtual int64_t Length() const = 0;
    // Up to frames interleaved stereo frames; 0 at the end.
    virtual int Read(int16_t* stereo, int frames) = 0;
    // Clamped to 0..Length(); false when the stream cannot seek.
    virtual bool Seek(int64_t frame) = 0;
};

// extension in lower case without the dot: "ogg" or "wav". null for other kinds and for undecodable bytes.
std::unique_ptr<SongStream> OpenSongStream(std::vector<uint8_t> bytes, const std::string& extension);

} // namespace Zestra
