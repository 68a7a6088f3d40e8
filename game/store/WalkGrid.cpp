#include "game/store/WalkGrid.h"

#include "framework/graphics/Image.h"
#include "framework/log/Log.h"
#include "framework/pak/PakInterface.h"
#include "game/data/Parser.h"
#include "game/people/Motion.h"
#include "game/people/Person.h"
#include "game/store/Furniture.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace
{

struct Directions
{
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
};

const char* const kDirectionLetters = "+-|lrud";
constexpr int kPersonSize = 120;
constexpr int kFloorWidth = 800;
constexpr int kFloorHeight = 600;

Directions ParseLetters(const std::string& letters)
{
    Directions d;
    for (char ch : letters)
    {
        switch (ch)
        {
        case '+':
            d.up = d.down = d.left = d.right = true;
            break;
        case '-':
            d.left = d.right = true;
            break;
        case '|':
            d.up = d.down = true;
            break;
        case 'l':
            d.left = true;
            break;
        case 'r':
            d.right = true;
            break;
        case 'u':
            d.up = true;
            break;
        case 'd':
            d.down = true;
            break;
        default:
            break;
        }
    }
    return d;
}

std::string PointText(int x, int y)
{
    char text[32];
    std::snprintf(text, sizeof(text), "(%d, %d)", x, y);
    return text;
}

// One row of one Floyd-Warshall step: row i through node k. Built twice on x86-64 so that machines with AVX2 run
// eight lanes at a time; the result is the same either way.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VELMORA_WIDE_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define VELMORA_WIDE_LOOP
#endif

VELMORA_WIDE_LOOP void RelaxRow(int32_t* __restrict rowI, int16_t* __restrict hopI, const int32_t* __restrict rowK,
                                int32_t base, int16_t hop, int n)
{
    for (int j = 0; j < n; ++j)
    {
        const int32_t candidate = base + rowK[j];
        const int32_t current = rowI[j];
        const bool better = candidate < current;
        rowI[j] = better ? candidate : current;
        hopI[j] = better ? hop : hopI[j];
    }
}

VELMORA_WIDE_LOOP void RelaxRow(int32_t* __restrict rowI, int32_t* __restrict hopI, const int32_t* __restrict rowK,
                                int32_t base, int32_t hop, int n)
{
    for (int j = 0; j < n; ++j)
    {
        const int32_t candidate = base + rowK[j];
        const int32_t current = rowI[j];
        const bool better = candidate < current;
        rowI[j] = better ? candidate : current;
        hopI[j] = better ? hop : hopI[j];
    }
}

template <typename Hop>
void RunFloydWarshall(int32_t* dist, Hop* next, int n)
{
    for (int k = 0; k < n; ++k)
    {
        const int32_t* rowK = dist + size_t(k) * size_t(n);
        for (int i = 0; i < n; ++i)
        {
            if (i == k)
                continue; // row k cannot improve through itself, and skipping it keeps the rows apart
            int32_t* rowI = dist + size_t(i) * size_t(n);
            const int32_t viaK = rowI[k];
            if (viaK >= WalkGrid::kFar)
                continue; // nothing can improve through k
            Hop* hopI = next + size_t(i) * size_t(n);
            RelaxRow(rowI, hopI, rowK, viaK + 1, hopI[k], n);
        }
    }
}

} // namespace

uint64_t WalkGrid::Key(int x, int y)
{
    return (uint64_t(uint32_t(x)) << 32) | uint32_t(y);
}

void WalkGrid::Fail(const std::string& text)
{
    if (!mQuiet)
        Zestra::Log(text);
    mIssues.push_back({true, 0, text, text});
    if (!mFailed)
    {
        mFailed = true;
        mErrorText = text;
    }
}

