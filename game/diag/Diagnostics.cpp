#include "game/diag/Diagnostics.h"

#include "framework/log/Log.h"
#include "framework/platform/Platform.h"
#include "game/app/GameApp.h"
#include "game/diag/MouseDriver.h"
#include "game/diag/PanelPlayer.h"
#include "game/diag/PlayerBot.h"
#include "game/diag/ProcessFigures.h"
#include "game/data/LevelStats.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/MainMenu.h"
#include "game/profile/Achievements.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileTable.h"
#include "game/shopday/Board.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace
{
void PrintFigures(const char* when)
{
    std::fprintf(stderr, "%s\n", FormatProcessFigures(when, ReadProcessFigures()).c_str());
    std::fflush(stderr);
}

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
    mApp.onEventHandled = [this](const Zestra::PlatformEvent& event)
    {
        if (mDriver)
            mDriver->Observe(event);
    };
    mStartMs = WallMs();
    mRunStartMs = mStartMs;
}

Diagnostics::~Diagnostics()
{
    mApp.onDayStarted = nullptr;
    mApp.onUpdate = nullptr;
    mApp.onLevelEnded = nullptr;
    mApp.onEventHandled = nullptr;
}

void Diagnostics::FileCloser::operator()(std::FILE* file) const
{
    std::fclose(file);
}

std::function<void(const Zestra::PlatformEvent&)> Diagnostics::EventSink()
{
    return [this](const Zestra::PlatformEvent& event)
    {
        if (mDriver)
            mDriver->Offer(event);
        else
            mApp.QueuePlatformEvent(event);
    };
}

bool Diagnostics::StartDriver()
{
    if (mDriver)
        return true;
    std::FILE* out = stdout;
    if (mApp.options.drive != "-")
    {
        // A named pipe blocks here until the script opens its end: nothing is played before it listens.
        mDriveFile.reset(std::fopen(mApp.options.drive.c_str(), "w"));
        if (!mDriveFile)
        {
            Zestra::Log("velmora: cannot open the -drive file " + mApp.options.drive);
            mApp.ExitWithCode(1);
            return false;
        }
        out = mDriveFile.get();
    }
    mDriveOut = [out](const std::string& line)
    {
        std::fprintf(out, "%s\n", line.c_str());
        std::fflush(out);
    };
    mDriver = std::make_unique<MouseDriver>(mDriveOut);
    return true;
}

bool Diagnostics::IdlesNow() const
{
    const Zestra::Board* board = mApp.GetBoard();
    return !mIdled && mApp.options.idleStore > 0 && board != nullptr && board->Mode() == BoardMode::Level &&
           board->DayMinigame() == nullptr && board->run.Progress() != nullptr &&
           board->run.Progress()->storeNumber == mApp.options.idleStore &&
           board->run.Progress()->levelIndex == mApp.options.idleLevel;
}

void Diagnostics::OnDayStarted()
{
    mStartMs = WallMs();
    if (mApp.options.autoplay && mApp.GetBoard() != nullptr)
        mBot = std::make_unique<PlayerBot>(*mApp.GetBoard(), EventSink(),
                                           mApp.options.novice ? PlayerBot::Style::Novice : PlayerBot::Style::Strong,
                                           mApp.Config().mRandSeed);
}

bool Diagnostics::PlaysRun() const
{
    return mApp.options.autoplay && !mApp.options.levelGiven && mApp.options.screen.empty();
}

void Diagnostics::OnUpdate()
{
    if (mApp.options.autoplay && !mApp.options.drive.empty() && !StartDriver())
        return;
    // The upgrade shop, a lesson and the memory game come before the day starts: the player is there for them too.
    const Zestra::Board* board = mApp.GetBoard();
    if (!mBot && mApp.options.autoplay && board != nullptr &&
        (board->Mode() == BoardMode::UpgradeShop || (board->Mode() == BoardMode::Tutorial && board->lesson) ||
         board->DayMinigame() != nullptr))
        OnDayStarted();
    if (PlaysRun() && !mPanels)
        mPanels = std::make_unique<PanelPlayer>(mApp, EventSink());
    if (mRunOver)
    {
        FinishRunWhenShown();
        if (mApp.mQuitting)
            return;
    }
    if (mDriver)
    {
        const int step = board != nullptr && board->lesson != nullptr ? board->lesson->Step() : -1;
        if (step != mLessonStep)
            mDriveOut(step >= 0 ? "lesson step " + std::to_string(step) : std::string("lesson end"));
        mLessonStep = step;
        mDriver->Update();
        // Nothing new is decided while a click is still on its way.
        if (mDriver->Busy())
            return;
    }
    if (mPanelDue && !mApp.OpenMenus().empty())
        if (auto* result = dynamic_cast<const LevelCompleteMenu*>(mApp.OpenMenus().back()))
        {
            mPanelDue = false;
            std::printf("%s\n", PanelReport(result->form.figures).c_str());
            std::fflush(stdout);
        }
    if (mPanels)
        mPanels->Update();
    if (mBot && !IdlesNow())
        mBot->Update();
}

