// Fades step once per update, and the refill after them tops each playing song's ring up from its stream, so the
// audio thread only copies frames that are already decoded.
#include "framework/sound/MixerMusicInterface.h"

#include "framework/log/Log.h"
#include "framework/sound/AudioMixer.h"
#include "framework/sound/SongStream.h"
#include "framework/sound/SoundFileAccess.h"
#include "framework/sound/StreamRing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace Zestra
{

namespace
{

constexpr int kRefillFrames = 4096;
// Fade steps are sums of doubles: 250 steps of 0.004 land a hair away from 0 or the cap, which must count as
// arrived, or the fade would take one extra update.
constexpr double kLevelEpsilon = 1e-9;

double ClampUnit(double value)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

// The player kept song and global volumes as whole percents; keep those steps.
double Percent(double level)
{
    return int(ClampUnit(level) * 100) / 100.0;
}

} // namespace

MixerMusicInterface::MixerMusicInterface(AudioMixer& mixer, std::shared_ptr<SoundFileAccess> files)
    : mMixer(mixer), mFiles(std::move(files)), mScratch(size_t(kRefillFrames) * 2)
{
    if (!mFiles)
        mFiles = MakeArchiveSoundFileAccess();
}

MixerMusicInterface::~MixerMusicInterface()
{
    UnloadAllSongs();
}

MixerMusicInterface::SongEntry* MixerMusicInterface::Find(int id)
{
    auto it = mSongs.find(id);
    return it == mSongs.end() ? nullptr : &it->second;
}

double MixerMusicInterface::GetSongLevel(int id) const
{
    auto it = mSongs.find(id);
    return it == mSongs.end() ? -1.0 : it->second.mLevel;
}

bool MixerMusicInterface::LoadMusic(int id, const std::string& path)
{
    // Checked before anything is read, so a second load of an id neither leaks nor replaces the playing song.
    if (mSongs.count(id))
        return false;
    size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));

    std::vector<uint8_t> bytes;
    if (!mFiles->ReadAll(path, bytes))
        return false;
    std::unique_ptr<SongStream> stream = OpenSongStream(std::move(bytes), extension);
    if (!stream)
    {
        Zestra::LogFormat("%s: not a playable song (Ogg Vorbis or WAV)\n", path.c_str());
        return false;
    }
    int voice = mMixer.AcquireVoice(AudioMixer::Bus::Music);
    if (voice < 0)
    {
        Zestra::LogFormat("%s: no free mixer voice for the song\n", path.c_str());
        return false;
    }
    SongEntry& song = mSongs[id];
    song.mStream = std::move(stream);
    song.mRing = std::make_unique<StreamRing>(kRingFrames);
    song.mVoice = voice;
    mMixer.SetVoiceStream(voice, song.mRing.get(), song.mStream->Rate());
    SendLevel(song);
    return true;
}

void MixerMusicInterface::SendLevel(SongEntry& song)
{
    float gain = float(Percent(song.mLevel) * Percent(mGlobalVolume) * song.mAmplify * 2.0);
    mMixer.SetVoiceGains(song.mVoice, gain, gain);
}

void MixerMusicInterface::StopChannel(SongEntry& song)
{
    if (mMixer.IsVoicePlaying(song.mVoice) || mMixer.IsVoicePaused(song.mVoice))
    {
        int64_t length = song.mStream->Length();
        // The voice holds two popped frames for interpolation; the earlier one is the frame being heard.
        int64_t heard = song.mStartFrame + std::max<int64_t>(0, int64_t(song.mRing->Consumed()) - 2);
        song.mResumeFrame = length > 0 ? heard % length : 0;
    }
    mMixer.FlushStream(song.mVoice);
}

void MixerMusicInterface::StartChannel(SongEntry& song, int offset, bool looping)
{
    StopChannel(song);
    int64_t start = song.mResumeFrame;
    if (offset == 0)
        start = 0;
    else if (offset > 0)
        start = offset / (2 * song.mStream->Channels());
    start = std::clamp<int64_t>(start, 0, song.mStream->Length());
    // A one-shot that already ran to its end starts over rather than staying silent.
    if (start >= song.mStream->Length())
        start = 0;
    song.mStream->Seek(start);
    song.mStartFrame = start;
    song.mResumeFrame = start;
    song.mLooping = looping;
    Fill(song);
    mMixer.PlayVoice(song.mVoice, false);
}

void MixerMusicInterface::Fill(SongEntry& song)
{
    StreamRing& ring = *song.mRing;
    if (ring.Ended())
        return;
    bool rewound = false;
    while (ring.FreeFrames() > 0)
    {
        int want = std::min(ring.FreeFrames(), kRefillFrames);
        int got = song.mStream->Read(mScratch.data(), want);
        if (got > 0)
        {
            ring.Write(mScratch.data(), got);
            rewound = false;
            continue;
        }
        // The end of the song: wrap for a loop (once per empty read, so an empty stream cannot spin).
        if (song.mLooping && !rewound && song.mStream->Seek(0))
        {
            rewound = true;
            continue;
        }
        ring.MarkEnded();
        break;
    }
}

