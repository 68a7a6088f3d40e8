// SDL2 platform: window and presentation through an SDL renderer with a logical size, input translation, cursors,
// clipboard, message boxes, audio output, and the XDG-located settings and data folders.
#include "framework/platform/sdl/SdlPlatform.h"

#include "framework/log/Log.h"
#include "framework/platform/Paths.h"
#include "framework/platform/SettingsStore.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <chrono>
#include <cstdio>
#include <thread>

namespace Zestra
{

namespace
{

constexpr int kCursorKinds = 13;
constexpr int kHiddenCursor = 11;
constexpr int kCustomCursor = 12;

struct KeyPair
{
    SDL_Keycode mSdl;
    int mVirtual;
};

// Keys whose virtual code is not a plain range of letters, digits or function keys.
constexpr KeyPair kKeyTable[] = {
    {SDLK_BACKSPACE, 8},
    {SDLK_TAB, 9},
    {SDLK_CLEAR, 12},
    {SDLK_RETURN, 13},
    {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},
    {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},
    {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},
    {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},
    {SDLK_HOME, 36},
    {SDLK_LEFT, 37},
    {SDLK_UP, 38},
    {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},
    {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},
    {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111},
    {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
    {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

// Draws one of our hand cursors into text rows: the shape is a union of rectangles, outlined in black.
std::vector<std::string> DrawHand(bool dragging)
{
    struct Box
    {
        int x0, y0, x1, y1; // inclusive
    };
    // Pointing hand: the index finger's tip is the hot spot (11,4); folded fingers step down to the right.
    static const Box pointing[] = {
        {9, 5, 13, 17},  {10, 4, 12, 4}, {14, 11, 16, 18}, {17, 12, 19, 19}, {20, 13, 22, 20},
        {8, 16, 22, 26}, {5, 17, 8, 21}, {6, 21, 9, 24},   {10, 26, 20, 29},
    };
    // Grabbing hand: four knuckles across the top around the hot spot (15,10), the thumb folded on the left.
    static const Box grabbing[] = {
        {9, 9, 11, 14},  {12, 8, 14, 14}, {15, 8, 17, 14},  {18, 9, 20, 14},
        {8, 12, 21, 24}, {6, 14, 8, 19},  {10, 24, 19, 27},
    };
    const Box* boxes = dragging ? grabbing : pointing;
    size_t count = dragging ? std::size(grabbing) : std::size(pointing);
    bool fill[32][32] = {};
    for (size_t i = 0; i < count; ++i)
        for (int y = boxes[i].y0; y <= boxes[i].y1; ++y)
            for (int x = boxes[i].x0; x <= boxes[i].x1; ++x)
                fill[y][x] = true;
    std::vector<std::string> rows(32, std::string(32, ' '));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
        {
            bool inside = fill[y][x];
            bool nearEmpty = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    int nx = x + dx;
                    int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= 32 || ny >= 32 || !fill[ny][nx])
                        nearEmpty = true;
                }
            if (inside)
                rows[y][x] = nearEmpty ? '#' : '.';
        }
    // Creases between the fingers so the shape reads as a hand and not as a mitten.
    if (dragging)
    {
        for (int y = 10; y <= 13; ++y)
        {
            rows[y][12] = '#';
            rows[y][15] = '#';
            rows[y][18] = '#';
        }
    }
    else
    {
        for (int y = 12; y <= 17; ++y)
            rows[y][14] = '#';
        for (int y = 13; y <= 18; ++y)
            rows[y][17] = '#';
        for (int y = 14; y <= 19; ++y)
            rows[y][20] = '#';
    }
    return rows;
}

SDL_Cursor* MakeCursor(const std::vector<std::string>& rows, int hotX, int hotY)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return nullptr;
    for (int y = 0; y < 32; ++y)
    {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < 32; ++x)
            row[x] = rows[y][x] == '#' ? 0xff000000u : rows[y][x] == '.' ? 0xffffffffu : 0u;
    }
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    return cursor;
}

// The window icon, drawn like the desktop icon: a shop front with a striped awning, a window and a door.
void SetShopIcon(SDL_Window* window)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    for (int y = 0; y < 32; ++y)
    {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < 32; ++x)
        {
            // Rounded corners of the dark tile.
            int cx = x < 4 ? 4 - x : x > 27 ? x - 27 : 0;
            int cy = y < 4 ? 4 - y : y > 27 ? y - 27 : 0;
            uint32_t c = cx * cx + cy * cy > 16 ? 0u : 0xff3a2c36u;
            if (x >= 3 && x <= 28 && y >= 6 && y <= 12)
                c = ((x - 3) / 4) % 2 == 0 ? 0xffd6586eu : 0xfff6efe4u; // awning
            else if (x >= 5 && x <= 26 && y >= 13 && y <= 27)
            {
                c = 0xffecdfc9u; // wall
                if (x >= 7 && x <= 17 && y >= 16 && y <= 25)
                    c = 0xff5aa0d2u; // shop window
                if (x >= 10 && x <= 14 && y >= 18 && y <= 25)
                    c = 0xfff0b450u; // the dress on show
                if (x >= 20 && x <= 24 && y >= 16)
                    c = 0xff96c896u; // door
            }
            row[x] = c;
        }
    }
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

