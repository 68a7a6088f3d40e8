#include "game/menus/LevelCompleteMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace
{
enum ButtonId
{
    kOkButton = 1,
    kQuitButton,
};

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr double kSlideStart = -500;
constexpr double kSlideSpeed = 14;
constexpr double kSlideTarget = 0;
constexpr double kSlideOvershoot = 6; // below the target
constexpr int kExtraHeight = 500;     // below the panel, so the menu covers the screen wherever it is
constexpr int kButtonGap = 5;
constexpr int kTitleFadeStep = 2;
constexpr int kBodyWidth = 280;
constexpr int kBodyHeight = 300;
constexpr int kBodyInsetX = 8; // not on the rival panel
constexpr int kBodyInsetY = 5;
constexpr int kBodyBelowTitle = 40;      // clear of the title's banner
constexpr int kRivalBodyBelowTitle = 30; // its four rows end above the rival's speech bubble
constexpr int kRivalX = 485, kRivalY = 135;
constexpr Zestra::Rect kRivalWords{160, 195, 294, 100};
constexpr int kHeroineX = 155, kHeroineY = 320;
constexpr Zestra::Rect kHeroineWords{330, 405, 300, 100};
// The rival panel has room for four rows above its speech bubble: the sum and the lost customers on the left,
// anything further beside them, its label over its figure, up to the rival's portrait.
constexpr int kRivalLeftRows = 4;
constexpr int kRivalLeftWidth = 180;
constexpr int kRivalRightX = 360, kRivalRightWidth = 120;
constexpr int kRuleInk = 110;        // grey of the rule over a total

Zestra::Image* Background(ResultBackground background)
{
    switch (background)
    {
    case ResultBackground::Fail:
        return IMAGE_MENU_LEVEL_FAIL.get();
    case ResultBackground::Rival:
        return IMAGE_MENU_LEVEL_COMPLETE_DOUBLE.get();
    case ResultBackground::Complete:
        break;
    }
    return IMAGE_MENU_LEVEL_COMPLETE.get();
}

struct ButtonImages
{
    Zestra::Image* normal;
    Zestra::Image* down;
    Zestra::Image* over;
};

ButtonImages StyleImages(ResultButtonStyle style)
{
    switch (style)
    {
    case ResultButtonStyle::Level:
        return {IMAGE_MENU_LEVEL_BUTTON_NORMAL.get(), IMAGE_MENU_LEVEL_BUTTON_DOWN.get(),
                IMAGE_MENU_LEVEL_BUTTON_OVER.get()};
    case ResultButtonStyle::Straight:
        return {IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_NORMAL.get(), IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_DOWN.get(),
                IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_OVER.get()};
    case ResultButtonStyle::Large:
        break;
    }
    return {IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL.get(), IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN.get(),
            IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER.get()};
}

// The rows as a table in the rectangle's width (labels left, figures right-aligned), from its top; returns the
// height used.
int WriteFigures(Zestra::Graphics& g, const Zestra::Rect& rect, const std::vector<FigureRow>& rows)
{
    if (FONT_SMALL == nullptr || rows.empty())
        return 0;
    g.SetTypeface(FONT_SMALL);
    const int spacing = FONT_SMALL->LineSpacing();
    int top = rect.mY;
    for (const FigureRow& row : rows)
    {
        const int baseline = top + FONT_SMALL->Ascent() - FONT_SMALL->AscentPadding();
        if (row.total)
        {
            g.SetInk(Zestra::Color(kRuleInk, kRuleInk, kRuleInk));
            g.FillBox(rect.mX, top, rect.mWidth, 1);
        }
        g.SetInk(Zestra::Color(0, 0, 0));
        g.PrintText(row.label, rect.mX, baseline);
        g.PrintText(row.value, rect.mX + rect.mWidth - FONT_SMALL->TextWidth(row.value), baseline);
        top += spacing;
    }
    return top - rect.mY;
}

void WriteWrapped(Zestra::Graphics& g, const Zestra::Rect& rect, const std::string& text)
{
    if (FONT_SMALL == nullptr)
        return;
    g.SetTypeface(FONT_SMALL);
    g.SetInk(Zestra::Color(0, 0, 0));
    g.PrintWrapped(rect, text);
}
} // namespace

LevelCompleteMenu::LevelCompleteMenu(Zestra::Board* board, int resultKind, bool more, int storeNumber, int levelIndex,
                                     const ResultFigures& figures)
    : LevelCompleteMenu(board,
                        MakeResultForm(LevelResult(resultKind), more, GetLevelText(storeNumber, levelIndex), figures),
                        storeNumber, levelIndex)
{
}

