// What the options dialog needs of the application beyond the framework's volumes: the voices' own level and a
// way to play one voice as a sample. The game application provides it.
#pragma once

#include "game/data/VoiceId.h"

class VoiceHost
{
public:
    virtual ~VoiceHost() = default;
    virtual double GetVoiceVolume() const = 0;
    virtual void SetVoiceVolume(double volume) = 0;
    // Plays a voice once; a missing voice is ignored.
    virtual void PlayVoice(VoiceId voice) = 0;
};