uint64_t SteadyMs()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace

int VirtualKeyFromSdl(int32_t sdlKey)
{
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z)
        return 'A' + (sdlKey - SDLK_a);
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9)
        return '0' + (sdlKey - SDLK_0);
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12)
        return 112 + (sdlKey - SDLK_F1);
    if (sdlKey >= SDLK_F13 && sdlKey <= SDLK_F24)
        return 124 + (sdlKey - SDLK_F13);
    if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_9)
        return 97 + (sdlKey - SDLK_KP_1);
    if (sdlKey == SDLK_KP_0)
        return 96;
    for (const KeyPair& pair : kKeyTable)
        if (pair.mSdl == sdlKey)
            return pair.mVirtual;
    return 0;
}

std::string Utf8ToLatin1(const std::string& utf8)
{
    std::string out;
    size_t i = 0;
    while (i < utf8.size())
    {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80)
        {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int length = (c & 0xe0) == 0xc0 ? 2 : (c & 0xf0) == 0xe0 ? 3 : (c & 0xf8) == 0xf0 ? 4 : 0;
        if (length == 0 || i + static_cast<size_t>(length) > utf8.size())
        {
            ++i; // a stray or truncated byte: skip it and resynchronise on the next one
            continue;
        }
        uint32_t code = c & (0x7fu >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k)
        {
            auto next = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            if ((next & 0xc0) != 0x80)
            {
                valid = false;
                break;
            }
            code = (code << 6) | (next & 0x3fu);
        }
        if (!valid)
        {
            ++i;
            continue;
        }
        // Overlong two-byte forms of ASCII (0xc0, 0xc1) are not characters.
        if (code >= 0x80 && code <= 0xff && length == 2)
            out += static_cast<char>(code);
        i += static_cast<size_t>(length);
    }
    return out;
}

uint8_t ControlCharForKey(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return static_cast<uint8_t>(virtualKey - 'A' + 1);
    return 0;
}

const std::vector<std::string>& HandCursorRows(bool dragging)
{
    static const std::vector<std::string> hand = DrawHand(false);
    static const std::vector<std::string> grab = DrawHand(true);
    return dragging ? grab : hand;
}

SdlPlatform::SdlPlatform(const std::string& configRoot)
    : mSettings(SettingsStore::CreateFileBacked(configRoot)), mCursors(kCursorKinds, nullptr)
{
}

SdlPlatform::~SdlPlatform()
{
    CloseAudio();
    DestroyMainWindow();
    FreeCursors();
    mSettings->Flush();
    SDL_Quit();
}

uint64_t SdlPlatform::NowMs()
{
    return SteadyMs();
}

void SdlPlatform::SleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool SdlPlatform::InitVideo(std::string& errorText)
{
    if (mVideoReady)
        return true;
    // Smooth scaling for the letterboxed full screen; a 1:1 window looks the same either way.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // Without an accelerated renderer the window surface is X11's own shared-memory image, not a texture that a
    // software OpenGL would redraw whole at every frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A click that activates the window should also reach the game, as players expect from a window.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        errorText = std::string("no display available (") + SDL_GetError() +
                    "); run it in a graphical session or with -headless";
        return false;
    }
    // Without a display SDL falls back to a driver that draws nowhere, and the game would run unseen with no way
    // to close it. Such drivers are only for those who ask for them by name (tests, automation).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        (asked == nullptr || SDL_strcasecmp(asked, driver) != 0))
    {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        errorText = "no display available (DISPLAY and WAYLAND_DISPLAY lead nowhere); run it in a graphical "
                    "session or with -headless";
        return false;
    }
    mVideoReady = true;
    // SDL keeps the screen saver away by default; we only do so while the game asks for it.
    SDL_EnableScreenSaver();
    CreateCursors();
    return true;
}

bool IsSoftwareRasterizer(const std::string& rendererName)
{
    // Mesa's and Google's software rasterizers present themselves as OpenGL but draw on the processor.
    static const char* const kSoftware[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader",
                                            "lavapipe", "software"};
    std::string lower;
    for (char ch : rendererName)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const char* name : kSoftware)
        if (lower.find(name) != std::string::npos)
            return true;
    return false;
}

