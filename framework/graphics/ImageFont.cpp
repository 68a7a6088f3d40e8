#include "framework/graphics/ImageFont.h"

#include "framework/graphics/FontHost.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/log/Log.h"
#include "framework/pak/PakInterface.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <sstream>

namespace Zestra
{

namespace
{

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// Latin-1 case pairs: ASCII letters and the accented letters of 0xC0..0xFE except the multiplication and
// division signs.
int OtherCase(int ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch + 32;
    if (ch >= 'a' && ch <= 'z')
        return ch - 32;
    if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)
        return ch + 32;
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7)
        return ch - 32;
    return -1;
}

// The one pool of draw commands and order buckets shared by every image font, guarded by the text lock.
struct DrawCommand
{
    Image* mImage = nullptr;
    int mX = 0;
    int mY = 0;
    Rect mSrc;
    Color mColor;
    int mDrawMode = -1;
    int mNext = -1;
};

std::mutex gTextLock;
DrawCommand gPool[ImageFont::MAX_DRAW_COMMANDS];
int gBucketHead[256];
int gBucketTail[256];

} // namespace

FontLayer::FontLayer() : mGlyphs(256) {}

FontData::FontData(FontHost* host) : mHost(host)
{
    for (int i = 0; i < 256; ++i)
        mCharMap[size_t(i)] = uint8_t(i);
}

FontData::~FontData() = default;

bool FontData::Load(const std::string& descriptorPath)
{
    mSourcePath = descriptorPath;
    mErrorPrefix = "Font Descriptor Error in " + ArchiveFileLabel(descriptorPath) + "\r\n";
    mLoaded = LoadDescriptor(descriptorPath);
    // An empty file, or one cut before its first layer, reads without a fault and makes a font that draws nothing:
    // every label set in it would vanish without a word.
    if (mLoaded && !DrawsAnything())
    {
        mCommandLine = 1;
        mCommandText.clear();
        mLoaded = Error("No character to draw: the file is empty or cut short");
    }
    return mLoaded;
}

bool FontData::Error(const std::string& text)
{
    bool first = mError.empty();
    DescParser::Error(text);
    if (first)
    {
        mFullError = mErrorPrefix + mError + " on Line " + std::to_string(mCommandLine) + ":\r\n\r\n" + mCommandText;
        if (mHost)
            mHost->ShowFatalMessage(mFullError);
        else
            Zestra::Log(mFullError);
    }
    return false;
}

bool FontData::DrawsAnything() const
{
    for (const auto& layer : mLayers)
    {
        if (layer->mImage == nullptr)
            continue;
        for (const GlyphData& glyph : layer->mGlyphs)
            if (glyph.mImageRect.mWidth > 0 && glyph.mImageRect.mHeight > 0)
                return true;
    }
    return false;
}

FontLayer* FontData::FindLayer(const std::string& name)
{
    auto it = mLayerByName.find(name);
    return it == mLayerByName.end() ? nullptr : it->second;
}

bool FontData::GetLayer(const DataElement* element, FontLayer*& layer)
{
    if (!element || element->IsList())
        return Error("Invalid Paramater Type");
    layer = FindLayer(Unquote(static_cast<const SingleDataElement*>(element)->mString));
    if (!layer)
        return Error("Undefined Layer");
    return true;
}

bool FontData::GetCharList(const DataElement* element, std::vector<uint8_t>& chars)
{
    std::vector<std::string> texts;
    if (!GetStringVector(element, texts))
        return false;
    chars.clear();
    for (const std::string& t : texts)
    {
        if (t.size() != 1)
            return Error("Invalid Paramater Type");
        chars.push_back(uint8_t(t[0]));
    }
    return true;
}

bool FontData::GetList(const DataElement* element, std::vector<std::unique_ptr<DataElement>>& items)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (!v->IsList())
        return Error("Invalid Paramater Type");
    items = std::move(static_cast<ListDataElement*>(v.get())->mElements);
    return true;
}

