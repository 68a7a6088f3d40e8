// The slider: SetValue clamps silently, a track click jumps at once and reports at the release, a thumb drag
// reports every change, and degenerate sizes neither divide by zero nor tile for ever.
#include "framework/widgets/Slider.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class SliderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // 220 wide with a 20-pixel thumb: 200 pixels of travel.
        mSlider.SetBounds(100, 100, 220, 20);
        mHarness.Manager().AttachChild(&mSlider);
    }
    void TearDown() override { mHarness.Manager().DetachChild(&mSlider); }

    AppHarness mHarness;
    LoggingListener mListener;
    BlankImage mTrack{30, 10};
    BlankImage mThumb{20, 20};
    Slider mSlider{&mTrack, &mThumb, 2, &mListener};
};

} // namespace

TEST_F(SliderTest, SetValueClampsWithoutTellingTheListener)
{
    for (auto [in, out] : {std::pair{1.5, 1.0}, {-0.5, 0.0}, {0.25, 0.25}})
    {
        mSlider.SetValue(in);
        EXPECT_EQ(out, mSlider.mValue) << in;
    }
    EXPECT_TRUE(mListener.mLog.empty());
}

TEST_F(SliderTest, TrackClickJumpsAtOnceAndReportsOnlyAtTheRelease)
{
    WidgetManager& manager = mHarness.Manager();
    manager.PointerMoved(100 + 165, 110); // thumb at 0..20; x 165 of 220 is 0.75
    manager.ButtonDown(265, 110, 1);
    EXPECT_DOUBLE_EQ(0.75, mSlider.mValue);
    EXPECT_TRUE(mListener.mLog.empty());
    manager.ButtonUp(265, 110, 1);
    EXPECT_EQ((Log{"moved 2 0.75"}), mListener.mLog);
}

TEST_F(SliderTest, DraggingTheThumbReportsEveryChange)
{
    WidgetManager& manager = mHarness.Manager();
    manager.PointerMoved(105, 110); // 5 pixels into the thumb
    manager.ButtonDown(105, 110, 1);
    EXPECT_TRUE(mSlider.mDragging);
    EXPECT_EQ(2, mHarness.platform.CursorKind());
    manager.PointerMoved(155, 110); // thumb left edge at 50 of 200
    manager.PointerMoved(155, 140); // same x: no change, no report
    manager.PointerMoved(905, 110); // far right: clamped
    manager.ButtonUp(905, 110, 1);
    EXPECT_EQ((Log{"moved 2 0.25", "moved 2 1.00", "moved 2 1.00"}), mListener.mLog);
    EXPECT_FALSE(mSlider.mDragging);
    EXPECT_EQ(0, mHarness.platform.CursorKind());
}

TEST(SliderEdgeTest, DegenerateSizesKeepTheValueAndDrawNothingEndless)
{
    BlankImage narrowTrack(2, 10); // cells of width 0
    BlankImage thumb(20, 20);
    Slider slider(&narrowTrack, &thumb, 1, nullptr);
    slider.mWidth = 20; // no travel at all
    slider.mHeight = 20;
    slider.SetValue(0.5);
    slider.OnMouseDown(5, 5, 1); // on the thumb
    slider.OnMouseDrag(15, 5);
    EXPECT_EQ(0.5, slider.mValue);
    slider.mWidth = 0;
    slider.OnMouseUp(0, 0);
    slider.OnMouseDown(30, 5, 1); // off the thumb, zero width
    EXPECT_EQ(0.5, slider.mValue);
    BlitLog target(300, 50);
    Graphics g(&target);
    slider.mWidth = 200;
    slider.Paint(g);
    EXPECT_EQ(1u, target.Blits().size()); // the thumb only
}

TEST(SliderEdgeTest, VerticalTrackStacksItsCellsAndMovesTheThumbDown)
{
    BlankImage track(10, 30);
    BlankImage thumb(20, 10);
    Slider slider(&track, &thumb, 1, nullptr);
    slider.mHorizontal = false;
    slider.mWidth = 20;
    slider.mHeight = 110;
    slider.SetValue(0.5);
    BlitLog target(50, 200);
    Graphics g(&target);
    slider.Paint(g);
    auto blits = target.Blits();
    ASSERT_GE(blits.size(), 3u);
    EXPECT_EQ(Rect(0, 0, 10, 10), blits.front().mRect);      // start cap
    EXPECT_EQ((Point{0, 100}), blits[blits.size() - 2].mAt); // end cap at h - c
    EXPECT_EQ((Point{0, 50}), blits.back().mAt);             // thumb at (110 - 10) * 0.5
}
