#include "tools/contentgen/audio/Synth.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace AudioGen
{

uint32_t Rng::Next()
{
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return mState;
}

double Rng::Uniform()
{
    return (Next() >> 8) * (1.0 / 16777216.0);
}

bool ParseWave(const std::string& name, Wave& out)
{
    static const struct
    {
        const char* name;
        Wave wave;
    } kWaves[] = {{"sine", Wave::Sine},
                  {"triangle", Wave::Triangle},
                  {"square", Wave::Square},
                  {"saw", Wave::Saw},
                  {"noise", Wave::Noise}};
    for (const auto& w : kWaves)
    {
        if (name == w.name)
        {
            out = w.wave;
            return true;
        }
    }
    return false;
}

namespace
{

// One cycle of each smooth wave, sampled finely enough that linear interpolation stays far below the
// noise floor of the encoded files; summing the harmonics per sample made songs slow to render.
constexpr int kTableSize = 4096;

struct WaveTables
{
    std::vector<float> sine, square, saw;

    WaveTables() : sine(kTableSize + 1), square(kTableSize + 1), saw(kTableSize + 1)
    {
        for (int i = 0; i <= kTableSize; ++i)
        {
            const double p = static_cast<double>(i) / kTableSize;
            sine[i] = static_cast<float>(std::sin(2 * kPi * p));
            // A few odd harmonics instead of a hard edge: rounder, and no aliasing at high notes.
            square[i] = static_cast<float>((std::sin(2 * kPi * p) + std::sin(6 * kPi * p) / 3 +
                                            std::sin(10 * kPi * p) / 5 + std::sin(14 * kPi * p) / 7) *
                                           0.9);
            double sw = 0;
            for (int k = 1; k <= 8; ++k)
                sw += std::sin(2 * kPi * k * p) / k;
            saw[i] = static_cast<float>(sw * 0.55);
        }
    }
};

const WaveTables& Tables()
{
    static const WaveTables tables; // immutable once built
    return tables;
}

double Lookup(const std::vector<float>& table, double phase)
{
    const double x = phase * kTableSize;
    const int i = static_cast<int>(x);
    const double f = x - i;
    return table[i] + (table[i + 1] - table[i]) * f;
}

} // namespace

double WaveSample(Wave wave, double phase)
{
    phase -= std::floor(phase);
    switch (wave)
    {
    case Wave::Sine:
        return Lookup(Tables().sine, phase);
    case Wave::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Square:
        return Lookup(Tables().square, phase);
    case Wave::Saw:
        return Lookup(Tables().saw, phase);
    case Wave::Noise:
        return 0; // noise needs state; layers draw it from their Rng
    }
    return 0;
}

void Biquad::Set(double b0, double b1, double b2, double a0, double a1, double a2)
{
    mB0 = b0 / a0;
    mB1 = b1 / a0;
    mB2 = b2 / a0;
    mA1 = a1 / a0;
    mA2 = a2 / a0;
}

void Biquad::LowPass(double freq, double q)
{
    freq = std::clamp(freq, 10.0, kSampleRate * 0.45);
    double w = 2 * kPi * freq / kSampleRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    Set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::HighPass(double freq, double q)
{
    freq = std::clamp(freq, 10.0, kSampleRate * 0.45);
    double w = 2 * kPi * freq / kSampleRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    Set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::BandPass(double freq, double q)
{
    freq = std::clamp(freq, 10.0, kSampleRate * 0.45);
    double w = 2 * kPi * freq / kSampleRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    Set(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

double Biquad::Process(double x)
{
    double y = mB0 * x + mB1 * mX1 + mB2 * mX2 - mA1 * mY1 - mA2 * mY2;
    mX2 = mX1;
    mX1 = x;
    mY2 = mY1;
    mY1 = y;
    return y;
}

double Envelope(double t, double length, double attack, double decay)
{
    if (t < 0 || t >= length)
        return 0;
    double e = attack > 0 && t < attack ? t / attack : 1.0;
    if (decay > 0)
        e *= std::exp(-std::max(0.0, t - attack) / decay);
    const double fade = std::min(0.004, length * 0.25);
    if (length - t < fade)
        e *= (length - t) / fade;
    return e;
}

bool NoteToMidi(const std::string& name, int& midi)
{
    static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.size() < 2)
        return false;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G')
        return false;
    int semi = kSemis[letter - 'A'];
    size_t i = 1;
    while (i < name.size() && (name[i] == '#' || name[i] == 'b'))
        semi += name[i++] == '#' ? 1 : -1;
    if (i >= name.size())
        return false;
    int octave = 0;
    bool negative = false;
    if (name[i] == '-')
    {
        negative = true;
        ++i;
    }
    if (i >= name.size() || i + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[i])))
        return false;
    octave = name[i] - '0';
    if (negative)
        octave = -octave;
    midi = (octave + 1) * 12 + semi;
    return true;
}

bool NoteToHz(const std::string& name, double& hz)
{
    int midi = 0;
    if (!NoteToMidi(name, midi))
        return false;
    hz = MidiToHz(midi);
    return true;
}

double MidiToHz(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

void Normalize(std::vector<float>& samples, double peak)
{
    float top = 0;
    for (float s : samples)
        top = std::max(top, std::fabs(s));
    if (top <= 0)
        return;
    const float gain = static_cast<float>(peak / top);
    for (float& s : samples)
        s *= gain;
}

} // namespace AudioGen
