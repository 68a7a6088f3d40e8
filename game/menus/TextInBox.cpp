// Choosing the font that fits a box, and drawing with it.
#include "game/menus/TextInBox.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "game/res/Res.h"

#include <algorithm>

TextFit FitTextInBox(const std::string& text, const Zestra::Rect& box, std::initializer_list<Zestra::Font*> fonts)
{
    TextFit fit;
    for (Zestra::Font* font : fonts)
    {
        if (font == nullptr)
            continue;
        Zestra::Graphics measure;
        measure.SetTypeface(font);
        fit.font = font;
        fit.height = measure.MeasureWrapped(box.mWidth, text, -1, &fit.width);
        // A word wider than the box is broken inside it; only a smaller font keeps it whole.
        bool wordsWhole = true;
        size_t start = 0;
        while (wordsWhole && start <= text.size())
        {
            size_t end = text.find_first_of(" \n", start);
            if (end == std::string::npos)
                end = text.size();
            wordsWhole = font->TextWidth(text.substr(start, end - start)) <= box.mWidth;
            start = end + 1;
        }
        fit.fits = wordsWhole && fit.height <= box.mHeight;
        if (fit.fits)
            break;
    }
    return fit;
}

void DrawTextInBox(Zestra::Graphics& g, const std::string& text, const Zestra::Rect& box,
                   std::initializer_list<Zestra::Font*> fonts, const Zestra::Color& ink)
{
    TextFit fit = FitTextInBox(text, box, fonts);
    if (fit.font == nullptr || text.empty())
        return;
    Zestra::Graphics inside(g);
    inside.RestrictClip(box);
    inside.SetTypeface(fit.font);
    inside.SetInk(ink);
    const int top = box.mY + std::max(0, box.mHeight - fit.height) / 2;
    inside.PrintWrapped(Zestra::Rect(box.mX, top, box.mWidth, box.mHeight), text, -1, 0);
}

namespace
{
// The banner pictures draw their ribbon centred a little above the picture's middle, leaving room for the tails.
constexpr int kRibbonSideMargin = 45;
constexpr int kRibbonTop = 8;
constexpr int kRibbonHeightMargin = 24;
} // namespace

Zestra::Rect BannerTextBox(const Zestra::Image* banner, int x, int y)
{
    if (banner == nullptr)
        return Zestra::Rect();
    return Zestra::Rect(x + kRibbonSideMargin, y + kRibbonTop, banner->GetWidth() - 2 * kRibbonSideMargin,
                        banner->GetHeight() - kRibbonHeightMargin);
}

void DrawBannerWithTitle(Zestra::Graphics& g, Zestra::Image* banner, int x, int y, const std::string& title)
{
    if (banner == nullptr)
        return;
    g.Blit(banner, x, y);
    DrawTextInBox(g, title, BannerTextBox(banner, x, y), {FONT_LARGE_LIGHT, FONT_MEDIUM_LIGHT, FONT_SMALL},
                  Zestra::Color::White);
}
