// What the level-start and result panels say and where leaving a result goes: the goal lines, every form of the
// result panel (retry, game over, next day, continue, the rival panel) and the routes after it.
#include "../data/DataTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/LevelPanels.h"

#include <gtest/gtest.h>

namespace
{

class LevelPanels : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    void SetUp() override
    {
        folder.Write("properties/localization.xml", R"(
<id tag="minigame" value="Memory Game"/>
<id tag="level_goal" value="Goal: "/>
<id tag="level_expert_goal" value="Expert goal: "/>
<id tag="cash" value="Sales"/>
<id tag="tips" value="Tips"/>
<id tag="takings" value="Takings"/>
<id tag="lost_customers" value="Lost customers"/>
<id tag="run_cash" value="Cash"/>
<id tag="practice_money_kept" value="Practice: "/>
<id tag="practice_money_end" value="Only practice."/>
<id tag="money_template" value="$%d"/>
<id tag="money_template_decimal" value="$%.2f"/>
<id tag="level_fail_game_over_msg" value="No chances left."/>
<store/>
<level month="March"><begin>Spring!</begin><complete>Well done.</complete><fail>Try again.</fail></level>
<level month="December"><dorviecomplete>Dorvie sulks.</dorviecomplete><complete>We won.</complete></level>
)");
        Localization reader(host);
    }
};

void ExpectRows(const std::vector<FigureRow>& got, const std::vector<FigureRow>& expected)
{
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
    {
        EXPECT_EQ(got[i].label, expected[i].label) << i;
        EXPECT_EQ(got[i].value, expected[i].value) << i;
        EXPECT_EQ(got[i].total, expected[i].total) << i;
    }
}

TEST_F(LevelPanels, TheLevelStartPanelShowsTheMonthTheStoryAndBothGoals)
{
    LevelInfo level;
    level.minGoal = 1000;
    level.expertGoal = 1500;
    const LevelText& march = GetLevelText(1, 0);
    EXPECT_EQ(LevelStartTitle(march, false), "March");
    EXPECT_EQ(LevelStartBody(march, &level, false), "Spring!\n\nGoal: $1000\nExpert goal: $1500");
    // A bonus day has no goals to reach.
    EXPECT_EQ(LevelStartTitle(march, true), "Memory Game");
    EXPECT_EQ(LevelStartBody(march, &level, true), "Spring!");
    // After a lesson the day starts without the practice money, and says so.
    EXPECT_EQ(LevelStartBody(march, &level, false, 58.5),
              "Spring!\n\nGoal: $1000\nExpert goal: $1500\n\nPractice: $58.50\nOnly practice.");
}

TEST_F(LevelPanels, EveryFormOfTheResultPanel)
{
    struct Case
    {
        LevelResult kind;
        bool more;
        int level;
        const char* title;
        bool twoButtons;
        const char* ok;
        ResultButtonStyle style;
        ResultBackground background;
        const char* closing;
    };
    const Case cases[] = {
        // A failure with lives left: retry through the map, or quit.
        {LevelResult::Failed, true, 0, "level_fail_title", true, "level_fail_ok", ResultButtonStyle::Level,
         ResultBackground::Fail, "Try again."},
        // The last life lost: the game-over title and message, one continue button.
        {LevelResult::Failed, false, 0, "level_fail_game_over", false, "level_complete_continue",
         ResultButtonStyle::Large, ResultBackground::Fail, "No chances left."},
        {LevelResult::Passed, true, 0, "level_complete", true, "level_complete_ok", ResultButtonStyle::Level,
         ResultBackground::Complete, "Well done."},
        {LevelResult::Expert, false, 0, "level_expert_complete", false, "level_complete_continue",
         ResultButtonStyle::Large, ResultBackground::Complete, "Well done."},
        // Failing the rival's day is an ordinary failure.
        {LevelResult::Failed, true, 1, "level_fail_title", true, "level_fail_ok", ResultButtonStyle::Level,
         ResultBackground::Fail, ""},
    };
    for (const Case& c : cases)
    {
        ResultFigures figures{1234.5, 56.25, 3, std::nullopt};
        if (c.more)
            figures.cashToSpend = 2000.1;
        ResultForm form = MakeResultForm(c.kind, c.more, GetLevelText(1, c.level), figures);
        SCOPED_TRACE(c.title);
        EXPECT_EQ(form.titleKey, c.title);
        EXPECT_EQ(form.twoButtons, c.twoButtons);
        EXPECT_EQ(form.okKey, c.ok);
        EXPECT_EQ(form.style, c.style);
        EXPECT_EQ(form.background, c.background);
        EXPECT_FALSE(form.rival);
        EXPECT_EQ(form.titleX, 485);
        EXPECT_EQ(form.titleY, 175);
        EXPECT_EQ(form.rowCentreX, 502);
        EXPECT_EQ(form.rowY, 430);
        std::vector<FigureRow> rows = {
            {"Sales", "$1234.50", false}, {"Tips", "$56.25", false}, {"Takings", "$1290.75", true},
            {"Lost customers", "3", false}};
        if (c.more)
            rows.push_back({"Cash", "$2000.10", false});
        ExpectRows(form.figures, rows);
        EXPECT_EQ(form.body, c.closing);
    }
}

TEST_F(LevelPanels, PassingTheRivalsDayShowsBothPortraitsAndLeavesTheBubblesTheWords)
{
    for (bool more : {true, false})
    {
        ResultForm form = MakeResultForm(LevelResult::Expert, more, GetLevelText(1, 1), {10, 0.5, 0, std::nullopt});
        EXPECT_TRUE(form.rival);
        EXPECT_EQ(form.background, ResultBackground::Rival);
        EXPECT_EQ(form.titleKey, "level_expert_complete");
        EXPECT_EQ(form.style, ResultButtonStyle::Straight);
        EXPECT_EQ(form.titleX, 310);
        EXPECT_EQ(form.titleY, 78);
        EXPECT_EQ(form.rowCentreX, 481);
        EXPECT_EQ(form.rowY, 346); // between the rival's picture and the heroine's speech box
        ExpectRows(form.figures, {{"Sales", "$10.00", false},
                                  {"Tips", "$0.50", false},
                                  {"Takings", "$10.50", true},
                                  {"Lost customers", "0", false}});
        EXPECT_EQ(form.body, "");
    }
}

TEST(ResultRoutes, QuitGoesToTheMenuARunGoingOnToTheMapAFinishedStoreToItsComic)
{
    struct Case
    {
        bool toMainMenu;
        std::optional<int> rank;
        bool storeCompleted;
        int store;
        bool runLeft;
        ResultRoute route;
    };
    const Case cases[] = {
        {true, std::nullopt, false, 1, true, ResultRoute::MainMenu},
        {true, 3, true, 1, true, ResultRoute::MainMenu},
        {false, std::nullopt, false, 2, true, ResultRoute::Map},
        {false, 4, true, 1, true, ResultRoute::Comic},         // store 1 done: its comic, then the high scores
        {false, -1, true, 5, false, ResultRoute::Comic},       // the last playable store done
        {false, 0, true, 3, true, ResultRoute::HighScores},    // a middle store: straight to its table
        {false, -1, false, 2, false, ResultRoute::HighScores}, // the run lost
    };
    for (const Case& c : cases)
        EXPECT_EQ(RouteAfterResult(c.toMainMenu, c.rank, c.storeCompleted, c.store, c.runLeft), c.route)
            << c.toMainMenu << " " << c.rank.value_or(-2) << " " << c.storeCompleted << " " << c.store;
}

} // namespace
