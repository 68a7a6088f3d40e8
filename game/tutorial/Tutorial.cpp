#include "game/tutorial/Tutorial.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

namespace
{
constexpr int kBoardWidth = 800;
constexpr int kTextLeft = 70;   // inside the box, right of its picture of the guide
constexpr int kTextMargin = 88; // box width minus text width
constexpr int kTextTop = 10;
constexpr int kSmallBoxLines = 5;
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
}

void Tutorial::Draw(Zestra::Graphics& g)
{
    DrawArrows(g);
}

bool Tutorial::ArrowsShown() const
{
    return blinkCounter >= kArrowsFirstShown && blinkCounter <= kArrowsLastShown;
}

void Tutorial::DrawArrows(Zestra::Graphics& g)
{
    if (!ArrowsShown())
        return;
    for (const TutorialArrow& arrow : arrows)
    {
        const ResImage* picture = &IMAGE_DOWN_ARROW;
        if (arrow.direction == -1)
            picture = &IMAGE_LEFT_ARROW;
        else if (arrow.direction == 1)
            picture = &IMAGE_RIGHT_ARROW;
        else if (arrow.direction == 2)
            picture = &IMAGE_UP_ARROW;
        if (picture->get() != nullptr)
            g.Blit(picture->get(), arrow.x, arrow.y);
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

void Tutorial::DrawTextBox(Zestra::Graphics& g, int x, int y, const std::string& key, bool clickToContinue)
{
    Zestra::Font* font = FONT_SMALL;
    if (font == nullptr || smallBox == nullptr)
        return;
    g.SetTypeface(font);
    g.SetInk(Zestra::Color(0, 0, 0));
    const std::string& text = GetText(key);
    int spacing = font->LineSpacing() > 0 ? font->LineSpacing() : 1;
    int lines = g.MeasureWrapped(smallBox->GetWidth() - kTextMargin, text) / spacing;
    Zestra::Image* box = NeedsBigBox(lines, clickToContinue) && bigBox != nullptr ? bigBox : smallBox;
    int width = box->GetWidth();
    int height = box->GetHeight();
    x = BoxLeft(x, kBoardWidth, width);
    g.Blit(box, x, y);
    g.PrintWrapped(Zestra::Rect{x + kTextLeft, y + kTextTop, width - kTextMargin, height - 20}, text);
    if (clickToContinue)
        g.PrintColored(GetText("tutorial_click_to_continue"), x + (width + 22) / 2, y + height - 20, 0, 0);
}
