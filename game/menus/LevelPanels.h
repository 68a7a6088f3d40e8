// What the panels around a shop day say and where the end of a day leads: the level-start title and body, the
// result panel's form (title, body, buttons, the rival variant) and the route taken when that panel is left.
// Pure functions of the day's figures and texts, so the panels only draw what they are given.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct LevelInfo;
struct LevelText;

// Result kinds handed to the result panel.
enum class LevelResult
{
    Failed = 0,
    Passed = 1,
    Expert = 2,
};

// The level-start panel's title: the minigame's name, or the month of the level.
std::string LevelStartTitle(const LevelText& text, bool minigame);
// The level-start panel's body: the "begin" text and, for a regular level, the two goals as money. After a lesson
// (practiceMoney above 0) a last paragraph says what became of the lesson's practice money.
std::string LevelStartBody(const LevelText& text, const LevelInfo* level, bool minigame, double practiceMoney = 0.0);

// Which background the result panel is drawn on.
enum class ResultBackground
{
    Fail,
    Complete,
    Rival, // a pass of a day whose text has a "dorviecomplete" line: two portraits with speech bubbles
};

// Which button images a result button uses.
enum class ResultButtonStyle
{
    Level,    // the small level button, two side by side
    Large,    // the one wide continue button
    Straight, // the rival panel's square buttons
};

// The day's figures on the result panel.
struct ResultFigures
{
    double sales = 0.0; // sales, gift wrapping and bonuses
    double tips = 0.0;
    int lostCustomers = 0;
    std::optional<double> cashToSpend; // what the run has for the upgrade shop now; none when no shop follows
};

// One line of the result panel's table: a label on the left, its figure right-aligned.
struct FigureRow
{
    std::string label;
    std::string value;
    bool total = false; // the sum of the rows above it: a rule is drawn over it
};

struct ResultForm
{
    ResultBackground background = ResultBackground::Fail;
    bool rival = false;
    std::string titleKey;   // localized key of the title
    std::vector<FigureRow> figures; // sales and tips adding up to the day's takings, then the other figures
    std::string body;               // except on the rival panel, the day's closing words
    int titleX = 485;       // title centre, panel coordinates
    int titleY = 175;
    int rowCentreX = 502;   // centre of the button row
    int rowY = 430;         // top of the button row
    bool twoButtons = false; // OK (retry or next day) and quit; otherwise one continue button
    std::string okKey;       // label of the OK or continue button
    ResultButtonStyle style = ResultButtonStyle::Large;
};

// more: after a failure, lives are left for a retry; after a pass, the store has further levels.
ResultForm MakeResultForm(LevelResult kind, bool more, const LevelText& text, const ResultFigures& figures);

// Where leaving the result panel (or a minigame day) goes.
enum class ResultRoute
{
    MainMenu,   // the player chose quit
    Map,        // the run goes on
    Comic,      // a finished store with a comic: store 1, or the last playable store
    HighScores, // a run that ended: the high-score table of the store played
};

// highScoreRank: none when the run goes on (nothing was submitted). runLeft: a run (saved progress) remains.
ResultRoute RouteAfterResult(bool toMainMenu, std::optional<int> highScoreRank, bool storeCompleted, int storePlayed,
                             bool runLeft);
