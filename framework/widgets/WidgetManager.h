// Root of the widget tree. The application feeds it pointer and key events and runs its update and draw
// passes; it tracks the widget under the pointer, the one holding the pressed buttons, the keyboard focus,
// a stack of modal bases, deferred overlays and the state of every key. It is its own mManager.
#pragma once

#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetContainer.h"

#include <array>
#include <climits>
#include <vector>

namespace Zestra
{

class Image;
class Widget;
class WidgetHost;

class WidgetManager : public WidgetContainer
{
public:
    // app may be null (tests, tools): cursor requests and the 3D scaling choice then have no effect.
    explicit WidgetManager(WidgetHost* host);
    ~WidgetManager() override;

    void Tick() override;
    void ForgetWidget(Widget* widget) override;
    void FocusWidget(Widget* widget) override;

    void SetScreenArea(const Rect& screenRect, const Rect& mouseSourceRect);
    Point MapMouse(int x, int y) const;
    void PointerMoved(int x, int y);
    void ButtonDown(int x, int y, int clickCode);
    void ButtonUp(int x, int y, int clickCode);
    void PointerLeft();
    void WheelMoved(int delta);
    void CharTyped(char ch);
    void KeyPressed(int key);
    void KeyReleased(int key);
    void OnAppFocusGained();
    void OnAppFocusLost();
    void ReleaseMouseButtons();
    // One fixed update of the whole tree; true when something became dirty.
    bool TickAll();
    bool TickAllFraction(double step);
    // Paints the dirty top-level widgets into mScreenImage; true when something was drawn.
    bool DrawDirty();
    // Paints every shown top-level widget, dirty or not.
    void RedrawInto(Graphics& g);
    // Widgets below the modal base get the masks (add, remove) applied; the defaults take pointer and focus.
    void PushModal(Widget* widget);
    void PushModal(Widget* widget, int add, int remove);
    void PopModal(Widget* widget);
    // The widget under a screen point and the point relative to it; null when none (or an inactive one).
    Widget* WidgetAt(int x, int y, int* localX = nullptr, int* localY = nullptr);
    void RefreshPointer();
    // Re-runs hover tracking at a screen point.
    void PointerAt(int x, int y);

    bool IsKeyDown(int key) const;
    // Queues a widget's overlay; called through Widget::DeferOverlay.
    void DeferOverlay(Widget* widget, int priority);
    // Paints queued overlays whose priority is below limit (INT_MAX: all of them).
    void FlushOverlays(int limit);
    // Starting flags of a pass: the base flags, with the unfocused masks while the application lacks focus.
    PassFlags PrepareFlags() const;

    // Saved state of one pushed modal base.
    struct ModalState
    {
        Widget* mWidget = nullptr;
        Widget* mPreviousBase = nullptr;
        Widget* mPreviousFocus = nullptr;
        int mPreviousAdd = 0;
        int mPreviousRemove = 0;
    };

    struct OverlayEntry
    {
        Widget* mWidget = nullptr;
        int mPriority = 0;
    };

    WidgetHost* mHost = nullptr; // not owned: the application outlives its widget tree
    Image* mScreenImage = nullptr; // not owned: the application's screen image
    Graphics* mCurrentGraphics = nullptr;
    Widget* mDefaultFocusTarget = nullptr;
    Widget* mPopupWidget = nullptr;
    std::vector<OverlayEntry> mOverlayQueue;
    int mMinOverlayPriority = INT_MAX;
    bool mAppHasFocus = true;
    Widget* mFocus = nullptr;
    Widget* mPressedWidget = nullptr;
    Widget* mHoverWidget = nullptr;
    Widget* mModalBase = nullptr;
    int mUnfocusedFlagsAdd = 0;
    int mUnfocusedFlagsRemove = 0;
    int mBelowModalFlagsAdd = 0;
    int mBelowModalFlagsRemove = 0;
    int mDefaultBelowModalAdd = 0;
    int mDefaultBelowModalRemove = FLAG_POINTER | FLAG_FOCUS;
    std::vector<ModalState> mModalStack;
    Rect mScreenRect;
    Rect mMouseSourceRect;
    bool mPointerInside = false;
    int mLastMouseX = 0;
    int mLastMouseY = 0;
    int mHeldButtons = 0;    // with a pressed widget: 1 left, 2 right, 4 middle
    int mRawHeldButtons = 0; // regardless of widgets
    int mLastButtonCode = 0; // 1 left, -1 right, 2 middle
    int mLastInputTick = 0;
    std::array<bool, 255> mKeysDown{};
    int mBaseFlags = 0x3D;

private:
    // Applies the below-modal side effects of a base change: hover and press are released when the pointer
    // is taken away below the base, and a focus below it is lost when focus is taken away.
    void ApplyModalBase(Widget* base, int add, int remove);
    bool IsBelowModalBase(const Widget* widget) const;
    Widget* WidgetAtHelper(WidgetContainer* container, int x, int y, int flags, bool& belowModal, int& localX,
                           int& localY);
    void ReleaseButtonsOf(Widget* widget);
    void LeaveHover();
    void NoteInput();
    Point AbsolutePositionOf(const Widget* widget) const;
    void PaintTopLevel(Graphics& base, Widget* child, PassFlags& flags, bool quickScaling);
    // Paints the shown top-level widgets in order: the dirty ones for a frame, or all of them with quick scaling
    // for a full redraw (screenshots). True when any widget was painted.
    bool PaintTopLevels(Graphics& g, bool fullRedraw);
    bool Uses3D() const;
};

} // namespace Zestra
