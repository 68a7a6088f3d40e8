#include "game/app/GameApp.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/log/Log.h"
#include "framework/platform/Paths.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundFactory.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/DistributorScreen.h"
#include "game/app/LogoScreen.h"
#include "game/app/TitleScreen.h"
#include "game/data/CustomerStats.h"
#include "game/data/DataTables.h"
#include "game/data/FrameworkParserHost.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/PersonStats.h"
#include "game/flow/BoardFlow.h"
#include "game/flow/MenuCatalog.h"
#include "game/minigame/Minigame.h"
#include "game/audio/GameSound.h"
#include "game/people/Person.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileFile.h"
#include "game/profile/ProfileManager.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shop/ShopItems.h"
#include "game/shopday/Board.h"
#include "game/tutorial/LessonScreens.h"
#include "game/tutorial/TutorialLessons.h"
#include "game/ui/Menu.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <sys/resource.h>

namespace Zestra
{

namespace
{
constexpr double kMainMenuFadeIn = 0.008;

bool ParseCount(const char* first, const char* last, int& out)
{
    if (first == last)
        return false;
    auto [end, error] = std::from_chars(first, last, out);
    return error == std::errc() && end == last && out >= 0;
}

long PeakMemoryKb()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    return usage.ru_maxrss; // kilobytes on Linux
}

std::string JsonText(const std::string& text)
{
    std::string out = "\"";
    for (char ch : text)
    {
        if (ch == '"' || ch == '\\')
            out += '\\';
        if (static_cast<unsigned char>(ch) >= 0x20)
            out += ch;
    }
    return out + "\"";
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
    Config().mProductName = "Velmora Row";
    Config().mWindowTitle = "Velmora Row";
    Config().mCompanyFolder = "Kestrin";
    Config().mRegistryKey = "Kestrin\\Velmora Row";
    Config().mVersionText = "v1.2";
    mWidth = 800;
    mHeight = 600;
    Window().mWindowed = false;
    Window().mCustomCursorsEnabled = false;
    Clock().mRefreshPacing = true;
    Window().mAuto3D = true;
    // An installed copy may keep its data apart from the program: the Debian package puts the program in
    // /usr/games and the data in /usr/share/games/velmora-row, `cmake --install` uses bin/ and share/velmora-row/.
    // Either marker will do: the archive alone carries everything, and so do the loose folders.
    Config().mStartDir = FindDataFolder(Config().mStartDir, {"../share/games/velmora-row", "../share/velmora-row"},
                                        {"main.pak", "properties/resources.xml"});
    AddGameOptions();
}

GameApp::~GameApp()
{
    SetGameSoundSink({});
    SetGameVoiceSink({});
    // A loading task still running stops at its next step once shutdown has begun; the tables go after it.
    Quit();
    if (Loading().mLoadingThread.joinable())
        Loading().mLoadingThread.join();
    // The board first (it writes the profiles), then whatever start screen is still shown.
    auto remove = [this](Widget* widget)
    {
        if (widget != nullptr && widget->mParent != nullptr)
            widget->mParent->DetachChild(widget);
    };
    // Only a board made after loading finished exists here, so the profiles written back are the ones read.
    if (mBoard && !mProfilesWrittenAtExit)
        SaveProfiles();
    remove(mBoard.get());
    mBoard.reset();
    remove(mTitleScreen.get());
    mTitleScreen.reset();
    remove(mSecondSplash.get());
    mSecondSplash.reset();
    remove(mFirstSplash.get());
    mFirstSplash.reset();
    remove(mLogoScreen.get());
    mLogoScreen.reset();
    // The tables give their voices back through the voice manager, so it outlives them.
    UnbindAllGroups();
    FreeProfiles(); // its saved runs link into the store table
    FreeDataTables();
    mDataHost.reset();
    mVoiceManager.reset();
}

void GameApp::OnMainLoopExit()
{
    ZestraAppBase::OnMainLoopExit();
    if (!mBoard)
        return;
    mProfilesWrittenAtExit = true;
    if (!SaveProfiles())
        mWriteFailed = true;
}

double GameApp::ProcessMs() const
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - mProcessStart).count();
}

