#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/ScreenImage.h"
#include "framework/graphics/Transform.h"

#include "TestHelpers.h"

#include <gtest/gtest.h>

using namespace Zestra;
using GfxTest::MakeFilled;
using GfxTest::MakeImage;
using GfxTest::RecordingImage;

namespace
{

// Every character is 10 pixels wide; drawing records the text and its colour.
class FixedFont : public Font
{
public:
    struct Draw
    {
        std::string mText;
        int mX;
        Color mColor;
    };
    FixedFont()
    {
        mAscent = 8;
        mHeight = 10;
        mLineSpacingOffset = 2;
    }
    int TextWidth(const std::string& text) override { return int(text.size()) * 10; }
    int GlyphAdvance(char, char) override { return 10; }
    void DrawText(Graphics&, int x, int, const std::string& text, const Color& color, const Rect&) override
    {
        mDraws->push_back({text, x, color});
    }
    Font* Clone() const override { return new FixedFont(*this); }

    std::shared_ptr<std::vector<Draw>> mDraws = std::make_shared<std::vector<Draw>>();
};

} // namespace

TEST(GraphicsClip, PrimitivesOutsideTheClipAreNotCalled)
{
    RecordingImage target(100, 100);
    auto img = MakeFilled(10, 10, 0xFFFFFFFF);
    Graphics g(&target);
    g.RestrictClip(20, 20, 30, 30);
    g.Blit(img.get(), 0, 0);
    g.Blit(img.get(), 60, 25);
    g.FillBox(0, 0, 10, 10);
    g.SetInk(Color(0, 0, 0, 0));
    g.FillBox(25, 25, 5, 5); // alpha 0
    g.OutlineBox(25, 25, 5, 5);
    g.StrokeLine(0, 0, 10, 0);
    EXPECT_TRUE(target.mCalls.empty());

    g.SetInk(Color(1, 2, 3));
    g.Blit(img.get(), 15, 45); // cut on the left and at the bottom
    ASSERT_EQ(target.mCalls.size(), 1u);
    EXPECT_EQ(target.mCalls[0].mRect, Rect(20, 45, 5, 5));
    EXPECT_EQ(target.mCalls[0].mSrc, Rect(5, 0, 5, 5));
    EXPECT_EQ(target.mCalls[0].mColor, Color::White);

    g.SetTintImages(true);
    g.Offset(0.9f, 0.9f); // translation truncates toward zero
    g.BlitFlipped(img.get(), 15, 45, img->GetRect(), true);
    EXPECT_EQ(target.mCalls[1].mName, "mirror");
    EXPECT_EQ(target.mCalls[1].mRect, Rect(20, 45, 5, 5));
    EXPECT_EQ(target.mCalls[1].mSrc, Rect(0, 0, 5, 5)); // the right half of the picture is cut away
    EXPECT_EQ(target.mCalls[1].mColor, Color(1, 2, 3));
}

TEST(GraphicsClip, OutlineBoxInsideAndAcrossTheClip)
{
    RecordingImage target(100, 100);
    Graphics g(&target);
    g.OutlineBox(0, 0, 9, 9);
    ASSERT_EQ(target.mCalls.size(), 1u);
    EXPECT_EQ(target.mCalls[0].mName, "outline");
    target.mCalls.clear();
    g.RestrictClip(0, 0, 9, 100); // the right edge falls outside
    g.OutlineBox(0, 0, 9, 9);
    ASSERT_EQ(target.mCalls.size(), 3u);
    EXPECT_EQ(target.mCalls[0].mRect, Rect(0, 0, 9, 1));

    auto img = MakeFilled(12, 12, 0xFF000000);
    Graphics real(img.get());
    real.SetInk(Color(255, 255, 255));
    real.OutlineBox(0, 0, 9, 9);
    int white = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            white += img->GetPixel(x, y) == 0xFFFFFFFF;
    EXPECT_EQ(white, 36); // the border of a 10 x 10 square
    EXPECT_EQ(img->GetPixel(9, 9), 0xFFFFFFFFu);
}

