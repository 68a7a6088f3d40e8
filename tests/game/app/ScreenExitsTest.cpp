// Every screen that can be opened by name must lead somewhere: each one is opened over a day of the game's own
// content and every way out a player has (waiting, each shown button, the click the built-in player would make, a
// click in the middle, Escape, Return) is tried on a fresh copy of it. A screen that none of them leaves is a dead
// end. Skipped when the build has no content folder.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/app/TitleScreen.h"
#include "game/diag/PanelPlayer.h"
#include "game/diag/MinigamePlayer.h"
#include "game/flow/MenuCatalog.h"
#include "game/minigame/Minigame.h"
#include "game/minigame/MinigamePlay.h"
#include "game/profile/ProfileTable.h"
#include "game/shopday/Board.h"
#include "game/ui/Button.h"
#include "game/ui/Menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{

using namespace Zestra;

// Quitting is a way out too; the test notes it instead of shutting the suite's application down.
class ExitWatchingApp : public GameApp
{
public:
    using GameApp::GameApp;
    void Quit() override { quitAsked = true; }
    bool quitAsked = false;
};

// What the player sees, as far as leaving a screen goes: the top menu, the start screens, the board's state.
struct View
{
    const void* top = nullptr;
    const void* logo = nullptr;
    const void* firstSplash = nullptr;
    const void* secondSplash = nullptr;
    const void* title = nullptr;
    int mode = 0;
    bool quit = false;
    bool operator==(const View&) const = default;
};

struct Action
{
    std::string what;
    std::function<void()> act;
};

