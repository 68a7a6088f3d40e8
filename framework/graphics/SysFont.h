// A font of the system: a face name, a point size and styles, rendered through FreeType. Faces the machine does
// not have fall back to DejaVu Sans.
#pragma once

#include "framework/graphics/Font.h"

#include <memory>
#include <string>

namespace Zestra
{

class SysFontFace;

class SysFont : public Font
{
public:
    // pixels = pointSize * dpi / 72; dpi 96 unless the caller knows the screen's.
    SysFont(const std::string& faceName, int pointSize, bool bold = false, bool italic = false,
            bool underline = false, int dpi = 96);
    SysFont(const SysFont& other);
    ~SysFont() override;

    bool IsLoaded() const;
    // The font file actually used.
    const std::string& GetFilePath() const;

    void SetShadow(bool on) { mShadow = on; }
    bool GetShadow() const { return mShadow; }

    int TextWidth(const std::string& text) override;
    int GlyphWidth(char ch) override;
    int GlyphAdvance(char ch, char prevCh) override;
    void DrawText(Graphics& g, int x, int y, const std::string& text, const Color& color, const Rect& clip) override;
    Font* Clone() const override;

    // The file a face name resolves to (exact family first, DejaVu Sans otherwise); empty when none exists.
    static std::string FindFaceFile(const std::string& faceName, bool bold, bool italic);

private:
    std::shared_ptr<SysFontFace> mFace;
    std::string mFaceName;
    int mPixelSize = 0;
    bool mBold = false;
    bool mItalic = false;
    bool mUnderline = false;
    bool mShadow = false;
};

} // namespace Zestra
