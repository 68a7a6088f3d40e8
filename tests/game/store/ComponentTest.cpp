#include "StoreTestSupport.h"

#include "framework/graphics/Graphics.h"
#include "game/scene/Component.h"
#include "game/store/ActiveComponent.h"
#include "game/store/AnimatedComponent.h"
#include "game/store/DraggableComponent.h"

namespace
{

class Station : public ActiveComponent
{
public:
    using ActiveComponent::ActiveComponent;
    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant&) override { return nullptr; }
};

using ComponentTest = BoundPictures;

} // namespace

TEST_F(ComponentTest, HitTestCoversOneCelWithLeftAndTopEdgesInside)
{
    auto strip = MakePicture(90, 40, 3); // cels of 30 x 40
    Component component(10, 20, strip.get());
    const struct
    {
        int x, y;
        bool inside;
    } cases[] = {
        {10, 20, true}, {39, 59, true}, {40, 20, false}, {10, 60, false}, {9, 30, false}, {20, 19, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(component.Contains(c.x, c.y), c.inside) << c.x << "," << c.y;
    Component blank(10, 20, nullptr);
    EXPECT_FALSE(blank.Contains(10, 20));
}

TEST_F(ComponentTest, ActiveComponentFormsPlaceBodyAndNumber)
{
    auto strip = MakePicture(90, 40, 3);
    const int offsets[] = {0, 7, -4};
    for (int dx : offsets)
    {
        Station common(200, 50, strip.get(), 22, dx);
        EXPECT_EQ(common.x, 185);
        EXPECT_EQ(common.y, 50);
        EXPECT_EQ(common.numberX, 190 + dx);
        EXPECT_EQ(common.numberY, 72);
        EXPECT_EQ(common.maxOrders, 1);
        EXPECT_EQ(common.GetNumberPosition(3), (Zestra::Point{190 + dx, 72}));
    }
    Station second(200, 50, 2, strip.get());
    EXPECT_EQ(second.x, 200);
    EXPECT_EQ(second.maxOrders, 2);
    EXPECT_EQ(second.GetNumberPosition(0), (Zestra::Point{0, 0}));
}

TEST_F(ComponentTest, QueueNumbersShowOnlyOnTheFirstDrawOfAFrame)
{
    IMAGE_NUMBERS = MakePicture(40, 10, 4, 0xFF00FF00); // four square cels
    auto body = MakePicture(20, 20);
    Station station(50, 50, body.get(), 0, 0);
    station.AddNumber(5, 5, 2);
    station.AddNumber(25, 5, 0);
    Zestra::MemoryImage first(100, 100);
    Zestra::Graphics g1(&first);
    station.Draw(g1);
    EXPECT_TRUE(station.markers.empty());
    EXPECT_EQ(first.GetPixel(7, 7), 0xFF00FF00u);
    EXPECT_EQ(first.GetPixel(27, 7), 0xFF00FF00u);
    Zestra::MemoryImage second(100, 100);
    Zestra::Graphics g2(&second);
    station.Draw(g2);
    EXPECT_EQ(second.GetPixel(7, 7), 0u);
    EXPECT_EQ(second.GetPixel(45, 55), 0xFFFF0000u); // the body is still drawn
}

TEST_F(ComponentTest, AnimationStartsFromItsPhaseAndLoops)
{
    auto strip = MakePicture(50, 10, 5);
    AnimatedComponent animated(0, 0, strip.get(), 10, 73);
    EXPECT_EQ(animated.frameCounter, 23);
    EXPECT_EQ(animated.CurrentCel(), 2);
    for (int i = 0; i < 26; ++i)
        animated.Update();
    EXPECT_EQ(animated.CurrentCel(), 4);
    animated.Update();
    EXPECT_EQ(animated.CurrentCel(), 0);
    AnimatedComponent negative(0, 0, strip.get(), 10, -1);
    EXPECT_EQ(negative.frameCounter, 49);
}

TEST_F(ComponentTest, DraggedPictureFollowsTheTargetFlag)
{
    auto normal = MakePicture(10, 10, 1, 0xFF0000FF);
    auto over = MakePicture(10, 10, 1, 0xFFFFFF00);
    DraggableComponent drink(0, 0, normal.get(), over.get());
    for (bool overTarget : {false, true})
    {
        drink.overTarget = overTarget;
        Zestra::MemoryImage target(20, 20);
        Zestra::Graphics g(&target);
        drink.Draw(g);
        EXPECT_EQ(target.GetPixel(5, 5), overTarget ? 0xFFFFFF00u : 0xFF0000FFu);
    }
}
