// The statistics screen: the selected player's counts (customers served and lost, money and tips, days played,
// passed and at expert, the best memory game, time in the shops) and the best day of each store, one row each,
// with a link back to the trophies and the back button to the main menu.
#pragma once

#include "framework/graphics/Rect.h"
#include "game/menus/InfoMenu.h"

#include <string>
#include <utility>
#include <vector>

namespace Zestra
{
class HyperlinkWidget;
}
struct PlayerStats;

// The rows as shown: label and value, for the statistics given (stores 1..storeCount get a best-day row).
std::vector<std::pair<std::string, std::string>> StatisticsRows(const PlayerStats& stats, int storeCount);
// Ticks as hours, minutes and seconds ("1:02:03").
std::string PlayedTimeText(long long ticks);

class StatisticsMenu : public InfoMenu
{
public:
    enum ButtonId
    {
        kTrophies = 2,
    };

    explicit StatisticsMenu(Zestra::Board* board);

    // Where row i's label and value are drawn (menu pixels).
    static Zestra::Rect LabelBox(int row);
    static Zestra::Rect ValueBox(int row);

    using InfoMenu::ButtonPressed;
    void ButtonPressed(int id) override;
    void DrawContent(Zestra::Graphics& g) override;

    std::vector<std::pair<std::string, std::string>> rows;
    Zestra::HyperlinkWidget* trophiesLink = nullptr;
};
