// Song streams over the file bytes held in memory: Ogg Vorbis is decoded as it plays, a WAV song is read whole at
// open; mono songs are spread over both channels here so the ring always holds stereo.
#include "framework/sound/SongStream.h"

#include "framework/sound/ByteSource.h"
#include "framework/sound/OggCodec.h"
#include "framework/sound/PcmData.h"
#include "framework/sound/SoundDecoders.h"

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

    bool Open()
    {
        mStream = OpenOggStream(mSource);
        if (!mStream)
            return false;
        const int channels = mStream->Channels();
        const int rate = mStream->Rate();
        if (channels < 1 || channels > 2 || rate < 1 || rate > 1000000)
            return false;
        mChannels = channels;
        mRate = rate;
        mLength = std::max<int64_t>(0, mStream->Length());
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
            int16_t* at = stereo + 2 * done;
            int count = mStream->Read(at, frames - done);
            if (count == OggStream::HOLE && ++failures < 8)
                continue; // a gap in the data: keep what follows
            if (count <= 0)
                break;
            if (mChannels == 1)
                MonoToStereo(at, count);
            done += count;
        }
        return done;
    }

    bool Seek(int64_t frame) override { return mStream->Seek(std::clamp<int64_t>(frame, 0, mLength)); }

private:
    std::vector<uint8_t> mBytes;
    MemoryByteSource mSource;
    std::unique_ptr<OggStream> mStream; // reads mSource: declared after it, so it is destroyed first
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
