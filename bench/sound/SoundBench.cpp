// Cost of the audio callback with a busy scene: 32 sound instances (mixed formats, pitches and pans) plus one
// streamed Ogg song, mixed into one second of 44.1 kHz stereo in 1024-frame callbacks, with the main thread's
// music Update (which decodes into the stream) every 441 frames as the 10 ms update loop would call it.
#include "framework/sound/AudioMixer.h"
#include "framework/sound/ByteSource.h"
#include "framework/sound/MixerMusicInterface.h"
#include "framework/sound/MixerSoundManager.h"
#include "framework/sound/SoundDecoders.h"
#include "framework/sound/SoundFileAccess.h"
#include "framework/sound/SoundInstance.h"
#include "tests/framework/sound/SoundTestFiles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>

using namespace Zestra;

namespace
{

class MemoryFiles final : public SoundFileAccess
{
public:
    std::map<std::string, std::vector<uint8_t>> mFiles;

    std::unique_ptr<ByteSource> Open(const std::string& path) override
    {
        auto it = mFiles.find(path);
        return it == mFiles.end() ? nullptr : std::make_unique<MemoryByteSource>(it->second);
    }
    uint64_t FileTime(const std::string& path) override { return 0; }
};

// CPU time of this thread: on a shared build machine wall time would mostly measure other processes.
double ThreadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

struct Scene
{
    Scene()
    {
        auto files = std::make_shared<MemoryFiles>();
        files->mFiles["mono.wav"] = SoundTest::Wav16(1, 22050, SoundTest::Sine(1, 22050, 22050, 440, 3000));
        files->mFiles["stereo.wav"] = SoundTest::Wav16(2, 44100, SoundTest::Sine(2, 44100, 30000, 660, 3000));
        files->mFiles["song.ogg"] = SoundTest::EncodeOgg(2, 44100, SoundTest::Sine(2, 44100, 44100 * 3, 220, 8000));
        sounds = std::make_unique<MixerSoundManager>(
            &mixer, "", [] { return uint64_t(0); }, files);
        music = std::make_unique<MixerMusicInterface>(mixer, files);
        sounds->LoadSound(0, "mono");
        sounds->LoadSound(1, "stereo");
        for (int i = 0; i < SoundManager::kMaxInstances; ++i)
        {
            SoundInstance* instance = sounds->MakeInstance(i % 2);
            instance->SetPan(i * 600 - 9000);
            instance->SetVolume(0.3 + i * 0.02);
            instance->ShiftPitch(i % 5 - 2);
            instance->Play(true, false);
        }
        music->LoadMusic(1, "song.ogg");
        music->PlaySong(1, 0, false);
    }

    AudioMixer mixer;
    std::unique_ptr<MixerSoundManager> sounds;
    std::unique_ptr<MixerMusicInterface> music;
};

void BM_MixOneSecond(benchmark::State& state)
{
    Scene scene;
    std::vector<int16_t> out(AudioMixer::kChunkFrames * 2);
    double worstCallbackUs = 0;
    double callbackSeconds = 0;
    for (auto _ : state)
    {
        int produced = 0;
        int nextUpdate = 0;
        while (produced < AudioMixer::kOutputRate)
        {
            while (nextUpdate <= produced)
            {
                scene.music->Update();
                nextUpdate += 441;
            }
            double start = ThreadCpuMicroseconds();
            scene.mixer.Mix(out.data(), AudioMixer::kChunkFrames);
            double us = ThreadCpuMicroseconds() - start;
            worstCallbackUs = std::max(worstCallbackUs, us);
            callbackSeconds += us / 1e6;
            produced += AudioMixer::kChunkFrames;
        }
        benchmark::DoNotOptimize(out.data());
    }
    // Each iteration is one second of audio, so seconds spent per iteration are the share of one core.
    state.counters["callback_core_share_pct"] = 100.0 * callbackSeconds / double(state.iterations());
    state.counters["worst_1024_callback_us"] = worstCallbackUs;
}
BENCHMARK(BM_MixOneSecond)->Unit(benchmark::kMillisecond);

void BM_DecodeOggEffect(benchmark::State& state)
{
    std::vector<uint8_t> ogg = SoundTest::EncodeOgg(1, 22050, SoundTest::Sine(1, 22050, 22050, 440, 8000));
    for (auto _ : state)
    {
        MemoryByteSource source(ogg);
        PcmData pcm;
        benchmark::DoNotOptimize(DecodeOgg(source, pcm));
    }
}
BENCHMARK(BM_DecodeOggEffect)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
