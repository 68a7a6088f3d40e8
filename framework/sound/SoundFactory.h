// What the application calls to set up sound: one mixer over the platform's audio output, shared by the effects
// manager, the voice manager and the music player. Without a device everything is silent, after one warning.
#pragma once

#include "framework/sound/AudioMixer.h"

#include <memory>
#include <string>

namespace Zestra
{

class MusicInterface;
class Platform;
class SoundManager;

// Opens the platform's audio output; null (and one warning on stderr) when there is none or platform is null.
// Keep it alive longer than every manager and player made over it.
std::unique_ptr<AudioMixer> OpenAudioMixer(Platform* platform);

// mixer null: the silent manager. platform supplies the clock (null: a steady clock). dataFolder: the per-machine
// data folder that holds the "cached/" sound files ("" for none). bus: the part of the mix its sounds play in.
std::unique_ptr<SoundManager> CreateSoundManager(AudioMixer* mixer, Platform* platform, const std::string& dataFolder,
                                                 AudioMixer::Bus bus = AudioMixer::Bus::Effects);

// mixer null: the silent player (the MusicInterface base).
std::unique_ptr<MusicInterface> CreateMusicPlayer(AudioMixer* mixer);

} // namespace Zestra
