// Child order, the update pass under tree changes, invalidation spreading and the paint pass with overlays.
#include "framework/widgets/WidgetContainer.h"

#include "WidgetTestSupport.h"
#include "framework/graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

std::vector<int> Orders(const WidgetContainer& c)
{
    std::vector<int> out;
    for (Widget* w : c.mChildren)
        out.push_back(w->mZOrder);
    return out;
}

// A widget that runs an action once on its first update.
class ActionWidget : public ProbeWidget
{
public:
    using ProbeWidget::ProbeWidget;
    void Tick() override
    {
        ProbeWidget::Tick();
        if (mAction)
        {
            auto action = std::move(mAction);
            mAction = nullptr;
            action();
        }
    }
    std::function<void()> mAction;
};

} // namespace

TEST(WidgetContainerTest, AttachKeepsZOrderAndReordersWithinIt)
{
    WidgetManager manager(nullptr);
    ProbeWidget a("a", nullptr), b("b", nullptr), c("c", nullptr), n("n", nullptr);
    a.mZOrder = 0;
    b.mZOrder = 5;
    c.mZOrder = 10;
    n.mZOrder = 5;
    manager.AttachChild(&c);
    manager.AttachChild(&a);
    manager.AttachChild(&b);
    manager.AttachChild(&n);
    manager.AttachChild(&n); // attaching twice changes nothing
    EXPECT_EQ((std::vector<Widget*>{&a, &b, &n, &c}),
              std::vector<Widget*>(manager.mChildren.begin(), manager.mChildren.end()));
    EXPECT_EQ(&manager, n.mManager);
    EXPECT_EQ(&manager, n.mParent);

    manager.LowerToBottom(&n); // before the other 5, never below the 0
    EXPECT_EQ((std::vector<Widget*>{&a, &n, &b, &c}),
              std::vector<Widget*>(manager.mChildren.begin(), manager.mChildren.end()));
    manager.RaiseToTop(&n); // after the other 5, never above the 10
    EXPECT_EQ((std::vector<Widget*>{&a, &b, &n, &c}),
              std::vector<Widget*>(manager.mChildren.begin(), manager.mChildren.end()));
    manager.PlaceAbove(&a, &c); // the order wins over the request
    EXPECT_EQ((std::vector<int>{0, 5, 5, 10}), Orders(manager));
    EXPECT_TRUE(manager.IsDrawnBefore(&a, &c));
    EXPECT_FALSE(manager.IsDrawnBefore(&c, &a));

    manager.DetachChild(&n);
    EXPECT_EQ(nullptr, n.mParent);
    EXPECT_EQ(nullptr, n.mManager);
    EXPECT_FALSE(manager.ContainsChild(&n));
}

TEST(WidgetContainerTest, UpdatePassSurvivesDetachAndMoveDuringIt)
{
    Log log;
    WidgetManager manager(nullptr);
    ActionWidget first("first", &log), second("second", &log), third("third", &log);
    ProbeWidget other("other", &log);
    manager.AttachChild(&first);
    manager.AttachChild(&second);
    manager.AttachChild(&third);
    manager.AttachChild(&other);
    // first detaches itself; second moves to another parent further down the pass.
    first.mAction = [&]() { manager.DetachChild(&first); };
    second.mAction = [&]()
    {
        manager.DetachChild(&second);
        other.AttachChild(&second);
    };
    manager.TickAll();
    EXPECT_EQ((Log{"first tick", "second tick", "third tick", "other tick"}), log);
    EXPECT_EQ(1, second.mTickCount);

    log.clear();
    manager.TickAll();
    EXPECT_EQ((Log{"third tick", "other tick", "second tick"}), log);
}

