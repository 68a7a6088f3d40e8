// Decoded sounds are immutable and shared: an instance holds its own reference, so unloading or replacing a
// sound never pulls samples from under a playing voice. The table lock covers the loading thread's loads.
#include "framework/sound/MixerSoundManager.h"

#include "framework/log/Log.h"
#include "framework/sound/AudioMixer.h"
#include "framework/sound/ByteSource.h"
#include "framework/sound/MixerSoundInstance.h"
#include "framework/sound/PcmData.h"
#include "framework/sound/SoundDecoders.h"
#include "framework/sound/SoundFileAccess.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace Zestra
{

namespace
{

double ClampUnit(double value)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

bool HasParentReference(const std::string& path)
{
    size_t start = 0;
    while (start <= path.size())
    {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = path.size();
        if (path.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

int VolumeToAttenuation(double volume)
{
    double v = ClampUnit(volume);
    int attenuation = int((std::log10(9.0 * v + 1.0) - 1.0) * 2333.0);
    return attenuation < -2000 ? -10000 : attenuation;
}

void AttenuationToGains(int attenuation, int pan, float& left, float& right)
{
    auto gain = [](int hundredthsDb)
    { return hundredthsDb <= -10000 ? 0.0f : float(std::pow(10.0, hundredthsDb / 2000.0)); };
    float level = gain(std::min(attenuation, 0));
    // A positive pan attenuates the left channel, a negative one the right, as the device's pan did.
    left = level * (pan > 0 ? gain(-pan) : 1.0f);
    right = level * (pan < 0 ? gain(pan) : 1.0f);
}

MixerSoundManager::MixerSoundManager(AudioMixer* mixer, std::string dataFolder, Clock clock,
                                     std::shared_ptr<SoundFileAccess> files, AudioMixer::Bus bus)
    : mMixer(mixer), mBus(bus), mDataFolder(std::move(dataFolder)), mClock(std::move(clock)), mFiles(std::move(files))
{
    if (!mFiles)
        mFiles = MakeArchiveSoundFileAccess();
    if (!mDataFolder.empty() && mDataFolder.back() != '/' && mDataFolder.back() != '\\')
        mDataFolder += '/';
    mDefaultVolumes.fill(1.0);
}

MixerSoundManager::~MixerSoundManager()
{
    DeleteAllInstances();
    UnloadAllSounds();
}

bool MixerSoundManager::HasDevice()
{
    return mMixer != nullptr;
}

int MixerSoundManager::FindOrLoadSound(const std::string& path)
{
    int freeId = -1;
    {
        std::lock_guard<std::mutex> lock(mTableLock);
        for (int id = 0; id < kMaxSounds; ++id)
            if (mSoundPaths[id] == path && !path.empty())
                return id;
        for (int id = kMaxSounds - 1; id >= 0 && freeId < 0; --id)
            if (!mSounds[id])
                freeId = id;
    }
    if (freeId < 0)
        return -1;
    return LoadSound(freeId, path) ? freeId : -1;
}

std::string MixerSoundManager::CachePath(const std::string& path) const
{
    if (mDataFolder.empty() || path.size() <= 2 || path[0] == '\\' || path[0] == '/' || path[1] == ':' ||
        HasParentReference(path))
        return "";
    std::string relative = path;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return mDataFolder + "cached/" + relative + ".wav";
}

bool MixerSoundManager::ReadCachedOrWav(const std::string& path, PcmData& out)
{
    std::unique_ptr<ByteSource> source = mFiles->Open(path);
    if (!source)
        return false;
    return ReadWav(*source, out, [this](const std::string& name) { return mFiles->FileTime(name); });
}

namespace
{

std::string WithoutSoundExtension(const std::string& path)
{
    for (const char* extension : {".wav", ".ogg", ".au"})
    {
        const size_t length = std::strlen(extension);
        if (path.size() > length &&
            std::equal(path.end() - std::ptrdiff_t(length), path.end(), extension,
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; }))
            return path.substr(0, path.size() - length);
    }
    return path;
}

} // namespace

bool MixerSoundManager::LoadSound(int id, const std::string& givenPath)
{
    if (!ValidId(id))
        return false;
    UnloadSound(id);
    if (!mMixer)
        return true;
    {
        std::lock_guard<std::mutex> lock(mTableLock);
        mSoundPaths[id] = givenPath;
    }
    // Sounds are named without extension and found under each one in turn; a name written with one of those
    // extensions (as modders tend to) means the same file.
    const std::string path = WithoutSoundExtension(givenPath);

    PcmData pcm;
    bool loaded = false;
    std::string cachePath = CachePath(path);
    if (!cachePath.empty())
        loaded = ReadCachedOrWav(cachePath, pcm);
    if (!loaded)
        loaded = ReadCachedOrWav(path + ".wav", pcm);
    for (const char* extension : {".ogg", ".au"})
    {
        if (loaded)
            break;
        std::string sourceName = path + extension;
        std::unique_ptr<ByteSource> source = mFiles->Open(sourceName);
        if (!source)
            continue;
        loaded = extension[1] == 'o' ? DecodeOgg(*source, pcm) : DecodeAu(*source, pcm);
        if (loaded)
            WriteCache(cachePath, pcm, sourceName);
        else
            Zestra::LogFormat("%s: not a playable sound file\n", sourceName.c_str());
    }
    if (!loaded)
        return false;
    auto sound = std::make_shared<const PcmData>(std::move(pcm));
    std::lock_guard<std::mutex> lock(mTableLock);
    mSoundSizes[id] = int64_t(sound->mBytes.size());
    mSounds[id] = std::move(sound);
    return true;
}

void MixerSoundManager::WriteCache(const std::string& cachePath, const PcmData& pcm, const std::string& sourceName)
{
    if (cachePath.empty())
        return;
    std::vector<uint8_t> bytes = BuildCacheWav(pcm, sourceName, mFiles->FileTime(sourceName), kCacheKey);
    // The folder is made here, on the first write, so plain WAV sounds never leave empty cache folders behind.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(cachePath).parent_path(), error);
    // Written beside and renamed over, so a crash mid-write never leaves a cut cache file in place.
    std::string temporary = cachePath + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
    {
        Zestra::LogFormat("%s: cannot write the sound cache file\n", cachePath.c_str());
        return;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), cachePath.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        Zestra::LogFormat("%s: cannot write the sound cache file\n", cachePath.c_str());
    }
}

void MixerSoundManager::UnloadSound(int id)
{
    if (!ValidId(id))
        return;
    // Instances keep their own reference, so ones still playing this sound finish normally.
    std::shared_ptr<const PcmData> released;
    {
        std::lock_guard<std::mutex> lock(mTableLock);
        released = std::move(mSounds[id]);
        mSoundPaths[id].clear();
        mSoundSizes[id] = 0;
    }
}

void MixerSoundManager::SetVolume(double volume)
{
    mVolume = ClampUnit(volume);
    for (auto& instance : mInstances)
        if (instance)
            instance->SendLevels();
}

bool MixerSoundManager::SetDefaultVolume(int id, double volume)
{
    if (!ValidId(id))
        return false;
    mDefaultVolumes[id] = volume;
    return true;
}

bool MixerSoundManager::SetDefaultPan(int id, int pan)
{
    if (!ValidId(id))
        return false;
    mDefaultPans[id] = pan;
    return true;
}

void MixerSoundManager::Sweep()
{
    for (auto& instance : mInstances)
        if (instance && instance->IsFinished())
            instance.reset();
}

SoundInstance* MixerSoundManager::MakeInstance(int id)
{
    if (!ValidId(id))
        return nullptr;
    uint64_t now = mClock ? mClock() : 0;
    if (now - mLastSweepTick > 1000)
    {
        Sweep();
        mLastSweepTick = now;
    }
    int slot = -1;
    for (int i = 0; i < kMaxInstances && slot < 0; ++i)
    {
        if (!mInstances[i])
            slot = i;
        else if (mInstances[i]->IsFinished())
        {
            mInstances[i].reset();
            slot = i;
        }
    }
    if (slot < 0)
        return nullptr;

    std::shared_ptr<const PcmData> sound;
    {
        std::lock_guard<std::mutex> lock(mTableLock);
        sound = mSounds[id];
    }
    int voice = -1;
    if (mMixer)
    {
        if (!sound)
            return nullptr;
        voice = mMixer->AcquireVoice(mBus);
        if (voice < 0)
        {
            // Callers already handle a null instance; a full mixer only costs this one sound.
            Zestra::LogFormat("sound %d: no free mixer voice\n", id);
            return nullptr;
        }
    }
    mInstances[slot] = std::make_unique<MixerSoundInstance>(*this, mMixer, voice, mMixer ? sound : nullptr);
    mInstances[slot]->SetDefaultPan(mDefaultPans[id]);
    mInstances[slot]->SetDefaultVolume(mDefaultVolumes[id]);
    return mInstances[slot].get();
}

void MixerSoundManager::UnloadAllSounds()
{
    for (int id = 0; id < kMaxSounds; ++id)
        UnloadSound(id);
}

void MixerSoundManager::DeleteAllInstances()
{
    for (auto& instance : mInstances)
        instance.reset();
}

double MixerSoundManager::GetSystemVolume()
{
    return mMixer ? mMixer->GetMasterLevel() : 1.0;
}

void MixerSoundManager::SetSystemVolume(double volume)
{
    // The system mixer kept 16-bit levels; keep the same steps so a read-back matches what was stored.
    if (mMixer)
        mMixer->SetMasterLevel(int(ClampUnit(volume) * 65535) / 65535.0);
}

void MixerSoundManager::StopAllSounds()
{
    for (auto& instance : mInstances)
        if (instance)
            instance->StopKeepingAutoFree();
}

int MixerSoundManager::FindFreeId()
{
    std::lock_guard<std::mutex> lock(mTableLock);
    for (int id = 0; id < kMaxSounds; ++id)
        if (!mSounds[id])
            return id;
    return -1;
}

int MixerSoundManager::CountSounds()
{
    std::lock_guard<std::mutex> lock(mTableLock);
    int n = 0;
    for (const auto& sound : mSounds)
        n += sound ? 1 : 0;
    return n;
}

} // namespace Zestra
