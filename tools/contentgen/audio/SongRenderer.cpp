#include "tools/contentgen/audio/SongRenderer.h"

#include <algorithm>
#include <cmath>

namespace AudioGen
{

namespace
{

constexpr double kTailSeconds = 4.0;

struct Bus
{
    std::vector<float> samples;
    const Instrument* instrument = nullptr;
};

double NoteEnvelope(double t, double held, const Instrument& inst)
{
    if (t < 0)
        return 0;
    double e = inst.attack > 0 && t < inst.attack ? t / inst.attack : 1.0;
    if (inst.decay > 0)
        e *= 0.35 + 0.65 * std::exp(-std::max(0.0, t - inst.attack) / inst.decay);
    if (t > held)
        e *= std::exp(-(t - held) / inst.release);
    return e;
}

// Adds one note of an instrument to a bus, starting at `start` seconds and held for `held` seconds.
void AddNote(Bus& bus, const Instrument& inst, double midi, double start, double held)
{
    const double freq = MidiToHz(midi);
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>((held + inst.release * 6) * kSampleRate);
    Biquad low;
    if (inst.lowPass > 0)
        low.LowPass(inst.lowPass, 0.8);
    double phaseA = 0, phaseB = 0.37;
    for (size_t i = 0; i < count && first + i < bus.samples.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        double f = freq;
        if (inst.vibrato > 0 && t > 0.15)
            f *= 1.0 + inst.vibrato * std::sin(2 * kPi * 5.0 * t);
        phaseA += f * (1.0 + inst.detune) / kSampleRate;
        phaseB += f * (1.0 - inst.detune) / kSampleRate;
        phaseA -= std::floor(phaseA);
        phaseB -= std::floor(phaseB);
        double s = WaveSample(inst.wave, phaseA);
        if (inst.detune > 0)
            s = 0.5 * (s + WaveSample(inst.wave, phaseB));
        if (inst.lowPass > 0)
            s = low.Process(s);
        bus.samples[first + i] += static_cast<float>(s * NoteEnvelope(t, held, inst) * inst.gain);
    }
}

void AddDrum(Bus& bus, const std::string& kind, double start, double gain, Rng& rng)
{
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const double length = kind == "kick" ? 0.35 : kind == "snare" ? 0.22 : 0.06;
    const size_t count = static_cast<size_t>(length * kSampleRate);
    Biquad band, high;
    band.BandPass(1800, 0.9);
    high.HighPass(7000, 0.7);
    double phase = 0;
    for (size_t i = 0; i < count && first + i < bus.samples.size(); ++i)
    {
        const double t = static_cast<double>(i) / kSampleRate;
        double s = 0;
        if (kind == "kick")
        {
            // Pitch drops from a knock to a low thump.
            const double f = 45 + 95 * std::exp(-t / 0.03);
            phase += f / kSampleRate;
            s = std::sin(2 * kPi * phase) * Envelope(t, length, 0.001, 0.12);
        }
        else if (kind == "snare")
        {
            phase += 190.0 / kSampleRate;
            s = band.Process(rng.Signed()) * 1.6 * Envelope(t, length, 0.001, 0.06) +
                std::sin(2 * kPi * phase) * 0.5 * Envelope(t, length, 0.001, 0.04);
        }
        else
        {
            s = high.Process(rng.Signed()) * Envelope(t, length, 0.001, 0.015);
        }
        bus.samples[first + i] += static_cast<float>(s * gain);
    }
}

// A feedback delay of three eighths: gives the lead some room without a reverb.
void AddEcho(std::vector<float>& samples, double amount, double eighth)
{
    if (amount <= 0)
        return;
    const size_t delay = static_cast<size_t>(3 * eighth * kSampleRate);
    for (size_t i = delay; i < samples.size(); ++i)
        samples[i] += static_cast<float>(samples[i - delay] * amount);
}

int ChordTone(const Chord& chord, char symbol)
{
    const auto& iv = chord.intervals;
    switch (symbol)
    {
    case '1':
    case 'x':
        return iv[0];
    case '3':
        return iv.size() > 1 ? iv[1] : 4;
    case '5':
        return iv.size() > 2 ? iv[2] : 7;
    case '7':
        return iv.size() > 3 ? iv[3] : 12;
    case '8':
    case 'o':
        return 12;
    default:
        return iv[0];
    }
}

} // namespace

StereoBuffer RenderSong(const SongRecipe& song, bool foldTail)
{
    const double eighth = 30.0 / song.tempo;
    const int bars = song.Bars();
    const size_t loopFrames = static_cast<size_t>(std::llround(bars * 8 * eighth * kSampleRate));
    if (loopFrames == 0)
        return {}; // a song without bars has nothing to loop
    const size_t totalFrames = loopFrames + static_cast<size_t>(kTailSeconds * kSampleRate);

    std::map<std::string, Bus> buses;
    for (const auto& [name, inst] : song.instruments)
    {
        buses[name].samples.assign(totalFrames, 0.0f);
        buses[name].instrument = &inst;
    }
    auto has = [&](const char* name) { return song.instruments.count(name) != 0; };
    auto stepTime = [&](double step)
    {
        // Swing delays the off-beat eighths.
        const double whole = std::floor(step);
        const bool off = static_cast<long long>(whole) % 2 == 1;
        return (step + (off ? song.swing : 0.0)) * eighth;
    };

    // Melody and counter melody: a note lasts through its "-" steps, also across section ends.
    std::vector<std::string> melody, counter;
    std::vector<const SongSection*> barSections;
    std::vector<Chord> barChords;
    for (const auto& name : song.form)
    {
        auto it = song.sections.find(name);
        if (it == song.sections.end())
            continue;
        const SongSection& s = it->second;
        melody.insert(melody.end(), s.melody.begin(), s.melody.end());
        if (s.counter.empty())
            counter.insert(counter.end(), s.chords.size() * 8, ".");
        else
            counter.insert(counter.end(), s.counter.begin(), s.counter.end());
        for (const Chord& c : s.chords)
        {
            barChords.push_back(c);
            barSections.push_back(&s);
        }
    }
    auto playLine = [&](const std::vector<std::string>& line, const char* name)
    {
        if (!has(name))
            return;
        const Instrument& inst = song.instruments.at(name);
        for (size_t i = 0; i < line.size(); ++i)
        {
            int midi = 0;
            if (!NoteToMidi(line[i], midi))
                continue;
            size_t holds = 1;
            while (i + holds < line.size() && line[i + holds] == "-")
                ++holds;
            const double start = stepTime(static_cast<double>(i));
            AddNote(buses[name], inst, midi + song.transpose + 12 * inst.octave, start, holds * eighth * 0.92);
        }
    };
    playLine(melody, "lead");
    playLine(counter, "counter");

    Rng rng(0x5eed1234u ^ static_cast<uint32_t>(song.name.size() * 2654435761u));
    for (size_t bar = 0; bar < barChords.size(); ++bar)
    {
        const Chord& chord = barChords[bar];
        const int root = chord.root + song.transpose;
        if (has("pad"))
        {
            const Instrument& inst = song.instruments.at("pad");
            for (int iv : chord.intervals)
                AddNote(buses["pad"], inst, root + 12 + iv + 12 * inst.octave, bar * 8 * eighth, 8 * eighth * 0.98);
        }
        for (const char* name : {"bass", "arp"})
        {
            if (!has(name))
                continue;
            const Instrument& inst = song.instruments.at(name);
            const int base = std::string(name) == "bass" ? root - 12 : root + 12;
            for (size_t k = 0; k < 8 && k < inst.pattern.size(); ++k)
            {
                const char sym = inst.pattern[k];
                if (sym == '.' || sym == '-')
                    continue;
                size_t holds = 1;
                while (k + holds < inst.pattern.size() && inst.pattern[k + holds] == '-')
                    ++holds;
                AddNote(buses[name], inst, base + ChordTone(chord, sym) + 12 * inst.octave,
                        stepTime(static_cast<double>(bar * 8 + k)), holds * eighth * 0.85);
            }
        }
        if (!barSections[bar]->drums)
            continue;
        for (const char* name : {"kick", "snare", "hat"})
        {
            if (!has(name))
                continue;
            const Instrument& inst = song.instruments.at(name);
            for (size_t k = 0; k < 16 && k < inst.pattern.size(); ++k)
            {
                const char sym = inst.pattern[k];
                if (sym != 'x' && sym != 'o')
                    continue;
                AddDrum(buses[name], name, stepTime(bar * 8 + k * 0.5), inst.gain * (sym == 'x' ? 1.0 : 0.5), rng);
            }
        }
    }

    StereoBuffer out;
    out.left.assign(totalFrames, 0.0f);
    out.right.assign(totalFrames, 0.0f);
    for (auto& [name, bus] : buses)
    {
        AddEcho(bus.samples, bus.instrument->echo, eighth);
        // Constant-power pan.
        const double angle = (bus.instrument->pan + 1.0) * kPi / 4.0;
        const float gl = static_cast<float>(std::cos(angle) * std::sqrt(2.0));
        const float gr = static_cast<float>(std::sin(angle) * std::sqrt(2.0));
        for (size_t i = 0; i < totalFrames; ++i)
        {
            out.left[i] += bus.samples[i] * gl;
            out.right[i] += bus.samples[i] * gr;
        }
    }
    if (foldTail)
    {
        // What rings past the loop end belongs at the loop start, where the next pass begins.
        for (size_t i = loopFrames; i < totalFrames; ++i)
        {
            out.left[(i - loopFrames) % loopFrames] += out.left[i];
            out.right[(i - loopFrames) % loopFrames] += out.right[i];
        }
    }
    out.left.resize(loopFrames);
    out.right.resize(loopFrames);

    float peak = 0;
    for (size_t i = 0; i < loopFrames; ++i)
        peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
    if (peak > 0)
    {
        const float gain = 0.85f / peak;
        for (size_t i = 0; i < loopFrames; ++i)
        {
            out.left[i] *= gain;
            out.right[i] *= gain;
        }
    }
    return out;
}

double LargestStep(const StereoBuffer& buffer, bool wrap)
{
    double largest = 0;
    const size_t n = buffer.Frames();
    for (size_t i = 1; i < n; ++i)
    {
        largest = std::max({largest, static_cast<double>(std::fabs(buffer.left[i] - buffer.left[i - 1])),
                            static_cast<double>(std::fabs(buffer.right[i] - buffer.right[i - 1]))});
    }
    if (wrap && n > 1)
        largest = std::max(largest, SeamStep(buffer));
    return largest;
}

double SeamStep(const StereoBuffer& buffer)
{
    const size_t n = buffer.Frames();
    if (n < 2)
        return 0;
    return std::max(std::fabs(buffer.left[0] - buffer.left[n - 1]), std::fabs(buffer.right[0] - buffer.right[n - 1]));
}

double MeanStep(const StereoBuffer& buffer)
{
    const size_t n = buffer.Frames();
    if (n < 2)
        return 0;
    double sum = 0;
    for (size_t i = 1; i < n; ++i)
        sum += std::fabs(buffer.left[i] - buffer.left[i - 1]) + std::fabs(buffer.right[i] - buffer.right[i - 1]);
    return sum / (2.0 * (n - 1));
}

} // namespace AudioGen