TEST(WidgetContainerTest, InvalidationSpreadsToOverlapsAndStopsAtOpaqueCover)
{
    WidgetManager manager(nullptr);
    manager.SetScreenArea(Rect(0, 0, 200, 200), Rect(0, 0, 200, 200));
    ProbeWidget bottom("bottom", nullptr, 0, 0, 200, 200);
    ProbeWidget cover("cover", nullptr, 10, 10, 100, 100);
    ProbeWidget glass("glass", nullptr, 20, 20, 30, 30);
    ProbeWidget above("above", nullptr, 40, 40, 50, 50);
    ProbeWidget apart("apart", nullptr, 150, 150, 20, 20);
    glass.mTranslucent = true;
    for (Widget* w : {static_cast<Widget*>(&bottom), static_cast<Widget*>(&cover), static_cast<Widget*>(&glass),
                      static_cast<Widget*>(&above), static_cast<Widget*>(&apart)})
        manager.AttachChild(w);
    auto clean = [&]()
    {
        for (Widget* w : manager.mChildren)
            w->mDirty = false;
        manager.mDirty = false;
    };
    auto dirty = [&]()
    {
        std::string out;
        for (Widget* w : manager.mChildren)
            out += w->mDirty ? '1' : '0';
        return out;
    };

    // A translucent widget repaints what shows through it, down to the opaque cover, and what lies above it.
    clean();
    glass.Invalidate();
    EXPECT_EQ("01110", dirty());
    EXPECT_TRUE(manager.mDirty);

    // An opaque widget repaints only itself and what lies above and overlaps it.
    clean();
    cover.Invalidate();
    EXPECT_EQ("01110", dirty());
    clean();
    above.Invalidate();
    EXPECT_EQ("00010", dirty());

    // Hiding uncovers what was below.
    clean();
    above.SetShown(false);
    EXPECT_EQ("01110", dirty());
}

TEST(WidgetContainerTest, PaintPassDrawsDirtyTopLevelAndFlushesOverlaysByPriority)
{
    Log log;
    MemoryImage screen(100, 100);
    WidgetManager manager(nullptr);
    manager.SetScreenArea(Rect(0, 0, 100, 100), Rect(0, 0, 100, 100));
    manager.mScreenImage = &screen;

    class EarlyOverlay : public ProbeWidget
    {
    public:
        using ProbeWidget::ProbeWidget;
        void Paint(Graphics& g) override
        {
            ProbeWidget::Paint(g);
            DeferOverlay(1);
        }
    };
    EarlyOverlay early("early", &log, 0, 0, 50, 50);
    ProbeWidget low("low", &log, 60, 0, 20, 20);
    ProbeWidget high("high", &log, 0, 60, 20, 20);
    ProbeWidget hidden("hidden", &log, 0, 0, 10, 10);
    low.mOverlayPriority = 1;
    high.mOverlayPriority = 2;
    hidden.mShown = false;
    manager.AttachChild(&early);
    manager.AttachChild(&low);
    manager.AttachChild(&high);
    manager.AttachChild(&hidden);

    EXPECT_TRUE(manager.DrawDirty());
    // The priority-1 overlay comes before any widget whose overlay priority is above 1, and nothing is left over.
    EXPECT_EQ((Log{"early paint", "low paint", "early overlay", "high paint"}), log);
    EXPECT_TRUE(manager.mOverlayQueue.empty());
    EXPECT_FALSE(early.mDirty);

    log.clear();
    EXPECT_FALSE(manager.DrawDirty()); // nothing dirty: nothing drawn
    EXPECT_TRUE(log.empty());
    low.Invalidate();
    EXPECT_TRUE(manager.DrawDirty());
    EXPECT_EQ((Log{"low paint"}), log);
}

TEST(WidgetContainerTest, DigitHelpers)
{
    ProbeWidget w("w", nullptr);
    for (auto [n, digits] : std::vector<std::pair<int, int>>{{0, 1}, {9, 1}, {10, 2}, {100, 3}, {2147483647, 10}})
        EXPECT_EQ(digits, w.CountDigits(n)) << n;

    // A strip of ten 3-pixel digit cells whose cell d has the colour d + 1: drawing 0 draws one cell.
    MemoryImage strip(30, 1);
    uint32_t* bits = strip.GetBits();
    for (int x = 0; x < 30; x++)
        bits[x] = 0xFF000000u | uint32_t(x / 3 + 1);
    strip.MarkPixelsChanged();
    MemoryImage target(20, 1);
    Graphics g(&target);
    w.DrawDigitStrip(g, 0, 0, 0, &strip, 1);
    EXPECT_EQ(0xFF000001u, target.GetPixel(0, 0));
    EXPECT_EQ(0xFF000001u, target.GetPixel(2, 0));
    EXPECT_EQ(0u, target.GetPixel(3, 0) & 0xFF);
    w.DrawDigitStrip(g, 42, 0, 0, &strip, 1);
    EXPECT_EQ(0xFF000005u, target.GetPixel(0, 0));
    EXPECT_EQ(0xFF000003u, target.GetPixel(4, 0));
}
