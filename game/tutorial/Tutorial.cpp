#include "game/tutorial/Tutorial.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace
{
constexpr int kTextLeft = 70;   // inside the box, right of its picture of the guide
constexpr int kTextMargin = 88; // box width minus text width
constexpr int kTextTop = 10;
constexpr int kSmallBoxLines = 5;
constexpr int kPlaceGrid = 10;
constexpr int kPulseBounce = 12; // pixels at the top of a bounce
constexpr int kPulseBounceTicks = 15;
// A target without a picture still has its point kept clear, with a margin for the arrow's tip.
constexpr int kPointMargin = 12;

long long Overlap(const Zestra::Rect& box, const std::vector<Zestra::Rect>& keepClear)
{
    long long area = 0;
    for (const Zestra::Rect& r : keepClear)
    {
        Zestra::Rect both = box.Intersection(r);
        if (!both.IsEmpty())
            area += 1LL * both.mWidth * both.mHeight;
    }
    return area;
}
} // namespace

Tutorial::Tutorial(Zestra::Board& owner) : Component(0, 0, nullptr), board(owner)
{
    if (board.run.Store() != nullptr)
    {
        smallBox = board.run.Store()->GetImage("TutorialBox");
        bigBox = board.run.Store()->GetImage("TutorialBoxBig");
    }
}

void Tutorial::Update()
{
    blinkCounter = (blinkCounter + 1) % kBlinkPeriod;
    if (pulseTicks > 0)
        --pulseTicks;
}

void Tutorial::Draw(Zestra::Graphics& g)
{
    DrawArrows(g);
}

bool Tutorial::ArrowsShown() const
{
    return blinkCounter >= kArrowsFirstShown && blinkCounter <= kArrowsLastShown;
}

int Tutorial::PulseOffset() const
{
    if (pulseTicks <= 0)
        return 0;
    const double phase = double(kPulseTicks - pulseTicks) / kPulseBounceTicks;
    return int(std::lround(kPulseBounce * std::fabs(std::sin(phase * std::numbers::pi))));
}

void Tutorial::DrawArrows(Zestra::Graphics& g)
{
    // While they bounce the arrows stay in sight whatever the blink says: the player is looking for them.
    if (!ArrowsShown() && pulseTicks <= 0)
        return;
    const int bounce = PulseOffset();
    for (const TutorialArrow& arrow : arrows)
    {
        const ResImage* picture = &IMAGE_DOWN_ARROW;
        if (arrow.direction == -1)
            picture = &IMAGE_LEFT_ARROW;
        else if (arrow.direction == 1)
            picture = &IMAGE_RIGHT_ARROW;
        else if (arrow.direction == 2)
            picture = &IMAGE_UP_ARROW;
        const int dx = arrow.direction == -1 ? -bounce : arrow.direction == 1 ? bounce : 0;
        const int dy = arrow.direction == 0 ? bounce : arrow.direction == 2 ? -bounce : 0;
        if (picture->get() != nullptr)
            g.Blit(picture->get(), arrow.x + dx, arrow.y + dy);
    }
}

bool Tutorial::HasHotSpotAt(int x, int y) const
{
    for (const TutorialArrow& arrow : arrows)
    {
        if (arrow.target != nullptr && arrow.target->Contains(x, y))
            return true;
    }
    return false;
}

bool Tutorial::ArrowTargetPoint(int& x, int& y) const
{
    for (const TutorialArrow& arrow : arrows)
    {
        if (arrow.target != nullptr && arrow.target->Contains(arrow.targetX, arrow.targetY))
        {
            x = arrow.targetX;
            y = arrow.targetY;
            return true;
        }
    }
    return false;
}

std::vector<TutorialArrow>::iterator Tutorial::ArrowAt(int x, int y)
{
    for (auto it = arrows.begin(); it != arrows.end(); ++it)
    {
        if (it->target != nullptr && it->target->Contains(x, y))
            return it;
    }
    return arrows.end();
}

void Tutorial::AddArrow(int targetX, int targetY, int x, int y, int direction, bool clear)
{
    if (clear)
        arrows.clear();
    arrows.push_back(TutorialArrow{FindTargetAt(targetX, targetY), x, y, direction, targetX, targetY});
}

void Tutorial::GoTo(int newStep)
{
    step = newStep;
    blinkCounter = 0;
}

bool Tutorial::NeedsBigBox(int lineCount, bool clickToContinue)
{
    return lineCount + (clickToContinue ? 1 : 0) >= kSmallBoxLines;
}

int Tutorial::BoxLeft(int x, int boardWidth, int boxWidth)
{
    return x >= boardWidth - boxWidth ? boardWidth - boxWidth : x;
}

