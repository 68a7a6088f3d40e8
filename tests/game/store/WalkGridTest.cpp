#include "game/people/Motion.h"
#include "game/store/WalkGrid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace
{

// ('H', x) for a horizontal move, ('V', y) for a vertical one.
std::vector<std::pair<char, int>> Moves(const MotionPath& path)
{
    std::vector<std::pair<char, int>> moves;
    for (const auto& motion : path)
        moves.emplace_back(motion->IsVertical() ? 'V' : 'H', int(motion->target));
    return moves;
}

using MoveList = std::vector<std::pair<char, int>>;

void Flags(const GridNode* node, bool up, bool down, bool left, bool right)
{
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->up, up);
    EXPECT_EQ(node->down, down);
    EXPECT_EQ(node->left, left);
    EXPECT_EQ(node->right, right);
}

} // namespace

TEST(WalkGridTest, DotRepeatsThePreviousValueAndALaterLineOnlyNarrows)
{
    WalkGrid grid;
    EXPECT_TRUE(grid.LoadText("# comment without tabs\n+\t100\t100\n+\t.\t.\n-\t100\t100\r\n|\t.\t250\n", "g.txt"));
    EXPECT_EQ(grid.TotalNodes(), 2u);
    Flags(grid.FindNode(100, 100), false, false, true, true);
    Flags(grid.FindNode(100, 250), true, true, false, false);
}

TEST(WalkGridTest, BadLinesAreReportedWithFileAndLineAndSkipped)
{
    // Points beyond the bound are refused before the route tables (square of the node count) could grow.
    std::string tooMany;
    for (int i = 0; i < WalkGrid::kMaxFilePoints + 40; ++i)
        tooMany += "+\t" + std::to_string(10 + i % 30) + "\t" + std::to_string(10 + i / 30) + "\n+\t.\t.\n";
    const std::string tooManyLine = "g.txt:" + std::to_string(2 * WalkGrid::kMaxFilePoints + 1) + ": more than";
    const struct
    {
        const char* text;
        const char* message;
        size_t nodes;
    } cases[] = {
        {"+\t.\t100\n+\t50\t60\n", "g.txt:1:", 1},      // "." with no previous line
        {"+\t10\t20\n+\t30\n+\t40\t50\n", "g.txt:2:", 2}, // a line without y
        {tooMany.c_str(), tooManyLine.c_str(), size_t(WalkGrid::kMaxFilePoints)},
    };
    for (const auto& c : cases)
    {
        WalkGrid grid;
        EXPECT_FALSE(grid.LoadText(c.text, "g.txt"));
        EXPECT_TRUE(grid.HasFailed());
        EXPECT_NE(grid.ErrorText().find(c.message), std::string::npos) << grid.ErrorText();
        EXPECT_EQ(grid.TotalNodes(), c.nodes) << c.text;
    }
}

TEST(WalkGridTest, ALongLineIsReadWholeAndItsTailNeverBecomesANode)
{
    WalkGrid grid;
    std::string line = "+\t100\t200\t" + std::string(80, ' ') + "+\t300\t400\n";
    EXPECT_TRUE(grid.LoadText(line, "g.txt"));
    EXPECT_EQ(grid.TotalNodes(), 1u);
    EXPECT_NE(grid.FindNode(100, 200), nullptr);
}

TEST(WalkGridTest, AMissingFileIsReportedByName)
{
    WalkGrid grid;
    EXPECT_FALSE(grid.Load("no/such/grid.txt"));
    EXPECT_NE(grid.ErrorText().find("no/such/grid.txt"), std::string::npos);
    grid.ComputeRoutes();
    EXPECT_TRUE(grid.Route(nullptr, 10, 10, false, 20, 20).empty());
}

TEST(WalkGridTest, ARunPassesThroughNodesThatAllowItsDirection)
{
    WalkGrid grid;
    grid.AddNode(100, 100, "r");
    grid.AddNode(300, 100, "l");
    grid.ComputeRoutes();
    int a = grid.IndexOf(100, 100);
    int b = grid.IndexOf(300, 100);
    EXPECT_EQ(grid.Distance(a, b), 200);
    EXPECT_EQ(grid.Distance(b, a), 200);
    EXPECT_EQ(grid.NextHop(a, a), -1);

    grid.AddNode(200, 100, "+");
    grid.ComputeRoutes();
    EXPECT_EQ(grid.Distance(a, b), 200); // not 201: no stop at (200, 100)
    EXPECT_EQ(grid.NextHop(a, b), b);
    // Leftwards (300, 100) reaches (200, 100), which allows left, and goes on.
    EXPECT_EQ(grid.Distance(b, a), 200);
}

TEST(WalkGridTest, FewerStopsWinAndEqualRoutesKeepTheEarlierIntermediate)
{
    // A square: one corner to the opposite one is two sides either way round, each with one stop. Small and huge
    // squares must choose alike.
    const struct
    {
        std::vector<std::pair<int, int>> order; // corners in units of the side
        bool acrossFirst;                       // the expected first hop goes along the row
    } cases[] = {
        {{{1, 1}, {2, 1}, {1, 2}, {2, 2}}, true},
        {{{1, 1}, {1, 2}, {2, 1}, {2, 2}}, false},
    };
    for (int side : {100, 10000})
        for (const auto& c : cases)
        {
            WalkGrid grid;
            for (auto [x, y] : c.order)
                grid.AddNode(x * side, y * side, "+");
            grid.ComputeRoutes();
            int from = grid.IndexOf(side, side);
            int to = grid.IndexOf(2 * side, 2 * side);
            EXPECT_EQ(grid.Distance(from, to), 2 * side + 1);
            int firstHop = c.acrossFirst ? grid.IndexOf(2 * side, side) : grid.IndexOf(side, 2 * side);
            EXPECT_EQ(grid.NextHop(from, to), firstHop) << side;
            MoveList expected = c.acrossFirst ? MoveList{{'H', 2 * side}, {'V', 2 * side}}
                                              : MoveList{{'V', 2 * side}, {'H', 2 * side}};
            EXPECT_EQ(Moves(grid.Route(nullptr, side, side, false, 2 * side, 2 * side)), expected) << side;
        }
}

