// The interface Graphics draws text through. Text is one byte per character, drawn as Latin-1; y is the baseline.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

#include <string>

namespace Zestra
{

class Graphics;

class Font
{
public:
    virtual ~Font() = default;

    virtual int Ascent() const { return mAscent; }
    virtual int AscentPadding() const { return mAscentPadding; }
    virtual int Descent() const { return mHeight - mAscent; }
    virtual int Height() const { return mHeight; }
    virtual int LineSpacingOffset() const { return mLineSpacingOffset; }
    virtual int LineSpacing() const { return mHeight + mLineSpacingOffset; }
    virtual int TextWidth(const std::string& text) { return 0; }
    virtual int GlyphWidth(char ch) { return TextWidth(std::string(1, ch)); }
    // prevCh 0 means there is no previous character (no kerning or spacing before the first one).
    virtual int GlyphAdvance(char ch, char prevCh) { return GlyphWidth(ch); }
    virtual void DrawText(Graphics& g, int x, int y, const std::string& text, const Color& color, const Rect& clip) {}
    virtual Font* Clone() const = 0;

protected:
    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;

    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mLineSpacingOffset = 0;
};

} // namespace Zestra
