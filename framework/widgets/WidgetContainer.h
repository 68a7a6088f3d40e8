// Common base of every node of the widget tree: an ordered, non-owning list of children kept sorted by z order,
// invalidation that spreads to whatever overlaps on the root, and the update and paint passes.
// Whoever creates a widget deletes it; a container only links to its children.
#pragma once

#include "framework/graphics/Rect.h"

#include <list>

namespace Zestra
{

class Graphics;
class Widget;
class WidgetManager;

// Pass flags: which parts of a pass apply to a widget.
enum WidgetFlags
{
    FLAG_TICK = 0x01,       // run Tick
    FLAG_INVALIDATE = 0x02, // mark the widget dirty on every update
    FLAG_PAINT = 0x04,      // run Paint
    FLAG_CLIP = 0x08,       // clip painting to the widget rectangle
    FLAG_POINTER = 0x10,    // the pointer may hit the widget
    FLAG_FOCUS = 0x20,      // the widget may keep the focus
};

// The flags a pass carries: one set for widgets at or above the modal base, one for those below it, and the
// switch telling which applies. The switch turns over when the pass reaches the modal base.
struct PassFlags
{
    int mUpper = 0;
    int mLower = 0;
    bool mAboveModal = true;

    int Current() const { return mAboveModal ? mUpper : mLower; }
};

inline int ApplyFlagMasks(int flags, int add, int remove)
{
    return (flags | add) & ~remove;
}

class WidgetContainer
{
public:
    WidgetContainer() = default;
    virtual ~WidgetContainer();
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;

    virtual Rect Bounds() const;
    // Rectangles intersect; touching edges do not count.
    virtual bool Overlaps(const WidgetContainer& other) const;
    virtual void AttachChild(Widget* widget);
    virtual void DetachChild(Widget* widget);
    virtual bool ContainsChild(const Widget* widget) const;
    virtual void ForgetWidget(Widget* widget);
    virtual void DetachAllChildren(bool destroy, bool recursive);
    virtual void FocusWidget(Widget* widget);
    // Whether a is met before b in a depth-first walk in list order (a widget met before b is below it).
    virtual bool IsDrawnBefore(const Widget* a, const Widget* b) const;
    virtual void InvalidateAll();
    virtual void RaiseToTop(Widget* widget);
    virtual void LowerToBottom(Widget* widget);
    virtual void PlaceBelow(Widget* widget, Widget* ref);
    virtual void PlaceAbove(Widget* widget, Widget* ref);
    virtual Point AbsolutePosition() const;
    virtual void InvalidateChild(Widget* child);
    virtual void Invalidate();
    virtual void InvalidateChildArea(Widget* child);
    virtual void InvalidateArea();
    virtual void OnAttachedToManager(WidgetManager* manager);
    virtual void OnDetachedFromManager(WidgetManager* manager);
    virtual void Tick() = 0;
    virtual void TickTree(PassFlags& flags);
    virtual void TickFraction(double step);
    virtual void TickTreeFraction(PassFlags& flags, double step);
    virtual void Paint(Graphics& g);
    virtual void PaintTree(PassFlags& flags, Graphics& g);
    virtual void SystemColorsChangedTree();
    virtual void OnSystemColorsChanged();

    const std::list<Widget*>& Children() const { return mChildren; }

    std::list<Widget*> mChildren; // not owned; sorted by mZOrder, first painted first
    WidgetManager* mManager = nullptr;
    WidgetContainer* mParent = nullptr;
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    bool mDirty = false;
    bool mTranslucent = false;
    bool mClipChildren = true;
    int mFlagsAdd = 0;
    int mFlagsRemove = 0;
    int mOverlayPriority = 0;
    int mZOrder = 0;
    int mTickCount = 0;     // updates run; on the manager the global update count
    int mLastTickCount = 0; // manager update count at this container's last update

protected:
    // Inserts at the place the z order requires, searching from the given side.
    void InsertSorted(Widget* widget, bool afterEqual);
    // Removes from the list, advancing a running iteration that stands on it.
    void UnlinkChild(std::list<Widget*>::iterator it);
    // Walk helper of IsDrawnBefore: 0 nothing found yet, 1 a found first, 2 b found first.
    int FindFirstOf(const Widget* a, const Widget* b) const;
    void ApplyOwnMasks(PassFlags& flags) const;

    std::list<Widget*>::iterator mIterCursor;
    bool mIterCursorMoved = false;
    bool mIterating = false;
};

} // namespace Zestra
