#pragma once
// Renders a sound-effect recipe to mono samples at 44.1 kHz, normalised to the recipe's peak.

#include "tools/contentgen/audio/AudioRecipe.h"

#include <vector>

namespace AudioGen
{

std::vector<float> RenderEffect(const EffectRecipe& recipe);

} // namespace AudioGen
