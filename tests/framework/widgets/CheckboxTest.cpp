// The check box: clicks toggle and notify, SetChecked notifies only when asked, and the picture chosen for each
// combination of images and cells.
#include "framework/widgets/Checkbox.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace ZestraTest;

TEST(CheckboxTest, ClickTogglesAndNotifiesWhileSetCheckedNotifiesOnlyWhenAsked)
{
    AppHarness harness;
    LoggingListener listener;
    Checkbox box(nullptr, nullptr, 4, &listener);
    box.SetBounds(10, 10, 20, 20);
    harness.Manager().AttachChild(&box);
    harness.Click(15, 15);
    harness.Click(15, 15);
    box.SetChecked(true, false);
    box.SetChecked(false);
    EXPECT_EQ((Log{"toggled 4 on", "toggled 4 off", "toggled 4 off"}), listener.mLog);
    EXPECT_FALSE(box.IsChecked());

    Checkbox silent(nullptr, nullptr, 5, nullptr); // no listener: the call is skipped
    silent.SetBounds(40, 10, 20, 20);
    harness.Manager().AttachChild(&silent);
    harness.Click(45, 15);
    EXPECT_TRUE(silent.IsChecked());
    harness.Manager().DetachChild(&silent);
    harness.Manager().DetachChild(&box);
}

TEST(CheckboxTest, DrawsTheImageOrCellOfItsStateOrADrawnBox)
{
    BlankImage off(20, 20), on(20, 20), strip(40, 20);
    struct Case
    {
        const char* name;
        Image* offImage;
        Image* onImage;
        bool cells;
        bool checked;
        const Image* expectedSource; // null: no blit
        Rect expectedRect;
        size_t fills;
    };
    const Case cases[] = {
        {"images, off", &off, &on, false, false, &off, {0, 0, 20, 20}, 0},
        {"images, on", &off, &on, false, true, &on, {0, 0, 20, 20}, 0},
        {"cells, on", &strip, nullptr, true, true, &strip, {20, 0, 20, 20}, 0},
        {"cells, off", &strip, nullptr, true, false, &strip, {0, 0, 20, 20}, 0},
        {"drawn box", nullptr, nullptr, false, true, nullptr, {}, 2},
        {"one image, no cells", &off, nullptr, false, true, nullptr, {}, 0},
    };
    for (const Case& c : cases)
    {
        Checkbox box(c.offImage, c.onImage, 1, nullptr);
        box.mWidth = box.mHeight = 20;
        if (c.cells)
        {
            box.mOffRect = Rect(0, 0, 20, 20);
            box.mOnRect = Rect(20, 0, 20, 20);
        }
        box.mChecked = c.checked;
        BlitLog target(50, 50);
        Graphics g(&target);
        box.Paint(g);
        auto blits = target.Blits();
        if (c.expectedSource == nullptr)
        {
            EXPECT_TRUE(blits.empty()) << c.name;
        }
        else
        {
            ASSERT_EQ(1u, blits.size()) << c.name;
            EXPECT_EQ(c.expectedSource, blits[0].mSource) << c.name;
            EXPECT_EQ(c.expectedRect, blits[0].mRect) << c.name;
        }
        EXPECT_EQ(c.fills, target.mEntries.size() - blits.size()) << c.name;
    }
}