void WalkGrid::Report(bool error, const std::string& file, int line, const std::string& what)
{
    const std::string text = file + ":" + std::to_string(line) + ": " + what;
    if (error)
    {
        Fail(text);
        mIssues.back().line = line;
        mIssues.back().what = what;
        return;
    }
    if (!mQuiet)
        Zestra::Log(text);
    mIssues.push_back({false, line, what, text});
}

bool WalkGrid::Load(const std::string& path)
{
    std::string text;
    if (!Zestra::ArchiveFileReadAll(path, text))
    {
        Fail(path + ": the walk grid file cannot be opened; the floor has no walkways");
        return false;
    }
    return LoadText(text, path);
}

bool WalkGrid::LoadText(const std::string& text, const std::string& fileName)
{
    bool ok = true;
    bool havePrevious[2] = {false, false};
    int previous[2] = {0, 0};
    size_t begin = 0;
    int lineNumber = 0;
    int pointsAdded = 0;
    const char* const kFieldNames[2] = {"x", "y"};
    // Whole lines: a long line must never be cut into a second, bogus node.
    while (begin < text.size())
    {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t tab1 = line.find('\t');
        if (tab1 == std::string::npos)
            continue; // comments and blank lines
        auto fail = [&](const std::string& what) { Report(true, fileName, lineNumber, what); };
        auto warn = [&](const std::string& what) { Report(false, fileName, lineNumber, what); };
        size_t tab2 = line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos)
        {
            fail("expected letters, x and y separated by tabs; line skipped");
            ok = false;
            continue;
        }
        size_t tab3 = line.find('\t', tab2 + 1);
        std::string fields[2] = {line.substr(tab1 + 1, tab2 - tab1 - 1),
                                 line.substr(tab2 + 1, tab3 == std::string::npos ? std::string::npos
                                                                                 : tab3 - tab2 - 1)};
        int values[2] = {0, 0};
        bool usable = true;
        for (int f = 0; f < 2 && usable; ++f)
        {
            const std::string& field = fields[f];
            if (!field.empty() && field[0] == '.')
            {
                if (!havePrevious[f])
                {
                    fail(std::string("\".\" repeats the previous line's ") + kFieldNames[f] +
                         ", but there is no previous line; line skipped");
                    usable = false;
                }
                values[f] = previous[f];
                continue;
            }
            // Leading digits count and the rest is ignored; a field without any is a mistake, not a 0.
            size_t digits = field.find_first_not_of(" \t");
            if (digits != std::string::npos && (field[digits] == '+' || field[digits] == '-'))
                ++digits;
            const size_t digitsEnd = digits == std::string::npos ? digits : field.find_first_not_of("0123456789", digits);
            if (digits == std::string::npos || digitsEnd == digits)
            {
                fail(std::string(kFieldNames[f]) + " \"" + field + "\" is not a number; line skipped");
                usable = false;
                continue;
            }
            values[f] = DataConvert::Integer(field);
            if (digitsEnd != std::string::npos && field.find_first_not_of(" ", digitsEnd) != std::string::npos)
                warn(std::string(kFieldNames[f]) + " \"" + field + "\" is read as " + std::to_string(values[f]));
        }
        if (!usable)
        {
            ok = false;
            continue;
        }
        for (int f = 0; f < 2; ++f)
        {
            previous[f] = values[f];
            havePrevious[f] = true;
        }
        const std::string letters = line.substr(0, tab1);
        const size_t unknown = letters.find_first_not_of(kDirectionLetters);
        if (unknown != std::string::npos)
        {
            std::string what = "\"";
            what += letters[unknown];
            what += "\" is no direction letter (";
            what += kDirectionLetters;
            what += "); it is ignored";
            warn(what);
        }
        else if (letters.empty())
            warn("the point has no direction letters: nobody can walk on from it");
        // A person's 120 x 120 picture hangs from the point: one that cannot touch the board is a typing mistake
        // (points just beyond an edge are doors out of sight).
        if (values[0] < -kPersonSize || values[0] > kFloorWidth || values[1] < -kPersonSize || values[1] > kFloorHeight)
            warn("the point " + PointText(values[0], values[1]) + " lies off the " +
                 std::to_string(kFloorWidth) + " x " + std::to_string(kFloorHeight) + " floor");
        if (FindNode(values[0], values[1]) == nullptr && ++pointsAdded > kMaxFilePoints)
        {
            fail("more than " + std::to_string(kMaxFilePoints) +
                 " points; this line and the rest of the file are skipped");
            return false;
        }
        AddNode(values[0], values[1], letters);
    }
    return ok;
}

