// The shop items on the floor: where each kind puts its badge, what it draws hovered and not, and the hover sound.
#include "tests/game/store/StoreTestSupport.h"

#include "framework/graphics/Graphics.h"
#include "game/data/LevelStats.h"
#include "game/audio/GameSound.h"
#include "game/shop/ShopItems.h"
#include "game/ui/Menu.h"
#include "game/ui/MenuHost.h"
#include "game/ui/VoiceHost.h"
#include "game/store/ChangingRoom.h"
#include "game/store/Furniture.h"

#include <vector>

namespace
{

constexpr uint32_t kRoomColour = 0xFF2040C0;
constexpr uint32_t kOldColour = 0xFF30A030;
constexpr uint32_t kNewColour = 0xFFC03030;
constexpr uint32_t kNewBadgeColour = 0xFFF0B040;
constexpr uint32_t kUpgradeBadgeColour = 0xFF50C0A0;
constexpr uint32_t kHoverBadgeColour = 0xFFFFFFFF;
constexpr int kHighlightSound = 7;

// The items open their panels through it, which these tests never ask for.
class NoHost : public MenuHost, public VoiceHost
{
public:
    Menu* AddMenu(std::unique_ptr<Menu>) override { return nullptr; }
    void CloseMenu(int) override {}
    void CloseAllMenus(const std::function<void()>&) override {}
    void QuitGame() override {}
    Zestra::MusicInterface* Music() const override { return nullptr; }
    VoiceHost& Voices() override { return *this; }
    double GetVoiceVolume() const override { return 0.0; }
    void SetVoiceVolume(double) override {}
    void PlayVoice(VoiceId) override {}
};

class ShopItemsTest : public BoundPictures
{
protected:
    void SetUp() override
    {
        // The content's badge sizes: "new" 84 x 36, "upgrade" 96 x 36.
        IMAGE_NEW_NORMAL = MakePicture(84, 36, 1, kNewBadgeColour);
        IMAGE_NEW_HOVER = MakePicture(84, 36, 1, kHoverBadgeColour);
        IMAGE_UPGRADE_NORMAL = MakePicture(96, 36, 1, kUpgradeBadgeColour);
        IMAGE_UPGRADE_HOVER = MakePicture(96, 36, 1, kHoverBadgeColour);
        SOUND_HIGHLIGHT = kHighlightSound;
        SetGameSoundSink([this](int id) { sounds.push_back(id); });
    }
    void TearDown() override
    {
        SetGameSoundSink({});
        BoundPictures::TearDown();
    }

    std::unique_ptr<ChangingRoom> Room(int index)
    {
        return std::make_unique<ChangingRoom>(154 + 101 * index, 0, roomPicture.get(), nullptr, nullptr, nullptr);
    }

    std::shared_ptr<Zestra::MemoryImage> roomPicture = MakePicture(102, 150, 1, kRoomColour);
    std::shared_ptr<Zestra::MemoryImage> oldPicture = MakePicture(140, 90, 1, kOldColour);
    std::shared_ptr<Zestra::MemoryImage> newPicture = MakePicture(140, 90, 1, kNewColour);
    std::vector<int> sounds;
    NoHost host;
};

uint32_t PixelAt(Zestra::MemoryImage& screen, int x, int y)
{
    return screen.GetBits()[y * screen.GetWidth() + x];
}

} // namespace