TEST(GraphicsState, SaveRestoreAndClipRules)
{
    RecordingImage target(50, 50);
    Graphics g(&target);
    g.RestoreState(); // empty stack: nothing changes
    EXPECT_EQ(g.GetClip(), Rect(0, 0, 50, 50));
    g.SaveState();
    g.Offset(10, 10);
    g.SetInk(Color(1, 1, 1));
    g.RestrictClip(100, 100, 5, 5);
    EXPECT_EQ(g.GetClip(), Rect(0, 0, 0, 0));
    Graphics copy(g);
    copy.RestoreState(); // copies do not take the stack
    EXPECT_EQ(copy.GetOffsetX(), 10.0f);
    g.RestoreState();
    EXPECT_EQ(g.GetOffsetX(), 0.0f);
    EXPECT_EQ(g.GetInk(), Color::Black);
    EXPECT_EQ(g.GetClip(), Rect(0, 0, 50, 50));

    Graphics measuring; // no target: draws nothing, safely
    measuring.FillBox(0, 0, 10, 10);
}

TEST(GraphicsBlit, CellsAndZoom)
{
    RecordingImage target(200, 200);
    auto sheet = MakeFilled(40, 20, 0xFFFFFFFF);
    sheet->SetCelGrid(2, 4);
    Graphics g(&target);
    g.BlitCell(sheet.get(), 0, 0, 4, 0); // column beyond the grid
    g.BlitCell(sheet.get(), 0, 0, 8);    // cel beyond the grid
    g.BlitCell(sheet.get(), 0, 0, -1);
    EXPECT_TRUE(target.mCalls.empty());
    g.BlitCell(sheet.get(), 5, 5, 6);
    ASSERT_EQ(target.mCalls.size(), 1u);
    EXPECT_EQ(target.mCalls[0].mSrc, Rect(20, 10, 10, 10));

    g.SetZoom(2.0f, 2.0f, 10.0f, 10.0f);
    g.Blit(sheet.get(), 15, 15, Rect(0, 0, 5, 3));
    ASSERT_EQ(target.mCalls.size(), 2u);
    EXPECT_EQ(target.mCalls[1].mName, "stretch");
    EXPECT_EQ(target.mCalls[1].mRect, Rect(20, 20, 10, 6));
    g.Blit(sheet.get(), 0, 0, Rect(35, 0, 10, 10)); // reaches beyond the image
    EXPECT_EQ(target.mCalls.size(), 2u);
}

TEST(GraphicsBlit, NinePartCornersAndCentre)
{
    // A 3 x 3 source: every part one pixel of its own colour.
    std::vector<uint32_t> px;
    for (uint32_t i = 0; i < 9; ++i)
        px.push_back(0xFF000000u | (i + 1));
    auto src = MakeImage(3, 3, px);
    auto dest = MakeFilled(9, 9, 0xFF000000);
    Graphics g(dest.get());
    g.BlitNinePart(Rect(1, 1, 7, 7), src.get());
    EXPECT_EQ(dest->GetPixel(1, 1), px[0]);
    EXPECT_EQ(dest->GetPixel(7, 1), px[2]);
    EXPECT_EQ(dest->GetPixel(1, 7), px[6]);
    EXPECT_EQ(dest->GetPixel(7, 7), px[8]);
    EXPECT_EQ(dest->GetPixel(4, 1), px[1]);
    EXPECT_EQ(dest->GetPixel(1, 4), px[3]);
    EXPECT_EQ(dest->GetPixel(4, 4), px[4]);
    EXPECT_EQ(dest->GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dest->GetPixel(8, 8), 0xFF000000u);
}

TEST(GraphicsTransform, ScaleStaysSimple)
{
    Transform t;
    t.Scale(0.5f, 0.5f);
    t.Scale(2.0f, 2.0f);
    EXPECT_FALSE(t.IsComplex());
    EXPECT_EQ(t.mScaleX, 1.0f);
    EXPECT_EQ(t.mScaleY, 1.0f);
    t.Scale(-1.0f, 1.0f); // a mirror stays simple
    EXPECT_FALSE(t.IsComplex());
    t.Scale(-2.0f, 1.0f);
    EXPECT_TRUE(t.IsComplex());

    Transform r;
    r.RotateRad(0.5f);
    r.Scale(2.0f, 2.0f);
    EXPECT_TRUE(r.IsComplex());
}