std::shared_ptr<Image> FontData::LoadLayerImage(const std::string& path)
{
    bool created = false;
    std::shared_ptr<Image> image;
    if (mHost)
        image = mHost->AcquireFontImage(path, created);
    else
    {
        std::unique_ptr<MemoryImage> loaded = ImageLoader::GetImage(path, true);
        created = loaded != nullptr;
        image = std::shared_ptr<Image>(std::move(loaded));
    }
    if (image && created)
        if (MemoryImage* mem = image->AsMemoryImage())
            mem->ToPalette();
    return image;
}

namespace
{

// The layer commands that set one number of the layer.
const std::map<std::string, int FontLayer::*>& LayerIntFields()
{
    static const std::map<std::string, int FontLayer::*> kFields = {
        {"layersetpointsize", &FontLayer::mPointSize},
        {"layersetheight", &FontLayer::mHeight},
        {"layersetascent", &FontLayer::mAscent},
        {"layersetascentpadding", &FontLayer::mAscentPadding},
        {"layersetlinespacingoffset", &FontLayer::mLineSpacingOffset},
        {"layersetspacing", &FontLayer::mSpacing},
        {"layersetbaseorder", &FontLayer::mBaseOrder}};
    return kFields;
}

} // namespace

const std::map<std::string, FontData::CommandHandler>& FontData::Commands()
{
    static const std::map<std::string, CommandHandler> kCommands = {
        {"define", &FontData::DefineCommand},
        {"createhorzspanrectlist", &FontData::CreateHorzSpanRectList},
        {"setdefaultpointsize", &FontData::SetDefaultPointSize},
        {"setcharmap", &FontData::SetCharMap},
        {"createlayer", &FontData::CreateLayer},
        {"createlayerfrom", &FontData::CreateLayer}};
    return kCommands;
}

const std::map<std::string, FontData::LayerHandler>& FontData::LayerCommands()
{
    static const std::map<std::string, LayerHandler> kCommands = {
        {"layerrequiretags", &FontData::LayerTags},
        {"layerexcludetags", &FontData::LayerTags},
        {"layerpointrange", &FontData::LayerPointRange},
        {"layersetpointsize", &FontData::LayerInt},
        {"layersetheight", &FontData::LayerInt},
        {"layersetascent", &FontData::LayerInt},
        {"layersetascentpadding", &FontData::LayerInt},
        {"layersetlinespacingoffset", &FontData::LayerInt},
        {"layersetspacing", &FontData::LayerInt},
        {"layersetbaseorder", &FontData::LayerInt},
        {"layersetimage", &FontData::LayerImage},
        {"layersetdrawmode", &FontData::LayerDrawMode},
        {"layersetcolormult", &FontData::LayerColor},
        {"layersetcoloradd", &FontData::LayerColor},
        {"layersetoffset", &FontData::LayerOffset},
        {"layersetcharwidths", &FontData::LayerCharValues},
        {"layersetcharorders", &FontData::LayerCharValues},
        {"layersetkerningpairs", &FontData::LayerKerningPairs},
        {"layersetimagemap", &FontData::LayerImageMap},
        {"layersetcharoffsets", &FontData::LayerCharOffsets}};
    return kCommands;
}

bool FontData::HandleCommand(const DataElementList& params)
{
    if (params.empty() || params[0]->IsList())
        return Error("Missing Command");
    const std::string cmd = Lower(static_cast<const SingleDataElement*>(params[0].get())->mString);

    const auto& commands = Commands();
    if (auto it = commands.find(cmd); it != commands.end())
        return (this->*(it->second))(cmd, params);

    // Every other command works on a layer named by its first argument.
    const auto& layerCommands = LayerCommands();
    auto it = layerCommands.find(cmd);
    if (it == layerCommands.end())
        return Error("Unknown Command");
    if (params.size() < 2)
        return Error("Invalid Number of Parameters");
    FontLayer* layer = nullptr;
    if (!GetLayer(params[1].get(), layer))
        return false;
    return (this->*(it->second))(*layer, cmd, params);
}

bool FontData::ParamCount(const DataElementList& params, size_t expected)
{
    return params.size() == expected ? true : Error("Invalid Number of Parameters");
}

bool FontData::DefineCommand(const std::string&, const DataElementList& params)
{
    return HandleDefine(params);
}

