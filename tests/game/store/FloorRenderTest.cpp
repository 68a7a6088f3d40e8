// Draws the real floor of store 1, fully furnished with people walking in every pose, and a contact sheet of one
// person in all six poses, to PNG files in the test's build folder for a look by eye. Skipped without content.
#include "FloorContent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/ScreenImage.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/people/Person.h"
#include "game/shopday/Board.h"
#include "game/store/ChangingRoom.h"
#include "game/store/Furniture.h"
#include "game/store/Mannequin.h"
#include "game/store/Rope.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

class FloorRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string why;
        if (!LoadFloorContent(FloorContentFolder(), &why))
            GTEST_SKIP() << why;
    }
    void TearDown() override { FreeFloorContent(); }
};

GameState FullyFurnished(const StoreInfo& store)
{
    GameState run = NewGameState(&store);
    for (size_t j = 0; j < store.floorSpots.size(); ++j)
        run.furnitureLevels[j] = int(store.floorSpots[j].upgrades.size()) - 1;
    run.changingRooms = store.initialChangingRooms + int(store.changingRoomPrices.size());
    run.goodieRack = 1;
    run.RebuildMannequinClothing();
    return run;
}

// The six poses (standing, up, down, left, right, discarding), taken without moving.
void Pose(Person& person, int pose)
{
    switch (pose)
    {
    case 1:
        person.MoveUp(-0.0f);
        break;
    case 2:
        person.MoveDown(0.0f);
        break;
    case 3:
        person.MoveLeft(-0.0f);
        break;
    case 4:
        person.MoveRight(0.0f);
        break;
    case 5:
        person.SetDiscardPose();
        break;
    default:
        person.StopWalking();
        break;
    }
}

bool HasInk(const Zestra::MemoryImage& image, int x0, int y0, int w, int h)
{
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if ((image.GetPixel(x, y) >> 24) != 0)
                return true;
    return false;
}

} // namespace