TEST_F(ShopItemsTest, EachKindPutsItsBadgeWhereItsPlaceSays)
{
    // Store 1's second room: the badge's right edge a fifth of the room's width left of its middle, so that the
    // shopping lesson's arrow at (155, 30) points at it.
    ShopChangingRoom room(host, Room(1), 100);
    EXPECT_EQ(room.current, nullptr);
    EXPECT_EQ(room.x, 204);
    EXPECT_EQ(room.badge->x, 204 + 51 - 102 / 5 - 84);
    EXPECT_EQ(room.badge->y, 0);
    EXPECT_EQ(room.badge->image, IMAGE_NEW_NORMAL.get());
    EXPECT_EQ(room.badgeHoverImage, IMAGE_NEW_HOVER.get());
    EXPECT_TRUE(room.Contains(155, 30));

    ShopGoodieRack rack(host, std::make_unique<Component>(73, 356, oldPicture.get()),
                              std::make_unique<Component>(73, 356, newPicture.get()), 250);
    EXPECT_EQ(rack.badge->x, 73 + 70 - 96);
    EXPECT_EQ(rack.badge->y, 356 - 53);
    EXPECT_EQ(rack.badge->image, IMAGE_UPGRADE_NORMAL.get());

    // Furniture: the offsets of the current piece's type, or of the new one's on an empty spot.
    FurnitureInfo table;
    table.type = "table";
    table.image = oldPicture.get();
    table.shopX = 52;
    table.shopY = -10;
    FurnitureInfo bigTable = table;
    bigTable.type = "bigtable";
    bigTable.image = newPicture.get();
    bigTable.shopX = 30;
    bigTable.shopY = 4;
    FurnitureUpgrade small{&table, 0, 0, false};
    FurnitureUpgrade big{&bigTable, 0, 400, true};
    ShopFurniture upgrade(host, std::make_unique<Furniture>(275, 161, small, true),
                                std::make_unique<Furniture>(275, 161, big, true), 400, 3);
    EXPECT_EQ(upgrade.spot, 3);
    EXPECT_EQ(upgrade.badge->x, 205 + 70 + 52 - 96);
    EXPECT_EQ(upgrade.badge->y, 161 - 10);
    ShopFurniture fresh(host, nullptr, std::make_unique<Furniture>(275, 161, big, true), 400, 3);
    EXPECT_EQ(fresh.badge->x, 205 + 70 + 30 - 84);
    EXPECT_EQ(fresh.badge->y, 161 + 4);
}

TEST_F(ShopItemsTest, HoveredTheBadgeShowsTheBetterVersionGreyedElseWhatStandsThere)
{
    ShopGoodieRack rack(host, std::make_unique<Component>(100, 300, oldPicture.get()),
                              std::make_unique<Component>(100, 300, newPicture.get()), 250);
    Zestra::MemoryImage screen(800, 600);
    Zestra::Graphics g(&screen);
    const int badgeX = rack.badge->x + 5;
    const int badgeY = rack.badge->y + 5;

    rack.Draw(g);
    EXPECT_EQ(PixelAt(screen, 110, 380), kOldColour);
    EXPECT_EQ(PixelAt(screen, badgeX, badgeY), kUpgradeBadgeColour);

    EXPECT_FALSE(rack.Contains(110, 380)) << "only the badge answers the mouse";
    EXPECT_TRUE(rack.Contains(badgeX, badgeY));
    EXPECT_TRUE(rack.Contains(badgeX + 1, badgeY));
    ASSERT_TRUE(rack.hovered);
    Zestra::MemoryImage hoveredScreen(800, 600);
    Zestra::Graphics hoveredG(&hoveredScreen);
    rack.Draw(hoveredG);
    // The new look, colourised a little darker than it is.
    uint32_t shown = PixelAt(hoveredScreen, 110, 380);
    int red = int((shown >> 16) & 0xFF);
    int green = int((shown >> 8) & 0xFF);
    EXPECT_GT(red, 2 * green);
    EXPECT_LT(red, 0xC0);
    EXPECT_GT(red, 0x80);
    EXPECT_EQ(PixelAt(hoveredScreen, badgeX, badgeY), kHoverBadgeColour);

    EXPECT_FALSE(rack.Contains(0, 0));
    EXPECT_FALSE(rack.hovered);
    EXPECT_EQ(sounds, (std::vector<int>{kHighlightSound})) << "one highlight sound as the mouse arrives, not per move";
}
