// One playing copy of a loaded sound with its own volume, pan and pitch. Instances belong to the sound manager
// that made them; callers keep only the raw pointer and must not delete it.
#pragma once

namespace Zestra
{

class SoundInstance
{
public:
    SoundInstance() = default;
    SoundInstance(const SoundInstance&) = delete;
    SoundInstance& operator=(const SoundInstance&) = delete;
    virtual ~SoundInstance() = default;

    // Stops the instance and marks it finished, so its slot may be reused.
    virtual void Finish() = 0;
    // The per-id factors the manager copies in at creation; volume is linear 0..1, pan in -10000..10000.
    virtual void SetDefaultVolume(double volume) = 0;
    virtual void SetDefaultPan(int pan) = 0;
    // Plays faster or slower by resampling: 12 semitones doubles the rate.
    virtual void ShiftPitch(double semitones) = 0;
    // Linear volume 0..1 (clamped); pan -10000 (left only) .. 0 (centre) .. 10000 (right only).
    virtual void SetVolume(double volume) = 0;
    virtual void SetPan(int pan) = 0;
    // Restarts from the beginning. autoFree: the instance finishes itself once it has stopped playing.
    // false when the instance has no sound behind it (silent manager).
    virtual bool Play(bool looping, bool autoFree) = 0;
    // Stops and rewinds; clears autoFree.
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool IsFinished() = 0;
    virtual double GetVolume() = 0;
};

} // namespace Zestra
