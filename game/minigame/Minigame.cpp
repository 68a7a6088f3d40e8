#include "game/minigame/Minigame.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/ui/MenuHost.h"
#include "game/minigame/MinigameBonus.h"
#include "game/minigame/MinigameClothing.h"
#include "game/minigame/MinigameMannequin.h"
#include "game/minigame/MinigamePlay.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include <string>

using namespace Zestra;

namespace
{
// Layout of the screen, board pixels (text positions are baselines).
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kDoneCentreX = 400;
constexpr int kDoneTop = 525;
constexpr int kWindowsY = 64;
constexpr int kPopupAlpha = 155;
constexpr int kTitleX = 400;
constexpr int kTitleY = 30;
constexpr int kTimeY = 47; // the seconds stand one line below this
// The results fill the pink band above the orange stripe: the title, the matches and the extra time side by
// side, then the bonus they earned.
constexpr int kFinalScoreY = 400;
constexpr int kMatchesLabelX = 150;
constexpr int kMatchesRight = 350;
constexpr int kExtraTimeLabelX = 430;
constexpr int kExtraTimeRight = 690;
constexpr int kLabelX = 280;
constexpr int kValueRight = 520;
constexpr int kMatchesY = 438;
constexpr int kExtraTimeY = 438;
constexpr int kBonusY = 468;
// While the results count down: when each line appears.
constexpr int kShowMatchesAt = 60;
constexpr int kShowExtraTimeAt = 30;

constexpr int kCursorArrow = 0;
constexpr int kCursorHand = 1;
constexpr int kCursorDragging = 2;
constexpr int kRightButton = 1;

const Color kWhite{255, 255, 255};

const StoreInfo* StoreOf(int storeNumber)
{
    return GetStoreInfo(storeNumber);
}

Image* BackgroundOf(int storeNumber)
{
    const StoreInfo* store = StoreOf(storeNumber);
    return store != nullptr ? store->GetImage("MinigameBackground") : nullptr;
}

void PrintCentred(Graphics& g, Font* font, const std::string& text, int centreX, int y)
{
    if (font == nullptr)
        return;
    g.SetTypeface(font);
    g.PrintText(text, centreX - font->TextWidth(text) / 2, y);
}

void PrintRight(Graphics& g, Font* font, const std::string& text, int right, int y)
{
    if (font == nullptr)
        return;
    g.SetTypeface(font);
    g.PrintText(text, right - font->TextWidth(text), y);
}

void PrintLeft(Graphics& g, Font* font, const std::string& text, int x, int y)
{
    if (font == nullptr)
        return;
    g.SetTypeface(font);
    g.PrintText(text, x, y);
}

// Draws a picture whitened to the given opacity (255 draws it as it is).
void BlitFaded(Graphics& g, Image* image, int x, int y, int alpha)
{
    if (image == nullptr)
        return;
    if (alpha >= 255)
    {
        g.Blit(image, x, y);
        return;
    }
    bool oldTint = g.GetTintImages();
    Color oldInk = g.GetInk();
    g.SetTintImages(true);
    g.SetInk(Color(255, 255, 255, alpha));
    g.Blit(image, x, y);
    g.SetTintImages(oldTint);
    g.SetInk(oldInk);
}

std::string WholeSecondsLeft(int ticks)
{
    return std::to_string((ticks + 99) / 100);
}
} // namespace

Minigame::Minigame(Board* board, int storeNumber, int levelIndex)
    : Menu(board, BackgroundOf(storeNumber), false, false, true), storeNumber(storeNumber), levelIndex(levelIndex)
{
    // A missing background still leaves a full screen to play on.
    if (mWidth == 0 || mHeight == 0)
        SetBounds(0, 0, kScreenWidth, kScreenHeight);
    const StoreInfo* store = StoreOf(storeNumber);
    const LevelInfo* level = store != nullptr ? store->GetLevel(levelIndex) : nullptr;
    if (level != nullptr && level->isMinigame)
    {
        info = level;
        play = std::make_unique<MinigamePlay>(*level, store->minigameClothing);
    }
    doneButton = AddMenuButton(GetText("minigame_done"), kDoneCentreX, kDoneTop);
    doneButton->SetShown(false);
}

Minigame::~Minigame()
{
    if (board != nullptr)
        board->ForgetMinigame(this);
}

void Minigame::StartStage()
{
    if (!play)
    {
        // Nothing to play: straight to the results, where done ends the day.
        doneButton->SetShown(true);
        return;
    }
    if (MenuHost* host = Host())
        play->music = host->Music();
    play->StartStage();
    doneButton->SetShown(false);
}

void Minigame::Tick()
{
    if (AnimationsPaused())
        return;
    Menu::Tick();
    if (!play)
        return;
    play->Update();
    if (play->phase == MinigamePhase::Results && !doneButton->mShown)
        doneButton->SetShown(true);
    Invalidate();
}

