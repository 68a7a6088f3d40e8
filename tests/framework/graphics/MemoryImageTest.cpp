#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelKernels.h"
#include "framework/graphics/ScreenImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"

#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace Zestra;
using GfxTest::MakeFilled;
using GfxTest::MakeImage;

TEST(MemoryImagePixels, FillFollowsTheBlendRule)
{
    struct Case
    {
        const char* mName;
        uint32_t mDest;
        Color mColor;
        uint32_t mExpected;
    };
    const Case cases[] = {
        {"translucent on transparent keeps pure colour", 0x00000000, Color(255, 0, 0, 128), 0x80FF0000},
        {"translucent on opaque white is halfway", 0xFFFFFFFF, Color(255, 0, 0, 128), 0xFFFF7F7F},
        {"opaque overwrites", 0x80123456, Color(1, 2, 3, 255), 0xFF010203},
        {"alpha 0 changes nothing", 0xFF123456, Color(255, 255, 255, 0), 0xFF123456},
        // A = 128 + 127 * 128 / 255 = 191, w = 128 * 255 / 191 = 170, c = 255 * 170 / 256 = 169.
        {"translucent on translucent", 0x80000000, Color(255, 255, 255, 128), 0xBFA9A9A9},
    };
    for (const Case& c : cases)
    {
        auto img = MakeFilled(2, 2, c.mDest);
        img->FillRectangle(Rect(0, 0, 2, 2), c.mColor, DRAWMODE_NORMAL);
        EXPECT_EQ(img->GetPixel(1, 1), c.mExpected) << c.mName;
        EXPECT_TRUE(img->GuardIntact()) << c.mName;
    }
}

TEST(MemoryImagePixels, BlitNormalAndAdditive)
{
    struct Case
    {
        const char* mName;
        uint32_t mDest;
        uint32_t mSrc;
        int mMode;
        Color mTint;
        uint32_t mExpected;
    };
    const Case cases[] = {
        {"additive saturates and keeps destination alpha", 0x80C8C8C8, 0xFFFFFFFF, DRAWMODE_ADDITIVE, Color::White,
         0x80FFFFFF},
        {"additive weights a partial source by alpha / 256", 0xFF000000, 0x80FF0000, DRAWMODE_ADDITIVE, Color::White,
         0xFF7F0000},
        {"transparent source leaves the pixel", 0xFF102030, 0x00FFFFFF, DRAWMODE_NORMAL, Color::White, 0xFF102030},
        {"partial onto opaque", 0xFF000000, 0x80FFFFFF, DRAWMODE_NORMAL, Color::White, 0xFF7F7F7F},
        {"tint halves red and alpha", 0xFF000000, 0xFFFF0000, DRAWMODE_NORMAL, Color(128, 255, 255, 255),
         0xFF800000},
        {"tinted alpha blends", 0xFF000000, 0xFFFFFFFF, DRAWMODE_NORMAL, Color(255, 255, 255, 128), 0xFF7F7F7F},
    };
    for (const Case& c : cases)
    {
        auto dest = MakeFilled(3, 1, c.mDest);
        auto src = MakeFilled(3, 1, c.mSrc);
        dest->BlitImage(src.get(), 0, 0, Rect(0, 0, 3, 1), c.mTint, c.mMode);
        EXPECT_EQ(dest->GetPixel(2, 0), c.mExpected) << c.mName;
        EXPECT_TRUE(src->IsUsed()) << c.mName;
    }
}

TEST(MemoryImageCaches, AlphaRunLengths)
{
    auto img = MakeImage(6, 1, {0xFF000000, 0xFF000000, 0x00000000, 0x80000000, 0x10000000, 0xFE000000});
    const uint8_t* runs = img->AlphaRuns();
    EXPECT_EQ(std::vector<int>(runs, runs + 6), (std::vector<int>{2, 1, 1, 3, 2, 1}));

    auto column = MakeImage(1, 3, {0xFF000000, 0xFF000000, 0x00000000});
    const uint8_t* colRuns = column->AlphaRuns();
    EXPECT_EQ(std::vector<int>(colRuns, colRuns + 3), (std::vector<int>{1, 1, 1}));

    auto wide = MakeFilled(300, 1, 0xFF000000);
    EXPECT_EQ(wide->AlphaRuns()[0], 255);
    EXPECT_EQ(wide->AlphaRuns()[299], 1);

    // Additive runs split black from not black.
    auto add = MakeImage(4, 1, {0xFF000000, 0xFF000000, 0xFF010000, 0x00000000});
    const uint8_t* addRuns = add->AdditiveRuns();
    EXPECT_EQ(std::vector<int>(addRuns, addRuns + 4), (std::vector<int>{2, 1, 1, 1}));
}

