// The store scene: what one busy frame of the shop floor costs the software renderer. An opaque 800 x 600
// background, 40 alpha sprites of 120 x 120 (blobs with a soft edge and a drop shadow), 30 round 40 x 40 icons,
// 10 opaque HUD panels, and in the dim variant a half-transparent black veil over everything, as a dialog shows.
// 12 of the 70 sprite and icon blits hang off the screen. Everything is drawn through Graphics into the screen
// image, one frame per iteration.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/ScreenImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace Zestra;

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Coverage of a disc of radius r at pixel (x, y), with a 1.5 pixel soft edge.
double Disc(double x, double y, double cx, double cy, double r)
{
    double d = std::sqrt((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy));
    return std::clamp((r + 0.75 - d) / 1.5, 0.0, 1.0);
}

uint32_t Argb(int a, int r, int g, int b)
{
    return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

struct Blit
{
    MemoryImage* mImage;
    int mX;
    int mY;
};

struct StoreScene
{
    std::unique_ptr<MemoryImage> mBackground;
    std::vector<std::unique_ptr<MemoryImage>> mSprites;
    std::vector<std::unique_ptr<MemoryImage>> mIcons;
    std::vector<Blit> mBlits;
    std::vector<Rect> mPanels;
    std::vector<Color> mPanelColors;

    StoreScene()
    {
        std::mt19937 rng(20261210);
        std::vector<uint32_t> px(size_t(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                int n = int(rng() % 16);
                px[size_t(y) * kWidth + x] = Argb(255, std::min(255, 60 + x / 5 + n), std::min(255, 40 + y / 4 + n),
                                                  std::min(255, 90 + (x + y) / 12 + n));
            }
        mBackground = std::make_unique<MemoryImage>();
        mBackground->AssignPixels(px.data(), kWidth, kHeight, true);

        // A blob (radius 37) over its shadow (the same disc moved down-right, alpha 90).
        for (int s = 0; s < 40; ++s)
        {
            std::vector<uint32_t> sp(120 * 120);
            int r = 80 + int(rng() % 150), g = 60 + int(rng() % 150), b = 40 + int(rng() % 150);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x)
                {
                    double body = Disc(x, y, 55, 55, 37);
                    double shadow = Disc(x, y, 65, 65, 37) * 90.0 / 255.0;
                    double a = body + shadow * (1 - body);
                    if (a <= 0)
                    {
                        sp[size_t(y) * 120 + x] = 0;
                        continue;
                    }
                    double k = body / a; // shadow colour is black
                    int shade = int((x + y) / 8);
                    sp[size_t(y) * 120 + x] = Argb(int(std::lround(a * 255)), int(std::min(255, r + shade) * k),
                                                   int(std::min(255, g + shade) * k), int(b * k));
                }
            auto img = std::make_unique<MemoryImage>();
            img->AssignPixels(sp.data(), 120, 120, true);
            mSprites.push_back(std::move(img));
        }
        for (int i = 0; i < 30; ++i)
        {
            std::vector<uint32_t> ip(40 * 40);
            int r = int(rng() % 256), g = int(rng() % 256), b = int(rng() % 256);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x)
                {
                    double a = Disc(x, y, 20, 20, 18);
                    double ring = Disc(x, y, 20, 20, 14);
                    int c = ring > 0.5 ? 0 : 40;
                    ip[size_t(y) * 40 + x] = a <= 0 ? 0 : Argb(int(std::lround(a * 255)), std::min(255, r + c),
                                                                std::min(255, g + c), std::min(255, b + c));
                }
            auto img = std::make_unique<MemoryImage>();
            img->AssignPixels(ip.data(), 40, 40, true);
            mIcons.push_back(std::move(img));
        }

        // 70 blits; every sixth one (12 in all) hangs over an edge of the screen.
        std::vector<MemoryImage*> order;
        for (auto& s : mSprites)
            order.push_back(s.get());
        for (auto& i : mIcons)
            order.push_back(i.get());
        std::shuffle(order.begin(), order.end(), rng);
        int clipped = 0;
        for (size_t i = 0; i < order.size(); ++i)
        {
            MemoryImage* img = order[i];
            int w = img->GetWidth(), h = img->GetHeight();
            int x = int(rng() % uint32_t(kWidth - w)), y = int(rng() % uint32_t(kHeight - h));
            if (i % 6 == 5 && clipped < 12)
            {
                switch (clipped++ % 4)
                {
                case 0: x = -w / 3; break;
                case 1: x = kWidth - 2 * w / 3; break;
                case 2: y = -h / 2; break;
                default: y = kHeight - h / 4; break;
                }
            }
            mBlits.push_back({img, x, y});
        }
        for (int i = 0; i < 10; ++i)
        {
            mPanels.push_back(Rect(10 + (i % 5) * 155, i < 5 ? 8 : kHeight - 38, 100, 30));
            mPanelColors.push_back(Color(30 + i * 10, 40, 70, 255));
        }
    }

    // moving: the first eight blits shift along with the frame number, as people walk across the floor.
    void Draw(Graphics& g, bool dim, int moving = -1) const
    {
        g.Blit(mBackground.get(), 0, 0);
        for (size_t i = 0; i < mBlits.size(); ++i)
        {
            const Blit& b = mBlits[i];
            const int shift = moving >= 0 && i < 8 ? (moving % 40) - 20 : 0;
            g.Blit(b.mImage, b.mX + shift, b.mY + shift / 2);
        }
        for (size_t i = 0; i < mPanels.size(); ++i)
        {
            g.SetInk(mPanelColors[i]);
            g.FillBox(mPanels[i]);
        }
        if (dim)
        {
            g.SetInk(Color(0, 0, 0, 128));
            g.FillBox(0, 0, kWidth, kHeight);
        }
    }
};

