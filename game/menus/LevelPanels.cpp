#include "game/menus/LevelPanels.h"

#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/Money.h"

namespace
{
// Result panel layout: the normal panel and the rival panel place the title and the button row differently.
constexpr int kTitleX = 485;
constexpr int kTitleY = 175;
constexpr int kRivalTitleX = 310;
constexpr int kRivalTitleY = 78;
constexpr int kRowCentreX = 502;
constexpr int kRowY = 430;
constexpr int kRivalRowCentreX = 481;
constexpr int kRivalRowY = 346; // between the rival's picture and the heroine's speech box
} // namespace

std::string LevelStartTitle(const LevelText& text, bool minigame)
{
    return minigame ? GetText("minigame") : text.month;
}

std::string LevelStartBody(const LevelText& text, const LevelInfo* level, bool minigame, double practiceMoney)
{
    std::string body = text.GetText("begin");
    if (minigame)
        return body;
    int minGoal = level != nullptr ? level->minGoal : 0;
    int expertGoal = level != nullptr ? level->expertGoal : 0;
    body += "\n\n" + GetText("level_goal") + FormatMoney(minGoal) + "\n" + GetText("level_expert_goal") +
            FormatMoney(expertGoal);
    // The lesson's takings vanish from the HUD when the day is set up: say so, with the amount.
    if (practiceMoney > 0.0)
        body += "\n\n" + GetText("practice_money_kept") + FormatMoneyWithCents(practiceMoney) + "\n" +
                GetText("practice_money_end");
    return body;
}

ResultForm MakeResultForm(LevelResult kind, bool more, const LevelText& text, const ResultFigures& figures)
{
    ResultForm form;
    bool passed = kind != LevelResult::Failed;
    form.rival = passed && !text.GetText("dorviecomplete").empty();
    form.background = !passed ? ResultBackground::Fail
                              : (form.rival ? ResultBackground::Rival : ResultBackground::Complete);
    form.titleX = form.rival ? kRivalTitleX : kTitleX;
    form.titleY = form.rival ? kRivalTitleY : kTitleY;
    form.rowCentreX = form.rival ? kRivalRowCentreX : kRowCentreX;
    form.rowY = form.rival ? kRivalRowY : kRowY;
    form.twoButtons = more;
    if (more)
    {
        form.okKey = passed ? "level_complete_ok" : "level_fail_ok";
        form.style = form.rival ? ResultButtonStyle::Straight : ResultButtonStyle::Level;
    }
    else
    {
        form.okKey = "level_complete_continue";
        form.style = form.rival ? ResultButtonStyle::Straight : ResultButtonStyle::Large;
    }
    switch (kind)
    {
    case LevelResult::Failed:
        form.titleKey = "level_fail_title";
        break;
    case LevelResult::Passed:
        form.titleKey = "level_complete";
        break;
    case LevelResult::Expert:
        form.titleKey = "level_expert_complete";
        break;
    }

    // The takings are the sum of the two rows above them, as the books keep them.
    form.figures = {
        {GetText("cash"), FormatMoneyWithCents(figures.sales), false},
        {GetText("tips"), FormatMoneyWithCents(figures.tips), false},
        {GetText("takings"), FormatMoneyWithCents(AddMoney(figures.sales, figures.tips)), true},
        {GetText("lost_customers"), std::to_string(figures.lostCustomers), false},
    };
    if (figures.cashToSpend)
        form.figures.push_back({GetText("run_cash"), FormatMoneyWithCents(*figures.cashToSpend), false});
    if (form.rival)
        return form; // the closing words are in the two speech bubbles
    if (passed)
        form.body += text.GetText("complete");
    else if (more)
        form.body += text.GetText("fail");
    else
    {
        form.body += GetText("level_fail_game_over_msg");
        form.titleKey = "level_fail_game_over";
    }
    return form;
}

ResultRoute RouteAfterResult(bool toMainMenu, std::optional<int> highScoreRank, bool storeCompleted, int storePlayed,
                             bool runLeft)
{
    if (toMainMenu)
        return ResultRoute::MainMenu;
    if (!highScoreRank)
        return ResultRoute::Map;
    if (storeCompleted && (storePlayed == 1 || !runLeft))
        return ResultRoute::Comic;
    return ResultRoute::HighScores;
}
