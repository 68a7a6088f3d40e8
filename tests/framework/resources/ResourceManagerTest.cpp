#include "framework/resources/ResourceManager.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/sound/SoundManager.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace Zestra;

namespace
{

// Pictures made on request: size by path (8 x 4 unless set), colour pixels 0xFF112233, alpha pictures grey.
class FakeImageHost : public ResourceImageHost
{
public:
    ResImageRef AcquireSharedImage(const std::string& path, const std::string& variant, const Color& alphaCompose,
                                   bool& created) override
    {
        composeColors.push_back(alphaCompose);
        created = false;
        if (missing.count(path))
            return nullptr;
        ResImageRef& slot = cache[path + "|" + variant];
        if (!slot)
        {
            slot = Make(path, 0xFF112233);
            created = true;
        }
        return slot;
    }
    std::unique_ptr<MemoryImage> LoadImageFile(const std::string& path, bool) override
    {
        if (missing.count(path))
            return nullptr;
        return Make(path, 0xFF808080);
    }
    std::unique_ptr<MemoryImage> Make(const std::string& path, uint32_t pixel)
    {
        auto size = sizes.count(path) ? sizes[path] : std::make_pair(8, 4);
        auto image = std::make_unique<MemoryImage>(size.first, size.second);
        uint32_t* bits = image->GetBits();
        for (int i = 0; i < size.first * size.second; ++i)
            bits[i] = pixel;
        image->MarkPixelsChanged();
        return image;
    }

    std::map<std::string, ResImageRef> cache;
    std::map<std::string, std::pair<int, int>> sizes;
    std::set<std::string> missing;
    std::vector<Color> composeColors;
};

class FakeSoundManager : public SoundManager
{
public:
    bool HasDevice() override { return false; }
    int FindOrLoadSound(const std::string&) override { return -1; }
    bool LoadSound(int id, const std::string& path) override
    {
        if (path.find("bad") != std::string::npos)
            return false;
        paths[id] = path;
        return true;
    }
    void UnloadSound(int id) override { paths.erase(id); }
    void SetVolume(double) override {}
    bool SetDefaultVolume(int id, double volume) override
    {
        volumes[id] = volume;
        return true;
    }
    bool SetDefaultPan(int id, int pan) override
    {
        pans[id] = pan;
        return true;
    }
    SoundInstance* MakeInstance(int) override { return nullptr; }
    void UnloadAllSounds() override { paths.clear(); }
    void DeleteAllInstances() override {}
    double GetSystemVolume() override { return 1.0; }
    void SetSystemVolume(double) override {}
    void Idle() override {}
    void BindWindow(Platform*, bool) override {}
    void StopAllSounds() override {}
    int FindFreeId() override
    {
        for (int id = 0; id < capacity; ++id)
        {
            if (!paths.count(id))
                return id;
        }
        return -1;
    }
    int CountSounds() override { return int(paths.size()); }

    int capacity = 256;
    std::map<int, std::string> paths;
    std::map<int, double> volumes;
    std::map<int, int> pans;
};

std::string Manifest(const std::string& sections)
{
    return "<?xml version=\"1.0\"?>\n<ResourceManifest>\n" + sections + "</ResourceManifest>\n";
}

class ResourceManagerTest : public ::testing::Test
{
protected:
    bool Read(const std::string& sections) { return manager.ReadManifestFromText(Manifest(sections), "res.xml"); }

    FakeImageHost host;
    FakeSoundManager sounds;
    ResourceManager manager{&host, &sounds};
};

} // namespace