DisplayResult SdlPlatform::CreateMainWindow(const WindowSpec& request, std::string& errorText)
{
    if (request.mWidth <= 0 || request.mHeight <= 0)
    {
        errorText = "bad screen size " + std::to_string(request.mWidth) + "x" + std::to_string(request.mHeight);
        return DisplayResult::CreateFail;
    }
    if (!InitVideo(errorText))
        return DisplayResult::CreateFail;
    bool want3D = request.mDisplay3D == Display3D::On;
    if (request.mDisplay3D == Display3D::Automatic)
    {
        std::string why;
        mProbe = MayHaveGraphicsHardware(why) ? ProbeAcceleration() : std::string();
        want3D = !mProbe.empty() && !IsSoftwareRasterizer(mProbe);
        if (mProbe.empty() && !why.empty())
            mProbe = "hardware (" + why + ")";
    }
    // A screen-mode switch keeps the window and its presentation: no flicker, and the desktop never sees a
    // window vanish and come back.
    const bool keep3D = (mRenderer != nullptr) == want3D;
    if (mWindow != nullptr && request.mWidth == mWidth && request.mHeight == mHeight && keep3D)
    {
        if (SDL_SetWindowFullscreen(mWindow, request.mWindowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) == 0)
        {
            SDL_SetWindowTitle(mWindow, request.mTitle.c_str());
            SDL_SetWindowResizable(mWindow, request.mAllowResize ? SDL_TRUE : SDL_FALSE);
            if (request.mWindowed && request.mX >= 0 && request.mY >= 0)
                SDL_SetWindowPosition(mWindow, request.mX, request.mY);
            mWindowed = request.mWindowed;
            mTitle = request.mTitle;
            mTimerPeriodMs = request.mTimerPeriodMs;
            Redraw();
            return DisplayResult::Ok;
        }
    }
    DestroyMainWindow();
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
    if (!request.mWindowed)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (request.mAllowResize)
        flags |= SDL_WINDOW_RESIZABLE;
    int x = request.mX < 0 ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : request.mX;
    int y = request.mY < 0 ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : request.mY;
    mWindow = SDL_CreateWindow(request.mTitle.c_str(), x, y, request.mWidth, request.mHeight, flags);
    if (mWindow == nullptr)
    {
        errorText = std::string("cannot create the window: ") + SDL_GetError();
        return DisplayResult::CreateFail;
    }
    SetShopIcon(mWindow);
    mWidth = request.mWidth;
    mHeight = request.mHeight;
    mWindowed = request.mWindowed;
    mTitle = request.mTitle;
    mTimerPeriodMs = request.mTimerPeriodMs;
    mLastTimerMs = SteadyMs();
    if (want3D)
    {
        if (!CreateRenderer(errorText))
        {
            DestroyMainWindow();
            return DisplayResult::Fail3D;
        }
    }
    else
    {
        // The last frame is kept here, so an exposed window is repainted without asking the application.
        mFrame = SDL_CreateRGBSurfaceWithFormat(0, request.mWidth, request.mHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        if (mFrame == nullptr)
        {
            errorText = std::string("cannot create the frame surface: ") + SDL_GetError();
            DestroyMainWindow();
            return DisplayResult::SurfaceFail;
        }
        // Copied, never blended: the screen image's alpha means nothing to the window.
        SDL_SetSurfaceBlendMode(mFrame, SDL_BLENDMODE_NONE);
        SDL_FillRect(mFrame, nullptr, SDL_MapRGB(mFrame->format, 0, 0, 0));
        const char* driver = SDL_GetCurrentVideoDriver();
        mDisplayDescription = std::string("window surface (") + (driver != nullptr ? driver : "?") + ")";
        if (request.mDisplay3D == Display3D::Automatic)
            mDisplayDescription += mProbe.empty() ? ", no accelerated renderer" : ", not " + mProbe;
    }
    SetCursorKind(mCursorKind);
    return DisplayResult::Ok;
}

Support3D SdlPlatform::Query3DSupport()
{
    // The running renderer answers for itself; otherwise one probe (it costs a context) is kept for later asks.
    if (mRenderer != nullptr)
    {
        std::string running = DescribeRenderer(mRenderer);
        return IsSoftwareRasterizer(running) ? Support3D::NotRecommended : Support3D::Recommended;
    }
    if (!mProbedSupport)
    {
        std::string probe = ProbeAcceleration();
        mProbedSupport = probe.empty()                  ? Support3D::Impossible
                         : IsSoftwareRasterizer(probe) ? Support3D::NotRecommended
                                                        : Support3D::Recommended;
    }
    return *mProbedSupport;
}

bool SdlPlatform::MayHaveGraphicsHardware(std::string& why)
{
    // Asking OpenGL costs a context (over 100 ms and tens of megabytes with a software rasterizer), so the cheap
    // signs come first: drivers for real hardware need a DRM render node or NVIDIA's device, and Mesa can be told
    // to stay in software.
    const char* software = SDL_getenv("LIBGL_ALWAYS_SOFTWARE");
    if (software != nullptr && software[0] != '\0' && SDL_strcmp(software, "0") != 0)
    {
        why = "LIBGL_ALWAYS_SOFTWARE is set";
        return false;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
        if (entry.path().filename().string().rfind("renderD", 0) == 0)
            return true;
    if (std::filesystem::exists("/dev/nvidia0", error))
        return true;
    why = "no graphics device in /dev/dri";
    return false;
}

std::string SdlPlatform::ProbeAcceleration()
{
    // A hidden scratch window answers the question, so the game's own window never carries an OpenGL context it
    // does not use. The answer is the graphics driver's name, or empty when no accelerated renderer exists.
    SDL_Window* scratch = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_HIDDEN);
    if (scratch == nullptr)
        return std::string();
    std::string answer;
    if (SDL_Renderer* renderer = SDL_CreateRenderer(scratch, -1, SDL_RENDERER_ACCELERATED))
    {
        answer = DescribeRenderer(renderer);
        SDL_DestroyRenderer(renderer);
    }
    SDL_DestroyWindow(scratch);
    return answer;
}

std::string SdlPlatform::DescribeRenderer(SDL_Renderer* renderer)
{
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0)
        return std::string();
    std::string name = info.name != nullptr ? info.name : "?";
    if ((info.flags & SDL_RENDERER_SOFTWARE) != 0)
        return name + " (software)";
    // The OpenGL renderers leave their context current on this thread, so the driver can be asked its name:
    // software emulations call themselves llvmpipe, softpipe or swrast there.
    if (name.rfind("opengl", 0) == 0)
    {
        using GetStringFn = const unsigned char* (*)(unsigned int);
        constexpr unsigned int kGlRenderer = 0x1F01;
        auto getString = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* driver = getString != nullptr ? getString(kGlRenderer) : nullptr;
        if (driver != nullptr)
            return name + " (" + reinterpret_cast<const char*>(driver) + ")";
    }
    return name;
}

