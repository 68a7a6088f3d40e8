#include "framework/platform/web/WebPlatform.h"

#include "framework/log/Log.h"
#include "framework/platform/Paths.h"
#include "framework/platform/SettingsStore.h"

#include <emscripten.h>
#include <emscripten/fiber.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// ---------------------------------------------------------------------------------------------------------------
// The page side. The page (web/index.html) owns the canvas "#canvas" and sizes it; these helpers only draw into
// it, read where it is, and drive Web Audio.

// Shows the RGBA pixels at ptr (width x height) in the canvas, only the rectangle x, y, w, h of them. The
// ImageData views the WebAssembly memory in place and is made again when that memory grows.
EM_JS(void, velmora_present, (const uint8_t* ptr, int width, int height, int x, int y, int w, int h), {
    var canvas = Module['canvas'];
    if (!canvas)
        return;
    if (canvas.width != width || canvas.height != height)
    {
        canvas.width = width;
        canvas.height = height;
    }
    var view = Module.velmoraView;
    if (!view || view.ptr != ptr || view.image.data.buffer !== HEAPU8.buffer || view.image.width != width)
    {
        view = Module.velmoraView = {
            ptr : ptr,
            context : canvas.getContext('2d', {alpha : false}),
            image : new ImageData(new Uint8ClampedArray(HEAPU8.buffer, ptr, width * height * 4), width, height)
        };
    }
    view.context.putImageData(view.image, 0, 0, x, y, w, h);
});

// Tells the page that a frame of the game is complete (its first is the first logo frame).
EM_JS(void, velmora_frame_done, (), {
    if (Module['onFrame'])
        Module['onFrame']();
});

// The canvas's box on the page in CSS pixels: left, top, width, height.
EM_JS(void, velmora_canvas_box, (double* out), {
    var canvas = Module['canvas'];
    var box = canvas ? canvas.getBoundingClientRect() : {left : 0, top : 0, width : 0, height : 0};
    HEAPF64[(out >> 3) + 0] = box.left;
    HEAPF64[(out >> 3) + 1] = box.top;
    HEAPF64[(out >> 3) + 2] = box.width;
    HEAPF64[(out >> 3) + 3] = box.height;
});

EM_JS(void, velmora_set_cursor, (const char* css), {
    var canvas = Module['canvas'];
    if (canvas)
        canvas.style.cursor = UTF8ToString(css);
});

// A picture cursor from RGBA pixels, through a data URL.
EM_JS(void, velmora_set_cursor_image, (const uint8_t* ptr, int width, int height, int hotX, int hotY), {
    var canvas = Module['canvas'];
    if (!canvas)
        return;
    var scratch = document.createElement('canvas');
    scratch.width = width;
    scratch.height = height;
    var pixels = new Uint8ClampedArray(HEAPU8.slice(ptr, ptr + width * height * 4).buffer);
    scratch.getContext('2d').putImageData(new ImageData(pixels, width, height), 0, 0);
    canvas.style.cursor = 'url(' + scratch.toDataURL() + ') ' + hotX + ' ' + hotY + ', auto';
});

EM_JS(void, velmora_open_url, (const char* url), { window.open(UTF8ToString(url), '_blank', 'noopener'); });

// Web Audio pulling our mixer: a script processor asks for frames, which _velmora_audio_fill writes as 16-bit
// stereo. Browsers start a context suspended until the player interacts, so the first press resumes it.
EM_JS(int, velmora_audio_open, (int rate, int frames), {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context)
        return 0;
    var context;
    try
    {
        context = new Context({sampleRate : rate});
    }
    catch (e)
    {
        context = new Context();
    }
    var node = context.createScriptProcessor(frames, 0, 2);
    node.onaudioprocess = function(event)
    {
        var left = event.outputBuffer.getChannelData(0);
        var right = event.outputBuffer.getChannelData(1);
        var count = left.length;
        var at = Module['_velmora_audio_fill'](count) >> 1;
        for (var i = 0; i < count; ++i)
        {
            left[i] = HEAP16[at + 2 * i] / 32768;
            right[i] = HEAP16[at + 2 * i + 1] / 32768;
        }
    };
    node.connect(context.destination);
    var resume = function()
    {
        if (context.state != 'running')
            context.resume();
    };
    ['mousedown', 'keydown', 'touchstart'].forEach(function(name) { window.addEventListener(name, resume, true); });
    Module.velmoraAudio = {context : context, node : node};
    return 1;
});

