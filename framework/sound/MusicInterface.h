// Plays songs by numeric id with per-song level, level cap and fades. This base class is the silent player: every
// operation does nothing, LoadMusic and IsSongPlaying answer false. Ids not loaded are ignored by every operation.
#pragma once

#include <string>

namespace Zestra
{

class MusicInterface
{
public:
    MusicInterface() = default;
    MusicInterface(const MusicInterface&) = delete;
    MusicInterface& operator=(const MusicInterface&) = delete;
    virtual ~MusicInterface() = default;

    // True for the silent player: a song it cannot load is not a fault of the song.
    virtual bool IsSilent() const { return true; }

    // path with extension (".ogg", ".wav"); an id already loaded keeps its song and answers false.
    virtual bool LoadMusic(int id, const std::string& path) { return false; }
    // Starts at the song's level cap. offset: -1 continues where the song stopped, 0 restarts, above 0 is a byte
    // position in the decoded 16-bit stream. noLoop: play once (and stop when a fade-out reaches 0).
    virtual void PlaySong(int id, int offset, bool noLoop) {}
    virtual void StopSong(int id) {}
    virtual void PauseSong(int id) {}
    virtual void ResumeSong(int id) {}
    virtual void StopAllSongs() {}
    virtual void UnloadSong(int id) {}
    virtual void UnloadAllSongs() {}
    virtual void PauseAllSongs() {}
    virtual void ResumeAllSongs() {}
    // speed: level change per Update (per 10 ms fixed update), e.g. 0.002 takes 500 updates from 0 to 1.
    virtual void FadeSongIn(int id, int offset, double speed, bool noLoop) {}
    virtual void FadeSongOut(int id, bool stopWhenFaded, double speed) {}
    virtual void FadeAllOut(bool stopWhenFaded, double speed) {}
    virtual void SetSongLevel(int id, double level) {}
    virtual void SetSongLevelCap(int id, double cap) {}
    virtual bool IsSongPlaying(int id) { return false; }
    // Global music volume, linear 0..1.
    virtual void SetVolume(double volume) {}
    // 0.5 is neutral; 0 silences the song and 1 doubles its amplitude.
    virtual void SetSongAmplify(int id, double amplify) {}
    // Once per fixed update: one fade step for every song (and the streaming buffers are refilled).
    virtual void Update() {}
};

} // namespace Zestra
