// Choosing the font that fits a box, and drawing with it.
#include "game/menus/TextInBox.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"

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
