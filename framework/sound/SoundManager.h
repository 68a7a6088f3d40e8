// Holds up to 256 short sounds, each decoded completely into memory under an id 0..255, and plays them through
// up to 32 live instances. Every id operation ignores ids outside 0..255 (-1 is the usual "no sound").
#pragma once

#include <string>

namespace Zestra
{

class Platform;
class SoundInstance;

class SoundManager
{
public:
    static constexpr int kMaxSounds = 256;
    static constexpr int kMaxInstances = 32;

    SoundManager() = default;
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;
    virtual ~SoundManager() = default;

    // false for the silent manager (no audio output): loads succeed without effect and instances are silent.
    virtual bool HasDevice() = 0;
    // The id already loaded from path, or the highest free id loaded now; -1 on failure.
    virtual int FindOrLoadSound(const std::string& path) = 0;
    // path is without extension: a cache file, then path + ".wav", ".ogg" and ".au" are tried in turn.
    virtual bool LoadSound(int id, const std::string& path) = 0;
    virtual void UnloadSound(int id) = 0;
    // This manager's effects volume, linear 0..1; every live instance follows at once.
    virtual void SetVolume(double volume) = 0;
    virtual bool SetDefaultVolume(int id, double volume) = 0;
    virtual bool SetDefaultPan(int id, int pan) = 0;
    // A new live instance, owned by the manager; null for an empty or invalid id or when all 32 slots are taken.
    virtual SoundInstance* MakeInstance(int id) = 0;
    virtual void UnloadAllSounds() = 0;
    virtual void DeleteAllInstances() = 0;
    // The output's master level 0..1, shared by everything that plays through the same mixer.
    virtual double GetSystemVolume() = 0;
    virtual void SetSystemVolume(double volume) = 0;
    virtual void Idle() = 0;
    // Kept for callers that re-bind after recreating their window; the mixer output does not depend on it.
    virtual void BindWindow(Platform* platform, bool isWindowed) = 0;
    // Stops every live instance, keeping each one's autoFree so finished one-shots are collected as usual.
    virtual void StopAllSounds() = 0;
    // Lowest id without a sound; -1 when all 256 are used.
    virtual int FindFreeId() = 0;
    virtual int CountSounds() = 0;
};

} // namespace Zestra