void WalkGrid::LinkNode(int id)
{
    const GridNode& node = mNodes[size_t(id)];
    std::vector<int>& column = mColumns[node.x];
    auto byY = [this](int a, int y) { return mNodes[size_t(a)].y < y; };
    column.insert(std::lower_bound(column.begin(), column.end(), node.y, byY), id);
    std::vector<int>& row = mRows[node.y];
    auto byX = [this](int a, int x) { return mNodes[size_t(a)].x < x; };
    row.insert(std::lower_bound(row.begin(), row.end(), node.x, byX), id);
    mLookup[Key(node.x, node.y)] = id;
    if (node.x != 0 && node.y != 0)
    {
        mNodeIndex[size_t(id)] = int(mCoords.size());
        mCoords.push_back(id);
    }
}

const GridNode* WalkGrid::AddNode(int x, int y, const std::string& letters)
{
    Directions d = ParseLetters(letters);
    auto found = mLookup.find(Key(x, y));
    if (found != mLookup.end())
    {
        GridNode& node = mNodes[size_t(found->second)];
        node.up = node.up && d.up;
        node.down = node.down && d.down;
        node.left = node.left && d.left;
        node.right = node.right && d.right;
        return nullptr;
    }
    mNodes.push_back(GridNode{x, y, d.up, d.down, d.left, d.right});
    mNodeIndex.push_back(-1);
    int id = int(mNodes.size()) - 1;
    LinkNode(id);
    return &mNodes.back();
}

const GridNode* WalkGrid::FindNode(int x, int y) const
{
    auto found = mLookup.find(Key(x, y));
    return found == mLookup.end() ? nullptr : &mNodes[size_t(found->second)];
}

int WalkGrid::IndexOf(int x, int y) const
{
    auto found = mLookup.find(Key(x, y));
    return found == mLookup.end() ? -1 : mNodeIndex[size_t(found->second)];
}

int WalkGrid::Distance(int from, int to) const
{
    if (from < 0 || to < 0 || from >= mTableSize || to >= mTableSize)
        return kFar;
    return mDistance[size_t(from) * size_t(mTableSize) + size_t(to)];
}

int WalkGrid::NextHop(int from, int to) const
{
    if (from < 0 || to < 0 || from >= mTableSize || to >= mTableSize)
        return -1;
    return mNext[size_t(from) * size_t(mTableSize) + size_t(to)];
}

void WalkGrid::RemoveFurnitureNodes()
{
    if (mFurnitureNodes.empty())
        return;
    std::vector<bool> removed(mNodes.size(), false);
    for (int id : mFurnitureNodes)
        removed[size_t(id)] = true;
    mFurnitureNodes.clear();
    std::vector<GridNode> kept;
    kept.reserve(mNodes.size());
    for (size_t i = 0; i < mNodes.size(); ++i)
        if (!removed[i])
            kept.push_back(mNodes[i]);
    // Relinking in creation order rebuilds the same per-line order and the same index order as before.
    mNodes = std::move(kept);
    mColumns.clear();
    mRows.clear();
    mLookup.clear();
    mCoords.clear();
    mNodeIndex.assign(mNodes.size(), -1);
    for (int id = 0; id < int(mNodes.size()); ++id)
        LinkNode(id);
}

