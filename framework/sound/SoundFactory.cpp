// Wiring of the sound objects: a missing device is reported once here, and every later piece falls back to its
// silent form on a null mixer.
#include "framework/sound/SoundFactory.h"

#include "framework/log/Log.h"
#include "framework/platform/Platform.h"
#include "framework/sound/AudioMixer.h"
#include "framework/sound/MixerMusicInterface.h"
#include "framework/sound/MixerSoundManager.h"

#include <chrono>
#include <cstdio>

namespace Zestra
{

std::unique_ptr<AudioMixer> OpenAudioMixer(Platform* platform)
{
    auto mixer = std::make_unique<AudioMixer>();
    if (platform && mixer->AttachOutput(*platform))
        return mixer;
    Zestra::LogFormat("No sound device: sound effects and music are off.\n");
    return nullptr;
}

std::unique_ptr<SoundManager> CreateSoundManager(AudioMixer* mixer, Platform* platform, const std::string& dataFolder,
                                                 AudioMixer::Bus bus)
{
    MixerSoundManager::Clock clock;
    if (platform)
        clock = [platform] { return platform->NowMs(); };
    else
        clock = []
        {
            return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count());
        };
    return std::make_unique<MixerSoundManager>(mixer, dataFolder, std::move(clock), nullptr, bus);
}

std::unique_ptr<MusicInterface> CreateMusicPlayer(AudioMixer* mixer)
{
    if (!mixer)
        return std::make_unique<MusicInterface>();
    return std::make_unique<MixerMusicInterface>(*mixer);
}

} // namespace Zestra
