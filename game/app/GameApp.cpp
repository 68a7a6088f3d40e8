#include "game/app/GameApp.h"

#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundFactory.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/Res.h"
#include "game/data/CustomerStats.h"
#include "game/data/DataTables.h"
#include "game/data/FrameworkParserHost.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/PersonStats.h"
#include "game/people/GameSound.h"
#include "game/profile/GameState.h"
#include "game/store/Board.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <iostream>

namespace Zestra
{

namespace
{
bool ParseCount(const char* first, const char* last, int& out)
{
    if (first == last)
        return false;
    auto [end, error] = std::from_chars(first, last, out);
    return error == std::errc() && end == last && out >= 0;
}
} // namespace

bool ParseLevelOption(const std::string& text, int& store, int& level)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    const char* begin = text.data();
    return ParseCount(begin, begin + colon, store) && ParseCount(begin + colon + 1, begin + text.size(), level) &&
           store >= 1;
}

GameApp::GameApp(Platform& platform) : ZestraAppBase(platform)
{
    mProductName = "Velmora Row";
    mWindowTitle = "Velmora Row";
    mRegistryKey = "Kestrin\\Velmora Row";
    mWidth = 800;
    mHeight = 600;
    AddGameOptions();
}

void GameApp::AddGameOptions()
{
    AddCommandLineOption({"-level", "S:L", "open day L (from 0) of store S (from 1) straight away",
                          [this](const std::string& value)
                          {
                              if (!ParseLevelOption(value, options.store, options.level))
                              {
                                  std::fprintf(stderr,
                                               "velmora: -level wants STORE:LEVEL (store from 1, level from 0), "
                                               "not \"%s\"\n",
                                               value.c_str());
                                  std::fflush(stderr);
                                  std::_Exit(kBadLevelExitCode);
                              }
                              options.levelGiven = true;
                          }});
    AddCommandLineOption({"-autoplay", "", "let the built-in player play the day with mouse events",
                          [this](const std::string&) { options.autoplay = true; }});
    AddCommandLineOption({"-nodraw", "", "with -headless: draw nothing, for simulation speed",
                          [this](const std::string&) { options.noDraw = true; }});
    AddCommandLineOption({"-quit-after-level", "", "print the day's figures as one JSON line when it ends, then exit",
                          [this](const std::string&) { options.quitAfterLevel = true; }});
}

GameApp::~GameApp()
{
    SetGameSoundSink({});
    // The manager only links to the board; unlink it before the board goes, and the board before the tables.
    if (mBoard && mWidgetManager)
        mWidgetManager->DetachChild(mBoard.get());
    mBoard.reset();
    // A run cut short may end while the loading thread still reads; the tables are freed once it is done.
    if (mLoadingThread.joinable())
        mLoadingThread.join();
    UnbindAllGroups();
    FreeDataTables();
    mDataHost.reset();
}

void GameApp::LoadSettings()
{
    ZestraAppBase::LoadSettings();
    int value = 0;
    if (!mRegistryKey.empty() && SettingReadInteger("VoiceVolume", value))
        mVoiceVolume = std::clamp(value / 100.0, 0.0, 1.0);
}

void GameApp::SaveSettings()
{
    ZestraAppBase::SaveSettings();
    // Rounded like the other volumes, so a value does not lose a percent at every run.
    SettingWriteInteger("VoiceVolume", int(std::lround(mVoiceVolume * 100)));
}

void GameApp::Mute(bool automatic)
{
    ZestraAppBase::Mute(automatic);
    SetVoiceVolume(mVoiceVolume);
}

void GameApp::Unmute(bool automatic)
{
    ZestraAppBase::Unmute(automatic);
    SetVoiceVolume(mVoiceVolume);
}

void GameApp::SetVoiceVolume(double volume)
{
    mVoiceVolume = std::clamp(volume, 0.0, 1.0);
    if (mVoiceManager)
        mVoiceManager->SetVolume(IsMuted() ? 0.0 : mVoiceVolume);
}

void GameApp::PlayVoice(int id)
{
    if (!mVoiceManager)
        return;
    if (SoundInstance* voice = mVoiceManager->MakeInstance(id))
        voice->Play(false, true);
}

