// The pages of the how-to-play screen and their layout inside the popup.
#include "game/menus/HowToPlayMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/TextInBox.h"
#include "game/res/Res.h"
#include "game/ui/Button.h"

#include <algorithm>

using namespace Zestra;

namespace
{
constexpr int kBackTop = 530;
constexpr int kTitleX = 398;
constexpr int kTitleY = 21;
constexpr int kPopupX = 330;
constexpr int kPopupY = 86;
constexpr int kPageTitleTop = 104;
constexpr int kPageTitleHeight = 30;
constexpr int kRulesTop = 146;
constexpr int kRuleHeight = 88;
constexpr int kPictureX = 352;
constexpr int kPictureSize = 64;
constexpr int kTextX = 428;
constexpr int kTextWidth = 322;
constexpr int kTurnTop = 534;
constexpr int kPreviousCentreX = 190;
constexpr int kNextCentreX = 610;

enum class Picture
{
    Mannequin,
    QueueNumber,
    Hanger,
    Register,
    Heart,
    Cloud,
    Bubble,
    Jar,
    ShopBadge,
    Drink,
    GiftWrap,
    Rival,
};

struct Rule
{
    Picture picture;
    const char* key;
};

struct Page
{
    const char* titleKey;
    Rule rules[4];
};

// In the order the days bring them: the floor of the first day, the customers' moods, then what later days add.
constexpr Page kPages[] = {
    {"howto_page_floor",
     {{Picture::Mannequin, "howto_fetch"},
      {Picture::QueueNumber, "howto_orders"},
      {Picture::Hanger, "howto_tidy"},
      {Picture::Register, "howto_register"}}},
    {"howto_page_customers",
     {{Picture::Heart, "howto_hearts"},
      {Picture::Cloud, "howto_cloud"},
      {Picture::Bubble, "howto_desk"},
      {Picture::Jar, "howto_goal"}}},
    {"howto_page_later",
     {{Picture::ShopBadge, "howto_shop"},
      {Picture::Drink, "howto_drinks"},
      {Picture::GiftWrap, "howto_gift_wrap"},
      {Picture::Rival, "howto_rival"}}},
};

constexpr int kPageCount = int(sizeof(kPages) / sizeof(kPages[0]));

// The first store whose floor has a drink station: its picture of a drink.
Image* DrinkPicture()
{
    for (int number = 1; number <= StoreCount(); ++number)
    {
        const StoreInfo* store = GetStoreInfo(number);
        if (store != nullptr && store->initialDrinks != 0)
            if (Image* drink = store->GetImage("Drink"))
                return drink;
    }
    return nullptr;
}

Image* PictureOf(Picture picture, int& cel)
{
    cel = 0;
    switch (picture)
    {
    case Picture::Mannequin:
        return IMAGE_MANNEQUIN_FEMALE.get();
    case Picture::QueueNumber:
        return IMAGE_NUMBERS.get();
    case Picture::Hanger:
        return IMAGE_EMPTY_HANGER.get();
    case Picture::Register:
        return IMAGE_CASH_REGISTER.get();
    case Picture::Heart:
        return IMAGE_HEART_FULL.get();
    case Picture::Cloud:
        cel = 2; // the darkest, with its bolt
        return IMAGE_ANGRY_CLOUD.get();
    case Picture::Bubble:
        return IMAGE_SPEECH_BUBBLE.get();
    case Picture::Jar:
        return IMAGE_HUD_JAR_FULL.get();
    case Picture::ShopBadge:
        return IMAGE_NEW_NORMAL.get();
    case Picture::Drink:
        return DrinkPicture();
    case Picture::GiftWrap:
        return IMAGE_GIFT_WRAP_ICON.get();
    case Picture::Rival:
        return IMAGE_MENU_LEVEL_COMPLETE_DORVIE.get();
    }
    return nullptr;
}

// The cel scaled into a square, whole and centred, never enlarged past twice its size.
void DrawPicture(Graphics& g, Image* image, int cel, const Rect& square)
{
    const int columns = std::max(1, image->GetCelWidth() > 0 ? image->GetWidth() / image->GetCelWidth() : 1);
    const int celWidth = image->GetCelWidth();
    const int celHeight = image->GetCelHeight();
    if (celWidth <= 0 || celHeight <= 0)
        return;
    const Rect source((cel % columns) * celWidth, (cel / columns) * celHeight, celWidth, celHeight);
    const double scale =
        std::min({double(square.mWidth) / celWidth, double(square.mHeight) / celHeight, 2.0});
    const int width = std::max(1, int(celWidth * scale));
    const int height = std::max(1, int(celHeight * scale));
    const Rect dest(square.mX + (square.mWidth - width) / 2, square.mY + (square.mHeight - height) / 2, width,
                    height);
    g.BlitScaled(image, dest, source);
}
} // namespace

