// One instance of a loaded sound, playing on its own mixer voice. Without a voice (silent manager, or the mixer
// had none free) it accepts every call and stays silent.
#pragma once

#include "framework/sound/SoundInstance.h"

#include <cstdint>
#include <memory>

namespace Zestra
{

class AudioMixer;
class MixerSoundManager;
struct PcmData;

class MixerSoundInstance final : public SoundInstance
{
public:
    // sound: null for a silent instance. voice: a voice already acquired from mixer (the instance releases it).
    MixerSoundInstance(MixerSoundManager& owner, AudioMixer* mixer, int voice, std::shared_ptr<const PcmData> sound);
    ~MixerSoundInstance() override;

    void Finish() override;
    void SetDefaultVolume(double volume) override;
    void SetDefaultPan(int pan) override;
    void ShiftPitch(double semitones) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoFree) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsFinished() override;
    double GetVolume() override { return mVolume; }

    // Sends volume and pan to the voice again (after the manager's volume changed).
    void SendLevels();
    // Stop without clearing autoFree, so a stopped one-shot is still collected.
    void StopKeepingAutoFree();

private:
    bool HasVoice() const { return mMixer != nullptr && mVoice >= 0; }

    MixerSoundManager& mOwner;
    AudioMixer* mMixer;
    int mVoice;
    std::shared_ptr<const PcmData> mSource;
    bool mAutoFree = false;
    bool mStarted = false;
    bool mFinished = false;
    int mDefaultPan = 0;
    double mDefaultVolume = 1.0;
    int mPan = 0;
    double mVolume = 1.0;
    uint32_t mNaturalRate = 44100;
};

} // namespace Zestra