EM_JS(void, velmora_audio_close, (), {
    var audio = Module.velmoraAudio;
    if (!audio)
        return;
    audio.node.disconnect();
    audio.context.close();
    Module.velmoraAudio = null;
});

namespace
{

Zestra::WebPlatform* gWebPlatform = nullptr; // the one platform, for the browser's callbacks

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int16_t* velmora_audio_fill(int frames)
{
    return gWebPlatform != nullptr ? gWebPlatform->FillAudio(frames) : nullptr;
}

namespace Zestra
{

namespace
{

constexpr double kYieldEveryMs = 16;   // the longest the page goes without the processor while the loop is busy
constexpr int kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;    // screen pixels between the two presses of a double click
constexpr size_t kTaskStackBytes = 1024 * 1024;
constexpr size_t kAsyncifyStackBytes = 256 * 1024;

void SetModifiers(PlatformEvent& event, bool shift, bool ctrl, bool alt)
{
    event.mShift = shift;
    event.mCtrl = ctrl;
    event.mAlt = alt;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void* user)
{
    auto* platform = static_cast<WebPlatform*>(user);
    PlatformEvent event;
    platform->MapToScreen(double(e->clientX), double(e->clientY), event.mX, event.mY);
    SetModifiers(event, e->shiftKey, e->ctrlKey, e->altKey);
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE)
    {
        event.mType = PlatformEvent::Type::MouseMove;
        platform->Push(event);
        return EM_FALSE;
    }
    if (type == EMSCRIPTEN_EVENT_MOUSELEAVE)
    {
        event.mType = PlatformEvent::Type::MouseLeave;
        platform->Push(event);
        return EM_FALSE;
    }
    const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
    event.mClickCode = platform->ClickCode(e->button, down, e->timestamp, event.mX, event.mY);
    if (event.mClickCode == 0)
        return EM_FALSE;
    event.mType = down ? PlatformEvent::Type::MouseDown : PlatformEvent::Type::MouseUp;
    platform->Push(event);
    return EM_TRUE; // no text selection, no context menu
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void* user)
{
    if (e->deltaY == 0)
        return EM_FALSE;
    PlatformEvent event;
    event.mType = PlatformEvent::Type::MouseWheel;
    event.mWheel = e->deltaY < 0 ? 1 : -1; // one notch per browser wheel event, up is positive as on the desktop
    static_cast<WebPlatform*>(user)->Push(event);
    return EM_TRUE;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* user)
{
    auto* platform = static_cast<WebPlatform*>(user);
    const int key = VirtualKeyFromBrowser(int(e->keyCode));
    PlatformEvent event;
    SetModifiers(event, e->shiftKey, e->ctrlKey, e->altKey);
    bool handled = false;
    if (key != 0)
    {
        event.mType = type == EMSCRIPTEN_EVENT_KEYDOWN ? PlatformEvent::Type::KeyDown : PlatformEvent::Type::KeyUp;
        event.mKey = key;
        event.mSystemKey = e->altKey;
        platform->Push(event);
        // Keys the page would act on itself (going back, moving focus, scrolling) belong to the game.
        handled = key == 8 || key == 9 || key == 13 || key == 32 || (key >= 33 && key <= 40);
    }
    if (type != EMSCRIPTEN_EVENT_KEYDOWN || e->metaKey)
        return handled;
    uint8_t typed = 0;
    if (e->ctrlKey && !e->altKey)
        typed = key >= 'A' && key <= 'Z' ? uint8_t(key - 'A' + 1) : 0; // Ctrl+C is 3, as the desktop types it
    else
        typed = TypedLatin1(e->key);
    if (typed == 0 && (key == 8 || key == 13 || key == 27))
        typed = uint8_t(key);
    if (typed != 0)
    {
        PlatformEvent ch;
        ch.mType = PlatformEvent::Type::Char;
        ch.mChar = typed;
        SetModifiers(ch, e->shiftKey, e->ctrlKey, e->altKey);
        platform->Push(ch);
        handled = true;
    }
    return handled;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void* user)
{
    PlatformEvent event;
    event.mType = PlatformEvent::Type::Activate;
    event.mActive = type == EMSCRIPTEN_EVENT_FOCUS;
    static_cast<WebPlatform*>(user)->Push(event);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* user)
{
    PlatformEvent event;
    event.mType = PlatformEvent::Type::Activate;
    event.mActive = !e->hidden;
    static_cast<WebPlatform*>(user)->Push(event);
    return EM_FALSE;
}

} // namespace

int VirtualKeyFromBrowser(int keyCode)
{
    // The browser's keyCode numbers are the Windows virtual-key numbers for letters, digits, arrows, the editing
    // keys, F1..F12 and the modifiers; a few punctuation keys differ between browsers and are left out.
    if ((keyCode >= 8 && keyCode <= 9) || keyCode == 13 || (keyCode >= 16 && keyCode <= 20) || keyCode == 27 ||
        (keyCode >= 32 && keyCode <= 40) || keyCode == 45 || keyCode == 46 || (keyCode >= 48 && keyCode <= 57) ||
        (keyCode >= 65 && keyCode <= 90) || (keyCode >= 96 && keyCode <= 123))
        return keyCode;
    return 0;
}

uint8_t TypedLatin1(const char* key)
{
    const auto* k = reinterpret_cast<const unsigned char*>(key);
    if (k[0] == 0)
        return 0;
    if (k[0] < 0x80)
        return k[1] == 0 && k[0] >= 0x20 && k[0] != 0x7F ? k[0] : 0;
    // Two-byte UTF-8 up to U+00FF; anything longer is a name or beyond Latin-1.
    if ((k[0] == 0xC2 || k[0] == 0xC3) && (k[1] & 0xC0) == 0x80 && k[2] == 0)
    {
        const uint8_t ch = uint8_t(((k[0] & 0x1F) << 6) | (k[1] & 0x3F));
        return ch >= 0xA0 ? ch : 0;
    }
    return 0;
}

struct WebPlatform::Fibers
{
    emscripten_fiber_t mMain;
    emscripten_fiber_t mTask;
    std::vector<uint8_t> mMainAsyncify = std::vector<uint8_t>(kAsyncifyStackBytes);
    std::vector<uint8_t> mTaskAsyncify = std::vector<uint8_t>(kAsyncifyStackBytes);
    std::vector<uint8_t> mTaskStack = std::vector<uint8_t>(kTaskStackBytes);
};

WebPlatform::WebPlatform()
{
    gWebPlatform = this;
    mSettings = SettingsStore::CreateFileBacked(std::string(kPersistentFolder) + "config");
    const char* canvas = "#canvas";
    emscripten_set_mousedown_callback(canvas, this, EM_TRUE, OnMouse);
    // Moves and releases are heard on the whole document, so a press dragged off the canvas still ends.
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, OnMouse);
    emscripten_set_mouseleave_callback(canvas, this, EM_TRUE, OnMouse);
    emscripten_set_wheel_callback(canvas, this, EM_TRUE, OnWheel);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnFocus);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnFocus);
    emscripten_set_visibilitychange_callback(this, EM_TRUE, OnVisibility);
    mLastYieldMs = emscripten_get_now();
}

