#include "tools/contentgen/audio/EffectRenderer.h"

#include <algorithm>
#include <cmath>

namespace AudioGen
{

namespace
{

// Adds one play of a layer starting at sample `start`, pitch shifted by `semis`.
void AddLayer(const EffectLayer& layer, double semis, double gain, uint32_t seed, std::vector<float>& out)
{
    const size_t start = static_cast<size_t>(layer.at * kSampleRate);
    const size_t count = static_cast<size_t>(layer.length * kSampleRate);
    const double shift = std::pow(2.0, semis / 12.0);
    const double f0 = layer.freq * shift;
    const double f1 = (layer.freqTo > 0 ? layer.freqTo : layer.freq) * shift;
    Rng rng(seed);
    Biquad low, high, band;
    if (layer.lowPass > 0)
        low.LowPass(layer.lowPass, 0.707);
    if (layer.highPass > 0)
        high.HighPass(layer.highPass, 0.707);
    const double bandFrom = layer.bandPass, bandTo = layer.bandPassTo > 0 ? layer.bandPassTo : layer.bandPass;

    // Bursts: claps at random times, each with its own band, so a crowd never sounds like a loop.
    struct Clap
    {
        size_t at;
        double gain;
        Biquad band;
    };
    std::vector<Clap> claps;
    if (layer.kind == LayerKind::Bursts)
    {
        for (int i = 0; i < layer.count; ++i)
        {
            Clap c;
            c.at = static_cast<size_t>(rng.Uniform() * std::max(0.0, layer.length - layer.burst) * kSampleRate);
            c.gain = rng.Range(0.4, 1.0);
            c.band.BandPass(rng.Range(std::max(200.0, bandFrom * 0.6), std::max(400.0, bandTo * 1.4)), 1.2);
            claps.push_back(c);
        }
    }
    const size_t clapLength = static_cast<size_t>(layer.burst * kSampleRate);

    double phase = 0;
    for (size_t i = 0; i < count && start + i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        const double u = count > 1 ? static_cast<double>(i) / (count - 1) : 0.0;
        double s = 0;
        switch (layer.kind)
        {
        case LayerKind::Tone:
        {
            // Exponential glide sounds even to the ear; vibrato is relative to the pitch.
            double f = f0 * std::pow(f1 / f0, u);
            f *= 1.0 + layer.vibrato * std::sin(2 * kPi * layer.vibratoRate * t);
            phase += f / kSampleRate;
            s = layer.wave == Wave::Noise ? rng.Signed() : WaveSample(layer.wave, phase);
            break;
        }
        case LayerKind::Bell:
        {
            static const double kRatios[] = {1.0, 2.76, 5.40, 8.93};
            static const double kGains[] = {1.0, 0.5, 0.25, 0.12};
            for (int p = 0; p < 4; ++p)
            {
                const double pd = layer.decay > 0 ? layer.decay / (1.0 + p * 1.5) : 1e9;
                s += kGains[p] * std::exp(-t / pd) * std::sin(2 * kPi * f0 * kRatios[p] * t);
            }
            s *= 0.6;
            break;
        }
        case LayerKind::Noise:
        {
            s = rng.Signed();
            if (bandFrom > 0)
            {
                // Re-tune the band every 64 samples: smooth enough for sweeps, cheap enough for long ones.
                if (i % 64 == 0)
                    band.BandPass(bandFrom * std::pow(bandTo / bandFrom, u), layer.q);
                s = band.Process(s) * std::sqrt(layer.q);
            }
            break;
        }
        case LayerKind::Bursts:
        {
            for (Clap& c : claps)
            {
                if (i >= c.at && i < c.at + clapLength)
                {
                    const double ct = static_cast<double>(i - c.at) / clapLength;
                    s += c.band.Process(rng.Signed()) * c.gain * std::exp(-ct * 5.0) * 2.0;
                }
            }
            break;
        }
        }
        if (layer.lowPass > 0)
            s = low.Process(s);
        if (layer.highPass > 0)
            s = high.Process(s);
        const double env = layer.kind == LayerKind::Bell ? Envelope(t, layer.length, layer.attack, 0)
                                                         : Envelope(t, layer.length, layer.attack, layer.decay);
        out[start + i] += static_cast<float>(s * env * gain);
    }
}

} // namespace

std::vector<float> RenderEffect(const EffectRecipe& recipe)
{
    std::vector<float> out(static_cast<size_t>(recipe.length * kSampleRate), 0.0f);
    for (size_t l = 0; l < recipe.layers.size(); ++l)
    {
        const EffectLayer& layer = recipe.layers[l];
        double gain = layer.gain;
        for (int k = 0; k < layer.repeat; ++k)
        {
            EffectLayer shifted = layer;
            shifted.at = layer.at + k * layer.every;
            AddLayer(shifted, layer.step * k, gain, layer.seed * 7919u + static_cast<uint32_t>(k) * 104729u + 1u, out);
            gain *= layer.gainStep;
        }
    }
    // A few milliseconds of fade at both ends: effects start and stop without a click.
    const size_t fade = std::min<size_t>(out.size() / 4, kSampleRate / 250);
    for (size_t i = 0; i < fade; ++i)
    {
        const float g = static_cast<float>(i) / fade;
        out[out.size() - 1 - i] *= g;
    }
    Normalize(out, recipe.peak);
    return out;
}

} // namespace AudioGen
