// What the application is (product, company, registry key, folders, version) and how this run was asked to go
// (command line and its options); beside it the sound levels and the two mute counts.
#pragma once

#include <string>
#include <vector>

namespace Zestra
{

struct AppConfig
{
    std::string mCompanyFolder;
    std::string mProductName = "Product";
    std::string mWindowTitle = "ZestraApp";
    std::string mRegistryKey;
    std::string mStartDir;
    std::string mVersionText;
    std::string mDataFolder;
    bool mDataFolderGiven = false; // "-datafolder": an unusable folder is then the command line's fault
    std::vector<std::string> mCommandLine; // program name first
    bool mCommandLineParsed = false;
    unsigned mRandSeed = 0;
    bool mSeedGiven = false;
    std::string mShotPath;     // -shot
    int mQuitAfterUpdates = 0; // -ticks; 0 runs until quit
    bool mSilent = false;
    bool mUseAltMusicLibrary = false;
    bool mLastRunClean = true;
    bool mAcceptHighCharacters = true;
    bool mTabletSystem = false;
    bool mDebugKeysEnabled = false;
    bool mSettingsLoaded = false;
    bool mScreenSaverLogStarted = false;
};

// Volumes run 0..1; automatic mutes (focus loss, minimise) are counted in both levels.
struct SoundLevels
{
    double mMusicVolume = 0.85;
    double mEffectsVolume = 0.85;
    int mMuteLevel = 0;
    int mAutoMuteLevel = 0;
    bool mMuteOnFocusLoss = true;
};

} // namespace Zestra
