// The program: picks the platform (SDL or the browser, or headless for automation), runs the game and returns its
// code.
#include "framework/platform/Platform.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#ifdef __EMSCRIPTEN__
#include "framework/platform/web/WebPlatform.h"
#else
#include "framework/platform/sdl/SdlPlatform.h"
#endif
#include "game/app/GameApp.h"
#include "game/diag/Diagnostics.h"
#include "game/diag/ProcessFigures.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <strings.h>

namespace
{

// The platform must exist before the application, so these two options are found before the command line is
// parsed properly (which accepts them as known options).
bool HasOption(int argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i)
        if (strcasecmp(argv[i], name) == 0)
            return true;
    return false;
}

// The value of "-name=value", or empty.
std::string OptionValue(int argc, char** argv, const char* name)
{
    const size_t length = std::char_traits<char>::length(name);
    for (int i = 1; i < argc; ++i)
        if (strncasecmp(argv[i], name, length) == 0 && argv[i][length] == '=')
            return argv[i] + length + 1;
    return std::string();
}

void PrintProcessFigures(const char* when)
{
    std::fprintf(stderr, "%s\n", FormatProcessFigures(when, ReadProcessFigures()).c_str());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char** argv)
{
    // Start-up figures count from here; the few milliseconds the loader spent before main are not ours to save.
    const auto processStart = std::chrono::steady_clock::now();
    const bool headless = HasOption(argc, argv, "-headless");
    // Read before anything starts a thread or opens a file, so the figures after shutdown compare with these.
    const bool memStats = HasOption(argc, argv, "-memstats");
    if (memStats)
        PrintProcessFigures("start");
    std::unique_ptr<Zestra::Platform> platform;
    if (headless)
    {
        platform = std::make_unique<Zestra::HeadlessPlatform>(HasOption(argc, argv, "-realtime"),
                                                              OptionValue(argc, argv, "-datafolder"));
        Zestra::HeadlessPlatform::CloseOnInterrupt();
    }
    else
    {
#ifdef __EMSCRIPTEN__
        platform = std::make_unique<Zestra::WebPlatform>();
#else
        platform = std::make_unique<Zestra::SdlPlatform>();
#endif
    }

    int exitCode = 0;
    {
        Zestra::GameApp app(*platform);
        app.SetProcessStart(processStart);
        Diagnostics diagnostics(app);
        app.Demo().mCrashReportsEnabled = true;
        app.SetCommandLine(argc, argv);
        app.Initialize();
        if (!app.mQuitting)
            app.Run();
        exitCode = app.ExitCode();
    }
    // Most fatal errors end the process through ExitWithCode; a failed load ends through the normal shutdown and
    // reports its code here.
    platform.reset();
    if (memStats)
        PrintProcessFigures("exit");
    return exitCode;
}
