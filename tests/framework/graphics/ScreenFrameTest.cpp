// Frames painted through the screen's comparison with the last frame must leave exactly the pixels that painting
// every frame in full leaves, and hand the display every rectangle that changed.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelKernels.h"
#include "framework/graphics/ScreenImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"

#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Zestra;
using GfxTest::MakeImage;

namespace
{

constexpr int kWidth = 96;
constexpr int kHeight = 80;

// A picture with opaque, translucent and transparent stretches (runs longer than the copy threshold included).
std::unique_ptr<MemoryImage> Sprite(int w, int h, uint32_t seed)
{
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            uint32_t v = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ seed;
            uint32_t alpha = (x + y) % 7 == 0 ? 0x80u : (x < w / 5 || y < h / 6) ? 0u : 0xFFu;
            if (x > w / 2 && y % 5 == 1)
                alpha = 0x30u + (v & 0x7Fu);
            pixels[size_t(y) * size_t(w) + size_t(x)] = (alpha << 24) | (v & 0xFFFFFFu);
        }
    return MakeImage(w, h, pixels);
}

std::unique_ptr<MemoryImage> Opaque(int w, int h, uint32_t seed)
{
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | ((uint32_t(i) * 2246822519u + seed) & 0xFFFFFFu);
    return MakeImage(w, h, pixels);
}

void Repaint(MemoryImage& image, uint32_t seed)
{
    uint32_t* bits = image.GetBits();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i)
        bits[i] = (i % 3 == 0 ? 0x90000000u : 0xFF000000u) | ((uint32_t(i) * 97u + seed * 7919u) & 0xFFFFFFu);
    image.MarkPixelsChanged();
}

struct Scene
{
    std::unique_ptr<MemoryImage> mBackground = Opaque(kWidth, kHeight, 11);
    std::unique_ptr<MemoryImage> mSprite = Sprite(40, 24, 3);
    std::unique_ptr<MemoryImage> mSmall = Sprite(9, 7, 5);
    std::unique_ptr<MemoryImage> mTile = Opaque(20, 18, 7);
    std::unique_ptr<MemoryImage> mCanvas = Sprite(14, 12, 9);
    std::unique_ptr<MemoryImage> mTemporary;
};

using Painter = std::function<void(Graphics& g, Scene& scene, ScreenImage& screen, int frame)>;

struct Case
{
    const char* mName;
    Painter mPaint;
    Painter mBetween; // drawing straight onto the screen after the frame, or null
};

} // namespace

