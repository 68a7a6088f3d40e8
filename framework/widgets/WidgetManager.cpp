// Input routing of the widget tree: hover and press tracking with capture, modal bases, focus, key state,
// and the once-per-frame painting of dirty top-level widgets with their deferred overlays.
#include "framework/widgets/WidgetManager.h"

#include "framework/widgets/WidgetHost.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"

#include <algorithm>

namespace Zestra
{

namespace
{

// Bit of mHeldButtons for a click code: 1 left (codes 1, 2), 2 right (negative codes), 4 middle (3).
int ButtonBit(int clickCode)
{
    if (clickCode == 3)
        return 4;
    if (clickCode < 0)
        return 2;
    return 1;
}

constexpr int KEY_TAB = 9;
constexpr int KEY_CONTROL = 17;

// Quietly unlinks a subtree from a manager that is going away; nothing is called on the widgets.
void UnlinkQuietly(WidgetContainer* container)
{
    for (Widget* child : container->mChildren)
    {
        child->mManager = nullptr;
        UnlinkQuietly(child);
    }
}

} // namespace

WidgetManager::WidgetManager(WidgetHost* host) : mHost(host)
{
    mManager = this;
}

WidgetManager::~WidgetManager()
{
    for (Widget* child : mChildren)
    {
        child->mParent = nullptr;
        child->mManager = nullptr;
        UnlinkQuietly(child);
    }
    mChildren.clear();
}

void WidgetManager::Tick() {}

bool WidgetManager::Uses3D() const
{
    return mHost != nullptr && mHost->Is3D();
}

PassFlags WidgetManager::PrepareFlags() const
{
    PassFlags flags;
    flags.mUpper = mBaseFlags;
    if (!mAppHasFocus)
        flags.mUpper = ApplyFlagMasks(flags.mUpper, mUnfocusedFlagsAdd, mUnfocusedFlagsRemove);
    flags.mLower = ApplyFlagMasks(flags.mUpper, mBelowModalFlagsAdd, mBelowModalFlagsRemove);
    flags.mAboveModal = mModalBase == nullptr;
    return flags;
}

void WidgetManager::NoteInput()
{
    mLastInputTick = mTickCount;
}

Point WidgetManager::AbsolutePositionOf(const Widget* widget) const
{
    return widget->AbsolutePosition();
}

void WidgetManager::LeaveHover()
{
    Widget* old = mHoverWidget;
    if (old == nullptr)
        return;
    mHoverWidget = nullptr;
    old->mHovered = false;
    old->OnMouseLeave();
    if (old->mHandCursor)
        old->ShowHandCursor(false);
}

void WidgetManager::ForgetWidget(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget == mHoverWidget)
        LeaveHover();
    if (widget == mPressedWidget)
        ReleaseMouseButtons();
    if (widget == mFocus)
    {
        mFocus = nullptr;
        widget->FocusLost();
    }
    if (widget == mModalBase)
        mModalBase = nullptr;
    if (widget == mPopupWidget)
        mPopupWidget = nullptr;
    if (widget == mDefaultFocusTarget)
        mDefaultFocusTarget = nullptr;
    for (ModalState& state : mModalStack)
    {
        if (state.mPreviousBase == widget)
            state.mPreviousBase = nullptr;
        if (state.mPreviousFocus == widget)
            state.mPreviousFocus = nullptr;
    }
    std::erase_if(mOverlayQueue, [widget](const OverlayEntry& e) { return e.mWidget == widget; });
}

void WidgetManager::FocusWidget(Widget* widget)
{
    if (widget == mFocus)
        return;
    Widget* old = mFocus;
    mFocus = nullptr;
    if (old != nullptr)
        old->FocusLost();
    if (widget != nullptr && widget->mManager == this)
    {
        mFocus = widget;
        if (mAppHasFocus)
            widget->FocusGained();
    }
}

void WidgetManager::SetScreenArea(const Rect& screenRect, const Rect& mouseSourceRect)
{
    mScreenRect = screenRect;
    mMouseSourceRect = mouseSourceRect;
    mWidth = screenRect.mWidth + 2 * screenRect.mX;
    mHeight = screenRect.mHeight + 2 * screenRect.mY;
}

