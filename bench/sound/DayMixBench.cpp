// The mixer's output over a whole shop day of the game's own content (store 1, first day), played and drawn
// headless by the built-in player at the default volumes. The headless platform has no device, so the harness
// pulls the mixer itself after every update, 441 frames a time, as a 44.1 kHz device would. The counters are
// levels, not speed: the peak sample, how many samples sit at full scale (an output that clips), and the
// loudness of each part of the mix (effects, voices, music) played alone, as the root mean square over the
// stretches where that part sounds.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/sound/AudioMixer.h"
#include "game/app/GameApp.h"
#include "game/diag/Diagnostics.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{

constexpr int kAfterDayUpdates = 500;

struct Levels
{
    double seconds = 0;
    int peak = 0;               // largest |sample|
    long fullScale = 0;         // samples at 32767 or -32768
    double soundingSquares = 0; // sum of squares over the 10 ms blocks that are not silent
    long soundingSamples = 0;

    double PeakDbfs() const { return peak > 0 ? 20 * std::log10(peak / 32768.0) : -120; }
    double SoundingRmsDbfs() const
    {
        if (soundingSamples == 0)
            return -120;
        return 10 * std::log10(soundingSquares / double(soundingSamples) / (32768.0 * 32768.0));
    }
};

enum class Part
{
    Whole,
    Effects,
    Voices,
    Music,
};

Levels PlayDay(Part part)
{
    Levels levels;
    Zestra::HeadlessPlatform platform;
    platform.SetAudioAvailable(true);
    static const std::string changeDir = std::string("-changedir=") + VELMORA_BUILD_GAME_DIR;
    const char* argv[] = {"velmora", "-headless", changeDir.c_str(), "-level=1:0", "-autoplay", "-seed=1"};
    Zestra::GameApp app(platform);
    Diagnostics diagnostics(app);
    app.SetCommandLine(int(std::size(argv)), argv);
    app.Initialize();
    if (app.mQuitting)
        return levels;
    // A part alone: the others are turned down on the player's own volume controls.
    if (part != Part::Whole)
    {
        if (part != Part::Effects)
            app.SetEffectsVolume(0);
        if (part != Part::Voices)
            app.SetVoiceVolume(0);
        if (part != Part::Music)
            app.SetMusicVolume(0);
    }
    int endedAt = -1;
    std::function<void()> play = app.onUpdate;
    app.onUpdate = [&]
    {
        if (play)
            play();
        std::vector<int16_t> block = platform.PullAudio(441);
        double squares = 0;
        for (int16_t sample : block)
        {
            int magnitude = std::abs(int(sample));
            levels.peak = std::max(levels.peak, magnitude);
            levels.fullScale += sample == 32767 || sample == -32768 ? 1 : 0;
            squares += double(sample) * double(sample);
        }
        if (squares > 0)
        {
            levels.soundingSquares += squares;
            levels.soundingSamples += long(block.size());
        }
        levels.seconds += 0.01;
        // The result panel's fanfare belongs to the day too.
        if (endedAt >= 0 && app.UpdateCount() - endedAt >= kAfterDayUpdates)
            app.Quit();
    };
    std::function<void()> ended = app.onLevelEnded;
    app.onLevelEnded = [&]
    {
        if (ended)
            ended();
        endedAt = app.UpdateCount();
    };
    app.Run();
    return levels;
}

bool HaveContent(benchmark::State& state)
{
    if (std::filesystem::exists(std::string(VELMORA_BUILD_GAME_DIR) + "/main.pak"))
        return true;
    state.SkipWithError("no main.pak in the game folder: build the content first");
    return false;
}

void BM_WholeDayMix(benchmark::State& state)
{
    if (!HaveContent(state))
        return;
    Levels levels;
    for (auto _ : state)
        levels = PlayDay(Part::Whole);
    state.counters["day_s"] = levels.seconds;
    state.counters["peak_dbfs"] = levels.PeakDbfs();
    state.counters["peak_sample"] = levels.peak;
    state.counters["full_scale_samples"] = double(levels.fullScale);
    state.counters["sounding_rms_dbfs"] = levels.SoundingRmsDbfs();
}
BENCHMARK(BM_WholeDayMix)->Unit(benchmark::kSecond)->Iterations(1);

// The same day once for each part alone: how loud each part is when it sounds, and its peak.
void BM_PartsOfTheMix(benchmark::State& state)
{
    if (!HaveContent(state))
        return;
    const std::pair<Part, const char*> parts[] = {
        {Part::Effects, "effects"}, {Part::Voices, "voices"}, {Part::Music, "music"}};
    for (auto _ : state)
    {
        for (auto [part, name] : parts)
        {
            Levels levels = PlayDay(part);
            state.counters[std::string(name) + "_rms_dbfs"] = levels.SoundingRmsDbfs();
            state.counters[std::string(name) + "_peak_dbfs"] = levels.PeakDbfs();
        }
    }
}
BENCHMARK(BM_PartsOfTheMix)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
