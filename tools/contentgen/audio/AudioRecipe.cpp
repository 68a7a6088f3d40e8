#include "tools/contentgen/audio/AudioRecipe.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace AudioGen
{

namespace
{

std::string Where(const std::string& file, int line)
{
    return file + ":" + std::to_string(line) + ": ";
}

bool ToDouble(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

} // namespace

std::vector<RecipeLine> SplitRecipeLines(const std::string& text)
{
    std::vector<RecipeLine> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw))
    {
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#')
            continue;
        RecipeLine line;
        line.line = number;
        line.indented = first > 0;
        std::istringstream words(raw.substr(first));
        std::string word;
        while (words >> word)
        {
            size_t eq = word.find('=');
            if (eq != std::string::npos && eq > 0)
                line.keys[word.substr(0, eq)] = word.substr(eq + 1);
            else
                line.words.push_back(word);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

LineReader::LineReader(const RecipeLine& line, const std::string& file, std::vector<std::string>& problems)
    : mLine(line), mFile(file), mProblems(problems)
{
}

LineReader::~LineReader()
{
    for (const auto& [key, value] : mLine.keys)
    {
        if (!mUsed.count(key))
            Problem("unknown setting '" + key + "'");
    }
}

double LineReader::Number(const std::string& key, double fallback, double lo, double hi)
{
    mUsed[key] = true;
    auto it = mLine.keys.find(key);
    if (it == mLine.keys.end())
        return fallback;
    double value = 0;
    if (!ToDouble(it->second, value))
    {
        Problem("'" + key + "' needs a number, not '" + it->second + "'");
        return fallback;
    }
    if (value < lo || value > hi)
    {
        std::ostringstream msg;
        msg << "'" << key << "' is " << value << ", outside " << lo << " to " << hi;
        Problem(msg.str());
        return fallback;
    }
    return value;
}

std::string LineReader::Text(const std::string& key, const std::string& fallback)
{
    mUsed[key] = true;
    auto it = mLine.keys.find(key);
    return it == mLine.keys.end() ? fallback : it->second;
}

void LineReader::Problem(const std::string& what)
{
    mProblems.push_back(Where(mFile, mLine.line) + what);
}

bool ParseChord(const std::string& text, Chord& out)
{
    static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7};
    if (text.empty())
        return false;
    char letter = text[0];
    if (letter < 'A' || letter > 'G')
        return false;
    int root = kSemis[letter - 'A'];
    size_t i = 1;
    if (i < text.size() && (text[i] == '#' || text[i] == 'b'))
        root += text[i++] == '#' ? 1 : -1;
    const std::string quality = text.substr(i);
    static const struct
    {
        const char* name;
        std::vector<int> intervals;
    } kQualities[] = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},     {"7", {0, 4, 7, 10}},    {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus4", {0, 5, 7}},  {"sus2", {0, 2, 7}},     {"dim", {0, 3, 6}},
        {"6", {0, 4, 7, 9}},   {"m6", {0, 3, 7, 9}}, {"add9", {0, 4, 7, 14}},
    };
    for (const auto& q : kQualities)
    {
        if (quality == q.name)
        {
            out.root = 48 + ((root % 12) + 12) % 12;
            out.intervals = q.intervals;
            return true;
        }
    }
    return false;
}

int SongRecipe::Bars() const
{
    int bars = 0;
    for (const auto& name : form)
    {
        auto it = sections.find(name);
        if (it != sections.end())
            bars += static_cast<int>(it->second.chords.size());
    }
    return bars;
}

double SongRecipe::Seconds() const
{
    return Bars() * 4 * 60.0 / tempo;
}

void ReadEffects(const std::string& text, const std::string& file, std::vector<EffectRecipe>& out,
                 std::vector<std::string>& problems)
{
    EffectRecipe* current = nullptr;
    for (const RecipeLine& line : SplitRecipeLines(text))
    {
        LineReader r(line, file, problems);
        const std::string head = line.words.empty() ? "" : line.words[0];
        if (head == "sound")
        {
            if (line.words.size() != 2)
            {
                r.Problem("'sound' needs exactly one name");
                current = nullptr;
                continue;
            }
            out.emplace_back();
            current = &out.back();
            current->name = line.words[1];
            current->line = line.line;
            current->length = r.Number("length", 0.5, 0.01, 10);
            current->peak = r.Number("peak", 0.8, 0.05, 1.0);
            continue;
        }
        EffectLayer layer;
        if (head == "tone")
            layer.kind = LayerKind::Tone;
        else if (head == "bell")
            layer.kind = LayerKind::Bell;
        else if (head == "noise")
            layer.kind = LayerKind::Noise;
        else if (head == "bursts")
            layer.kind = LayerKind::Bursts;
        else
        {
            r.Problem("unknown line '" + head + "' (sound, tone, bell, noise or bursts)");
            for (const auto& [key, value] : line.keys)
                r.Text(key, "");
            continue;
        }
        if (!current)
        {
            r.Problem("'" + head + "' before any 'sound'");
            for (const auto& [key, value] : line.keys)
                r.Text(key, "");
            continue;
        }
        const std::string wave = r.Text("wave", "sine");
        if (!ParseWave(wave, layer.wave))
            r.Problem("unknown wave '" + wave + "'");
        layer.at = r.Number("at", 0, 0, 10);
        layer.length = r.Number("len", 0.2, 0.001, 10);
        layer.freq = r.Number("f", 440, 10, 20000);
        layer.freqTo = r.Number("to", 0, 0, 20000);
        layer.gain = r.Number("gain", 0.5, 0, 4);
        layer.attack = r.Number("attack", 0.002, 0, 5);
        layer.decay = r.Number("decay", 0, 0, 20);
        layer.vibrato = r.Number("vib", 0, 0, 2);
        layer.vibratoRate = r.Number("vibrate", 6, 0, 50);
        layer.lowPass = r.Number("lp", 0, 0, 20000);
        layer.highPass = r.Number("hp", 0, 0, 20000);
        layer.bandPass = r.Number("bp", 0, 0, 20000);
        layer.bandPassTo = r.Number("bpto", 0, 0, 20000);
        layer.q = r.Number("q", 1, 0.1, 100);
        layer.count = static_cast<int>(r.Number("count", 1, 1, 2000));
        layer.burst = r.Number("burst", 0.02, 0.001, 1);
        layer.repeat = static_cast<int>(r.Number("repeat", 1, 1, 64));
        layer.every = r.Number("every", 0.1, 0, 10);
        layer.step = r.Number("step", 0, -48, 48);
        layer.gainStep = r.Number("gainstep", 1, 0, 4);
        layer.seed = static_cast<uint32_t>(r.Number("seed", 1, 1, 4e9));
        current->layers.push_back(layer);
    }
}

void ReadVoices(const std::string& text, const std::string& file, std::vector<VoiceRecipe>& out,
                std::vector<std::string>& problems)
{
    for (const RecipeLine& line : SplitRecipeLines(text))
    {
        LineReader r(line, file, problems);
        if (line.words.size() != 2 || line.words[0] != "voice")
        {
            r.Problem("expected 'voice <Person> key=value ...'");
            for (const auto& [key, value] : line.keys)
                r.Text(key, "");
            continue;
        }
        VoiceRecipe v;
        v.person = line.words[1];
        v.line = line.line;
        v.pitch = r.Number("pitch", 200, 50, 600);
        v.formant = r.Number("formant", 1.0, 0.6, 1.6);
        v.rate = r.Number("rate", 1.0, 0.4, 2.5);
        v.breath = r.Number("breath", 0.1, 0, 1);
        v.rasp = r.Number("rasp", 0, 0, 1);
        v.seed = static_cast<uint32_t>(r.Number("seed", 1, 1, 4e9));
        out.push_back(v);
    }
}

namespace
{

const char* const kInstruments[] = {"lead", "counter", "bass", "pad", "arp", "kick", "snare", "hat"};

bool IsInstrument(const std::string& name)
{
    for (const char* n : kInstruments)
        if (name == n)
            return true;
    return false;
}

bool ValidToken(const std::string& token)
{
    int midi = 0;
    return token == "-" || token == "." || NoteToMidi(token, midi);
}

// Appends note tokens of a melody line; "|" marks bar lines and must fall every eight tokens.
void ReadNotes(const RecipeLine& line, LineReader& r, std::vector<std::string>& out)
{
    size_t sinceBar = 0;
    for (size_t i = 1; i < line.words.size(); ++i)
    {
        const std::string& w = line.words[i];
        if (w == "|")
        {
            if (sinceBar != 8)
                r.Problem("a bar needs eight steps, found " + std::to_string(sinceBar));
            sinceBar = 0;
            continue;
        }
        if (!ValidToken(w))
            r.Problem("'" + w + "' is not a note, '-' or '.'");
        out.push_back(ValidToken(w) ? w : ".");
        ++sinceBar;
    }
    if (sinceBar != 0 && sinceBar != 8)
        r.Problem("a bar needs eight steps, found " + std::to_string(sinceBar));
}

} // namespace

void ReadSong(const std::string& text, const std::string& file, std::vector<SongRecipe>& out,
              std::vector<std::string>& problems)
{
    SongRecipe song;
    SongSection* section = nullptr;
    bool haveSong = false;
    for (const RecipeLine& line : SplitRecipeLines(text))
    {
        LineReader r(line, file, problems);
        const std::string head = line.words.empty() ? "" : line.words[0];
        if (head == "song" && line.words.size() == 2 && !haveSong)
        {
            song.name = line.words[1];
            song.file = file;
            song.line = line.line;
            song.tempo = r.Number("tempo", 110, 40, 240);
            song.swing = r.Number("swing", 0, 0, 0.5);
            song.transpose = static_cast<int>(r.Number("transpose", 0, -12, 12));
            haveSong = true;
            continue;
        }
        if (!haveSong)
        {
            r.Problem("a song file starts with 'song <name>'");
            for (const auto& [key, value] : line.keys)
                r.Text(key, "");
            continue;
        }
        if (IsInstrument(head))
        {
            Instrument inst;
            inst.present = true;
            const std::string wave = r.Text("wave", head == "bass" ? "saw" : "triangle");
            if (!ParseWave(wave, inst.wave))
                r.Problem("unknown wave '" + wave + "'");
            inst.gain = r.Number("gain", 0.3, 0, 2);
            inst.attack = r.Number("attack", 0.01, 0, 4);
            inst.decay = r.Number("decay", 0.4, 0, 20);
            inst.release = r.Number("release", 0.05, 0.005, 4);
            inst.lowPass = r.Number("lp", 0, 0, 20000);
            inst.pan = r.Number("pan", 0, -1, 1);
            inst.vibrato = r.Number("vib", 0, 0, 0.05);
            inst.detune = r.Number("detune", 0, 0, 0.05);
            inst.echo = r.Number("echo", 0, 0, 0.8);
            inst.octave = static_cast<int>(r.Number("octave", 0, -3, 3));
            inst.pattern = r.Text("pattern", "");
            const bool drum = head == "kick" || head == "snare" || head == "hat";
            if (drum && inst.pattern.size() != 16)
                r.Problem(head + " needs a pattern of sixteen steps");
            if ((head == "bass" || head == "arp") && inst.pattern.size() != 8)
                r.Problem(head + " needs a pattern of eight steps");
            song.instruments[head] = inst;
        }
        else if (head == "form")
        {
            song.form.assign(line.words.begin() + 1, line.words.end());
        }
        else if (head == "section" && line.words.size() == 2)
        {
            section = &song.sections[line.words[1]];
            section->name = line.words[1];
            section->line = line.line;
            section->drums = r.Number("drums", 1, 0, 1) != 0;
        }
        else if ((head == "chords" || head == "melody" || head == "counter") && !section)
        {
            r.Problem("'" + head + "' before any 'section'");
        }
        else if (head == "chords")
        {
            for (size_t i = 1; i < line.words.size(); ++i)
            {
                if (line.words[i] == "|")
                    continue;
                Chord c;
                if (!ParseChord(line.words[i], c))
                {
                    r.Problem("'" + line.words[i] + "' is not a chord");
                    ParseChord("C", c);
                }
                section->chords.push_back(c);
            }
        }
        else if (head == "melody")
        {
            ReadNotes(line, r, section->melody);
        }
        else if (head == "counter")
        {
            ReadNotes(line, r, section->counter);
        }
        else
        {
            r.Problem("unknown line '" + head + "'");
            for (const auto& [key, value] : line.keys)
                r.Text(key, "");
        }
    }
    if (!haveSong)
        return;
    for (const auto& [name, s] : song.sections)
    {
        const size_t steps = s.chords.size() * 8;
        if (s.chords.empty())
            problems.push_back(Where(file, s.line) + "section " + name + " has no chords");
        if (s.melody.size() != steps)
            problems.push_back(Where(file, s.line) + "section " + name + " has " + std::to_string(s.melody.size()) +
                               " melody steps for " + std::to_string(s.chords.size()) + " bars");
        if (!s.counter.empty() && s.counter.size() != steps)
            problems.push_back(Where(file, s.line) + "section " + name + " counter melody does not fill its bars");
    }
    if (song.form.empty())
        problems.push_back(Where(file, song.line) + "song " + song.name + " has no 'form'");
    for (const auto& name : song.form)
    {
        if (!song.sections.count(name))
            problems.push_back(Where(file, song.line) + "form names the unknown section '" + name + "'");
    }
    out.push_back(std::move(song));
}

} // namespace AudioGen
