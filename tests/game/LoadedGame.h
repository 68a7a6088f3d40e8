// One running game over the build's content folder, shared by a whole test suite: loading the content takes about
// a second, and the process holds one application at a time. Without a content folder nothing is started and the
// suite skips its tests.
#pragma once

#include "framework/platform/headless/HeadlessPlatform.h"
#include "game/app/GameApp.h"

#include <filesystem>
#include <string>

namespace TestSupport
{

// levelOption is the "-level=S:L" the game opens with. The loading task runs on this thread, then the loop's
// acknowledgement follows, so the day is open when this returns.
inline void StartLoadedGame(const char* levelOption, Zestra::HeadlessPlatform*& platform, Zestra::GameApp*& app)
{
    const std::string gameDir = VELMORA_BUILD_GAME_DIR;
    if (!std::filesystem::exists(gameDir + "/properties/resources.xml"))
        return;
    platform = new Zestra::HeadlessPlatform();
    app = new Zestra::GameApp(*platform);
    const std::string dir = "-changedir=" + gameDir;
    const char* argv[] = {"velmora", dir.c_str(), levelOption};
    app->SetCommandLine(3, argv);
    app->Initialize();
    app->RunLoadingTask();
    app->Loading().mLoadingFinished = true;
    app->TryRunUpdate();
}

// The application goes before the platform it was built on.
inline void StopLoadedGame(Zestra::HeadlessPlatform*& platform, Zestra::GameApp*& app)
{
    delete app;
    delete platform;
    app = nullptr;
    platform = nullptr;
}

} // namespace TestSupport