WebPlatform::~WebPlatform()
{
    CloseAudio();
    emscripten_html5_remove_all_event_listeners();
    if (gWebPlatform == this)
        gWebPlatform = nullptr;
}

uint64_t WebPlatform::NowMs()
{
    return uint64_t(emscripten_get_now());
}

void WebPlatform::SleepMs(int ms)
{
    // The loop's idle time belongs to the loading task while there is one; the page still gets its turn.
    if (mTaskRunning && ms > 0)
    {
        RunTaskFor(ms);
        YieldToBrowserIfDue();
        return;
    }
    mLastYieldMs = emscripten_get_now() + std::max(ms, 0);
    emscripten_sleep(unsigned(std::max(ms, 0)));
}

void WebPlatform::YieldToBrowserIfDue()
{
    const double now = emscripten_get_now();
    if (now - mLastYieldMs < kYieldEveryMs)
        return;
    mLastYieldMs = now;
    emscripten_sleep(0);
}

DisplayResult WebPlatform::CreateMainWindow(const WindowSpec& request, std::string&)
{
    mWidth = request.mWidth;
    mHeight = request.mHeight;
    mRgba.assign(size_t(mWidth) * size_t(mHeight) * 4, 0);
    for (size_t i = 3; i < mRgba.size(); i += 4)
        mRgba[i] = 0xFF;
    const bool wasWindowed = mWindowed;
    mWindowed = request.mWindowed;
    if (!mWindowed && (wasWindowed || !mHasWindow))
    {
        // Browsers allow full screen only from the player's own press; the request waits for the next one.
        EmscriptenFullscreenStrategy strategy{};
        strategy.scaleMode = EMSCRIPTEN_FULLSCREEN_SCALE_ASPECT;
        strategy.canvasResolutionScaleMode = EMSCRIPTEN_FULLSCREEN_CANVAS_SCALE_NONE;
        strategy.filteringMode = EMSCRIPTEN_FULLSCREEN_FILTERING_NEAREST;
        emscripten_request_fullscreen_strategy("#canvas", EM_TRUE, &strategy);
    }
    else if (mWindowed && !wasWindowed)
        emscripten_exit_fullscreen();
    mHasWindow = true;
    velmora_present(mRgba.data(), mWidth, mHeight, 0, 0, mWidth, mHeight);
    return DisplayResult::Ok;
}

