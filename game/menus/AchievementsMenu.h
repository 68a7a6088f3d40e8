// The trophy screen: every achievement of the table, ten to a page, earned ones bright with the day they were
// earned, the others dimmed with how to earn them; previous and next pages, a link to the statistics and the back
// button to the main menu. It shows the selected player's (nobody selected: nothing earned).
#pragma once

#include "framework/graphics/Rect.h"
#include "game/menus/InfoMenu.h"

#include <string>

namespace Zestra
{
class HyperlinkWidget;
}
struct AchievementInfo;

class AchievementsMenu : public InfoMenu
{
public:
    enum ButtonId
    {
        kPrevious = 2,
        kNext,
        kStatistics,
    };
    static constexpr int kPerPage = 10;

    explicit AchievementsMenu(Zestra::Board* board);

    int PageCount() const;
    void ShowPage(int page); // clamped to the pages there are
    // The achievement's second line: the day it was earned, or how to earn it.
    std::string DetailText(const AchievementInfo& info) const;
    bool IsEarned(const AchievementInfo& info) const;

    // Where the slot'th achievement of a page is drawn (menu pixels), and its words.
    static Zestra::Rect CellBox(int slot);
    static Zestra::Rect NameBox(int slot);
    static Zestra::Rect DetailBox(int slot);
    static Zestra::Rect CountBox();

    using InfoMenu::ButtonPressed;
    void ButtonPressed(int id) override;
    void DrawContent(Zestra::Graphics& g) override;

    int page = 0;
    int profileSlot = -1;
    Button* previousButton = nullptr;
    Button* nextButton = nullptr;
    Zestra::HyperlinkWidget* statisticsLink = nullptr;
};
