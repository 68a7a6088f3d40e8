#pragma once
// Renders a song recipe to 44.1 kHz stereo. The song is rendered once with a few seconds of tail (notes
// ringing on, echoes), and that tail is added back onto the start, so the last sample flows straight into
// the first and the song loops without a seam.

#include "tools/contentgen/audio/AudioRecipe.h"

#include <vector>

namespace AudioGen
{

struct StereoBuffer
{
    std::vector<float> left, right;
    size_t Frames() const { return left.size(); }
};

// With foldTail false the tail is simply cut off (used to show what the fold prevents).
StereoBuffer RenderSong(const SongRecipe& song, bool foldTail = true);

// Largest jump between one frame and the next, across both channels, including the wrap from the last
// frame to the first (`wrap` true) or not.
double LargestStep(const StereoBuffer& buffer, bool wrap);
// Jump from the last frame to the first, the larger of both channels.
double SeamStep(const StereoBuffer& buffer);
// Mean absolute frame-to-frame step, both channels.
double MeanStep(const StereoBuffer& buffer);

} // namespace AudioGen
