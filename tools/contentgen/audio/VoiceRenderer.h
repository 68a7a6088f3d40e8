#pragma once
// Synthesised character voices: short gibberish phrases made of consonant noise and vowels shaped by
// formant filters over a pitched glottal buzz. Each character has its own pitch, head size (formant
// scale), pace and seed; the three moods change the melody of the phrase, its pace and its edge.

#include "tools/contentgen/audio/AudioRecipe.h"

#include <vector>

namespace AudioGen
{

enum class Mood
{
    Hello, // friendly greeting: rise, then settle
    Happy, // bright and bouncy, ending high
    Angry  // low, loud and clipped, falling
};

const char* MoodFileName(Mood mood); // "Hello", "Happy", "Angry"

std::vector<float> RenderVoice(const VoiceRecipe& voice, Mood mood);

} // namespace AudioGen
