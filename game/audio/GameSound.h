// Sounds of the scene go through two sinks that the application installs: effects to the effects' sound manager
// (its PlaySound), people's voices to the voices' own manager (its PlayVoice), each at its own volume. Without a
// sink they are silent, which is what headless tests and tools want. Missing sounds and voices are ignored.
#pragma once

#include "game/data/VoiceId.h"

#include <functional>

// soundId below 0 (an unbound sound) plays nothing.
void PlayGameSound(int soundId);
void PlayGameVoice(VoiceId voice);
// Replace the sinks; an empty function silences them.
void SetGameSoundSink(std::function<void(int)> sink);
void SetGameVoiceSink(std::function<void(VoiceId)> sink);
