// The small note that an achievement was earned: one at a time, in the order earned, over the open floor between
// the stations and below the goal banner. It only draws; the day goes on under it.
#pragma once

#include "framework/graphics/Rect.h"

#include <deque>
#include <string>
#include <vector>

namespace Zestra
{
class Graphics;
}

class AchievementToast
{
public:
    static constexpr int kShowTicks = 350; // each note, fades included
    static constexpr int kFadeTicks = 40;
    // Clear of every station of the floor (the changing rooms along the top wall, the table and racks above and
    // below, the counters at the sides) and of the goal banner in the middle.
    static constexpr Zestra::Rect kBox{240, 345, 320, 46};

    void Add(const std::vector<std::string>& ids);
    // One update; true when the picture changed.
    bool Tick();
    void Draw(Zestra::Graphics& g) const;
    // The achievement shown now, or null.
    const std::string* Current() const { return queue.empty() ? nullptr : &queue.front(); }
    void Clear();

    // Where the words go inside kBox: the heading and the achievement's name.
    static Zestra::Rect HeadingBox();
    static Zestra::Rect NameBox();

    std::deque<std::string> queue; // the first one is showing
    int ticks = 0;                 // into the first one
};