std::string Diagnostics::PanelReport(const std::vector<FigureRow>& rows)
{
    auto quoted = [](const std::string& text)
    {
        std::string out = "\"";
        for (char c : text)
        {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        return out + "\"";
    };
    std::string text = "{\"panel\":[";
    for (size_t i = 0; i < rows.size(); ++i)
        text += (i > 0 ? ",[" : "[") + quoted(rows[i].label) + "," + quoted(rows[i].value) + "]";
    return text + "]}";
}

std::string Diagnostics::RunReport(const RunTally& tally, long long wallMs)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"run\":\"%s\",\"stores_done\":%d,\"days_played\":%d,\"days_passed\":%d,\"score\":%.0f,"
                  "\"wall_ms\":%lld}",
                  tally.complete ? "complete" : "lost", tally.storesDone, tally.daysPlayed, tally.daysPassed, tally.score,
                  wallMs);
    return text;
}

void Diagnostics::FinishRunWhenShown()
{
    // The last store ends on the credits, after its comic and the scores; a lost run on the main menu, after the
    // result panel and the scores.
    const auto& open = mApp.OpenMenus();
    Menu* top = open.empty() ? nullptr : open.back();
    bool shown = mTally.complete ? dynamic_cast<CreditsMenu*>(top) != nullptr : dynamic_cast<MainMenu*>(top) != nullptr;
    if (!shown)
        return;
    // What the player's profile earned over the run, each with its day: the same seed must earn the same.
    std::string earned;
    if (const Profile* player = GetProfile(GetSelectedProfile()); player != nullptr && !player->IsFree())
        for (const AchievementInfo& info : AchievementTable())
            if (const auto found = player->achievements.find(info.id); found != player->achievements.end())
                earned += (earned.empty() ? "\"" : ",\"") + found->first + "\":" + std::to_string(found->second);
    std::printf("{\"achievements\":{%s}}\n", earned.c_str());
    std::printf("%s\n", RunReport(mTally, WallMs() - mRunStartMs).c_str());
    std::fflush(stdout);
    if (mApp.options.memStats)
        PrintFigures("run_end");
    // The ordinary shutdown, not a quick exit: it writes the profiles and shows whether anything is left behind.
    mApp.Quit();
}

std::string Diagnostics::DayReport(const Zestra::Board& board, int ticks, long long wallMs)
{
    const char* result = board.lastDay.levelResult == DayResult::Expert   ? "expert"
                         : board.lastDay.levelResult == DayResult::Passed ? "passed"
                                                                  : "failed";
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\"store\":%d,\"level\":%d,\"result\":\"%s\",\"money\":%.2f,\"cash\":%.2f,\"tips\":%.2f,"
                  "\"goal\":%.2f,\"expert_goal\":%.2f,\"lost_customers\":%d,\"customers_served\":%d,\"lives\":%d,"
                  "\"run_total\":%d,\"ticks\":%d,\"wall_ms\":%lld}",
                  board.lastDay.storePlayed, board.lastDay.levelPlayed, result, board.lastDay.levelMoney, board.day.cash, board.day.tips,
                  board.day.goal, board.day.expertGoal, board.day.lostCustomers, board.day.customersServed,
                  board.lastDay.runLives, board.lastDay.runTotal, ticks, wallMs);
    return text;
}

void Diagnostics::OnLevelEnded()
{
    mBot.reset();
    const Zestra::Board* board = mApp.GetBoard();
    if (board != nullptr && board->lastDay.storePlayed == mApp.options.idleStore &&
        board->lastDay.levelPlayed == mApp.options.idleLevel)
        mIdled = true;
    if (PlaysRun() && board != nullptr && !mRunOver)
    {
        std::printf("%s\n", DayReport(*board, mApp.LevelTicks(), WallMs() - mStartMs).c_str());
        std::fflush(stdout);
        mPanelDue = mApp.options.panels;
        mTally.daysPlayed += 1;
        if (mTally.daysPlayed == 1 && mApp.options.memStats)
            PrintFigures("first_day");
        mTally.daysPassed += IsPassed(board->lastDay.levelResult) ? 1 : 0;
        const bool lost = !board->lastDay.storeCompleted && board->run.Saved() == nullptr;
        if (board->lastDay.storeCompleted || lost)
        {
            // A store's run is over: its final total counts, and the next store follows unless it was the last.
            mTally.storesDone += board->lastDay.storeCompleted ? 1 : 0;
            mTally.score += board->lastDay.runTotal;
            mTally.complete = board->lastDay.storeCompleted && board->lastDay.storePlayed >= PlayableStoreCount();
            mRunOver = lost || mTally.complete;
        }
        return;
    }
    if (!mApp.options.quitAfterLevel || board == nullptr)
        return;
    std::string line = DayReport(*board, mApp.LevelTicks(), WallMs() - mStartMs);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    const Zestra::GameApp::Timing& timing = mApp.DayTiming();
    double total = timing.update + timing.draw + timing.present;
    if (total > 0)
        Zestra::LogFormat("time shares: update %.1f%%, draw %.1f%%, present %.1f%% of %.3f s\n",
                     100 * timing.update / total, 100 * timing.draw / total, 100 * timing.present / total, total);
    mApp.ExitWithCode(0);
}