void GameApp::Initialize()
{
    ZestraAppBase::Initialize();
    if (mQuitting || !mWidgetManager)
        return;
    mVoiceManager = CreateSoundManager(mAudioMixer.get(), &mPlatform, mDataFolder);
    SetVoiceVolume(mVoiceVolume);
    SetGameSoundSink([this](int id) { PlaySound(id); });
    LoadManifest();
    std::string error;
    for (const char* group : {"Init", "TitleScreen"})
        if (!mResourceManager->LoadGroup(group) ? (error = mResourceManager->ErrorText(), true)
                                                : !BindGroup(*mResourceManager, group, &error))
        {
            ShowFatalMessage("Cannot load the resource group " + std::string(group) + ": " + error);
            ExitWithCode(1);
        }
}

void GameApp::RunLoadingTask()
{
    // Loading thread: only the tables, the resource groups and the progress counter are touched here.
    // The host outlives the tables: the shared songs and voices are given back through it when they are freed.
    mDataHost = std::make_unique<FrameworkParserHost>(mMusicInterface.get(), mVoiceManager.get(), &mImageRegistry,
                                                      [this] { mLoadingTasksDone.fetch_add(1); });
    {
        LevelStats stores(*mDataHost, false);
        PersonStats people(*mDataHost, false);
        CustomerStats customers(*mDataHost);
        Localization texts(*mDataHost);
    }
    mResourceManager->LoadGroup("Game");
    mResourceManager->LoadGroup("Velmora");
    PublishDataTables();
}

void GameApp::OnLoadingFinished()
{
    std::string error;
    for (const char* group : {"Game", "Velmora"})
        if (!BindGroup(*mResourceManager, group, &error))
        {
            ShowFatalMessage("Cannot load the resource group " + std::string(group) + ": " + error);
            ExitWithCode(1);
        }
    mBoard = std::make_unique<Board>();
    mBoard->SetBounds(0, 0, mWidth, mHeight);
    mBoard->LoadWalkGrid();
    mBoard->onLevelEnded = [this] {
        if (onLevelEnded)
            onLevelEnded();
    };
    mWidgetManager->AttachChild(mBoard.get());
    mWidgetManager->FocusWidget(mBoard.get());
    int store = options.levelGiven ? options.store : 1;
    int level = options.levelGiven ? options.level : 0;
    if (!StartLevel(store, level))
    {
        std::fprintf(stderr, "velmora: there is no level %d:%d (stores 1 to %d)\n", store, level, StoreCount());
        std::fflush(stderr);
        ExitWithCode(kBadLevelExitCode);
    }
}

bool GameApp::StartLevel(int storeNumber, int level)
{
    if (!mBoard || !mBoard->OpenDay(storeNumber, level))
        return false;
    mBoard->fractionalUpdates = mRefreshPacing;
    mLevelStartUpdate = mUpdateCount;
    mDayStarted = true;
    mTiming = Timing{};
    if (onDayStarted)
        onDayStarted();
    const LevelInfo* info = mBoard->store->GetLevel(level);
    if (info != nullptr && info->isMinigame)
    {
        // The bonus game arrives with its own screen; until then a bonus day passes as played.
        mBoard->EndLevel();
    }
    return true;
}

void GameApp::RunUpdate()
{
    auto start = std::chrono::steady_clock::now();
    ZestraAppBase::RunUpdate();
    if (onUpdate && !mQuitting)
        onUpdate();
    mTiming.update += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int GameApp::UpdatesTowardQuit() const
{
    if (!options.levelGiven)
        return mUpdateCount;
    return mDayStarted ? LevelTicks() : 0;
}

void GameApp::PresentScreen()
{
    auto start = std::chrono::steady_clock::now();
    ZestraAppBase::PresentScreen();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    mTiming.present += seconds;
    mPresenting += seconds;
}

bool GameApp::DrawIfDirty()
{
    if (options.noDraw)
    {
        // Counted as a frame that drew nothing, so the loop goes on to sleep until the next update is due.
        mUpdatedSinceDraw = false;
        mLastDrawSkipped = true;
        return false;
    }
    auto start = std::chrono::steady_clock::now();
    mPresenting = 0;
    bool drawn = ZestraAppBase::DrawIfDirty();
    mTiming.draw += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() - mPresenting;
    return drawn;
}

void GameApp::OnFocusLost()
{
    ZestraAppBase::OnFocusLost();
    if (mBoard)
        mBoard->SetPaused(true);
}

void GameApp::OnFocusGained()
{
    ZestraAppBase::OnFocusGained();
    if (mBoard)
        mBoard->SetPaused(false);
}

} // namespace Zestra
