// The information menu base.
#include "game/menus/InfoMenu.h"

#include "framework/graphics/Font.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "game/data/Localization.h"
#include "game/res/Res.h"
#include "game/ui/Button.h"
#include "game/shopday/Board.h"

#include <memory>

namespace
{
constexpr int kBackCentreX = 400;
constexpr int kBackTop = 500;
const Zestra::Color kLinkColour{255, 230, 160};
const Zestra::Color kLinkHoverColour{255, 255, 255};
} // namespace

InfoMenu::InfoMenu(Zestra::Board* board, Zestra::Image* image) : Menu(board, image, false, false, true)
{
    backButton = AddMenuButton(GetText("back_to_menu"), kBackCentreX, kBackTop, kBackButton);
    confirmControl = backButton;
    cancelControl = backButton;
}

void InfoMenu::OnBack()
{
    Close();
    if (board != nullptr)
        board->flow->ShowMainMenu();
}

void InfoMenu::ButtonPressed(int id)
{
    if (id == kBackButton)
        OnBack();
}

void InfoMenu::Paint(Zestra::Graphics& g)
{
    Menu::Paint(g);
    DrawContent(g);
}

Zestra::HyperlinkWidget* InfoMenu::AddCornerLink(int id, const std::string& caption, int right, int top)
{
    auto link = std::make_unique<Zestra::HyperlinkWidget>(id, this);
    link->mCaption = caption;
    link->SetCaptionFont(FONT_MEDIUM_LIGHT);
    link->mLinkColor = kLinkColour;
    link->mLinkHoverColor = kLinkHoverColour;
    link->mUnderlineThickness = 0;
    link->mHandCursor = true;
    const int width = FONT_MEDIUM_LIGHT != nullptr ? FONT_MEDIUM_LIGHT->TextWidth(link->mCaption) : 0;
    const int height = FONT_MEDIUM_LIGHT != nullptr ? FONT_MEDIUM_LIGHT->Height() + 4 : 0;
    link->SetBounds(right - width, top, width, height);
    return AddChild(std::move(link));
}
