// Children, layout, focus, keys and snapshot of the menu base.
#include "game/ui/Menu.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"
#include "game/res/Res.h"
#include "game/ui/Button.h"
#include "game/ui/MenuHost.h"
#include "game/ui/MenuIds.h"

#include <algorithm>

using namespace Zestra;

namespace
{
constexpr int kScreenCentreX = 400;
constexpr int kScreenCentreY = 300;
constexpr int kCursorArrow = 0;
const Color kLabelColour{255, 255, 255};
constexpr int kCaptionMargin = 14; // each end of a button face that a caption keeps clear of
} // namespace

Menu::Menu(Board* board, Image* image, bool showsBoard, bool centred, bool keepsFocus)
    : Dialog(image, nullptr, TakeMenuId(), true, "", "", "", 0), board(board), showsBoard(showsBoard),
      keepsFocus(keepsFocus)
{
    int width = image != nullptr ? image->GetWidth() : 0;
    int height = image != nullptr ? image->GetHeight() : 0;
    if (centred)
        Dialog::SetBounds(kScreenCentreX - width / 2, kScreenCentreY - height / 2, width, height);
    else
        Dialog::SetBounds(0, 0, width, height);
}

Menu::~Menu() = default;

bool Menu::ShowsBoard() const
{
    return showsBoard;
}

void Menu::AppFocusChanged(bool lost)
{
    if (lost)
    {
        Invalidate();
        inactiveCount++;
    }
    else
    {
        inactiveCount = std::max(0, inactiveCount - 1);
    }
}

void Menu::AdoptChild(std::unique_ptr<Widget> widget)
{
    Widget* child = widget.get();
    childOffsets.push_back(Point{child->mX, child->mY});
    children.push_back(std::move(widget));
    child->MoveTo(mX + childOffsets.back().mX, mY + childOffsets.back().mY);
    if (mManager != nullptr)
        mManager->AttachChild(child);
}

Button* Menu::AddButton(const std::string& label, int centreX, int y, Image* normal, Image* down, Image* over, int id)
{
    auto button = std::make_unique<Button>(this, id);
    button->SetImages(normal, over, down);
    button->mCaption = label;
    // A caption too long for the face between the button's rounded ends takes the smaller font.
    Font* captionFont = FONT_MEDIUM_LIGHT;
    if (captionFont != nullptr && FONT_SMALL != nullptr &&
        captionFont->TextWidth(label) > button->mWidth - 2 * kCaptionMargin)
        captionFont = FONT_SMALL;
    button->SetCaptionFont(captionFont);
    button->SetPaletteEntry(0, kLabelColour);
    button->SetPaletteEntry(1, kLabelColour);
    button->mHandCursor = true;
    button->mX = centreX - button->mWidth / 2;
    button->mY = y;
    return AddChild(std::move(button));
}

Button* Menu::AddMenuButton(const std::string& label, int centreX, int y, int id)
{
    return AddButton(label, centreX, y, IMAGE_MENU_BUTTON_NORMAL.get(), IMAGE_MENU_BUTTON_DOWN.get(),
                     IMAGE_MENU_BUTTON_OVER.get(), id);
}

Button* Menu::AddLevelButton(const std::string& label, int centreX, int y, int id)
{
    return AddButton(label, centreX, y, IMAGE_MENU_LEVEL_BUTTON_NORMAL.get(), IMAGE_MENU_LEVEL_BUTTON_DOWN.get(),
                     IMAGE_MENU_LEVEL_BUTTON_OVER.get(), id);
}

void Menu::TakeSnapshot()
{
    snapshot = std::make_unique<MemoryImage>(mWidth, mHeight);
    if (mManager == nullptr)
        return;
    Graphics g(snapshot.get());
    g.Offset(float(-mX), float(-mY));
    mManager->RedrawInto(g);
}

void Menu::PlaceChildren()
{
    for (size_t i = 0; i < children.size(); i++)
    {
        Widget* child = children[i].get();
        child->MoveTo(mX + childOffsets[i].mX, mY + childOffsets[i].mY);
    }
}

void Menu::SetBounds(int x, int y, int width, int height)
{
    Dialog::SetBounds(x, y, width, height);
    PlaceChildren();
}

void Menu::OnAttachedToManager(WidgetManager* manager)
{
    Dialog::OnAttachedToManager(manager);
    for (auto& child : children)
        manager->AttachChild(child.get());
    manager->FocusWidget(this);
    SetAppCursor(*this, kCursorArrow);
}

