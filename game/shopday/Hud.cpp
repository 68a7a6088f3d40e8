// The head-up display under the store floor (money, goal, jar, drinks, lives, clock and month) and the goal
// banner that grows, rests and fades over the middle of the board.
#include "game/shopday/Board.h"

#include "game/shopday/Hud.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/menus/Button.h"
#include "game/res/Res.h"

#include <cstdio>
#include <string>

namespace
{
constexpr int kBaseline = 583;
constexpr int kHudButtonX = 631;
constexpr int kHudButtonY = 556;

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
} // namespace

std::string ClockText(int ticks)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", ticks / 6000, (ticks / 100) % 60);
    return text;
}

namespace Zestra
{

void Board::OnAttachedToManager(WidgetManager* manager)
{
    Widget::OnAttachedToManager(manager);
    if (!optionsButton)
    {
        optionsButton = MakeHudButton(this, IMAGE_HUD_OPTIONS_NORMAL.get(), IMAGE_HUD_OPTIONS_HOVER.get());
        doneButton = MakeHudButton(this, IMAGE_HUD_DONE_NORMAL.get(), IMAGE_HUD_DONE_HOVER.get());
        UpdateButtons();
    }
    manager->AttachChild(optionsButton.get());
    manager->AttachChild(doneButton.get());
}

void Board::OnDetachedFromManager(WidgetManager* manager)
{
    if (optionsButton)
    {
        manager->DetachChild(optionsButton.get());
        manager->DetachChild(doneButton.get());
    }
    Widget::OnDetachedFromManager(manager);
}

void Board::ButtonPressed(int id)
{
    // Done leaves the upgrade shop: the day opens on a floor built again in its play form.
    if (doneButton && id == doneButton->mButtonId && mode == BoardMode::UpgradeShop)
        OpenStore(true);
    // Options during a day: the options dialog in its in-game form.
    else if (optionsButton && id == optionsButton->mButtonId && mode == BoardMode::Level)
        ShowOptions(true);
}

void Board::DrawHud(Graphics& g)
{
    if (hudImage != nullptr)
        g.Blit(hudImage, 0, 600 - hudImage->GetHeight());
    g.SetTypeface(FONT_HUD_NUMBERS);
    g.SetInk(Color(255, 255, 255));

    const GameState* run = progress ? progress.get() : savedProgress.get();
    bool shopping = mode == BoardMode::UpgradeShop || (mode == BoardMode::Tutorial && tutorialRunning);
    double shownMoney = day.money + (shopping && run != nullptr ? run->cash : 0.0);
    Image* label = IMAGE_HUD_GOAL.get();
    double second = day.goal;
    Image* jar = IMAGE_HUD_JAR_EMPTY.get();
    if (shopping)
    {
        label = IMAGE_HUD_PRICE.get();
        jar = IMAGE_HUD_CASH_ICON.get();
    }
    else if (mode == BoardMode::Level && day.money >= day.goal)
    {
        label = IMAGE_HUD_EXPERT_GOAL.get();
        second = day.expertGoal;
        jar = day.money >= day.expertGoal ? IMAGE_HUD_JAR_FULL.get() : IMAGE_HUD_JAR_HALF.get();
    }
    RightAligned(g, Dollars(shownMoney), 178, kBaseline);
    if (second > 0)
        RightAligned(g, Dollars(second), 390, kBaseline);
    if (jar != nullptr)
        g.Blit(jar, 0, 600 - jar->GetHeight());
    if (label != nullptr)
        g.Blit(label, 228 - label->GetWidth() / 2, 575 - label->GetHeight() / 2);
    if (drinkStation)
    {
        drinkStation->Draw(g);
        if (run != nullptr)
            RightAligned(g, std::to_string(run->drinks), 500, kBaseline);
    }
    if (IMAGE_HUD_LIVES)
        g.Blit(IMAGE_HUD_LIVES.get(), 534, 600 - HeightOf(IMAGE_HUD_LIVES.get()));
    if (run != nullptr)
        RightAligned(g, std::to_string(run->lives), 620, kBaseline);
    Image* clock = IMAGE_HUD_CLOCK.get();
    if (clock != nullptr)
        g.Blit(clock, 724, 600 - clock->GetHeight());
    int clockCentre = 721 + WidthOf(clock) / 2;
    std::string time = ClockText(day.clockTicks);
    if (FONT_HUD_NUMBERS != nullptr)
        g.PrintText(time, clockCentre - FONT_HUD_NUMBERS->TextWidth(time) / 2, 569);
    if (monthPicture != nullptr)
        g.Blit(monthPicture, clockCentre - monthPicture->GetWidth() / 2, 515);
}

void Board::DrawBanner(Graphics& g)
{
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

} // namespace Zestra
