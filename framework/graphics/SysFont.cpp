#include "framework/graphics/SysFont.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#ifndef ZESTRA_NO_FREETYPE
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <mutex>

namespace Zestra
{

#ifndef ZESTRA_NO_FREETYPE
// One opened face at one pixel size with its rendered Latin-1 glyphs; shared by a font and its clones.
class SysFontFace
{
public:
    struct Glyph
    {
        bool mRendered = false;
        int mAdvance = 0;
        int mLeft = 0;
        int mTop = 0;
        std::unique_ptr<MemoryImage> mImage;
    };

    SysFontFace(const std::string& path, int pixelSize, bool synthBold)
        : mPath(path), mPixelSize(pixelSize), mSynthBold(synthBold)
    {
        if (FT_Init_FreeType(&mLibrary) != 0)
        {
            mLibrary = nullptr;
            return;
        }
        if (FT_New_Face(mLibrary, path.c_str(), 0, &mFace) != 0)
        {
            mFace = nullptr;
            return;
        }
        FT_Select_Charmap(mFace, FT_ENCODING_UNICODE);
        FT_Set_Pixel_Sizes(mFace, 0, FT_UInt(std::max(1, pixelSize)));
        mAscent = int(std::ceil(mFace->size->metrics.ascender / 64.0));
        mDescent = int(std::ceil(-mFace->size->metrics.descender / 64.0));
        mLineGap = int(std::ceil(mFace->size->metrics.height / 64.0)) - mAscent - mDescent;
    }
    ~SysFontFace()
    {
        if (mFace)
            FT_Done_Face(mFace);
        if (mLibrary)
            FT_Done_FreeType(mLibrary);
    }
    SysFontFace(const SysFontFace&) = delete;
    SysFontFace& operator=(const SysFontFace&) = delete;

    bool IsLoaded() const { return mFace != nullptr; }

    // Latin-1 bytes are the first 256 Unicode code points.
    const Glyph& GetGlyph(uint8_t ch)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        Glyph& glyph = mGlyphs[ch];
        if (glyph.mRendered || !mFace)
            return glyph;
        glyph.mRendered = true;
        FT_UInt index = FT_Get_Char_Index(mFace, ch);
        if (FT_Load_Glyph(mFace, index, FT_LOAD_DEFAULT) != 0)
            return glyph;
        if (mSynthBold)
            FT_Outline_Embolden(&mFace->glyph->outline, 64);
        if (FT_Render_Glyph(mFace->glyph, FT_RENDER_MODE_NORMAL) != 0)
            return glyph;
        FT_GlyphSlot slot = mFace->glyph;
        glyph.mAdvance = int(std::lround(slot->advance.x / 64.0)) + (mSynthBold ? 1 : 0);
        glyph.mLeft = slot->bitmap_left;
        glyph.mTop = slot->bitmap_top;
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.width > 0 && bm.rows > 0 && bm.pixel_mode == FT_PIXEL_MODE_GRAY)
        {
            glyph.mImage = std::make_unique<MemoryImage>(int(bm.width), int(bm.rows));
            uint32_t* bits = glyph.mImage->GetBits();
            for (unsigned y = 0; y < bm.rows; ++y)
                for (unsigned x = 0; x < bm.width; ++x)
                    bits[y * bm.width + x] = (uint32_t(bm.buffer[int(y) * bm.pitch + int(x)]) << 24) | 0xFFFFFF;
            glyph.mImage->MarkPixelsChanged();
        }
        return glyph;
    }

    int Kerning(uint8_t prev, uint8_t ch)
    {
        if (!mFace || !FT_HAS_KERNING(mFace))
            return 0;
        std::lock_guard<std::mutex> lock(mMutex);
        FT_Vector delta{};
        FT_Get_Kerning(mFace, FT_Get_Char_Index(mFace, prev), FT_Get_Char_Index(mFace, ch), FT_KERNING_DEFAULT,
                       &delta);
        return int(delta.x / 64);
    }

    std::string mPath;
    int mPixelSize = 0;
    bool mSynthBold = false;
    int mAscent = 0;
    int mDescent = 0;
    int mLineGap = 0;

private:
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
    std::mutex mMutex;
    std::array<Glyph, 256> mGlyphs;
};
#else
// Without FreeType (the browser build) no face ever opens: the font measures and draws as empty.
class SysFontFace
{
public:
    struct Glyph
    {
        int mAdvance = 0;
        int mLeft = 0;
        int mTop = 0;
        std::unique_ptr<MemoryImage> mImage;
    };

    SysFontFace(const std::string& path, int pixelSize, bool synthBold)
        : mPath(path), mPixelSize(pixelSize), mSynthBold(synthBold)
    {
    }

    bool IsLoaded() const { return false; }
    const Glyph& GetGlyph(uint8_t) const { return mEmpty; }
    int Kerning(uint8_t, uint8_t) const { return 0; }