void WalkGrid::SetFurniture(const std::vector<Furniture*>& furniture)
{
    std::vector<FurnitureFootprint> footprints;
    footprints.reserve(furniture.size());
    for (const Furniture* piece : furniture)
    {
        if (piece == nullptr)
            continue;
        int width = piece->image != nullptr ? piece->image->GetCelWidth() : 0;
        footprints.push_back(FurnitureFootprint{piece->x, piece->y, width});
    }
    SetFurniture(footprints);
}

void WalkGrid::SetFurniture(const std::vector<FurnitureFootprint>& furniture)
{
    RemoveFurnitureNodes();
    for (const FurnitureFootprint& piece : furniture)
    {
        int centre = piece.x + piece.width / 2;
        int left = centre - 131;
        int right = centre + 13;
        int middle = (left + right) / 2;
        int topRow = piece.y - 46;
        int middleRow = (2 * piece.y + 18) / 2;
        int bottomRow = piece.y + 64;
        const struct
        {
            int x;
            int y;
            const char* letters;
        } ring[] = {
            {left, topRow, "+"},      {left, middleRow, "|l"},  {left, bottomRow, "+"},   {right, topRow, "+"},
            {right, middleRow, "|r"}, {right, bottomRow, "+"},  {middle, topRow, "-u"},   {middle, bottomRow, "-d"},
        };
        for (const auto& point : ring)
            if (AddNode(point.x, point.y, point.letters) != nullptr)
                mFurnitureNodes.push_back(int(mNodes.size()) - 1);
    }
    ComputeRoutes();
}

void WalkGrid::AddRun(int from, const std::vector<int>& line, size_t pos, int step, bool GridNode::*flag)
{
    const GridNode& start = mNodes[size_t(from)];
    int n = int(mCoords.size());
    int fromIndex = mNodeIndex[size_t(from)];
    for (long p = long(pos) + step; p >= 0 && p < long(line.size()); p += step)
    {
        int id = line[size_t(p)];
        int index = mNodeIndex[size_t(id)];
        if (index < 0)
            break; // a node on a zero coordinate ends a run as a line's header would
        const GridNode& node = mNodes[size_t(id)];
        size_t cell = size_t(fromIndex) * size_t(n) + size_t(index);
        mDistance[cell] = std::abs(start.x - node.x) + std::abs(start.y - node.y);
        mNext[cell] = index;
        if (!(node.*flag))
            break;
    }
}

void WalkGrid::ComputeRoutes()
{
    int n = int(mCoords.size());
    if (n > kMaxRouteNodes)
    {
        Fail("the walk grid has " + std::to_string(n) + " nodes, more than the " + std::to_string(kMaxRouteNodes) +
             " routes can be worked out for; nobody can walk");
        n = 0;
    }
    const size_t cells = size_t(n) * size_t(n);
    mDistance.assign(cells, kFar);
    mNext.assign(cells, -1);
    mTableSize = n;
    for (int i = 0; i < n; ++i)
        mDistance[size_t(i) * size_t(n) + size_t(i)] = 0;

    // Direct legs along each allowed direction.
    auto findIn = [](const std::vector<int>& line, int id) {
        return size_t(std::find(line.begin(), line.end(), id) - line.begin());
    };
    for (int i = 0; i < n; ++i)
    {
        int id = mCoords[size_t(i)];
        const GridNode& node = mNodes[size_t(id)];
        const std::vector<int>& column = mColumns[node.x];
        const std::vector<int>& row = mRows[node.y];
        size_t inColumn = findIn(column, id);
        size_t inRow = findIn(row, id);
        if (node.up)
            AddRun(id, column, inColumn, -1, &GridNode::up);
        if (node.down)
            AddRun(id, column, inColumn, +1, &GridNode::down);
        if (node.left)
            AddRun(id, row, inRow, -1, &GridNode::left);
        if (node.right)
            AddRun(id, row, inRow, +1, &GridNode::right);
    }

    // Floyd-Warshall, one extra unit per node passed through. Row k and column k do not change while k is the
    // intermediate node, so the order of i and j inside one k is free: rows are walked in memory order, and a
    // strict comparison keeps the earlier route among equal ones. The hops are relaxed in 16 bits when they fit,
    // which cuts the memory the inner loop streams through by a quarter.
    if (n <= INT16_MAX)
    {
        std::vector<int16_t> hops(mNext.begin(), mNext.end());
        RunFloydWarshall(mDistance.data(), hops.data(), n);
        std::copy(hops.begin(), hops.end(), mNext.begin());
    }
    else
    {
        RunFloydWarshall(mDistance.data(), mNext.data(), n);
    }
}

