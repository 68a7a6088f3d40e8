// Headless platform: virtual clock, scripted input, kept frames, in-memory settings, a private data folder.
#include "framework/platform/headless/HeadlessPlatform.h"

#include "framework/log/Log.h"
#include "framework/platform/Paths.h"
#include "framework/platform/SettingsStore.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace Zestra
{

namespace
{

// A signal handler may only set a flag; the run that owns the platform turns it into a close event.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void NoteInterrupt(int)
{
    gInterrupted = 1;
}

uint64_t SteadyNs()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace

HeadlessPlatform::HeadlessPlatform(bool realTime, const std::string& userDataFolder)
    : mRealTime(realTime), mRealStartNs(SteadyNs()), mSettings(SettingsStore::CreateInMemory()),
      mUserDataFolder(userDataFolder)
{
    // Resolved once, against the folder the program was started in: start-up later changes the working folder to
    // the program's own, and a relative name would then mean another folder.
    if (!mUserDataFolder.empty() && mUserDataFolder[0] != '/')
    {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(mUserDataFolder, error);
        if (!error)
            mUserDataFolder = absolute.string();
    }
    if (!mUserDataFolder.empty() && mUserDataFolder.back() != '/')
        mUserDataFolder += '/';
}

HeadlessPlatform::~HeadlessPlatform()
{
    CloseAudio();
    ReleaseBeforeQuickExit();
}

void HeadlessPlatform::ReleaseBeforeQuickExit()
{
    // The private data folder lives only as long as the run; left behind, every quick exit would add one to /tmp.
    if (!mOwnsUserDataFolder)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(mUserDataFolder, ignored);
    mOwnsUserDataFolder = false;
}

void HeadlessPlatform::AdvanceMs(uint64_t ms)
{
    if (!mRealTime)
        mVirtualMs += ms;
}

uint64_t HeadlessPlatform::NowMs()
{
    if (mRealTime)
        return (SteadyNs() - mRealStartNs) / 1000000u;
    return mVirtualMs.load();
}

void HeadlessPlatform::SleepMs(int ms)
{
    if (ms <= 0)
        return;
    if (mRealTime)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    else
        mVirtualMs += static_cast<uint64_t>(ms);
}

void HeadlessPlatform::PushEvent(const PlatformEvent& event)
{
    std::lock_guard<std::mutex> lock(mEventMutex);
    mEvents.push_back(event);
}

void HeadlessPlatform::PushMouseMove(int x, int y)
{
    PlatformEvent e;
    e.mType = PlatformEvent::Type::MouseMove;
    e.mX = x;
    e.mY = y;
    PushEvent(e);
}

void HeadlessPlatform::PushClick(int x, int y, int clickCode)
{
    PushMouseMove(x, y);
    PlatformEvent e;
    e.mType = PlatformEvent::Type::MouseDown;
    e.mX = x;
    e.mY = y;
    e.mClickCode = clickCode;
    PushEvent(e);
    // Releases carry the plain button code: a double click is released as an ordinary one.
    e.mType = PlatformEvent::Type::MouseUp;
    e.mClickCode = clickCode == 2 ? 1 : clickCode == -2 ? -1 : clickCode;
    PushEvent(e);
}

void HeadlessPlatform::PushKey(int key, bool shift, bool ctrl, bool alt)
{
    PlatformEvent e;
    e.mType = PlatformEvent::Type::KeyDown;
    e.mKey = key;
    e.mShift = shift;
    e.mCtrl = ctrl;
    e.mAlt = alt;
    e.mSystemKey = alt;
    PushEvent(e);
    e.mType = PlatformEvent::Type::KeyUp;
    PushEvent(e);
}

void HeadlessPlatform::PushChar(uint8_t c)
{
    PlatformEvent e;
    e.mType = PlatformEvent::Type::Char;
    e.mChar = c;
    PushEvent(e);
}

void HeadlessPlatform::PushClose()
{
    PlatformEvent e;
    e.mType = PlatformEvent::Type::Close;
    PushEvent(e);
}

size_t HeadlessPlatform::PendingEvents() const
{
    std::lock_guard<std::mutex> lock(mEventMutex);
    return mEvents.size();
}

void HeadlessPlatform::CloseOnInterrupt()
{
    struct sigaction action = {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    // One-shot: a run that no longer polls for events can still be stopped with a second interrupt.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool HeadlessPlatform::PollEvent(PlatformEvent& event)
{
    if (gInterrupted != 0)
    {
        gInterrupted = 0;
        event = PlatformEvent();
        event.mType = PlatformEvent::Type::Close;
        return true;
    }
    std::lock_guard<std::mutex> lock(mEventMutex);
    if (mEvents.empty())
        return false;
    event = mEvents.front();
    mEvents.pop_front();
    return true;
}

bool HeadlessPlatform::Present(const PixelView& screen, const std::vector<Rect>& dirty)
{
    if (!mHasWindow || screen.mPixels == nullptr || screen.mWidth <= 0 || screen.mHeight <= 0)
        return false;
    const Rect whole(0, 0, screen.mWidth, screen.mHeight);
    bool everything = dirty.empty();
    if (mLastFrameWidth != screen.mWidth || mLastFrameHeight != screen.mHeight)
    {
        mLastFrameWidth = screen.mWidth;
        mLastFrameHeight = screen.mHeight;
        mLastFrame.assign(static_cast<size_t>(screen.mWidth) * static_cast<size_t>(screen.mHeight), 0);
        everything = true;
    }
    // Like a display, the kept frame takes over only the rectangles named as changed: a change left out of them
    // shows here as it would on the screen.
    auto copy = [&](const Rect& area)
    {
        const Rect part = area.Intersection(whole);
        for (int y = part.mY; y < part.mY + part.mHeight; ++y)
        {
            const uint32_t* row = screen.mPixels + static_cast<size_t>(y) * static_cast<size_t>(screen.mPitch) +
                                  static_cast<size_t>(part.mX);
            std::copy(row, row + part.mWidth,
                      mLastFrame.begin() + static_cast<ptrdiff_t>(y) * screen.mWidth + part.mX);
        }
    };
    if (everything)
        copy(whole);
    else
        for (const Rect& area : dirty)
            copy(area);
    mLastDirty = dirty;
    ++mPresentCount;
    return true;
}

uint32_t HeadlessPlatform::PixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mLastFrameWidth || y >= mLastFrameHeight)
        return 0;
    return mLastFrame[static_cast<size_t>(y) * static_cast<size_t>(mLastFrameWidth) + static_cast<size_t>(x)];
}

void HeadlessPlatform::SetCreateWindowResult(DisplayResult result, const std::string& text)
{
    mCreateResult = result;
    mCreateErrorText = text;
}

DisplayResult HeadlessPlatform::CreateMainWindow(const WindowSpec& request, std::string& errorText)
{
    DestroyMainWindow();
    if (mCreateResult != DisplayResult::Ok)
    {
        errorText = mCreateErrorText.empty() ? "the headless window was set to fail" : mCreateErrorText;
        return mCreateResult;
    }
    if (request.mWidth <= 0 || request.mHeight <= 0)
    {
        errorText = "window size " + std::to_string(request.mWidth) + "x" + std::to_string(request.mHeight);
        return DisplayResult::CreateFail;
    }
    mWindowSpec = request;
    mHasWindow = true;
    mWindowShown = true;
    // A new window starts blank, as a display's does: only what is presented to it shows.
    std::fill(mLastFrame.begin(), mLastFrame.end(), 0u);
    return DisplayResult::Ok;
}

void HeadlessPlatform::DestroyMainWindow()
{
    mHasWindow = false;
    mWindowShown = false;
}

int HeadlessPlatform::ShowMessageBox(const std::string& text, const std::string& caption, int flags)
{
    mMessageBoxTexts.push_back(text);
    Zestra::LogFormat("%s: %s\n", caption.c_str(), text.c_str());
    if (mMessageBoxAnswer != 0)
        return mMessageBoxAnswer;
    return (flags & MB_YES_NO) != 0 ? ANSWER_YES : ANSWER_OK;
}

bool HeadlessPlatform::OpenUrl(const std::string& url)
{
    if (mUrlOpenFails || url.empty())
        return false;
    mOpenedUrls.push_back(url);
    return true;
}

bool HeadlessPlatform::OpenAudio(int rate, AudioFillFn fill)
{
    CloseAudio();
    if (!mAudioAvailable || !fill || rate <= 0)
        return false;
    std::lock_guard<std::mutex> lock(mAudioMutex);
    mAudioFill = std::move(fill);
    return true;
}

void HeadlessPlatform::CloseAudio()
{
    std::lock_guard<std::mutex> lock(mAudioMutex);
    mAudioFill = nullptr;
}

std::vector<int16_t> HeadlessPlatform::PullAudio(int frames)
{
    std::lock_guard<std::mutex> lock(mAudioMutex);
    if (!mAudioFill || frames <= 0)
        return {};
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 0);
    mAudioFill(out.data(), frames);
    return out;
}

std::string HeadlessPlatform::UserDataFolder()
{
    if (mUserDataFolder.empty())
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/velmora-data-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) != nullptr)
        {
            mUserDataFolder = std::string(buffer.data()) + "/";
            mOwnsUserDataFolder = true;
        }
        else
            mUserDataFolder = "./";
    }
    else
    {
        std::string error;
        MakeFolders(mUserDataFolder.substr(0, mUserDataFolder.size() - 1), 0700, error);
    }
    return mUserDataFolder;
}

std::string HeadlessPlatform::ExecutableFolder()
{
    return ProgramFolder();
}

} // namespace Zestra