Point WidgetManager::MapMouse(int x, int y) const
{
    Point p{x, y};
    if (mMouseSourceRect.mWidth > 0)
        p.mX = (x - mMouseSourceRect.mX) * mScreenRect.mWidth / mMouseSourceRect.mWidth + mScreenRect.mX;
    if (mMouseSourceRect.mHeight > 0)
        p.mY = (y - mMouseSourceRect.mY) * mScreenRect.mHeight / mMouseSourceRect.mHeight + mScreenRect.mY;
    return p;
}

Widget* WidgetManager::WidgetAtHelper(WidgetContainer* container, int x, int y, int flags, bool& belowModal,
                                      int& localX, int& localY)
{
    for (auto it = container->mChildren.rbegin(); it != container->mChildren.rend(); ++it)
    {
        Widget* child = *it;
        int childFlags = ApplyFlagMasks(flags, child->mFlagsAdd, child->mFlagsRemove);
        if (belowModal)
            childFlags = ApplyFlagMasks(childFlags, mBelowModalFlagsAdd, mBelowModalFlagsRemove);
        if ((childFlags & FLAG_POINTER) && child->mShown)
        {
            if (Widget* found =
                    WidgetAtHelper(child, x - child->mX, y - child->mY, childFlags, belowModal, localX, localY))
                return found;
            if (child->mHittable && child->MouseHitRect().Contains(x, y) &&
                child->HitsPoint(x - child->mX, y - child->mY))
            {
                localX = x - child->mX;
                localY = y - child->mY;
                return child;
            }
        }
        // Everything met after the modal base (further down the list) lies below it.
        if (child == mModalBase)
            belowModal = true;
    }
    return nullptr;
}

Widget* WidgetManager::WidgetAt(int x, int y, int* localX, int* localY)
{
    int flags = ApplyFlagMasks(PrepareFlags().mUpper, mFlagsAdd, mFlagsRemove);
    bool belowModal = false;
    int lx = 0;
    int ly = 0;
    Widget* found = WidgetAtHelper(this, x, y, flags, belowModal, lx, ly);
    if (found != nullptr && found->mInactive)
        found = nullptr;
    if (localX != nullptr)
        *localX = found != nullptr ? lx : 0;
    if (localY != nullptr)
        *localY = found != nullptr ? ly : 0;
    return found;
}

void WidgetManager::PointerAt(int x, int y)
{
    bool samePosition = x == mLastMouseX && y == mLastMouseY;
    mLastMouseX = x;
    mLastMouseY = y;
    int localX = 0;
    int localY = 0;
    Widget* widget = WidgetAt(x, y, &localX, &localY);
    if (widget == mHoverWidget && samePosition)
        return;
    if (widget != mHoverWidget)
    {
        LeaveHover();
        mHoverWidget = widget;
        if (widget != nullptr)
        {
            widget->mHovered = true;
            widget->OnMouseEnter();
            if (widget->mHandCursor)
                widget->ShowHandCursor(true);
        }
    }
    // The enter or leave callbacks may have taken the widget away.
    if (mHoverWidget != nullptr && mHoverWidget == widget)
        mHoverWidget->OnMouseMove(localX, localY);
}

void WidgetManager::RefreshPointer()
{
    if (mPressedWidget == nullptr)
    {
        if (mPointerInside)
            PointerAt(mLastMouseX, mLastMouseY);
        return;
    }
    if (mHoverWidget != nullptr && WidgetAt(mLastMouseX, mLastMouseY) != mPressedWidget)
        LeaveHover();
}

