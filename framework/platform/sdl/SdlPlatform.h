// The SDL2 platform: one window showing the logical screen scaled with its aspect ratio kept (letterboxed in full
// screen on the desktop's own mode; the desktop resolution is never changed), input translated into the
// framework's codes, cursors, clipboard, message boxes, audio output and the file-backed settings store.
// This is the only code of the program that includes SDL.
#pragma once

#include "framework/platform/Desktop.h"
#include "framework/platform/Platform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
struct SDL_Surface;
struct SDL_Rect;
union SDL_Event;

namespace Zestra
{

// Windows virtual-key code for an SDL key code (SDL_Keycode), 0 for keys the framework has no code for.
int VirtualKeyFromSdl(int32_t sdlKey);
// Converts UTF-8 text to Latin-1 bytes; characters beyond U+00FF (and malformed bytes) are dropped.
std::string Utf8ToLatin1(const std::string& utf8);
// The control character typed by Ctrl plus a letter key (Ctrl+C gives 3 ... Ctrl+Z 26), 0 for other keys.
uint8_t ControlCharForKey(int virtualKey);

// Whether a graphics driver name (as OpenGL reports it) is a software emulation rather than real hardware.
bool IsSoftwareRasterizer(const std::string& rendererName);

// The framework's own 32x32 cursors as rows of text: '#' black, '.' white, ' ' clear (kind 1 hand, 2 dragging hand).
const std::vector<std::string>& HandCursorRows(bool dragging);

class SdlPlatform : public Platform
{
public:
    // configRoot: where the settings files live ("" means the XDG config folder).
    explicit SdlPlatform(const std::string& configRoot = std::string());
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    uint64_t NowMs() override;
    void SleepMs(int ms) override;

    DisplayResult CreateMainWindow(const WindowSpec& request, std::string& errorText) override;
    void DestroyMainWindow() override;
    bool HasMainWindow() const override { return mWindow != nullptr; }
    void ShowMainWindow() override;
    void HideMainWindow() override;
    void BringToFront() override;
    bool IsWindowed() const override { return mWindowed; }
    Rect DesktopWorkArea() const override;

    bool PollEvent(PlatformEvent& event) override;
    bool Present(const PixelView& screen, const std::vector<Rect>& dirty) override;
    bool Is3D() const override { return mRenderer != nullptr; }
    Support3D Query3DSupport() override;
    bool PresentsAtRefresh() const override { return mVSync; }
    int RefreshRate() const override;
    std::string DisplayDescription() const override { return mDisplayDescription; }

    void SetCursorKind(int kind) override;
    void SetCursorImage(const PixelView& pixels, int hotX, int hotY) override;
    void CaptureMouse(bool capture) override;

    std::string GetClipboardText() override;
    void SetClipboardText(const std::string& text) override;

    int ShowMessageBox(const std::string& text, const std::string& caption, int flags) override;
    bool OpenUrl(const std::string& url) override;
    void InhibitScreenSaver(bool inhibit) override;
    bool AcquireSingleInstance(const std::string& name) override;

    bool OpenAudio(int rate, AudioFillFn fill) override;
    void CloseAudio() override;
    void LockAudio() override;
    void UnlockAudio() override;

    SettingsStore& Settings() override { return *mSettings; }
    std::string UserDataFolder() override;
    std::string ExecutableFolder() override;

private:
    bool InitVideo(std::string& errorText);
    bool Translate(const SDL_Event& sdlEvent, PlatformEvent& event);
    // Shows the last uploaded frame again (expose, resize, restore).
    void Redraw();
    // The accelerated renderer with its screen texture ("3D").
    bool CreateRenderer(std::string& errorText);
    // The graphics driver behind an accelerated renderer, made on a hidden scratch window; empty when none.
    std::string ProbeAcceleration();
    // False (with the reason) when the machine shows no sign of graphics hardware, so no probe is needed.
    static bool MayHaveGraphicsHardware(std::string& why);
    static std::string DescribeRenderer(SDL_Renderer* renderer);
    // Without 3D: copies the kept frame to the window surface, only the changed rectangles when it fits 1:1
    // (null: everything).
    bool ShowFrame(const std::vector<SDL_Rect>* changed);
    // The logical screen scaled to fit the window with its aspect ratio kept, centred.
    Rect FrameArea(int windowWidth, int windowHeight) const;
    void MapToScreen(int& x, int& y) const;
    void CreateCursors();
    void FreeCursors();
    static void AudioCallback(void* self, uint8_t* stream, int bytes);

    std::unique_ptr<SettingsStore> mSettings;
    SingleInstance mSingleInstance;
    bool mVideoReady = false;
    SDL_Window* mWindow = nullptr;
    SDL_Renderer* mRenderer = nullptr;
    SDL_Texture* mTexture = nullptr;
    SDL_Surface* mFrame = nullptr; // without 3D: the last frame, copied to the window surface
    Rect mFrameArea;               // where the frame lands in the window (letterboxed when it does not fit)
    std::string mDisplayDescription;
    bool mVSync = false; // the renderer waits for the display's refresh when presenting
    std::optional<Support3D> mProbedSupport; // what Query3DSupport found without a running renderer
    std::string mProbe; // what the automatic choice found: the accelerated renderer and its graphics driver
    int mWidth = 0;
    int mHeight = 0;
    bool mWindowed = true;
    std::string mTitle;
    std::vector<SDL_Cursor*> mCursors; // by cursor kind; null where the kind shows nothing
    SDL_Cursor* mImageCursor = nullptr; // owned: the last picture cursor
    int mCursorKind = 0;
    int mTimerPeriodMs = 0;
    uint64_t mLastTimerMs = 0;
    std::vector<PlatformEvent> mPending; // translated events waiting for PollEvent (a key can give two)
    uint32_t mAudioDevice = 0;
    AudioFillFn mAudioFill;
    bool mAudioWarned = false;
    std::string mUserDataFolder;
};

} // namespace Zestra
