// Reads the resource manifest (images, sounds and fonts by id, sorted into named groups), loads a group one
// resource per step, and hands resources out by id. Reading keeps the first error with its line and file and never
// throws; only the ...OrThrow lookups throw ResourceManagerException.
#pragma once

#include "framework/graphics/Color.h"

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace Zestra
{

class MemoryImage;
class Font;
class FontHost;
class SoundManager;
class XMLParser;
struct ParsedElement;
struct AnimationInfo;

// A counted reference into the owner's shared-image cache; the image lives while any reference does. The
// application wraps its own cache reference in the deleter, so dropping the last copy releases the cache entry.
using ResImageRef = std::shared_ptr<MemoryImage>;

// What the manager needs of the image side of the application; the application implements it (tests use a fake).
class ResourceImageHost
{
public:
    virtual ~ResourceImageHost() = default;
    // The shared image for (path, variant), both compared without case, made on first use; created reports whether
    // this call made it. A picture that exists only as its alpha file takes alphaCompose as its colour. The colour
    // is an argument because the main thread decodes other pictures meanwhile. Null when nothing could be loaded.
    virtual ResImageRef AcquireSharedImage(const std::string& path, const std::string& variant,
                                              const Color& alphaCompose, bool& created) = 0;
    // One picture decoded on its own (alpha pictures, alpha grids, font pictures); null when it cannot be read.
    virtual std::unique_ptr<MemoryImage> LoadImageFile(const std::string& path, bool lookForAlpha) = 0;
    // Chooses between the "nobits3d" and "nobits2d" attributes.
    virtual bool Is3DMode() const { return false; }
    // Gives descriptor fonts their layer images; null lets fonts load their images directly.
    virtual FontHost* GetFontHost() { return nullptr; }
};

class ResourceManagerException : public std::runtime_error
{
public:
    explicit ResourceManagerException(const std::string& message) : std::runtime_error(message) {}
};

class BaseRes
{
public:
    enum Type
    {
        ImageType = 0,
        SoundType = 1,
        FontType = 2,
    };

    explicit BaseRes(int type) : mType(type) {}
    virtual ~BaseRes() = default;
    BaseRes(const BaseRes&) = delete;
    BaseRes& operator=(const BaseRes&) = delete;

    // Releases what was loaded; the declaration stays.
    virtual void Unload() {}
    virtual bool IsLoaded() const { return false; }

    int mType;
    std::string mId;
    std::string mGroup;
    std::string mPath;
    std::map<std::string, std::string> mAttributes;
    bool mProgramMade = false;
    int mLine = 0; // manifest line of the declaration, for messages
};

class ImageRes : public BaseRes
{
public:
    ImageRes();
    ~ImageRes() override;
    void Unload() override;
    bool IsLoaded() const override { return mImage != nullptr; }

    ResImageRef mImage;
    std::string mAlphaImagePath;
    Color mAlphaColor = Color::White;
    std::string mVariant;
    std::string mAlphaGridPath;
    bool mMakePalette = true;
    bool mWant4444 = false;
    bool mWant8888 = false;
    bool mWantSurface = false;
    bool mDropBits = false;
    bool mMinSubdivide = false;
    bool mUseAlpha = true;
    int mRows = 1;
    int mCols = 1;
    std::unique_ptr<AnimationInfo> mAnimation; // null without an "anim" attribute or for "none"
};

class SoundRes : public BaseRes
{
public:
    SoundRes() : BaseRes(SoundType) {}
    void Unload() override;
    bool IsLoaded() const override { return mSoundId >= 0; }

    SoundManager* mSoundManager = nullptr; // the manager that loaded mSoundId; outlives the resource
    int mSoundId = -1;
    double mVolume = -1.0; // below 0: not set
    int mPan = 0;
};

class FontRes : public BaseRes
{
public:
    FontRes();
    ~FontRes() override;
    void Unload() override;
    bool IsLoaded() const override { return mFont != nullptr; }

    std::unique_ptr<Font> mFont;
    std::string mImagePath;
    std::string mTags;
    bool mSysFont = false; // mPath then holds the face name
    int mPointSize = 0;
    bool mBold = false;
    bool mItalic = false;
    bool mShadow = false;
    bool mUnderline = false;
};

class ResourceManager
{
public:
    using ResMap = std::map<std::string, std::unique_ptr<BaseRes>>;

    // The largest counts a manifest may ask for; more is an error of the manifest, reported with its line.
    static constexpr int kMaxCelRows = 1024;
    static constexpr int kMaxCelColumns = 1024;
    static constexpr int kMaxSysFontPoints = 200;

    // images and sounds may be null (then those resources fail to load); both must outlive the manager.
    ResourceManager(ResourceImageHost* images, SoundManager* sounds);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Parsing. False on the first error; ErrorMessage tells what, where.
    bool ReadManifest(const std::string& fileName);
    // The same from text in memory (tests, fuzzing); fileName names it in messages.
    bool ReadManifestFromText(const std::string& text, const std::string& fileName);

    virtual bool ReadCommonAttributes(const ParsedElement& element, BaseRes* res, ResMap& map);
    virtual bool ReadSoundEntry(const ParsedElement& element);
    virtual bool ReadImageEntry(const ParsedElement& element);
    virtual bool ReadFontEntry(const ParsedElement& element);
    virtual bool ReadDefaults(const ParsedElement& element);
    virtual bool ReadSection();

    // Loading and unloading.
    virtual void UnloadGroup(const std::string& group);
    virtual void UnloadFromMap(ResMap& map, const std::string& group);
    virtual bool LoadImageRes(ImageRes* res);
    virtual bool LoadFontRes(FontRes* res);
    virtual bool LoadSoundRes(SoundRes* res);
    // One step of the current group: false at its end or after an error.
    virtual bool LoadNextPending();
    virtual void OnResourceLoaded(BaseRes* res) {}
    virtual void StartLoadingGroup(const std::string& group);
    virtual bool LoadGroup(const std::string& group);

    // Lookups; a resource not loaded throws ResourceManagerException.
    virtual ResImageRef GetImageOrThrow(const std::string& id);
    virtual int GetSoundOrThrow(const std::string& id);
    virtual Font* GetFontOrThrow(const std::string& id);

    // Non-throwing lookups: null / -1 when absent or not loaded.
    MemoryImage* FindImage(const std::string& id) const;
    int FindSound(const std::string& id) const;
    Font* FindFont(const std::string& id) const;

    bool Failed() const { return mFailed; }
    bool HasFailed() const { return mFailed; }
    const std::string& ErrorMessage() const { return mErrorMessage; }
    const std::string& ErrorText() const { return mErrorMessage; }

    // Resources of the group (all groups when empty) that group loading would load.
    int CountResources(const std::string& group) const;
    bool IsGroupLoaded(const std::string& group) const { return mLoadedGroups.count(group) != 0; }
    // The declaration of an id of any kind, or null.
    const BaseRes* FindResource(const std::string& id) const;
    // Ids of a group in declaration order.
    std::vector<std::string> GroupIds(const std::string& group) const;

    void SetTolerateProgramResources(bool tolerate) { mTolerateProgramResources = tolerate; }
    void SetAllowRedefinition(bool allow) { mAllowRedefinition = allow; }
    bool RedefinitionSeen() const { return mRedefinitionSeen; }

protected:
    // Records the first error only; adds the reader's line and file while parsing. Always returns false.
    bool Fail(const std::string& message);
    bool ParseManifest();
    // Reads a whole-number attribute (fallback when absent or not a number); values below low read as low, values
    // above high fail.
    bool ReadBoundedInt(const ParsedElement& element, const char* name, int low, int high, int fallback, int& out);

    ResourceImageHost* mApp;
    SoundManager* mSoundManager;
    ResMap mImages;
    ResMap mSounds;
    ResMap mFonts;
    std::map<std::string, std::vector<BaseRes*>> mGroups;
    std::set<std::string> mLoadedGroups;
    XMLParser* mReader = nullptr; // only while parsing
    std::string mErrorMessage;
    bool mFailed = false;
    std::string mCurrentGroup;
    size_t mLoadCursor = 0;
    bool mHasCurrentGroup = false;
    std::string mDefaultFolder;
    std::string mIdPrefix;
    std::string mSectionId;
    bool mTolerateProgramResources = false;
    bool mAllowRedefinition = false;
    bool mRedefinitionSeen = false;
};

} // namespace Zestra
