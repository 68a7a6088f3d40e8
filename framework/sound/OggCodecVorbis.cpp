// Ogg Vorbis through libvorbisfile, reading through a ByteSource with custom callbacks.
#include "framework/sound/OggCodec.h"

#include "framework/sound/ByteSource.h"
#include "framework/sound/SoundDecoders.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>

namespace Zestra
{

namespace
{

// libvorbisfile callbacks over a ByteSource; the source outlives the stream, so close does nothing.
size_t OggRead(void* buffer, size_t size, size_t count, void* user)
{
    if (size == 0)
        return 0;
    return static_cast<ByteSource*>(user)->Read(buffer, size * count) / size;
}

int OggSeek(void* user, ogg_int64_t offset, int origin)
{
    return static_cast<ByteSource*>(user)->Seek(offset, origin) ? 0 : -1;
}

int OggClose(void*)
{
    return 0;
}

long OggTell(void* user)
{
    return long(static_cast<ByteSource*>(user)->Tell());
}

class VorbisFileStream final : public OggStream
{
public:
    ~VorbisFileStream() override
    {
        if (mOpen)
            ov_clear(&mFile);
    }

    bool Open(ByteSource& source)
    {
        if (OpenOggFile(source, &mFile) != 0)
            return false;
        mOpen = true;
        vorbis_info* info = ov_info(&mFile, -1);
        if (!info)
            return false;
        mChannels = info->channels;
        mRate = int(std::min<long>(info->rate, 0x7FFFFFFF));
        mLength = ov_pcm_total(&mFile, -1);
        return true;
    }

    int Channels() const override { return mChannels; }
    int Rate() const override { return mRate; }
    int64_t Length() const override { return mLength; }

    int Read(int16_t* out, int frames) override
    {
        int bitstream = 0;
        long got = ov_read(&mFile, reinterpret_cast<char*>(out), frames * mChannels * 2, 0, 2, 1, &bitstream);
        if (got == OV_HOLE)
            return HOLE;
        if (got < 0)
            return FAILED;
        if (got == 0)
            return END;
        vorbis_info* info = ov_info(&mFile, bitstream);
        if (!info || info->channels != mChannels)
            return FAILED;
        return int(got / (2 * mChannels));
    }

    bool Seek(int64_t frame) override { return ov_pcm_seek(&mFile, frame) == 0; }

private:
    OggVorbis_File mFile{};
    bool mOpen = false;
    int mChannels = 0;
    int mRate = 0;
    int64_t mLength = 0;
};

} // namespace

int OpenOggFile(ByteSource& source, OggVorbis_File* file)
{
    return ov_open_callbacks(&source, file, nullptr, 0, ov_callbacks{OggRead, OggSeek, OggClose, OggTell});
}

std::unique_ptr<OggStream> OpenVorbisFileStream(ByteSource& source)
{
    auto stream = std::make_unique<VorbisFileStream>();
    if (!stream->Open(source))
        return nullptr;
    return stream;
}

} // namespace Zestra