void GameApp::SetProcessStart(std::chrono::steady_clock::time_point start)
{
    mProcessStart = start;
}

// ---------------------------------------------------------------------------------------------------------------
// Settings, volumes and voices

void GameApp::LoadSettings()
{
    ZestraAppBase::LoadSettings();
    int value = 0;
    if (!Config().mRegistryKey.empty() && SettingReadInteger("VoiceVolume", value))
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
    mVoiceVolume = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    if (mVoiceManager)
        mVoiceManager->SetVolume(IsMuted() ? 0.0 : mVoiceVolume);
}

std::unique_ptr<SoundManager> GameApp::MakeVoiceManager()
{
    return CreateSoundManager(Config().mSilent ? nullptr : mAudioMixer.get(), &mPlatform, Config().mDataFolder,
                              AudioMixer::Bus::Voices);
}

void GameApp::PlayVoice(VoiceId voice)
{
    if (!mVoiceManager || !voice.IsValid())
        return;
    if (SoundInstance* instance = mVoiceManager->MakeInstance(voice.value))
        instance->Play(false, true);
}

// ---------------------------------------------------------------------------------------------------------------
// Command line

void GameApp::AddGameOptions()
{
    AddCommandLineOption({"-level", "S:L", "skip the start screens and open day L (from 0) of store S (from 1)",
                          [this](const std::string& value)
                          {
                              if (!ParseLevelOption(value, options.store, options.level))
                              {
                                  Zestra::Log("velmora: -level wants STORE:LEVEL (store from 1, level from 0), not \"" +
                                              value + "\"");
                                  std::fflush(stderr);
                                  std::_Exit(kBadLevelExitCode);
                              }
                              options.levelGiven = true;
                          }});
    AddCommandLineOption({"-autoplay", "[novice]",
                          "let the built-in player play the day with mouse events; =novice plays it as a "
                          "newcomer would (slower, by what catches the eye, sometimes beside the target)",
                          [this](const std::string& value)
                          {
                              if (!value.empty() && value != "novice")
                                  ReportBadOptionValue("-autoplay", value);
                              options.autoplay = true;
                              options.novice = value == "novice";
                          }});
    AddCommandLineOption({"-drive", "FILE",
                          "with -autoplay: the player's mouse events are not queued but written to FILE (a named "
                          "pipe; - for standard output) as lines \"move X Y\", \"down X Y\", \"up X Y\" in window "
                          "pixels, one at a time, each once the previous one has come back from the display "
                          "(tools/xvfb/drive.py performs them)",
                          [this](const std::string& value) { options.drive = value.empty() ? "-" : value; }});
    AddCommandLineOption({"-idle-day", "S:L",
                          "with -autoplay: the player does nothing on the floor the first time day L of store S is "
                          "played, so the day fails; it plays its retry",
                          [this](const std::string& value)
                          {
                              if (!ParseLevelOption(value, options.idleStore, options.idleLevel))
                              {
                                  Zestra::Log("velmora: -idle-day wants STORE:LEVEL (store from 1, level from 0), "
                                              "not \"" +
                                              value + "\"");
                                  std::fflush(stderr);
                                  std::_Exit(kBadLevelExitCode);
                              }
                          }});
    AddCommandLineOption({"-nodraw", "", "with -headless: draw nothing, for simulation speed",
                          [this](const std::string&) { options.noDraw = true; }});
    AddCommandLineOption({"-memstats", "",
                          "with -autoplay: print memory, open file descriptors and threads as JSON lines on "
                          "stderr at the start, after the first day, at the end of the run and after shutdown",
                          [this](const std::string&) { options.memStats = true; }});
    AddCommandLineOption({"-panels", "",
                          "with -autoplay: after a day's line, the figures of its result panel as shown, as one "
                          "JSON line {\"panel\":[[label,figure],...]}",
                          [this](const std::string&) { options.panels = true; }});
    AddCommandLineOption({"-quit-after-level", "", "print the day's figures as one JSON line when it ends, then exit",
                          [this](const std::string&) { options.quitAfterLevel = true; }});
    AddCommandLineOption({"-timings", "",
                          "print the start-up timings (first logo frame, loading finished, peak memory) as one JSON "
                          "line once loading has finished, then exit",
                          [this](const std::string&) { options.timings = true; }});
    AddCommandLineOption({"-screen", "NAME",
                          "skip the start screens and show the screen NAME over the store floor of the day (-level "
                          "or 1:0); with -headless -ticks=N -shot=FILE it is saved as a picture. Names: " +
                              CatalogScreenNames() + ", " + LessonScreenNames(),
                          [this](const std::string& value)
                          {
                              if (FindCatalogScreen(value) == nullptr && FindLessonScreen(value) == nullptr)
                              {
                                  Zestra::Log("velmora: there is no screen \"" + value + "\"; the screens are: " +
                                              CatalogScreenNames() + ", " + LessonScreenNames());
                                  std::fflush(stderr);
                                  std::_Exit(kBadLevelExitCode);
                              }
                              options.screen = value;
                          }});
}

