// A bare game application (not started: no content, no board) whose menu stack the menu tests drive, with the
// menus' resource ids bound to blank pictures of the content's sizes, a font of fixed-width glyphs, and the game's
// sounds recorded instead of played.
#pragma once

#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/res/Res.h"
#include "game/ui/Menu.h"
#include "game/audio/GameSound.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace MenuTest
{

class FixedFont : public Zestra::Font
{
public:
    FixedFont()
    {
        mAscent = 12;
        mHeight = 16;
    }
    int TextWidth(const std::string& text) override { return 8 * int(text.size()); }
    Zestra::Font* Clone() const override { return new FixedFont(*this); }
};

class KitApp : public Zestra::GameApp
{
public:
    using GameApp::GameApp;
    void Quit() override { quitAsked = true; }
    bool quitAsked = false;
};

enum TestSound
{
    kButtonSound = 101,
    kHighlightSound = 102,
    kStartDaySound = 103,
};

class MenuKitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto blank = [](int w, int h) { return std::make_shared<Zestra::MemoryImage>(w, h); };
        IMAGE_MENU_DIALOG_BOX_1 = blank(440, 360);
        IMAGE_MENU_DIALOG_BOX_2 = blank(440, 340);
        IMAGE_MENU_DIALOG_BUTTON_NORMAL = blank(190, 44);
        IMAGE_MENU_DIALOG_BUTTON_OVER = blank(190, 44);
        IMAGE_MENU_DIALOG_BUTTON_DOWN = blank(190, 44);
        IMAGE_MENU_BUTTON_NORMAL = blank(200, 50);
        IMAGE_MENU_BUTTON_OVER = blank(200, 50);
        IMAGE_MENU_BUTTON_DOWN = blank(200, 50);
        IMAGE_MENU_CHECKBOX = blank(32, 32);
        IMAGE_MENU_CHECKBOX_CHECKED = blank(32, 32);
        IMAGE_MENU_CHECKBOX_HOVER = blank(32, 32);
        IMAGE_MENU_CHECKBOX_CHECKED_HOVER = blank(32, 32);
        IMAGE_MENU_MAIN = blank(800, 600);
        IMAGE_OPEN_SIGN = blank(2000, 110);
        IMAGE_OPEN_SIGN->SetCelGrid(1, 10);
        FONT_MEDIUM_LIGHT = &font;
        FONT_MEDIUM_DARK = &font;
        SOUND_BUTTON = kButtonSound;
        SOUND_HIGHLIGHT = kHighlightSound;
        SOUND_START_DAY = kStartDaySound;
        SetGameSoundSink([this](int id) { sounds.push_back(id); });
        app = std::make_unique<KitApp>(platform);
        app->mWidgetManager->SetScreenArea(Zestra::Rect(0, 0, 800, 600), Zestra::Rect(0, 0, 800, 600));
    }
    void TearDown() override
    {
        app.reset();
        SetGameSoundSink({});
        UnbindAllGroups();
    }

    Zestra::WidgetManager& Manager() { return *app->mWidgetManager; }
    // What the loop does per update, at the display's pace (one fractional step of 1 per update).
    void Updates(int count)
    {
        for (int i = 0; i < count; i++)
        {
            Manager().TickAll();
            Manager().TickAllFraction(1.0);
            app->ProcessDeferredDeletes();
        }
    }
    void Click(int x, int y)
    {
        Manager().PointerMoved(x, y);
        Manager().ButtonDown(x, y, 1);
        Manager().ButtonUp(x, y, 1);
        app->ProcessDeferredDeletes();
    }
    void Click(const Zestra::Widget& widget) { Click(widget.mX + widget.mWidth / 2, widget.mY + widget.mHeight / 2); }
    void Key(int key)
    {
        Manager().KeyPressed(key);
        Manager().KeyReleased(key);
        app->ProcessDeferredDeletes();
    }
    bool IsOpen(const Menu* menu) const
    {
        const auto& open = app->OpenMenus();
        return std::find(open.begin(), open.end(), menu) != open.end();
    }

    FixedFont font;
    std::vector<int> sounds;
    Zestra::HeadlessPlatform platform;
    std::unique_ptr<KitApp> app;
};

} // namespace MenuTest