    std::string mPath;
    int mPixelSize = 0;
    bool mSynthBold = false;
    int mAscent = 0;
    int mDescent = 0;
    int mLineGap = 0;

private:
    Glyph mEmpty;
};
#endif

namespace
{

std::string Squash(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '-' && c != '_')
            out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::string SysFont::FindFaceFile(const std::string& faceName, bool bold, bool italic)
{
    namespace fs = std::filesystem;
    const std::string wanted = Squash(faceName);
    std::vector<std::string> suffixes;
    if (bold && italic)
        suffixes = {"bolditalic", "boldoblique"};
    else if (bold)
        suffixes = {"bold"};
    else if (italic)
        suffixes = {"italic", "oblique"};
    else
        suffixes = {"", "regular", "book"};
    std::vector<fs::path> roots = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* home = std::getenv("HOME"))
    {
        roots.push_back(fs::path(home) / ".fonts");
        roots.push_back(fs::path(home) / ".local/share/fonts");
    }
    std::error_code ec;
    if (!wanted.empty())
        for (const fs::path& root : roots)
        {
            if (!fs::is_directory(root, ec))
                continue;
            for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
                 it.increment(ec))
            {
                if (ec)
                    break;
                const fs::path& p = it->path();
                std::string ext = p.extension().string();
                if (ext != ".ttf" && ext != ".otf" && ext != ".TTF" && ext != ".OTF")
                    continue;
                std::string stem = Squash(p.stem().string());
                for (const std::string& suffix : suffixes)
                    if (stem == wanted + suffix)
                        return p.string();
            }
        }
    const char* fallback = bold && italic ? "DejaVuSans-BoldOblique.ttf"
                           : bold         ? "DejaVuSans-Bold.ttf"
                           : italic       ? "DejaVuSans-Oblique.ttf"
                                          : "DejaVuSans.ttf";
    fs::path path = fs::path("/usr/share/fonts/truetype/dejavu") / fallback;
    if (fs::exists(path, ec))
        return path.string();
    path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    return fs::exists(path, ec) ? path.string() : std::string();
}

SysFont::SysFont(const std::string& faceName, int pointSize, bool bold, bool italic, bool underline, int dpi)
    : mFaceName(faceName), mBold(bold), mItalic(italic), mUnderline(underline)
{
    mPixelSize = std::max(1, int(std::lround(pointSize * (dpi > 0 ? dpi : 96) / 72.0)));
    std::string path = FindFaceFile(faceName, bold, italic);
    std::string boldPath = FindFaceFile(faceName, false, italic);
    bool synthBold = bold && path == boldPath; // no bold file: embolden the regular one
    mFace = std::make_shared<SysFontFace>(path, mPixelSize, synthBold);
    mAscent = mFace->mAscent;
    mHeight = mFace->mAscent + mFace->mDescent;
    mLineSpacingOffset = std::max(0, mFace->mLineGap);
}

SysFont::SysFont(const SysFont& other) = default;
SysFont::~SysFont() = default;

bool SysFont::IsLoaded() const
{
    return mFace && mFace->IsLoaded();
}

const std::string& SysFont::GetFilePath() const
{
    return mFace->mPath;
}

Font* SysFont::Clone() const
{
    return new SysFont(*this);
}

int SysFont::GlyphAdvance(char ch, char prevCh)
{
    int advance = mFace->GetGlyph(uint8_t(ch)).mAdvance;
    if (prevCh)
        advance += mFace->Kerning(uint8_t(prevCh), uint8_t(ch));
    return advance;
}

int SysFont::GlyphWidth(char ch)
{
    return GlyphAdvance(ch, 0);
}

int SysFont::TextWidth(const std::string& text)
{
    int width = 0;
    char prev = 0;
    for (char ch : text)
    {
        width += GlyphAdvance(ch, prev);
        prev = ch;
    }
    return width + (mShadow && !text.empty() ? 1 : 0);
}

void SysFont::DrawText(Graphics& g, int x, int y, const std::string& text, const Color& color, const Rect& clip)
{
    bool oldTint = g.GetTintImages();
    Color oldInk = g.GetInk();
    g.SetTintImages(true);
    auto pass = [&](int dx, int dy, const Color& c) {
        g.SetInk(c);
        int pen = x + dx;
        char prev = 0;
        for (char ch : text)
        {
            if (prev)
                pen += mFace->Kerning(uint8_t(prev), uint8_t(ch));
            const SysFontFace::Glyph& glyph = mFace->GetGlyph(uint8_t(ch));
            if (glyph.mImage)
                g.Blit(glyph.mImage.get(), pen + glyph.mLeft, y + dy - glyph.mTop);
            pen += glyph.mAdvance;
            prev = ch;
        }
        if (mUnderline)
            g.FillBox(x + dx, y + dy + 1, pen - x - dx, std::max(1, mPixelSize / 14));
    };
    if (mShadow)
        pass(1, 1, Color(0, 0, 0, color.mAlpha));
    pass(0, 0, color);
    g.SetInk(oldInk);
    g.SetTintImages(oldTint);
}

} // namespace Zestra