// ---------------------------------------------------------------------------------------------------------------
// Start-up

void GameApp::Initialize()
{
    ZestraAppBase::Initialize();
    if (mQuitting || !mWidgetManager)
        return;
    LoadManifest();
    for (const char* group : {"Init", "TitleScreen"})
    {
        std::string error;
        if (!mResourceManager->LoadGroup(group))
            error = mResourceManager->ErrorText();
        else if (!BindGroup(*mResourceManager, group, &error) && error.empty())
            error = "it has nothing to bind";
        if (!error.empty())
        {
            // The start screens need both groups: without them there is nothing to show.
            ShowFatalMessage("Cannot load the resource group " + std::string(group) + ": " + error);
            ExitWithCode(1);
        }
        if (std::string(group) == "Init")
        {
            SetCursorImage(0, IMAGE_CUSTOM_POINTER.get());
            SetCursorImage(1, IMAGE_CUSTOM_HAND.get());
            SetCursorImage(2, IMAGE_CUSTOM_DRAGGING.get());
            SetCursorImage(3, IMAGE_CUSTOM_TEXT.get());
        }
    }

    if (!mVoiceManager)
        mVoiceManager = MakeVoiceManager();
    SetVoiceVolume(mVoiceVolume);
    SetGameSoundSink([this](int id) { PlaySound(id); });
    SetGameVoiceSink([this](VoiceId voice) { PlayVoice(voice); });

    // The count pass reads only the lists (no media), so the loading bar knows its length before the thread runs.
    {
        FrameworkParserHost counter(nullptr, nullptr, &mImageRegistry);
        LevelStats stores(counter, true);
        PersonStats people(counter, true);
        Loading().mLoadingTaskCount = mResourceManager->CountResources("Velmora") + mResourceManager->CountResources("Game") +
                            people.Count() + stores.ImageTotal() + 3;
    }

    mGameLoaded = false;
    // "-level" and "-screen" are shortcuts straight into a day: no start screens, the day opens once loading has
    // finished.
    if (!SkipsStartScreens())
    {
        mLogoScreen = std::make_unique<LogoScreen>(*this);
        mWidgetManager->AttachChild(mLogoScreen.get());
    }
}

