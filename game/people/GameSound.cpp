#include "game/people/GameSound.h"

#include <utility>

namespace
{
std::function<void(int)> gSoundSink;
} // namespace

void PlayGameSound(int soundId)
{
    if (soundId >= 0 && gSoundSink)
        gSoundSink(soundId);
}

void SetGameSoundSink(std::function<void(int)> sink)
{
    gSoundSink = std::move(sink);
}