TEST(GraphicsText, ColourCodes)
{
    RecordingImage target(500, 100);
    Graphics g(&target);
    FixedFont font;
    g.SetTypeface(&font);
    g.SetInk(Color(0, 0, 255));
    int w = g.PrintColored("^FF0000^red^oldclr^blue", 0, 20, -1, -1, true, 0, -1, 0x00FF00);
    ASSERT_EQ(font.mDraws->size(), 2u);
    EXPECT_EQ((*font.mDraws)[0].mText, "red");
    EXPECT_EQ((*font.mDraws)[0].mColor, Color(255, 0, 0));
    EXPECT_EQ((*font.mDraws)[1].mText, "blue");
    EXPECT_EQ((*font.mDraws)[1].mX, 30);
    EXPECT_EQ((*font.mDraws)[1].mColor, Color(0, 255, 0));
    EXPECT_EQ(w, 70);
    EXPECT_EQ(g.GetInk(), Color(0, 255, 0)); // the last code stays in force

    font.mDraws->clear();
    EXPECT_EQ(g.PrintColored("a^^b", 0, 0), 30);
    EXPECT_EQ((*font.mDraws)[0].mText, "a^b");

    font.mDraws->clear();
    g.PrintColored("ab^FF00", 0, 0); // a code running past the end stops the line
    EXPECT_EQ((*font.mDraws)[0].mText, "ab");

    font.mDraws->clear();
    g.PrintColored("abcd", 0, 0, 100, 0); // centred: (100 - 40) / 2
    EXPECT_EQ((*font.mDraws)[0].mX, 30);
}

TEST(GraphicsText, WordWrapping)
{
    RecordingImage target(500, 500);
    Graphics g(&target);
    FixedFont font;
    g.SetTypeface(&font);
    struct Case
    {
        const char* mText;
        int mWidth;
        std::vector<std::string> mLines;
    };
    const Case cases[] = {
        {"abcdefghij", 35, {"abc", "def", "ghi", "j"}}, // one long word breaks inside, never empty
        {"ab cd ef", 55, {"ab cd", "ef"}},
        {"ab  cd", 25, {"ab", "cd"}}, // blanks after a break are skipped
        {"ab\ncd", 500, {"ab", "cd"}},
        {"x", 5, {"x"}}, // at least one character per line
    };
    for (const Case& c : cases)
    {
        font.mDraws->clear();
        int maxWidth = 0;
        int height = g.PrintWrapped(Rect(0, 0, c.mWidth, 500), c.mText, -1, -1, &maxWidth);
        std::vector<std::string> lines;
        for (const auto& d : *font.mDraws)
            lines.push_back(d.mText);
        EXPECT_EQ(lines, c.mLines) << c.mText;
        EXPECT_EQ(height, 10 + int(c.mLines.size() - 1) * 12) << c.mText;
        EXPECT_EQ(g.MeasureWrapped(c.mWidth, c.mText), height) << c.mText;
    }
    // A trailing line feed counts as one more, empty line.
    EXPECT_EQ(g.MeasureWrapped(500, "ab\n"), 22);
}

TEST(GraphicsBlit, MirroredDrawOnTheScreen)
{
    ScreenImage screen(10, 4);
    auto person = MakeImage(4, 1, {0xFF000001, 0xFF000002, 0xFF000003, 0x00000000});
    Graphics g(&screen);
    g.BlitFlipped(person.get(), -1, 0, person->GetRect(), true);
    // Mirrored: transparent, 3, 2, 1 starting at x = -1; the first column is cut.
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF000003u);
    EXPECT_EQ(screen.GetPixel(1, 0), 0xFF000002u);
    EXPECT_EQ(screen.GetPixel(2, 0), 0xFF000001u);

    Transform mirror;
    mirror.Scale(-1.0f, 1.0f);
    g.BlitTransformed(person.get(), mirror, 7, 2); // centred at (7, 2): x from 5, y from 2 (half of 1 rounds down)
    EXPECT_EQ(screen.GetPixel(6, 2), 0xFF000003u);
    EXPECT_EQ(screen.GetPixel(8, 2), 0xFF000001u);
}