void GameApp::RunLoadingTask()
{
    // Loading thread: only the tables, the large resource groups and the progress counter are written here.
    // The host outlives the tables: the shared songs and voices are given back through it when they are freed.
    mDataHost = std::make_unique<FrameworkParserHost>(mMusicInterface.get(), mVoiceManager.get(), &mImageRegistry,
                                                      [this] { LoadingStep(); });
    {
        LevelStats stores(*mDataHost, false);
    }
    if (mQuitting)
        return;
    {
        PersonStats people(*mDataHost, false);
    }
    if (mQuitting)
        return;
    {
        CustomerStats customers(*mDataHost);
    }
    LoadingStep();
    {
        Localization texts(*mDataHost);
    }
    LoadingStep();
    // Tables read from a damaged file look whole; a day played on them would record progress against the wrong
    // stores and levels, so the start fails before the profiles are even read.
    if (!mDataHost->FirstDamage().empty())
    {
        FailLoading("The game data is damaged: " + mDataHost->FirstDamage());
        return;
    }
    // The profiles are read with the players' own data, after the store table that every store, level and upgrade
    // number in the file is checked against; their step keeps the count honest.
    {
        ProfileManager profiles(*mDataHost, Config().mDataFolder);
    }
    LoadingStep();
    if (mQuitting)
        return;
    if (!LoadGroupInSteps("Game") || !LoadGroupInSteps("Velmora"))
        return;
    PublishDataTables();
}

bool GameApp::LoadGroupInSteps(const char* group)
{
    ResourceManager& resources = *mResourceManager;
    resources.StartLoadingGroup(group);
    while (resources.LoadNextPending())
    {
        LoadingStep();
        // Shutting down: stop here without an error, the main thread is waiting for this thread to end.
        if (mQuitting)
            return false;
    }
    std::string error;
    if (resources.Failed())
        error = resources.ErrorText();
    else if (!BindGroup(resources, group, &error) && error.empty())
        error = "it has nothing to bind";
    if (error.empty())
        return true;
    FailLoading("Cannot load the resource group " + std::string(group) + ": " + error);
    return false;
}

void GameApp::FailLoading(const std::string& error)
{
    // Only recorded here: the message box and the shutdown belong to the main thread.
    mLoadingError = error;
    mLoadingFailed.store(true, std::memory_order_release);
}

void GameApp::FailStart(const std::string& error)
{
    ShowFatalMessage(error);
    mExitCode = 1;
    Quit();
}

void GameApp::OnLoadingFinished()
{
    if (LoadingFailed())
    {
        FailStart(mLoadingError);
        return;
    }
    if (mQuitting)
        return;
    mGameLoaded = true;
    mTimings.loadingFinishedMs = ProcessMs();
    mTimings.peakMemoryKb = PeakMemoryKb();
    if (options.timings)
    {
        std::printf("%s\n", StartupReport().c_str());
        std::fflush(stdout);
        Quit();
        return;
    }
    if (SkipsStartScreens())
    {
        CreateBoard();
        if (!StartLevel(options.store, options.level))
        {
            Zestra::LogFormat("velmora: there is no level %d:%d (stores 1 to %d)\n", options.store, options.level,
                              StoreCount());
            std::fflush(stderr);
            ExitWithCode(kBadLevelExitCode);
        }
        if (const MenuCatalogEntry* screen = FindCatalogScreen(options.screen))
            screen->open(*mBoard, *this);
        else if (const LessonScreen* lesson = FindLessonScreen(options.screen))
            OpenLessonScreen(*mBoard, *lesson);
        return;
    }
    if (mTitleScreen)
        mTitleScreen->ShowPlay();
}

std::string GameApp::StartupReport() const
{
    char text[256];
    std::snprintf(text, sizeof text, "{\"first_logo_frame_ms\":%.1f,\"loading_finished_ms\":%.1f,\"peak_rss_kb\":%ld,",
                  mTimings.firstLogoFrameMs, mTimings.loadingFinishedMs, mTimings.peakMemoryKb);
    return text + std::string("\"loading_steps\":") + std::to_string(Loading().mLoadingTasksDone.load()) + ",\"loading_count\":" +
           std::to_string(Loading().mLoadingTaskCount.load()) + ",\"refresh_hz\":" + std::to_string(Clock().mRefreshRate) +
           ",\"display\":" + JsonText(mPlatform.DisplayDescription()) + "}";
}

