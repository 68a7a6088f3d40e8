// The program's one audio output: mixes every playing voice (sound instances and streamed songs) into 44100 Hz
// 16-bit stereo. Every voice belongs to one bus (effects, voices, music) whose level scales it; the levels keep the
// sum clear of full scale, and a soft limiter takes the rest, so the output never clips. The main thread changes
// voices through short locked calls; the audio thread calls Mix, which never allocates, never touches a file and
// holds the lock only while it mixes one callback.
// Owned by the application; it must outlive every sound manager and music player made over it.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace Zestra
{

class Platform;
class StreamRing;
struct PcmData;

class AudioMixer
{
public:
    static constexpr int kOutputRate = 44100;
    static constexpr int kMaxVoices = 128;
    static constexpr int kChunkFrames = 1024;

    // The parts of the mix. Customers' voices must be heard over the store's effects and the music, so at the
    // default levels the effects sit 6 dB and the music 5 dB below the voices, and the voices themselves 3 dB under
    // unity: that headroom leaves the soft limiter only the rare pile-up.
    enum class Bus
    {
        Effects,
        Voices,
        Music,
    };
    static constexpr int kBusCount = 3;
    // Linear levels by bus.
    static constexpr float kDefaultBusLevels[kBusCount] = {0.355f, 0.708f, 0.398f};

    AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;
    ~AudioMixer(); // closes the output first

    // Starts feeding the platform's audio output; false when there is no device (Mix may still be called).
    bool AttachOutput(Platform& platform);
    void DetachOutput();
    bool HasOutput() const { return mOutput != nullptr; }

    // Audio thread (or tests): fills frames interleaved stereo frames.
    void Mix(int16_t* out, int frames);

    // Master level 0..1 applied to the whole output (the stand-in for the system's wave-output volume).
    void SetMasterLevel(double level);
    double GetMasterLevel();

    // Voices: -1 when all are taken. A voice plays either a sound (borrowed: it must stay alive until the voice
    // is given another sound or released) or a stream ring (borrowed the same way).
    int AcquireVoice(Bus bus = Bus::Effects);
    void ReleaseVoice(int voice);
    void SetVoiceSound(int voice, const PcmData* sound);
    void SetVoiceStream(int voice, StreamRing* ring, int rate);
    // The bus's linear level, 0..1, applied to all its voices on top of their gains.
    void SetBusLevel(Bus bus, float level);
    float GetBusLevel(Bus bus);
    // Linear gains per channel, 0 silences.
    void SetVoiceGains(int voice, float left, float right);
    // Source frames per second; the voice resamples to the output rate.
    void SetVoiceFrequency(int voice, uint32_t frequency);
    uint32_t GetVoiceFrequency(int voice);
    // Starts from the current position (a stopped sound voice is at 0).
    void PlayVoice(int voice, bool looping);
    // Stops; a sound voice rewinds to 0.
    void StopVoice(int voice);
    void PauseVoice(int voice, bool paused);
    bool IsVoicePlaying(int voice);
    bool IsVoicePaused(int voice);
    // For streams: stops the voice and empties its ring so the producer can refill from a new position.
    void FlushStream(int voice);

    int CountActiveVoices();

private:
    struct Voice
    {
        bool mInUse = false;
        bool mPlaying = false;
        bool mPaused = false;
        bool mLooping = false;
        Bus mBus = Bus::Effects;
        const PcmData* mSound = nullptr;
        StreamRing* mStream = nullptr;
        float mGainLeft = 1.0f;
        float mGainRight = 1.0f;
        uint32_t mFrequency = kOutputRate;
        uint64_t mStep = uint64_t(1) << 32; // source frames per output frame, 32.32 fixed point
        uint64_t mPosition = 0;             // sound voices: 32.32 source frame position
        // Stream voices: the two source frames being interpolated and the fraction between them.
        float mPrev[2] = {0, 0};
        float mNext[2] = {0, 0};
        uint32_t mFraction = 0;
        bool mPrimed = false;
    };

    bool Valid(int voice) const { return voice >= 0 && voice < kMaxVoices && mVoices[voice].mInUse; }
    void MixChunk(int16_t* out, int frames);
    // level: the voice's bus level.
    void MixSound(Voice& voice, float level, float* acc, int frames);
    void MixStream(Voice& voice, float level, float* acc, int frames);

    std::mutex mLock;
    std::array<Voice, kMaxVoices> mVoices;
    std::array<float, kChunkFrames * 2> mAccumulator{};
    float mMasterLevel = 1.0f;
    std::array<float, kBusCount> mBusLevels{kDefaultBusLevels[0], kDefaultBusLevels[1], kDefaultBusLevels[2]};
    Platform* mOutput = nullptr;
};

} // namespace Zestra