int WalkGrid::Snap(const std::vector<int>& line, bool vertical, int coordinate, int target, bool preferLater) const
{
    auto coord = [&](int id) { return vertical ? mNodes[size_t(id)].y : mNodes[size_t(id)].x; };
    auto later = std::find_if(line.begin(), line.end(), [&](int id) { return coord(id) >= coordinate; });
    if (later == line.end())
        return line.back();
    if (later == line.begin())
        return *later;
    int after = *later;
    int before = *(later - 1);
    int afterDistance = Distance(mNodeIndex[size_t(after)], target);
    int beforeDistance = Distance(mNodeIndex[size_t(before)], target);
    if (afterDistance == beforeDistance)
        return preferLater ? after : before;
    return afterDistance < beforeDistance ? after : before;
}

MotionPath WalkGrid::Route(Person& walker, int targetX, int targetY) const
{
    return Route(&walker, walker.x, walker.y, walker.lastMoveVertical, targetX, targetY);
}

MotionPath WalkGrid::Route(Person* person, int walkerX, int walkerY, bool lastMoveVertical, int targetX,
                           int targetY) const
{
    MotionPath path;
    int target = IndexOf(targetX, targetY);
    if (target < 0 || target >= mTableSize)
    {
        Zestra::Log("walk grid: no walkway node at " + PointText(targetX, targetY) + "; the walker stays at " +
                    PointText(walkerX, walkerY));
        return path;
    }
    int start = IndexOf(walkerX, walkerY);
    if (start < 0)
    {
        // Walkers move only along the network: on a column after a vertical move, on a row otherwise.
        const auto& lines = lastMoveVertical ? mColumns : mRows;
        int key = lastMoveVertical ? walkerX : walkerY;
        auto line = lines.lower_bound(key);
        if (line == lines.end())
        {
            if (lines.empty())
                return path;
            line = std::prev(lines.end()); // east of every column (or south of every row): the last one
        }
        // On equal distances the lower node of a column and the right node of a row win.
        int chosen = Snap(line->second, lastMoveVertical, lastMoveVertical ? walkerY : walkerX, target, true);
        const GridNode& node = mNodes[size_t(chosen)];
        if (lastMoveVertical)
            path.push_back(std::make_unique<Vert>(person, float(node.y)));
        else
            path.push_back(std::make_unique<Horiz>(person, float(node.x)));
        start = mNodeIndex[size_t(chosen)];
        if (start < 0)
        {
            Zestra::Log("walk grid: " + PointText(walkerX, walkerY) + " snaps to no usable node");
            path.clear();
            return path;
        }
    }
    int current = start;
    for (int steps = 0; current != target; ++steps)
    {
        int hop = NextHop(current, target);
        if (hop < 0 || steps > mTableSize)
        {
            Zestra::Log("walk grid: no route from " + PointText(walkerX, walkerY) + " to " +
                        PointText(targetX, targetY) + "; the walker stays where it is");
            path.clear();
            return path;
        }
        const GridNode& from = NodeAt(current);
        const GridNode& to = NodeAt(hop);
        if (to.x == from.x)
            path.push_back(std::make_unique<Vert>(person, float(to.y)));
        else
            path.push_back(std::make_unique<Horiz>(person, float(to.x)));
        current = hop;
    }
    return path;
}
