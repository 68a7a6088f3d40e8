// The working music player over the program's AudioMixer. Each song is kept in memory as its file's bytes and
// decoded into a streaming ring while it plays; Update (once per fixed update, main thread) steps the fades and
// refills the rings, so the audio thread only copies frames.
#pragma once

#include "framework/sound/MusicInterface.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class AudioMixer;
class SoundFileAccess;
class SongStream;
class StreamRing;

class MixerMusicInterface final : public MusicInterface
{
public:
    bool IsSilent() const override { return false; }
    // Frames buffered ahead per playing song: 1.5 s, so a main-thread stall of a second stays inaudible.
    static constexpr int kRingFrames = 65536;

    // mixer: borrowed, must outlive the player. files: null for the archive-aware file functions.
    explicit MixerMusicInterface(AudioMixer& mixer, std::shared_ptr<SoundFileAccess> files = nullptr);
    ~MixerMusicInterface() override;

    bool LoadMusic(int id, const std::string& path) override;
    void PlaySong(int id, int offset, bool noLoop) override;
    void StopSong(int id) override;
    void PauseSong(int id) override;
    void ResumeSong(int id) override;
    void StopAllSongs() override;
    void UnloadSong(int id) override;
    void UnloadAllSongs() override;
    void PauseAllSongs() override;
    void ResumeAllSongs() override;
    void FadeSongIn(int id, int offset, double speed, bool noLoop) override;
    void FadeSongOut(int id, bool stopWhenFaded, double speed) override;
    void FadeAllOut(bool stopWhenFaded, double speed) override;
    void SetSongLevel(int id, double level) override;
    void SetSongLevelCap(int id, double cap) override;
    bool IsSongPlaying(int id) override;
    void SetVolume(double volume) override;
    void SetSongAmplify(int id, double amplify) override;
    void Update() override;

    // The song's current level 0..1, or -1 for an id not loaded.
    double GetSongLevel(int id) const;
    // Refills every playing song's ring; Update does it too.
    void FillStreams();

private:
    struct SongEntry
    {
        std::unique_ptr<SongStream> mStream;
        std::unique_ptr<StreamRing> mRing;
        int mVoice = -1;
        double mLevel = 0.0;
        double mLevelStep = 0.0;
        double mLevelCap = 1.0;
        double mAmplify = 0.5;
        bool mStopAtZero = false;
        bool mLooping = true;
        int64_t mStartFrame = 0;  // source frame the ring was filled from since the last flush
        int64_t mResumeFrame = 0; // where a restart without offset continues
    };

    SongEntry* Find(int id);
    void SendLevel(SongEntry& song);
    void StopChannel(SongEntry& song);
    // Stops, moves the song to offset (-1 keeps the stopped position), sets looping and starts it.
    void StartChannel(SongEntry& song, int offset, bool looping);
    void Fill(SongEntry& song);

    AudioMixer& mMixer;
    std::shared_ptr<SoundFileAccess> mFiles;
    std::map<int, SongEntry> mSongs;
    double mGlobalVolume = 1.0;
    std::vector<int16_t> mScratch; // one refill's worth of stereo frames
};

} // namespace Zestra