// ---------------------------------------------------------------------------------------------------------------
// Start screens

template <class Screen> void GameApp::RetireScreen(std::unique_ptr<Screen>& screen)
{
    if (!screen)
        return;
    if (screen->mParent != nullptr)
        screen->mParent->DetachChild(screen.get());
    // The screen may be inside its own update or click: it goes once the loop has unwound past it.
    DeferDelete(screen.release());
}

void GameApp::ShowFirstSplash()
{
    RetireScreen(mLogoScreen);
    mFirstSplash = std::make_unique<DistributorScreen>(*this, "splash");
    mWidgetManager->AttachChild(mFirstSplash.get());
}

void GameApp::ShowNextSplash()
{
    if (mFirstSplash)
    {
        RetireScreen(mFirstSplash);
        mSecondSplash = std::make_unique<DistributorScreen>(*this, "splash2");
        mWidgetManager->AttachChild(mSecondSplash.get());
        return;
    }
    RetireScreen(mSecondSplash);
    mTitleScreen = std::make_unique<TitleScreen>(*this);
    mWidgetManager->AttachChild(mTitleScreen.get());
    if (mGameLoaded)
        mTitleScreen->ShowPlay();
}

void GameApp::StartGame()
{
    if (!mGameLoaded)
        return;
    RetireScreen(mTitleScreen);
    // A title shown over a day ("-screen=title") uncovers the day: the game has already started.
    if (mBoard)
        return;
    CreateBoard();
    // The title screen's pictures are not needed again this run.
    UnbindGroup("TitleScreen");
    mResourceManager->UnloadGroup("TitleScreen");
    mBoard->flow->ShowMainMenu();
    if (mMusicInterface)
        mMusicInterface->FadeSongIn(MainMenuSong(), -1, kMainMenuFadeIn, false);
}

bool GameApp::ShowStartScreen(const std::string& name)
{
    if (name == "logo")
    {
        RetireScreen(mLogoScreen);
        mLogoScreen = std::make_unique<LogoScreen>(*this);
        mWidgetManager->AttachChild(mLogoScreen.get());
        return true;
    }
    if (name == "splash")
    {
        RetireScreen(mFirstSplash);
        mFirstSplash = std::make_unique<DistributorScreen>(*this, "splash");
        mWidgetManager->AttachChild(mFirstSplash.get());
        return true;
    }
    if (name == "title")
    {
        RetireScreen(mTitleScreen);
        mTitleScreen = std::make_unique<TitleScreen>(*this);
        mWidgetManager->AttachChild(mTitleScreen.get());
        if (mGameLoaded)
            mTitleScreen->ShowPlay();
        return true;
    }
    return false;
}

void GameApp::CloseStartScreens()
{
    RetireScreen(mLogoScreen);
    RetireScreen(mFirstSplash);
    RetireScreen(mSecondSplash);
    RetireScreen(mTitleScreen);
}

