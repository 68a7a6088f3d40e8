// Scrolling and drawing of the credits.
#include "game/menus/CreditsMenu.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"
#include "game/menus/TextInBox.h"
#include "game/res/Res.h"

#include <algorithm>

using namespace Zestra;

namespace
{
constexpr int kMargin = 40;
constexpr int kHeadingStep = 44;
constexpr int kNameStep = 33;
constexpr int kHeadingDrop = 10;
constexpr int kDisclaimerDrop = 20;
constexpr int kTitleX = 456;
constexpr int kTitleY = 29;
constexpr int kPopupX = 360;
constexpr int kPopupY = 101;
const Rect kTextArea{382, 125, 335, 310};
constexpr int kTextTop = 145;
constexpr int kTextCentreX = 550;
constexpr int kVersionCentreX = 737;
constexpr int kVersionBaseline = 580;
const Color kDisclaimerColour{250, 203, 25};

void PrintCentred(Graphics& g, Font* font, const std::string& text, int centreX, int baseline)
{
    g.SetTypeface(font);
    g.PrintText(text, centreX - font->TextWidth(text) / 2, baseline);
}
} // namespace

int CreditsHeight(const std::vector<std::pair<std::string, std::string>>& credits)
{
    int height = kMargin;
    for (const auto& [title, name] : credits)
        height += title.empty() ? kNameStep : kHeadingStep;
    return height;
}

CreditsMenu::CreditsMenu(Board* board)
    : InfoMenu(board, IMAGE_MENU_BACKGROUND_1.get()), totalHeight(CreditsHeight(GetCredits()))
{
    // The disclaimer's lines after the first scroll out too before the text starts again.
    totalHeight += std::max(0, DisclaimerHeight() - (FONT_SMALL != nullptr ? FONT_SMALL->Height() : 0));
}

void CreditsMenu::Advance(double step)
{
    scroll += kSpeed * step;
    if (scroll > totalHeight)
        scroll = kStartScroll;
    Invalidate();
}

void CreditsMenu::Tick()
{
    InfoMenu::Tick();
    if (!FractionalUpdates() && !AnimationsPaused())
        Advance(1.0);
}

void CreditsMenu::TickFraction(double step)
{
    InfoMenu::TickFraction(step);
    if (FractionalUpdates() && !AnimationsPaused())
        Advance(step);
}

void CreditsMenu::DrawContent(Graphics& g)
{
    DrawBannerWithTitle(g, IMAGE_MENU_CREDITS_TITLE.get(), kTitleX, kTitleY, GetText("credits_title"));
    if (IMAGE_MENU_CREDITS_POPUP)
        g.Blit(IMAGE_MENU_CREDITS_POPUP.get(), kPopupX, kPopupY);
    if (FONT_SMALL != nullptr)
    {
        g.SetInk(Color::Black);
        if (ZestraAppBase* app = AppOf(*this))
            PrintCentred(g, FONT_SMALL, app->Config().mVersionText, kVersionCentreX, kVersionBaseline);
    }
    if (FONT_MEDIUM_LIGHT == nullptr || FONT_LARGE_LIGHT == nullptr || FONT_SMALL == nullptr)
        return;
    Graphics text(g);
    text.RestrictClip(kTextArea);
    text.SetInk(Color::White);
    int y = kTextTop - int(scroll);
    for (const auto& [title, name] : GetCredits())
    {
        if (!title.empty())
        {
            PrintCentred(text, FONT_MEDIUM_LIGHT, title, kTextCentreX, y + kHeadingDrop);
            y += kHeadingStep;
        }
        else
        {
            PrintCentred(text, FONT_LARGE_LIGHT, name, kTextCentreX, y);
            y += kNameStep;
        }
    }
    // The disclaimer is wrapped to the popup's width, so a long one stays inside it.
    text.SetInk(kDisclaimerColour);
    text.SetTypeface(FONT_SMALL);
    Rect area(kTextArea.mX, y + kDisclaimerDrop - FONT_SMALL->Ascent(), kTextArea.mWidth, kTextArea.mHeight);
    text.PrintWrapped(area, GetText("credits_disclaimer"), -1, 0);
}

int CreditsMenu::DisclaimerHeight()
{
    if (FONT_SMALL == nullptr)
        return 0;
    Graphics measure;
    measure.SetTypeface(FONT_SMALL);
    return measure.MeasureWrapped(kTextArea.mWidth, GetText("credits_disclaimer"));
}
