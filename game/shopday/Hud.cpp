// The head-up display under the store floor (money, goal, jar, drinks, lives, clock and month) and the goal
// banner that grows, rests and fades over the middle of the board.
#include "game/shopday/Hud.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/ui/Button.h"
#include "game/profile/GameState.h"
#include "game/res/Res.h"
#include "game/scene/Component.h"
#include "game/shopday/DayLedger.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace
{
constexpr int kBaseline = 583;
// The dark boxes of the HUD picture the money and the goal stand in; the goal's box ends under the drinks tab.
constexpr Zestra::Rect kMoneyBox{72, 555, 116, 40};
constexpr Zestra::Rect kSecondBox{280, 555, 110, 40};
constexpr int kBoxPadding = 3; // between a value's right end and its box's
constexpr int kHudButtonX = 631;
constexpr int kHudButtonY = 556;
constexpr int kLivesX = 534;
constexpr int kLivesCountRight = 620;
constexpr int kClockX = 724;
// The time and the month are centred a little left of the clock picture's middle.
constexpr int kClockCentreShift = -3;
constexpr int kClockBaseline = 569;
constexpr int kMonthTop = 515;
constexpr int kScreenBottom = 600;
// The caption tab over the money box's part of the HUD's top edge.
constexpr int kCaptionCentreX = 130;
constexpr int kCaptionBottom = 545;
constexpr int kCaptionPadX = 6, kCaptionPadY = 1;
const Zestra::Color kCaptionTab(74, 22, 52);
const Zestra::Color kCaptionInk(255, 246, 232);

// A HUD button: silent, its hover picture also shown while pressed.
std::unique_ptr<Button> MakeHudButton(Zestra::ButtonListener* board, Zestra::Image* normal, Zestra::Image* hover)
{
    auto button = std::make_unique<Button>(board);
    button->SetImages(normal, hover, hover);
    button->sounds = false;
    button->mHandCursor = true;
    button->MoveTo(kHudButtonX, kHudButtonY);
    button->SetShown(false);
    return button;
}

int HeightOf(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetHeight();
}

int WidthOf(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetWidth();
}

int ClockCentre(const Zestra::Image* clock)
{
    return kClockX + kClockCentreShift + WidthOf(clock) / 2;
}

std::string Dollars(double amount)
{
    char text[48];
    std::snprintf(text, sizeof text, "$%.2f", amount);
    return text;
}

void RightAligned(Zestra::Graphics& g, const std::string& text, int right, int baseline)
{
    if (FONT_HUD_NUMBERS != nullptr)
        g.PrintText(text, right - FONT_HUD_NUMBERS->TextWidth(text), baseline);
}

// Right-aligned in its box and cut at it, so a figure too long for the box shows in the layout check.
void InBox(Zestra::Graphics& g, const std::string& text, const Zestra::Rect& box)
{
    Zestra::Graphics inside(g);
    inside.RestrictClip(box);
    RightAligned(inside, text, box.mX + box.mWidth - kBoxPadding, kBaseline);
}
} // namespace

std::string ClockText(int ticks)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", ticks / 6000, (ticks / 100) % 60);
    return text;
}

Zestra::Rect HudClockArea(const Zestra::Image* clock, const Zestra::Image* month)
{
    Zestra::Rect area(kClockX, kScreenBottom - HeightOf(clock), WidthOf(clock), HeightOf(clock));
    if (month == nullptr)
        return area;
    Zestra::Rect monthArea(ClockCentre(clock) - WidthOf(month) / 2, kMonthTop, WidthOf(month), HeightOf(month));
    if (area.mWidth == 0 || area.mHeight == 0)
        return monthArea;
    int left = std::min(area.mX, monthArea.mX);
    int top = std::min(area.mY, monthArea.mY);
    int right = std::max(area.mX + area.mWidth, monthArea.mX + monthArea.mWidth);
    int bottom = std::max(area.mY + area.mHeight, monthArea.mY + monthArea.mHeight);
    return Zestra::Rect(left, top, right - left, bottom - top);
}

Zestra::Rect HudLivesArea(const Zestra::Image* lives)
{
    int right = std::max(kLivesX + WidthOf(lives), kLivesCountRight);
    int height = HeightOf(lives);
    return Zestra::Rect(kLivesX, kScreenBottom - height, right - kLivesX, height);
}

Zestra::Rect HudButtonArea(const Zestra::Image* button)
{
    return Zestra::Rect(kHudButtonX, kHudButtonY, WidthOf(button), HeightOf(button));
}

Hud::Hud() = default;

Hud::~Hud()
{
    for (Button* button : {optionsButton.get(), doneButton.get()})
        if (button != nullptr && button->mParent != nullptr)
            button->mParent->DetachChild(button);
}

void Hud::AttachButtons(Zestra::WidgetManager* manager, Zestra::ButtonListener* listener)
{
    if (!optionsButton)
    {
        optionsButton = MakeHudButton(listener, IMAGE_HUD_OPTIONS_NORMAL.get(), IMAGE_HUD_OPTIONS_HOVER.get());
        doneButton = MakeHudButton(listener, IMAGE_HUD_DONE_NORMAL.get(), IMAGE_HUD_DONE_HOVER.get());
        SetButtonsState(buttonsEnabled, buttonsGreyed);
    }
    manager->AttachChild(optionsButton.get());
    manager->AttachChild(doneButton.get());
}

