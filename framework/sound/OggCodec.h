// The Ogg Vorbis codec behind the sound decoders and song streams, as one stream type per implementation:
// libvorbisfile on the desktop, stb_vorbis in the browser build. Both give interleaved 16-bit samples.
#pragma once

#include <cstdint>
#include <memory>

namespace Zestra
{

class ByteSource;

class OggStream
{
public:
    // What Read answers besides a positive count of frames.
    static constexpr int END = 0;
    static constexpr int HOLE = -1;  // a gap in the data; what follows may still decode
    static constexpr int FAILED = -2; // corrupt data, or a chained stream with another channel layout

    virtual ~OggStream() = default;
    virtual int Channels() const = 0;
    virtual int Rate() const = 0;
    // Frames as the stream's last page claims them; a corrupt file can inflate this.
    virtual int64_t Length() const = 0;
    // Up to frames frames into out (frames * Channels() samples).
    virtual int Read(int16_t* out, int frames) = 0;
    virtual bool Seek(int64_t frame) = 0;
};

// The source must outlive the stream and is read only through it. Null when it is no Ogg Vorbis stream.
std::unique_ptr<OggStream> OpenVorbisFileStream(ByteSource& source);
std::unique_ptr<OggStream> OpenStbVorbisStream(ByteSource& source);
// The implementation this build decodes with.
std::unique_ptr<OggStream> OpenOggStream(ByteSource& source);

} // namespace Zestra