bool FontData::CreateHorzSpanRectList(const std::string&, const DataElementList& params)
{
    if (!ParamCount(params, 4))
        return false;
    if (params[1]->IsList())
        return Error("Invalid Paramater Type");
    std::string name = static_cast<const SingleDataElement*>(params[1].get())->mString;
    if (IsNumberToken(name) || name[0] == '"' || name[0] == '\'')
        return Error("Invalid Paramater Type");
    std::vector<int> rect, widths;
    if (!GetIntVector(params[2].get(), rect) || !GetIntVector(params[3].get(), widths))
        return false;
    if (rect.size() != 4)
        return Error("Invalid Paramater Type");
    auto list = std::make_unique<ListDataElement>();
    int x = rect[0];
    for (int w : widths)
    {
        auto r = std::make_unique<ListDataElement>();
        for (int v : {x, rect[1], w, rect[3]})
            r->mElements.push_back(std::make_unique<SingleDataElement>(std::to_string(v)));
        list->mElements.push_back(std::move(r));
        x += w;
    }
    mDefines[name] = std::move(list);
    return true;
}

bool FontData::SetDefaultPointSize(const std::string&, const DataElementList& params)
{
    return ParamCount(params, 2) && GetInt(params[1].get(), mDefaultPointSize);
}

bool FontData::SetCharMap(const std::string&, const DataElementList& params)
{
    std::vector<uint8_t> from, to;
    if (!ParamCount(params, 3) || !GetCharList(params[1].get(), from) || !GetCharList(params[2].get(), to))
        return false;
    if (from.size() != to.size())
        return Error("List Size Mismatch");
    for (size_t i = 0; i < from.size(); ++i)
        mCharMap[from[i]] = to[i];
    return true;
}

bool FontData::CreateLayer(const std::string& cmd, const DataElementList& params)
{
    const bool copies = cmd == "createlayerfrom";
    if (!ParamCount(params, copies ? 3 : 2))
        return false;
    if (params[1]->IsList())
        return Error("Invalid Paramater Type");
    std::string name = Unquote(static_cast<const SingleDataElement*>(params[1].get())->mString);
    if (FindLayer(name))
        return Error("Layer Already Exists");
    std::unique_ptr<FontLayer> layer;
    if (copies)
    {
        FontLayer* source = nullptr;
        if (!GetLayer(params[2].get(), source))
            return false;
        layer = std::make_unique<FontLayer>(*source);
    }
    else
        layer = std::make_unique<FontLayer>();
    layer->mName = name;
    mLayerByName[name] = layer.get();
    mLayers.push_back(std::move(layer));
    return true;
}

bool FontData::LayerTags(FontLayer& layer, const std::string& cmd, const DataElementList& params)
{
    std::vector<std::string> tags;
    if (!ParamCount(params, 3) || !GetStringVector(params[2].get(), tags))
        return false;
    auto& target = cmd == "layerrequiretags" ? layer.mRequiredTags : layer.mExcludedTags;
    target.insert(target.end(), tags.begin(), tags.end());
    return true;
}

bool FontData::LayerPointRange(FontLayer& layer, const std::string&, const DataElementList& params)
{
    return ParamCount(params, 4) && GetInt(params[2].get(), layer.mMinPointSize) &&
           GetInt(params[3].get(), layer.mMaxPointSize);
}

bool FontData::LayerInt(FontLayer& layer, const std::string& cmd, const DataElementList& params)
{
    return ParamCount(params, 3) && GetInt(params[2].get(), layer.*(LayerIntFields().at(cmd)));
}

bool FontData::LayerImage(FontLayer& layer, const std::string&, const DataElementList& params)
{
    std::string file;
    if (!ParamCount(params, 3) || !GetString(params[2].get(), file))
        return false;
    bool absolute = !file.empty() && (file[0] == '/' || file[0] == '\\' || file.find(':') != std::string::npos);
    if (!absolute)
    {
        size_t sep = mSourcePath.find_last_of("/\\");
        if (sep != std::string::npos)
            file = mSourcePath.substr(0, sep + 1) + file;
    }
    std::shared_ptr<Image> image = LoadLayerImage(file);
    if (!image)
        return Error("Failed to Load Image");
    layer.mImage = std::move(image);
    return true;
}

