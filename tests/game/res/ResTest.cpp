#include "game/res/Res.h"

#include "framework/graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace
{

// Every image exists as a small blank picture.
class BlankImages : public Zestra::ResourceImageHost
{
public:
    ResImage AcquireSharedImage(const std::string& path, const std::string&, const Zestra::Color&,
                                bool& created) override
    {
        created = true;
        return std::make_shared<Zestra::MemoryImage>(4, 4);
    }
    std::unique_ptr<Zestra::MemoryImage> LoadImageFile(const std::string&, bool) override
    {
        return std::make_unique<Zestra::MemoryImage>(4, 4);
    }
};

// A manifest declaring every image id of the table in its group, except that moved ids go to another group.
std::string Manifest(const std::map<std::string, std::string>& moved = {})
{
    std::map<std::string, std::string> groups;
    for (int i = 0; i < kResourceIdCount; ++i)
    {
        const ResIdInfo& info = kResourceIds[i];
        if (info.kind != ResKind::Image)
            continue;
        auto it = moved.find(info.id);
        groups[it == moved.end() ? info.group : it->second] +=
            std::string("<Image id=\"") + info.id + "\" path=\"images/x\"/>\n";
    }
    std::string text = "<ResourceManifest>\n";
    for (const auto& [group, body] : groups)
        text += "<Resources id=\"" + group + "\">\n" + body + "</Resources>\n";
    return text + "</ResourceManifest>\n";
}

class ResTest : public ::testing::Test
{
protected:
    BlankImages images;
    Zestra::ResourceManager manager{&images, nullptr};

    void TearDown() override { UnbindAllGroups(); }
};

} // namespace

TEST(ResIdTableTest, GroupsHoldTheirIdentifiersOnce)
{
    std::map<std::string, int> perGroup;
    std::set<std::string> seen;
    for (int i = 0; i < kResourceIdCount; ++i)
    {
        const ResIdInfo& info = kResourceIds[i];
        EXPECT_TRUE(seen.insert(info.id).second) << info.id;
        ++perGroup[info.group];
        const std::string id = info.id;
        const ResKind kind = id.rfind("IMAGE_", 0) == 0   ? ResKind::Image
                             : id.rfind("SOUND_", 0) == 0 ? ResKind::Sound
                                                          : ResKind::Font;
        EXPECT_EQ(info.kind, kind) << id;
    }
    EXPECT_EQ(perGroup, (std::map<std::string, int>{{"Init", 11}, {"TitleScreen", 26}, {"Game", 91}, {"Velmora", 90}}));
}

TEST_F(ResTest, BindingALoadedGroupLeavesTheOthersUnbound)
{
    ASSERT_TRUE(manager.ReadManifestFromText(Manifest(), "resources.xml")) << manager.ErrorText();
    ASSERT_TRUE(manager.LoadGroup("Game")) << manager.ErrorText();
    std::string error;
    EXPECT_TRUE(BindGroup(manager, "Game", &error)) << error;
    EXPECT_NE(IMAGE_MENU_MAIN, nullptr);
    EXPECT_NE(IMAGE_MENU_STORE_SMOKE, nullptr);
    EXPECT_EQ(IMAGE_TITLE_BACKGROUND, nullptr);
    EXPECT_FALSE(BindGroup(manager, "TitleScreen", &error));
    EXPECT_NE(error.find("IMAGE_ENTER_NAME"), std::string::npos) << error; // the first id of that group
    EXPECT_EQ(IMAGE_TITLE_BACKGROUND, nullptr);
    UnbindAllGroups();
    EXPECT_EQ(IMAGE_MENU_MAIN, nullptr);
}

TEST_F(ResTest, AnIdDeclaredInAGroupNotYetLoadedFailsTheGroupThatListsIt)
{
    ASSERT_TRUE(manager.ReadManifestFromText(Manifest({{"IMAGE_MENU_SAW", "Velmora"}}), "resources.xml"));
    ASSERT_TRUE(manager.LoadGroup("Game"));
    std::string error;
    EXPECT_FALSE(BindGroup(manager, "Game", &error));
    EXPECT_NE(error.find("IMAGE_MENU_SAW"), std::string::npos) << error;
    EXPECT_FALSE(BindGroup(manager, "NoSuchGroup", &error));
}