HowToPlayMenu::HowToPlayMenu(Board* board) : InfoMenu(board, IMAGE_MENU_BACKGROUND_2.get())
{
    for (size_t i = 0; i < children.size(); i++)
    {
        if (children[i].get() == backButton)
            childOffsets[i].mY = kBackTop;
    }
    previousButton = AddLevelButton(GetText("howto_previous"), kPreviousCentreX, kTurnTop, kPreviousButton);
    nextButton = AddLevelButton(GetText("howto_next"), kNextCentreX, kTurnTop, kNextButton);
    SetBounds(mX, mY, mWidth, mHeight);
    ShowPage(0);
}

int HowToPlayMenu::PageCount()
{
    return kPageCount;
}

int HowToPlayMenu::RulesOnPage(int)
{
    return 4;
}

const char* HowToPlayMenu::RuleTextKey(int onPage, int rule)
{
    return kPages[std::clamp(onPage, 0, kPageCount - 1)].rules[std::clamp(rule, 0, 3)].key;
}

Image* HowToPlayMenu::RulePicture(int onPage, int rule, int& cel)
{
    return PictureOf(kPages[std::clamp(onPage, 0, kPageCount - 1)].rules[std::clamp(rule, 0, 3)].picture, cel);
}

void HowToPlayMenu::ShowPage(int newPage)
{
    page = std::clamp(newPage, 0, kPageCount - 1);
    if (previousButton != nullptr)
        previousButton->SetShown(page > 0);
    if (nextButton != nullptr)
        nextButton->SetShown(page < kPageCount - 1);
    Invalidate();
}

void HowToPlayMenu::ButtonPressed(int id)
{
    if (id == kPreviousButton)
        ShowPage(page - 1);
    else if (id == kNextButton)
        ShowPage(page + 1);
    else
        InfoMenu::ButtonPressed(id);
}

void HowToPlayMenu::DrawContent(Graphics& g)
{
    DrawBannerWithTitle(g, IMAGE_MENU_HOW_TO_PLAY_TITLE.get(), kTitleX, kTitleY, GetText("how_to_play_title"));
    if (IMAGE_MENU_HOW_TO_PLAY_POPUP)
        g.Blit(IMAGE_MENU_HOW_TO_PLAY_POPUP.get(), kPopupX, kPopupY);
    const Page& shown = kPages[page];
    const Rect titleBox(kPictureX, kPageTitleTop, kTextX + kTextWidth - kPictureX, kPageTitleHeight);
    DrawTextInBox(g, GetText(shown.titleKey), titleBox, {FONT_MEDIUM_DARK, FONT_SMALL}, Color(91, 42, 110));
    for (int rule = 0; rule < 4; ++rule)
    {
        const int top = kRulesTop + rule * kRuleHeight;
        int cel = 0;
        if (Image* picture = PictureOf(shown.rules[rule].picture, cel))
            DrawPicture(g, picture, cel, Rect(kPictureX, top, kPictureSize, kPictureSize));
        if (FONT_SMALL == nullptr)
            continue;
        Graphics text(g);
        text.SetTypeface(FONT_SMALL);
        text.SetInk(Color::Black);
        const Rect box(kTextX, top, kTextWidth, kRuleHeight - 8);
        text.RestrictClip(box);
        text.PrintWrapped(box, GetText(shown.rules[rule].key));
    }
}