bool SdlPlatform::CreateRenderer(std::string& errorText)
{
    // Vsync where the display offers it; a driver that refuses it still presents without.
    mRenderer = SDL_CreateRenderer(mWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (mRenderer == nullptr)
        mRenderer = SDL_CreateRenderer(mWindow, -1, SDL_RENDERER_ACCELERATED);
    if (mRenderer == nullptr)
    {
        errorText = std::string("cannot create an accelerated renderer: ") + SDL_GetError();
        return false;
    }
    SDL_RenderSetLogicalSize(mRenderer, mWidth, mHeight);
    mTexture = SDL_CreateTexture(mRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, mWidth, mHeight);
    if (mTexture == nullptr)
    {
        errorText = std::string("cannot create the screen texture: ") + SDL_GetError();
        return false;
    }
    mDisplayDescription = DescribeRenderer(mRenderer);
    SDL_RendererInfo info{};
    mVSync = SDL_GetRendererInfo(mRenderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    if (mVSync)
        mDisplayDescription += ", vsync";
    // Until the first frame arrives the window shows black rather than whatever was under it.
    SDL_SetRenderDrawColor(mRenderer, 0, 0, 0, 255);
    SDL_RenderClear(mRenderer);
    SDL_RenderPresent(mRenderer);
    return true;
}

int SdlPlatform::RefreshRate() const
{
    if (mWindow == nullptr)
        return 0;
    // A display that does not tell (virtual X servers, some drivers) is taken for the common 60 Hz: frames then
    // come as often as a monitor can show them, not at every 10 ms update.
    constexpr int kUsualRefresh = 60;
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(mWindow, &mode) != 0 || mode.refresh_rate <= 0)
        return kUsualRefresh;
    return mode.refresh_rate;
}

void SdlPlatform::DestroyMainWindow()
{
    if (mTexture != nullptr)
        SDL_DestroyTexture(mTexture);
    if (mRenderer != nullptr)
        SDL_DestroyRenderer(mRenderer);
    if (mFrame != nullptr)
        SDL_FreeSurface(mFrame);
    if (mWindow != nullptr)
        SDL_DestroyWindow(mWindow);
    mTexture = nullptr;
    mRenderer = nullptr;
    mVSync = false;
    mFrame = nullptr;
    mWindow = nullptr;
    mPending.clear();
}

void SdlPlatform::ShowMainWindow()
{
    if (mWindow != nullptr)
        SDL_ShowWindow(mWindow);
}

void SdlPlatform::HideMainWindow()
{
    if (mWindow != nullptr)
        SDL_HideWindow(mWindow);
}

void SdlPlatform::BringToFront()
{
    if (mWindow == nullptr)
        return;
    SDL_RestoreWindow(mWindow);
    SDL_RaiseWindow(mWindow);
}

Rect SdlPlatform::DesktopWorkArea() const
{
    // Asked before the first window exists, so the display may have to be opened here.
    std::string ignored;
    if (!const_cast<SdlPlatform*>(this)->InitVideo(ignored))
        return Rect(); // no display: nothing to fit into, and creating the window will say why
    SDL_Rect area{0, 0, 0, 0};
    int display = mWindow != nullptr ? SDL_GetWindowDisplayIndex(mWindow) : 0;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) != 0)
        return Rect();
    return Rect(area.x, area.y, area.w, area.h);
}