TEST(MemoryImageCaches, ToPaletteLimit)
{
    std::vector<uint32_t> colors(256);
    for (uint32_t i = 0; i < 256; ++i)
        colors[i] = 0xFF000000u | (i * 0x010203u);
    auto fits = MakeImage(16, 16, colors);
    ASSERT_TRUE(fits->ToPalette());
    EXPECT_TRUE(fits->IsPalettized());
    EXPECT_FALSE(fits->HasBits());
    EXPECT_TRUE(fits->WantsPalette());
    EXPECT_EQ(fits->GetPaletteTable()[0], colors[0]); // first appearance is entry 0
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(fits->GetPixel(i % 16, i / 16), colors[size_t(i)]);
    EXPECT_EQ(fits->GetBits()[255], colors[255]); // back to 32-bit losslessly

    colors.push_back(0x12345678);
    auto tooMany = MakeImage(257, 1, colors);
    EXPECT_FALSE(tooMany->ToPalette());
    EXPECT_FALSE(tooMany->IsPalettized());
    EXPECT_FALSE(tooMany->WantsPalette());
    EXPECT_EQ(std::vector<uint32_t>(tooMany->PeekBits(), tooMany->PeekBits() + 257), colors);
}

TEST(MemoryImageCaches, TransparencyFlags)
{
    auto img = MakeImage(2, 1, {0xFFFFFFFF, 0x80FFFFFF});
    EXPECT_TRUE(img->HasClearPixels());
    EXPECT_TRUE(img->HasPartialAlpha());
    img->ForceTransparencyFlags(false, false);
    img->MarkPixelsChanged();
    img->RefreshTransparencyFlags();
    EXPECT_FALSE(img->HasClearPixels());
    EXPECT_FALSE(img->HasPartialAlpha());

    auto cut = MakeImage(2, 1, {0xFFFFFFFF, 0x00000000});
    EXPECT_TRUE(cut->HasClearPixels());
    EXPECT_FALSE(cut->HasPartialAlpha());
    // Drawing over everything opaquely makes the destination opaque again.
    auto opaque = MakeFilled(2, 1, 0xFF00FF00);
    cut->BlitImage(opaque.get(), 0, 0, Rect(0, 0, 2, 1), Color::White, DRAWMODE_NORMAL);
    cut->RefreshTransparencyFlags();
    EXPECT_FALSE(cut->HasClearPixels());
}

TEST(MemoryImageCaches, DropBitsAndRestorePixels)
{
    auto img = MakeImage(3, 1, {0xFF102030, 0x00000000, 0xFFFFFFFF});
    int version = img->GetPixelVersion();
    img->DropBits();
    EXPECT_FALSE(img->HasBits());
    EXPECT_TRUE(img->DropsBitsAfterUpload());
    const uint32_t* bits = img->GetBits(); // converted back from the premultiplied copy
    EXPECT_EQ(bits[0], 0xFF102030u);
    EXPECT_EQ(bits[2], 0xFFFFFFFFu);
    EXPECT_TRUE(img->GuardIntact());
    img->FillRectangle(Rect(0, 0, 1, 1), Color(0, 0, 0), DRAWMODE_NORMAL);
    EXPECT_GT(img->GetPixelVersion(), version);
}

TEST(MemoryImageCaches, NativePremultiplied)
{
    auto img = MakeImage(2, 1, {0x80FF8040, 0xFFFFFFFF});
    NativeFormat abgr;
    abgr.mRedMask = 0xFF;
    abgr.mRedShift = 0;
    abgr.mBlueMask = 0xFF0000;
    abgr.mBlueShift = 16;
    const uint32_t* native = img->NativePremultiplied(abgr);
    // channel * (alpha + 1) / 256: 255 * 129 / 256 = 128, 128 * 129 / 256 = 64, 64 * 129 / 256 = 32.
    EXPECT_EQ(native[0], 0x80204080u);
    EXPECT_EQ(native[1], 0xFFFFFFFFu);
}

