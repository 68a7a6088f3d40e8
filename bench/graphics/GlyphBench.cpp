// Text throughput: a 40-character line in a two-layer image font (an outline under a fill), drawn through
// Graphics into the screen image. The counter CharsPerMs is the figure to watch.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/ScreenImage.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

using namespace Zestra;

namespace
{

// Writes a 95-glyph font (printable ASCII, 9 x 14 cells with soft edges) and its descriptor to a temporary folder.
std::string MakeFontFiles()
{
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "zestra-glyph-bench";
    std::filesystem::create_directories(dir);
    const int cellW = 9, cellH = 14, count = 95;
    MemoryImage strip(cellW * count, cellH);
    uint32_t* bits = strip.GetBits();
    for (int c = 0; c < count; ++c)
        for (int y = 0; y < cellH; ++y)
            for (int x = 0; x < cellW; ++x)
            {
                // A ring-shaped glyph body whose size varies with the character.
                double r = 2.5 + (c % 5) * 0.4;
                double d = std::hypot(x + 0.5 - cellW / 2.0, y + 0.5 - cellH / 2.0);
                double a = std::clamp(1.5 - std::abs(d - r), 0.0, 1.0);
                bits[size_t(y) * size_t(cellW * count) + size_t(c * cellW + x)] =
                    a <= 0 ? 0 : (uint32_t(a * 255) << 24) | 0xFFFFFF;
            }
    strip.MarkPixelsChanged();
    WritePNG(strip, (dir / "glyphs.png").string());

    std::string chars, widths;
    for (int c = 0; c < count; ++c)
    {
        char ch = char(32 + c);
        chars += ch == '\'' ? std::string(" \"'\"") : std::string(" '") + (ch == '\\' ? "\\\\" : std::string(1, ch)) + "'";
        widths += " 8";
    }
    std::ofstream out(dir / "font.txt");
    out << "Define Chars (" << chars << ");\n"
        << "CreateHorzSpanRectList Rects (0 0 0 " << cellH << ") (" << widths << ");\n"
        << "CreateLayer Outline;\nLayerSetImage Outline 'glyphs.png';\nLayerSetImageMap Outline Chars Rects;\n"
        << "LayerSetCharWidths Outline Chars (" << widths << ");\nLayerSetAscent Outline 11;\n"
        << "LayerSetColorMult Outline (0 0 0 1);\nLayerSetOffset Outline (1 1);\nLayerSetBaseOrder Outline -1;\n"
        << "CreateLayerFrom Fill Outline;\nLayerSetColorMult Fill (1 1 1 1);\nLayerSetOffset Fill (0 0);\n"
        << "LayerSetBaseOrder Fill 0;\n";
    return (dir / "font.txt").string();
}

void GlyphThroughput(benchmark::State& state)
{
    ImageFont font(MakeFontFiles());
    if (!font.IsLoaded())
    {
        state.SkipWithError("font did not load");
        return;
    }
    ScreenImage screen(800, 600);
    Graphics g(&screen);
    g.SetInk(Color(255, 255, 255));
    g.FillBox(0, 0, 800, 600);
    g.SetTypeface(&font);
    g.SetInk(Color(250, 220, 120));
    const std::string line = "Velmora Row: 40 shirts sold, $1,234.50!!";
    for (auto _ : state)
    {
        g.PrintText(line, 20, 300);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(line.size()));
    state.counters["CharsPerMs"] =
        benchmark::Counter(double(line.size()) * double(state.iterations()) / 1000.0, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(GlyphThroughput);