void MixerMusicInterface::FillStreams()
{
    for (auto& [id, song] : mSongs)
        if (mMixer.IsVoicePlaying(song.mVoice) || mMixer.IsVoicePaused(song.mVoice))
            Fill(song);
}

void MixerMusicInterface::PlaySong(int id, int offset, bool noLoop)
{
    SongEntry* song = Find(id);
    if (!song)
        return;
    song->mLevel = song->mLevelCap;
    song->mLevelStep = 0;
    song->mStopAtZero = noLoop;
    SendLevel(*song);
    StartChannel(*song, offset, !noLoop);
}

void MixerMusicInterface::StopSong(int id)
{
    if (SongEntry* song = Find(id))
    {
        song->mLevel = 0;
        SendLevel(*song);
        StopChannel(*song);
    }
}

void MixerMusicInterface::PauseSong(int id)
{
    if (SongEntry* song = Find(id))
        mMixer.PauseVoice(song->mVoice, true);
}

void MixerMusicInterface::ResumeSong(int id)
{
    SongEntry* song = Find(id);
    if (!song)
        return;
    if (mMixer.IsVoicePaused(song->mVoice))
        mMixer.PauseVoice(song->mVoice, false);
    else if (!mMixer.IsVoicePlaying(song->mVoice))
        StartChannel(*song, -1, song->mLooping);
}

void MixerMusicInterface::StopAllSongs()
{
    for (auto& [id, song] : mSongs)
        StopSong(id);
}

void MixerMusicInterface::UnloadSong(int id)
{
    SongEntry* song = Find(id);
    if (!song)
        return;
    StopSong(id);
    // The voice is released before the ring and the stream it reads from go away.
    mMixer.ReleaseVoice(song->mVoice);
    mSongs.erase(id);
}

void MixerMusicInterface::UnloadAllSongs()
{
    StopAllSongs();
    for (auto& [id, song] : mSongs)
        mMixer.ReleaseVoice(song.mVoice);
    mSongs.clear();
}

void MixerMusicInterface::PauseAllSongs()
{
    for (auto& [id, song] : mSongs)
        if (mMixer.IsVoicePlaying(song.mVoice))
            mMixer.PauseVoice(song.mVoice, true);
}

void MixerMusicInterface::ResumeAllSongs()
{
    for (auto& [id, song] : mSongs)
        if (mMixer.IsVoicePaused(song.mVoice))
            mMixer.PauseVoice(song.mVoice, false);
}

void MixerMusicInterface::FadeSongIn(int id, int offset, double speed, bool noLoop)
{
    SongEntry* song = Find(id);
    if (!song)
        return;
    song->mLevelStep = speed;
    song->mStopAtZero = noLoop;
    SendLevel(*song);
    StartChannel(*song, offset, !noLoop);
}

void MixerMusicInterface::FadeSongOut(int id, bool stopWhenFaded, double speed)
{
    SongEntry* song = Find(id);
    if (!song)
        return;
    if (song->mLevel != 0)
        song->mLevelStep = -speed;
    song->mStopAtZero = stopWhenFaded;
}

void MixerMusicInterface::FadeAllOut(bool stopWhenFaded, double speed)
{
    for (auto& [id, song] : mSongs)
    {
        song.mLevelStep = -speed;
        song.mStopAtZero = stopWhenFaded;
    }
}

void MixerMusicInterface::SetSongLevel(int id, double level)
{
    if (SongEntry* song = Find(id))
    {
        song->mLevel = level;
        SendLevel(*song);
    }
}

void MixerMusicInterface::SetSongLevelCap(int id, double cap)
{
    if (SongEntry* song = Find(id))
    {
        song->mLevelCap = cap;
        song->mLevel = std::min(song->mLevel, cap);
        SendLevel(*song);
    }
}

bool MixerMusicInterface::IsSongPlaying(int id)
{
    SongEntry* song = Find(id);
    return song && mMixer.IsVoicePlaying(song->mVoice);
}

void MixerMusicInterface::SetVolume(double volume)
{
    mGlobalVolume = ClampUnit(volume);
    for (auto& [id, song] : mSongs)
        SendLevel(song);
}

void MixerMusicInterface::SetSongAmplify(int id, double amplify)
{
    if (SongEntry* song = Find(id))
    {
        song->mAmplify = ClampUnit(amplify);
        SendLevel(*song);
    }
}

void MixerMusicInterface::Update()
{
    for (auto& [id, song] : mSongs)
    {
        if (song.mLevelStep == 0)
            continue;
        song.mLevel += song.mLevelStep;
        if (song.mLevel > song.mLevelCap || (song.mLevelStep > 0 && song.mLevel >= song.mLevelCap - kLevelEpsilon))
        {
            song.mLevel = song.mLevelCap;
            song.mLevelStep = 0;
        }
        else if (song.mLevel < 0 || (song.mLevelStep < 0 && song.mLevel <= kLevelEpsilon))
        {
            song.mLevel = 0;
            song.mLevelStep = 0;
            if (song.mStopAtZero)
                StopChannel(song);
        }
        SendLevel(song);
    }
    FillStreams();
}

} // namespace Zestra