void WidgetManager::PointerMoved(int x, int y)
{
    NoteInput();
    mPointerInside = true;
    if (mHeldButtons == 0 || mPressedWidget == nullptr)
    {
        PointerAt(x, y);
        return;
    }
    // A drag: the pressed widget keeps the pointer and is hovered only while the pointer is over it.
    mLastMouseX = x;
    mLastMouseY = y;
    if (mHoverWidget != nullptr && mHoverWidget != mPressedWidget)
        LeaveHover();
    Widget* pressed = mPressedWidget;
    Point abs = AbsolutePositionOf(pressed);
    pressed->OnMouseDrag(x - abs.mX, y - abs.mY);
    if (mPressedWidget != pressed)
        return;
    bool over = WidgetAt(x, y) == pressed;
    if (over && mHoverWidget == nullptr)
    {
        mHoverWidget = pressed;
        pressed->mHovered = true;
        pressed->OnMouseEnter();
        if (pressed->mHandCursor)
            pressed->ShowHandCursor(true);
    }
    else if (!over && mHoverWidget == pressed)
    {
        LeaveHover();
    }
}

void WidgetManager::ButtonDown(int x, int y, int clickCode)
{
    NoteInput();
    const int bit = ButtonBit(clickCode);
    mRawHeldButtons |= bit;
    mPointerInside = true;
    PointerAt(x, y);
    if (mPopupWidget != nullptr)
    {
        Point abs = AbsolutePositionOf(mPopupWidget);
        Rect area(abs.mX, abs.mY, mPopupWidget->mWidth, mPopupWidget->mHeight);
        if (!area.Contains(x, y) && mPopupWidget->mParent != nullptr)
        {
            Widget* popup = mPopupWidget;
            mPopupWidget = nullptr;
            popup->mParent->DetachChild(popup);
        }
    }
    int localX = 0;
    int localY = 0;
    Widget* target = nullptr;
    if (mHeldButtons != 0 && mPressedWidget != nullptr)
    {
        target = mPressedWidget;
        Point abs = AbsolutePositionOf(target);
        localX = x - abs.mX;
        localY = y - abs.mY;
    }
    else
    {
        target = WidgetAt(x, y, &localX, &localY);
    }
    mLastButtonCode = clickCode == 3 ? 2 : (clickCode < 0 ? -1 : 1);
    if (target == nullptr)
        return;
    mHeldButtons |= bit;
    mPressedWidget = target;
    if (target->AcceptsFocus())
        FocusWidget(target);
    target->mPressed = true;
    target->OnMouseDown(localX, localY, clickCode);
}

void WidgetManager::ButtonUp(int x, int y, int clickCode)
{
    NoteInput();
    const int bit = ButtonBit(clickCode);
    mRawHeldButtons &= ~bit;
    if (mPressedWidget != nullptr && (mHeldButtons & bit))
    {
        Widget* pressed = mPressedWidget;
        mHeldButtons &= ~bit;
        if (mHeldButtons == 0)
            mPressedWidget = nullptr;
        pressed->mPressed = false;
        Point abs = AbsolutePositionOf(pressed);
        pressed->OnMouseUp(x - abs.mX, y - abs.mY, clickCode);
    }
    PointerAt(x, y);
}

void WidgetManager::PointerLeft()
{
    NoteInput();
    mPointerInside = false;
    LeaveHover();
}

void WidgetManager::WheelMoved(int delta)
{
    NoteInput();
    if (mFocus != nullptr)
        mFocus->OnMouseWheel(delta);
}

bool WidgetManager::IsKeyDown(int key) const
{
    return key >= 0 && key < int(mKeysDown.size()) && mKeysDown[size_t(key)];
}

void WidgetManager::CharTyped(char ch)
{
    NoteInput();
    if (ch == '\t' && IsKeyDown(KEY_CONTROL))
    {
        if (mDefaultFocusTarget != nullptr)
            mDefaultFocusTarget->OnChar(ch);
        return;
    }
    if (mFocus != nullptr)
        mFocus->OnChar(ch);
}

void WidgetManager::KeyPressed(int key)
{
    NoteInput();
    // Platform codes outside the table are still delivered; only the key state cannot record them.
    if (key >= 0 && key < int(mKeysDown.size()))
        mKeysDown[size_t(key)] = true;
    if (mFocus != nullptr)
        mFocus->OnKeyDown(key);
}

void WidgetManager::KeyReleased(int key)
{
    NoteInput();
    if (key >= 0 && key < int(mKeysDown.size()))
        mKeysDown[size_t(key)] = false;
    if (key == KEY_TAB && IsKeyDown(KEY_CONTROL))
        return;
    if (mFocus != nullptr)
        mFocus->OnKeyUp(key);
}

