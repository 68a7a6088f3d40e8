// Ordering, invalidation and the update and paint passes shared by every node of the widget tree.
#include "framework/widgets/WidgetContainer.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Zestra
{

WidgetContainer::~WidgetContainer() = default;

Rect WidgetContainer::Bounds() const
{
    return Rect(mX, mY, mWidth, mHeight);
}

bool WidgetContainer::Overlaps(const WidgetContainer& other) const
{
    return Bounds().Intersects(other.Bounds());
}

void WidgetContainer::InsertSorted(Widget* widget, bool afterEqual)
{
    // afterEqual: after every child of equal or lower order (raising); otherwise before every child of equal or
    // higher order (lowering).
    auto it = mChildren.begin();
    if (afterEqual)
    {
        while (it != mChildren.end() && (*it)->mZOrder <= widget->mZOrder)
            ++it;
    }
    else
    {
        while (it != mChildren.end() && (*it)->mZOrder < widget->mZOrder)
            ++it;
    }
    mChildren.insert(it, widget);
}

void WidgetContainer::UnlinkChild(std::list<Widget*>::iterator it)
{
    // A widget may detach itself or a sibling while the update pass stands on it: the pass continues with the
    // next child instead of following a dead position.
    if (mIterating && mIterCursor == it)
    {
        ++mIterCursor;
        mIterCursorMoved = true;
    }
    mChildren.erase(it);
}

void WidgetContainer::AttachChild(Widget* widget)
{
    if (widget == nullptr || ContainsChild(widget))
        return;
    InsertSorted(widget, true);
    widget->mManager = mManager;
    widget->mParent = this;
    if (mManager != nullptr)
    {
        widget->OnAttachedToManager(mManager);
        widget->InvalidateArea();
        mManager->RefreshPointer();
    }
    Invalidate();
}

void WidgetContainer::DetachChild(Widget* widget)
{
    auto it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it == mChildren.end())
        return;
    if (WidgetManager* manager = widget->mManager)
    {
        // Descendants first, so nothing the manager still points at outlives its link to the tree.
        widget->OnDetachedFromManager(manager);
        manager->ForgetWidget(widget);
        widget->InvalidateArea();
        widget->mManager = nullptr;
    }
    widget->mParent = nullptr;
    it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it != mChildren.end())
        UnlinkChild(it);
}

bool WidgetContainer::ContainsChild(const Widget* widget) const
{
    return std::find(mChildren.begin(), mChildren.end(), widget) != mChildren.end();
}

void WidgetContainer::ForgetWidget(Widget*) {}

void WidgetContainer::DetachAllChildren(bool destroy, bool recursive)
{
    while (!mChildren.empty())
    {
        Widget* child = mChildren.front();
        if (recursive)
            child->DetachAllChildren(destroy, recursive);
        DetachChild(child);
        if (destroy)
            delete child;
    }
}

void WidgetContainer::FocusWidget(Widget*) {}

int WidgetContainer::FindFirstOf(const Widget* a, const Widget* b) const
{
    for (const Widget* child : mChildren)
    {
        if (child == a)
            return 1;
        if (child == b)
            return 2;
        if (int found = child->FindFirstOf(a, b))
            return found;
    }
    return 0;
}

bool WidgetContainer::IsDrawnBefore(const Widget* a, const Widget* b) const
{
    return FindFirstOf(a, b) == 1;
}

void WidgetContainer::InvalidateAll()
{
    Invalidate();
    for (Widget* child : mChildren)
    {
        child->mDirty = true;
        child->InvalidateAll();
    }
}

void WidgetContainer::RaiseToTop(Widget* widget)
{
    auto it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it == mChildren.end())
        return;
    UnlinkChild(it);
    InsertSorted(widget, true);
    widget->OnZOrderChanged();
}

void WidgetContainer::LowerToBottom(Widget* widget)
{
    auto it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it == mChildren.end())
        return;
    UnlinkChild(it);
    InsertSorted(widget, false);
    widget->OnZOrderChanged();
}

void WidgetContainer::PlaceBelow(Widget* widget, Widget* ref)
{
    auto it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it == mChildren.end() || widget == ref || !ContainsChild(ref))
        return;
    UnlinkChild(it);
    auto pos = std::find(mChildren.begin(), mChildren.end(), ref);
    // The z order still wins: move up or down past children that the order puts elsewhere.
    while (pos != mChildren.begin() && (*std::prev(pos))->mZOrder > widget->mZOrder)
        --pos;
    while (pos != mChildren.end() && (*pos)->mZOrder < widget->mZOrder)
        ++pos;
    mChildren.insert(pos, widget);
    widget->OnZOrderChanged();
}

