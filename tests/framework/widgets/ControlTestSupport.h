// Shared pieces of the control tests: a font of fixed-width glyphs, a listener that logs every callback, a
// target image that records what was blitted from which image, and a headless application with its manager.
#pragma once

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/EditListener.h"
#include "framework/widgets/SliderListener.h"
#include "framework/widgets/WidgetManager.h"

#include <string>
#include <vector>

namespace ZestraTest
{

// Every glyph is 10 pixels wide, except control characters and those listed in mMissing, which the font cannot
// draw (width 0).
class FixedFont : public Zestra::Font
{
public:
    FixedFont()
    {
        mAscent = 12;
        mHeight = 16;
    }
    int GlyphWidth(char ch) override
    {
        unsigned char c = static_cast<unsigned char>(ch);
        return c < 32 || mMissing.find(ch) != std::string::npos ? 0 : 10;
    }
    int TextWidth(const std::string& text) override
    {
        int width = 0;
        for (char ch : text)
            width += GlyphWidth(ch);
        return width;
    }
    Zestra::Font* Clone() const override { return new FixedFont(*this); }

    std::string mMissing = "|";
};

using Log = std::vector<std::string>;

class LoggingListener : public Zestra::ButtonListener,
                        public Zestra::CheckboxListener,
                        public Zestra::SliderListener,
                        public Zestra::EditListener,
                        public Zestra::DialogListener
{
public:
    void ButtonPressed(int id, int clickCount) override
    {
        mLog.push_back("pressed " + std::to_string(id) + " x" + std::to_string(clickCount));
    }
    void ButtonReleased(int id) override { mLog.push_back("released " + std::to_string(id)); }
    void ButtonHeld(int id) override { mLog.push_back("held " + std::to_string(id)); }
    void ButtonMouseEntered(int id) override { mLog.push_back("entered " + std::to_string(id)); }
    void ButtonMouseLeft(int id) override { mLog.push_back("left " + std::to_string(id)); }
    void CheckboxToggled(int id, bool checked) override
    {
        mLog.push_back("toggled " + std::to_string(id) + (checked ? " on" : " off"));
    }
    void SliderMoved(int id, double value) override
    {
        mLog.push_back("moved " + std::to_string(id) + " " + std::to_string(value).substr(0, 4));
    }
    void EditSubmitted(int id, const std::string& text) override
    {
        mLog.push_back("submitted " + std::to_string(id) + " " + text);
    }
    bool AcceptKey(int, int keyCode) override { return mRefusedKeys.find(char(keyCode)) == std::string::npos; }
    bool AcceptChar(int, char ch) override { return mRefusedChars.find(ch) == std::string::npos; }
    bool AcceptContent(int, const std::string& text) override { return text != mRefusedContent; }
    void DialogButtonPressed(int dialogId, int buttonId) override
    {
        mLog.push_back("dialog pressed " + std::to_string(dialogId) + " " + std::to_string(buttonId));
    }
    void DialogButtonReleased(int dialogId, int buttonId) override
    {
        mLog.push_back("dialog released " + std::to_string(dialogId) + " " + std::to_string(buttonId));
    }

    Log mLog;
    std::string mRefusedKeys; // key codes as chars
    std::string mRefusedChars;
    std::string mRefusedContent = "\x01never";
};

// A target that records every blit with its source image, and every fill with its colour.
class BlitLog : public Zestra::Image
{
public:
    struct Entry
    {
        std::string mWhat; // "blit" or "fill"
        const Zestra::Image* mSource = nullptr;
        Zestra::Rect mRect; // destination for fills; source rectangle for blits
        Zestra::Point mAt;
        Zestra::Color mColor;
    };

    BlitLog(int w, int h)
    {
        mWidth = w;
        mHeight = h;
    }
    void BlitImage(Zestra::Image* src, int x, int y, const Zestra::Rect& srcRect, const Zestra::Color& color,
                   int) override
    {
        mEntries.push_back({"blit", src, srcRect, {x, y}, color});
    }
    void FillRectangle(const Zestra::Rect& rect, const Zestra::Color& color, int) override
    {
        mEntries.push_back({"fill", nullptr, rect, {rect.mX, rect.mY}, color});
    }
    std::vector<Entry> Blits() const
    {
        std::vector<Entry> blits;
        for (const Entry& e : mEntries)
            if (e.mWhat == "blit")
                blits.push_back(e);
        return blits;
    }

    std::vector<Entry> mEntries;
};

// An image of a given size that draws nothing (a stand-in picture).
class BlankImage : public Zestra::Image
{
public:
    BlankImage(int w, int h)
    {
        mWidth = w;
        mHeight = h;
    }
};

class HarnessApp : public Zestra::ZestraAppBase
{
public:
    explicit HarnessApp(Zestra::HeadlessPlatform& platform) : ZestraAppBase(platform)
    {
        Config().mSilent = true;
        Loading().mAutoStartLoadingThread = false;
    }
};

// A headless application (640 x 480) whose widget manager the tests drive directly.
struct AppHarness
{
    AppHarness() { app.Initialize(); }
    Zestra::WidgetManager& Manager() { return *app.mWidgetManager; }
    void Click(int x, int y, int code = 1)
    {
        Manager().PointerMoved(x, y);
        Manager().ButtonDown(x, y, code);
        Manager().ButtonUp(x, y, code == 2 ? 1 : (code == -2 ? -1 : code));
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; i++)
            Manager().TickAll();
    }

    Zestra::HeadlessPlatform platform;
    HarnessApp app{platform};
};

} // namespace ZestraTest