void Menu::OnDetachedFromManager(WidgetManager* manager)
{
    Dialog::OnDetachedFromManager(manager);
    mHost = nullptr; // closed: nothing it does from now on reaches the stack
    for (auto& child : children)
        manager->DetachChild(child.get());
}

void Menu::OnZOrderChanged()
{
    Dialog::OnZOrderChanged();
    if (mManager == nullptr)
        return;
    // Last first, so that each child ends up directly above the one added before it.
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        mManager->PlaceAbove(it->get(), this);
}

void Menu::OnMouseDown(int x, int y, int button, int clickCount)
{
    Dialog::OnMouseDown(x, y, button, clickCount);
    SetAppCursor(*this, kCursorArrow);
}

void Menu::OnMouseDrag(int, int)
{
    // A menu stays where it is: no dragging, only the arrow.
    SetAppCursor(*this, kCursorArrow);
}

void Menu::Close()
{
    if (mHost != nullptr)
        mHost->CloseMenu(mDialogId);
}

MenuHost* Menu::Host() const
{
    return mHost;
}

bool Menu::FractionalUpdates() const
{
    ZestraAppBase* app = AppOf(*this);
    return app != nullptr && app->Clock().mRefreshPacing;
}

void Menu::SetChildrenInactive(bool inactive)
{
    for (auto& child : children)
        child->SetInactive(inactive);
}

// ---------------------------------------------------------------------------------------------------------------
// Keyboard

namespace
{

void MarkSelected(Widget* widget, bool selected)
{
    if (widget == nullptr)
        return;
    widget->SetKeySelected(selected);
    widget->Invalidate();
}

} // namespace

std::vector<Widget*> Menu::KeyControls() const
{
    std::vector<Widget*> controls;
    for (const auto& child : children)
    {
        if (child->mShown && !child->mInactive && child->mManager != nullptr && child->TakesKeyFocus())
            controls.push_back(child.get());
    }
    return controls;
}

void Menu::SelectControl(Widget* control)
{
    if (control != mSelected)
    {
        MarkSelected(mSelected, false);
        mSelected = control;
        MarkSelected(mSelected, true);
    }
    if (mManager == nullptr)
        return;
    if (control != nullptr && control->HoldsKeyFocus())
    {
        // Tab in the field comes back to the menu, which moves on from there.
        control->mFocusNext = this;
        control->mFocusPrev = this;
        mManager->FocusWidget(control);
    }
    else
    {
        mManager->FocusWidget(this);
    }
}

void Menu::MoveSelection(int direction)
{
    std::vector<Widget*> controls = KeyControls();
    if (controls.empty())
        return;
    auto it = std::find(controls.begin(), controls.end(), mSelected);
    int count = int(controls.size());
    int next = 0;
    if (it == controls.end())
        next = direction > 0 ? 0 : count - 1;
    else
        next = (int(it - controls.begin()) + direction + count) % count;
    SelectControl(controls[size_t(next)]);
}

void Menu::PressControl(Widget* control)
{
    if (control == nullptr || control->mInactive || !control->mShown || control->mManager == nullptr)
        return;
    control->Activate();
}

void Menu::OnKeyDown(int key)
{
    const bool shift = mManager != nullptr && mManager->IsKeyDown(KEY_SHIFT);
    std::vector<Widget*> controls = KeyControls();
    Widget* selected = std::find(controls.begin(), controls.end(), mSelected) != controls.end() ? mSelected : nullptr;
    switch (key)
    {
    case KEY_TAB:
        MoveSelection(shift ? -1 : 1);
        return;
    case KEY_RETURN:
    case KEY_SPACE:
        if (selected != nullptr)
            PressControl(selected);
        else if (key == KEY_RETURN)
            PressControl(confirmControl);
        return;
    case KEY_ESCAPE:
        PressControl(cancelControl);
        return;
    case KEY_LEFT:
    case KEY_RIGHT:
        if (selected != nullptr)
            selected->ArrowKey(key == KEY_LEFT ? -1 : 1);
        return;
    default:
        Dialog::OnKeyDown(key);
    }
}

void Menu::FocusGained()
{
    Dialog::FocusGained();
    // Tab pressed in a text field of the menu hands the focus back here: move on to the next control.
    if (mManager != nullptr && mManager->IsKeyDown(KEY_TAB) && mSelected != nullptr &&
        mSelected->HoldsKeyFocus())
        MoveSelection(mManager->IsKeyDown(KEY_SHIFT) ? -1 : 1);
}