void WidgetContainer::PlaceAbove(Widget* widget, Widget* ref)
{
    auto it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it == mChildren.end() || widget == ref || !ContainsChild(ref))
        return;
    UnlinkChild(it);
    auto pos = std::next(std::find(mChildren.begin(), mChildren.end(), ref));
    while (pos != mChildren.begin() && (*std::prev(pos))->mZOrder > widget->mZOrder)
        --pos;
    while (pos != mChildren.end() && (*pos)->mZOrder < widget->mZOrder)
        ++pos;
    mChildren.insert(pos, widget);
    widget->OnZOrderChanged();
}

Point WidgetContainer::AbsolutePosition() const
{
    if (mParent == nullptr)
        return Point{mX, mY};
    Point p = mParent->AbsolutePosition();
    return Point{p.mX + mX, p.mY + mY};
}

void WidgetContainer::InvalidateChild(Widget* child)
{
    if (child->mDirty)
        return;
    Invalidate();
    child->mDirty = true;
    if (mParent != nullptr)
        return;
    // At the root, whatever overlaps the child must be repainted too, since the child paints over what lies
    // below and is painted over by what lies above.
    if (child->mTranslucent)
    {
        InvalidateChildArea(child);
        return;
    }
    bool found = false;
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it)
    {
        Widget* other = *it;
        if (other == child)
            found = true;
        else if (found && other->mShown && other->Overlaps(*child))
            InvalidateChild(other);
    }
}

void WidgetContainer::Invalidate()
{
    // Only widgets are ever attached, so a container with a parent is a widget.
    if (mParent != nullptr)
        mParent->InvalidateChild(static_cast<Widget*>(this));
    else
        mDirty = true;
}

void WidgetContainer::InvalidateChildArea(Widget* child)
{
    InvalidateArea();
    child->mDirty = true;
    if (mParent != nullptr)
        return;
    auto self = std::find(mChildren.begin(), mChildren.end(), child);
    if (self == mChildren.end())
        return;
    // Downward: the nearest opaque child that covers the whole area ends the walk, since nothing below it shows.
    Rect area = child->Bounds().Intersection(Rect(0, 0, mWidth, mHeight));
    if (area.IsEmpty())
        area = child->Bounds();
    for (auto it = self; it != mChildren.begin();)
    {
        --it;
        Widget* other = *it;
        if (!other->mShown)
            continue;
        if (!other->mHasHoles && !other->mTranslucent && other->ContainsPoint(area.mX, area.mY) &&
            other->ContainsPoint(area.mX + area.mWidth - 1, area.mY + area.mHeight - 1))
        {
            other->Invalidate();
            break;
        }
        if (other->Overlaps(*child))
            InvalidateChild(other);
    }
    for (auto it = std::next(self); it != mChildren.end(); ++it)
    {
        Widget* other = *it;
        if (other->mShown && other->Overlaps(*child))
            InvalidateChild(other);
    }
}

void WidgetContainer::InvalidateArea()
{
    // Only widgets are ever attached, so a container with a parent is a widget.
    if (mParent != nullptr)
        mParent->InvalidateChildArea(static_cast<Widget*>(this));
    else
        mDirty = true;
}

void WidgetContainer::OnAttachedToManager(WidgetManager* manager)
{
    for (Widget* child : mChildren)
    {
        child->mManager = manager;
        child->OnAttachedToManager(manager);
    }
    Invalidate();
}

void WidgetContainer::OnDetachedFromManager(WidgetManager* manager)
{
    for (Widget* child : mChildren)
    {
        child->OnDetachedFromManager(manager);
        manager->ForgetWidget(child);
        child->mManager = nullptr;
    }
    if (manager->mPopupWidget == this)
        manager->mPopupWidget = nullptr;
}

void WidgetContainer::ApplyOwnMasks(PassFlags& flags) const
{
    flags.mUpper = ApplyFlagMasks(flags.mUpper, mFlagsAdd, mFlagsRemove);
    flags.mLower = ApplyFlagMasks(flags.mLower, mFlagsAdd, mFlagsRemove);
}