void GameApp::CreateBoard()
{
    mBoard = std::make_unique<Board>();
    mBoard->SetBounds(0, 0, mWidth, mHeight);
    // Nobody can walk a floor without walkways: a day on it would only end in lost lives.
    if (!mBoard->LoadWalkGrid() || mBoard->FloorGrid().NodeCount() == 0)
    {
        const std::string& error = mBoard->FloorGrid().ErrorText();
        ShowFatalMessage("The game data is damaged: " +
                         (error.empty() ? std::string("properties/grid.txt: the file holds no walkways") : error));
        ExitWithCode(1);
    }
    mShopItems = std::make_unique<ShopItemMaker>(*mBoard, *this);
    mBoard->SetShopFactory(mShopItems.get());
    mProfileRecorder = std::make_unique<ProfileRecorder>();
    mBoard->SetRecorder(mProfileRecorder.get());
    mBoard->SetLessonMaker(MakeLesson);
    mBoard->SetFlow(std::make_unique<BoardFlow>(*mBoard, *this));
    mBoard->SetFractionalUpdates(Clock().mRefreshPacing);
    mBoard->OnDayOpened([this] { NoteDayStarted(); });
    mBoard->OnLevelEnded(
        [this]
        {
            if (onLevelEnded)
                onLevelEnded();
            // The day's result panel follows and leads on, for a day opened with "-level" in a window too; a day
            // played for its figures ("-quit-after-level") or headless, on a clock of its own, ends where it
            // stands (and may have quit).
            const bool figuresOnly = options.levelGiven && (options.quitAfterLevel || Loading().mClockWaitsForLoading ||
                                                            mPlatform.HasVirtualClock());
            if (!mQuitting && mBoard && !figuresOnly)
                mBoard->flow->ShowLevelResult();
        });
    mWidgetManager->AttachChild(mBoard.get());
    mWidgetManager->FocusWidget(mBoard.get());
    UpdateBoardPause();
}

void GameApp::NoteDayStarted()
{
    mLevelStartUpdate = UpdateCount();
    mDayStarted = true;
    mTiming = Timing{};
    if (onDayStarted)
        onDayStarted();
}

