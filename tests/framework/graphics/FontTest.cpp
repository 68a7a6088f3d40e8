#include "framework/graphics/FontHost.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SysFont.h"

#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace Zestra;
using GfxTest::MakeFilled;
using GfxTest::RecordingImage;
using GfxTest::TempDir;

namespace
{

class RecordingHost : public FontHost
{
public:
    std::shared_ptr<Image> AcquireFontImage(const std::string& path, bool& created) override
    {
        mRequested.push_back(path);
        created = true;
        return std::shared_ptr<Image>(ImageLoader::GetImage(path, false));
    }
    void ShowFatalMessage(const std::string& text) override { mMessages.push_back(text); }

    std::vector<std::string> mRequested;
    std::vector<std::string> mMessages;
};

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Glyph strip: A and V 8 pixels wide, a, b, c 6 pixels wide, all 10 high.
const char* const kDescriptor = R"(# A small two-layer font
Define Chars ('A' 'V' 'a' 'b' 'c');
SetDefaultPointSize 12;
CreateHorzSpanRectList Rects (0 0 0 10) (8 8 6 6 6);
CreateLayer Main;
LayerSetImage Main 'glyphs.png';
LayerSetImageMap Main Chars Rects;
LayerSetCharWidths Main Chars (8 8 6 6 6);
LayerSetAscent Main 8;
LayerSetHeight Main 10;
LayerSetSpacing Main 1;
LayerSetKerningPairs Main ('AV') (-2);
LayerSetCharOrders Main ('a' 'b') (-200 -128);
CreateLayerFrom Outline Main;
LayerPointRange Outline 10 14;
LayerExcludeTags Outline ("bold");
LayerSetColorMult Outline (0 0 0 1);
LayerSetBaseOrder Outline -1;
Define Title "Velmora ""Row""";
SetCharMap ('x') ('a');
)";

struct FontFixture
{
    TempDir mDir;
    RecordingHost mHost;

    FontFixture()
    {
        auto strip = MakeFilled(34, 10, 0xFFFFFFFF);
        WritePNG(*strip, mDir.File("glyphs.png"));
        WriteText(mDir.File("font.txt"), kDescriptor);
    }
};

std::vector<int> BlitSourceX(const RecordingImage& target)
{
    std::vector<int> xs;
    for (const auto& call : target.mCalls)
        xs.push_back(call.mSrc.mX);
    return xs;
}

} // namespace

TEST(FontDescriptor, ErrorsReportMessageAndLine)
{
    struct Case
    {
        const char* mText;
        const char* mMessage;
        int mLine;
    };
    const Case cases[] = {
        {"CreateLayer Main;\nLayerSetCharWidths Main ('a' 'b') (5);", "List Size Mismatch", 2},
        {"LayerSetHeight Main 10;", "Undefined Layer", 1},
        {"Define x 'abc;", "Unterminated Single Quotes", 1},
        {"Define x \"abc;", "Unterminated Double Quotes", 1},
        {"Define x (1 2));", "Unexpected List End", 1},
        {"Define x abc(1);", "Unexpected List Start", 1},
        {"Define x (1 2;", "Unterminated List", 1},
        {"(a b);", "Missing Command", 1},
        {"Frobnicate 1;", "Unknown Command", 1},
        {"CreateLayer;", "Invalid Number of Parameters", 1},
        {"CreateLayer Main;\nLayerSetHeight Main 'x';", "Invalid Paramater Type", 2},
        {"CreateLayer Main;\nLayerSetDrawMode Main 2;", "Invalid Paramater Type", 2},
        {"Define x y;", "Unable to Dereference \"y\"", 1},
        {"CreateLayer Main;\nCreateLayer Main;", "Layer Already Exists", 2},
        {"CreateLayer Main;\nLayerSetImageMap Main ('a') ((0 0 1 1));", "Layer image not set", 2},
        {"# comment\n\nCreateLayer Main;\n\n  LayerSetHeight\n  Main 'x';", "Invalid Paramater Type", 5},
        {"createlayer M; LAYERSETHEIGHT M 3; layersetoffset M (1 2 3);", "Invalid Paramater Type", 1},
    };
    for (const Case& c : cases)
    {
        RecordingHost host;
        FontData data(&host);
        EXPECT_FALSE(data.LoadDescriptorText(c.mText)) << c.mText;
        EXPECT_EQ(data.ErrorText(), c.mMessage) << c.mText;
        EXPECT_EQ(data.ErrorLine(), c.mLine) << c.mText;
        EXPECT_EQ(host.mMessages.size(), 1u) << c.mText;
    }
}

