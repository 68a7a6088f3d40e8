// Queue, fade and picture of the achievement note.
#include "game/shopday/AchievementToast.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/Localization.h"
#include "game/profile/Achievements.h"
#include "game/res/Res.h"

#include <algorithm>

using namespace Zestra;

namespace
{
constexpr int kIconSize = 48;
constexpr int kPadding = 6;
const Color kBody{59, 36, 64};
const Color kRim{244, 180, 60};
const Color kHeadingInk{244, 180, 60};

// The first font the text fits the width in (the last one otherwise); null without fonts.
Font* FittingFont(const std::string& text, int width, std::initializer_list<Font*> fonts)
{
    Font* chosen = nullptr;
    for (Font* font : fonts)
    {
        if (font == nullptr)
            continue;
        chosen = font;
        if (font->TextWidth(text) <= width)
            break;
    }
    return chosen;
}

void PrintIn(Graphics& g, const std::string& text, const Rect& box, Font* font, const Color& ink)
{
    if (font == nullptr || text.empty())
        return;
    Graphics clipped(g);
    clipped.RestrictClip(box);
    clipped.SetTypeface(font);
    clipped.SetInk(ink);
    const int x = box.mX + std::max(0, (box.mWidth - font->TextWidth(text)) / 2);
    const int baseline = box.mY + (box.mHeight - font->Height()) / 2 + font->Ascent();
    clipped.PrintText(text, x, baseline);
}
} // namespace

void AchievementToast::Add(const std::vector<std::string>& ids)
{
    queue.insert(queue.end(), ids.begin(), ids.end());
}

bool AchievementToast::Tick()
{
    if (queue.empty())
        return false;
    ticks += 1;
    if (ticks >= kShowTicks)
    {
        queue.pop_front();
        ticks = 0;
    }
    return true;
}

void AchievementToast::Clear()
{
    queue.clear();
    ticks = 0;
}

Rect AchievementToast::HeadingBox()
{
    const int left = kBox.mX + kIconSize + kPadding;
    return {left, kBox.mY + 3, kBox.mX + kBox.mWidth - kPadding - left, 16};
}

Rect AchievementToast::NameBox()
{
    const Rect heading = HeadingBox();
    return {heading.mX, heading.mY + heading.mHeight, heading.mWidth, kBox.mY + kBox.mHeight - 3 -
                                                                           (heading.mY + heading.mHeight)};
}

void AchievementToast::Draw(Graphics& g) const
{
    const std::string* id = Current();
    if (id == nullptr)
        return;
    const AchievementInfo* info = FindAchievement(*id);
    if (info == nullptr)
        return;
    const int fadeIn = std::min(ticks, kFadeTicks);
    const int fadeOut = std::min(kShowTicks - ticks, kFadeTicks);
    const int alpha = 255 * std::min(fadeIn, fadeOut) / kFadeTicks;
    if (alpha <= 0)
        return;
    auto faded = [alpha](Color c) { return Color(c.mRed, c.mGreen, c.mBlue, c.mAlpha * alpha / 255); };

    Graphics note(g);
    note.SetInk(faded(kRim));
    note.FillBox(kBox);
    note.SetInk(faded(Color(kBody.mRed, kBody.mGreen, kBody.mBlue, 230)));
    note.FillBox(kBox.mX + 2, kBox.mY + 2, kBox.mWidth - 4, kBox.mHeight - 4);
    if (Image* icons = IMAGE_ACHIEVEMENT_ICONS.get())
    {
        note.SetTintImages(true);
        note.SetInk(faded(Color::White));
        const int size = std::min(kIconSize, kBox.mHeight - 4);
        note.BlitScaled(icons, Rect(kBox.mX + 3, kBox.mY + 2, size, size),
                        Rect(info->icon * icons->GetCelWidth(), 0, icons->GetCelWidth(), icons->GetCelHeight()));
        note.SetTintImages(false);
    }
    const std::string heading = GetText("achievement_toast");
    const std::string name = GetText(info->nameKey);
    PrintIn(note, heading, HeadingBox(), FONT_SMALL, faded(kHeadingInk));
    PrintIn(note, name, NameBox(), FittingFont(name, NameBox().mWidth, {FONT_MEDIUM_LIGHT, FONT_SMALL}),
            faded(Color::White));
}
