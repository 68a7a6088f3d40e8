// Levels are sent to the mixer as one combined gain pair whenever a default or per-instance level changes, so the
// audio thread never computes attenuation itself.
#include "framework/sound/MixerSoundInstance.h"

#include "framework/sound/AudioMixer.h"
#include "framework/sound/MixerSoundManager.h"
#include "framework/sound/PcmData.h"

#include <algorithm>
#include <cmath>

namespace Zestra
{

MixerSoundInstance::MixerSoundInstance(MixerSoundManager& owner, AudioMixer* mixer, int voice,
                                       std::shared_ptr<const PcmData> sound)
    : mOwner(owner), mMixer(mixer), mVoice(voice), mSource(std::move(sound))
{
    if (!mSource && mMixer && mVoice >= 0)
    {
        mMixer->ReleaseVoice(mVoice);
        mVoice = -1;
    }
    if (HasVoice())
    {
        mMixer->SetVoiceSound(mVoice, mSource.get());
        mNaturalRate = uint32_t(mSource->mRate);
    }
    SendLevels();
}

MixerSoundInstance::~MixerSoundInstance()
{
    // The voice goes first: after ReleaseVoice the audio thread no longer reads the shared sound.
    if (HasVoice())
        mMixer->ReleaseVoice(mVoice);
}

void MixerSoundInstance::Finish()
{
    Stop();
    mFinished = true;
}

void MixerSoundInstance::SetDefaultVolume(double volume)
{
    mDefaultVolume = volume;
    SendLevels();
}

void MixerSoundInstance::SetDefaultPan(int pan)
{
    mDefaultPan = pan;
    SendLevels();
}

void MixerSoundInstance::ShiftPitch(double semitones)
{
    if (!HasVoice())
        return;
    double frequency = std::pow(1.0594630943592953, semitones) * double(mNaturalRate);
    if (std::isnan(frequency))
        frequency = mNaturalRate;
    frequency = std::clamp(frequency, 100.0, 100000.0);
    mMixer->SetVoiceFrequency(mVoice, uint32_t(frequency));
}

void MixerSoundInstance::SetVolume(double volume)
{
    mVolume = volume;
    SendLevels();
}

void MixerSoundInstance::SetPan(int pan)
{
    mPan = pan;
    SendLevels();
}

bool MixerSoundInstance::Play(bool looping, bool autoFree)
{
    Stop();
    mStarted = true;
    mAutoFree = autoFree;
    if (!HasVoice())
        return false;
    mMixer->PlayVoice(mVoice, looping);
    return true;
}

void MixerSoundInstance::Stop()
{
    if (HasVoice())
        mMixer->StopVoice(mVoice);
    mAutoFree = false;
}

void MixerSoundInstance::StopKeepingAutoFree()
{
    bool autoFree = mAutoFree;
    Stop();
    mAutoFree = autoFree;
}

bool MixerSoundInstance::IsPlaying()
{
    return mStarted && HasVoice() && mMixer->IsVoicePlaying(mVoice);
}

bool MixerSoundInstance::IsFinished()
{
    if (!mFinished && mAutoFree && mStarted && !IsPlaying())
        Finish();
    return mFinished;
}

void MixerSoundInstance::SendLevels()
{
    if (!HasVoice())
        return;
    // Sums of caller and default pans may leave the range; the device would refuse them, we saturate.
    int64_t pan = std::clamp<int64_t>(int64_t(mPan) + mDefaultPan, -10000, 10000);
    float left, right;
    AttenuationToGains(VolumeToAttenuation(mVolume * mDefaultVolume * mOwner.GetVolume()), int(pan), left, right);
    mMixer->SetVoiceGains(mVoice, left, right);
}

} // namespace Zestra
