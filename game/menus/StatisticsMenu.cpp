// Rows, layout and drawing of the statistics screen.
#include "game/menus/StatisticsMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/AchievementsMenu.h"
#include "game/menus/TextInBox.h"
#include "game/profile/Achievements.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/ui/MenuHost.h"

#include <algorithm>
#include <memory>

using namespace Zestra;

namespace
{
constexpr int kTitleX = 250;
constexpr int kTitleY = 14;
constexpr int kPanelLeft = 110;
constexpr int kPanelTop = 96;
constexpr int kPanelWidth = 580;
constexpr int kPanelBottom = 490;
constexpr int kRowsTop = 104;
constexpr int kRowHeight = 26;
constexpr int kLabelLeft = 130;
constexpr int kLabelWidth = 350;
constexpr int kValueWidth = 180;
constexpr int kValueRight = 670;
constexpr int kLinkRight = 770;
constexpr int kLinkTop = 60;
const Color kPanel{59, 36, 64, 228};
const Color kLabelInk{255, 255, 255};
const Color kValueInk{244, 180, 60};

void DrawInBox(Graphics& g, const std::string& text, const Rect& box, int justify, const Color& ink)
{
    TextFit fit = FitTextInBox(text, box, {FONT_MEDIUM_LIGHT, FONT_SMALL});
    if (fit.font == nullptr || text.empty())
        return;
    Graphics inside(g);
    inside.RestrictClip(box);
    inside.SetTypeface(fit.font);
    inside.SetInk(ink);
    const int top = box.mY + std::max(0, box.mHeight - fit.height) / 2;
    inside.PrintWrapped(Rect(box.mX, top, box.mWidth, box.mHeight), text, -1, justify);
}
} // namespace

std::string PlayedTimeText(long long ticks)
{
    const long long seconds = std::max(0LL, ticks) / 100;
    const long long minutes = seconds / 60 % 60;
    const long long rest = seconds % 60;
    return std::to_string(seconds / 3600) + ":" + (minutes < 10 ? "0" : "") + std::to_string(minutes) + ":" +
           (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::vector<std::pair<std::string, std::string>> StatisticsRows(const PlayerStats& stats, int storeCount)
{
    std::vector<std::pair<std::string, std::string>> rows = {
        {GetText("statistics_served"), std::to_string(stats.customersServed)},
        {GetText("statistics_lost"), std::to_string(stats.customersLost)},
        {GetText("statistics_money"), FormatMoney(stats.money)},
        {GetText("statistics_tips"), FormatMoney(stats.tips)},
        {GetText("statistics_days"), std::to_string(stats.daysPlayed)},
        {GetText("statistics_passed"), std::to_string(stats.daysPassed)},
        {GetText("statistics_expert"), std::to_string(stats.daysExpert)},
        {GetText("statistics_memory_best"), FormatMoney(stats.memoryBest)},
        {GetText("statistics_time"), PlayedTimeText(stats.timeTicks)},
    };
    for (int store = 1; store <= storeCount; ++store)
    {
        const auto best = stats.bestDay.find(store);
        rows.emplace_back(GetText("statistics_best_day") + GetText("store" + std::to_string(store)),
                          best != stats.bestDay.end() ? FormatMoney(best->second) : std::string("-"));
    }
    return rows;
}

StatisticsMenu::StatisticsMenu(Board* board) : InfoMenu(board, IMAGE_MENU_BACKGROUND_3.get())
{
    const Profile* profile = GetProfile(GetSelectedProfile());
    const PlayerStats stats = profile != nullptr && !profile->IsFree() ? profile->stats : PlayerStats{};
    rows = StatisticsRows(stats, PlayableStoreCount());

    trophiesLink = AddCornerLink(kTrophies, GetText("statistics_trophies"), kLinkRight, kLinkTop);
}

Rect StatisticsMenu::LabelBox(int row)
{
    return {kLabelLeft, kRowsTop + row * kRowHeight, kLabelWidth, kRowHeight};
}

Rect StatisticsMenu::ValueBox(int row)
{
    return {kValueRight - kValueWidth, kRowsTop + row * kRowHeight, kValueWidth, kRowHeight};
}

void StatisticsMenu::ButtonPressed(int id)
{
    if (id != kTrophies)
    {
        InfoMenu::ButtonPressed(id);
        return;
    }
    MenuHost* host = Host();
    Close();
    if (host != nullptr)
        host->AddMenu(std::make_unique<AchievementsMenu>(board));
}

void StatisticsMenu::DrawContent(Graphics& g)
{
    DrawBannerWithTitle(g, IMAGE_MENU_HIGH_SCORE_TITLE.get(), kTitleX, kTitleY, GetText("statistics_title"));
    g.SetInk(kPanel);
    g.FillBox(kPanelLeft, kPanelTop, kPanelWidth, kPanelBottom - kPanelTop);
    for (size_t i = 0; i < rows.size(); ++i)
    {
        DrawInBox(g, rows[i].first, LabelBox(int(i)), -1, kLabelInk);
        DrawInBox(g, rows[i].second, ValueBox(int(i)), 1, kValueInk);
    }
}