bool FontData::LayerDrawMode(FontLayer& layer, const std::string&, const DataElementList& params)
{
    int mode = 0;
    if (!ParamCount(params, 3) || !GetInt(params[2].get(), mode))
        return false;
    if (mode != 0 && mode != 1)
        return Error("Invalid Paramater Type");
    layer.mDrawMode = mode;
    return true;
}

bool FontData::LayerColor(FontLayer& layer, const std::string& cmd, const DataElementList& params)
{
    uint32_t argb = 0;
    if (!ParamCount(params, 3) || !GetColor(params[2].get(), argb))
        return false;
    (cmd == "layersetcolormult" ? layer.mColorMult : layer.mColorAdd) = Color::FromArgb(argb);
    return true;
}

bool FontData::LayerOffset(FontLayer& layer, const std::string&, const DataElementList& params)
{
    std::vector<int> offset;
    if (!ParamCount(params, 3) || !GetIntVector(params[2].get(), offset))
        return false;
    if (offset.size() != 2)
        return Error("Invalid Paramater Type");
    layer.mOffsetX = offset[0];
    layer.mOffsetY = offset[1];
    return true;
}

bool FontData::LayerKerningPairs(FontLayer& layer, const std::string&, const DataElementList& params)
{
    std::vector<std::string> pairs;
    std::vector<int> offsets;
    if (!ParamCount(params, 4) || !GetStringVector(params[2].get(), pairs) || !GetIntVector(params[3].get(), offsets))
        return false;
    if (pairs.size() != offsets.size())
        return Error("List Size Mismatch");
    for (size_t i = 0; i < pairs.size(); ++i)
    {
        if (pairs[i].size() != 2)
            return Error("Invalid Paramater Type");
        layer.mGlyphs[uint8_t(pairs[i][0])].mKerning[uint8_t(pairs[i][1])] = int8_t(std::clamp(offsets[i], -128, 127));
    }
    return true;
}

bool FontData::LayerCharValues(FontLayer& layer, const std::string& cmd, const DataElementList& params)
{
    std::vector<uint8_t> chars;
    std::vector<int> values;
    if (!ParamCount(params, 4) || !GetCharList(params[2].get(), chars) || !GetIntVector(params[3].get(), values))
        return false;
    if (values.size() != chars.size())
        return Error("List Size Mismatch");
    for (size_t i = 0; i < chars.size(); ++i)
        (cmd == "layersetcharwidths" ? layer.mGlyphs[chars[i]].mAdvance : layer.mGlyphs[chars[i]].mDrawOrder) =
            values[i];
    return true;
}

bool FontData::GetCharItems(const DataElementList& params, std::vector<uint8_t>& chars,
                            std::vector<std::unique_ptr<DataElement>>& items)
{
    if (!ParamCount(params, 4) || !GetCharList(params[2].get(), chars) || !GetList(params[3].get(), items))
        return false;
    return items.size() == chars.size() ? true : Error("List Size Mismatch");
}

bool FontData::LayerImageMap(FontLayer& layer, const std::string&, const DataElementList& params)
{
    std::vector<uint8_t> chars;
    std::vector<std::unique_ptr<DataElement>> items;
    if (!GetCharItems(params, chars, items))
        return false;
    if (!layer.mImage)
        return Error("Layer image not set");
    Rect bounds = layer.mImage->GetRect();
    std::vector<Rect> rects;
    for (const auto& item : items)
    {
        std::vector<int> r;
        if (!GetIntVector(item.get(), r))
            return false;
        if (r.size() != 4)
            return Error("Invalid Paramater Type");
        Rect rect(r[0], r[1], r[2], r[3]);
        if (rect.mX < 0 || rect.mY < 0 || rect.mWidth < 0 || rect.mHeight < 0 ||
            int64_t(rect.mX) + rect.mWidth > bounds.mWidth || int64_t(rect.mY) + rect.mHeight > bounds.mHeight)
            return Error("Image rectangle out of bounds");
        rects.push_back(rect);
    }
    for (size_t i = 0; i < chars.size(); ++i)
        layer.mGlyphs[chars[i]].mImageRect = rects[i];
    return true;
}

