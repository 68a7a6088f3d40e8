// Ogg Vorbis through stb_vorbis (Debian's libstb-dev), for builds without libvorbis. stb_vorbis decodes from
// memory, so the stream keeps the whole file; sound files are small and songs are held whole already.
#include "framework/sound/OggCodec.h"

#include "framework/sound/ByteSource.h"

#include <vector>

// The codec's own code is compiled here and nowhere else.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb_vorbis.h>

namespace Zestra
{

namespace
{

class StbVorbisStream final : public OggStream
{
public:
    ~StbVorbisStream() override
    {
        if (mVorbis != nullptr)
            stb_vorbis_close(mVorbis);
    }

    bool Open(ByteSource& source)
    {
        const int64_t size = source.Size();
        if (size <= 0 || size > 0x7FFFFFFF || !source.Seek(0, 0))
            return false;
        mBytes.resize(size_t(size));
        if (source.Read(mBytes.data(), mBytes.size()) != mBytes.size())
            return false;
        int error = 0;
        mVorbis = stb_vorbis_open_memory(mBytes.data(), int(mBytes.size()), &error, nullptr);
        if (mVorbis == nullptr)
            return false;
        stb_vorbis_info info = stb_vorbis_get_info(mVorbis);
        mChannels = info.channels;
        mRate = int(info.sample_rate);
        mLength = stb_vorbis_stream_length_in_samples(mVorbis);
        return true;
    }

    int Channels() const override { return mChannels; }
    int Rate() const override { return mRate; }
    int64_t Length() const override { return mLength; }

    int Read(int16_t* out, int frames) override
    {
        if (frames <= 0)
            return END;
        int got = stb_vorbis_get_samples_short_interleaved(mVorbis, mChannels, out, frames * mChannels);
        if (got < 0)
            return FAILED;
        return got;
    }

    bool Seek(int64_t frame) override
    {
        if (frame < 0 || frame > 0x7FFFFFFF)
            return false;
        return stb_vorbis_seek(mVorbis, unsigned(frame)) != 0;
    }

private:
    std::vector<uint8_t> mBytes; // stb_vorbis reads from these for as long as it is open
    stb_vorbis* mVorbis = nullptr;
    int mChannels = 0;
    int mRate = 0;
    int64_t mLength = 0;
};

} // namespace

std::unique_ptr<OggStream> OpenStbVorbisStream(ByteSource& source)
{
    auto stream = std::make_unique<StbVorbisStream>();
    if (!stream->Open(source))
        return nullptr;
    return stream;
}

} // namespace Zestra