TEST(WalkGridTest, FurnitureRingsAreAddedAroundEachPieceAndRemovedAgain)
{
    WalkGrid grid;
    grid.AddNode(214, 115, "+"); // a ring point that already exists: it is only narrowed
    grid.AddNode(500, 500, "+");
    grid.SetFurniture(std::vector<FurnitureFootprint>{{275, 161, 140}});
    EXPECT_EQ(grid.FurnitureNodeCount(), 7u);
    const int columns[] = {214, 358, 286};
    const int rows[] = {115, 170, 225};
    for (int x : columns)
        for (int y : rows)
            EXPECT_EQ(grid.FindNode(x, y) != nullptr, !(x == 286 && y == 170)) << x << "," << y;
    Flags(grid.FindNode(214, 170), true, true, true, false);
    Flags(grid.FindNode(358, 170), true, true, false, true);
    Flags(grid.FindNode(286, 115), true, false, true, true);
    Flags(grid.FindNode(286, 225), false, true, true, true);
    // The side middles cannot be left across the piece: from the left middle to the right middle goes round.
    int left = grid.IndexOf(214, 170);
    int right = grid.IndexOf(358, 170);
    EXPECT_EQ(grid.Distance(left, right), 55 + 144 + 55 + 2);

    grid.SetFurniture(std::vector<FurnitureFootprint>{});
    EXPECT_EQ(grid.TotalNodes(), 2u);
    EXPECT_EQ(grid.NodeCount(), 2);
    EXPECT_EQ(grid.FindNode(286, 115), nullptr);
    Flags(grid.FindNode(214, 115), true, true, true, true);
    EXPECT_EQ(grid.Distance(0, 1), WalkGrid::kFar);
    EXPECT_EQ(grid.NextHop(0, 1), -1);
}

TEST(WalkGridTest, AWalkerBetweenNodesSnapsToTheOneNearerTheTarget)
{
    WalkGrid grid;
    grid.AddNode(100, 100, "+");
    grid.AddNode(100, 300, "+");
    grid.AddNode(300, 100, "+");
    grid.AddNode(300, 300, "+");
    grid.AddNode(100, 500, "+");
    grid.ComputeRoutes();
    const struct
    {
        int wx, wy;
        bool vertical;
        int tx, ty;
        MoveList moves;
    } cases[] = {
        {100, 180, true, 100, 500, {{'V', 300}, {'V', 500}}},     // lower node is nearer
        {100, 180, true, 300, 100, {{'V', 100}, {'H', 300}}},     // upper node is nearer
        {100, 200, true, 300, 300, {{'V', 300}, {'H', 300}}},     // equal: the lower one
        {200, 100, false, 300, 300, {{'H', 300}, {'V', 300}}},    // equal on a row: the right one
        {100, 300, false, 100, 300, {}},                          // already there
        {700, 200, true, 100, 100, {{'V', 100}, {'H', 100}}},     // east of every column: the last column
    };
    for (const auto& c : cases)
        EXPECT_EQ(Moves(grid.Route(nullptr, c.wx, c.wy, c.vertical, c.tx, c.ty)), c.moves)
            << c.wx << "," << c.wy << " -> " << c.tx << "," << c.ty;
}

TEST(WalkGridTest, UnreachableOrUnknownTargetsGiveAnEmptyWalkAndANamedMessage)
{
    WalkGrid grid;
    grid.AddNode(100, 100, "r");
    grid.AddNode(200, 100, "");
    grid.AddNode(400, 400, "+"); // nothing links to it
    grid.ComputeRoutes();
    const struct
    {
        int tx, ty;
        const char* named;
    } cases[] = {
        {400, 400, "(400, 400)"},
        {123, 456, "(123, 456)"},
    };
    for (const auto& c : cases)
    {
        testing::internal::CaptureStderr();
        MotionPath path = grid.Route(nullptr, 100, 100, false, c.tx, c.ty);
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(path.empty());
        EXPECT_NE(message.find(c.named), std::string::npos) << message;
    }
    // One way only: (200, 100) has no way back.
    EXPECT_EQ(Moves(grid.Route(nullptr, 100, 100, false, 200, 100)), (MoveList{{'H', 200}}));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(grid.Route(nullptr, 200, 100, false, 100, 100).empty());
    testing::internal::GetCapturedStderr();
}

TEST(WalkGridTest, TheGamesGridLoadsCleanly)
{
    WalkGrid grid;
    std::filesystem::path file =
        (std::filesystem::path(VELMORA_TEST_DATA_DIR) / "../../content/properties/grid.txt").lexically_normal();
    ASSERT_TRUE(grid.Load(file.string())) << grid.ErrorText();
    grid.ComputeRoutes();
    EXPECT_GT(grid.NodeCount(), 50);
    // The register line's head reaches the service desk's standing point and back.
    int a = grid.IndexOf(80, 340);
    int b = grid.IndexOf(699, 125);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_LT(grid.Distance(a, b), WalkGrid::kFar);
    EXPECT_LT(grid.Distance(b, a), WalkGrid::kFar);
}