TEST_F(ResourceManagerTest, DeclarationsTakeDefaultsAndAttributes)
{
    ASSERT_TRUE(Read("<Resources id=\"Init\">\n"
                     "  <SetDefaults path=\"images\" idprefix=\"IMAGE_\"/>\n"
                     "  <Image path=\"logo\"/>\n"
                     "  <Image id=\"BAR\" path=\"ui\\bar.png\" rows=\"0\" cols=\"3\" alphacolor=\"FF8000\" nobits/>\n"
                     "  <Image id=\"SCREEN\" path=\"!program\"/>\n"
                     "</Resources>\n"
                     "<Resources id=\"Game\">\n"
                     "  <SetDefaults idprefix=\"SOUND_\"/>\n"
                     "  <Sound path=\"click\" volume=\"0.5\" pan=\"-200\"/>\n"
                     "</Resources>\n"))
        << manager.ErrorMessage();

    const auto* logo = dynamic_cast<const ImageRes*>(manager.FindResource("IMAGE_logo"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->mPath, "images/logo");
    EXPECT_EQ(logo->mGroup, "Init");
    EXPECT_TRUE(logo->mMakePalette);
    const auto* bar = dynamic_cast<const ImageRes*>(manager.FindResource("IMAGE_BAR"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->mPath, "images/ui\\bar.png");
    EXPECT_EQ(bar->mRows, 1); // a zero grid would divide by zero later
    EXPECT_EQ(bar->mCols, 3);
    EXPECT_EQ(bar->mAlphaColor, Color(255, 128, 0));
    EXPECT_TRUE(bar->mDropBits);
    const auto* screen = manager.FindResource("IMAGE_SCREEN");
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->mProgramMade);
    EXPECT_EQ(screen->mPath, "!program");
    const auto* click = dynamic_cast<const SoundRes*>(manager.FindResource("SOUND_click"));
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->mPath, "images/click"); // the folder default persists across sections
    EXPECT_DOUBLE_EQ(click->mVolume, 0.5);
    EXPECT_EQ(click->mPan, -200);

    EXPECT_EQ(manager.CountResources("Init"), 2); // the program-made screen is not counted
    EXPECT_EQ(manager.CountResources(""), 3);
    EXPECT_EQ(manager.GroupIds("Init"), (std::vector<std::string>{"IMAGE_logo", "IMAGE_BAR", "IMAGE_SCREEN"}));
}

