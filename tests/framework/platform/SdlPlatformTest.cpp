// SDL side without a display: key and text translation tables, the cursor pictures, and a window on SDL's dummy
// video driver fed with synthetic events.
#include "framework/platform/sdl/SdlPlatform.h"

#include "tests/support/TempFolder.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

using TestSupport::TempFolder;
using Zestra::PlatformEvent;
using Type = Zestra::PlatformEvent::Type;

TEST(SdlKeysTest, KeysMapToVirtualKeyCodes)
{
    struct Case
    {
        SDL_Keycode sdl;
        int expected;
    };
    const Case cases[] = {
        {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},       {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_LSHIFT, 16},
        {SDLK_RSHIFT, 16},   {SDLK_LCTRL, 17},    {SDLK_RCTRL, 17},  {SDLK_LALT, 18},     {SDLK_RALT, 18},
        {SDLK_ESCAPE, 27},   {SDLK_SPACE, 32},    {SDLK_END, 35},    {SDLK_HOME, 36},     {SDLK_LEFT, 37},
        {SDLK_UP, 38},       {SDLK_RIGHT, 39},    {SDLK_DOWN, 40},   {SDLK_DELETE, 46},   {SDLK_0, 48},
        {SDLK_9, 57},        {SDLK_a, 65},        {SDLK_c, 67},      {SDLK_z, 90},        {SDLK_F1, 112},
        {SDLK_F10, 121},     {SDLK_F11, 122},     {SDLK_F12, 123},   {SDLK_KP_0, 96},     {SDLK_KP_9, 105},
        {SDLK_PAGEUP, 33},   {SDLK_PAGEDOWN, 34}, {SDLK_INSERT, 45}, {SDLK_MINUS, 189},   {SDLK_UNKNOWN, 0},
        {SDLK_AUDIOPLAY, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Zestra::VirtualKeyFromSdl(c.sdl)) << SDL_GetKeyName(c.sdl);
}

TEST(SdlKeysTest, TextBecomesLatin1Bytes)
{
    struct Case
    {
        std::string utf8;
        std::string latin1;
    };
    const Case cases[] = {
        {"abc", "abc"},
        {"\xc3\xa9t\xc3\xa9", "\xe9t\xe9"}, // é
        {"\xc2\xa0\xc3\xbf", "\xa0\xff"},   // no-break space, ÿ: the top of Latin-1
        {"\xe2\x82\xac!", "!"},             // the euro sign has no Latin-1 byte
        {"\xf0\x9f\x99\x82x", "x"},         // four-byte characters are dropped whole
        {"\xc3", ""},                       // truncated
        {"\xc3(", "("},                     // broken continuation
        {"\xc1\x81", ""},                   // overlong form of 'A'
        {"\x80z", "z"},                     // stray continuation byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.latin1, Zestra::Utf8ToLatin1(c.utf8)) << c.utf8;

    EXPECT_EQ(3, Zestra::ControlCharForKey('C'));
    EXPECT_EQ(24, Zestra::ControlCharForKey('X'));
    EXPECT_EQ(22, Zestra::ControlCharForKey('V'));
    EXPECT_EQ(26, Zestra::ControlCharForKey('Z'));
    EXPECT_EQ(0, Zestra::ControlCharForKey('5'));
}

TEST(SdlCursorTest, HandsAre32By32WithTheHotSpotOnTheShape)
{
    struct Case
    {
        bool dragging;
        int hotX, hotY;
    };
    for (const Case& c : {Case{false, 11, 4}, Case{true, 15, 10}})
    {
        const std::vector<std::string>& rows = Zestra::HandCursorRows(c.dragging);
        ASSERT_EQ(32u, rows.size());
        for (const std::string& row : rows)
            ASSERT_EQ(32u, row.size());
        EXPECT_NE(' ', rows[static_cast<size_t>(c.hotY)][static_cast<size_t>(c.hotX)]);
        // Nothing of the hand sticks out above the hot spot's row.
        for (int y = 0; y < c.hotY - 2; ++y)
            EXPECT_EQ(std::string(32, ' '), rows[static_cast<size_t>(y)]) << "row " << y;
    }
}

class SdlWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        mPlatform = std::make_unique<Zestra::SdlPlatform>(mConfig.Path());
        std::string error;
        Zestra::WindowSpec request;
        request.mTitle = "Velmora Row";
        request.mTimerPeriodMs = 0;
        ASSERT_EQ(Zestra::DisplayResult::Ok, mPlatform->CreateMainWindow(request, error)) << error;
        PlatformEvent drain;
        while (mPlatform->PollEvent(drain))
        {
        }
    }

    std::vector<PlatformEvent> Feed(const std::vector<SDL_Event>& events)
    {
        for (SDL_Event e : events)
            SDL_PushEvent(&e);
        std::vector<PlatformEvent> out;
        PlatformEvent event;
        while (mPlatform->PollEvent(event))
            out.push_back(event);
        return out;
    }

    static SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE)
    {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        return e;
    }

    static SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks, int x, int y)
    {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.clicks = clicks;
        e.button.x = x;
        e.button.y = y;
        return e;
    }

    TempFolder mConfig;
    std::unique_ptr<Zestra::SdlPlatform> mPlatform;
};

