// Base of every game screen after the title screen: a modal dialog sized by its background picture, opened over
// (or instead of) the board through the menu host. It owns its children and keeps each at a fixed offset from
// itself; its two flags tell the host how the board behind behaves; its animations pause while the application
// is inactive. Keys shared by every menu are mapped here: Return presses the confirm button, Escape the cancel
// button, Tab and Shift+Tab walk the controls, and Return or Space presses the one chosen.
#pragma once

#include "framework/graphics/Rect.h"
#include "framework/widgets/Dialog.h"

#include <memory>
#include <string>
#include <vector>

namespace Zestra
{
class Board;
class Image;
class MemoryImage;
} // namespace Zestra

class Button;
class MenuHost;

class Menu : public Zestra::Dialog
{
public:
    // The menu takes the size of the image; centred, it sits in the middle of the 800 x 600 screen.
    Menu(Zestra::Board* board, Zestra::Image* image, bool showsBoard, bool centred, bool keepsFocus);
    ~Menu() override;

    // Whether the board is darkened behind it (the flag, unless a menu answers otherwise).
    virtual bool ShowsBoard() const;
    // The application lost (true) or regained (false) the focus; the host calls it for every open menu.
    virtual void AppFocusChanged(bool lost);
    // The slide or whatever brings the menu in has finished; menus that do not move are always settled.
    virtual bool IsSettled() const { return true; }

    // Takes the widget; its current position is its offset from the menu. Returns it.
    template <class W> W* AddChild(std::unique_ptr<W> widget)
    {
        W* added = widget.get();
        AdoptChild(std::move(widget));
        return added;
    }
    // A button of the menu's own pictures, reporting to the menu: centred on centreX, top at y (menu pixels).
    Button* AddButton(const std::string& label, int centreX, int y, Zestra::Image* normal, Zestra::Image* down,
                      Zestra::Image* over, int id = kNextId);
    Button* AddMenuButton(const std::string& label, int centreX, int y, int id = kNextId);
    Button* AddLevelButton(const std::string& label, int centreX, int y, int id = kNextId);
    // Replaces the snapshot with what the screen shows under the menu's rectangle now.
    void TakeSnapshot();
    // The host hands itself in as it opens the menu; the menu answers to it while it is open. A menu nobody opened
    // (a test's, or one already closed) has none.
    void OpenedBy(MenuHost* host) { mHost = host; }

    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    void OnDetachedFromManager(Zestra::WidgetManager* manager) override;
    void OnZOrderChanged() override;
    void SetBounds(int x, int y, int width, int height) override;
    using Dialog::SetBounds;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Dialog::OnMouseDown;
    void OnMouseDrag(int x, int y) override;
    void OnKeyDown(int key) override;
    void FocusGained() override;

    static constexpr int kNextId = -1;

    Zestra::Board* board = nullptr;                        // not owned
    std::vector<std::unique_ptr<Zestra::Widget>> children; // owns, in the order added
    std::vector<Zestra::Point> childOffsets;               // from the menu's top-left corner
    bool showsBoard = false;
    bool keepsFocus = false;
    int inactiveCount = 0; // outstanding notices that the application became inactive
    std::unique_ptr<Zestra::MemoryImage> snapshot;

protected:
    // Closes this menu through the host (deletion waits until the loop has unwound).
    void Close();
    MenuHost* Host() const;
    bool AnimationsPaused() const { return inactiveCount > 0; }
    // Whether the application runs fractional updates; animations advance in those, else in the fixed ones.
    bool FractionalUpdates() const;
    // Enables or disables every child (a menu still moving in answers no clicks).
    void SetChildrenInactive(bool inactive);
    // What Return and Escape press; null for none.
    Zestra::Widget* confirmControl = nullptr;
    Zestra::Widget* cancelControl = nullptr;

private:
    void AdoptChild(std::unique_ptr<Zestra::Widget> widget);
    void PlaceChildren();
    // The controls Tab walks: shown, enabled buttons, check boxes, sliders and text fields, in the order added.
    std::vector<Zestra::Widget*> KeyControls() const;
    void SelectControl(Zestra::Widget* control);
    void MoveSelection(int direction);
    // What a click would do, for a control chosen with the keyboard.
    void PressControl(Zestra::Widget* control);

    Zestra::Widget* mSelected = nullptr; // chosen with Tab
    MenuHost* mHost = nullptr;           // not owned: the application, which outlives every menu
};