TEST(ScreenFrames, ComparedFramesPaintWhatFullFramesPaint)
{
    const Case cases[] = {
        {"sprites move over an opaque background",
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             g.Blit(s.mBackground.get(), 0, 0);
             g.Blit(s.mTile.get(), 60, 50);
             g.Blit(s.mSprite.get(), (f * 3) % 70 - 5, 10);
             g.BlitFlipped(s.mSprite.get(), 70 - (f * 5) % 80, 40, true);
             g.SetTintImages(true);
             g.SetInk(Color(200, 120, 60, f % 2 == 0 ? 255 : 150));
             g.Blit(s.mSmall.get(), 30, 30 + f % 3);
             g.SetTintImages(false);
             g.SetBlendMode(DRAWMODE_ADDITIVE);
             g.Blit(s.mSmall.get(), 80, 5);
             g.SetBlendMode(DRAWMODE_NORMAL);
         },
         nullptr},
        {"nothing opaque below: translucent fills pile up",
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             g.SetInk(Color(30, 60, 200, 40));
             g.FillBox(10, 10, 40, 30);
             g.Blit(s.mSmall.get(), 50 + f % 4, 50);
         },
         nullptr},
        {"a picture changes between frames and within one",
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             g.Blit(s.mBackground.get(), 0, 0);
             if (f % 3 == 1)
                 Repaint(*s.mCanvas, uint32_t(f));
             g.Blit(s.mCanvas.get(), 20, 20);
             if (f % 4 == 2)
                 Repaint(*s.mCanvas, uint32_t(f) + 100);
             g.Blit(s.mCanvas.get(), 60, 40);
         },
         nullptr},
        {"a picture is replaced by a new one in the same place",
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             g.Blit(s.mBackground.get(), 0, 0);
             s.mTemporary.reset();
             s.mTemporary = Sprite(16, 16, uint32_t(f / 2));
             g.Blit(s.mTemporary.get(), 33, 17);
         },
         nullptr},
        {"scaled, turned and transformed pictures, lines, spans and triangles",
         [](Graphics& g, Scene& s, ScreenImage& screen, int f) {
             g.Blit(s.mBackground.get(), 0, 0);
             g.BlitScaled(s.mSprite.get(), Rect(5, 5, 30 + f % 3, 20), Rect(0, 0, 40, 24));
             g.SetQuickScaling(true);
             g.BlitFlipped(s.mSprite.get(), Rect(50, 2, 25, 30 - f % 2), Rect(0, 0, 40, 24), true);
             g.SetQuickScaling(false);
             g.BlitRotated(s.mSmall.get(), 40, 40, 0.3 * (f / 3), 4.5, 3.5);
             g.BlitRotatedAt(s.mSmall.get(), 70.25, 60.5, 0.0, 0.0, 0.0, Rect(0, 0, 9, 7));
             g.SetInk(Color(250, 250, 20, 200));
             g.StrokeLine(3, 70, 90, 60 + f % 5);
             g.StrokeSmoothLine(90, 75, 10, 40 + f % 2);
             g.StrokeLine(10, 78, 60, 78);
             Triangle tri;
             tri.mVertex[0] = TriVertex{float(20 + f % 3), 50, 0, 0};
             tri.mVertex[1] = TriVertex{45, 55, 9, 0};
             tri.mVertex[2] = TriVertex{30, 75, 4, 7};
             g.BlitTriangles(s.mSmall.get(), &tri, 1);
             const Span spans[] = {{30, 60, 5}, {31, 59 + f % 2, 7}};
             const uint8_t coverage[] = {10, 60, 120, 200, 255, 0, 30, 90, 160, 220, 255, 255};
             screen.FillSpansWithCoverage(spans, 2, Color(0, 200, 0, 180), coverage, DRAWMODE_NORMAL);
         },
         nullptr},
        {"frames that paint only a corner or nothing",
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             if (f % 3 == 0)
             {
                 g.Blit(s.mBackground.get(), 0, 0);
                 g.Blit(s.mSprite.get(), f % 9, 30);
             }
             else if (f % 3 == 1)
             {
                 g.SetInk(Color(255, 0, 0, 90));
                 g.FillBox(70, 60, 20, 15);
             }
         },
         nullptr},
        {"drawing outside the frames",
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             g.Blit(s.mBackground.get(), 0, 0);
             g.Blit(s.mSprite.get(), 20, 20);
         },
         [](Graphics& g, Scene& s, ScreenImage&, int f) {
             if (f % 2 == 0)
             {
                 g.SetInk(Color(0, 0, 0, 255));
                 g.FillBox(25 + f, 25, 6, 6);
             }
         }},
        {"the screen drawn onto itself and clipped drawing",
         [](Graphics& g, Scene& s, ScreenImage& screen, int f) {
             g.Blit(s.mBackground.get(), 0, 0);
             g.Blit(s.mSprite.get(), f % 5, 0);
             g.Blit(&screen, 50, 50, Rect(0, 0, 30, 20));
             g.SetClip(Rect(10, 30, 30 + f % 4, 25));
             g.Blit(s.mSprite.get(), 5, 28);
             g.BlitFlipped(s.mSprite.get(), 12, 35, true);
             g.ClearClip();
         },
         nullptr},
    };
    for (const Case& c : cases)
    {
        // Each screen draws its own copy of the pictures, so changes made while painting one reach the other
        // in the same order.
        Scene comparedScene, fullScene;
        ScreenImage compared(kWidth, kHeight);
        ScreenImage full(kWidth, kHeight);
        full.SetRetainedDrawing(false);
        HeadlessPlatform display;
        std::string error;
        ASSERT_EQ(display.CreateMainWindow(WindowSpec{"T", kWidth, kHeight}, error), DisplayResult::Ok);
        for (int frame = 0; frame < 14; ++frame)
        {
            for (auto [screen, scene] : {std::pair{&compared, &comparedScene}, std::pair{&full, &fullScene}})
            {
                Graphics g(screen);
                screen->BeginFrame();
                c.mPaint(g, *scene, *screen, frame);
                screen->EndFrame();
                if (c.mBetween)
                {
                    Graphics after(screen);
                    c.mBetween(after, *scene, *screen, frame);
                }
            }
            ASSERT_TRUE(compared.PresentTo(display) || !compared.HasChanges());
            int wrong = 0, unshown = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                {
                    wrong += compared.GetPixel(x, y) != full.GetPixel(x, y);
                    unshown += display.PixelAt(x, y) != compared.GetPixel(x, y);
                }
            EXPECT_EQ(wrong, 0) << c.mName << ", frame " << frame;
            EXPECT_EQ(unshown, 0) << c.mName << ", frame " << frame << ": a change the display was not told of";
        }
    }
}

