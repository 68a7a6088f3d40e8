// Canvas: cairo surface plus shared helpers; PNG and JPEG writers that give byte-identical files for the
// same pixels (no time stamps, fixed compression settings).
#include "tools/contentgen/Canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace ContentGen
{

namespace
{
// The faces are opened once per run; cairo keeps its own reference to each font face.
struct FaceSet
{
    FT_Library library = nullptr;
    // Only faces of the fonts-dejavu-core package, which the build installs.
    static constexpr int kCount = 3;
    FT_Face ft[kCount] = {nullptr, nullptr, nullptr};
    cairo_font_face_t* cairo[kCount] = {nullptr, nullptr, nullptr};
};
FaceSet gFaces;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

Rgb Rgb::Mix(const Rgb& o, double t) const
{
    return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
}

bool ParseRgb(const std::string& text, Rgb& out)
{
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#')
        return false;
    int v[4] = {0, 0, 0, 255};
    for (size_t i = 0; i + 1 < text.size(); i += 2)
    {
        int hi = HexDigit(text[i + 1]);
        int lo = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0)
            return false;
        v[i / 2] = hi * 16 + lo;
    }
    out = {v[0] / 255.0, v[1] / 255.0, v[2] / 255.0, v[3] / 255.0};
    return true;
}

Rgb RgbOr(const std::string& text, const Rgb& fallback)
{
    Rgb c;
    return ParseRgb(text, c) ? c : fallback;
}

bool InitFonts(const std::string& dejavuDir)
{
    if (gFaces.library)
        return true;
    if (FT_Init_FreeType(&gFaces.library) != 0)
        return false;
    const char* files[FaceSet::kCount] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif-Bold.ttf"};
    for (int i = 0; i < FaceSet::kCount; ++i)
    {
        std::string path = dejavuDir + "/" + files[i];
        if (FT_New_Face(gFaces.library, path.c_str(), 0, &gFaces.ft[i]) != 0)
            return false;
        gFaces.cairo[i] = cairo_ft_font_face_create_for_ft_face(gFaces.ft[i], 0);
    }
    return true;
}

void ShutdownFonts()
{
    for (int i = 0; i < FaceSet::kCount; ++i)
    {
        if (gFaces.cairo[i])
            cairo_font_face_destroy(gFaces.cairo[i]);
        gFaces.cairo[i] = nullptr;
    }
    // cairo may still hold the FT faces in its font cache; reset it before freeing them.
    cairo_debug_reset_static_data();
    for (int i = 0; i < FaceSet::kCount; ++i)
    {
        if (gFaces.ft[i])
            FT_Done_Face(gFaces.ft[i]);
        gFaces.ft[i] = nullptr;
    }
    if (gFaces.library)
        FT_Done_FreeType(gFaces.library);
    gFaces.library = nullptr;
}

Canvas::Canvas(int width, int height) : mWidth(width), mHeight(height)
{
    mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    mCr = cairo_create(mSurface);
    cairo_set_line_join(mCr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(mCr, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas()
{
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
}

void Canvas::SetColor(const Rgb& c)
{
    cairo_set_source_rgba(mCr, c.r, c.g, c.b, c.a);
}

void Canvas::Clear(const Rgb& c)
{
    cairo_save(mCr);
    cairo_set_operator(mCr, CAIRO_OPERATOR_SOURCE);
    SetColor(c);
    cairo_paint(mCr);
    cairo_restore(mCr);
}

void Canvas::RoundRect(double x, double y, double w, double h, double r)
{
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(mCr);
    cairo_arc(mCr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(mCr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(mCr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(mCr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(mCr);
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry)
{
    if (rx <= 0 || ry <= 0)
        return;
    cairo_save(mCr);
    cairo_translate(mCr, cx, cy);
    cairo_scale(mCr, rx, ry);
    cairo_new_sub_path(mCr);
    cairo_arc(mCr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(mCr);
}

void Canvas::FillStroke(const Rgb& fill, const Rgb& line, double lineWidth)
{
    SetColor(fill);
    cairo_fill_preserve(mCr);
    SetColor(line);
    cairo_set_line_width(mCr, lineWidth);
    cairo_stroke(mCr);
}

void Canvas::FillPath(const Rgb& fill)
{
    SetColor(fill);
    cairo_fill(mCr);
}

void Canvas::StrokePath(const Rgb& line, double lineWidth)
{
    SetColor(line);
    cairo_set_line_width(mCr, lineWidth);
    cairo_stroke(mCr);
}

void Canvas::FillGradient(const Rgb& top, const Rgb& bottom, double y0, double y1)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(mCr, p);
    cairo_fill(mCr);
    cairo_pattern_destroy(p);
}

void Canvas::SelectFont(FontFace face, double size)
{
    cairo_font_face_t* f = gFaces.cairo[static_cast<int>(face)];
    if (f)
        cairo_set_font_face(mCr, f);
    cairo_set_font_size(mCr, size);
}

double Canvas::TextWidth(const std::string& text, double size, FontFace face)
{
    SelectFont(face, size);
    cairo_text_extents_t e;
    cairo_text_extents(mCr, text.c_str(), &e);
    return e.x_advance;
}

double Canvas::TextCentered(const std::string& text, double cx, double cy, double size, FontFace face, const Rgb& fill,
                            const Rgb* outline, double outlineWidth)
{
    SelectFont(face, size);
    cairo_font_extents_t fe;
    cairo_font_extents(mCr, &fe);
    cairo_text_extents_t e;
    cairo_text_extents(mCr, text.c_str(), &e);
    double x = cx - e.x_advance / 2;
    double baseline = cy + (fe.ascent - fe.descent) / 2 - size * 0.04;
    cairo_new_path(mCr);
    cairo_move_to(mCr, x, baseline);
    cairo_text_path(mCr, text.c_str());
    if (outline)
    {
        SetColor(*outline);
        cairo_set_line_width(mCr, outlineWidth);
        cairo_stroke_preserve(mCr);
    }
    SetColor(fill);
    cairo_fill(mCr);
    return e.x_advance;
}

void Canvas::TextAt(const std::string& text, double x, double baseline, double size, FontFace face, const Rgb& fill)
{
    SelectFont(face, size);
    cairo_new_path(mCr);
    cairo_move_to(mCr, x, baseline);
    cairo_text_path(mCr, text.c_str());
    SetColor(fill);
    cairo_fill(mCr);
}

std::vector<uint8_t> Canvas::Rgba() const
{
    cairo_surface_flush(mSurface);
    const unsigned char* data = cairo_image_surface_get_data(mSurface);
    int stride = cairo_image_surface_get_stride(mSurface);
    std::vector<uint8_t> out(static_cast<size_t>(mWidth) * mHeight * 4);
    for (int y = 0; y < mHeight; ++y)
    {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < mWidth; ++x)
        {
            uint32_t p = row[x];
            uint32_t a = p >> 24;
            uint8_t* o = &out[(static_cast<size_t>(y) * mWidth + x) * 4];
            if (a == 0)
            {
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            // Cairo stores premultiplied colour; undo it with rounding so files keep the drawn colours.
            o[0] = static_cast<uint8_t>((((p >> 16) & 255) * 255 + a / 2) / a);
            o[1] = static_cast<uint8_t>((((p >> 8) & 255) * 255 + a / 2) / a);
            o[2] = static_cast<uint8_t>(((p & 255) * 255 + a / 2) / a);
            o[3] = static_cast<uint8_t>(a);
        }
    }
    return out;
}

bool WritePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(&rgba[static_cast<size_t>(y) * width * 4]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool Canvas::SavePng(const std::string& path) const
{
    return WritePngRgba(path, mWidth, mHeight, Rgba());
}

bool Canvas::SaveJpeg(const std::string& path, int quality) const
{
    std::vector<uint8_t> rgba = Rgba();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(mWidth);
    cinfo.image_height = static_cast<JDIMENSION>(mHeight);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(mWidth) * 3);
    while (cinfo.next_scanline < cinfo.image_height)
    {
        const uint8_t* src = &rgba[static_cast<size_t>(cinfo.next_scanline) * mWidth * 4];
        for (int x = 0; x < mWidth; ++x)
        {
            // Backgrounds are opaque; blend any stray transparency onto white so nothing turns black.
            double a = src[x * 4 + 3] / 255.0;
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = static_cast<uint8_t>(std::lround(src[x * 4 + c] * a + 255 * (1 - a)));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

} // namespace ContentGen