TEST_F(SdlWindowTest, KeysAndTextArriveAsCodesAndBytes)
{
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "\xc3\xa9!");
    SDL_SetModState(KMOD_LCTRL);
    std::vector<PlatformEvent> withCtrl = Feed({Key(SDL_KEYDOWN, SDLK_c)});
    SDL_SetModState(KMOD_NONE);
    std::vector<PlatformEvent> plain = Feed(
        {Key(SDL_KEYDOWN, SDLK_BACKSPACE), Key(SDL_KEYUP, SDLK_BACKSPACE), text, Key(SDL_KEYDOWN, SDLK_AUDIOPLAY)});

    ASSERT_EQ(2u, withCtrl.size());
    EXPECT_EQ(Type::KeyDown, withCtrl[0].mType);
    EXPECT_EQ(67, withCtrl[0].mKey);
    EXPECT_TRUE(withCtrl[0].mCtrl);
    EXPECT_EQ(Type::Char, withCtrl[1].mType);
    EXPECT_EQ(3, withCtrl[1].mChar);

    ASSERT_EQ(5u, plain.size()) << "a key without a code is dropped";
    EXPECT_EQ(Type::KeyDown, plain[0].mType);
    EXPECT_EQ(8, plain[0].mKey);
    EXPECT_EQ(Type::Char, plain[1].mType);
    EXPECT_EQ(8, plain[1].mChar);
    EXPECT_EQ(Type::KeyUp, plain[2].mType);
    EXPECT_EQ(Type::Char, plain[3].mType);
    EXPECT_EQ(0xe9, plain[3].mChar);
    EXPECT_EQ('!', plain[4].mChar);
}

TEST_F(SdlWindowTest, ClicksCarryTheirCodes)
{
    std::vector<PlatformEvent> events = Feed({
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 6),
        Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 5, 6),
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 5, 6),
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 5, 6),
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, 5, 6),
        Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2, 5, 6),
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 5, 6),
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 5, 6),
        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 5, 6),
    });
    const std::pair<Type, int> expected[] = {
        {Type::MouseDown, 1},  {Type::MouseUp, 1},  {Type::MouseDown, 2}, {Type::MouseDown, -1},
        {Type::MouseDown, -2}, {Type::MouseUp, -1}, {Type::MouseDown, 3}, {Type::MouseDown, 1},
    };
    ASSERT_EQ(std::size(expected), events.size());
    for (size_t i = 0; i < events.size(); ++i)
    {
        EXPECT_EQ(expected[i].first, events[i].mType) << i;
        EXPECT_EQ(expected[i].second, events[i].mClickCode) << i;
    }
}

TEST_F(SdlWindowTest, PresentAcceptsDirtyRectanglesOutsideTheScreen)
{
    std::vector<uint32_t> pixels(800 * 600, 0xff336699u);
    Zestra::PixelView view{pixels.data(), 800, 600, 800};
    EXPECT_TRUE(mPlatform->Present(view, {}));
    EXPECT_TRUE(mPlatform->Present(view, {Zestra::Rect(790, 590, 50, 50), Zestra::Rect(-10, -10, 5, 5)}));
    mPlatform->DestroyMainWindow();
    EXPECT_FALSE(mPlatform->Present(view, {}));
}

TEST(SdlNoDisplayTest, WindowFailsWithAClearTextInsteadOfRunningUnseen)
{
    const char* display = std::getenv("DISPLAY");
    std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // Unset: SDL would fall back to its offscreen driver, which must not count as a display.
    for (const char* driver : {"x11", static_cast<const char*>(nullptr)})
    {
        SCOPED_TRACE(driver ? driver : "(SDL_VIDEODRIVER unset)");
        // Left to itself SDL may reach a console display through the kernel's graphics devices; the point here is
        // the fallback when there is none.
        if (driver == nullptr && std::filesystem::exists("/dev/dri"))
            continue;
        if (driver)
            setenv("SDL_VIDEODRIVER", driver, 1);
        else
            unsetenv("SDL_VIDEODRIVER");
        TempFolder config;
        Zestra::SdlPlatform platform(config.Path());
        std::string error;
        EXPECT_NE(Zestra::DisplayResult::Ok, platform.CreateMainWindow(Zestra::WindowSpec{}, error));
        EXPECT_NE(std::string::npos, error.find("no display")) << error;
        EXPECT_FALSE(platform.HasMainWindow());
    }
    if (display)
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

TEST_F(SdlWindowTest, ScreenModeSwitchesBackAndForth)
{
    std::string error;
    Zestra::WindowSpec request;
    request.mTitle = "Velmora Row";
    for (bool windowed : {false, true, false})
    {
        request.mWindowed = windowed;
        ASSERT_EQ(Zestra::DisplayResult::Ok, mPlatform->CreateMainWindow(request, error)) << error;
        EXPECT_EQ(windowed, mPlatform->IsWindowed());
        EXPECT_TRUE(mPlatform->HasMainWindow());
    }
    request.mWidth = 640; // another size makes a new window
    ASSERT_EQ(Zestra::DisplayResult::Ok, mPlatform->CreateMainWindow(request, error)) << error;
    request.mWidth = 0;
    EXPECT_EQ(Zestra::DisplayResult::CreateFail, mPlatform->CreateMainWindow(request, error));
    EXPECT_FALSE(error.empty());
}

TEST(SdlDesktopTest, WorkAreaIsKnownBeforeTheFirstWindow)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    TempFolder config;
    Zestra::SdlPlatform platform(config.Path());
    // The dummy display is 1024x768; a made-up size here would push an 800x600 game into full screen.
    EXPECT_EQ(Zestra::Rect(0, 0, 1024, 768), platform.DesktopWorkArea());
}

