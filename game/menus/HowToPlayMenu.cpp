// Layout of the how-to-play screen.
#include "game/menus/HowToPlayMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/Localization.h"
#include "game/menus/TextInBox.h"
#include "game/res/Res.h"
#include "game/ui/Button.h"

using namespace Zestra;

namespace
{
constexpr int kBackTop = 530;
constexpr int kTitleX = 398;
constexpr int kTitleY = 21;
constexpr int kPopupX = 330;
constexpr int kPopupY = 86;
constexpr int kTextX = 350;
constexpr int kTextY = 112;
constexpr int kTextWidth = 400;
constexpr int kPopupBottomMargin = 20; // the text stays this far above the popup's lower edge
} // namespace

HowToPlayMenu::HowToPlayMenu(Board* board) : InfoMenu(board, IMAGE_MENU_BACKGROUND_2.get()), text(GetText("howtoplay"))
{
    for (size_t i = 0; i < children.size(); i++)
    {
        if (children[i].get() == backButton)
            childOffsets[i].mY = kBackTop;
    }
    SetBounds(mX, mY, mWidth, mHeight);
}

void HowToPlayMenu::DrawContent(Graphics& g)
{
    DrawBannerWithTitle(g, IMAGE_MENU_HOW_TO_PLAY_TITLE.get(), kTitleX, kTitleY, GetText("how_to_play_title"));
    int textHeight = 0;
    if (IMAGE_MENU_HOW_TO_PLAY_POPUP)
    {
        g.Blit(IMAGE_MENU_HOW_TO_PLAY_POPUP.get(), kPopupX, kPopupY);
        textHeight = kPopupY + IMAGE_MENU_HOW_TO_PLAY_POPUP->GetHeight() - kPopupBottomMargin - kTextY;
    }
    if (FONT_SMALL == nullptr || text.empty())
        return;
    Graphics body(g);
    body.SetTypeface(FONT_SMALL);
    body.SetInk(Color::Black);
    body.RestrictClip(kTextX, kTextY, kTextWidth, textHeight > 0 ? textHeight : 600 - kTextY);
    body.PrintWrapped(Rect(kTextX, kTextY, kTextWidth, textHeight), text);
}