void Hud::DetachButtons(Zestra::WidgetManager* manager)
{
    if (!optionsButton)
        return;
    manager->DetachChild(optionsButton.get());
    manager->DetachChild(doneButton.get());
}

void Hud::ShowButtonsFor(bool shop)
{
    if (!optionsButton)
        return;
    optionsButton->SetShown(!shop);
    doneButton->SetShown(shop);
}

void Hud::SetButtonsState(bool enabled, bool greyed)
{
    buttonsEnabled = enabled;
    buttonsGreyed = greyed;
    for (Button* button : {optionsButton.get(), doneButton.get()})
    {
        if (button == nullptr)
            continue;
        button->SetInactive(!enabled);
        button->greyed = greyed;
        button->Invalidate();
    }
}

void Hud::ShowBanner(Zestra::Image* banner)
{
    bannerImage = banner;
    bannerTimer = 0;
}

void Hud::TickBanner()
{
    bannerTimer += 1;
    if (bannerTimer % kBannerTicks == 0)
        bannerTimer = -1;
}

void Hud::Draw(Zestra::Graphics& g, const DayLedger& day, const GameState* run, bool shopping, bool inLevel,
               Component* drinkStation, const std::string& moneyCaption) const
{
    using Zestra::Color;
    using Zestra::Image;
    if (image != nullptr)
        g.Blit(image, 0, 600 - image->GetHeight());
    g.SetTypeface(FONT_HUD_NUMBERS);
    g.SetInk(Color(255, 255, 255));

    double shownMoney = day.money + (shopping && run != nullptr ? run->cash : 0.0);
    Image* label = IMAGE_HUD_GOAL.get();
    double second = day.goal;
    Image* jar = IMAGE_HUD_JAR_EMPTY.get();
    if (shopping)
    {
        label = IMAGE_HUD_PRICE.get();
        jar = IMAGE_HUD_CASH_ICON.get();
    }
    else if (inLevel && day.money >= day.goal)
    {
        label = IMAGE_HUD_EXPERT_GOAL.get();
        second = day.expertGoal;
        jar = day.money >= day.expertGoal ? IMAGE_HUD_JAR_FULL.get() : IMAGE_HUD_JAR_HALF.get();
    }
    InBox(g, Dollars(shownMoney), kMoneyBox);
    if (second > 0)
        InBox(g, Dollars(second), kSecondBox);
    if (FONT_SMALL != nullptr && !moneyCaption.empty())
    {
        const int width = FONT_SMALL->TextWidth(moneyCaption) + 2 * kCaptionPadX;
        const int height = FONT_SMALL->Height() + 2 * kCaptionPadY;
        const int left = kCaptionCentreX - width / 2;
        g.SetInk(kCaptionTab);
        g.FillBox(left, kCaptionBottom - height, width, height);
        g.SetTypeface(FONT_SMALL);
        g.SetInk(kCaptionInk);
        g.PrintText(moneyCaption, left + kCaptionPadX, kCaptionBottom - kCaptionPadY - FONT_SMALL->Descent());
        g.SetTypeface(FONT_HUD_NUMBERS);
        g.SetInk(Color(255, 255, 255));
    }
    if (jar != nullptr)
        g.Blit(jar, 0, 600 - jar->GetHeight());
    if (label != nullptr)
        g.Blit(label, 228 - label->GetWidth() / 2, 575 - label->GetHeight() / 2);
    if (drinkStation != nullptr)
    {
        drinkStation->Draw(g);
        if (run != nullptr)
            RightAligned(g, std::to_string(run->drinks), 500, kBaseline);
    }
    if (IMAGE_HUD_LIVES)
        g.Blit(IMAGE_HUD_LIVES.get(), kLivesX, kScreenBottom - HeightOf(IMAGE_HUD_LIVES.get()));
    if (run != nullptr)
        RightAligned(g, std::to_string(run->lives), kLivesCountRight, kBaseline);
    Image* clock = IMAGE_HUD_CLOCK.get();
    if (clock != nullptr)
        g.Blit(clock, kClockX, kScreenBottom - clock->GetHeight());
    int clockCentre = ClockCentre(clock);
    std::string time = ClockText(day.clockTicks);
    if (FONT_HUD_NUMBERS != nullptr)
        g.PrintText(time, clockCentre - FONT_HUD_NUMBERS->TextWidth(time) / 2, kClockBaseline);
    if (monthPicture != nullptr)
        g.Blit(monthPicture, clockCentre - monthPicture->GetWidth() / 2, kMonthTop);
}

void Hud::DrawBanner(Zestra::Graphics& g) const
{
    using Zestra::Color;
    if (bannerTimer < 0 || bannerImage == nullptr)
        return;
    int t = bannerTimer;
    int w = bannerImage->GetWidth();
    int h = bannerImage->GetHeight();
    if (t < 100)
    {
        int sw = w * t / 100;
        int sh = h * t / 100;
        if (sw > 0 && sh > 0)
            g.BlitScaled(bannerImage, 400 - sw / 2, 300 - sh / 2, sw, sh);
        return;
    }
    if (t <= 175)
    {
        g.Blit(bannerImage, 400 - w / 2, 300 - h / 2);
        return;
    }
    bool oldTint = g.GetTintImages();
    Color oldInk = g.GetInk();
    g.SetTintImages(true);
    g.SetInk(Color(255, 255, 255, (225 - t) * 255 / 50));
    g.Blit(bannerImage, 400 - w / 2, 300 - h / 2);
    g.SetTintImages(oldTint);
    g.SetInk(oldInk);
}
