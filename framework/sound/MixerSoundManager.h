// The working sound manager over the program's AudioMixer. Without a mixer it is the silent manager: loads
// succeed without decoding and instances accept every call silently. Sounds decoded from ".ogg" or ".au" are
// written back as WAV cache files below the per-machine data folder so later starts skip the decoding.
#pragma once

#include "framework/sound/AudioMixer.h"
#include "framework/sound/SoundManager.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace Zestra
{

class MixerSoundInstance;
class SoundFileAccess;
struct PcmData;

class MixerSoundManager final : public SoundManager
{
public:
    using Clock = std::function<uint64_t()>; // milliseconds, for the once-a-second sweep of finished instances

    // The key byte cache files are written with.
    static constexpr uint8_t kCacheKey = 0x5A;

    // mixer: borrowed, null for the silent manager. dataFolder: the per-machine data folder (with or without a
    // trailing '/'), "" for no cache files. files: null for the archive-aware file functions. bus: the part of the
    // mix every instance plays in.
    MixerSoundManager(AudioMixer* mixer, std::string dataFolder, Clock clock,
                      std::shared_ptr<SoundFileAccess> files = nullptr, AudioMixer::Bus bus = AudioMixer::Bus::Effects);
    ~MixerSoundManager() override;

    bool HasDevice() override;
    int FindOrLoadSound(const std::string& path) override;
    bool LoadSound(int id, const std::string& path) override;
    void UnloadSound(int id) override;
    void SetVolume(double volume) override;
    bool SetDefaultVolume(int id, double volume) override;
    bool SetDefaultPan(int id, int pan) override;
    SoundInstance* MakeInstance(int id) override;
    void UnloadAllSounds() override;
    void DeleteAllInstances() override;
    double GetSystemVolume() override;
    void SetSystemVolume(double volume) override;
    void Idle() override {}
    void BindWindow(Platform* platform, bool isWindowed) override {}
    void StopAllSounds() override;
    int FindFreeId() override;
    int CountSounds() override;

    double GetVolume() const { return mVolume; }
    // The cache file for a sound path, or "" when that path gets none (absolute, too short, with a ".." part,
    // or no data folder).
    std::string CachePath(const std::string& path) const;

private:
    static bool ValidId(int id) { return id >= 0 && id < kMaxSounds; }
    bool ReadCachedOrWav(const std::string& path, PcmData& out);
    void WriteCache(const std::string& cachePath, const PcmData& pcm, const std::string& sourceName);
    void Sweep();

    AudioMixer* mMixer;
    AudioMixer::Bus mBus;
    std::string mDataFolder;
    Clock mClock;
    std::shared_ptr<SoundFileAccess> mFiles;
    // The loading thread fills ids while the main thread plays others; the lock covers only table reads and
    // writes, never decoding. Instances share a sound, so an id can be unloaded while its instances finish.
    std::mutex mTableLock;
    std::array<std::shared_ptr<const PcmData>, kMaxSounds> mSounds;
    std::array<std::string, kMaxSounds> mSoundPaths;
    std::array<int64_t, kMaxSounds> mSoundSizes{};
    std::array<double, kMaxSounds> mDefaultVolumes;
    std::array<int, kMaxSounds> mDefaultPans{};
    std::array<std::unique_ptr<MixerSoundInstance>, kMaxInstances> mInstances;
    double mVolume = 1.0;
    uint64_t mLastSweepTick = 0;
};

// Hundredths of a decibel for a linear factor (clamped to 0..1): (log10(9 v + 1) - 1) x 2333, truncated;
// anything below -2000 is -10000, silence.
int VolumeToAttenuation(double volume);
// Linear gains for an attenuation and a pan, both in hundredths of a decibel; -10000 or beyond is silence.
void AttenuationToGains(int attenuation, int pan, float& left, float& right);

} // namespace Zestra
