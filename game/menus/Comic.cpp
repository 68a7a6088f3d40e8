// Fade and continuation of a comic page.
#include "game/menus/Comic.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/KeyCodes.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/TextInBox.h"
#include "game/ui/MenuHost.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include <memory>

using namespace Zestra;

namespace
{
constexpr int kCursorHand = 1;
const Color kPromptInk{96, 48, 112}; // the captions' purple, readable on the page's cream
constexpr int kFadeOverlayPriority = 1000;
// The page is a grid of 2 x 2 panels; each has a dark caption box along its top, left empty by the artist.
constexpr int kPanelLeft = 20;
constexpr int kPanelTop = 20;
constexpr int kPanelStepX = 390;
constexpr int kPanelStepY = 290;
constexpr int kPanelGap = 20; // between a panel's frame and the next one's
constexpr int kCaptionInsetX = 10;
constexpr int kCaptionInsetY = 10;
constexpr int kCaptionWidth = 350;
constexpr int kCaptionHeight = 34;
constexpr int kCaptionPadding = 6;
} // namespace

std::string Comic::CaptionKey(int page, int panel)
{
    return "comic" + std::to_string(page) + "_panel" + std::to_string(panel + 1);
}

Rect Comic::CaptionBox(int panel)
{
    const int x = kPanelLeft + (panel % 2) * kPanelStepX + kCaptionInsetX + kCaptionPadding;
    const int y = kPanelTop + (panel / 2) * kPanelStepY + kCaptionInsetY + 1;
    return Rect(x, y, kCaptionWidth - 2 * kCaptionPadding, kCaptionHeight - 2);
}

Comic::Comic(Board* board, bool first)
    : Menu(board, first ? IMAGE_MENU_COMIC1.get() : IMAGE_MENU_COMIC2.get(), false, false, true),
      kind(first ? kToMap : kToLevel), page(first ? 1 : 2)
{
}

Comic::Comic(Board* board, int storeNumber, int runTotal, int highScoreRow)
    : Menu(board, storeNumber == 1 ? IMAGE_MENU_COMIC3.get() : IMAGE_MENU_COMIC4.get(), false, false, true),
      kind(kToHighScores), page(storeNumber == 1 ? 3 : 4), storeNumber(storeNumber), runTotal(runTotal),
      highScoreRow(highScoreRow)
{
}

void Comic::OnAttachedToManager(WidgetManager* manager)
{
    if (!snapshot)
    {
        // The screen before the page, hidden from the picture, is what the page fades in from.
        bool shown = mShown;
        mShown = false;
        TakeSnapshot();
        mShown = shown;
        MenuHost* host = Host();
        if (kind == kToHighScores && host != nullptr)
            host->PlaySongAlone(MainMenuSong());
    }
    Menu::OnAttachedToManager(manager);
}

bool Comic::Continue()
{
    if (!FadeDone())
        return false;
    MenuHost* host = Host();
    switch (kind)
    {
    case kToMap:
        if (board != nullptr)
            board->flow->ShowMap();
        break;
    case kToLevel:
        if (board != nullptr)
            board->flow->PrepareLevel();
        break;
    default:
        if (host != nullptr)
            host->AddMenu(std::make_unique<HighScoresMenu>(board, storeNumber, runTotal, highScoreRow, true));
        break;
    }
    Close();
    return true;
}

void Comic::Tick()
{
    Menu::Tick();
    if (fade < 0)
        return;
    fade--;
    Invalidate();
    if (fade < 0)
        SetAppCursor(*this, kCursorHand);
}

void Comic::Paint(Graphics& g)
{
    Menu::Paint(g);
    // One font for the whole page, the larger one when every caption fits it.
    Font* captionFont = nullptr;
    for (Font* font : {FONT_MEDIUM_LIGHT, FONT_SMALL})
    {
        if (font == nullptr)
            continue;
        captionFont = font;
        bool allFit = true;
        for (int panel = 0; panel < kPanels && allFit; ++panel)
            allFit = FitTextInBox(GetText(CaptionKey(page, panel)), CaptionBox(panel), {font}).fits;
        if (allFit)
            break;
    }
    for (int panel = 0; panel < kPanels; ++panel)
        DrawTextInBox(g, GetText(CaptionKey(page, panel)), CaptionBox(panel), {captionFont}, Color::White);
    // The prompt stands in the margin below the lower panels' frames.
    const std::string& prompt = GetText("comic_click_to_continue");
    const int promptTop = kPanelTop + 2 * kPanelStepY - kPanelGap + 1;
    DrawTextInBox(g, prompt, Rect(0, promptTop, mWidth, mHeight - promptTop), {FONT_MEDIUM_LIGHT, FONT_SMALL},
                  kPromptInk);
    if (fade >= 0 && snapshot)
        DeferOverlay(kFadeOverlayPriority);
}

void Comic::PaintOverlay(Graphics& g, int)
{
    if (fade < 0 || !snapshot)
        return;
    Graphics faded(g);
    faded.SetTintImages(true);
    faded.SetInk(Color(255, 255, 255, fade * 255 / kFadeUpdates));
    faded.Blit(snapshot.get(), 0, 0);
}

void Comic::OnMouseMove(int x, int y)
{
    Menu::OnMouseMove(x, y);
    if (FadeDone())
        SetAppCursor(*this, kCursorHand);
}

void Comic::OnMouseDown(int x, int y, int button, int clickCount)
{
    Menu::OnMouseDown(x, y, button, clickCount);
    if (FadeDone())
        SetAppCursor(*this, kCursorHand);
    Continue();
}

void Comic::OnKeyDown(int key)
{
    if (key == KEY_RETURN || key == KEY_SPACE || key == KEY_ESCAPE)
        Continue();
    else
        Menu::OnKeyDown(key);
}
