// Voices are mixed into a float accumulator of one chunk (at most 1024 frames), each scaled by its bus level; the
// master level scales the sum and the soft limiter bends its peaks under full scale. Everything the audio thread
// touches is preallocated here or owned by the voices' users, who keep it alive until they release the voice under the
// same lock.
#include "framework/sound/AudioMixer.h"

#include "framework/platform/Platform.h"
#include "framework/sound/PcmData.h"
#include "framework/sound/SoftLimiter.h"
#include "framework/sound/StreamRing.h"

#include <algorithm>
#include <cmath>

namespace Zestra
{

namespace
{

constexpr double kFractionScale = 1.0 / 4294967296.0;

template <int Bits> inline float SampleAt(const uint8_t* bytes, int64_t index)
{
    if constexpr (Bits == 16)
        return float(int16_t(uint16_t(bytes[2 * index]) | uint16_t(bytes[2 * index + 1]) << 8));
    else
        return float((int(bytes[index]) - 128) * 256);
}

// Linear interpolation between source frames; a one-shot holds its last frame, a loop wraps to the first.
template <int Bits, int Channels>
bool MixSoundFrames(const uint8_t* bytes, int64_t frames, uint64_t& position, uint64_t step, bool looping,
                    float gainLeft, float gainRight, float* acc, int count)
{
    const uint64_t end = uint64_t(frames) << 32;
    for (int i = 0; i < count; ++i)
    {
        if (position >= end)
        {
            if (!looping)
                return false;
            position %= end;
        }
        int64_t index = int64_t(position >> 32);
        int64_t next = index + 1 < frames ? index + 1 : (looping ? 0 : index);
        float fraction = float(double(position & 0xFFFFFFFFu) * kFractionScale);
        float left, right;
        if constexpr (Channels == 1)
        {
            float a = SampleAt<Bits>(bytes, index);
            left = right = a + (SampleAt<Bits>(bytes, next) - a) * fraction;
        }
        else
        {
            float a = SampleAt<Bits>(bytes, index * 2);
            float b = SampleAt<Bits>(bytes, index * 2 + 1);
            left = a + (SampleAt<Bits>(bytes, next * 2) - a) * fraction;
            right = b + (SampleAt<Bits>(bytes, next * 2 + 1) - b) * fraction;
        }
        acc[2 * i] += left * gainLeft;
        acc[2 * i + 1] += right * gainRight;
        position += step;
    }
    return true;
}

} // namespace

AudioMixer::AudioMixer() = default;

AudioMixer::~AudioMixer()
{
    DetachOutput();
}

bool AudioMixer::AttachOutput(Platform& platform)
{
    DetachOutput();
    if (!platform.OpenAudio(kOutputRate, [this](int16_t* out, int frames) { Mix(out, frames); }))
        return false;
    mOutput = &platform;
    return true;
}

void AudioMixer::DetachOutput()
{
    if (mOutput)
        mOutput->CloseAudio();
    mOutput = nullptr;
}

void AudioMixer::Mix(int16_t* out, int frames)
{
    std::lock_guard<std::mutex> lock(mLock);
    while (frames > 0)
    {
        int n = std::min(frames, kChunkFrames);
        MixChunk(out, n);
        out += 2 * n;
        frames -= n;
    }
}

void AudioMixer::MixChunk(int16_t* out, int frames)
{
    float* acc = mAccumulator.data();
    std::fill(acc, acc + 2 * frames, 0.0f);
    for (Voice& voice : mVoices)
    {
        if (!voice.mInUse || !voice.mPlaying || voice.mPaused)
            continue;
        const float level = mBusLevels[size_t(voice.mBus)];
        if (voice.mSound)
            MixSound(voice, level, acc, frames);
        else if (voice.mStream)
            MixStream(voice, level, acc, frames);
    }
    constexpr float kFullScale = 32768.0f;
    for (int i = 0; i < 2 * frames; ++i)
        out[i] = int16_t(std::lrint(SoftLimiter::Apply(acc[i] * mMasterLevel / kFullScale) * kFullScale));
}

void AudioMixer::MixSound(Voice& voice, float level, float* acc, int frames)
{
    const PcmData& sound = *voice.mSound;
    int64_t count = sound.Frames();
    bool playing = false;
    if (count > 0)
    {
        const uint8_t* bytes = sound.mBytes.data();
        auto mix = [&](auto fn)
        {
            return fn(bytes, count, voice.mPosition, voice.mStep, voice.mLooping, voice.mGainLeft * level,
                      voice.mGainRight * level, acc, frames);
        };
        if (sound.mBits == 16)
            playing = sound.mChannels == 2 ? mix(MixSoundFrames<16, 2>) : mix(MixSoundFrames<16, 1>);
        else
            playing = sound.mChannels == 2 ? mix(MixSoundFrames<8, 2>) : mix(MixSoundFrames<8, 1>);
    }
    if (!playing)
    {
        // A finished one-shot rewinds, as a stopped buffer does.
        voice.mPlaying = false;
        voice.mPosition = 0;
    }
}

void AudioMixer::MixStream(Voice& voice, float level, float* acc, int frames)
{
    StreamRing& ring = *voice.mStream;
    auto pop = [&](float* frame)
    {
        int16_t l, r;
        if (!ring.Pop(l, r))
            return false;
        frame[0] = l;
        frame[1] = r;
        return true;
    };
    if (!voice.mPrimed)
    {
        if (ring.AvailableFrames() < 2)
        {
            if (ring.Ended())
                voice.mPlaying = false;
            return; // starved: silence until the main thread refills
        }
        pop(voice.mPrev);
        pop(voice.mNext);
        voice.mFraction = 0;
        voice.mPrimed = true;
    }
    const float gainLeft = voice.mGainLeft * level;
    const float gainRight = voice.mGainRight * level;
    for (int i = 0; i < frames; ++i)
    {
        float fraction = float(double(voice.mFraction) * kFractionScale);
        acc[2 * i] += (voice.mPrev[0] + (voice.mNext[0] - voice.mPrev[0]) * fraction) * gainLeft;
        acc[2 * i + 1] += (voice.mPrev[1] + (voice.mNext[1] - voice.mPrev[1]) * fraction) * gainRight;
        uint64_t advanced = uint64_t(voice.mFraction) + voice.mStep;
        voice.mFraction = uint32_t(advanced);
        for (uint64_t k = advanced >> 32; k > 0; --k)
        {
            voice.mPrev[0] = voice.mNext[0];
            voice.mPrev[1] = voice.mNext[1];
            if (!pop(voice.mNext))
            {
                voice.mPrimed = false;
                if (ring.Ended())
                    voice.mPlaying = false;
                return;
            }
        }
    }
}

void AudioMixer::SetMasterLevel(double level)
{
    std::lock_guard<std::mutex> lock(mLock);
    mMasterLevel = float(std::clamp(std::isnan(level) ? 0.0 : level, 0.0, 1.0));
}

double AudioMixer::GetMasterLevel()
{
    std::lock_guard<std::mutex> lock(mLock);
    return mMasterLevel;
}

void AudioMixer::SetBusLevel(Bus bus, float level)
{
    std::lock_guard<std::mutex> lock(mLock);
    mBusLevels[size_t(bus)] = std::isnan(level) ? 0.0f : std::clamp(level, 0.0f, 1.0f);
}

float AudioMixer::GetBusLevel(Bus bus)
{
    std::lock_guard<std::mutex> lock(mLock);
    return mBusLevels[size_t(bus)];
}

int AudioMixer::AcquireVoice(Bus bus)
{
    std::lock_guard<std::mutex> lock(mLock);
    for (int i = 0; i < kMaxVoices; ++i)
    {
        if (!mVoices[i].mInUse)
        {
            mVoices[i] = Voice();
            mVoices[i].mInUse = true;
            mVoices[i].mBus = bus;
            return i;
        }
    }
    return -1;
}

void AudioMixer::ReleaseVoice(int voice)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (voice >= 0 && voice < kMaxVoices)
        mVoices[voice] = Voice();
}