bool FontData::LayerCharOffsets(FontLayer& layer, const std::string&, const DataElementList& params)
{
    std::vector<uint8_t> chars;
    std::vector<std::unique_ptr<DataElement>> items;
    if (!GetCharItems(params, chars, items))
        return false;
    std::vector<std::pair<int, int>> offsets;
    for (const auto& item : items)
    {
        std::vector<int> o;
        if (!GetIntVector(item.get(), o))
            return false;
        if (o.size() != 2)
            return Error("Invalid Paramater Type");
        offsets.emplace_back(o[0], o[1]);
    }
    for (size_t i = 0; i < chars.size(); ++i)
    {
        layer.mGlyphs[chars[i]].mOffsetX = offsets[i].first;
        layer.mGlyphs[chars[i]].mOffsetY = offsets[i].second;
    }
    return true;
}

bool FontData::LoadLegacy(std::shared_ptr<Image> image, const std::string& widthsPath)
{
    mSourcePath = widthsPath;
    mErrorPrefix = "Font Descriptor Error in " + widthsPath + "\r\n";
    mLoaded = false;
    std::string text;
    if (!image || !ArchiveFileReadAll(widthsPath, text))
        return false;
    std::istringstream in(text);
    int blankAdvance = 0, ascent = 0;
    if (!(in >> blankAdvance >> ascent))
        return false;
    auto layer = std::make_unique<FontLayer>();
    layer->mImage = image;
    layer->mAscent = image->GetHeight();
    layer->mFallbackHeight = image->GetHeight();
    layer->mGlyphs[' '].mAdvance = blankAdvance;
    bool hasWidth[256] = {};
    hasWidth[uint8_t(' ')] = true;
    int x = 0;
    std::string token;
    int width = 0;
    while (in >> token)
    {
        if (token.size() != 1 || !(in >> width) || width < 0)
            return false;
        uint8_t ch = uint8_t(token[0]);
        if (x + width > image->GetWidth())
            return false;
        layer->mGlyphs[ch].mImageRect = Rect(x, 0, width, image->GetHeight());
        layer->mGlyphs[ch].mAdvance = width;
        hasWidth[ch] = true;
        x += width;
    }
    for (int ch = 0; ch < 256; ++ch)
    {
        int other = OtherCase(ch);
        if (!hasWidth[ch] && other >= 0 && hasWidth[other])
            mCharMap[size_t(ch)] = uint8_t(other);
    }
    mLayerByName[""] = layer.get();
    mLayers.push_back(std::move(layer));
    mLoaded = true;
    return true;
}

// ---- Active layers ----

ActiveFontLayer::ActiveFontLayer(const ActiveFontLayer& other)
    : mBaseLayer(other.mBaseLayer), mImage(other.mImage), mOwnsImage(other.mOwnsImage),
      mScaledCharRects(other.mScaledCharRects), mFactor(other.mFactor), mIntRatio(other.mIntRatio)
{
    if (other.mScaledImage)
    {
        mScaledImage = std::make_unique<MemoryImage>(*other.mScaledImage);
        mImage = mScaledImage.get();
    }
}

ActiveFontLayer& ActiveFontLayer::operator=(const ActiveFontLayer& other)
{
    if (this != &other)
    {
        ActiveFontLayer copy(other);
        mBaseLayer = copy.mBaseLayer;
        mOwnsImage = copy.mOwnsImage;
        mScaledCharRects = copy.mScaledCharRects;
        mFactor = copy.mFactor;
        mIntRatio = copy.mIntRatio;
        mScaledImage = std::move(copy.mScaledImage);
        mImage = mScaledImage ? mScaledImage.get() : copy.mImage;
    }
    return *this;
}

ActiveFontLayer::~ActiveFontLayer() = default;

// ---- ImageFont ----

ImageFont::ImageFont(const std::string& descriptorPath, FontHost* host) : mData(std::make_shared<FontData>(host))
{
    mData->Load(descriptorPath);
    mPointSize = mData->mDefaultPointSize;
}

ImageFont::ImageFont(std::shared_ptr<Image> image, const std::string& widthsPath)
    : mData(std::make_shared<FontData>(nullptr))
{
    mData->LoadLegacy(std::move(image), widthsPath);
    mPointSize = mData->mDefaultPointSize;
}

ImageFont::ImageFont(std::shared_ptr<FontData> data) : mData(std::move(data))
{
    mPointSize = mData ? mData->mDefaultPointSize : 0;
}