void Minigame::Paint(Graphics& g)
{
    MinigamePhase phase = play ? play->phase : MinigamePhase::Created;
    if (phase != MinigamePhase::Created && phase != MinigamePhase::Results && AnimationsPaused())
    {
        g.SetInk(Color(0, 0, 0));
        g.FillBox(0, 0, mWidth, mHeight);
        g.SetInk(kWhite);
        PrintCentred(g, FONT_LARGE_LIGHT, GetText("paused"), mWidth / 2, mHeight / 2);
        return;
    }
    Menu::Paint(g);
    if (!play)
        return;
    if (phase == MinigamePhase::Solving || phase == MinigamePhase::Results)
    {
        Image* popup = IMAGE_MINIGAME_POPUP.get();
        if (popup != nullptr)
            BlitFaded(g, popup, 0, kScreenHeight - popup->GetHeight(), kPopupAlpha);
    }
    if (phase == MinigamePhase::Solving)
        for (auto& card : play->cards)
            card->Draw(g);
    if (play->windowAlpha < 255)
    {
        for (auto& mannequin : play->mannequins)
            mannequin->Draw(g);
        for (auto& bonus : play->bonuses)
            bonus->Draw(g);
    }
    if (play->windowAlpha > 0)
        BlitFaded(g, IMAGE_MINIGAME_WINDOWS.get(), 0, kWindowsY, play->windowAlpha);
    if (play->draggedCard)
        play->draggedCard->Draw(g);
    PaintTexts(g);
}

void Minigame::PaintTexts(Graphics& g)
{
    Font* oldFont = g.GetTypeface();
    Color oldInk = g.GetInk();
    g.SetInk(kWhite);
    if (play->phase == MinigamePhase::Preview || play->phase == MinigamePhase::Solving)
    {
        PrintCentred(g, FONT_LARGE_LIGHT,
                     GetText(play->phase == MinigamePhase::Preview ? "minigame_preview" : "minigame_solving"), kTitleX,
                     kTitleY);
        if (FONT_MEDIUM_LIGHT != nullptr)
            PrintCentred(g, FONT_MEDIUM_LIGHT, WholeSecondsLeft(play->timer), kTitleX,
                         kTimeY + FONT_MEDIUM_LIGHT->LineSpacing());
    }
    if (play->phase == MinigamePhase::Results)
        PaintResults(g);
    g.SetTypeface(oldFont);
    g.SetInk(oldInk);
}

void Minigame::PaintResults(Graphics& g)
{
    PrintCentred(g, FONT_LARGE_DARK, GetText("minigame_final_score"), kTitleX, kFinalScoreY);
    if (play->timer <= kShowMatchesAt)
    {
        PrintLeft(g, FONT_MEDIUM_DARK, GetText("minigame_matches"), kMatchesLabelX, kMatchesY);
        PrintRight(g, FONT_MEDIUM_DARK, std::to_string(play->matches), kMatchesRight, kMatchesY);
    }
    if (play->timer <= kShowExtraTimeAt)
    {
        PrintLeft(g, FONT_MEDIUM_DARK, GetText("minigame_extra_time"), kExtraTimeLabelX, kExtraTimeY);
        PrintRight(g, FONT_MEDIUM_DARK, std::to_string(play->extraSeconds), kExtraTimeRight, kExtraTimeY);
    }
    if (play->timer == 0)
    {
        PrintLeft(g, FONT_MEDIUM_DARK, GetText("minigame_bonus"), kLabelX, kBonusY);
        PrintRight(g, FONT_MEDIUM_DARK, FormatMoney(play->score), kValueRight, kBonusY);
    }
}

void Minigame::UpdateCursor(int x, int y)
{
    if (play && play->draggedCard)
        SetAppCursor(*this, kCursorDragging);
    else if (play && play->phase == MinigamePhase::Solving && play->CardAt(x, y) != nullptr)
        SetAppCursor(*this, kCursorHand);
    else
        SetAppCursor(*this, kCursorArrow);
}

void Minigame::OnMouseMove(int x, int y)
{
    Menu::OnMouseMove(x, y);
    if (play && play->phase == MinigamePhase::Solving)
        UpdateCursor(x + mX, y + mY);
}

void Minigame::OnMouseDown(int x, int y, int button, int clickCount)
{
    Menu::OnMouseDown(x, y, button, clickCount);
    if (!play || play->phase != MinigamePhase::Solving || button == kRightButton)
        return;
    if (play->Grab(x + mX, y + mY))
    {
        SetAppCursor(*this, kCursorDragging);
        Invalidate();
    }
}

void Minigame::OnMouseDrag(int x, int y)
{
    Menu::OnMouseDrag(x, y);
    if (!play || !play->draggedCard)
        return;
    play->Drag(x + mX, y + mY);
    SetAppCursor(*this, kCursorDragging);
    Invalidate();
}

void Minigame::OnMouseUp(int x, int y, int button, int clickCount)
{
    Menu::OnMouseUp(x, y, button, clickCount);
    if (!play || !play->draggedCard)
        return;
    play->Drop();
    if (play->phase == MinigamePhase::Results)
        doneButton->SetShown(true);
    UpdateCursor(x + mX, y + mY);
    Invalidate();
}

void Minigame::ButtonPressed(int id)
{
    if (id != doneButton->mButtonId || !doneButton->mShown)
        return;
    doneButton->SetShown(false);
    if (play && board != nullptr)
    {
        board->AddBonusMoney(play->score);
        PlayEvent stage;
        stage.kind = PlayEventKind::MemoryStage;
        stage.stage = play->stage;
        stage.matches = play->matches;
        stage.misses = play->misses;
        stage.needed = play->needed;
        board->Feed(stage);
    }
    if (play && play->EarnsSecondStage())
    {
        StartStage();
        return;
    }
    // The day ends with the menu still open (its deletion waits for the loop), but the board is done with it.
    if (board != nullptr)
        board->ForgetMinigame(this);
    if (board != nullptr)
        board->EndLevel();
    Close();
}
