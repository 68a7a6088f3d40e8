// What the options dialog needs of the application beyond the framework's volumes: the voices' own level and a
// way to play one voice as a sample. The game application provides it.
#pragma once

class VoiceHost
{
public:
    virtual ~VoiceHost() = default;
    virtual double GetVoiceVolume() const = 0;
    virtual void SetVoiceVolume(double volume) = 0;
    // Plays a voice once; ids below 0 (a missing voice) are ignored.
    virtual void PlayVoice(int id) = 0;
};