TEST_F(FloorRenderTest, StoreOneFloorWithEveryPieceAndEightPeople)
{
    const StoreInfo* store = GetStoreInfo(1);
    ASSERT_NE(store, nullptr);
    Zestra::Board board;
    board.run.StartDay(store, FullyFurnished(*store), FullyFurnished(*store));
    board.DressForStore();
    board.SetBoardState(BoardState::Playing, false);
    ASSERT_TRUE(board.LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt"));
    board.LoadLevel(false);

    EXPECT_EQ(board.FurnitureOnFloor().size(), store->floorSpots.size());
    EXPECT_EQ(int(board.ChangingRooms().size()), board.run.Progress()->changingRooms);
    EXPECT_FALSE(board.Mannequins().empty());
    for (const char* name : {"RopeCashRegister", "RopeChangingRoom", "RopeCustomerService", "CashCounter",
                             "CustomerServiceDesk", "DiscardRack", "ChangingRoom", "ChangingRoomDoor"})
        EXPECT_NE(store->GetImage(name), nullptr) << name;
    for (ActiveComponent* clickable : board.clickables)
        EXPECT_NE(clickable->GetImage(), nullptr);

    const char* names[] = {"Lottra", "Grunwick", "Masel", "Teodan", "Brisk", "Finnola", "Quorra", "Bastien"};
    const int spots[][2] = {{144, 280}, {288, 390}, {432, 335}, {576, 445},
                            {216, 170}, {360, 445}, {504, 225}, {40, 180}};
    std::vector<std::unique_ptr<Person>> crowd;
    for (int i = 0; i < 8; ++i)
    {
        auto person = std::make_unique<Person>(spots[i][0], spots[i][1], names[i], 1.5f);
        Pose(*person, i % 5);
        if (i % 2 == 0 && !board.FurnitureOnFloor().empty())
            person->PickUp(board.FurnitureOnFloor()[size_t(i) % board.FurnitureOnFloor().size()]->clothing, false);
        board.people.push_back(person.get());
        crowd.push_back(std::move(person));
    }
    crowd[3]->highlighted = true;

    // The screen image is the one target that draws mirrored (people walking left).
    Zestra::ScreenImage screen(800, 600);
    Zestra::Graphics g(&screen);
    board.Paint(g);
    EXPECT_TRUE(Zestra::WritePNG(screen, "floor_store1.png"));
    for (Furniture* piece : board.FurnitureOnFloor())
        EXPECT_TRUE(HasInk(screen, piece->x, piece->y, 20, 20));
}

// Depth order by where things stand: a person is drawn over what stands behind its feet and under what stands in
// front of them, and the HUD is over everyone. Each case puts one person on the real floor and looks wherever the
// person and the other thing both cover a pixel fully: the finished picture shows the person there, or the floor
// as it is without the person.
TEST_F(FloorRenderTest, PeopleAreDrawnByWhereTheirFeetStand)
{
    const StoreInfo* store = GetStoreInfo(1);
    ASSERT_NE(store, nullptr);
    struct Case
    {
        const char* what;
        int x;
        int y;
        const char* other; // a store picture, or "furniture" for the piece nearest the person
        int otherX;
        int otherY;
        bool personInFront;
        int rowsBelow = 600; // only pixels above this row are compared (a rope's lower posts stand elsewhere)
        int fromRow = 0;     // nor those above this one
    };
    const Case cases[] = {
        {"in a changing room doorway, the rope's posts stand behind the feet", 97, 30, "RopeChangingRoom", 140, 73,
         true},
        {"in the changing room line, in front of the rope", 216, 75, "RopeChangingRoom", 140, 73, true},
        {"the merchant at home, the service rope's first post behind his feet", 605, 225, "RopeCustomerService", 660,
         280, true, 225 + 112 - Rope::kBandHeight},
        {"on the lowest walkway, the HUD covers the legs below its top edge", 360, 445, "Hud", 0, 510, false},
        {"at the street door on the lowest walkway, under the HUD", -39, 445, "Hud", 0, 510, false},
        {"on the walkway behind a rack", 0, 0, "furniture", 0, 0, false},
        // Rows 55 to 94 of the register rope's picture are its middle post, whose foot is lower than the feet.
        {"beside the register rope's middle post, feet above its foot: the post is whole in front", 80, 188,
         "RopeCashRegister", 120, 220, false, 220 + 95, 220 + 55},
    };
    for (const Case& c : cases)
    {
        Zestra::Board board;
        board.run.StartDay(store, FullyFurnished(*store), FullyFurnished(*store));
        board.DressForStore();
        board.SetBoardState(BoardState::Playing, false);
        ASSERT_TRUE(board.LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt"));
        board.LoadLevel(false);
        board.hud.image = store->GetImage("Hud");

        // The other thing alone, where it stands.
        Zestra::MemoryImage other(800, 600);
        Zestra::Graphics otherG(&other);
        int x = c.x;
        int y = c.y;
        if (std::string(c.other) == "furniture")
        {
            ASSERT_FALSE(board.FurnitureOnFloor().empty());
            Furniture* piece = board.FurnitureOnFloor()[0];
            piece->Draw(otherG);
            // The top row of the piece's walk ring, just behind it.
            x = piece->x + 20;
            y = piece->y - 46;
        }
        else
        {
            Zestra::Image* picture = store->GetImage(c.other);
            ASSERT_NE(picture, nullptr) << c.other;
            otherG.Blit(picture, c.otherX, c.otherY);
        }
        // The floor without the person: what must still show where the person stands behind.
        Zestra::MemoryImage without(800, 600);
        Zestra::Graphics withoutG(&without);
        board.Paint(withoutG);
        auto person = std::make_unique<Person>(x, y, "Lottra", 1.5f);
        Zestra::MemoryImage alone(800, 600);
        Zestra::Graphics aloneG(&alone);
        person->Draw(aloneG);
        board.people.push_back(person.get());

        Zestra::MemoryImage screen(800, 600);
        Zestra::Graphics g(&screen);
        board.Paint(g);
        int overlap = 0;
        int right = 0;
        for (int py = c.fromRow; py < c.rowsBelow; ++py)
            for (int px = 0; px < 800; ++px)
            {
                const uint32_t mine = alone.GetPixel(px, py);
                const uint32_t theirs = other.GetPixel(px, py);
                if ((mine >> 24) != 255 || (theirs >> 24) != 255)
                    continue;
                ++overlap;
                right += screen.GetPixel(px, py) == (c.personInFront ? mine : without.GetPixel(px, py));
            }
        EXPECT_GT(overlap, 10) << c.what << ": the case must make them overlap";
        EXPECT_EQ(right, overlap) << c.what;
        board.people.clear();
    }
}

TEST_F(FloorRenderTest, ContactSheetOfAWalkingPersonInAllSixPoses)
{
    int shirt = FindClothing(1, "mens_tshirt");
    int jeans = FindClothing(1, "mens_jeans");
    Zestra::ScreenImage sheet(720, 120);
    Zestra::Graphics g(&sheet);
    for (int pose = 0; pose < 6; ++pose)
    {
        Person person(120 * pose, 0, "Prella", 1.5f);
        person.PickUp(shirt, false);
        person.PickUp(jeans, false);
        Pose(person, pose);
        EXPECT_EQ(person.pose, pose);
        person.Draw(g);
        EXPECT_TRUE(HasInk(sheet, 120 * pose, 0, 120, 120)) << "pose " << pose;
    }
    EXPECT_TRUE(Zestra::WritePNG(sheet, "walker_poses.png"));
}
