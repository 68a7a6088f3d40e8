// Song streams over the file bytes held in memory: Ogg Vorbis is decoded as it plays, a WAV song is read whole at
// open; mono songs are spread over both channels here so the ring always holds stereo.
#include "framework/sound/SongStream.h"

#include "framework/sound/ByteSource.h"
#include "framework/sound/PcmData.h"
#include "framework/sound/SoundDecoders.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>

namespace Zestra
{

namespace
{

// Spreads count mono samples at the start of buffer over both channels, working backwards in place.
void MonoToStereo(int16_t* buffer, int count)
{
    for (int i = count - 1; i >= 0; --i)
    {
        buffer[2 * i + 1] = buffer[i];
        buffer[2 * i] = buffer[i];
    }
}

class OggSongStream final : public SongStream
{
public:
    explicit OggSongStream(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)), mSource(mBytes) {}

    ~OggSongStream() override
    {
        if (mOpen)
            ov_clear(&mFile);
    }

    bool Open()
    {
        if (OpenOggFile(mSource, &mFile) != 0)
            return false;
        mOpen = true;
        vorbis_info* info = ov_info(&mFile, -1);
        if (!info || info->channels < 1 || info->channels > 2 || info->rate < 1 || info->rate > 1000000)
            return false;
        mChannels = info->channels;
        mRate = int(info->rate);
        mLength = std::max<int64_t>(0, ov_pcm_total(&mFile, -1));
        return mLength > 0;
    }

    int Rate() const override { return mRate; }
    int Channels() const override { return mChannels; }
    int64_t Length() const override { return mLength; }

    int Read(int16_t* stereo, int frames) override
    {
        int done = 0;
        int failures = 0;
        while (done < frames)
        {
            int bitstream = 0;
            int16_t* at = stereo + 2 * done;
            long got =
                ov_read(&mFile, reinterpret_cast<char*>(at), (frames - done) * mChannels * 2, 0, 2, 1, &bitstream);
            if (got == OV_HOLE && ++failures < 8)
                continue; // a gap in the data: keep what follows
            if (got <= 0)
                break;
            vorbis_info* info = ov_info(&mFile, bitstream);
            if (!info || info->channels != mChannels)
                break; // a chained stream with another layout is not ours to mix
            int count = int(got / (2 * mChannels));
            if (mChannels == 1)
                MonoToStereo(at, count);
            done += count;
        }
        return done;
    }

    bool Seek(int64_t frame) override { return ov_pcm_seek(&mFile, std::clamp<int64_t>(frame, 0, mLength)) == 0; }

private:
    std::vector<uint8_t> mBytes;
    MemoryByteSource mSource;
    OggVorbis_File mFile{};
    bool mOpen = false;
    int mChannels = 2;
    int mRate = 44100;
    int64_t mLength = 0;
};

class PcmSongStream final : public SongStream
{
public:
    explicit PcmSongStream(PcmData pcm) : mPcm(std::move(pcm)) {}

    int Rate() const override { return mPcm.mRate; }
    int Channels() const override { return mPcm.mChannels; }
    int64_t Length() const override { return mPcm.Frames(); }

    int Read(int16_t* stereo, int frames) override
    {
        int count = int(std::min<int64_t>(frames, Length() - mPosition));
        const uint8_t* bytes = mPcm.mBytes.data();
        for (int i = 0; i < count; ++i)
        {
            int64_t at = (mPosition + i) * mPcm.mChannels;
            for (int c = 0; c < 2; ++c)
            {
                int64_t sample = at + (mPcm.mChannels == 2 ? c : 0);
                stereo[2 * i + c] = mPcm.mBits == 16
                                        ? int16_t(uint16_t(bytes[2 * sample]) | uint16_t(bytes[2 * sample + 1]) << 8)
                                        : int16_t((int(bytes[sample]) - 128) * 256);
            }
        }
        mPosition += count;
        return count;
    }

    bool Seek(int64_t frame) override
    {
        mPosition = std::clamp<int64_t>(frame, 0, Length());
        return true;
    }

private:
    PcmData mPcm;
    int64_t mPosition = 0;
};

} // namespace

std::unique_ptr<SongStream> OpenSongStream(std::vector<uint8_t> bytes, const std::string& extension)
{
    if (extension == "ogg")
    {
        auto stream = std::make_unique<OggSongStream>(std::move(bytes));
        if (!stream->Open())
            return nullptr;
        return stream;
    }
    if (extension == "wav")
    {
        MemoryByteSource source(bytes);
        PcmData pcm;
        if (!ReadWav(source, pcm) || pcm.Frames() == 0)
            return nullptr;
        return std::make_unique<PcmSongStream>(std::move(pcm));
    }
    return nullptr;
}

} // namespace Zestra
