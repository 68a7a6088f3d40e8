// Choosing the font a text of the data is written in so that it stays inside its box: the largest that fits,
// words kept whole, and the last one (cut at the box) when none does.
#include "game/menus/TextInBox.h"

#include "framework/graphics/Font.h"

#include <gtest/gtest.h>

namespace
{

// Every glyph as wide as the font is high.
class SquareFont : public Zestra::Font
{
public:
    explicit SquareFont(int size)
    {
        mAscent = size * 3 / 4;
        mHeight = size;
    }
    int TextWidth(const std::string& text) override { return mHeight * int(text.size()); }
    Zestra::Font* Clone() const override { return new SquareFont(*this); }
};

TEST(TextInBox, TheLargestFontThatHoldsTheWrappedTextWithWholeWords)
{
    SquareFont large(20);
    SquareFont small(10);
    const Zestra::Rect oneLargeLine(0, 0, 200, 24); // 10 large or 20 small characters a line; one large line
    struct Case
    {
        const char* text;
        Zestra::Rect box;
        Zestra::Font* font;
        bool fits;
    };
    const Case cases[] = {
        {"Open today", oneLargeLine, &large, true},
        {"Open today and tomorrow", oneLargeLine, &small, true},                // two small lines
        {"Open today and tomorrow", Zestra::Rect(0, 0, 200, 60), &large, true}, // three large lines
        {"Open today and tomorrow", Zestra::Rect(0, 0, 200, 8), &small, false}, // nothing fits: the last font
        {"Tomorrowland", Zestra::Rect(0, 0, 200, 60), &small, true},            // too long a word for the large font
        {"", oneLargeLine, &large, true},
    };
    for (const Case& c : cases)
    {
        TextFit fit = FitTextInBox(c.text, c.box, {&large, &small});
        EXPECT_EQ(fit.font, c.font) << c.text << " in " << c.box.mWidth << "x" << c.box.mHeight;
        EXPECT_EQ(fit.fits, c.fits) << c.text << " in " << c.box.mWidth << "x" << c.box.mHeight;
        EXPECT_LE(fit.width, c.box.mWidth) << c.text;
    }
    // Missing fonts are passed over.
    EXPECT_EQ(FitTextInBox("Open", oneLargeLine, {nullptr, &small}).font, &small);
    EXPECT_EQ(FitTextInBox("Open", oneLargeLine, {nullptr}).font, nullptr);
}

} // namespace
