// A comic page between the parts of the story: it fades in from the screen it replaces, then a click (or Return,
// Space or Escape) leads on: the first comic to the map, the second to the first day, the last ones to the high
// scores of the run.
#pragma once

#include "game/ui/Menu.h"

#include "framework/graphics/Rect.h"

#include <string>

class Comic : public Menu
{
public:
    enum Kind
    {
        kToMap = 1,
        kToLevel = 2,
        kToHighScores = 3,
    };
    static constexpr int kFadeUpdates = 130;

    // The comic before the map (first) or before the first day.
    Comic(Zestra::Board* board, bool first);
    // The comic after a store's last day; storeNumber 1 has its own page, later stores share the last one.
    Comic(Zestra::Board* board, int storeNumber, int runTotal, int highScoreRow);

    static constexpr int kPanels = 4;

    bool FadeDone() const { return fade < 0; }
    // The page's captions are texts of the data, written into the empty caption box at the top of each of its four
    // panels (0 to 3, left to right, then the next row): the key "comic<page>_panel<panel + 1>".
    static std::string CaptionKey(int page, int panel);
    static Zestra::Rect CaptionBox(int panel);
    // Leads on, once the fade has ended; false (nothing done) before.
    bool Continue();

    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    void Tick() override;
    void Paint(Zestra::Graphics& g) override;
    void PaintOverlay(Zestra::Graphics& g, int priority) override;
    using Menu::PaintOverlay;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Menu::OnMouseDown;
    void OnKeyDown(int key) override;

    int kind = kToMap;
    int page = 1; // 1 to 4, the picture shown
    int storeNumber = 0;
    int runTotal = 0;
    int highScoreRow = -1;
    int fade = kFadeUpdates; // counts down each update; the page answers once it is negative
};
