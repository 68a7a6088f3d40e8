// The mixer's output curve: transparent below the knee, smooth above it, never at full scale, and order-keeping.
#include "framework/sound/SoftLimiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Zestra;

namespace
{
// The largest 16-bit sample, in the limiter's full-scale units.
constexpr float kLargestSample = 32767.0f / 32768.0f;
} // namespace

TEST(SoftLimiter, QuietSamplesPassUnchanged)
{
    for (float sample : {0.0f, 0.001f, 0.1f, 0.3f, 0.49f, SoftLimiter::kKnee, -0.25f, -SoftLimiter::kKnee})
        EXPECT_NEAR(SoftLimiter::Apply(sample), sample, 1e-7f) << sample;
}

TEST(SoftLimiter, LoudSamplesStayUnderFullScaleAndKeepTheirSign)
{
    const float inf = std::numeric_limits<float>::infinity();
    // Just past the knee, full scale, a few voices at full scale, all 128 of them, and beyond.
    for (float sample : {0.51f, 0.75f, 1.0f, 2.0f, 4.0f, 128.0f, 1e30f, inf})
    {
        for (float signedSample : {sample, -sample})
        {
            const float out = SoftLimiter::Apply(signedSample);
            EXPECT_LT(std::fabs(out), kLargestSample) << signedSample;
            EXPECT_LE(std::fabs(out), SoftLimiter::kCeiling) << signedSample;
            EXPECT_GT(std::fabs(out), SoftLimiter::kKnee) << signedSample;
            EXPECT_EQ(out < 0, signedSample < 0) << signedSample;
        }
    }
    EXPECT_EQ(SoftLimiter::Apply(std::nanf("")), 0.0f);
}

TEST(SoftLimiter, IsMonotonicAndBendsWithoutACorner)
{
    const float step = 1.0f / 4096;
    float previous = SoftLimiter::Apply(-4.0f - step);
    float previousSlope = (SoftLimiter::Apply(-4.0f) - previous) / step;
    for (float x = -4.0f; x <= 4.0f; x += step)
    {
        const float out = SoftLimiter::Apply(x);
        // Strictly increasing wherever float precision can still tell neighbours apart.
        if (std::fabs(x) < 2.0f)
            EXPECT_GT(out, previous) << x;
        else
            EXPECT_GE(out, previous) << x;
        // The slope never jumps: at the knee it goes on at 1 and then falls off gradually.
        const float slope = (out - previous) / step;
        EXPECT_NEAR(slope, previousSlope, 0.01f) << x;
        EXPECT_LE(slope, 1.0f + 1e-3f) << x;
        previous = out;
        previousSlope = slope;
    }
}
