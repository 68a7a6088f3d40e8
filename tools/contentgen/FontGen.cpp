// Bitmap fonts: glyphs rendered with FreeType from DejaVu into white atlases (so the draw colour tints them),
// with a descriptor in the font description language. Outlined fonts get a second, dilated atlas drawn in an
// earlier order bucket, so every outline lies under every fill.
#include "tools/contentgen/Generator.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ContentGen
{

namespace
{
struct FontSpec
{
    const char* name;
    const char* file;
    int pixels;
    int outline;      // outline radius in pixels, 0 = none
    const char* edge; // outline colour as a descriptor colour list
    bool latin1;      // also the accented letters of Latin-1
};

const FontSpec kFonts[] = {
    {"hud_numbers", "DejaVuSans-Bold.ttf", 22, 2, "(0.16 0.08 0.18 0)", false},
    {"large_dark", "DejaVuSans-Bold.ttf", 30, 3, "(0.16 0.08 0.18 0)", true},
    {"large_light", "DejaVuSans-Bold.ttf", 30, 2, "(0.42 0.2 0.5 0)", true},
    {"medium_dark", "DejaVuSans-Bold.ttf", 20, 2, "(0.16 0.08 0.18 0)", true},
    {"medium_light", "DejaVuSans-Bold.ttf", 19, 1, "(0.3 0.14 0.36 0)", true},
    {"small", "DejaVuSans.ttf", 14, 0, "", true},
};

struct Glyph
{
    unsigned char ch = 0;
    int x = 0, y = 0, w = 0, h = 0; // cell in the atlas
    int offsetX = 0;
    int advance = 0;
};

// Quoted one-character text for the descriptor's lists.
std::string Quote(unsigned char ch)
{
    if (ch == '"')
        return "'\"'";
    if (ch == '\\')
        return "\"\\\\\"";
    return std::string("\"") + static_cast<char>(ch) + "\"";
}

std::vector<uint8_t> Dilate(const std::vector<uint8_t>& a, int w, int h, int r)
{
    std::vector<uint8_t> out(a.size(), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            int best = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                {
                    int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h)
                        continue;
                    double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                    if (d > r + 0.5)
                        continue;
                    // Soft edge on the outermost ring keeps the outline smooth.
                    double weight = std::min(1.0, r + 0.5 - d + 0.5);
                    best = std::max(best, static_cast<int>(a[static_cast<size_t>(sy) * w + sx] * weight));
                }
            out[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(best);
        }
    return out;
}

bool WriteFont(Generator& gen, FT_Library lib, const FontSpec& spec, const std::string& fontDir)
{
    FT_Face face = nullptr;
    std::string path = fontDir + "/" + spec.file;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0)
    {
        gen.Problem(path + ": cannot open font");
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(spec.pixels));
    int pad = spec.outline + 1;
    int ascent = static_cast<int>(std::ceil(face->size->metrics.ascender / 64.0)) + pad;
    int descent = static_cast<int>(std::ceil(-face->size->metrics.descender / 64.0)) + pad;
    int cellH = ascent + descent;

    std::vector<unsigned char> chars;
    for (int ch = 32; ch < 127; ++ch)
        chars.push_back(static_cast<unsigned char>(ch));
    if (spec.latin1)
        for (int ch = 161; ch < 256; ++ch)
            if (ch != 173)
                chars.push_back(static_cast<unsigned char>(ch));

    // First pass: measure and place the cells in rows of an atlas 512 pixels wide.
    const int atlasW = 512;
    std::vector<Glyph> glyphs;
    int penX = 0, penY = 0;
    for (unsigned char ch : chars)
    {
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER) != 0)
            continue;
        Glyph g;
        g.ch = ch;
        g.w = static_cast<int>(face->glyph->bitmap.width) + 2 * pad;
        g.h = cellH;
        g.offsetX = face->glyph->bitmap_left - pad;
        g.advance = static_cast<int>(face->glyph->advance.x >> 6) + (spec.outline > 1 ? 1 : 0);
        if (penX + g.w > atlasW)
        {
            penX = 0;
            penY += cellH;
        }
        g.x = penX;
        g.y = penY;
        penX += g.w;
        glyphs.push_back(g);
    }
    int atlasH = penY + cellH;
    std::vector<uint8_t> alpha(static_cast<size_t>(atlasW) * atlasH, 0);
    for (const Glyph& g : glyphs)
    {
        FT_Load_Char(face, g.ch, FT_LOAD_RENDER);
        const FT_Bitmap& bm = face->glyph->bitmap;
        int top = ascent - face->glyph->bitmap_top;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned col = 0; col < bm.width; ++col)
            {
                int x = g.x + pad + static_cast<int>(col), y = g.y + top + static_cast<int>(r);
                if (y >= g.y && y < g.y + cellH)
                    alpha[static_cast<size_t>(y) * atlasW + x] = bm.buffer[r * bm.pitch + col];
            }
    }
    FT_Done_Face(face);

    auto writeAtlas = [&](const std::vector<uint8_t>& a, const std::string& file)
    {
        std::vector<uint8_t> rgba(a.size() * 4);
        for (size_t i = 0; i < a.size(); ++i)
        {
            rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = a[i] ? 255 : 0;
            rgba[i * 4 + 3] = a[i];
        }
        std::filesystem::path full = std::filesystem::path(gen.OutDir()) / "fonts" / file;
        std::error_code ec;
        std::filesystem::create_directories(full.parent_path(), ec);
        if (!WritePngRgba(full.string(), atlasW, atlasH, rgba))
        {
            gen.Problem(full.string() + ": cannot write");
            return false;
        }
        return true;
    };
    std::string name = spec.name;
    bool ok = writeAtlas(alpha, name + ".png");
    if (spec.outline > 0)
    {
        // The outline atlas keeps the fill's cells: each cell was padded by the outline radius.
        std::vector<uint8_t> outline = Dilate(alpha, atlasW, atlasH, spec.outline);
        ok = writeAtlas(outline, name + "_outline.png") && ok;
    }

    std::ostringstream d;
    d << "# Font \"" << name << "\": " << spec.file << " at " << spec.pixels << " pixels, white glyphs that take the\n"
      << "# draw colour" << (spec.outline ? ", over an outline layer of fixed colour" : "") << ".\n";
    d << "Define Chars (";
    for (size_t i = 0; i < glyphs.size(); ++i)
        d << (i % 24 == 0 ? "\n    " : " ") << Quote(glyphs[i].ch);
    d << ");\nDefine Rects (";
    for (size_t i = 0; i < glyphs.size(); ++i)
        d << (i % 8 == 0 ? "\n    " : " ") << "(" << glyphs[i].x << " " << glyphs[i].y << " " << glyphs[i].w << " "
          << glyphs[i].h << ")";
    d << ");\nDefine Widths (";
    for (size_t i = 0; i < glyphs.size(); ++i)
        d << (i % 24 == 0 ? "\n    " : " ") << glyphs[i].advance;
    d << ");\nDefine Offsets (";
    for (size_t i = 0; i < glyphs.size(); ++i)
        d << (i % 12 == 0 ? "\n    " : " ") << "(" << glyphs[i].offsetX << " 0)";
    d << ");\n";
    auto layer = [&](const std::string& layerName, const std::string& image)
    {
        d << "CreateLayer " << layerName << ";\n"
          << "LayerSetImage " << layerName << " \"" << image << "\";\n"
          << "LayerSetAscent " << layerName << " " << ascent << ";\n"
          << "LayerSetHeight " << layerName << " " << cellH << ";\n"
          << "LayerSetLineSpacingOffset " << layerName << " " << -2 * pad + 2 << ";\n"
          << "LayerSetImageMap " << layerName << " Chars Rects;\n"
          << "LayerSetCharWidths " << layerName << " Chars Widths;\n"
          << "LayerSetCharOffsets " << layerName << " Chars Offsets;\n";
    };
    if (spec.outline > 0)
    {
        layer("Outline", name + "_outline.png");
        d << "LayerSetColorMult Outline (0 0 0 1);\n"
          << "LayerSetColorAdd Outline " << spec.edge << ";\n"
          << "LayerSetBaseOrder Outline -1;\n";
    }
    layer("Main", name + ".png");
    std::filesystem::path descPath = std::filesystem::path(gen.OutDir()) / "fonts" / (name + ".txt");
    std::ofstream out(descPath, std::ios::binary);
    out << d.str();
    if (!out)
    {
        gen.Problem(descPath.string() + ": cannot write");
        ok = false;
    }
    return ok;
}
} // namespace

bool WriteFonts(Generator& gen)
{
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0)
    {
        gen.Problem("FreeType cannot start");
        return false;
    }
    bool ok = true;
    for (const FontSpec& spec : kFonts)
        ok = WriteFont(gen, lib, spec, VELMORA_DEJAVU_DIR) && ok;
    FT_Done_FreeType(lib);
    return ok;
}

} // namespace ContentGen
