// The store floor's walkways: straight columns and rows of nodes read from "properties/grid.txt", extended by a
// ring of nodes around every piece of furniture, with an all-pairs table (distance and first hop) that turns a
// walk into a list of straight Horiz/Vert moves by lookup. Nodes with a zero coordinate are part of the network
// but never a route end. The next-hop table holds -1 wherever no route exists, so a lookup always ends.
#pragma once

#include "game/people/Walkways.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Furniture;

struct GridNode
{
    int x = 0;
    int y = 0;
    bool up = false; // towards smaller y
    bool down = false;
    bool left = false; // towards smaller x
    bool right = false;
};

// Left edge, top and cel width of a piece of furniture: all a ring needs.
struct FurnitureFootprint
{
    int x = 0;
    int y = 0;
    int width = 0;
};

class WalkGrid : public Walkways
{
public:
    static constexpr int kFar = 1073741823; // "no route yet"; two of them plus one still fit an int
    // The route tables grow with the square of the node count (and their computation with its cube): a grid file
    // may add at most kMaxFilePoints points, and no table is made for more than kMaxRouteNodes nodes.
    static constexpr int kMaxFilePoints = 512;
    static constexpr int kMaxRouteNodes = 2048;

    WalkGrid() = default;
    WalkGrid(const WalkGrid&) = delete;
    WalkGrid& operator=(const WalkGrid&) = delete;

    // Reads the grid file through the archive-aware file access and adds its nodes. False (ErrorText names the file
    // and line) when the file is missing or a line is unusable; good lines are kept either way.
    bool Load(const std::string& path = "properties/grid.txt");
    // The same from text already in memory; fileName is used in messages.
    bool LoadText(const std::string& text, const std::string& fileName);
    bool HasFailed() const { return mFailed; }
    const std::string& ErrorText() const { return mErrorText; }
    // Everything reading (and routing) found, in order. Errors skip their line; warnings mark lines that read
    // differently from what they seem to say (a number with a tail, an unknown letter, a point off the floor),
    // which are kept.
    struct Issue
    {
        bool error = true;
        int line = 0;     // of the grid file; 0 when the issue is not tied to a line
        std::string what; // without file and line
        std::string text; // "file:line: what" as printed
    };
    const std::vector<Issue>& Issues() const { return mIssues; }
    // Quiet: issues are only collected (a checker reports them its own way); otherwise each goes to stderr too.
    void SetQuiet(bool quiet) { mQuiet = quiet; }

    // A new node gets exactly the directions of letters; an existing one keeps only those of its directions that
    // the letters also allow. Returns the node when it was created, null when it existed.
    const GridNode* AddNode(int x, int y, const std::string& letters);
    // Removes the previous rings, adds a ring around every piece in list order, then recomputes the routes.
    void SetFurniture(const std::vector<Furniture*>& furniture);
    void SetFurniture(const std::vector<FurnitureFootprint>& furniture);
    // All pairs, with one extra unit per node passed through, so that fewer stops win among equal lengths.
    void ComputeRoutes();

    // The straight moves that take walker to the node at (targetX, targetY); the first may snap the walker onto
    // the network. An empty path when it already stands there, when the target is not a node or unreachable
    // (reported on stderr): the walker then stays where it is.
    MotionPath Route(Person& walker, int targetX, int targetY) const override;
    // The same for a walker given by position; the moves are made for person (may be null in tests).
    MotionPath Route(Person* person, int walkerX, int walkerY, bool lastMoveVertical, int targetX,
                     int targetY) const;

    const GridNode* FindNode(int x, int y) const;
    int IndexOf(int x, int y) const; // -1 for a point that is not an indexed node
    int NodeCount() const { return int(mCoords.size()); }
    const GridNode& NodeAt(int index) const { return mNodes[size_t(mCoords[size_t(index)])]; }
    int Distance(int from, int to) const;
    int NextHop(int from, int to) const;
    size_t TotalNodes() const { return mNodes.size(); }
    size_t FurnitureNodeCount() const { return mFurnitureNodes.size(); }

private:
    static uint64_t Key(int x, int y);
    void RemoveFurnitureNodes();
    void LinkNode(int id);
    void AddRun(int from, const std::vector<int>& line, size_t pos, int step, bool GridNode::*flag);
    int Snap(const std::vector<int>& line, bool vertical, int coordinate, int target, bool preferLater) const;
    void Fail(const std::string& text);
    void Report(bool error, const std::string& file, int line, const std::string& what);

    std::vector<GridNode> mNodes;                 // every node, in creation order
    std::map<int, std::vector<int>> mColumns;     // x -> node ids by ascending y
    std::map<int, std::vector<int>> mRows;        // y -> node ids by ascending x
    std::map<uint64_t, int> mLookup;              // (x, y) -> node id
    std::vector<int> mNodeIndex;                  // node id -> dense index, -1 when not indexed
    std::vector<int> mCoords;                     // dense index -> node id
    std::vector<int> mFurnitureNodes;             // node ids created by the last SetFurniture
    std::vector<int32_t> mDistance;               // n x n, row-major
    std::vector<int32_t> mNext;                   // n x n, -1 when there is no route
    int mTableSize = 0;                           // n the tables were computed for
    bool mFailed = false;
    std::string mErrorText;
    std::vector<Issue> mIssues;
    bool mQuiet = false;
};