const StoreScene& Scene()
{
    static const StoreScene scene;
    return scene;
}

void RunStoreScene(benchmark::State& state, bool dim)
{
    const StoreScene& scene = Scene();
    ScreenImage screen(kWidth, kHeight);
    for (int warm = 0; warm < 10; ++warm) // builds the run-length caches, as the first frame of a game does
    {
        Graphics g(&screen);
        scene.Draw(g, dim);
    }
    // Besides the mean, the median frame time: on a shared machine it is the figure that other programs'
    // bursts disturb least, and the one the peer measurements report.
    std::vector<double> frameMs;
    for (auto _ : state)
    {
        auto start = std::chrono::steady_clock::now();
        Graphics g(&screen);
        scene.Draw(g, dim);
        benchmark::DoNotOptimize(screen.TakeDirtyRects());
        benchmark::ClobberMemory();
        frameMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetItemsProcessed(state.iterations());
    if (!frameMs.empty())
    {
        std::nth_element(frameMs.begin(), frameMs.begin() + long(frameMs.size() / 2), frameMs.end());
        state.counters["median_ms"] = frameMs[frameMs.size() / 2];
    }
}

void StoreScenePlain(benchmark::State& state)
{
    RunStoreScene(state, false);
}

void StoreSceneDim(benchmark::State& state)
{
    RunStoreScene(state, true);
}

// A frame of the game as it plays: the scene with eight sprites moving a pixel per frame, drawn as the game draws
// (into the screen image as one frame) and handed to a headless display. Compared frames repaint only the tiles
// that change; full frames repaint everything.
void RunMovingScene(benchmark::State& state, bool compared)
{
    const StoreScene& scene = Scene();
    ScreenImage screen(kWidth, kHeight);
    screen.SetRetainedDrawing(compared);
    HeadlessPlatform display;
    std::string error;
    if (display.CreateMainWindow(WindowSpec{"bench", kWidth, kHeight}, error) != DisplayResult::Ok)
    {
        state.SkipWithError(error.c_str());
        return;
    }
    int frame = 0;
    for (int warm = 0; warm < 10; ++warm)
    {
        Graphics g(&screen);
        screen.BeginFrame();
        scene.Draw(g, false, frame++);
        screen.EndFrame();
        screen.PresentTo(display);
    }
    std::vector<double> frameMs;
    for (auto _ : state)
    {
        auto start = std::chrono::steady_clock::now();
        Graphics g(&screen);
        screen.BeginFrame();
        scene.Draw(g, false, frame++);
        screen.EndFrame();
        screen.PresentTo(display);
        benchmark::ClobberMemory();
        frameMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetItemsProcessed(state.iterations());
    if (!frameMs.empty())
    {
        std::nth_element(frameMs.begin(), frameMs.begin() + long(frameMs.size() / 2), frameMs.end());
        state.counters["median_ms"] = frameMs[frameMs.size() / 2];
    }
}

void StoreSceneMovingFullFrames(benchmark::State& state)
{
    RunMovingScene(state, false);
}

void StoreSceneMovingComparedFrames(benchmark::State& state)
{
    RunMovingScene(state, true);
}

// The floor every frame pays: one copy of the background.
void StoreSceneMemcpyFloor(benchmark::State& state)
{
    const StoreScene& scene = Scene();
    std::vector<uint32_t> frame(size_t(kWidth) * kHeight);
    std::vector<double> frameMs;
    for (auto _ : state)
    {
        auto start = std::chrono::steady_clock::now();
        std::memcpy(frame.data(), scene.mBackground->PeekBits(), frame.size() * 4);
        benchmark::ClobberMemory();
        frameMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (!frameMs.empty())
    {
        std::nth_element(frameMs.begin(), frameMs.begin() + long(frameMs.size() / 2), frameMs.end());
        state.counters["median_ms"] = frameMs[frameMs.size() / 2];
    }
}

} // namespace

BENCHMARK(StoreScenePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreSceneDim)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreSceneMemcpyFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreSceneMovingFullFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreSceneMovingComparedFrames)->Unit(benchmark::kMillisecond);