void WebPlatform::DestroyMainWindow()
{
    mHasWindow = false;
}

bool WebPlatform::PollEvent(PlatformEvent& event)
{
    if (mEvents.empty())
    {
        // A busy loop polls often: the page's turn comes from here when the loop does not sleep.
        YieldToBrowserIfDue();
        if (mEvents.empty())
            return false;
    }
    event = mEvents.front();
    mEvents.pop_front();
    return true;
}

bool WebPlatform::Present(const PixelView& screen, const std::vector<Rect>& dirty)
{
    if (!mHasWindow || screen.mPixels == nullptr)
        return true;
    if (screen.mWidth != mWidth || screen.mHeight != mHeight)
    {
        mWidth = screen.mWidth;
        mHeight = screen.mHeight;
        mRgba.assign(size_t(mWidth) * size_t(mHeight) * 4, 0xFF);
    }
    const Rect whole(0, 0, mWidth, mHeight);
    std::vector<Rect> rects = dirty.empty() ? std::vector<Rect>{whole} : dirty;
    for (Rect r : rects)
    {
        const int x0 = std::max(r.mX, 0), y0 = std::max(r.mY, 0);
        const int x1 = std::min(r.mX + r.mWidth, mWidth), y1 = std::min(r.mY + r.mHeight, mHeight);
        if (x1 <= x0 || y1 <= y0)
            continue;
        for (int y = y0; y < y1; ++y)
        {
            const uint32_t* from = screen.mPixels + size_t(y) * size_t(screen.mPitch) + size_t(x0);
            uint8_t* to = mRgba.data() + (size_t(y) * size_t(mWidth) + size_t(x0)) * 4;
            for (int x = x0; x < x1; ++x, ++from, to += 4)
            {
                const uint32_t p = *from;
                to[0] = uint8_t(p >> 16);
                to[1] = uint8_t(p >> 8);
                to[2] = uint8_t(p);
                to[3] = 0xFF;
            }
        }
        velmora_present(mRgba.data(), mWidth, mHeight, x0, y0, x1 - x0, y1 - y0);
    }
    velmora_frame_done();
    return true;
}

void WebPlatform::MapToScreen(double clientX, double clientY, int& x, int& y) const
{
    double box[4];
    velmora_canvas_box(box);
    if (box[2] <= 0 || box[3] <= 0)
    {
        x = int(clientX);
        y = int(clientY);
        return;
    }
    x = int(std::floor((clientX - box[0]) * mWidth / box[2]));
    y = int(std::floor((clientY - box[1]) * mHeight / box[3]));
}

int WebPlatform::ClickCode(int button, bool down, double now, int x, int y)
{
    // Browser buttons: 0 left, 1 middle, 2 right.
    if (button == 1)
        return 3;
    if (button != 0 && button != 2)
        return 0;
    const int single = button == 0 ? 1 : -1;
    if (!down)
        return single;
    // Every second press of a quick run counts as a double click, as the desktop reports them.
    const bool twice = !mLastWasDouble && button == mLastDownButton && now - mLastDownMs <= kDoubleClickMs &&
                       std::abs(x - mLastDownX) <= kDoubleClickSlop && std::abs(y - mLastDownY) <= kDoubleClickSlop;
    mLastWasDouble = twice;
    mLastDownButton = button;
    mLastDownMs = now;
    mLastDownX = x;
    mLastDownY = y;
    return twice ? 2 * single : single;
}

