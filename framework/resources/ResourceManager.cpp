// Manifest parsing and group loading. Every resource lives in exactly one of the three id maps; the group lists
// only borrow from them. Loading a resource goes through the host (images, fonts) and the sound manager, so the
// manager itself never touches a display or a sound device.
#include "framework/resources/ResourceManager.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SysFont.h"
#include "framework/pak/PakInterface.h"
#include "framework/sound/SoundManager.h"
#include "framework/xml/XMLParser.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace Zestra
{

namespace
{

// "Failed to load image: PATH", naming the archive that holds a damaged picture and saying that the file is there.
std::string ImageFailure(const std::string& path)
{
    std::string text = "Failed to load image: " + ArchiveFileLabel(path);
    if (ArchiveFileExists(path))
        text += ": the picture is damaged or in a form that cannot be read";
    return text;
}

// "Failed to load font: PATH", with the descriptor's line and what is wrong there when it was read at all.
std::string FontFailure(const ImageFont& font, const std::string& path)
{
    std::string text = "Failed to load font: " + ArchiveFileLabel(path);
    const FontData* data = font.GetData();
    if (data != nullptr && data->HasFailed() && data->ErrorLine() > 0)
    {
        // Appended piece by piece: GCC 12 warns falsely about a string built from a literal plus to_string.
        text += ':';
        text += std::to_string(data->ErrorLine());
        text += ": ";
        text += data->ErrorText();
    }
    return text;
}

// Saturating integer parse: out-of-range text clamps instead of overflowing, garbage reads 0.
int ParseInt(const std::string& text, int fallback = 0)
{
    if (text.empty())
        return fallback;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str())
        return fallback;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

double ParseDouble(const std::string& text, double fallback)
{
    if (text.empty())
        return fallback;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || std::isnan(value))
        return fallback;
    return value;
}

// Comma-separated numbers; false (and nothing allocated) when the list holds more than maxCount of them.
bool ParseIntList(const std::string& text, size_t maxCount, std::vector<int>& values)
{
    values.clear();
    size_t count = 0;
    for (size_t start = 0; start < text.size();)
    {
        size_t comma = std::min(text.find(',', start), text.size());
        if (text.find_first_not_of(" \t\r\n", start) < comma)
            ++count;
        start = comma + 1;
    }
    if (count > maxCount)
        return false;
    values.reserve(count);
    size_t start = 0;
    while (start < text.size())
    {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string part = text.substr(start, comma - start);
        if (part.find_first_not_of(" \t\r\n") != std::string::npos)
            values.push_back(ParseInt(part));
        start = comma + 1;
    }
    return true;
}

Color ParseHexColor(const std::string& text)
{
    uint32_t value = uint32_t(std::strtoul(text.c_str(), nullptr, 16));
    return Color(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
}

// The file name of a path without its folder and extension.
std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

// ---- resources ----

ImageRes::ImageRes() : BaseRes(ImageType) {}
ImageRes::~ImageRes() = default;

void ImageRes::Unload()
{
    mImage.reset();
}

void SoundRes::Unload()
{
    if (mSoundId >= 0 && mSoundManager != nullptr)
        mSoundManager->UnloadSound(mSoundId);
    mSoundId = -1;
}

FontRes::FontRes() : BaseRes(FontType) {}
FontRes::~FontRes() = default;

void FontRes::Unload()
{
    mFont.reset();
}

// ---- manager ----

ResourceManager::ResourceManager(ResourceImageHost* images, SoundManager* sounds) : mApp(images), mSoundManager(sounds)
{
}

ResourceManager::~ResourceManager() = default;

bool ResourceManager::Fail(const std::string& message)
{
    if (mFailed)
        return false;
    mFailed = true;
    mErrorMessage = message;
    if (mReader != nullptr)
    {
        if (mReader->CurrentLine() > 0)
            mErrorMessage += " on Line " + std::to_string(mReader->CurrentLine());
        if (!mReader->CurrentFile().empty())
            mErrorMessage += " in File '" + mReader->CurrentFile() + "'";
    }
    return false;
}

bool ResourceManager::ReadManifest(const std::string& fileName)
{
    mFailed = false;
    mErrorMessage.clear();
    XMLParser reader;
    if (!reader.Open(fileName))
        return Fail("Resource file not found: " + fileName);
    mReader = &reader;
    bool ok = ParseManifest();
    mReader = nullptr;
    return ok;
}

bool ResourceManager::ReadManifestFromText(const std::string& text, const std::string& fileName)
{
    mFailed = false;
    mErrorMessage.clear();
    XMLParser reader;
    reader.OpenBuffer(text, fileName);
    mReader = &reader;
    bool ok = ParseManifest();
    mReader = nullptr;
    return ok;
}

bool ResourceManager::ParseManifest()
{
    ParsedElement element;
    bool found = false;
    while (mReader->ReadNext(element))
    {
        if (element.mKind == ParsedElement::Start && element.mText == "ResourceManifest")
        {
            found = true;
            break;
        }
    }
    if (!found)
        return Fail(mReader->Failed() ? mReader->ErrorMessage() : "Expecting ResourceManifest tag");

    while (!mFailed)
    {
        if (!mReader->ReadNext(element))
        {
            if (mReader->Failed())
                return Fail(mReader->ErrorMessage());
            // A manifest cut off before its closing tag may have lost declarations: say so.
            return Fail("Unexpected End of File");
        }
        switch (element.mKind)
        {
        case ParsedElement::Start:
            if (element.mText != "Resources")
                return Fail("Invalid Section '" + element.mText + "'");
            if (!element.HasAttr("id"))
                return Fail("No id specified.");
            mSectionId = element.GetAttr("id");
            if (!ReadSection())
                return false;
            break;
        case ParsedElement::Text:
            return Fail("Element Not Expected '" + element.mText + "'");
        case ParsedElement::End:
            return !mFailed; // the manifest's own end
        default:
            break;
        }
    }
    return !mFailed;
}

bool ResourceManager::ReadSection()
{
    ParsedElement element;
    while (!mFailed)
    {
        if (!mReader->ReadNext(element))
        {
            if (mReader->Failed())
                return Fail(mReader->ErrorMessage());
            return Fail("Unexpected End of File");
        }
        if (element.mKind == ParsedElement::End)
            return true;
        if (element.mKind == ParsedElement::Text)
            return Fail("Element Not Expected '" + element.mText + "'");
        if (element.mKind != ParsedElement::Start)
            continue;

        const std::string name = element.mText;
        bool ok;
        if (name == "Image")
            ok = ReadImageEntry(element);
        else if (name == "Sound")
            ok = ReadSoundEntry(element);
        else if (name == "Font")
            ok = ReadFontEntry(element);
        else if (name == "SetDefaults")
            ok = ReadDefaults(element);
        else
            return Fail("Invalid Section '" + name + "'");
        if (!ok)
            return false;

        // Declarations carry no content: the very next element must close them.
        if (!mReader->ReadNext(element))
        {
            if (mReader->Failed())
                return Fail(mReader->ErrorMessage());
            return Fail("Unexpected End of File");
        }
        if (element.mKind != ParsedElement::End || element.mText != name)
            return Fail("Unexpected element found.");
    }
    return false;
}

bool ResourceManager::ReadDefaults(const ParsedElement& element)
{
    if (element.HasAttr("path"))
        mDefaultFolder = element.GetAttr("path") + "/";
    if (element.HasAttr("idprefix"))
        mIdPrefix = element.GetAttr("idprefix");
    return true;
}

bool ResourceManager::ReadCommonAttributes(const ParsedElement& element, BaseRes* res, ResMap& map)
{
    if (!element.HasAttr("path"))
        return Fail("No path specified.");
    const std::string& path = element.GetAttr("path");
    if (!path.empty() && path[0] == '!')
    {
        res->mPath = path;
        res->mProgramMade = path == "!program";
    }
    else
    {
        res->mPath = mDefaultFolder + path;
    }
    res->mId = mIdPrefix + (element.HasAttr("id") ? element.GetAttr("id") : BaseName(path));
    res->mGroup = mSectionId;
    res->mAttributes = element.mAttrs;
    res->mLine = mReader != nullptr ? mReader->CurrentLine() : 0;

    if (map.count(res->mId) != 0)
    {
        if (!mAllowRedefinition)
            return Fail("Resource already defined.");
        mRedefinitionSeen = true;
    }
    return true;
}

namespace
{

// Enters res under its id; a redefinition replaces the old declaration in place (same group, same list slot).
void InsertResource(std::unique_ptr<BaseRes> res, ResourceManager::ResMap& map,
                    std::map<std::string, std::vector<BaseRes*>>& groups)
{
    auto it = map.find(res->mId);
    if (it != map.end())
    {
        BaseRes* old = it->second.get();
        old->Unload();
        res->mGroup = old->mGroup;
        for (BaseRes*& slot : groups[old->mGroup])
        {
            if (slot == old)
                slot = res.get();
        }
        it->second = std::move(res);
        return;
    }
    groups[res->mGroup].push_back(res.get());
    std::string id = res->mId;
    map[id] = std::move(res);
}

} // namespace

bool ResourceManager::ReadBoundedInt(const ParsedElement& element, const char* name, int low, int high, int fallback,
                                     int& out)
{
    const std::string& text = element.GetAttr(name);
    out = std::max(low, ParseInt(text, fallback));
    if (out > high)
        return Fail(std::string(name) + "=\"" + text + "\" is more than " + std::to_string(high));
    return true;
}

bool ResourceManager::ReadImageEntry(const ParsedElement& element)
{
    auto res = std::make_unique<ImageRes>();
    if (!ReadCommonAttributes(element, res.get(), mImages))
        return false;
    const auto& a = element.mAttrs;
    auto has = [&](const char* name) { return a.count(name) != 0; };
    if (has("alphaimage"))
        res->mAlphaImagePath = mDefaultFolder + element.GetAttr("alphaimage");
    res->mAlphaColor = ParseHexColor(has("alphacolor") ? element.GetAttr("alphacolor") : "FFFFFF");
    res->mVariant = element.GetAttr("variant");
    if (has("alphagrid"))
        res->mAlphaGridPath = mDefaultFolder + element.GetAttr("alphagrid");
    res->mMakePalette = !has("nopal");
    res->mWant4444 = has("a4r4g4b4");
    res->mWant8888 = has("a8r8g8b8");
    res->mWantSurface = has("ddsurface");
    res->mMinSubdivide = has("minsubdivide");
    res->mUseAlpha = !has("noalpha");
    if (has("nobits"))
        res->mDropBits = true;
    else
        res->mDropBits = (mApp != nullptr && mApp->Is3DMode()) ? has("nobits3d") : has("nobits2d");
    // A grid of zero cels would divide by zero wherever cel sizes are computed, so fewer than one reads as one.
    // Every count is bounded before anything is made for it: a manifest must not be able to ask for gigabytes.
    if (!ReadBoundedInt(element, "rows", 1, kMaxCelRows, 1, res->mRows) ||
        !ReadBoundedInt(element, "cols", 1, kMaxCelColumns, 1, res->mCols))
        return false;

    if (has("anim"))
    {
        const std::string& kind = element.GetAttr("anim");
        int animKind;
        if (strcasecmp(kind.c_str(), "none") == 0)
            animKind = AnimationInfo::None;
        else if (strcasecmp(kind.c_str(), "once") == 0)
            animKind = AnimationInfo::Once;
        else if (strcasecmp(kind.c_str(), "pingpong") == 0)
            animKind = AnimationInfo::PingPong;
        else if (strcasecmp(kind.c_str(), "loop") == 0)
            animKind = AnimationInfo::Loop;
        else
            return Fail("Invalid animation type.");
        if (animKind != AnimationInfo::None)
        {
            auto anim = std::make_unique<AnimationInfo>();
            anim->mKind = animKind;
            int beginDelay = 0;
            int endDelay = 0;
            if (!ReadBoundedInt(element, "framedelay", 1, AnimationInfo::kMaxDelay, 1, anim->mFrameDelay) ||
                !ReadBoundedInt(element, "begindelay", 0, AnimationInfo::kMaxDelay, 0, beginDelay) ||
                !ReadBoundedInt(element, "enddelay", 0, AnimationInfo::kMaxDelay, 0, endDelay))
                return false;
            if (has("perframedelay"))
            {
                if (!ParseIntList(element.GetAttr("perframedelay"), AnimationInfo::kMaxFrames, anim->mPerCelDelay))
                    return Fail("perframedelay lists more than " + std::to_string(AnimationInfo::kMaxFrames) +
                                " frames");
                for (int delay : anim->mPerCelDelay)
                    if (delay > AnimationInfo::kMaxDelay)
                        return Fail("perframedelay holds " + std::to_string(delay) + ", more than " +
                                    std::to_string(AnimationInfo::kMaxDelay) + " updates");
            }
            if (has("framemap"))
            {
                if (!ParseIntList(element.GetAttr("framemap"), AnimationInfo::kMaxFrames, anim->mCelMap))
                    return Fail("framemap lists more than " + std::to_string(AnimationInfo::kMaxFrames) + " frames");
                const int cels = res->mRows * res->mCols;
                for (int cel : anim->mCelMap)
                    if (cel < 0 || cel >= cels)
                        return Fail("framemap names cel " + std::to_string(cel) + ", but the image has cels 0 to " +
                                    std::to_string(cels - 1));
            }
            anim->Compute(std::max(res->mRows, res->mCols), beginDelay, endDelay);
            res->mAnimation = std::move(anim);
        }
    }
    InsertResource(std::move(res), mImages, mGroups);
    return true;
}

bool ResourceManager::ReadSoundEntry(const ParsedElement& element)
{
    auto res = std::make_unique<SoundRes>();
    if (!ReadCommonAttributes(element, res.get(), mSounds))
        return false;
    res->mVolume = ParseDouble(element.GetAttr("volume"), -1.0);
    res->mPan = ParseInt(element.GetAttr("pan"));
    InsertResource(std::move(res), mSounds, mGroups);
    return true;
}

bool ResourceManager::ReadFontEntry(const ParsedElement& element)
{
    auto res = std::make_unique<FontRes>();
    if (!ReadCommonAttributes(element, res.get(), mFonts))
        return false;
    res->mImagePath = element.GetAttr("image");
    res->mTags = element.GetAttr("tags");
    if (StartsWith(res->mPath, "!sys:"))
    {
        res->mSysFont = true;
        res->mPath = res->mPath.substr(5);
        res->mPointSize = ParseInt(element.GetAttr("size"));
        if (res->mPointSize < 1)
            return Fail("SysFont needs point size");
        if (res->mPointSize > kMaxSysFontPoints)
            return Fail("SysFont size " + std::to_string(res->mPointSize) + " is larger than " +
                        std::to_string(kMaxSysFontPoints) + " points");
    }
    res->mBold = element.HasAttr("bold");
    res->mItalic = element.HasAttr("italic");
    res->mShadow = element.HasAttr("shadow");
    res->mUnderline = element.HasAttr("underline");
    InsertResource(std::move(res), mFonts, mGroups);
    return true;
}

// ---- loading ----

void ResourceManager::StartLoadingGroup(const std::string& group)
{
    mFailed = false;
    mErrorMessage.clear();
    mCurrentGroup = group;
    mLoadCursor = 0;
    mHasCurrentGroup = true;
}

bool ResourceManager::LoadNextPending()
{
    if (mFailed || !mHasCurrentGroup)
        return false;
    auto it = mGroups.find(mCurrentGroup);
    if (it == mGroups.end())
        return false;
    const std::vector<BaseRes*>& list = it->second;
    while (mLoadCursor < list.size())
    {
        BaseRes* res = list[mLoadCursor++];
        if (res->mProgramMade || res->IsLoaded())
            continue;
        switch (res->mType)
        {
        case BaseRes::ImageType: return LoadImageRes(static_cast<ImageRes*>(res));
        case BaseRes::SoundType: return LoadSoundRes(static_cast<SoundRes*>(res));
        case BaseRes::FontType: return LoadFontRes(static_cast<FontRes*>(res));
        default: break;
        }
    }
    return false;
}

bool ResourceManager::LoadGroup(const std::string& group)
{
    mFailed = false;
    mErrorMessage.clear();
    StartLoadingGroup(group);
    while (LoadNextPending())
    {
    }
    if (mFailed)
        return false;
    mLoadedGroups.insert(group);
    return true;
}

bool ResourceManager::LoadImageRes(ImageRes* res)
{
    if (mApp == nullptr)
        return Fail("Failed to load image: " + res->mPath);
    bool created = false;
    ResImageRef image = mApp->AcquireSharedImage(res->mPath, res->mVariant, res->mAlphaColor, created);
    if (!image)
        return Fail(ImageFailure(res->mPath));

    if (created)
    {
        if (!res->mAlphaImagePath.empty())
        {
            std::unique_ptr<MemoryImage> alpha = mApp->LoadImageFile(res->mAlphaImagePath, true);
            if (!alpha)
                return Fail(ImageFailure(res->mAlphaImagePath));
            if (alpha->GetWidth() != image->GetWidth() || alpha->GetHeight() != image->GetHeight())
                return Fail("AlphaImage size mismatch between " + res->mPath + " and " + res->mAlphaImagePath);
            uint32_t* bits = image->GetBits();
            const uint32_t* alphaBits = alpha->GetBits();
            size_t count = size_t(image->GetWidth()) * size_t(image->GetHeight());
            for (size_t i = 0; i < count; ++i)
                bits[i] = (bits[i] & 0x00FFFFFFu) | ((alphaBits[i] & 0xFFu) << 24);
            image->MarkPixelsChanged();
        }
        if (!res->mAlphaGridPath.empty())
        {
            std::unique_ptr<MemoryImage> grid = mApp->LoadImageFile(res->mAlphaGridPath, true);
            if (!grid)
                return Fail(ImageFailure(res->mAlphaGridPath));
            int celWidth = image->GetWidth() / res->mCols;
            int celHeight = image->GetHeight() / res->mRows;
            if (grid->GetWidth() != celWidth || grid->GetHeight() != celHeight)
                return Fail("GridAlphaImage size mismatch between " + res->mPath + " and " + res->mAlphaGridPath);
            uint32_t* bits = image->GetBits();
            const uint32_t* gridBits = grid->GetBits();
            int width = image->GetWidth();
            for (int row = 0; row < res->mRows; ++row)
            {
                for (int col = 0; col < res->mCols; ++col)
                {
                    for (int y = 0; y < celHeight; ++y)
                    {
                        uint32_t* line = bits + size_t(row * celHeight + y) * size_t(width) + size_t(col * celWidth);
                        const uint32_t* gridLine = gridBits + size_t(y) * size_t(celWidth);
                        for (int x = 0; x < celWidth; ++x)
                            line[x] = (line[x] & 0x00FFFFFFu) | ((gridLine[x] & 0xFFu) << 24);
                    }
                }
            }
            image->MarkPixelsChanged();
        }
    }

    image->RefreshTransparencyFlags();
    // Hardware surfaces and texture formats only matter to a hardware display; the software one ignores them.
    if (res->mMakePalette)
        image->ToPalette();
    if (res->mAnimation)
        image->SetAnimation(std::make_unique<AnimationInfo>(*res->mAnimation));
    image->SetCelGrid(res->mRows, res->mCols);
    if (res->mDropBits)
        image->DropBits();
    res->mImage = std::move(image);
    OnResourceLoaded(res);
    return true;
}

bool ResourceManager::LoadSoundRes(SoundRes* res)
{
    if (mSoundManager == nullptr)
        return Fail("Failed to load sound: " + ArchiveFileLabel(res->mPath));
    int id = mSoundManager->FindFreeId();
    if (id < 0)
        return Fail("Out of free sound ids");
    if (!mSoundManager->LoadSound(id, res->mPath))
        return Fail("Failed to load sound: " + ArchiveFileLabel(res->mPath));
    if (res->mVolume >= 0)
        mSoundManager->SetDefaultVolume(id, res->mVolume);
    if (res->mPan != 0)
        mSoundManager->SetDefaultPan(id, res->mPan);
    res->mSoundManager = mSoundManager;
    res->mSoundId = id;
    OnResourceLoaded(res);
    return true;
}

bool ResourceManager::LoadFontRes(FontRes* res)
{
    std::unique_ptr<Font> font;
    if (res->mSysFont)
    {
        auto sysFont = std::make_unique<SysFont>(res->mPath, res->mPointSize, res->mBold, res->mItalic,
                                                 res->mUnderline);
        if (!sysFont->IsLoaded())
            return Fail("Failed to load font: " + res->mPath);
        sysFont->SetShadow(res->mShadow);
        font = std::move(sysFont);
    }
    else if (!res->mImagePath.empty())
    {
        std::unique_ptr<MemoryImage> picture = mApp != nullptr ? mApp->LoadImageFile(res->mImagePath, true) : nullptr;
        if (!picture)
            return Fail(ImageFailure(res->mImagePath));
        auto imageFont = std::make_unique<ImageFont>(std::shared_ptr<Image>(std::move(picture)), res->mPath);
        if (!imageFont->IsLoaded())
            return Fail(FontFailure(*imageFont, res->mPath));
        font = std::move(imageFont);
    }
    else if (StartsWith(res->mPath, "!ref:"))
    {
        std::string refId = res->mPath.substr(5);
        Font* original = FindFont(refId);
        if (original == nullptr)
            return Fail("Ref font not found: " + refId);
        font.reset(original->Clone());
    }
    else
    {
        auto imageFont = std::make_unique<ImageFont>(res->mPath, mApp != nullptr ? mApp->GetFontHost() : nullptr);
        if (!imageFont->IsLoaded())
            return Fail(FontFailure(*imageFont, res->mPath));
        font = std::move(imageFont);
    }

    if (auto* imageFont = dynamic_cast<ImageFont*>(font.get()))
    {
        const std::string& tags = res->mTags;
        size_t start = 0;
        while (start < tags.size())
        {
            size_t end = tags.find_first_of(", \t\r\n", start);
            if (end == std::string::npos)
                end = tags.size();
            if (end > start)
                imageFont->AddTag(tags.substr(start, end - start));
            start = end + 1;
        }
        imageFont->EnsureActiveLayers();
    }
    res->mFont = std::move(font);
    OnResourceLoaded(res);
    return true;
}

// ---- unloading and lookups ----

void ResourceManager::UnloadFromMap(ResMap& map, const std::string& group)
{
    for (auto& [id, res] : map)
    {
        if (group.empty() || res->mGroup == group)
            res->Unload();
    }
}

void ResourceManager::UnloadGroup(const std::string& group)
{
    UnloadFromMap(mImages, group);
    UnloadFromMap(mSounds, group);
    UnloadFromMap(mFonts, group);
    mLoadedGroups.erase(group);
}

ResImageRef ResourceManager::GetImageOrThrow(const std::string& id)
{
    auto it = mImages.find(id);
    if (it != mImages.end())
    {
        auto* res = static_cast<ImageRes*>(it->second.get());
        if (res->mImage)
            return res->mImage;
        if (res->mProgramMade && mTolerateProgramResources)
            return ResImageRef();
    }
    std::string message = "Image resource not found: " + id;
    Fail(message);
    throw ResourceManagerException(message);
}

int ResourceManager::GetSoundOrThrow(const std::string& id)
{
    auto it = mSounds.find(id);
    if (it != mSounds.end())
    {
        auto* res = static_cast<SoundRes*>(it->second.get());
        if (res->mSoundId >= 0)
            return res->mSoundId;
        if (res->mProgramMade && mTolerateProgramResources)
            return -1;
    }
    std::string message = "Sound resource not found: " + id;
    Fail(message);
    throw ResourceManagerException(message);
}

Font* ResourceManager::GetFontOrThrow(const std::string& id)
{
    auto it = mFonts.find(id);
    if (it != mFonts.end())
    {
        auto* res = static_cast<FontRes*>(it->second.get());
        if (res->mFont)
            return res->mFont.get();
        if (res->mProgramMade && mTolerateProgramResources)
            return nullptr;
    }
    std::string message = "Font resource not found: " + id;
    Fail(message);
    throw ResourceManagerException(message);
}

MemoryImage* ResourceManager::FindImage(const std::string& id) const
{
    auto it = mImages.find(id);
    return it == mImages.end() ? nullptr : static_cast<const ImageRes*>(it->second.get())->mImage.get();
}

int ResourceManager::FindSound(const std::string& id) const
{
    auto it = mSounds.find(id);
    return it == mSounds.end() ? -1 : static_cast<const SoundRes*>(it->second.get())->mSoundId;
}

Font* ResourceManager::FindFont(const std::string& id) const
{
    auto it = mFonts.find(id);
    return it == mFonts.end() ? nullptr : static_cast<const FontRes*>(it->second.get())->mFont.get();
}

int ResourceManager::CountResources(const std::string& group) const
{
    int count = 0;
    for (const auto& [name, list] : mGroups)
    {
        if (!group.empty() && name != group)
            continue;
        for (const BaseRes* res : list)
        {
            if (!res->mProgramMade)
                ++count;
        }
    }
    return count;
}

const BaseRes* ResourceManager::FindResource(const std::string& id) const
{
    for (const ResMap* map : {&mImages, &mSounds, &mFonts})
    {
        auto it = map->find(id);
        if (it != map->end())
            return it->second.get();
    }
    return nullptr;
}

std::vector<std::string> ResourceManager::GroupIds(const std::string& group) const
{
    std::vector<std::string> ids;
    auto it = mGroups.find(group);
    if (it != mGroups.end())
    {
        for (const BaseRes* res : it->second)
            ids.push_back(res->mId);
    }
    return ids;
}

} // namespace Zestra
