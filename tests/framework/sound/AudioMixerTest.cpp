// The mixer's buses and output stage: each part of the mix at its own level, voices above effects and music at
// the default levels, and a sum of any size kept under full scale.
#include "framework/sound/AudioMixer.h"

#include "framework/sound/PcmData.h"
#include "framework/sound/SoftLimiter.h"
#include "tests/framework/sound/SoundTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace Zestra;
using namespace SoundTest;

namespace
{

// A mono 44100 Hz sound holding one value.
PcmData Constant(int16_t value, int frames = 4000)
{
    PcmData pcm;
    pcm.mRate = AudioMixer::kOutputRate;
    for (int i = 0; i < frames; ++i)
    {
        pcm.mBytes.push_back(uint8_t(uint16_t(value) & 0xFF));
        pcm.mBytes.push_back(uint8_t(uint16_t(value) >> 8));
    }
    return pcm;
}

int PlayOn(AudioMixer& mixer, AudioMixer::Bus bus, const PcmData& sound)
{
    int voice = mixer.AcquireVoice(bus);
    mixer.SetVoiceSound(voice, &sound);
    mixer.PlayVoice(voice, true);
    return voice;
}

} // namespace

TEST(AudioMixer, EachBusScalesOnlyItsOwnVoices)
{
    const PcmData sound = Constant(4000);
    struct Case
    {
        AudioMixer::Bus bus;
        const char* name;
    };
    for (Case c : {Case{AudioMixer::Bus::Effects, "effects"}, Case{AudioMixer::Bus::Voices, "voices"},
                   Case{AudioMixer::Bus::Music, "music"}})
    {
        SCOPED_TRACE(c.name);
        AudioMixer mixer;
        for (AudioMixer::Bus other : {AudioMixer::Bus::Effects, AudioMixer::Bus::Voices, AudioMixer::Bus::Music})
            mixer.SetBusLevel(other, other == c.bus ? 0.5f : 0.0f);
        int voice = PlayOn(mixer, c.bus, sound);
        for (AudioMixer::Bus other : {AudioMixer::Bus::Effects, AudioMixer::Bus::Voices, AudioMixer::Bus::Music})
            if (other != c.bus)
                PlayOn(mixer, other, sound);
        EXPECT_EQ(Pull(mixer, 10)[5], 2000);
        // A voice given back and taken again starts on the bus it is taken for.
        mixer.ReleaseVoice(voice);
        mixer.SetBusLevel(c.bus, 1.0f);
        EXPECT_EQ(Pull(mixer, 10)[5], 0);
    }
}

TEST(AudioMixer, VoicesStandAboveEffectsAndMusicAtTheDefaultLevels)
{
    const PcmData sound = Constant(8000);
    auto levelOf = [&](AudioMixer::Bus bus)
    {
        AudioMixer mixer;
        PlayOn(mixer, bus, sound);
        return std::abs(int(Pull(mixer, 10)[5]));
    };
    const double voices = levelOf(AudioMixer::Bus::Voices);
    const double effects = levelOf(AudioMixer::Bus::Effects);
    const double music = levelOf(AudioMixer::Bus::Music);
    EXPECT_GE(20 * std::log10(voices / effects), 6.0 - 0.1);
    EXPECT_GE(20 * std::log10(voices / music), 5.0 - 0.1);
    // And the voices themselves keep headroom: a full-scale voice comes out below full scale.
    EXPECT_LE(AudioMixer::kDefaultBusLevels[int(AudioMixer::Bus::Voices)], 0.71f);
}

TEST(AudioMixer, ASumOfAnySizeStaysUnderFullScaleWhileAQuietOnePassesAsItIs)
{
    const PcmData quiet = Constant(3000);
    const PcmData loud = Constant(32767);
    const PcmData loudNegative = Constant(-32768);
    AudioMixer mixer;
    mixer.SetBusLevel(AudioMixer::Bus::Effects, 1.0f);
    int first = PlayOn(mixer, AudioMixer::Bus::Effects, quiet);
    EXPECT_EQ(Pull(mixer, 10)[3], 3000);
    mixer.ReleaseVoice(first);
    for (int voices : {1, 2, 8, AudioMixer::kMaxVoices})
    {
        SCOPED_TRACE(voices);
        for (const PcmData* sound : {&loud, &loudNegative})
        {
            AudioMixer pile;
            pile.SetBusLevel(AudioMixer::Bus::Effects, 1.0f);
            for (int i = 0; i < voices; ++i)
                PlayOn(pile, AudioMixer::Bus::Effects, *sound);
            std::vector<int16_t> out = Pull(pile, 100);
            auto [low, high] = std::minmax_element(out.begin(), out.end());
            EXPECT_GT(*low, -32768);
            EXPECT_LT(*high, 32767);
            EXPECT_GT(std::max(std::abs(int(*low)), std::abs(int(*high))), int(SoftLimiter::kKnee * 32768));
        }
    }
}