TEST(ScreenFrames, UnchangedFramesRepaintNothingAndMovesRepaintLittle)
{
    Scene scene;
    ScreenImage screen(kWidth, kHeight);
    auto paint = [&](int spriteX) {
        Graphics g(&screen);
        screen.BeginFrame();
        g.Blit(scene.mBackground.get(), 0, 0);
        g.Blit(scene.mSmall.get(), spriteX, 40);
        screen.EndFrame();
    };
    paint(10);
    EXPECT_EQ(screen.LastFramePaintedPixels(), int64_t(kWidth) * kHeight) << "the first frame is painted whole";
    paint(10);
    EXPECT_EQ(screen.LastFramePaintedPixels(), 0);
    paint(11);
    EXPECT_GT(screen.LastFramePaintedPixels(), 0);
    EXPECT_LE(screen.LastFramePaintedPixels(), int64_t(2 * ScreenImage::TILE_SIZE) * 2 * ScreenImage::TILE_SIZE);
}

// The mirrored blit walks the source by its alpha runs; every pixel must follow the per-pixel rule.
TEST(ScreenFrames, MirroredBlitsFollowThePixelRule)
{
    struct MirrorCase
    {
        const char* mName;
        int mX, mY;
        Rect mSrc;
        Color mColor;
        uint32_t mDest; // the destination's fill: opaque or not
        bool mPalette;
    };
    const MirrorCase cases[] = {
        {"whole, untinted, opaque below", 10, 5, Rect(0, 0, 40, 24), Color::White, 0xFF204060, false},
        {"cut by the left edge", -13, 5, Rect(0, 0, 40, 24), Color::White, 0xFF204060, false},
        {"cut by the right edge", 70, 5, Rect(0, 0, 40, 24), Color::White, 0xFF204060, false},
        {"part of the source", 4, 9, Rect(7, 3, 25, 17), Color::White, 0xFF204060, false},
        {"tinted", 10, 5, Rect(0, 0, 40, 24), Color(90, 200, 255, 170), 0xFF204060, false},
        {"onto translucent pixels", 10, 5, Rect(0, 0, 40, 24), Color::White, 0x60204060, false},
        {"from a palette", -3, 2, Rect(2, 0, 38, 24), Color::White, 0xFF204060, true},
    };
    for (const MirrorCase& c : cases)
    {
        auto src = Sprite(40, 24, 21);
        if (c.mPalette)
        {
            // Few colours, so the palette holds them all.
            uint32_t* bits = src->GetBits();
            for (int i = 0; i < 40 * 24; ++i)
            {
                uint32_t alpha = bits[i] >> 24;
                alpha = alpha == 0 || alpha == 0x80 || alpha == 0xFF ? alpha : 0x40;
                bits[i] = (alpha << 24) | (bits[i] & 0x808080u);
            }
            src->MarkPixelsChanged();
            ASSERT_TRUE(src->ToPalette()) << c.mName;
        }
        ScreenImage screen(kWidth, kHeight);
        screen.FillRectangle(screen.GetRect(), Color(int((c.mDest >> 16) & 0xFF), int((c.mDest >> 8) & 0xFF),
                                                     int(c.mDest & 0xFF), int(c.mDest >> 24)),
                             DRAWMODE_NORMAL);
        std::vector<uint32_t> expected(size_t(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                expected[size_t(y) * kWidth + size_t(x)] = screen.GetPixel(x, y);
        const bool opaqueBelow = (c.mDest >> 24) == 0xFF;
        for (int j = 0; j < c.mSrc.mHeight; ++j)
            for (int i = 0; i < c.mSrc.mWidth; ++i)
            {
                const int x = c.mX + i, y = c.mY + j;
                if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
                    continue;
                uint32_t s = src->GetPixel(c.mSrc.mX + c.mSrc.mWidth - 1 - i, c.mSrc.mY + j);
                if ((s >> 24) == 0)
                    continue;
                if (!Pixels::IsWhite(c.mColor))
                    s = Pixels::Tint(s, c.mColor);
                uint32_t& d = expected[size_t(y) * kWidth + size_t(x)];
                d = opaqueBelow ? Pixels::BlendOntoOpaque(d, s) : Pixels::BlendNormal(d, s);
            }
        screen.BlitMirroredImage(src.get(), c.mX, c.mY, c.mSrc, c.mColor, DRAWMODE_NORMAL);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                wrong += screen.GetPixel(x, y) != expected[size_t(y) * kWidth + size_t(x)];
        EXPECT_EQ(wrong, 0) << c.mName;
    }
}
