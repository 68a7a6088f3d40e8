// Browsing, blinking and drawing of the high-score tables.
#include "game/menus/HighScoresMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/TextInBox.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/ui/Button.h"
#include "game/ui/MenuHost.h"

#include <algorithm>

using namespace Zestra;

namespace
{
constexpr int kBrowseTableTop = 170;
constexpr int kResultTableTop = 190;
constexpr int kPreviousCentreX = 150;
constexpr int kNextCentreX = 650;
constexpr int kButtonsTop = 500;
constexpr int kTitleX = 396;
constexpr int kTitleY = 31;
constexpr int kPopupX = 359;
constexpr int kPopupY = 100;
constexpr int kTextCentreX = 546;
constexpr int kFinalScoreBaseline = 149;
constexpr int kFirstRowDrop = 35; // from the table's heading to the first row
constexpr int kRowStep = 25; // the names' font spacing, so rows keep apart
constexpr int kNameX = 396;
constexpr int kScoreRight = 696;
constexpr int kNameGap = 12;
constexpr int kBackgroundCount = 5;
// Above the menu's own controls, so the fade covers the whole screen as it was.
constexpr int kFadeOverlayPriority = 1000;

Image* Background(int storeNumber)
{
    ResImage* images[kBackgroundCount] = {&IMAGE_MENU_BACKGROUND_1, &IMAGE_MENU_BACKGROUND_2, &IMAGE_MENU_BACKGROUND_3,
                                          &IMAGE_MENU_BACKGROUND_4, &IMAGE_MENU_BACKGROUND_5};
    // Stores past the fifth reuse the last picture.
    int index = std::clamp(storeNumber, 1, kBackgroundCount) - 1;
    return images[index]->get();
}

void PrintCentred(Graphics& g, Font* font, const std::string& text, int centreX, int baseline)
{
    g.PrintText(text, centreX - font->TextWidth(text) / 2, baseline);
}
} // namespace

HighScoresMenu::HighScoresMenu(Board* board) : InfoMenu(board, Background(1)), tableTop(kBrowseTableTop)
{
    previousButton = AddMenuButton(GetText("highscore_prev"), kPreviousCentreX, kButtonsTop, kPrevious);
    nextButton = AddMenuButton(GetText("highscore_next"), kNextCentreX, kButtonsTop, kNext);
}

HighScoresMenu::HighScoresMenu(Board* board, int storeNumber, int runTotal, int row, bool fromResult)
    : InfoMenu(board, Background(storeNumber)), storeNumber(storeNumber), fromResult(fromResult), highlightedRow(row),
      tableTop(kResultTableTop), fade(kFadeUpdates)
{
    if (fromResult)
    {
        final = storeNumber == PlayableStoreCount();
        backButton->mCaption = GetText(final ? "highscore_final" : "highscore_continue");
    }
    finalScoreText = GetText("final_score") + std::to_string(runTotal);
}

void HighScoresMenu::OnAttachedToManager(WidgetManager* manager)
{
    if (fade > 0 && !snapshot)
    {
        // The screen as it was before this menu: hidden while the picture is taken.
        bool shown = mShown;
        mShown = false;
        TakeSnapshot();
        mShown = shown;
        if (MenuHost* host = Host())
            host->PlaySongAlone(MainMenuSong());
    }
    InfoMenu::OnAttachedToManager(manager);
}

void HighScoresMenu::ShowStore(int number)
{
    number = std::clamp(number, 1, std::max(1, PlayableStoreCount()));
    if (number == storeNumber)
        return;
    storeNumber = number;
    mSkinImage = Background(storeNumber);
    Invalidate();
}

void HighScoresMenu::ButtonPressed(int id)
{
    switch (id)
    {
    case kPrevious:
        ShowStore(storeNumber - 1);
        break;
    case kNext:
        ShowStore(storeNumber + 1);
        break;
    default:
        InfoMenu::ButtonPressed(id);
    }
}

void HighScoresMenu::OnBack()
{
    Close();
    if (board == nullptr)
        return;
    if (final)
        board->flow->ShowCredits();
    else if (fromResult)
        board->flow->ShowMap();
    else
        board->flow->ShowMainMenu();
}

void HighScoresMenu::Tick()
{
    InfoMenu::Tick();
    if (highlightedRow >= 0)
    {
        bool wasShown = HighlightShown();
        blinkCounter = (blinkCounter + 1) % kBlinkPeriod;
        if (wasShown != HighlightShown())
            Invalidate();
    }
    if (fade > 0)
    {
        fade--;
        Invalidate();
    }
}

void HighScoresMenu::Paint(Graphics& g)
{
    InfoMenu::Paint(g);
    if (fade > 0 && snapshot)
        DeferOverlay(kFadeOverlayPriority);
}

void HighScoresMenu::PaintOverlay(Graphics& g, int)
{
    if (fade <= 0 || !snapshot)
        return;
    Graphics faded(g);
    faded.SetTintImages(true);
    faded.SetInk(Color(255, 255, 255, fade * 255 / kFadeUpdates));
    faded.Blit(snapshot.get(), 0, 0);
}

void HighScoresMenu::DrawContent(Graphics& g)
{
    DrawBannerWithTitle(g, IMAGE_MENU_HIGH_SCORE_TITLE.get(), kTitleX, kTitleY, GetText("high_scores_title"));
    if (IMAGE_MENU_HIGH_SCORE_POPUP)
        g.Blit(IMAGE_MENU_HIGH_SCORE_POPUP.get(), kPopupX, kPopupY);
    Font* font = FONT_MEDIUM_LIGHT;
    if (font == nullptr)
        return;
    g.SetTypeface(font);
    g.SetInk(Color::White);
    if (!finalScoreText.empty())
        PrintCentred(g, font, finalScoreText, kTextCentreX, kFinalScoreBaseline);
    PrintCentred(g, font, GetText("high_score_for") + GetText("store" + std::to_string(storeNumber)), kTextCentreX,
                 tableTop);
    const HighScoreTable* table = GetHighScoreTable(storeNumber);
    if (table == nullptr)
        return;
    for (size_t i = 0; i < table->entries.size(); i++)
    {
        if (int(i) == highlightedRow && !HighlightShown())
            continue;
        const HighScoreEntry& entry = table->entries[i];
        int baseline = tableTop + kFirstRowDrop + kRowStep * int(i);
        std::string score = std::to_string(entry.score);
        int scoreX = kScoreRight - font->TextWidth(score);
        // A name from an edited file may be longer than any typed one: it stops short of the score.
        Graphics name(g);
        name.RestrictClip(kNameX, baseline - font->Ascent(), std::max(0, scoreX - kNameGap - kNameX), font->Height());
        name.PrintText(entry.name, kNameX, baseline);
        g.PrintText(score, scoreX, baseline);
    }
}