TEST_F(ResourceManagerTest, AnimationsAreComputedFromTheManifest)
{
    ASSERT_TRUE(Read("<Resources id=\"A\">\n"
                     "<Image id=\"P\" path=\"p\" cols=\"4\" anim=\"PingPong\"/>\n"
                     "<Image id=\"L\" path=\"l\" rows=\"3\" anim=\"loop\" framedelay=\"5\" begindelay=\"20\""
                     " perframedelay=\"0,7\"/>\n"
                     "<Image id=\"M\" path=\"m\" cols=\"2\" anim=\"once\" framemap=\"1, 0,1\"/>\n"
                     "<Image id=\"N\" path=\"n\" cols=\"2\" anim=\"none\"/>\n"
                     "</Resources>\n"))
        << manager.ErrorMessage();
    auto anim = [this](const char* id) { return static_cast<const ImageRes*>(manager.FindResource(id))->mAnimation.get(); };
    ASSERT_NE(anim("P"), nullptr);
    EXPECT_EQ(anim("P")->mCelMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(anim("P")->mCelCount, 6);
    ASSERT_NE(anim("L"), nullptr);
    EXPECT_EQ(anim("L")->mPerCelDelay, (std::vector<int>{20, 7, 5}));
    EXPECT_EQ(anim("L")->mTotalTime, 32);
    ASSERT_NE(anim("M"), nullptr);
    EXPECT_EQ(anim("M")->mCelMap, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(anim("N"), nullptr);

    // Whoever fills one in directly gets the same bounds: frames, map and delays stay within them.
    AnimationInfo huge;
    huge.mKind = AnimationInfo::PingPong;
    huge.mFrameDelay = 1 << 30;
    huge.Compute(100000, 1 << 30, 1 << 30);
    EXPECT_LE(huge.mCelMap.size(), size_t(AnimationInfo::kMaxFrames));
    EXPECT_EQ(huge.mCelCount, int(huge.mCelMap.size()));
    EXPECT_EQ(huge.mPerCelDelay.size(), huge.mCelMap.size());
    EXPECT_GT(huge.mTotalTime, 0);
    EXPECT_LE(huge.mTotalTime, AnimationInfo::kMaxFrames * AnimationInfo::kMaxDelay);
}

TEST_F(ResourceManagerTest, ManifestErrorsNameTheLineAndFile)
{
    struct Case
    {
        std::string manifest;
        std::string error;
    };
    const std::string head = "<ResourceManifest>\n<Resources id=\"G\">\n";
    std::string manyDelays = "0";
    for (int i = 0; i < 4096; ++i)
        manyDelays += ", 0";
    const Case cases[] = {
        {"<Other/>", "Expecting ResourceManifest tag on Line 1 in File 'res.xml'"},
        {"<ResourceManifest>\n<Bogus/>", "Invalid Section 'Bogus' on Line 2 in File 'res.xml'"},
        {"<ResourceManifest>\nwords", "Element Not Expected 'words' on Line 2 in File 'res.xml'"},
        {"<ResourceManifest>\n<Resources>", "No id specified. on Line 2 in File 'res.xml'"},
        {head + "<Image id=\"a\" path=\"a\">\n<Image path=\"b\"/>",
         "Unexpected element found. on Line 4 in File 'res.xml'"},
        {head + "<Image id=\"a\"/>", "No path specified. on Line 3 in File 'res.xml'"},
        {head + "<Sound path=\"s\"/>\n<Image path=\"s\"/>\n<Sound id=\"s\" path=\"t\"/>",
         "Resource already defined. on Line 5 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"sideways\"/>", "Invalid animation type. on Line 3 in File 'res.xml'"},
        {head + "<Font path=\"!sys:Arial\" size=\"0\"/>", "SysFont needs point size on Line 3 in File 'res.xml'"},
        {head + "<Mystery/>", "Invalid Section 'Mystery' on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\"/>\n</Wrong>", "End 'Wrong' Doesn't Match Start 'Resources' on Line 4 in File 'res.xml'"},
        {head + "<Image path=\"a\"/>\n", "Unexpected End of File on Line 4 in File 'res.xml'"},
        // Counts are bounded before anything is made for them.
        {head + "<Image path=\"a\" rows=\"5000\"/>", "rows=\"5000\" is more than 1024 on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\"/>\n<Image path=\"b\" cols=\"2000\" anim=\"pingpong\"/>",
         "cols=\"2000\" is more than 1024 on Line 4 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"loop\" framedelay=\"400000\"/>",
         "framedelay=\"400000\" is more than 360000 on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"loop\" enddelay=\"99999999999\"/>",
         "enddelay=\"99999999999\" is more than 360000 on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"loop\" perframedelay=\"" + manyDelays + "\"/>",
         "perframedelay lists more than 4096 frames on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"once\" framemap=\"" + manyDelays + "\"/>",
         "framemap lists more than 4096 frames on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"loop\" perframedelay=\"1,999999\"/>",
         "perframedelay holds 999999, more than 360000 updates on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\" cols=\"2\" anim=\"once\" framemap=\"0,1,7\"/>",
         "framemap names cel 7, but the image has cels 0 to 1 on Line 3 in File 'res.xml'"},
        {head + "<Image path=\"a\" anim=\"once\" framemap=\"-1\"/>",
         "framemap names cel -1, but the image has cels 0 to 0 on Line 3 in File 'res.xml'"},
        {head + "<Font path=\"!sys:Arial\" size=\"5000\"/>",
         "SysFont size 5000 is larger than 200 points on Line 3 in File 'res.xml'"},
    };
    for (const Case& c : cases)
    {
        ResourceManager fresh(&host, &sounds);
        EXPECT_FALSE(fresh.ReadManifestFromText(c.manifest, "res.xml")) << c.manifest;
        EXPECT_TRUE(fresh.Failed());
        EXPECT_EQ(fresh.ErrorMessage(), c.error) << c.manifest;
    }
    EXPECT_FALSE(manager.ReadManifest("/no/such/resources.xml"));
    EXPECT_EQ(manager.ErrorMessage(), "Resource file not found: /no/such/resources.xml");
}

TEST_F(ResourceManagerTest, RedefinitionWhenAllowedReplacesTheDeclaration)
{
    manager.SetAllowRedefinition(true);
    ASSERT_TRUE(Read("<Resources id=\"G\"><Image id=\"A\" path=\"one\"/></Resources>"
                     "<Resources id=\"H\"><Image id=\"A\" path=\"two\"/></Resources>"));
    EXPECT_TRUE(manager.RedefinitionSeen());
    EXPECT_EQ(manager.FindResource("A")->mPath, "two");
    EXPECT_EQ(manager.GroupIds("G"), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(manager.GroupIds("H").empty());
}

TEST_F(ResourceManagerTest, GroupsLoadStepByStepAndLookupsThrowUntilLoaded)
{
    ASSERT_TRUE(Read("<Resources id=\"Init\">\n"
                     "<Image id=\"A\" path=\"a\" alphacolor=\"00FF00\" cols=\"2\" nopal/>\n"
                     "<Image id=\"SCREEN\" path=\"!program\"/>\n"
                     "<Sound id=\"S\" path=\"s\" volume=\"0.25\" pan=\"300\"/>\n"
                     "<Sound id=\"T\" path=\"t\"/>\n"
                     "</Resources>\n"
                     "<Resources id=\"Later\"><Image id=\"B\" path=\"b\"/></Resources>\n"));

    EXPECT_THROW(manager.GetImageOrThrow("A"), ResourceManagerException);
    manager.StartLoadingGroup("Init");
    int steps = 0;
    while (manager.LoadNextPending())
        ++steps;
    EXPECT_FALSE(manager.Failed()) << manager.ErrorMessage();
    EXPECT_EQ(steps, manager.CountResources("Init"));
    EXPECT_TRUE(manager.LoadGroup("Init")); // nothing left to load; the group is recorded
    EXPECT_TRUE(manager.IsGroupLoaded("Init"));

    ResImageRef a = manager.GetImageOrThrow("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetCelCols(), 2);
    ASSERT_EQ(host.composeColors.size(), 1u); // one acquisition, with the declared colour as an argument
    EXPECT_EQ(host.composeColors[0], Color(0, 255, 0));
    EXPECT_THROW(manager.GetImageOrThrow("SCREEN"), ResourceManagerException);
    manager.SetTolerateProgramResources(true);
    EXPECT_EQ(manager.GetImageOrThrow("SCREEN"), nullptr);

    int s = manager.GetSoundOrThrow("S");
    EXPECT_EQ(sounds.paths[s], "s");
    EXPECT_DOUBLE_EQ(sounds.volumes[s], 0.25);
    EXPECT_EQ(sounds.pans[s], 300);
    EXPECT_EQ(sounds.volumes.count(manager.GetSoundOrThrow("T")), 0u); // volume not set stays the default

    try
    {
        manager.GetImageOrThrow("B");
        FAIL() << "an image of an unloaded group was handed out";
    }
    catch (const ResourceManagerException& e)
    {
        EXPECT_STREQ(e.what(), "Image resource not found: B");
    }
    EXPECT_THROW(manager.GetSoundOrThrow("nothing"), ResourceManagerException);
    EXPECT_THROW(manager.GetFontOrThrow("nothing"), ResourceManagerException);
    EXPECT_TRUE(manager.LoadGroup("NeverDeclared"));

    manager.UnloadGroup("Init");
    EXPECT_FALSE(manager.IsGroupLoaded("Init"));
    EXPECT_EQ(manager.FindImage("A"), nullptr);
    EXPECT_EQ(manager.FindSound("S"), -1);
    EXPECT_TRUE(sounds.paths.empty());
}

TEST_F(ResourceManagerTest, LoadFailuresStopTheGroupWithTheirMessage)
{
    struct Case
    {
        std::string declaration;
        std::string error;
    };
    const Case cases[] = {
        {"<Image path=\"gone\"/>", "Failed to load image: gone"},
        {"<Image path=\"a\" alphaimage=\"gone\"/>", "Failed to load image: gone"},
        {"<Image path=\"a\" alphaimage=\"small\"/>", "AlphaImage size mismatch between a and small"},
        {"<Image path=\"a\" cols=\"2\" alphagrid=\"big\"/>", "GridAlphaImage size mismatch between a and big"},
        {"<Sound path=\"bad\"/>", "Failed to load sound: bad"},
        {"<Font path=\"!ref:NOPE\"/>", "Ref font not found: NOPE"},
        {"<Font path=\"/no/such/font.txt\"/>", "Failed to load font: /no/such/font.txt"},
    };
    host.missing = {"gone"};
    host.sizes["small"] = {2, 2};
    host.sizes["big"] = {8, 4};
    for (const Case& c : cases)
    {
        host.cache.clear();
        ResourceManager fresh(&host, &sounds);
        ASSERT_TRUE(fresh.ReadManifestFromText(Manifest("<Resources id=\"G\">" + c.declaration +
                                                        "<Image id=\"AFTER\" path=\"after\"/></Resources>"),
                                               "res.xml"))
            << fresh.ErrorMessage();
        EXPECT_FALSE(fresh.LoadGroup("G")) << c.declaration;
        EXPECT_EQ(fresh.ErrorMessage(), c.error);
        EXPECT_EQ(fresh.FindImage("AFTER"), nullptr) << "loading went on after " << c.declaration;
    }

    sounds.capacity = 0;
    ResourceManager full(&host, &sounds);
    ASSERT_TRUE(full.ReadManifestFromText(Manifest("<Resources id=\"G\"><Sound path=\"s\"/></Resources>"), "r"));
    EXPECT_FALSE(full.LoadGroup("G"));
    EXPECT_EQ(full.ErrorMessage(), "Out of free sound ids");
}

TEST_F(ResourceManagerTest, AlphaPicturesBecomeTheAlphaChannel)
{
    host.sizes["grid"] = {4, 4};
    ASSERT_TRUE(Read("<Resources id=\"G\"><Image id=\"A\" path=\"a\" alphaimage=\"mask\" nopal/>"
                     "<Image id=\"B\" path=\"b\" cols=\"2\" alphagrid=\"grid\" nopal/></Resources>"));
    ASSERT_TRUE(manager.LoadGroup("G")) << manager.ErrorMessage();
    for (const char* id : {"A", "B"})
    {
        MemoryImage* image = manager.FindImage(id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetPixel(0, 0), 0x80112233u) << id;
        EXPECT_EQ(image->GetPixel(7, 3), 0x80112233u) << id;
    }
}
