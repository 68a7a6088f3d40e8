#pragma once
// The audio recipes of content/audio as data: sound effects built from layers, voice settings per
// character, and songs written as chord and note sequences. The reader keeps going past bad lines and
// collects every problem as "file:line: what", so one run reports all mistakes of a recipe file.

#include "tools/contentgen/audio/Synth.h"

#include <map>
#include <string>
#include <vector>

namespace AudioGen
{

// One recipe line: the leading words, then key=value pairs.
struct RecipeLine
{
    int line = 0;
    bool indented = false;
    std::vector<std::string> words;
    std::map<std::string, std::string> keys;
};

// Splits recipe text into lines; "#" lines and blank lines are skipped.
std::vector<RecipeLine> SplitRecipeLines(const std::string& text);

// Reads numbers and names from a line, noting bad values and unknown keys in the problem list.
class LineReader
{
public:
    LineReader(const RecipeLine& line, const std::string& file, std::vector<std::string>& problems);
    ~LineReader(); // reports keys nobody asked for

    double Number(const std::string& key, double fallback, double lo, double hi);
    std::string Text(const std::string& key, const std::string& fallback);
    void Problem(const std::string& what);

private:
    const RecipeLine& mLine;
    const std::string& mFile;
    std::vector<std::string>& mProblems;
    std::map<std::string, bool> mUsed;
};

enum class LayerKind
{
    Tone,  // a gliding oscillator
    Bell,  // inharmonic sine partials, each dying faster than the one below
    Noise, // filtered white noise, the band may glide
    Bursts // many short random noise claps (applause, rustling)
};

struct EffectLayer
{
    LayerKind kind = LayerKind::Tone;
    Wave wave = Wave::Sine;
    double at = 0, length = 0.2;
    double freq = 440, freqTo = 0; // freqTo 0 keeps the pitch
    double gain = 0.5, attack = 0.002, decay = 0.0;
    double vibrato = 0, vibratoRate = 6;
    double lowPass = 0, highPass = 0, bandPass = 0, bandPassTo = 0, q = 1.0;
    int count = 1;       // bursts: number of claps
    double burst = 0.02; // bursts: length of one clap
    int repeat = 1;      // the layer plays this many times ...
    double every = 0.1;  // ... this many seconds apart ...
    double step = 0;     // ... each one this many semitones higher
    double gainStep = 1; // ... and its gain multiplied by this
    uint32_t seed = 1;
};

struct EffectRecipe
{
    std::string name; // file name without extension, e.g. "cash_register"
    int line = 0;
    double length = 0.5;
    double peak = 0.8;
    std::vector<EffectLayer> layers;
};

struct VoiceRecipe
{
    std::string person;
    int line = 0;
    double pitch = 200;   // Hz of the speaking voice
    double formant = 1.0; // vowel formants are scaled by this (smaller heads sound brighter)
    double rate = 1.0;    // syllables per second relative to normal
    double breath = 0.1;  // share of noise in the voiced sound
    double rasp = 0.0;    // extra roughness
    uint32_t seed = 1;
};

struct Chord
{
    int root = 0;               // MIDI note number in octave 3 of the chord root
    std::vector<int> intervals; // semitones above the root, ascending, root (0) first
};

// Parses "C", "Am", "F#m7", "Bbmaj7", "G7", "Dsus4", "Bdim"; false when malformed.
bool ParseChord(const std::string& text, Chord& out);

struct SongSection
{
    std::string name;
    int line = 0;
    bool drums = true;
    std::vector<Chord> chords;        // one per bar
    std::vector<std::string> melody;  // eight tokens per bar: a note, "-" hold, "." rest
    std::vector<std::string> counter; // optional second voice, same grid
};

struct Instrument
{
    Wave wave = Wave::Triangle;
    double gain = 0.3, attack = 0.01, decay = 0.4, release = 0.05;
    double lowPass = 0, pan = 0, vibrato = 0, detune = 0, echo = 0;
    int octave = 0;
    std::string pattern; // bass, arp and drums
    bool present = false;
};

struct SongRecipe
{
    std::string name;
    std::string file; // the recipe file, for messages
    int line = 0;
    double tempo = 110;
    double swing = 0;
    int transpose = 0;
    std::map<std::string, Instrument> instruments; // lead, counter, bass, pad, arp, kick, snare, hat
    std::map<std::string, SongSection> sections;
    std::vector<std::string> form;

    int Bars() const;
    double Seconds() const;
};

struct AudioRecipes
{
    std::vector<EffectRecipe> effects;
    std::vector<VoiceRecipe> voices;
    std::vector<SongRecipe> songs;
};

// Each reader appends what it understood and notes problems; it never throws.
void ReadEffects(const std::string& text, const std::string& file, std::vector<EffectRecipe>& out,
                 std::vector<std::string>& problems);
void ReadVoices(const std::string& text, const std::string& file, std::vector<VoiceRecipe>& out,
                std::vector<std::string>& problems);
void ReadSong(const std::string& text, const std::string& file, std::vector<SongRecipe>& out,
              std::vector<std::string>& problems);

} // namespace AudioGen