ImageFont::ImageFont(const ImageFont& other)
    : Font(other), mData(other.mData), mPointSize(other.mPointSize), mScale(other.mScale), mTags(other.mTags),
      mActiveLayers(other.mActiveLayers), mActiveValid(other.mActiveValid), mWhiteLayers(other.mWhiteLayers)
{
}

ImageFont::~ImageFont() = default;

Font* ImageFont::Clone() const
{
    return new ImageFont(*this);
}

int ImageFont::Ascent() const
{
    const_cast<ImageFont*>(this)->EnsureActiveLayers();
    return mAscent;
}

int ImageFont::AscentPadding() const
{
    const_cast<ImageFont*>(this)->EnsureActiveLayers();
    return mAscentPadding;
}

int ImageFont::Descent() const
{
    const_cast<ImageFont*>(this)->EnsureActiveLayers();
    return mHeight - mAscent;
}

int ImageFont::Height() const
{
    const_cast<ImageFont*>(this)->EnsureActiveLayers();
    return mHeight;
}

int ImageFont::LineSpacingOffset() const
{
    const_cast<ImageFont*>(this)->EnsureActiveLayers();
    return mLineSpacingOffset;
}

int ImageFont::LineSpacing() const
{
    const_cast<ImageFont*>(this)->EnsureActiveLayers();
    return mHeight + mLineSpacingOffset;
}

void ImageFont::EnsureActiveLayers()
{
    if (!mActiveValid)
        RebuildActiveLayers();
}

void ImageFont::SetPointSize(int pointSize)
{
    mPointSize = pointSize;
    mActiveValid = false;
}

void ImageFont::SetScale(double scale)
{
    mScale = scale;
    mActiveValid = false;
}

void ImageFont::SetWhiteLayers(bool on)
{
    mWhiteLayers = on;
    mActiveValid = false;
}

int ImageFont::DefaultPointSize() const
{
    return mData ? mData->mDefaultPointSize : 0;
}

bool ImageFont::AddTag(const std::string& tag)
{
    if (HasTag(tag))
        return false;
    mTags.push_back(tag);
    mActiveValid = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& tag)
{
    auto it = std::find(mTags.begin(), mTags.end(), tag);
    if (it == mTags.end())
        return false;
    mTags.erase(it);
    mActiveValid = false;
    return true;
}

bool ImageFont::HasTag(const std::string& tag) const
{
    return std::find(mTags.begin(), mTags.end(), tag) != mTags.end();
}

std::string ImageFont::DefineText(const std::string& name) const
{
    if (!mData)
        return "";
    const DataElement* e = mData->FindDefine(name);
    if (!e || e->IsList())
        return "";
    std::string s = static_cast<const SingleDataElement*>(e)->mString;
    if (s.size() >= 2 && (s[0] == '"' || s[0] == '\''))
    {
        char q = s[0];
        std::string out;
        for (size_t i = 1; i + 1 < s.size(); ++i)
        {
            out += s[i];
            if (s[i] == q && i + 2 < s.size() && s[i + 1] == q)
                ++i;
        }
        return out;
    }
    return s;
}