void WebPlatform::SetCursorKind(int kind)
{
    const char* css = "default";
    switch (kind)
    {
    case 1:
        css = "pointer";
        break;
    case 2:
        css = "grabbing";
        break;
    case 3:
        css = "text";
        break;
    case 11:
        css = "none";
        break;
    default:
        break;
    }
    velmora_set_cursor(css);
}

void WebPlatform::SetCursorImage(const PixelView& pixels, int hotX, int hotY)
{
    if (pixels.mPixels == nullptr || pixels.mWidth <= 0 || pixels.mHeight <= 0)
        return;
    std::vector<uint8_t> rgba(size_t(pixels.mWidth) * size_t(pixels.mHeight) * 4);
    uint8_t* to = rgba.data();
    for (int y = 0; y < pixels.mHeight; ++y)
        for (int x = 0; x < pixels.mWidth; ++x, to += 4)
        {
            const uint32_t p = pixels.mPixels[size_t(y) * size_t(pixels.mPitch) + size_t(x)];
            to[0] = uint8_t(p >> 16);
            to[1] = uint8_t(p >> 8);
            to[2] = uint8_t(p);
            to[3] = uint8_t(p >> 24);
        }
    velmora_set_cursor_image(rgba.data(), pixels.mWidth, pixels.mHeight, hotX, hotY);
}

int WebPlatform::ShowMessageBox(const std::string& text, const std::string& caption, int flags)
{
    // A page cannot block for an answer without freezing itself; the text goes to the console and the answer
    // is the one a player who reads it would most likely give.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return (flags & MB_YES_NO) != 0 ? ANSWER_YES : ANSWER_OK;
}

bool WebPlatform::OpenUrl(const std::string& url)
{
    if (url.empty() || url[0] == '-')
        return false;
    velmora_open_url(url.c_str());
    return true;
}

bool WebPlatform::OpenAudio(int rate, AudioFillFn fill)
{
    CloseAudio();
    mAudioFill = std::move(fill);
    if (!velmora_audio_open(rate, 2048))
    {
        mAudioFill = nullptr;
        return false;
    }
    return true;
}

void WebPlatform::CloseAudio()
{
    if (!mAudioFill)
        return;
    velmora_audio_close();
    mAudioFill = nullptr;
}

int16_t* WebPlatform::FillAudio(int frames)
{
    mAudioBuffer.assign(size_t(std::max(frames, 0)) * 2, 0);
    if (mAudioFill && frames > 0)
        mAudioFill(mAudioBuffer.data(), frames);
    return mAudioBuffer.data();
}

std::string WebPlatform::UserDataFolder()
{
    std::string folder = std::string(kPersistentFolder) + "data/";
    std::string error;
    if (!MakeFolders(folder, 0755, error))
        Log("Cannot make the data folder: " + error);
    return folder;
}

// ---- the loading task as a fiber ----

void WebPlatform::StartSlicedTask(std::function<void()> task)
{
    mTask = std::move(task);
    mFibers = std::make_unique<Fibers>();
    emscripten_fiber_init_from_current_context(&mFibers->mMain, mFibers->mMainAsyncify.data(),
                                               mFibers->mMainAsyncify.size());
    emscripten_fiber_init(&mFibers->mTask, TaskEntry, this, mFibers->mTaskStack.data(), mFibers->mTaskStack.size(),
                          mFibers->mTaskAsyncify.data(), mFibers->mTaskAsyncify.size());
    mTaskRunning = true;
}

void WebPlatform::TaskEntry(void* self)
{
    auto* platform = static_cast<WebPlatform*>(self);
    platform->mTask();
    platform->mTaskRunning = false;
    // A fiber must never return; this one is not resumed again.
    emscripten_fiber_swap(&platform->mFibers->mTask, &platform->mFibers->mMain);
}

void WebPlatform::RunTaskFor(int ms)
{
    mSliceEndMs = emscripten_get_now() + ms;
    mInTask = true;
    emscripten_fiber_swap(&mFibers->mMain, &mFibers->mTask);
    mInTask = false;
}

void WebPlatform::YieldSlicedTask()
{
    if (!mInTask || emscripten_get_now() < mSliceEndMs)
        return;
    emscripten_fiber_swap(&mFibers->mTask, &mFibers->mMain);
}

} // namespace Zestra