Zestra::Rect Tutorial::PlaceBox(Zestra::Rect wanted, const std::vector<Zestra::Rect>& keepClear, int boardWidth,
                              int boardHeight)
{
    const int maxX = std::max(0, boardWidth - wanted.mWidth);
    const int maxY = std::max(0, boardHeight - wanted.mHeight);
    wanted.mX = std::clamp(wanted.mX, 0, maxX);
    wanted.mY = std::clamp(wanted.mY, 0, maxY);
    if (Overlap(wanted, keepClear) == 0)
        return wanted;
    Zestra::Rect best = wanted;
    long long bestOverlap = LLONG_MAX;
    long long bestDistance = LLONG_MAX;
    // Places: the board's edges, a grid through the wanted place, and flush beside each rectangle to keep clear.
    std::vector<int> xs{0, maxX};
    std::vector<int> ys{0, maxY};
    for (int x = wanted.mX % kPlaceGrid; x <= maxX; x += kPlaceGrid)
        xs.push_back(x);
    for (int y = wanted.mY % kPlaceGrid; y <= maxY; y += kPlaceGrid)
        ys.push_back(y);
    for (const Zestra::Rect& r : keepClear)
    {
        xs.push_back(std::clamp(r.mX + r.mWidth, 0, maxX));
        xs.push_back(std::clamp(r.mX - wanted.mWidth, 0, maxX));
        ys.push_back(std::clamp(r.mY + r.mHeight, 0, maxY));
        ys.push_back(std::clamp(r.mY - wanted.mHeight, 0, maxY));
    }
    for (int y : ys)
        for (int x : xs)
        {
            Zestra::Rect place{x, y, wanted.mWidth, wanted.mHeight};
            const long long overlap = Overlap(place, keepClear);
            const long long dx = x - wanted.mX, dy = y - wanted.mY;
            const long long distance = dx * dx + dy * dy;
            if (overlap < bestOverlap || (overlap == bestOverlap && distance < bestDistance))
            {
                best = place;
                bestOverlap = overlap;
                bestDistance = distance;
            }
        }
    return best;
}

std::vector<Zestra::Rect> Tutorial::KeepClearRects() const
{
    std::vector<Zestra::Rect> rects;
    for (const TutorialArrow& arrow : arrows)
    {
        const ResImage* picture = arrow.direction == -1  ? &IMAGE_LEFT_ARROW
                                  : arrow.direction == 1 ? &IMAGE_RIGHT_ARROW
                                  : arrow.direction == 2 ? &IMAGE_UP_ARROW
                                                         : &IMAGE_DOWN_ARROW;
        if (picture->get() != nullptr)
            rects.push_back(Zestra::Rect{arrow.x, arrow.y, picture->get()->GetWidth(), picture->get()->GetHeight()});
        Zestra::Image* look = arrow.target != nullptr ? arrow.target->GetImage() : nullptr;
        if (look != nullptr)
            rects.push_back(Zestra::Rect{arrow.target->x, arrow.target->y, look->GetCelWidth(), look->GetCelHeight()});
        if (arrow.target != nullptr)
            rects.push_back(Zestra::Rect{arrow.targetX - kPointMargin, arrow.targetY - kPointMargin, 2 * kPointMargin,
                                         2 * kPointMargin});
    }
    return rects;
}

Zestra::Rect Tutorial::BoxRect(Zestra::Graphics& g, const StepBox& step) const
{
    Zestra::Font* font = FONT_SMALL;
    if (step.key == nullptr || font == nullptr || smallBox == nullptr)
        return Zestra::Rect{};
    g.SetTypeface(font);
    const int spacing = font->LineSpacing() > 0 ? font->LineSpacing() : 1;
    const int lines = g.MeasureWrapped(smallBox->GetWidth() - kTextMargin, GetText(step.key)) / spacing;
    const Zestra::Image* box = NeedsBigBox(lines, step.clickToContinue) && bigBox != nullptr ? bigBox : smallBox;
    const int width = box->GetWidth();
    const Zestra::Rect wanted{BoxLeft(step.x, kBoardWidth, width), step.y, width, box->GetHeight()};
    return PlaceBox(wanted, KeepClearRects(), kBoardWidth, kBoardHeight);
}

void Tutorial::DrawTextBox(Zestra::Graphics& g, const StepBox& step)
{
    const Zestra::Rect place = BoxRect(g, step);
    if (place.IsEmpty())
        return;
    Zestra::Image* box = place.mHeight == smallBox->GetHeight() && place.mWidth == smallBox->GetWidth() ? smallBox
                                                                                                       : bigBox;
    const int x = place.mX;
    const int y = place.mY;
    const int width = place.mWidth;
    const int height = place.mHeight;
    g.SetTypeface(FONT_SMALL);
    g.SetInk(Zestra::Color(0, 0, 0));
    g.Blit(box, x, y);
    g.PrintWrapped(Zestra::Rect{x + kTextLeft, y + kTextTop, width - kTextMargin, height - 20}, GetText(step.key));
    if (step.clickToContinue)
        g.PrintColored(GetText("tutorial_click_to_continue"), x + (width + 22) / 2, y + height - 20, 0, 0);
}