Rect SdlPlatform::FrameArea(int windowWidth, int windowHeight) const
{
    if (windowWidth == mWidth && windowHeight == mHeight)
        return Rect(0, 0, mWidth, mHeight);
    int w = windowWidth;
    int h = static_cast<int>(static_cast<long long>(w) * mHeight / mWidth);
    if (h > windowHeight)
    {
        h = windowHeight;
        w = static_cast<int>(static_cast<long long>(h) * mWidth / mHeight);
    }
    return Rect((windowWidth - w) / 2, (windowHeight - h) / 2, w, h);
}

void SdlPlatform::Redraw()
{
    if (mRenderer != nullptr && mTexture != nullptr)
    {
        SDL_SetRenderDrawColor(mRenderer, 0, 0, 0, 255);
        SDL_RenderClear(mRenderer);
        SDL_RenderCopy(mRenderer, mTexture, nullptr, nullptr);
        SDL_RenderPresent(mRenderer);
        return;
    }
    ShowFrame(nullptr);
}

void SdlPlatform::MapToScreen(int& x, int& y) const
{
    // The renderer maps the pointer to its logical size itself; the surface path scales by hand when letterboxed.
    if (mRenderer != nullptr || mFrameArea.IsEmpty() || mFrameArea == Rect(0, 0, mWidth, mHeight))
        return;
    x = static_cast<int>(static_cast<long long>(x - mFrameArea.mX) * mWidth / mFrameArea.mWidth);
    y = static_cast<int>(static_cast<long long>(y - mFrameArea.mY) * mHeight / mFrameArea.mHeight);
}

bool SdlPlatform::ShowFrame(const std::vector<SDL_Rect>* changed)
{
    if (mWindow == nullptr || mFrame == nullptr)
        return false;
    SDL_Surface* surface = SDL_GetWindowSurface(mWindow);
    if (surface == nullptr)
        return false;
    mFrameArea = FrameArea(surface->w, surface->h);
    SDL_Rect area{mFrameArea.mX, mFrameArea.mY, mFrameArea.mWidth, mFrameArea.mHeight};
    if (area.w == mWidth && area.h == mHeight && area.x == 0 && area.y == 0 && changed != nullptr)
    {
        // The usual case: a window of the screen's own size gets only the changed rectangles. Where the window
        // stores pixels as we do (32-bit, red in bits 16..23) the rows are copied as they are.
        const bool sameLayout = surface->format->BytesPerPixel == 4 && surface->format->Rmask == 0x00ff0000u &&
                                surface->format->Gmask == 0x0000ff00u && surface->format->Bmask == 0x000000ffu;
        for (SDL_Rect r : *changed)
        {
            if (!sameLayout)
            {
                SDL_BlitSurface(mFrame, &r, surface, &r);
                continue;
            }
            if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
                continue;
            for (int row = r.y; row < r.y + r.h; ++row)
                std::memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(row) * surface->pitch +
                                static_cast<size_t>(r.x) * 4,
                            static_cast<const uint8_t*>(mFrame->pixels) + static_cast<size_t>(row) * mFrame->pitch +
                                static_cast<size_t>(r.x) * 4,
                            static_cast<size_t>(r.w) * 4);
            if (SDL_MUSTLOCK(surface))
                SDL_UnlockSurface(surface);
        }
        return SDL_UpdateWindowSurfaceRects(mWindow, changed->data(), static_cast<int>(changed->size())) == 0;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    if (area.w == mWidth && area.h == mHeight)
        SDL_BlitSurface(mFrame, nullptr, surface, &area);
    else
        SDL_BlitScaled(mFrame, nullptr, surface, &area);
    return SDL_UpdateWindowSurface(mWindow) == 0;
}

