#include "game/diag/Diagnostics.h"

#include "framework/platform/Platform.h"
#include "game/app/GameApp.h"
#include "game/diag/PlayerBot.h"
#include "game/shopday/Board.h"

#include <chrono>
#include <cstdio>

namespace
{
long long WallMs()
{
    // Real time on purpose: the figure says how long the run took, whatever clock the game itself runs on.
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

Diagnostics::Diagnostics(Zestra::GameApp& app) : mApp(app)
{
    mApp.onDayStarted = [this] { OnDayStarted(); };
    mApp.onUpdate = [this] { OnUpdate(); };
    mApp.onLevelEnded = [this] { OnLevelEnded(); };
    mStartMs = WallMs();
}

Diagnostics::~Diagnostics()
{
    mApp.onDayStarted = nullptr;
    mApp.onUpdate = nullptr;
    mApp.onLevelEnded = nullptr;
}

void Diagnostics::OnDayStarted()
{
    mStartMs = WallMs();
    if (mApp.options.autoplay && mApp.GetBoard() != nullptr)
        mBot = std::make_unique<PlayerBot>(*mApp.GetBoard(),
                                           [this](const Zestra::PlatformEvent& event) { mApp.QueuePlatformEvent(event); });
}

void Diagnostics::OnUpdate()
{
    // The upgrade shop comes before the day starts: the player is there for it too.
    if (!mBot && mApp.options.autoplay && mApp.GetBoard() != nullptr &&
        mApp.GetBoard()->mode == BoardMode::UpgradeShop)
        OnDayStarted();
    if (mBot)
        mBot->Update();
}

std::string Diagnostics::DayReport(const Zestra::Board& board, int ticks, long long wallMs)
{
    static const char* const kResults[] = {"failed", "passed", "expert"};
    const char* result = board.levelResult >= 0 && board.levelResult <= 2 ? kResults[board.levelResult] : "failed";
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\"store\":%d,\"level\":%d,\"result\":\"%s\",\"money\":%.2f,\"cash\":%.2f,\"tips\":%.2f,"
                  "\"goal\":%.2f,\"expert_goal\":%.2f,\"lost_customers\":%d,\"customers_served\":%d,\"lives\":%d,"
                  "\"run_total\":%d,\"ticks\":%d,\"wall_ms\":%lld}",
                  board.storePlayed, board.levelPlayed, result, board.levelMoney, board.cash, board.tips, board.goal,
                  board.expertGoal, board.lostCustomers, board.customersServed, board.runLives, board.runTotal, ticks,
                  wallMs);
    return text;
}

void Diagnostics::OnLevelEnded()
{
    mBot.reset();
    if (!mApp.options.quitAfterLevel || mApp.GetBoard() == nullptr)
        return;
    std::string line = DayReport(*mApp.GetBoard(), mApp.LevelTicks(), WallMs() - mStartMs);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    const Zestra::GameApp::Timing& timing = mApp.DayTiming();
    double total = timing.update + timing.draw + timing.present;
    if (total > 0)
        std::fprintf(stderr, "time shares: update %.1f%%, draw %.1f%%, present %.1f%% of %.3f s\n",
                     100 * timing.update / total, 100 * timing.draw / total, 100 * timing.present / total, total);
    mApp.ExitWithCode(0);
}