TEST(FontDescriptor, FullMessageAndFileErrors)
{
    FontFixture f;
    WriteText(f.mDir.File("bad.txt"), "CreateLayer Main;\r\nLayerSetHeight Other\r\n  10;");
    ImageFont bad(f.mDir.File("bad.txt"), &f.mHost);
    EXPECT_FALSE(bad.IsLoaded());
    ASSERT_EQ(f.mHost.mMessages.size(), 1u);
    EXPECT_EQ(f.mHost.mMessages[0], "Font Descriptor Error in " + f.mDir.File("bad.txt") +
                                        "\r\nUndefined Layer on Line 2:\r\n\r\nLayerSetHeight Other\n  10");

    WriteText(f.mDir.File("oob.txt"), "CreateLayer M; LayerSetImage M 'glyphs.png';\n"
                                      "LayerSetImageMap M ('a') ((30 0 5 10));");
    ImageFont outOfBounds(f.mDir.File("oob.txt"), &f.mHost);
    EXPECT_EQ(outOfBounds.GetData()->ErrorText(), "Image rectangle out of bounds");

    WriteText(f.mDir.File("noimage.txt"), "CreateLayer M; LayerSetImage M 'missing.png';");
    ImageFont missing(f.mDir.File("noimage.txt"), &f.mHost);
    EXPECT_EQ(missing.GetData()->ErrorText(), "Failed to Load Image");
    EXPECT_FALSE(ImageFont(f.mDir.File("nowhere.txt"), &f.mHost).IsLoaded());
}

TEST(FontDescriptor, AFileThatDrawsNothingIsAnErrorNamingIt)
{
    // Each reads without a syntax fault, and each would have drawn every label in it as nothing.
    const char* const texts[] = {
        "",
        "# Font \"small\": only its heading survived\n",
        "CreateLayer Main;\nLayerSetImage Main 'glyphs.png';\n",
        "CreateLayer Main;\nLayerSetImage Main 'glyphs.png';\nLayerSetImageMap Main ('a') ((0 0 0 10));\n",
    };
    for (const char* text : texts)
    {
        FontFixture f;
        WriteText(f.mDir.File("cut.txt"), text);
        ImageFont font(f.mDir.File("cut.txt"), &f.mHost);
        EXPECT_FALSE(font.IsLoaded()) << text;
        EXPECT_EQ(font.GetData()->ErrorText(), "No character to draw: the file is empty or cut short") << text;
        ASSERT_EQ(f.mHost.mMessages.size(), 1u) << text;
        EXPECT_NE(f.mHost.mMessages[0].find(f.mDir.File("cut.txt")), std::string::npos) << f.mHost.mMessages[0];
    }
}

TEST(ImageFontLayers, LoadsFromTheDescriptorFolderAndMeasures)
{
    FontFixture f;
    ImageFont font(f.mDir.File("font.txt"), &f.mHost);
    ASSERT_TRUE(font.IsLoaded()) << font.GetData()->ErrorText();
    ASSERT_EQ(f.mHost.mRequested.size(), 1u);
    EXPECT_EQ(f.mHost.mRequested[0], f.mDir.File("glyphs.png"));
    EXPECT_EQ(font.PointSize(), 12);
    EXPECT_EQ(font.Ascent(), 8);
    EXPECT_EQ(font.Height(), 10);
    EXPECT_EQ(font.DefineText("Title"), "Velmora \"Row\"");

    // Kerning -2 and spacing 1: "V" after "A" advances one pixel less than its width.
    EXPECT_EQ(font.GlyphWidth('V'), 8);
    EXPECT_EQ(font.GlyphAdvance('V', 'A'), 7);
    EXPECT_EQ(font.TextWidth("AV"), 15);
    EXPECT_EQ(font.TextWidth("ab"), 13);
    EXPECT_EQ(font.TextWidth("x"), 6); // mapped to "a" first

    ImageFont big(font);
    big.SetScale(2.0);
    EXPECT_EQ(big.TextWidth("c"), 12);
    EXPECT_EQ(big.Height(), 20);
    EXPECT_EQ(font.TextWidth("c"), 6); // the clone's scale is its own
    auto canvas = MakeFilled(40, 40, 0xFF000000);
    Graphics g(canvas.get());
    big.SetPointSize(16); // the main layer only, drawn from its scaled copy
    std::vector<Rect> rects;
    big.DrawTextLayers(g, 2, 30, "c", Color(255, 0, 0), g.GetClip(), &rects, nullptr);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0], Rect(2, 14, 12, 20));
    EXPECT_EQ(canvas->GetPixel(13, 33), 0xFFFF0000u);
    EXPECT_EQ(canvas->GetPixel(14, 33), 0xFF000000u);
}

