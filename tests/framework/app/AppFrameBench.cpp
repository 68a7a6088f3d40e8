// Cost of one fixed update plus one full repaint of an 800x600 screen covered by a filled board, the work the
// loop does per frame when everything is dirty.
#include "framework/app/ZestraAppBase.h"

#include "framework/graphics/Graphics.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <benchmark/benchmark.h>

namespace
{

class Board : public Zestra::Widget
{
public:
    Board()
    {
        mWidth = 800;
        mHeight = 600;
    }
    void Paint(Zestra::Graphics& g) override
    {
        // A coloured board of 20 x 15 tiles, about what the placeholder screen draws.
        for (int row = 0; row < 15; row++)
        {
            for (int col = 0; col < 20; col++)
            {
                g.SetInk(Zestra::Color((col * 12) & 255, (row * 17) & 255, ((row + col) * 5 + mTickCount) & 255));
                g.FillBox(col * 40, row * 40, 40, 40);
            }
        }
    }
};

void BM_UpdateAndFullDraw(benchmark::State& state)
{
    Zestra::HeadlessPlatform platform;
    Zestra::ZestraAppBase app(platform);
    app.Config().mSilent = true;
    app.Loading().mAutoStartLoadingThread = false;
    app.mWidth = 800;
    app.mHeight = 600;
    app.Initialize();
    Board board;
    app.mWidgetManager->AttachChild(&board);
    for (auto _ : state)
        app.RunUpdateAndFullDraw();
    app.mWidgetManager->DetachChild(&board);
}
BENCHMARK(BM_UpdateAndFullDraw)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
