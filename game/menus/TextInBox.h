// Texts from the data written into a fixed box of a picture (a comic caption, a panel's title band): the first of
// the given fonts in which the text, wrapped to the box's width, fits the box's height is used, so a longer text
// or another language shrinks instead of spilling over the art.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

#include <initializer_list>
#include <string>

namespace Zestra
{
class Font;
class Graphics;
class Image;
} // namespace Zestra

struct TextFit
{
    Zestra::Font* font = nullptr; // null without any font
    int width = 0;                // of the widest line
    int height = 0;               // of all lines
    bool fits = false;            // false: even the last font needs more room than the box has
};

// Null fonts are skipped; when none fits, the last one is given.
TextFit FitTextInBox(const std::string& text, const Zestra::Rect& box, std::initializer_list<Zestra::Font*> fonts);

// Draws the text centred in the box with the fitting font; what even the last font cannot fit is cut at the box.
void DrawTextInBox(Zestra::Graphics& g, const std::string& text, const Zestra::Rect& box,
                   std::initializer_list<Zestra::Font*> fonts, const Zestra::Color& ink);

// The ribbon of a title banner picture drawn at (x, y), where its title is written; empty without the picture.
Zestra::Rect BannerTextBox(const Zestra::Image* banner, int x, int y);
// Draws the banner picture at (x, y) and its title on the ribbon, white, in the largest light font it fits.
void DrawBannerWithTitle(Zestra::Graphics& g, Zestra::Image* banner, int x, int y, const std::string& title);
