#pragma once
// Small signal-processing kit of the audio generator: a seeded noise source, oscillators, envelopes and
// filters. Everything is plain arithmetic on floats with no clock or global state, so the same recipe
// always renders the same samples.

#include <cstdint>
#include <string>
#include <vector>

namespace AudioGen
{

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// xorshift32: tiny, fast and identical on every platform (std::mt19937 distributions are not).
class Rng
{
public:
    explicit Rng(uint32_t seed) : mState(seed ? seed : 0x9e3779b9u) {}
    uint32_t Next();
    double Uniform();                                 // [0, 1)
    double Signed() { return Uniform() * 2.0 - 1.0; } // [-1, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint32_t mState;
};

enum class Wave
{
    Sine,
    Triangle,
    Square,
    Saw,
    Noise
};

// Parses "sine", "triangle", "square", "saw" or "noise"; false for anything else.
bool ParseWave(const std::string& name, Wave& out);

// One sample of a periodic wave at phase in cycles [0, 1). Square and saw are softened a little so
// that high notes do not alias into harsh whistles.
double WaveSample(Wave wave, double phase);

// RBJ biquad; coefficients are set once per note or layer.
class Biquad
{
public:
    void LowPass(double freq, double q);
    void HighPass(double freq, double q);
    void BandPass(double freq, double q); // unity gain at the centre
    double Process(double x);

private:
    void Set(double b0, double b1, double b2, double a0, double a1, double a2);
    double mB0 = 1, mB1 = 0, mB2 = 0, mA1 = 0, mA2 = 0;
    double mX1 = 0, mX2 = 0, mY1 = 0, mY2 = 0;
};

// Attack (linear), then exponential decay with time constant `decay` seconds, cut to zero over the last
// few milliseconds of `length` so a layer never ends on a step.
double Envelope(double t, double length, double attack, double decay);

// Note names such as "C4", "F#3", "Bb5" to Hz (A4 = 440); false when malformed.
bool NoteToHz(const std::string& name, double& hz);
// Same, as a MIDI note number.
bool NoteToMidi(const std::string& name, int& midi);
double MidiToHz(double midi);

// Scales the buffer so its peak is `peak` (no change for silence).
void Normalize(std::vector<float>& samples, double peak);

} // namespace AudioGen
