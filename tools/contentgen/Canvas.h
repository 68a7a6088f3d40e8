#pragma once
// Canvas wraps one cairo image surface with the few drawing helpers every picture kind shares.
// All pictures are drawn in straight cairo calls; the canvas only adds colour parsing, text through
// FreeType faces of DejaVu and deterministic PNG/JPEG writing.

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ContentGen
{

struct Rgb
{
    double r = 0, g = 0, b = 0, a = 1;
    Rgb Mix(const Rgb& o, double t) const;
    Rgb Lighter(double t) const { return Mix({1, 1, 1, a}, t); }
    Rgb Darker(double t) const { return Mix({0, 0, 0, a}, t); }
    Rgb WithAlpha(double na) const { return {r, g, b, na}; }
};

// "#rrggbb" or "#rrggbbaa"; anything else gives the fallback and false.
bool ParseRgb(const std::string& text, Rgb& out);
Rgb RgbOr(const std::string& text, const Rgb& fallback);

enum class FontFace
{
    Sans,
    SansBold,
    SerifBold
};

class Canvas
{
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() const { return mCr; }
    cairo_surface_t* Surface() const { return mSurface; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    void SetColor(const Rgb& c);
    void Clear(const Rgb& c);
    void RoundRect(double x, double y, double w, double h, double r);
    void Ellipse(double cx, double cy, double rx, double ry);
    void FillStroke(const Rgb& fill, const Rgb& line, double lineWidth);
    void FillPath(const Rgb& fill);
    void StrokePath(const Rgb& line, double lineWidth);
    // Vertical gradient over the current path, top colour to bottom colour.
    void FillGradient(const Rgb& top, const Rgb& bottom, double y0, double y1);

    // Text: size in pixels; (x, y) is the centre of the text box. Returns the text width.
    double TextCentered(const std::string& text, double cx, double cy, double size, FontFace face, const Rgb& fill,
                        const Rgb* outline = nullptr, double outlineWidth = 0);
    double TextWidth(const std::string& text, double size, FontFace face);
    void TextAt(const std::string& text, double x, double baseline, double size, FontFace face, const Rgb& fill);

    // Straight (not premultiplied) RGBA rows, top-down.
    std::vector<uint8_t> Rgba() const;

    bool SavePng(const std::string& path) const;
    bool SaveJpeg(const std::string& path, int quality) const;

private:
    void SelectFont(FontFace face, double size);

    cairo_surface_t* mSurface = nullptr;
    cairo_t* mCr = nullptr;
    int mWidth = 0;
    int mHeight = 0;
};

// Loads the DejaVu faces once; the faces live until ShutdownFonts.
bool InitFonts(const std::string& dejavuDir);
void ShutdownFonts();

// Writes straight RGBA pixels as PNG; used by the canvas and by the font atlases.
bool WritePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

} // namespace ContentGen