class ScreenExits : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string gameDir = VELMORA_BUILD_GAME_DIR;
        if (!std::filesystem::exists(gameDir + "/properties/resources.xml"))
            return;
        platform = new HeadlessPlatform();
        app = new ExitWatchingApp(*platform);
        const std::string dir = "-changedir=" + gameDir;
        const char* argv[] = {"velmora", dir.c_str(), "-level=1:1"};
        app->SetCommandLine(3, argv);
        app->Initialize();
        app->RunLoadingTask();
        app->Loading().mLoadingFinished = true;
        app->TryRunUpdate();
        // Every screen but the name entry is reached with a player; the player screens offer their ways back only
        // then.
        CreateProfile("Tester");
    }
    static void TearDownTestSuite()
    {
        delete app;
        delete platform;
        app = nullptr;
        platform = nullptr;
    }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << VELMORA_BUILD_GAME_DIR;
    }

    static void Updates(int count)
    {
        for (int i = 0; i < count; i++)
        {
            app->RunUpdate();
            app->RunFractionalUpdate(1.0);
            app->ProcessDeferredDeletes();
        }
    }
    static Menu* Top() { return app->OpenMenus().empty() ? nullptr : app->OpenMenus().back(); }
    static View Now()
    {
        return View{Top(),
                    app->GetLogoScreen(),
                    app->GetFirstSplash(),
                    app->GetSecondSplash(),
                    app->GetTitleScreen(),
                    int(app->GetBoard()->Mode()),
                    app->quitAsked};
    }
    // Input goes the way the window's events go, so the screen sees what a player's hand would give it.
    static void Send(PlatformEvent::Type type, int x, int y, int key)
    {
        PlatformEvent event;
        event.mType = type;
        event.mX = x;
        event.mY = y;
        event.mClickCode = 1;
        event.mKey = key;
        app->HandleDeferredMessage(event);
    }
    static void Click(int x, int y)
    {
        Send(PlatformEvent::Type::MouseMove, x, y, 0);
        Send(PlatformEvent::Type::MouseDown, x, y, 0);
        Send(PlatformEvent::Type::MouseUp, x, y, 0);
    }
    static void Key(int key)
    {
        Send(PlatformEvent::Type::KeyDown, 0, 0, key);
        Send(PlatformEvent::Type::KeyUp, 0, 0, key);
    }
    // The screen as "-screen=NAME" shows it, over the same day every time, once it has settled.
    static void OpenFresh(const MenuCatalogEntry& entry)
    {
        app->CloseAllMenus({});
        app->CloseStartScreens();
        app->ProcessDeferredDeletes();
        app->quitAsked = false;
        ASSERT_TRUE(app->StartLevel(1, 1));
        entry.open(*app->GetBoard(), *app);
        Menu* menu = Top();
        // The slowest to settle is a store being built on the map: 300 updates, then the 150 of its countdown.
        for (int i = 0; i < 600 && !((menu == nullptr || menu->IsSettled()) && i >= 60); i++)
            Updates(1);
    }
    // The ways out a player has on the screen now shown.
    static std::vector<Action> Ways()
    {
        std::vector<Action> ways;
        ways.push_back({"waiting", [] {}});
        std::vector<const Widget*> buttons;
        if (Menu* menu = Top())
        {
            for (const auto& child : menu->children)
                if (dynamic_cast<const ButtonWidget*>(child.get()) != nullptr)
                    buttons.push_back(child.get());
            if (auto click = ChoosePanelClick(*menu))
                ways.push_back({"the built-in player's click", [x = click->x, y = click->y] { Click(x, y); }});
        }
        else if (TitleScreen* title = app->GetTitleScreen(); title != nullptr && title->IsPlayShown())
            buttons.push_back(title->PlayButton());
        else
        {
            const Hud& hud = app->GetBoard()->hud;
            for (const Widget* button : {static_cast<const Widget*>(hud.doneButton.get()),
                                         static_cast<const Widget*>(hud.optionsButton.get())})
                if (button != nullptr)
                    buttons.push_back(button);
        }
        for (const Widget* button : buttons)
        {
            if (!button->mShown || button->mInactive || button->mManager == nullptr)
                continue;
            const int x = button->mX + button->mWidth / 2;
            const int y = button->mY + button->mHeight / 2;
            ways.push_back({"the button at " + std::to_string(x) + "," + std::to_string(y), [x, y] { Click(x, y); }});
        }
        // The memory game is left by playing it: the built-in player's hands, which end with its done button.
        if (dynamic_cast<Minigame*>(Top()) != nullptr)
            ways.push_back({"playing the memory game", [] {
                                MinigamePlayer hands([](const PlatformEvent& event) { app->HandleDeferredMessage(event); });
                                const View shown = Now();
                                for (int update = 0; update < kGoes * kUpdatesPerGo && Now() == shown; update++)
                                {
                                    auto* game = dynamic_cast<Minigame*>(Top());
                                    const Button* done = game != nullptr ? game->doneButton : nullptr;
                                    const bool doneShown = done != nullptr && done->mShown && !done->mInactive;
                                    const Rect doneArea = doneShown ? Rect(done->mX, done->mY, done->mWidth, done->mHeight)
                                                                    : Rect();
                                    if (game != nullptr && game->play)
                                        hands.Update(*game->play, doneShown ? &doneArea : nullptr);
                                    else if (doneShown)
                                        Click(doneArea.mX + doneArea.mWidth / 2, doneArea.mY + doneArea.mHeight / 2);
                                    Updates(1);
                                }
                            }});
        ways.push_back({"a click in the middle", [] { Click(400, 300); }});
        ways.push_back({"Escape", [] { Key(KEY_ESCAPE); }});
        ways.push_back({"Return", [] { Key(KEY_RETURN); }});
        return ways;
    }

    static constexpr int kGoes = 8;
    static constexpr int kUpdatesPerGo = 1500;

    static HeadlessPlatform* platform;
    static ExitWatchingApp* app;
};

HeadlessPlatform* ScreenExits::platform = nullptr;
ExitWatchingApp* ScreenExits::app = nullptr;

} // namespace

TEST_F(ScreenExits, EveryScreenByNameHasAWayOut)
{
    for (const MenuCatalogEntry& entry : MenuCatalog())
    {
        SCOPED_TRACE(entry.name);
        OpenFresh(entry);
        const std::vector<Action> ways = Ways();
        std::vector<std::string> leading;
        for (size_t i = 0; i < ways.size(); i++)
        {
            // Each way is tried on a screen of its own: the ones before may have left or changed it.
            OpenFresh(entry);
            const View shown = Now();
            // A way may take several goes (the pages of a comic); each is given time for a closing fade, a store's
            // construction on the map, the logo's own end or a memory game's rounds running out.
            for (int go = 0; go < kGoes && Now() == shown; go++)
            {
                ways[i].act();
                for (int update = 0; update < kUpdatesPerGo && Now() == shown; update++)
                    Updates(1);
            }
            if (!(Now() == shown))
                leading.push_back(ways[i].what);
        }
        std::string tried;
        for (const Action& way : ways)
            tried += (tried.empty() ? "" : "; ") + way.what;
        EXPECT_FALSE(leading.empty()) << entry.name << " is a dead end: none of its ways out leaves it (" << tried
                                      << ")";
    }
    app->CloseAllMenus({});
    app->CloseStartScreens();
    app->ProcessDeferredDeletes();
}