void WidgetManager::OnAppFocusGained()
{
    if (mAppHasFocus)
        return;
    mAppHasFocus = true;
    if (mFocus != nullptr)
        mFocus->FocusGained();
}

void WidgetManager::OnAppFocusLost()
{
    mRawHeldButtons = 0;
    for (int key = 0; key < int(mKeysDown.size()); key++)
    {
        if (mKeysDown[size_t(key)])
            KeyReleased(key);
    }
    mAppHasFocus = false;
    if (mFocus != nullptr)
        mFocus->FocusLost();
}

void WidgetManager::ReleaseButtonsOf(Widget* widget)
{
    static constexpr int kBits[3] = {1, 2, 4};
    static constexpr int kCodes[3] = {1, -1, 3};
    Point abs = AbsolutePositionOf(widget);
    int held = mHeldButtons;
    mHeldButtons = 0;
    mPressedWidget = nullptr;
    for (int i = 0; i < 3; i++)
    {
        if (held & kBits[i])
        {
            widget->mPressed = false;
            widget->OnMouseUp(mLastMouseX - abs.mX, mLastMouseY - abs.mY, kCodes[i]);
        }
    }
    widget->mPressed = false;
}

void WidgetManager::ReleaseMouseButtons()
{
    if (mPressedWidget != nullptr)
        ReleaseButtonsOf(mPressedWidget);
    mHeldButtons = 0;
    mPressedWidget = nullptr;
}

bool WidgetManager::IsBelowModalBase(const Widget* widget) const
{
    return widget != nullptr && mModalBase != nullptr && widget != mModalBase && IsDrawnBefore(widget, mModalBase);
}

void WidgetManager::ApplyModalBase(Widget* base, int add, int remove)
{
    mModalBase = base;
    mBelowModalFlagsAdd = add;
    mBelowModalFlagsRemove = remove;
    int lowerFlags = ApplyFlagMasks(mBaseFlags, add, remove);
    if (!(lowerFlags & FLAG_POINTER))
    {
        if (IsBelowModalBase(mHoverWidget))
            LeaveHover();
        if (IsBelowModalBase(mPressedWidget))
            ReleaseMouseButtons();
    }
    if (!(lowerFlags & FLAG_FOCUS) && IsBelowModalBase(mFocus))
    {
        Widget* old = mFocus;
        mFocus = nullptr;
        old->FocusLost();
    }
}

void WidgetManager::PushModal(Widget* widget)
{
    PushModal(widget, mDefaultBelowModalAdd, mDefaultBelowModalRemove);
}

void WidgetManager::PushModal(Widget* widget, int add, int remove)
{
    mModalStack.push_back(ModalState{widget, mModalBase, mFocus, mBelowModalFlagsAdd, mBelowModalFlagsRemove});
    ApplyModalBase(widget, add, remove);
}

void WidgetManager::PopModal(Widget* widget)
{
    if (mModalStack.empty() || mModalStack.back().mWidget != widget)
        return;
    // Entries whose base has gone away are skipped, so a dialog closed out of order does not leave the
    // widgets below it blocked.
    do
    {
        ModalState state = mModalStack.back();
        mModalStack.pop_back();
        ApplyModalBase(state.mPreviousBase, state.mPreviousAdd, state.mPreviousRemove);
        if (mFocus == nullptr && state.mPreviousFocus != nullptr)
            FocusWidget(state.mPreviousFocus);
    } while (mModalBase == nullptr && mModalStack.size() > 1);
    RefreshPointer();
}

bool WidgetManager::TickAll()
{
    PassFlags flags = PrepareFlags();
    mTickCount++;
    mLastTickCount = mTickCount;
    TickTree(flags);
    return mDirty;
}

bool WidgetManager::TickAllFraction(double step)
{
    PassFlags flags = PrepareFlags();
    TickTreeFraction(flags, step);
    return mDirty;
}