bool SdlPlatform::Present(const PixelView& screen, const std::vector<Rect>& dirty)
{
    if (screen.mPixels == nullptr || (mTexture == nullptr && mFrame == nullptr))
        return false;
    const Rect whole(0, 0, std::min(screen.mWidth, mWidth), std::min(screen.mHeight, mHeight));
    const int pitchBytes = screen.mPitch * 4;
    std::vector<SDL_Rect> changed;
    auto upload = [&](const Rect& r)
    {
        Rect part = r.Intersection(whole);
        if (part.IsEmpty())
            return;
        SDL_Rect area{part.mX, part.mY, part.mWidth, part.mHeight};
        const uint32_t* first = screen.mPixels + static_cast<size_t>(part.mY) * static_cast<size_t>(screen.mPitch) +
                                static_cast<size_t>(part.mX);
        if (mTexture != nullptr)
        {
            SDL_UpdateTexture(mTexture, &area, first, pitchBytes);
        }
        else
        {
            auto* frameRow = static_cast<uint8_t*>(mFrame->pixels) + static_cast<size_t>(part.mY) * mFrame->pitch +
                             static_cast<size_t>(part.mX) * 4;
            for (int row = 0; row < part.mHeight; ++row)
                std::memcpy(frameRow + static_cast<size_t>(row) * mFrame->pitch,
                            first + static_cast<size_t>(row) * static_cast<size_t>(screen.mPitch),
                            static_cast<size_t>(part.mWidth) * 4);
        }
        changed.push_back(area);
    };
    if (dirty.empty())
        upload(whole);
    else
        for (const Rect& r : dirty)
            upload(r);
    if (mFrame != nullptr)
        return ShowFrame(&changed);
    // The renderer may have lost its back buffer contents, so the whole texture is copied every time; only the
    // upload above is limited to what changed.
    Redraw();
    return true;
}

void SdlPlatform::CreateCursors()
{
    mCursors[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    mCursors[1] = MakeCursor(HandCursorRows(false), 11, 4);
    mCursors[2] = MakeCursor(HandCursorRows(true), 15, 10);
    mCursors[3] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
    mCursors[4] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
    mCursors[5] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEALL);
    mCursors[6] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENESW);
    mCursors[7] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS);
    mCursors[8] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE);
    mCursors[9] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEWE);
    mCursors[10] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
}

void SdlPlatform::FreeCursors()
{
    for (SDL_Cursor*& cursor : mCursors)
    {
        if (cursor != nullptr)
            SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    if (mImageCursor != nullptr)
        SDL_FreeCursor(mImageCursor);
    mImageCursor = nullptr;
}

void SdlPlatform::SetCursorImage(const PixelView& pixels, int hotX, int hotY)
{
    if (!mVideoReady || pixels.mPixels == nullptr || pixels.mWidth <= 0 || pixels.mHeight <= 0)
        return;
    // SDL copies the pixels into the cursor, so the surface only borrows the image for this call.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels.mPixels), pixels.mWidth,
                                                              pixels.mHeight, 32, pixels.mPitch * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, std::clamp(hotX, 0, pixels.mWidth - 1),
                                               std::clamp(hotY, 0, pixels.mHeight - 1));
    SDL_FreeSurface(surface);
    if (cursor == nullptr)
        return;
    SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
    // The old picture cursor may only go once another cursor is active.
    if (mImageCursor != nullptr)
        SDL_FreeCursor(mImageCursor);
    mImageCursor = cursor;
}

