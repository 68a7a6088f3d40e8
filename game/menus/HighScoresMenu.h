// The high-score tables, one per store: browsed from the main menu with previous and next, or shown after a run
// with the new entry blinking (half a second on, half off), the final score, and a button that leads on (to the
// map, or to the credits after the last store).
#pragma once

#include "game/menus/InfoMenu.h"

#include <string>

class HighScoresMenu : public InfoMenu
{
public:
    enum ButtonId
    {
        kPrevious = 2,
        kNext,
    };
    static constexpr int kBlinkPeriod = 100; // updates; the row shows for the first half
    static constexpr int kFadeUpdates = 100;

    // Browsing, from store 1.
    explicit HighScoresMenu(Zestra::Board* board);
    // After a run of the store: row is the new entry (-1 none); fromResult: opened by the result of a day.
    HighScoresMenu(Zestra::Board* board, int storeNumber, int runTotal, int row, bool fromResult);

    // Browsing: one store back or on, never past the first or the last playable store.
    void ShowStore(int storeNumber);
    // Whether the highlighted row is drawn now.
    bool HighlightShown() const { return blinkCounter < kBlinkPeriod / 2; }

    void OnBack() override;
    using InfoMenu::ButtonPressed;
    void ButtonPressed(int id) override;
    void DrawContent(Zestra::Graphics& g) override;
    void Paint(Zestra::Graphics& g) override;
    void PaintOverlay(Zestra::Graphics& g, int priority) override;
    using InfoMenu::PaintOverlay;
    void Tick() override;
    void OnAttachedToManager(Zestra::WidgetManager* manager) override;

    int storeNumber = 1;
    bool fromResult = false;
    bool final = false;
    int highlightedRow = -1;
    int blinkCounter = 0; // 0..kBlinkPeriod - 1
    std::string finalScoreText;
    int tableTop = 170;
    int fade = 0;                     // updates left of the fade from the screen before
    Button* previousButton = nullptr; // browsing only
    Button* nextButton = nullptr;
};