void WidgetManager::PaintTopLevel(Graphics& base, Widget* child, PassFlags& flags, bool quickScaling)
{
    Graphics g(base);
    if (quickScaling)
    {
        g.SetQuickScaling(true);
    }
    else
    {
        bool use3D = Uses3D();
        g.SetQuickScaling(!use3D);
        g.SetSmoothBlending(use3D);
    }
    g.Offset(float(child->mX), float(child->mY));
    child->PaintTree(flags, g);
    child->mDirty = false;
}

bool WidgetManager::PaintTopLevels(Graphics& g, bool fullRedraw)
{
    PassFlags flags = PrepareFlags();
    flags.mUpper = ApplyFlagMasks(flags.mUpper, mFlagsAdd, mFlagsRemove);
    flags.mLower = ApplyFlagMasks(flags.mLower, mFlagsAdd, mFlagsRemove);
    Graphics base(g);
    base.Offset(float(-mScreenRect.mX), float(-mScreenRect.mY));
    // Iterate over a copy: a paint that detaches a widget must not break the walk.
    std::vector<Widget*> children(mChildren.begin(), mChildren.end());
    bool drawn = false;
    for (Widget* child : children)
    {
        if (child == mModalBase)
            flags.mAboveModal = true;
        if (child->mParent != this || (!fullRedraw && !child->mDirty) || !child->mShown)
            continue;
        PaintTopLevel(base, child, flags, fullRedraw);
        drawn = true;
    }
    return drawn;
}

bool WidgetManager::DrawDirty()
{
    const bool anyDirty = std::any_of(mChildren.begin(), mChildren.end(), [](Widget* child) { return child->mDirty; });
    mOverlayQueue.clear();
    mMinOverlayPriority = INT_MAX;
    mDirty = false;
    if (mScreenImage == nullptr)
        return false;
    Graphics g(mScreenImage);
    mCurrentGraphics = &g;
    const bool drawn = anyDirty && PaintTopLevels(g, false);
    FlushOverlays(INT_MAX);
    mCurrentGraphics = nullptr;
    return drawn;
}

void WidgetManager::RedrawInto(Graphics& g)
{
    mOverlayQueue.clear();
    mMinOverlayPriority = INT_MAX;
    Graphics* savedCurrent = mCurrentGraphics;
    mCurrentGraphics = &g;
    PaintTopLevels(g, true);
    FlushOverlays(INT_MAX);
    mCurrentGraphics = savedCurrent;
    mDirty = false;
}

void WidgetManager::DeferOverlay(Widget* widget, int priority)
{
    mOverlayQueue.push_back(OverlayEntry{widget, priority});
    mMinOverlayPriority = std::min(mMinOverlayPriority, priority);
}

void WidgetManager::FlushOverlays(int limit)
{
    const bool all = limit == INT_MAX;
    while (!mOverlayQueue.empty() && (all || mMinOverlayPriority < limit))
    {
        const int current = mMinOverlayPriority;
        std::vector<OverlayEntry> batch;
        for (auto it = mOverlayQueue.begin(); it != mOverlayQueue.end();)
        {
            if (it->mPriority == current)
            {
                batch.push_back(*it);
                it = mOverlayQueue.erase(it);
            }
            else
            {
                ++it;
            }
        }
        mMinOverlayPriority = INT_MAX;
        for (const OverlayEntry& e : mOverlayQueue)
            mMinOverlayPriority = std::min(mMinOverlayPriority, e.mPriority);
        if (mCurrentGraphics == nullptr)
            continue;
        for (const OverlayEntry& entry : batch)
        {
            Graphics g(*mCurrentGraphics);
            bool use3D = Uses3D();
            g.SetQuickScaling(!use3D);
            g.SetSmoothBlending(use3D);
            Point abs = AbsolutePositionOf(entry.mWidget);
            g.Offset(float(abs.mX - mScreenRect.mX), float(abs.mY - mScreenRect.mY));
            entry.mWidget->PaintOverlay(g, entry.mPriority);
            // An overlay may defer further overlays; they join the queue and the minimum.
        }
        for (const OverlayEntry& e : mOverlayQueue)
            mMinOverlayPriority = std::min(mMinOverlayPriority, e.mPriority);
    }
    if (all)
        mMinOverlayPriority = INT_MAX;
}

} // namespace Zestra
