// Sound effects of the scene go through one sink that the application installs (its PlaySound); without a sink
// they are silent, which is what headless tests and tools want. Ids below 0 (an unbound sound) are ignored.
#pragma once

#include <functional>

void PlayGameSound(int soundId);
// Replaces the sink; an empty function silences every sound.
void SetGameSoundSink(std::function<void(int)> sink);
