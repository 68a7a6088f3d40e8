// The credits: the data's list of titles and names scrolling up through the popup, then the disclaimer; once all
// of it has passed, it starts again from below.
#pragma once

#include "game/menus/InfoMenu.h"

#include <string>
#include <utility>
#include <vector>

class CreditsMenu : public InfoMenu
{
public:
    static constexpr double kStartScroll = -300; // the first line starts this far below its place
    static constexpr double kSpeed = 0.4;        // pixels per update

    explicit CreditsMenu(Zestra::Board* board);

    // Moves the text on by one update (step 1) or a fraction of one.
    void Advance(double step);

    void Tick() override;
    void TickFraction(double step) override;
    void DrawContent(Zestra::Graphics& g) override;

    double scroll = kStartScroll;
    int totalHeight = 0;

private:
    static int DisclaimerHeight();
};

// Height of the scrolling text: a margin, then each line with a title (a heading) or without (a name).
int CreditsHeight(const std::vector<std::pair<std::string, std::string>>& credits);