void SdlPlatform::SetCursorKind(int kind)
{
    mCursorKind = kind;
    if (!mVideoReady)
        return;
    // Hidden and custom both hide the system cursor: the custom one is drawn into the screen image.
    if (kind == kHiddenCursor || kind == kCustomCursor)
    {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor* cursor = (kind >= 0 && kind < kCursorKinds) ? mCursors[static_cast<size_t>(kind)] : nullptr;
    if (cursor == nullptr)
        cursor = mCursors[0];
    if (cursor != nullptr)
        SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlPlatform::CaptureMouse(bool capture)
{
    if (mVideoReady)
        SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

std::string SdlPlatform::GetClipboardText()
{
    if (!mVideoReady)
        return std::string();
    char* text = SDL_GetClipboardText();
    std::string result = text != nullptr ? Utf8ToLatin1(text) : std::string();
    SDL_free(text);
    return result;
}

void SdlPlatform::SetClipboardText(const std::string& text)
{
    if (!mVideoReady)
        return;
    // The clipboard speaks UTF-8; our text is Latin-1.
    std::string utf8;
    for (char ch : text)
    {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            utf8 += static_cast<char>(c);
        else
        {
            utf8 += static_cast<char>(0xc0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    SDL_SetClipboardText(utf8.c_str());
}

int SdlPlatform::ShowMessageBox(const std::string& text, const std::string& caption, int flags)
{
    Zestra::LogFormat("%s: %s\n", caption.c_str(), text.c_str());
    const bool yesNo = (flags & MB_YES_NO) != 0;
    Uint32 kind = (flags & MB_ICON_ERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ANSWER_YES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ANSWER_NO, "No"},
    };
    const SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ANSWER_OK, "OK"},
    };
    SDL_MessageBoxData data{};
    data.flags = kind;
    data.window = mWindow;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yesNoButtons : okButton;
    int answer = 0;
    ForkedChildGuard guard(mSingleInstance.LockDescriptor());
    if (SDL_ShowMessageBox(&data, &answer) != 0 || answer <= 0)
        return yesNo ? ANSWER_NO : ANSWER_OK; // no box could be shown: the text went to stderr, take the safe answer
    return answer;
}

bool SdlPlatform::OpenUrl(const std::string& url)
{
    std::string error;
    if (OpenUrlWithDesktop(url, error))
        return true;
    Zestra::LogFormat("warning: cannot open %s: %s\n", url.c_str(), error.c_str());
    return false;
}

void SdlPlatform::InhibitScreenSaver(bool inhibit)
{
    if (!mVideoReady)
        return;
    if (inhibit)
        SDL_DisableScreenSaver();
    else
        SDL_EnableScreenSaver();
}

bool SdlPlatform::AcquireSingleInstance(const std::string& name)
{
    return mSingleInstance.Acquire(name);
}

void SdlPlatform::AudioCallback(void* self, uint8_t* stream, int bytes)
{
    auto* platform = static_cast<SdlPlatform*>(self);
    auto* out = reinterpret_cast<int16_t*>(stream);
    int frames = bytes / 4;
    if (platform->mAudioFill)
        platform->mAudioFill(out, frames);
    else
        SDL_memset(stream, 0, static_cast<size_t>(bytes));
}

bool SdlPlatform::OpenAudio(int rate, AudioFillFn fill)
{
    CloseAudio();
    if (!fill)
        return false;
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        if (!mAudioWarned)
            Zestra::LogFormat("warning: no sound (%s)\n", SDL_GetError());
        mAudioWarned = true;
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = rate > 0 ? rate : 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlPlatform::AudioCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    mAudioFill = std::move(fill);
    // No changes allowed: SDL converts to whatever the device wants, so the mixer always sees 16-bit stereo.
    mAudioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (mAudioDevice == 0)
    {
        if (!mAudioWarned)
            Zestra::LogFormat("warning: no sound device (%s)\n", SDL_GetError());
        mAudioWarned = true;
        mAudioFill = nullptr;
        return false;
    }
    SDL_PauseAudioDevice(mAudioDevice, 0);
    return true;
}

void SdlPlatform::CloseAudio()
{
    if (mAudioDevice != 0)
    {
        SDL_CloseAudioDevice(mAudioDevice);
        mAudioDevice = 0;
    }
    mAudioFill = nullptr;
}

void SdlPlatform::LockAudio()
{
    if (mAudioDevice != 0)
        SDL_LockAudioDevice(mAudioDevice);
}

void SdlPlatform::UnlockAudio()
{
    if (mAudioDevice != 0)
        SDL_UnlockAudioDevice(mAudioDevice);
}

std::string SdlPlatform::UserDataFolder()
{
    if (mUserDataFolder.empty())
    {
        std::string key = mSettings->RegistryKey();
        if (key.empty())
            key = "Kestrin\\Velmora Row";
        std::string folder = DataRoot() + "/";
        for (char c : key)
            folder += (c == '\\') ? '/' : c;
        std::string error;
        if (!MakeFolders(folder, 0700, error))
            Zestra::LogFormat("warning: cannot create the data folder %s\n", error.c_str());
        mUserDataFolder = folder + "/";
    }
    return mUserDataFolder;
}

std::string SdlPlatform::ExecutableFolder()
{
    return ProgramFolder();
}

bool SdlPlatform::PollEvent(PlatformEvent& event)
{
    if (mSingleInstance.PollNotify())
    {
        event = PlatformEvent();
        event.mType = PlatformEvent::Type::InstanceNotify;
        return true;
    }
    if (!mPending.empty())
    {
        event = mPending.front();
        mPending.erase(mPending.begin());
        return true;
    }
    if (mVideoReady)
    {
        SDL_Event sdlEvent;
        while (SDL_PollEvent(&sdlEvent) != 0)
        {
            if (Translate(sdlEvent, event))
                return true;
        }
    }
    if (mWindow != nullptr && mTimerPeriodMs > 0)
    {
        uint64_t now = SteadyMs();
        if (now - mLastTimerMs >= static_cast<uint64_t>(mTimerPeriodMs))
        {
            mLastTimerMs = now;
            event = PlatformEvent();
            event.mType = PlatformEvent::Type::Timer;
            return true;
        }
    }
    return false;
}

bool SdlPlatform::Translate(const SDL_Event& e, PlatformEvent& event)
{
    using Type = PlatformEvent::Type;
    event = PlatformEvent();
    const SDL_Keymod mods = SDL_GetModState();
    event.mShift = (mods & KMOD_SHIFT) != 0;
    event.mCtrl = (mods & KMOD_CTRL) != 0;
    event.mAlt = (mods & KMOD_ALT) != 0;
    switch (e.type)
    {
    case SDL_QUIT:
        event.mType = Type::Close;
        return true;
    case SDL_WINDOWEVENT:
        switch (e.window.event)
        {
        case SDL_WINDOWEVENT_CLOSE:
            event.mType = Type::Close;
            return true;
        case SDL_WINDOWEVENT_LEAVE:
            event.mType = Type::MouseLeave;
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event.mType = Type::Activate;
            event.mActive = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
            event.mType = Type::Minimize;
            event.mMinimized = e.window.event == SDL_WINDOWEVENT_MINIMIZED;
            if (!event.mMinimized)
                Redraw();
            return true;
        case SDL_WINDOWEVENT_MAXIMIZED:
            event.mType = Type::Maximize;
            return true;
        case SDL_WINDOWEVENT_MOVED:
            if (!mWindowed)
                return false;
            event.mType = Type::Move;
            event.mX = e.window.data1;
            event.mY = e.window.data2;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The texture (or the kept frame) still holds the last picture: a repaint needs nothing from the game.
            Redraw();
            return false;
        default:
            return false;
        }
    case SDL_DISPLAYEVENT:
        event.mType = Type::DisplayChange;
        return true;
    case SDL_MOUSEMOTION:
        event.mType = Type::MouseMove;
        event.mX = e.motion.x;
        event.mY = e.motion.y;
        MapToScreen(event.mX, event.mY);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        // Every second click of a run counts as a double click, as the desktop reports them.
        const bool twice = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
        int code = 0;
        if (e.button.button == SDL_BUTTON_LEFT)
            code = twice ? 2 : 1;
        else if (e.button.button == SDL_BUTTON_RIGHT)
            code = twice ? -2 : -1;
        else if (e.button.button == SDL_BUTTON_MIDDLE)
            code = 3;
        else
            return false;
        event.mType = down ? Type::MouseDown : Type::MouseUp;
        event.mX = e.button.x;
        event.mY = e.button.y;
        MapToScreen(event.mX, event.mY);
        event.mClickCode = code;
        return true;
    }
    case SDL_MOUSEWHEEL:
    {
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches == 0)
            return false;
        event.mType = Type::MouseWheel;
        event.mWheel = notches;
        return true;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    {
        int key = VirtualKeyFromSdl(e.key.keysym.sym);
        // Layouts without Latin letters still give the letter keys their positions' codes.
        if (key == 0 && e.key.keysym.scancode >= SDL_SCANCODE_A && e.key.keysym.scancode <= SDL_SCANCODE_Z)
            key = 'A' + (e.key.keysym.scancode - SDL_SCANCODE_A);
        if (key == 0)
            return false;
        event.mType = e.type == SDL_KEYDOWN ? Type::KeyDown : Type::KeyUp;
        event.mKey = key;
        event.mSystemKey = event.mAlt || key == 121; // F10 is a system key too
        if (e.type == SDL_KEYDOWN && !event.mAlt)
        {
            // Keys that type a control character send it after the key, as text input does not.
            uint8_t ch = 0;
            if (event.mCtrl)
                ch = ControlCharForKey(key);
            else if (key == 8 || key == 9 || key == 13 || key == 27)
                ch = static_cast<uint8_t>(key);
            if (ch != 0)
            {
                PlatformEvent typed;
                typed.mType = Type::Char;
                typed.mChar = ch;
                typed.mShift = event.mShift;
                typed.mCtrl = event.mCtrl;
                mPending.push_back(typed);
            }
        }
        return true;
    }
    case SDL_TEXTINPUT:
    {
        std::string text = Utf8ToLatin1(e.text.text);
        if (text.empty())
            return false;
        event.mType = Type::Char;
        event.mChar = static_cast<uint8_t>(text[0]);
        for (size_t i = 1; i < text.size(); ++i)
        {
            PlatformEvent more = event;
            more.mChar = static_cast<uint8_t>(text[i]);
            mPending.push_back(more);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace Zestra
