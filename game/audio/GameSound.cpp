#include "game/audio/GameSound.h"

#include <utility>

namespace
{
std::function<void(int)> gSoundSink;
std::function<void(VoiceId)> gVoiceSink;
} // namespace

void PlayGameSound(int soundId)
{
    if (soundId >= 0 && gSoundSink)
        gSoundSink(soundId);
}

void PlayGameVoice(VoiceId voice)
{
    if (voice.IsValid() && gVoiceSink)
        gVoiceSink(voice);
}

void SetGameSoundSink(std::function<void(int)> sink)
{
    gSoundSink = std::move(sink);
}

void SetGameVoiceSink(std::function<void(VoiceId)> sink)
{
    gVoiceSink = std::move(sink);
}