void ImageFont::RebuildActiveLayers()
{
    if (!mData || !mData->mLoaded)
        return;
    mActiveLayers.clear();
    mAscent = mHeight = mAscentPadding = mLineSpacingOffset = 0;
    mActiveValid = true;
    bool first = true;
    for (const auto& layerPtr : mData->mLayers)
    {
        FontLayer* layer = layerPtr.get();
        if (mPointSize < layer->mMinPointSize)
            continue;
        if (layer->mMaxPointSize != -1 && layer->mMaxPointSize < mPointSize)
            continue;
        bool tagsOk = true;
        for (const std::string& t : layer->mRequiredTags)
            tagsOk = tagsOk && HasTag(t);
        for (const std::string& t : mTags)
            tagsOk = tagsOk && std::find(layer->mExcludedTags.begin(), layer->mExcludedTags.end(), t) ==
                                   layer->mExcludedTags.end();
        if (!tagsOk)
            continue;

        ActiveFontLayer active;
        active.mBaseLayer = layer;
        active.mImage = layer->mImage.get();
        double factor = 1.0;
        if (mScale == 1.0 && (layer->mPointSize == 0 || layer->mPointSize == mPointSize))
        {
            for (int c = 0; c < 256; ++c)
                active.mScaledCharRects[size_t(c)] = layer->mGlyphs[size_t(c)].mImageRect;
        }
        else
        {
            double u = layer->mPointSize ? mPointSize * mScale : mScale;
            double v = layer->mPointSize ? layer->mPointSize : 1;
            factor = u / v;
            if (!(factor > 0) || factor > 1024)
                factor = factor > 1024 ? 1024 : 0; // a nonsensical size must not ask for gigabytes
            int64_t totalW = 0, maxH = 0;
            for (int c = 0; c < 256; ++c)
            {
                const Rect& r = layer->mGlyphs[size_t(c)].mImageRect;
                int64_t w = int64_t(r.mWidth * factor), h = int64_t(r.mHeight * factor);
                if (w > 0 && h > 0 && totalW + w <= ImageLoader::MAX_SIDE && h <= ImageLoader::MAX_SIDE)
                {
                    active.mScaledCharRects[size_t(c)] = Rect(int(totalW), 0, int(w), int(h));
                    totalW += w;
                    maxH = std::max(maxH, h);
                }
            }
            if (layer->mImage && totalW > 0 && maxH > 0 && ImageLoader::SizeAllowed(totalW, maxH))
            {
                auto scaled = std::make_unique<MemoryImage>(int(totalW), int(maxH));
                for (int c = 0; c < 256; ++c)
                {
                    const Rect& dst = active.mScaledCharRects[size_t(c)];
                    if (!dst.IsEmpty())
                        scaled->BlitStretchedImage(layer->mImage.get(), dst, layer->mGlyphs[size_t(c)].mImageRect,
                                                   scaled->GetRect(), Color::White, DRAWMODE_NORMAL, false);
                }
                if (mWhiteLayers)
                {
                    uint32_t* bits = scaled->GetBits();
                    for (size_t i = 0; i < size_t(totalW) * size_t(maxH); ++i)
                        bits[i] |= 0x00FFFFFFu;
                    scaled->MarkPixelsChanged();
                }
                scaled->ToPalette();
                active.mScaledImage = std::move(scaled);
                active.mImage = active.mScaledImage.get();
                active.mOwnsImage = true;
            }
        }
        active.mFactor = factor;
        active.mIntRatio = (layer->mPointSize > 0) ? std::max(1, mPointSize / layer->mPointSize) : 1;
        int ascent = int(layer->mAscent * factor);
        int height = int((layer->mHeight ? layer->mHeight : layer->mFallbackHeight) * factor);
        int padding = int(layer->mAscentPadding * factor);
        int spacing = int(layer->mLineSpacingOffset * factor);
        mAscent = std::max(mAscent, ascent);
        mHeight = std::max(mHeight, height);
        mAscentPadding = first ? padding : std::min(mAscentPadding, padding);
        mLineSpacingOffset = first ? spacing : std::max(mLineSpacingOffset, spacing);
        first = false;
        mActiveLayers.push_back(std::move(active));
    }
}

int ImageFont::LayerAdvance(const ActiveFontLayer& layer, uint8_t ch, int prev) const
{
    const FontLayer* base = layer.mBaseLayer;
    double f = layer.mFactor;
    int advance = int(f * base->mGlyphs[ch].mAdvance);
    if (prev >= 0)
        advance += int(f * (base->mGlyphs[size_t(prev)].mKerning[ch] + base->mSpacing));
    return advance;
}

int ImageFont::GlyphAdvance(char ch, char prevCh)
{
    EnsureActiveLayers();
    if (!mData)
        return 0;
    uint8_t c = mData->mCharMap[uint8_t(ch)];
    int prev = prevCh ? mData->mCharMap[uint8_t(prevCh)] : -1;
    int best = 0;
    bool any = false;
    for (const ActiveFontLayer& layer : mActiveLayers)
    {
        int a = LayerAdvance(layer, c, prev);
        best = any ? std::max(best, a) : a;
        any = true;
    }
    return best;
}

int ImageFont::GlyphWidth(char ch)
{
    return GlyphAdvance(ch, 0);
}