TEST(MemoryImageCaches, AnimationCompute)
{
    AnimationInfo pingPong;
    pingPong.mKind = AnimationInfo::PingPong;
    pingPong.mFrameDelay = 0;
    pingPong.Compute(4, 5, 0);
    EXPECT_EQ(pingPong.mCelMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(pingPong.mCelCount, 6);
    EXPECT_EQ(pingPong.mPerCelDelay, (std::vector<int>{5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(pingPong.mTotalTime, 10);
    EXPECT_EQ(pingPong.CelAtTime(5), 1);

    AnimationInfo loop;
    loop.mKind = AnimationInfo::Loop;
    loop.mFrameDelay = 3;
    loop.Compute(0);
    EXPECT_EQ(loop.mCelCount, 1);
    EXPECT_EQ(loop.mTotalTime, 3);
}

TEST(MemoryImageCaches, CelGridOfZeroIsOne)
{
    auto img = MakeFilled(50, 10, 0xFFFFFFFF);
    img->SetCelGrid(0, -3);
    EXPECT_EQ(img->GetCelRows(), 1);
    EXPECT_EQ(img->GetCelCols(), 1);
    EXPECT_EQ(img->GetCelWidth(), 50);
}

// The fast path (opaque destination, run-length source) and the tinted run-skipping path must give exactly what
// the per-pixel rule gives.
TEST(MemoryImageBlit, FastPathMatchesPixelRule)
{
    std::mt19937 rng(7);
    const int w = 37, h = 23;
    // Few distinct colours, so the same sprite also works as a palette image.
    std::vector<uint32_t> sprite(size_t(w * h));
    for (uint32_t& p : sprite)
    {
        uint32_t kind = rng() % 10;
        uint32_t a = kind < 6 ? 0 : (kind < 9 ? 255 : 1 + rng() % 254);
        p = (a << 24) | ((rng() % 16) * 0x0F0A05u);
    }
    std::vector<uint32_t> background(64 * 48);
    for (uint32_t& p : background)
        p = 0xFF000000u | (rng() & 0xFFFFFF);
    for (int variant = 0; variant < 8; ++variant)
    {
        bool palette = variant & 1;
        if (variant & 4) // a translucent destination takes the general rule
            for (uint32_t& p : background)
                p = (p & 0xFFFFFF) | 0x80000000u;
        Color tint = variant & 2 ? Color(200, 100, 50, 180) : Color::White;
        auto src = MakeImage(w, h, sprite);
        if (palette)
        {
            ASSERT_TRUE(src->ToPalette());
        }
        auto dest = MakeImage(64, 48, background);
        dest->BlitImage(src.get(), -5, 30, Rect(0, 0, w, h), tint, DRAWMODE_NORMAL);
        dest->BlitImage(src.get(), 40, 3, Rect(2, 1, 30, 20), tint, DRAWMODE_NORMAL);
        std::vector<uint32_t> expected = background;
        auto blend = [&](int x, int y, const Rect& sr) {
            for (int j = 0; j < sr.mHeight; ++j)
                for (int i = 0; i < sr.mWidth; ++i)
                {
                    int dx = x + i, dy = y + j;
                    if (dx < 0 || dy < 0 || dx >= 64 || dy >= 48)
                        continue;
                    uint32_t& d = expected[size_t(dy * 64 + dx)];
                    d = Pixels::BlendNormal(d, Pixels::Tint(sprite[size_t((sr.mY + j) * w + sr.mX + i)], tint));
                }
        };
        blend(-5, 30, Rect(0, 0, w, h));
        blend(40, 3, Rect(2, 1, 30, 20));
        EXPECT_EQ(std::vector<uint32_t>(dest->PeekBits(), dest->PeekBits() + 64 * 48), expected) << variant;
        EXPECT_TRUE(dest->GuardIntact());
    }
}

// Every length from 0 to 40 exercises the vector loops and their tails.
TEST(PixelKernels, VectorPathsMatchScalar)
{
    std::mt19937 rng(11);
    std::vector<uint32_t> src(300), dest(300);
    for (size_t i = 0; i < src.size(); ++i)
    {
        src[i] = (uint32_t((i * 7) % 256) << 24) | (rng() & 0xFFFFFF); // every alpha value
        dest[i] = 0xFF000000u | (rng() & 0xFFFFFF);
    }
    std::vector<uint32_t> rule = dest;
    Pixels::BlendRowScalar(rule.data(), src.data(), int(src.size()));
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_EQ(rule[i], Pixels::BlendNormal(dest[i], src[i])) << i; // the same rule on opaque pixels

    struct Kernel
    {
        const char* mName;
        Pixels::BlendRowFn mBlend;
        Pixels::FillRowFn mFill;
        Pixels::CopyRowFn mCopy;
    };
    std::vector<Kernel> kernels = {{"sse2", Pixels::BlendRowSSE2, Pixels::FillRowSSE2, Pixels::CopyRowSSE2}};
    if (Pixels::CpuHasAVX2())
        kernels.push_back({"avx2", Pixels::BlendRowAVX2, Pixels::FillRowAVX2, Pixels::CopyRowAVX2});
    for (const Kernel& k : kernels)
        for (int offset : {0, 3})
            for (int count = 0; count <= 40; ++count)
            {
                // The pixel after the range must survive: tails may not write past the end.
                std::vector<uint32_t> expected = dest, actual = dest;
                Pixels::BlendRowScalar(expected.data() + offset, src.data() + offset, count);
                k.mBlend(actual.data() + offset, src.data() + offset, count);
                ASSERT_EQ(actual, expected) << k.mName << " blend " << count;
                for (uint32_t color : {0x80000000u, 0x01FFFFFFu, 0xFE102030u, 0xFF445566u, 0x00FFFFFFu})
                {
                    expected = dest, actual = dest;
                    Pixels::FillRowScalar(expected.data() + offset, color, count);
                    k.mFill(actual.data() + offset, color, count);
                    ASSERT_EQ(actual, expected) << k.mName << " fill " << std::hex << color << std::dec << count;
                }
                expected = dest, actual = dest;
                std::copy(src.begin() + offset, src.begin() + offset + count, expected.begin() + offset);
                k.mCopy(actual.data() + offset, src.data() + offset, count);
                ASSERT_EQ(actual, expected) << k.mName << " copy " << count;
            }
}

TEST(MemoryImageBlit, LinesAndClears)
{
    auto img = MakeFilled(8, 8, 0xFF000000);
    img->DrawSegment(0, 0, 7, 7, Color(255, 255, 255), DRAWMODE_NORMAL);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(img->GetPixel(i, i), 0xFFFFFFFFu);
    EXPECT_EQ(img->GetPixel(1, 0), 0xFF000000u);
    img->DrawSegment(2, 5, 6, 5, Color(255, 0, 0), DRAWMODE_NORMAL); // horizontal: a fill of the span
    EXPECT_EQ(img->GetPixel(6, 5), 0xFFFF0000u);
    img->DrawSmoothSegment(-20, -3, 30, 12, Color(0, 255, 0), DRAWMODE_NORMAL); // off-image ends are safe
    img->ClearRectangle(Rect(6, 6, 10, 10));
    EXPECT_EQ(img->GetPixel(7, 7), 0u);
    EXPECT_TRUE(img->GuardIntact());
}

TEST(MemoryImageBlit, StretchedRotatedAndTriangles)
{
    auto src = MakeImage(2, 1, {0xFFFF0000, 0xFF0000FF});
    auto dest = MakeFilled(8, 8, 0xFF000000);
    dest->BlitStretchedImage(src.get(), Rect(0, 0, 8, 2), Rect(0, 0, 2, 1), dest->GetRect(), Color::White, 0, true);
    EXPECT_EQ(dest->GetPixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(dest->GetPixel(7, 1), 0xFF0000FFu);
    EXPECT_EQ(dest->GetPixel(0, 2), 0xFF000000u);

    // A half turn about the image centre swaps the two pixels.
    auto rotated = MakeFilled(4, 4, 0xFF000000);
    rotated->BlitRotatedImage(src.get(), 1, 1, Rect(0, 0, 2, 1), rotated->GetRect(), Color::White, 0, 3.14159265,
                              1.0, 0.5);
    EXPECT_EQ(rotated->GetPixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(rotated->GetPixel(2, 1), 0xFFFF0000u);

    auto tri = MakeFilled(4, 4, 0xFF000000);
    Triangle t{{{0, 0, 0, 0}, {4, 0, 2, 0}, {0, 4, 0, 1}}};
    tri->BlitTrianglesImage(src.get(), &t, 1, tri->GetRect(), Color::White, 0, 0, 0, false);
    EXPECT_EQ(tri->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(tri->GetPixel(3, 3), 0xFF000000u); // outside the triangle
    EXPECT_TRUE(tri->GuardIntact());
}

// Quick scaling: destination pixel i takes the source pixel reached by stepping source size / destination size
// from the source start (shrinking 4 into 3 takes 0, 1, 2, not the pixels under the destination centres).
TEST(MemoryImageBlit, QuickScalingStepsFromTheSourceStart)
{
    struct Case
    {
        const char* mName;
        Rect mSrc;
        Rect mDest;
        Rect mClip;
        bool mMirror;
        std::vector<int> mColumns; // source column of each destination pixel of the clipped row
        std::vector<int> mRows;    // source row of each destination row of the clipped rectangle
    };
    const Rect all(0, 0, 16, 16);
    const Case cases[] = {
        {"4 into 3", Rect(0, 0, 4, 1), Rect(0, 0, 3, 1), all, false, {0, 1, 2}, {0}},
        {"4 into 2", Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), all, false, {0, 2}, {0}},
        {"5 into 3, from column 2", Rect(2, 0, 5, 1), Rect(1, 0, 3, 1), all, false, {2, 3, 5}, {0}},
        {"8 into 3 rows", Rect(0, 0, 1, 8), Rect(0, 0, 1, 3), all, false, {0}, {0, 2, 5}},
        {"2 into 5", Rect(0, 0, 2, 1), Rect(0, 0, 5, 1), all, false, {0, 0, 0, 1, 1}, {0}},
        {"the same size", Rect(1, 1, 3, 2), Rect(4, 4, 3, 2), all, false, {1, 2, 3}, {1, 2}},
        {"clipped keeps the steps of the whole row", Rect(0, 0, 6, 1), Rect(0, 0, 4, 1), Rect(2, 0, 9, 9), false,
         {3, 4}, {0}},
        {"mirrored 4 into 3", Rect(0, 0, 4, 1), Rect(0, 0, 3, 1), all, true, {2, 1, 0}, {0}},
    };
    for (const Case& c : cases)
    {
        // Each source pixel names its own column and row.
        std::vector<uint32_t> pixels(64);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pixels[size_t(y * 8 + x)] = 0xFF000000u | uint32_t(y << 8) | uint32_t(x);
        auto src = MakeImage(8, 8, pixels);
        ScreenImage dest(16, 16); // the one image with a mirrored stretch
        dest.FillRectangle(dest.GetRect(), Color(255, 255, 255), DRAWMODE_NORMAL);
        if (c.mMirror)
            dest.BlitStretchedMirroredImage(src.get(), c.mDest, c.mSrc, c.mClip, Color::White, 0, true);
        else
            dest.BlitStretchedImage(src.get(), c.mDest, c.mSrc, c.mClip, Color::White, 0, true);
        Rect drawn = c.mDest.Intersection(c.mClip);
        ASSERT_EQ(size_t(drawn.mWidth), c.mColumns.size()) << c.mName;
        ASSERT_EQ(size_t(drawn.mHeight), c.mRows.size()) << c.mName;
        for (int j = 0; j < drawn.mHeight; ++j)
            for (int i = 0; i < drawn.mWidth; ++i)
                EXPECT_EQ(dest.GetPixel(drawn.mX + i, drawn.mY + j),
                          0xFF000000u | uint32_t(c.mRows[size_t(j)] << 8) | uint32_t(c.mColumns[size_t(i)]))
                    << c.mName << " at " << i << "," << j;
        // Nothing outside the destination changes.
        EXPECT_EQ(dest.GetPixel(drawn.mX + drawn.mWidth, drawn.mY), 0xFFFFFFFFu) << c.mName;
    }
}

TEST(ScreenImage, MirroredBlitAndDirtyRegions)
{
    ScreenImage screen(16, 8);
    screen.FillRectangle(screen.GetRect(), Color(0, 0, 0), DRAWMODE_NORMAL);
    screen.TakeDirtyRects();
    auto src = MakeImage(3, 1, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000});
    screen.BlitMirroredImage(src.get(), 2, 1, Rect(0, 0, 3, 1), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(screen.GetPixel(2, 1), 0xFFFF0000u);
    EXPECT_EQ(screen.GetPixel(4, 1), 0xFF0000FFu);
    screen.FillRectangle(Rect(10, 5, 2, 2), Color(9, 9, 9), DRAWMODE_NORMAL);
    std::vector<Rect> dirty = screen.GetDirtyRects();
    ASSERT_EQ(dirty.size(), 2u);
    EXPECT_EQ(dirty[0], Rect(2, 1, 3, 1));
    EXPECT_EQ(dirty[1], Rect(10, 5, 2, 2));

    HeadlessPlatform platform;
    std::string error;
    ASSERT_EQ(platform.CreateMainWindow(WindowSpec(), error), DisplayResult::Ok);
    EXPECT_TRUE(screen.PresentTo(platform));
    EXPECT_EQ(platform.LastDirty(), dirty);
    EXPECT_EQ(platform.PixelAt(4, 1), 0xFF0000FFu);
    EXPECT_FALSE(screen.HasChanges());
    // Drawing most of the screen presents it whole (an empty list).
    screen.FillRectangle(Rect(0, 0, 16, 7), Color(1, 1, 1), DRAWMODE_NORMAL);
    EXPECT_TRUE(screen.PresentTo(platform));
    EXPECT_TRUE(platform.LastDirty().empty());
}