TEST(ImageFontLayers, PointRangeAndTagsChooseLayers)
{
    FontFixture f;
    ImageFont font(f.mDir.File("font.txt"), &f.mHost);
    ASSERT_TRUE(font.IsLoaded());
    RecordingImage target(100, 100);
    Graphics g(&target);
    auto countBlits = [&](ImageFont& which) {
        target.mCalls.clear();
        which.DrawText(g, 0, 20, "c", Color::White, g.GetClip());
        return target.mCalls.size();
    };
    EXPECT_EQ(countBlits(font), 2u);
    font.SetPointSize(16);
    EXPECT_EQ(countBlits(font), 1u);
    font.SetPointSize(12);
    EXPECT_TRUE(font.AddTag("bold"));
    EXPECT_FALSE(font.AddTag("bold"));
    EXPECT_EQ(countBlits(font), 1u);
    EXPECT_TRUE(font.RemoveTag("bold"));
    EXPECT_EQ(countBlits(font), 2u);
    // The outline layer (base order -1) is drawn first, its multiplier turning the ink black; the graphics
    // keeps its own ink.
    target.mCalls.clear();
    g.SetInk(Color(1, 2, 3));
    font.DrawText(g, 0, 20, "c", Color(200, 100, 50), g.GetClip());
    EXPECT_EQ(target.mCalls[0].mColor, Color(0, 0, 0, 255));
    EXPECT_EQ(target.mCalls[1].mColor, Color(200, 100, 50, 255));
    EXPECT_EQ(g.GetInk(), Color(1, 2, 3));
}

TEST(ImageFontLayers, DrawOrderBucketsAndCommandLimit)
{
    FontFixture f;
    ImageFont font(f.mDir.File("font.txt"), &f.mHost);
    font.SetPointSize(16); // the main layer only
    RecordingImage target(100000, 100);
    Graphics g(&target);
    std::vector<Rect> rects;
    int width = 0;
    font.DrawTextLayers(g, 0, 20, "cab", Color::White, g.GetClip(), &rects, &width);
    // a (order -200) shares the first bucket with b (order -128); c (order 0) comes last.
    EXPECT_EQ(BlitSourceX(target), (std::vector<int>{16, 22, 28}));
    EXPECT_EQ(width, 6 + 1 + 6 + 1 + 6);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0], Rect(7, 12, 6, 10)); // pen after "c" plus spacing; baseline 20 minus ascent 8

    target.mCalls.clear();
    font.DrawText(g, 0, 20, std::string(5000, 'c'), Color::White, g.GetClip());
    EXPECT_EQ(target.mCalls.size(), size_t(ImageFont::MAX_DRAW_COMMANDS));
}

TEST(ImageFontLayers, SimpleFormWithWidthsFile)
{
    TempDir dir;
    WriteText(dir.File("widths.txt"), "4 8\nA 5\nb 6\n");
    std::shared_ptr<Image> strip(MakeFilled(11, 9, 0xFFFFFFFF).release());
    ImageFont font(strip, dir.File("widths.txt"));
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.Ascent(), 9);
    EXPECT_EQ(font.TextWidth("Ab"), 11);
    EXPECT_EQ(font.TextWidth("aB "), 15); // missing cases map to the other case; a blank is 4
    EXPECT_EQ(font.TextWidth("z"), 0);

    WriteText(dir.File("bad.txt"), "4 8\nA five\n");
    EXPECT_FALSE(ImageFont(strip, dir.File("bad.txt")).IsLoaded());
}

TEST(SysFont, RendersWithDejaVuStandIn)
{
    SysFont font("No Such Face Anywhere", 12);
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_NE(font.GetFilePath().find("DejaVuSans.ttf"), std::string::npos);
    EXPECT_GT(font.Ascent(), 10); // 16 pixels at 96 dots per inch
    EXPECT_GT(font.Height(), font.Ascent());
    EXPECT_GT(font.TextWidth("Velmora"), font.TextWidth("Vel"));
    EXPECT_NE(SysFont::FindFaceFile("DejaVu Sans", true, false).find("DejaVuSans-Bold"), std::string::npos);

    auto canvas = MakeFilled(120, 30, 0xFF000000);
    Graphics g(canvas.get());
    g.SetTypeface(&font);
    g.SetInk(Color(255, 255, 255));
    g.PrintText("Hello", 2, 20);
    int lit = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            lit += (canvas->GetPixel(x, y) & 0xFF) > 128;
    EXPECT_GT(lit, 20);
    EXPECT_EQ(canvas->GetPixel(119, 29), 0xFF000000u);
    std::unique_ptr<Font> copy(font.Clone());
    EXPECT_EQ(copy->TextWidth("Hello"), font.TextWidth("Hello"));
}