namespace
{

// Keeps the iteration cursor of an outer pass when a nested loop (a modal dialog run from inside an update)
// iterates the same container again.
struct IterationScope
{
    IterationScope(std::list<Widget*>::iterator& cursor, bool& moved, bool& iterating)
        : mCursor(cursor), mMoved(moved), mIterating(iterating), mSavedCursor(cursor), mSavedMoved(moved),
          mSavedIterating(iterating)
    {
        mIterating = true;
    }
    ~IterationScope()
    {
        mCursor = mSavedCursor;
        mMoved = mSavedMoved;
        mIterating = mSavedIterating;
    }
    std::list<Widget*>::iterator& mCursor;
    bool& mMoved;
    bool& mIterating;
    std::list<Widget*>::iterator mSavedCursor;
    bool mSavedMoved;
    bool mSavedIterating;
};

} // namespace

void WidgetContainer::TickTree(PassFlags& flags)
{
    const int savedUpper = flags.mUpper;
    const int savedLower = flags.mLower;
    ApplyOwnMasks(flags);
    const int current = flags.Current();
    if (current & FLAG_INVALIDATE)
        Invalidate();
    // Each widget updates at most once per manager update, even when it moves in the tree during the pass.
    if (mManager != nullptr && (current & FLAG_TICK) && mManager->mTickCount != mLastTickCount)
    {
        mLastTickCount = mManager->mTickCount;
        Tick();
    }
    {
        IterationScope scope(mIterCursor, mIterCursorMoved, mIterating);
        mIterCursor = mChildren.begin();
        while (mIterCursor != mChildren.end())
        {
            Widget* child = *mIterCursor;
            if (mManager != nullptr && child == mManager->mModalBase)
                flags.mAboveModal = true;
            mIterCursorMoved = false;
            child->TickTree(flags);
            if (!mIterCursorMoved)
                ++mIterCursor;
        }
    }
    flags.mUpper = savedUpper;
    flags.mLower = savedLower;
}

void WidgetContainer::TickFraction(double) {}

void WidgetContainer::TickTreeFraction(PassFlags& flags, double step)
{
    const int savedUpper = flags.mUpper;
    const int savedLower = flags.mLower;
    ApplyOwnMasks(flags);
    if (flags.Current() & FLAG_TICK)
        TickFraction(step);
    {
        IterationScope scope(mIterCursor, mIterCursorMoved, mIterating);
        mIterCursor = mChildren.begin();
        while (mIterCursor != mChildren.end())
        {
            Widget* child = *mIterCursor;
            if (mManager != nullptr && child == mManager->mModalBase)
                flags.mAboveModal = true;
            mIterCursorMoved = false;
            child->TickTreeFraction(flags, step);
            if (!mIterCursorMoved)
                ++mIterCursor;
        }
    }
    flags.mUpper = savedUpper;
    flags.mLower = savedLower;
}

void WidgetContainer::Paint(Graphics&) {}

void WidgetContainer::PaintTree(PassFlags& flags, Graphics& g)
{
    if (mManager != nullptr && mManager->mMinOverlayPriority < mOverlayPriority)
        mManager->FlushOverlays(mOverlayPriority);
    const int savedUpper = flags.mUpper;
    const int savedLower = flags.mLower;
    ApplyOwnMasks(flags);
    const int current = flags.Current();
    if (mClipChildren && (current & FLAG_CLIP))
        g.RestrictClip(0, 0, mWidth, mHeight);
    if (!mChildren.empty())
    {
        if (current & FLAG_PAINT)
        {
            g.SaveState();
            Paint(g);
            g.RestoreState();
        }
        for (Widget* child : mChildren)
        {
            if (mManager != nullptr && child == mManager->mModalBase)
                flags.mAboveModal = true;
            if (!child->mShown)
                continue;
            Graphics copy(g);
            copy.Offset(float(child->mX), float(child->mY));
            child->PaintTree(flags, copy);
            child->mDirty = false;
        }
    }
    else if (current & FLAG_PAINT)
    {
        Paint(g);
    }
    flags.mUpper = savedUpper;
    flags.mLower = savedLower;
}

void WidgetContainer::SystemColorsChangedTree()
{
    OnSystemColorsChanged();
    for (Widget* child : mChildren)
        child->SystemColorsChangedTree();
}

void WidgetContainer::OnSystemColorsChanged() {}

} // namespace Zestra