bool GameApp::StartLevel(int storeNumber, int level)
{
    if (!mBoard || !mBoard->OpenDay(storeNumber, level))
        return false;
    NoteDayStarted();
    const LevelInfo* info = mBoard->run.Store()->GetLevel(level);
    if (info != nullptr && info->isMinigame)
    {
        mBoard->flow->OpenMinigame();
        // "-level" goes straight into the day: the first stage begins at once, as the level-start panel's OK
        // begins it in the flow.
        if (mBoard->DayMinigame() != nullptr)
            mBoard->DayMinigame()->StartStage();
    }
    else if (info != nullptr)
    {
        // The day sounds as it does when its store is opened from the map.
        PlaySongAlone(info->music);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Loop hooks

void GameApp::RunUpdate()
{
    auto start = std::chrono::steady_clock::now();
    ZestraAppBase::RunUpdate();
    if (onUpdate && !mQuitting)
        onUpdate();
    mTiming.update += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::string> GameApp::DemoStartFiles() const
{
    return {"profiles.xml"};
}

namespace
{
void DigestRun(std::ostream& out, const char* name, const GameState* run)
{
    out << name;
    if (run == nullptr)
    {
        out << " none\n";
        return;
    }
    out << " store " << run->storeNumber << " level " << run->levelIndex << " rooms " << run->changingRooms
        << " merchant " << run->merchantLevel << " drinks " << run->drinks << " goodies " << run->goodieRack
        << " score " << run->score << " cash " << run->cash << " lives " << run->lives << " furniture";
    for (int level : run->furnitureLevels)
        out << ' ' << level;
    out << " mannequins";
    for (const auto& [top, bottom] : run->mannequinClothing)
        out << ' ' << top << '/' << bottom;
    out << '\n';
}
} // namespace

std::string GameApp::StateDigestText()
{
    std::ostringstream out;
    out.precision(17);
    out << "updates " << UpdateCount() << '\n';
    if (mBoard != nullptr)
    {
        const Board& b = *mBoard;
        out << "board state " << int(b.State()) << " mode " << int(b.Mode()) << " pause " << b.PauseCount() << " clock "
            << b.day.clockTicks << " money " << b.day.money << " cash " << b.day.cash << " tips " << b.day.tips
            << " lost " << b.day.lostCustomers << " served " << b.day.customersServed << " result "
            << int(b.lastDay.levelResult) << " played " << b.lastDay.storePlayed << ':' << b.lastDay.levelPlayed << " level-money "
            << b.lastDay.levelMoney << " banner " << b.hud.bannerTimer << " rank " << b.lastDay.highScoreRank.value_or(-2) << '\n';
        if (b.merchant != nullptr)
            out << "merchant " << b.merchant->x << ',' << b.merchant->y << " hands " << b.merchant->hands[0] << ','
                << b.merchant->hands[1] << " actions " << b.merchant->actions.size() << '\n';
        for (const Person* person : b.people)
            out << "person " << person->x << ',' << person->y << " hands " << person->hands[0] << ','
                << person->hands[1] << " actions " << person->actions.size() << '\n';
        DigestRun(out, "run", b.run.Progress());
        DigestRun(out, "day-start", b.run.Saved());
    }
    // The profile table belongs to the loading thread until loading has been acknowledged.
    if (Loading().mLoadingAcknowledged)
        out << "profiles\n" << FormatProfiles(GetProfiles());
    return out.str();
}

int GameApp::UpdatesTowardQuit() const
{
    if (!SkipsStartScreens())
        return UpdateCount();
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
        Clock().mUpdatedSinceDraw = false;
        Clock().mLastDrawSkipped = true;
        return false;
    }
    auto start = std::chrono::steady_clock::now();
    mPresenting = 0;
    bool drawn = ZestraAppBase::DrawIfDirty();
    mTiming.draw += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() - mPresenting;
    if (drawn && mLogoScreen && mTimings.firstLogoFrameMs < 0)
        mTimings.firstLogoFrameMs = ProcessMs();
    return drawn;
}

void GameApp::OnFocusLost()
{
    ZestraAppBase::OnFocusLost();
    if (mBoard)
        mBoard->SetPaused(true);
    for (Menu* menu : mOpenMenus)
        menu->AppFocusChanged(true);
}

void GameApp::OnFocusGained()
{
    ZestraAppBase::OnFocusGained();
    if (mBoard)
        mBoard->SetPaused(false);
    for (Menu* menu : mOpenMenus)
        menu->AppFocusChanged(false);
}

// ---------------------------------------------------------------------------------------------------------------
// The stack of open menus

Menu* GameApp::AddMenu(std::unique_ptr<Menu> menu)
{
    if (!menu)
        return nullptr;
    Menu* added = menu.release();
    added->OpenedBy(this);
    AddDialog(added->mDialogId, added);
    mOpenMenus.push_back(added);
    UpdateBoardPause();
    return added;
}

bool GameApp::RemoveDialog(int id)
{
    bool removed = ZestraAppBase::RemoveDialog(id);
    auto open = std::find_if(mOpenMenus.begin(), mOpenMenus.end(), [id](Menu* m) { return m->mDialogId == id; });
    if (open != mOpenMenus.end())
    {
        mOpenMenus.erase(open);
        UpdateBoardPause();
    }
    return removed;
}

void GameApp::CloseMenu(int dialogId)
{
    RemoveDialog(dialogId);
}

void GameApp::CloseAllMenus(const std::function<void()>& openNext)
{
    mClosingMenus.splice(mClosingMenus.end(), mOpenMenus);
    if (openNext)
        openNext();
    std::list<Menu*> closing;
    closing.swap(mClosingMenus);
    for (Menu* menu : closing)
        ZestraAppBase::RemoveDialog(menu->mDialogId);
    UpdateBoardPause();
}

void GameApp::UpdateBoardPause()
{
    if (!mBoard)
        return;
    bool allShowBoard = true;
    bool dimmed = false;
    bool keepsFocus = false;
    // Menus above one that hides the board do not matter: the board is not seen through it.
    for (Menu* menu : mOpenMenus)
    {
        dimmed = dimmed || menu->ShowsBoard();
        keepsFocus = keepsFocus || menu->keepsFocus;
        if (!menu->showsBoard)
        {
            allShowBoard = false;
            break;
        }
    }
    BoardState state =
        mOpenMenus.empty() ? BoardState::Playing : (allShowBoard ? BoardState::Covered : BoardState::Hidden);
    mBoard->SetBoardState(state, dimmed);
    if (!keepsFocus)
        mWidgetManager->FocusWidget(mBoard.get());
}

} // namespace Zestra