TEST_F(SdlWindowTest, WindowAndWheelEventsAreTranslated)
{
    auto window = [](Uint8 what)
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        return e;
    };
    auto wheel = [](int y, Uint32 direction)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = direction;
        return e;
    };
    std::vector<PlatformEvent> events = Feed({
        wheel(2, SDL_MOUSEWHEEL_NORMAL),
        wheel(1, SDL_MOUSEWHEEL_FLIPPED), // natural scrolling: the same finger motion, the same sign as on Windows
        wheel(0, SDL_MOUSEWHEEL_NORMAL),  // a sideways tilt only: nothing for us
        window(SDL_WINDOWEVENT_FOCUS_LOST),
        window(SDL_WINDOWEVENT_FOCUS_GAINED),
        window(SDL_WINDOWEVENT_MINIMIZED),
        window(SDL_WINDOWEVENT_RESTORED),
        window(SDL_WINDOWEVENT_LEAVE),
        window(SDL_WINDOWEVENT_EXPOSED), // repainted from the kept texture, not passed on
        window(SDL_WINDOWEVENT_CLOSE),
    });
    ASSERT_EQ(8u, events.size());
    EXPECT_EQ(Type::MouseWheel, events[0].mType);
    EXPECT_EQ(2, events[0].mWheel);
    EXPECT_EQ(-1, events[1].mWheel);
    EXPECT_EQ(Type::Activate, events[2].mType);
    EXPECT_FALSE(events[2].mActive);
    EXPECT_TRUE(events[3].mActive);
    EXPECT_EQ(Type::Minimize, events[4].mType);
    EXPECT_TRUE(events[4].mMinimized);
    EXPECT_FALSE(events[5].mMinimized);
    EXPECT_EQ(Type::MouseLeave, events[6].mType);
    EXPECT_EQ(Type::Close, events[7].mType);
}

TEST(SdlDisplayChoiceTest, SoftwareRasterizersAreNotTakenForHardware)
{
    struct Case
    {
        const char* driver;
        bool software;
    };
    const Case cases[] = {
        {"opengl (llvmpipe (LLVM 15.0.6, 256 bits))", true},
        {"opengl (softpipe)", true},
        {"opengl (Mesa DRI swrast)", true},
        {"opengl (Software Rasterizer)", true},
        {"opengles2 (Google SwiftShader)", true},
        {"software (software)", true},
        {"opengl (Mesa Intel(R) UHD Graphics 620 (KBL GT2))", false},
        {"opengl (NVIDIA GeForce GTX 1060/PCIe/SSE2)", false},
        {"opengl (AMD Radeon RX 580 (radeonsi, polaris10, LLVM 15.0.6))", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.software, Zestra::IsSoftwareRasterizer(c.driver)) << c.driver;
}

TEST_F(SdlWindowTest, WithoutHardwareTheScreenGoesThroughTheWindowSurface)
{
    // The dummy display has no accelerated renderer: asked for, 3D fails (the application then turns it off);
    // the automatic choice and "off" both present through the window surface.
    std::string error;
    Zestra::WindowSpec request;
    request.mTitle = "Velmora Row";
    request.mTimerPeriodMs = 0;
    EXPECT_FALSE(mPlatform->Is3D());
    request.mDisplay3D = Zestra::Display3D::Automatic;
    ASSERT_EQ(Zestra::DisplayResult::Ok, mPlatform->CreateMainWindow(request, error)) << error;
    EXPECT_FALSE(mPlatform->Is3D());
    EXPECT_NE(std::string::npos, mPlatform->DisplayDescription().find("window surface"))
        << mPlatform->DisplayDescription();
    std::vector<uint32_t> pixels(800 * 600, 0xff336699u);
    Zestra::PixelView view{pixels.data(), 800, 600, 800};
    EXPECT_TRUE(mPlatform->Present(view, {}));
    EXPECT_TRUE(mPlatform->Present(view, {Zestra::Rect(10, 10, 20, 20)}));
    request.mDisplay3D = Zestra::Display3D::On;
    if (mPlatform->CreateMainWindow(request, error) == Zestra::DisplayResult::Ok)
        EXPECT_TRUE(mPlatform->Is3D()) << "granted 3D is the accelerated renderer";
    else
        EXPECT_FALSE(mPlatform->HasMainWindow());
}
