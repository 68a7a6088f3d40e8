// The knee is a tanh segment fitted to the straight line at kKnee (same value, same slope), which keeps the
// limited sum free of the harsh corners a hard clip makes.
#include "framework/sound/SoftLimiter.h"

#include <cmath>

namespace Zestra
{

float SoftLimiter::Apply(float sample)
{
    const float magnitude = std::fabs(sample);
    if (!(magnitude > kKnee)) // NaN falls through here and is silenced below
        return std::isnan(sample) ? 0.0f : sample;
    constexpr float range = kCeiling - kKnee;
    const float limited = kKnee + range * std::tanh((magnitude - kKnee) / range);
    return sample < 0 ? -limited : limited;
}

} // namespace Zestra
