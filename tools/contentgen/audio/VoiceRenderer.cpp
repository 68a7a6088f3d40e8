#include "tools/contentgen/audio/VoiceRenderer.h"

#include <algorithm>
#include <cmath>

namespace AudioGen
{

namespace
{

struct Vowel
{
    double f1, f2, f3;
};

// Rough adult formants of a, e, i, o, u and a schwa.
const Vowel kVowels[] = {{750, 1200, 2600}, {500, 1850, 2550}, {300, 2250, 3000},
                         {480, 900, 2500},  {320, 800, 2400},  {520, 1400, 2500}};

struct Syllable
{
    double length;  // seconds of the vowel
    double pitch;   // relative to the speaking pitch at the syllable's start ...
    double pitchTo; // ... and at its end
    double loudness;
};

std::vector<Syllable> Phrase(Mood mood, Rng& rng)
{
    std::vector<Syllable> s;
    switch (mood)
    {
    case Mood::Hello:
        s = {{0.10, 1.00, 1.15, 0.8}, {0.13, 1.20, 1.05, 1.0}, {0.20, 1.00, 0.85, 0.85}};
        break;
    case Mood::Happy:
        s = {{0.09, 1.20, 1.30, 0.9}, {0.08, 1.10, 1.25, 0.85}, {0.09, 1.30, 1.40, 0.95}, {0.22, 1.35, 1.70, 1.0}};
        break;
    case Mood::Angry:
        s = {{0.09, 0.95, 1.00, 1.0}, {0.11, 1.05, 0.90, 1.0}, {0.18, 0.90, 0.65, 0.95}};
        break;
    }
    // A little variation per character so two people with the same pitch still speak differently.
    for (Syllable& x : s)
    {
        x.length *= rng.Range(0.85, 1.2);
        x.pitch *= rng.Range(0.96, 1.04);
        x.pitchTo *= rng.Range(0.96, 1.04);
    }
    return s;
}

} // namespace

const char* MoodFileName(Mood mood)
{
    switch (mood)
    {
    case Mood::Hello:
        return "Hello";
    case Mood::Happy:
        return "Happy";
    case Mood::Angry:
        return "Angry";
    }
    return "Hello";
}

std::vector<float> RenderVoice(const VoiceRecipe& voice, Mood mood)
{
    Rng rng(voice.seed * 2654435761u + static_cast<uint32_t>(mood) * 40503u + 17u);
    const std::vector<Syllable> phrase = Phrase(mood, rng);
    const double pace = 1.0 / voice.rate * (mood == Mood::Angry ? 0.85 : 1.0);
    const double edge = mood == Mood::Angry ? 0.35 + voice.rasp : voice.rasp;

    std::vector<float> out;
    out.reserve(kSampleRate);
    double phase = 0;
    // Silence lead-in keeps the first consonant from starting on a step.
    out.resize(kSampleRate / 100, 0.0f);
    for (size_t k = 0; k < phrase.size(); ++k)
    {
        const Syllable& syl = phrase[k];
        // Consonant: a short band of hiss (s, sh, f) or a soft stop, chosen per syllable.
        const bool hiss = rng.Uniform() < 0.5;
        const double consonant = (hiss ? 0.05 : 0.025) * pace;
        Biquad cband;
        cband.BandPass(hiss ? rng.Range(2500, 6000) * voice.formant : rng.Range(900, 1800), hiss ? 2.0 : 1.0);
        const size_t cn = static_cast<size_t>(consonant * kSampleRate);
        for (size_t i = 0; i < cn; ++i)
        {
            const double t = static_cast<double>(i) / kSampleRate;
            out.push_back(static_cast<float>(cband.Process(rng.Signed()) * Envelope(t, consonant, consonant * 0.3, 0) *
                                             (hiss ? 0.35 : 0.6) * syl.loudness));
        }

        // Vowel: buzz through three formant resonators that glide from this vowel towards the next.
        const Vowel& a = kVowels[rng.Next() % 6];
        const Vowel& b = kVowels[rng.Next() % 6];
        const double length = syl.length * pace;
        const size_t vn = static_cast<size_t>(length * kSampleRate);
        Biquad f1, f2, f3;
        for (size_t i = 0; i < vn; ++i)
        {
            const double t = static_cast<double>(i) / kSampleRate;
            const double u = static_cast<double>(i) / std::max<size_t>(1, vn - 1);
            if (i % 32 == 0)
            {
                const double glide = u * 0.6;
                f1.BandPass((a.f1 + (b.f1 - a.f1) * glide) * voice.formant, 6);
                f2.BandPass((a.f2 + (b.f2 - a.f2) * glide) * voice.formant, 8);
                f3.BandPass((a.f3 + (b.f3 - a.f3) * glide) * voice.formant, 10);
            }
            const double pitch = voice.pitch * (syl.pitch + (syl.pitchTo - syl.pitch) * u) *
                                 (1.0 + 0.012 * std::sin(2 * kPi * 5.5 * t)) * (1.0 + edge * 0.03 * rng.Signed());
            phase += pitch / kSampleRate;
            phase -= std::floor(phase);
            // Glottal buzz: harmonics up to about 4 kHz falling off as 1/k.
            double buzz = 0;
            const int harmonics = std::clamp(static_cast<int>(4000.0 / pitch), 4, 40);
            for (int h = 1; h <= harmonics; ++h)
                buzz += std::sin(2 * kPi * h * phase) / h;
            buzz += voice.breath * rng.Signed() * 2.0;
            double s = f1.Process(buzz) * 1.0 + f2.Process(buzz) * 0.7 + f3.Process(buzz) * 0.35;
            if (edge > 0)
                s = std::tanh(s * (1.0 + edge * 4.0)) / (1.0 + edge);
            out.push_back(static_cast<float>(s * Envelope(t, length, 0.015, 0) * syl.loudness));
        }
        // A breath between words.
        const size_t gap =
            static_cast<size_t>((k + 1 == phrase.size() ? 0.04 : 0.03 * rng.Range(0.5, 1.5)) * pace * kSampleRate);
        out.insert(out.end(), gap, 0.0f);
    }
    Normalize(out, mood == Mood::Angry ? 0.9 : 0.8);
    return out;
}

} // namespace AudioGen
