// Bitmap fonts: every character is a rectangle cut from one or more layer images. Layers stack (an outline under
// a fill), carry colours, offsets, kerning and draw orders, and are chosen by tags and point size. FontData holds a
// parsed descriptor and is shared by a font and its clones.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/DescParser.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Rect.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class FontHost;
class Image;
class MemoryImage;

struct GlyphData
{
    Rect mImageRect;
    int mOffsetX = 0;
    int mOffsetY = 0;
    std::array<int8_t, 256> mKerning{}; // advance correction towards the next character
    int mAdvance = 0;
    int mDrawOrder = 0;
};

class FontLayer
{
public:
    FontLayer();

    std::string mName;
    std::vector<std::string> mRequiredTags;
    std::vector<std::string> mExcludedTags;
    std::vector<GlyphData> mGlyphs; // 256, by mapped character
    Color mColorMult = Color(255, 255, 255, 255);
    Color mColorAdd = Color(0, 0, 0, 0);
    std::shared_ptr<Image> mImage;
    int mDrawMode = -1; // -1 keeps the graphics' mode
    int mOffsetX = 0;
    int mOffsetY = 0;
    int mSpacing = 0;
    int mMinPointSize = -1;
    int mMaxPointSize = -1;
    int mPointSize = 0;
    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mFallbackHeight = 0;
    int mLineSpacingOffset = 0;
    int mBaseOrder = 0;
};

class FontData : public DescParser
{
public:
    explicit FontData(FontHost* host = nullptr);
    ~FontData() override;

    // Reads a descriptor; errors are shown through the host as prefix + message + line + command text.
    bool Load(const std::string& descriptorPath);
    // The simple form: one layer with the whole image and a file of character widths.
    bool LoadLegacy(std::shared_ptr<Image> image, const std::string& widthsPath);

    FontLayer* FindLayer(const std::string& name);
    // Whether some layer has a picture and a character with a rectangle in it.
    bool DrawsAnything() const;

    bool mLoaded = false;
    FontHost* mHost = nullptr;
    std::string mSourcePath;
    std::string mErrorPrefix;
    int mDefaultPointSize = 0;
    std::array<uint8_t, 256> mCharMap{};
    std::vector<std::unique_ptr<FontLayer>> mLayers;
    std::map<std::string, FontLayer*> mLayerByName;
    // The full text shown for the first error (prefix, message, line and command).
    std::string mFullError;

protected:
    bool HandleCommand(const DataElementList& params) override;
    bool Error(const std::string& text) override;

private:
    // One handler per descriptor command (the command word, lower-cased, and all parameters, the word first);
    // a layer command's handler gets the layer its first argument names.
    using CommandHandler = bool (FontData::*)(const std::string& cmd, const DataElementList& params);
    using LayerHandler = bool (FontData::*)(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    static const std::map<std::string, CommandHandler>& Commands();
    static const std::map<std::string, LayerHandler>& LayerCommands();
    bool ParamCount(const DataElementList& params, size_t expected);
    bool DefineCommand(const std::string& cmd, const DataElementList& params);
    bool CreateHorzSpanRectList(const std::string& cmd, const DataElementList& params);
    bool SetDefaultPointSize(const std::string& cmd, const DataElementList& params);
    bool SetCharMap(const std::string& cmd, const DataElementList& params);
    bool CreateLayer(const std::string& cmd, const DataElementList& params);
    bool LayerTags(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerPointRange(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerInt(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerImage(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerDrawMode(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerColor(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerOffset(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerKerningPairs(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerCharValues(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerImageMap(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    bool LayerCharOffsets(FontLayer& layer, const std::string& cmd, const DataElementList& params);
    // The character list (third parameter) and the equally long list of items (fourth) of a four-part command.
    bool GetCharItems(const DataElementList& params, std::vector<uint8_t>& chars,
                      std::vector<std::unique_ptr<DataElement>>& items);

    bool GetLayer(const DataElement* element, FontLayer*& layer);
    bool GetCharList(const DataElement* element, std::vector<uint8_t>& chars);
    bool GetList(const DataElement* element, std::vector<std::unique_ptr<DataElement>>& items);
    std::shared_ptr<Image> LoadLayerImage(const std::string& path);
};

class ActiveFontLayer
{
public:
    ActiveFontLayer() = default;
    ActiveFontLayer(const ActiveFontLayer& other);
    ActiveFontLayer& operator=(const ActiveFontLayer& other);
    ~ActiveFontLayer();

    FontLayer* mBaseLayer = nullptr;
    Image* mImage = nullptr;                    // the layer's image or mScaledImage
    std::unique_ptr<MemoryImage> mScaledImage;  // owned scaled copy
    bool mOwnsImage = false;
    std::array<Rect, 256> mScaledCharRects{};
    double mFactor = 1.0;                       // scale for metrics and advances
    int mIntRatio = 1;                          // integer point-size ratio used for positions
};

class ImageFont : public Font
{
public:
    // Reads a descriptor file; IsLoaded tells whether it succeeded.
    explicit ImageFont(const std::string& descriptorPath, FontHost* host = nullptr);
    // The simple form: an image of side-by-side characters and a widths file.
    ImageFont(std::shared_ptr<Image> image, const std::string& widthsPath);
    // A font over already parsed data (shared, like a clone's).
    explicit ImageFont(std::shared_ptr<FontData> data);
    ImageFont(const ImageFont& other);
    ~ImageFont() override;

    bool IsLoaded() const { return mData && mData->mLoaded; }
    const FontData* GetData() const { return mData.get(); }

    int Ascent() const override;
    int AscentPadding() const override;
    int Descent() const override;
    int Height() const override;
    int LineSpacingOffset() const override;
    int LineSpacing() const override;
    int TextWidth(const std::string& text) override;
    int GlyphWidth(char ch) override;
    int GlyphAdvance(char ch, char prevCh) override;
    void DrawText(Graphics& g, int x, int y, const std::string& text, const Color& color, const Rect& clip) override;
    Font* Clone() const override;

    virtual void RebuildActiveLayers();
    // glyphRects (when given) receives the destination rectangle of every drawn glyph; widthOut the total advance.
    virtual void DrawTextLayers(Graphics& g, int x, int y, const std::string& text, const Color& color,
                                const Rect& clip, std::vector<Rect>* glyphRects, int* widthOut);
    virtual void SetPointSize(int pointSize);
    virtual int PointSize() const { return mPointSize; }
    virtual void SetScale(double scale);
    virtual int DefaultPointSize() const;
    virtual bool AddTag(const std::string& tag);
    virtual bool RemoveTag(const std::string& tag);
    virtual bool HasTag(const std::string& tag) const;
    virtual std::string DefineText(const std::string& name) const;
    virtual void EnsureActiveLayers();

    void SetWhiteLayers(bool on);

    // The size of the shared draw-command pool per call; further glyphs are skipped.
    static constexpr int MAX_DRAW_COMMANDS = 4096;

private:
    int LayerAdvance(const ActiveFontLayer& layer, uint8_t ch, int prev) const;

    std::shared_ptr<FontData> mData;
    int mPointSize = 0;
    double mScale = 1.0;
    std::vector<std::string> mTags;
    std::vector<ActiveFontLayer> mActiveLayers;
    bool mActiveValid = false;
    bool mWhiteLayers = false;
};

} // namespace Zestra