int ImageFont::TextWidth(const std::string& text)
{
    int width = 0;
    char prev = 0;
    for (char ch : text)
    {
        width += GlyphAdvance(ch, prev);
        prev = ch;
    }
    return width;
}

void ImageFont::DrawText(Graphics& g, int x, int y, const std::string& text, const Color& color, const Rect& clip)
{
    DrawTextLayers(g, x, y, text, color, clip, nullptr, nullptr);
}

void ImageFont::DrawTextLayers(Graphics& g, int x, int y, const std::string& text, const Color& color,
                               const Rect& clip, std::vector<Rect>* glyphRects, int* widthOut)
{
    EnsureActiveLayers();
    if (!mData || !mData->mLoaded)
    {
        if (widthOut)
            *widthOut = 0;
        return;
    }
    std::lock_guard<std::mutex> lock(gTextLock);
    std::fill(std::begin(gBucketHead), std::end(gBucketHead), -1);
    std::fill(std::begin(gBucketTail), std::end(gBucketTail), -1);
    int used = 0;
    int pen = x;
    for (size_t i = 0; i < text.size(); ++i)
    {
        uint8_t ch = mData->mCharMap[uint8_t(text[i])];
        int next = i + 1 < text.size() ? mData->mCharMap[uint8_t(text[i + 1])] : -1;
        int nextPen = pen;
        for (const ActiveFontLayer& active : mActiveLayers)
        {
            const FontLayer* layer = active.mBaseLayer;
            const GlyphData& glyph = layer->mGlyphs[ch];
            double f = active.mFactor;
            const Rect& src = active.mScaledCharRects[ch];
            if (active.mImage && !src.IsEmpty() && used < MAX_DRAW_COMMANDS)
            {
                DrawCommand& cmd = gPool[used];
                cmd.mImage = active.mImage;
                cmd.mX = pen + int(f * (glyph.mOffsetX + layer->mOffsetX));
                cmd.mY = y - int(f * (layer->mAscent - glyph.mOffsetY - layer->mOffsetY));
                cmd.mSrc = src;
                auto channel = [](int mult, int c, int add) { return std::min(255, mult * c / 255 + add); };
                cmd.mColor = Color(channel(layer->mColorMult.mRed, color.mRed, layer->mColorAdd.mRed),
                                   channel(layer->mColorMult.mGreen, color.mGreen, layer->mColorAdd.mGreen),
                                   channel(layer->mColorMult.mBlue, color.mBlue, layer->mColorAdd.mBlue),
                                   channel(layer->mColorMult.mAlpha, color.mAlpha, layer->mColorAdd.mAlpha));
                cmd.mDrawMode = layer->mDrawMode;
                cmd.mNext = -1;
                int bucket = std::clamp(glyph.mDrawOrder + layer->mBaseOrder, -128, 127) + 128;
                if (gBucketTail[bucket] >= 0)
                    gPool[gBucketTail[bucket]].mNext = used;
                else
                    gBucketHead[bucket] = used;
                gBucketTail[bucket] = used;
                ++used;
            }
            int advance = int(f * glyph.mAdvance);
            if (next >= 0)
                advance += int(f * (glyph.mKerning[size_t(next)] + layer->mSpacing));
            nextPen = std::max(nextPen, pen + advance);
        }
        pen = nextPen;
    }

    bool oldTint = g.GetTintImages();
    Color oldInk = g.GetInk();
    g.SetTintImages(true);
    for (int bucket = 0; bucket < 256; ++bucket)
        for (int i = gBucketHead[bucket]; i >= 0; i = gPool[i].mNext)
        {
            const DrawCommand& cmd = gPool[i];
            int oldMode = g.GetBlendMode();
            if (cmd.mDrawMode != -1)
                g.SetBlendMode(cmd.mDrawMode);
            g.SetInk(cmd.mColor);
            g.Blit(cmd.mImage, cmd.mX, cmd.mY, cmd.mSrc);
            g.SetBlendMode(oldMode);
            if (glyphRects)
                glyphRects->push_back(Rect(cmd.mX, cmd.mY, cmd.mSrc.mWidth, cmd.mSrc.mHeight));
        }
    g.SetTintImages(oldTint);
    g.SetInk(oldInk);
    if (widthOut)
        *widthOut = pen - x;
}

} // namespace Zestra