void AudioMixer::SetVoiceSound(int voice, const PcmData* sound)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice))
        return;
    Voice& v = mVoices[voice];
    v.mSound = sound;
    v.mStream = nullptr;
    v.mPlaying = false;
    v.mPosition = 0;
    v.mFrequency = sound ? uint32_t(sound->mRate) : uint32_t(kOutputRate);
    v.mStep = (uint64_t(v.mFrequency) << 32) / kOutputRate;
}

void AudioMixer::SetVoiceStream(int voice, StreamRing* ring, int rate)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice))
        return;
    Voice& v = mVoices[voice];
    v.mSound = nullptr;
    v.mStream = ring;
    v.mPlaying = false;
    v.mPrimed = false;
    v.mFrequency = uint32_t(rate > 0 ? rate : kOutputRate);
    v.mStep = (uint64_t(v.mFrequency) << 32) / kOutputRate;
}

void AudioMixer::SetVoiceGains(int voice, float left, float right)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice))
        return;
    mVoices[voice].mGainLeft = left;
    mVoices[voice].mGainRight = right;
}

void AudioMixer::SetVoiceFrequency(int voice, uint32_t frequency)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice) || frequency == 0)
        return;
    mVoices[voice].mFrequency = frequency;
    mVoices[voice].mStep = (uint64_t(frequency) << 32) / kOutputRate;
}

uint32_t AudioMixer::GetVoiceFrequency(int voice)
{
    std::lock_guard<std::mutex> lock(mLock);
    return Valid(voice) ? mVoices[voice].mFrequency : 0;
}

void AudioMixer::PlayVoice(int voice, bool looping)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice))
        return;
    mVoices[voice].mLooping = looping;
    mVoices[voice].mPlaying = true;
    mVoices[voice].mPaused = false;
}

void AudioMixer::StopVoice(int voice)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice))
        return;
    mVoices[voice].mPlaying = false;
    mVoices[voice].mPaused = false;
    mVoices[voice].mPosition = 0;
}

void AudioMixer::PauseVoice(int voice, bool paused)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (Valid(voice))
        mVoices[voice].mPaused = paused;
}

bool AudioMixer::IsVoicePlaying(int voice)
{
    std::lock_guard<std::mutex> lock(mLock);
    return Valid(voice) && mVoices[voice].mPlaying && !mVoices[voice].mPaused;
}

bool AudioMixer::IsVoicePaused(int voice)
{
    std::lock_guard<std::mutex> lock(mLock);
    return Valid(voice) && mVoices[voice].mPlaying && mVoices[voice].mPaused;
}

void AudioMixer::FlushStream(int voice)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (!Valid(voice))
        return;
    Voice& v = mVoices[voice];
    v.mPlaying = false;
    v.mPaused = false;
    v.mPrimed = false;
    v.mFraction = 0;
    if (v.mStream)
        v.mStream->Reset();
}

int AudioMixer::CountActiveVoices()
{
    std::lock_guard<std::mutex> lock(mLock);
    int n = 0;
    for (const Voice& v : mVoices)
        n += v.mInUse && v.mPlaying ? 1 : 0;
    return n;
}

} // namespace Zestra