LevelCompleteMenu::LevelCompleteMenu(Zestra::Board* board, ResultForm resultForm, int storeNumber, int levelIndex)
    : Menu(board, Background(resultForm.background), false, false, true), form(std::move(resultForm)),
      slide(kSlideStart, kSlideSpeed, kSlideTarget, kSlideOvershoot)
{
    Zestra::Image* background = Background(form.background);
    PlayGameSound(form.background == ResultBackground::Fail ? SOUND_LOST : SOUND_APPLAUSE);
    title = GetText(form.titleKey);

    ButtonImages images = StyleImages(form.style);
    int buttonWidth = images.normal != nullptr ? images.normal->GetWidth() : 0;
    if (form.twoButtons)
    {
        okButton = AddButton(GetText(form.okKey), form.rowCentreX - buttonWidth / 2 - kButtonGap, form.rowY,
                             images.normal, images.down, images.over, kOkButton);
        quitButton = AddButton(GetText("level_status_quit"), form.rowCentreX + buttonWidth / 2 + kButtonGap, form.rowY,
                               images.normal, images.down, images.over, kQuitButton);
    }
    else
        okButton = AddButton(GetText(form.okKey), form.rowCentreX, form.rowY, images.normal, images.down, images.over,
                             kOkButton);
    SetChildrenInactive(true);

    confirmControl = okButton;

    int width = background != nullptr ? background->GetWidth() : kScreenWidth;
    int height = background != nullptr ? background->GetHeight() : kScreenHeight - kExtraHeight;
    SetBounds(0, 0, width, height + kExtraHeight);

    panel = std::make_unique<Zestra::MemoryImage>(width, height);
    Zestra::Graphics g(panel.get());
    if (background != nullptr)
        g.Blit(background, 0, 0);
    int insetX = form.rival ? 0 : kBodyInsetX;
    int insetY = form.rival ? 0 : kBodyInsetY;
    const int belowTitle = form.rival ? kRivalBodyBelowTitle : kBodyBelowTitle;
    const Zestra::Rect body(form.titleX - kBodyWidth / 2 + insetX, form.titleY + insetY + belowTitle, kBodyWidth,
                            kBodyHeight);
    if (form.rival)
    {
        const auto split = form.figures.begin() + std::min<std::ptrdiff_t>(kRivalLeftRows, std::ssize(form.figures));
        WriteFigures(g, Zestra::Rect(body.mX, body.mY, kRivalLeftWidth, body.mHeight), {form.figures.begin(), split});
        std::vector<FigureRow> stacked;
        for (auto row = split; row != form.figures.end(); ++row)
        {
            stacked.push_back({row->label, "", false});
            stacked.push_back({"", row->value, false});
        }
        WriteFigures(g, Zestra::Rect(kRivalRightX, body.mY, kRivalRightWidth, body.mHeight), stacked);
    }
    else
    {
        int used = WriteFigures(g, body, form.figures);
        if (used > 0 && FONT_SMALL != nullptr)
            used += FONT_SMALL->LineSpacing(); // a blank line before the closing words
        WriteWrapped(g, Zestra::Rect(body.mX, body.mY + used, body.mWidth, std::max(0, body.mHeight - used)), form.body);
    }
    if (form.rival)
    {
        const LevelText& text = GetLevelText(storeNumber, levelIndex);
        if (Zestra::Image* rival = IMAGE_MENU_LEVEL_COMPLETE_DORVIE.get())
            g.Blit(rival, kRivalX, kRivalY);
        WriteWrapped(g, kRivalWords, text.GetText("dorviecomplete"));
        if (Zestra::Image* heroine = IMAGE_MENU_LEVEL_COMPLETE_PRELLA.get())
            g.Blit(heroine, kHeroineX, kHeroineY);
        WriteWrapped(g, kHeroineWords, text.GetText("complete"));
    }
    panel->MarkPixelsChanged();
    MoveTo(0, int(slide.position));
}

LevelCompleteMenu::~LevelCompleteMenu() = default;

void LevelCompleteMenu::OnAttachedToManager(Zestra::WidgetManager* manager)
{
    // The shop stays visible, darkened, behind the panel while it drops in: the picture is taken before the
    // panel and its buttons are on screen, and before the host hides the board behind this menu.
    if (board != nullptr)
        board->SetBoardState(BoardState::Covered, true);
    snapshot = std::make_unique<Zestra::MemoryImage>(kScreenWidth, kScreenHeight);
    mShown = false;
    Zestra::Graphics g(snapshot.get());
    manager->RedrawInto(g);
    mShown = true;
    snapshot->MarkPixelsChanged();
    Menu::OnAttachedToManager(manager);
}

void LevelCompleteMenu::AdvanceSlide(double step)
{
    if (AnimationsPaused() || slide.Settled())
        return;
    bool settled = slide.Advance(step);
    MoveTo(mX, int(slide.position));
    if (settled)
        SetChildrenInactive(false);
}

void LevelCompleteMenu::TickFraction(double step)
{
    Menu::TickFraction(step);
    if (FractionalUpdates())
        AdvanceSlide(step);
}

void LevelCompleteMenu::Tick()
{
    Menu::Tick();
    if (!FractionalUpdates())
        AdvanceSlide(1.0);
    // The title fades in once the panel has landed.
    if (AnimationsPaused() || !slide.Settled() || titleAlpha >= 255)
        return;
    titleAlpha = std::min(255, titleAlpha + kTitleFadeStep);
    Invalidate();
}

void LevelCompleteMenu::Paint(Zestra::Graphics& g)
{
    if (snapshot)
        g.Blit(snapshot.get(), -mX, -mY); // fixed on the screen while the panel moves
    if (panel)
        g.Blit(panel.get(), 0, 0);
    if (titleAlpha > 0 && FONT_MEDIUM_DARK != nullptr)
    {
        g.SetTypeface(FONT_MEDIUM_DARK);
        g.SetInk(Zestra::Color(255, 255, 255, titleAlpha));
        g.PrintColored(title, form.titleX, form.titleY, 0, 0);
    }
}

void LevelCompleteMenu::ButtonPressed(int id)
{
    if (id != kOkButton && id != kQuitButton)
        return;
    if (board != nullptr)
        board->flow->AfterResult(id == kQuitButton);
    Close();
}
