// Layout and drawing of the trophy screen.
#include "game/menus/AchievementsMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "game/data/Localization.h"
#include "game/menus/StatisticsMenu.h"
#include "game/menus/TextInBox.h"
#include "game/profile/Achievements.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/ui/Button.h"
#include "game/ui/MenuHost.h"

#include <algorithm>
#include <memory>

using namespace Zestra;

namespace
{
constexpr int kTitleX = 250;
constexpr int kTitleY = 14;
constexpr int kCountTop = 84;
constexpr int kCountHeight = 26;
constexpr int kGridLeft = 30;
constexpr int kGridTop = 116;
constexpr int kColumnWidth = 370;
constexpr int kColumnGap = 0;
constexpr int kRowHeight = 74;
constexpr int kRows = 5;
constexpr int kCellGap = 4;
constexpr int kIconSize = 48;
constexpr int kTextGap = 8;
constexpr int kNameHeight = 24;
constexpr int kPreviousCentreX = 150;
constexpr int kNextCentreX = 650;
constexpr int kButtonsTop = 500;
constexpr int kLinkRight = 770;
constexpr int kLinkTop = 88;
constexpr int kBackgroundStore = 2;
const Color kBackdrop{40, 24, 44, 190};
const Color kEarnedCell{91, 42, 110, 255};
const Color kOpenCell{70, 60, 74, 255};
const Color kEarnedName{255, 255, 255};
const Color kEarnedDetail{244, 180, 60};
const Color kOpenText{200, 190, 205};

const Profile* ShownProfile()
{
    const Profile* profile = GetProfile(GetSelectedProfile());
    return profile != nullptr && !profile->IsFree() ? profile : nullptr;
}

// Left-aligned and wrapped, in the largest of the fonts it fits.
void DrawLeftInBox(Graphics& g, const std::string& text, const Rect& box, std::initializer_list<Font*> fonts,
                   const Color& ink)
{
    TextFit fit = FitTextInBox(text, box, fonts);
    if (fit.font == nullptr || text.empty())
        return;
    Graphics inside(g);
    inside.RestrictClip(box);
    inside.SetTypeface(fit.font);
    inside.SetInk(ink);
    const int top = box.mY + std::max(0, box.mHeight - fit.height) / 2;
    inside.PrintWrapped(Rect(box.mX, top, box.mWidth, box.mHeight), text, -1, -1);
}

Image* MenuBackground()
{
    return IMAGE_MENU_BACKGROUND_2.get();
}
} // namespace

AchievementsMenu::AchievementsMenu(Board* board) : InfoMenu(board, MenuBackground())
{
    previousButton = AddMenuButton(GetText("highscore_prev"), kPreviousCentreX, kButtonsTop, kPrevious);
    nextButton = AddMenuButton(GetText("highscore_next"), kNextCentreX, kButtonsTop, kNext);
    statisticsLink = AddCornerLink(kStatistics, GetText("achievements_statistics"), kLinkRight, kLinkTop);
    profileSlot = GetSelectedProfile();
    ShowPage(0);
}

int AchievementsMenu::PageCount() const
{
    const int count = int(AchievementTable().size());
    return std::max(1, (count + kPerPage - 1) / kPerPage);
}

void AchievementsMenu::ShowPage(int wanted)
{
    page = std::clamp(wanted, 0, PageCount() - 1);
    Invalidate();
}

bool AchievementsMenu::IsEarned(const AchievementInfo& info) const
{
    const Profile* profile = ShownProfile();
    return profile != nullptr && profile->achievements.count(info.id) != 0;
}

std::string AchievementsMenu::DetailText(const AchievementInfo& info) const
{
    const Profile* profile = ShownProfile();
    if (profile != nullptr)
    {
        const auto earned = profile->achievements.find(info.id);
        if (earned != profile->achievements.end())
            return GetText("achievements_earned") + std::to_string(earned->second);
    }
    return GetText(info.textKey);
}

Rect AchievementsMenu::CellBox(int slot)
{
    const int column = slot / kRows;
    const int row = slot % kRows;
    return {kGridLeft + column * (kColumnWidth + kColumnGap) + kCellGap / 2, kGridTop + row * kRowHeight,
            kColumnWidth - kCellGap, kRowHeight - kCellGap};
}

Rect AchievementsMenu::NameBox(int slot)
{
    const Rect cell = CellBox(slot);
    const int left = cell.mX + kCellGap + kIconSize + kTextGap;
    return {left, cell.mY + 2, cell.mX + cell.mWidth - kCellGap - left, kNameHeight};
}

Rect AchievementsMenu::DetailBox(int slot)
{
    const Rect cell = CellBox(slot);
    const Rect name = NameBox(slot);
    return {name.mX, name.mY + name.mHeight, name.mWidth, cell.mY + cell.mHeight - 2 - (name.mY + name.mHeight)};
}

Rect AchievementsMenu::CountBox()
{
    return {kGridLeft, kCountTop, kColumnWidth, kCountHeight};
}

void AchievementsMenu::ButtonPressed(int id)
{
    switch (id)
    {
    case kPrevious:
        ShowPage(page - 1);
        break;
    case kNext:
        ShowPage(page + 1);
        break;
    case kStatistics:
    {
        MenuHost* host = Host();
        Close();
        if (host != nullptr)
            host->AddMenu(std::make_unique<StatisticsMenu>(board));
        break;
    }
    default:
        InfoMenu::ButtonPressed(id);
    }
}

void AchievementsMenu::DrawContent(Graphics& g)
{
    DrawBannerWithTitle(g, IMAGE_MENU_HIGH_SCORE_TITLE.get(), kTitleX, kTitleY, GetText("achievements_title"));
    g.SetInk(kBackdrop);
    g.FillBox(kGridLeft - kCellGap, kCountTop - kCellGap, 2 * kColumnWidth + 2 * kCellGap - kCellGap / 2,
              kGridTop + kRows * kRowHeight - kCountTop + kCellGap);
    const std::vector<AchievementInfo>& table = AchievementTable();
    int earnedCount = 0;
    for (const AchievementInfo& info : table)
        earnedCount += IsEarned(info) ? 1 : 0;
    DrawLeftInBox(g, GetText("achievements_count") + std::to_string(earnedCount) + " / " +
                         std::to_string(table.size()),
                  CountBox(), {FONT_MEDIUM_LIGHT, FONT_SMALL}, Color::White);

    Image* icons = IMAGE_ACHIEVEMENT_ICONS.get();
    for (int slot = 0; slot < kPerPage; ++slot)
    {
        const size_t index = size_t(page * kPerPage + slot);
        if (index >= table.size())
            break;
        const AchievementInfo& info = table[index];
        const bool earned = IsEarned(info);
        const Rect cell = CellBox(slot);
        g.SetInk(earned ? kEarnedCell : kOpenCell);
        g.FillBox(cell);
        if (icons != nullptr)
        {
            Graphics icon(g);
            // An achievement still to earn shows its medal greyed and faint.
            icon.SetTintImages(!earned);
            icon.SetInk(Color(150, 150, 150, 110));
            icon.BlitCell(icons, cell.mX + kCellGap, cell.mY + (cell.mHeight - kIconSize) / 2, info.icon);
        }
        DrawLeftInBox(g, GetText(info.nameKey), NameBox(slot), {FONT_MEDIUM_LIGHT, FONT_SMALL},
                      earned ? kEarnedName : kOpenText);
        DrawLeftInBox(g, DetailText(info), DetailBox(slot), {FONT_SMALL}, earned ? kEarnedDetail : kOpenText);
    }
}
