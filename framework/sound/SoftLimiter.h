// The mixer's output stage: a soft-knee limiter over samples in full-scale units (1.0 is the largest 16-bit
// sample). Below the knee a sample passes unchanged; above it the curve bends smoothly (its slope is 1 at the
// knee and falls towards 0) towards a ceiling under full scale, so a loud sum is squeezed instead of clipped and
// no output sample ever reaches full scale. The curve is odd and strictly increasing: louder in, louder out.
#pragma once

namespace Zestra
{

class SoftLimiter
{
public:
    static constexpr float kKnee = 0.5f;     // -6 dBFS: below it nothing changes
    static constexpr float kCeiling = 0.97f; // about -0.26 dBFS: approached, never reached

    static float Apply(float sample);
};

} // namespace Zestra
