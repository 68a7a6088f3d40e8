#include "tests/game/data/DataTestSupport.h"

#include "game/data/PersonStats.h"
#include "game/people/Action.h"
#include "game/people/Motion.h"
#include "game/people/Person.h"
#include "game/store/WalkGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

// A step that records how often it performed and finishes at once.
class RecordingAction : public Action
{
public:
    RecordingAction(Person* person, int x, int y, int* performs) : Action(person, x, y), mPerforms(performs)
    {
    }
    bool Perform() override
    {
        ++*mPerforms;
        return true;
    }

private:
    int* mPerforms;
};

class AngryPerson : public Person
{
public:
    using Person::Person;
    bool IsAngry() const override { return true; }
};

class PersonTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;
    WalkGrid grid;

    void SetUp() override
    {
        // A row at y 100 from x 100 to 800 and a column down from (100, 100).
        grid.AddNode(100, 100, "+");
        grid.AddNode(400, 100, "+");
        grid.AddNode(800, 100, "+");
        grid.AddNode(100, 300, "+");
        grid.ComputeRoutes();
    }

    void ReadPeople(const std::string& people)
    {
        folder.Write("properties/people.xml", people);
        PersonStats reader(host, false);
    }

    std::unique_ptr<RecordingAction> Step(Person& person, int x, int y, int* performs)
    {
        return std::make_unique<RecordingAction>(&person, x, y, performs);
    }
};

} // namespace

TEST_F(PersonTest, StepsThatNeedNoTimeAllFinishInOneUpdate)
{
    Person person(100, 100, "nobody", 2.0f);
    int performs = 0;
    person.AddAction(Step(person, 100, 100, &performs)); // walk to where it stands: empty path
    person.AddAction(Step(person, -1, -1, &performs));   // no walk at all
    person.AddAction(Step(person, 400, 100, &performs)); // needs walking
    person.UpdateActions(1.0f, grid);
    EXPECT_EQ(performs, 2);
    ASSERT_EQ(person.actions.size(), 1u);
    EXPECT_EQ(person.actions.front()->state, Action::STATE_WALKING);
    EXPECT_FLOAT_EQ(person.exactX, 102.0f);
}

TEST_F(PersonTest, ZeroTimeMakesNoProgressButArrivedStepsStillPerform)
{
    Person person(100, 100, "nobody", 2.0f);
    int performs = 0;
    person.AddAction(Step(person, -1, -1, &performs));
    person.AddAction(Step(person, 400, 100, &performs));
    person.UpdateActions(0.0f, grid);
    EXPECT_EQ(performs, 1);
    ASSERT_EQ(person.actions.size(), 1u);
    EXPECT_EQ(person.actions.front()->state, Action::STATE_WALKING);
    EXPECT_FLOAT_EQ(person.exactX, 100.0f);
}

TEST_F(PersonTest, AnOvershootingSegmentEndsOnItsTargetAndPassesTheRestOn)
{
    Person person(0, 0, "nobody", 2.5f);
    Horiz first(&person, 1.0f);
    EXPECT_FLOAT_EQ(first.Move(1.0f), 0.6f);
    EXPECT_TRUE(first.IsDone());
    EXPECT_EQ(person.x, 1);

    // Through an action: the rest of the update walks down the next segment in the same update.
    Person walker(399, 100, "nobody", 2.5f);
    int performs = 0;
    walker.AddAction(Step(walker, 100, 300, &performs));
    walker.actions.front()->path.push_back(std::make_unique<Horiz>(&walker, 400.0f));
    walker.actions.front()->path.push_back(std::make_unique<Vert>(&walker, 300.0f));
    walker.actions.front()->state = Action::STATE_WALKING;
    walker.UpdateActions(1.0f, grid);
    EXPECT_FLOAT_EQ(walker.exactX, 400.0f);
    EXPECT_FLOAT_EQ(walker.exactY, 101.5f);
    EXPECT_EQ(walker.pose, Person::POSE_DOWN);
    EXPECT_EQ(performs, 0);
}

TEST_F(PersonTest, WalkingLeftMirrorsAndStandingStillShowsTheStandingPose)
{
    Person person(400, 100, "nobody", 2.0f);
    int performs = 0;
    person.AddAction(Step(person, 100, 100, &performs));
    person.UpdateActions(1.0f, grid);
    EXPECT_EQ(person.pose, Person::POSE_LEFT);
    EXPECT_FALSE(person.lastMoveVertical);
    for (int i = 0; i < 2; ++i)
        person.Update();
    EXPECT_EQ(person.pose, Person::POSE_LEFT);
    person.Update();
    EXPECT_EQ(person.pose, Person::POSE_STANDING);
}

TEST_F(PersonTest, ACancelledWalkStopsOnlyLeftOfTheBackRoomSide)
{
    const struct
    {
        int startX;
        bool stopsAtOnce;
    } cases[] = {{600, true}, {800, false}};
    for (const auto& c : cases)
    {
        Person person(c.startX, 100, "nobody", 50.0f);
        int performs = 0;
        person.AddAction(Step(person, 100, 100, &performs));
        person.UpdateActions(1.0f, grid);
        person.actions.front()->cancelled = true;
        person.UpdateActions(1.0f, grid);
        if (c.stopsAtOnce)
        {
            EXPECT_TRUE(person.actions.empty());
            EXPECT_EQ(person.x, c.startX - 50);
        }
        else
        {
            // 750, then 700: still at or right of 700, so the walk goes on; at 650 it stops.
            ASSERT_EQ(person.actions.size(), 1u);
            EXPECT_EQ(person.x, 700);
            person.UpdateActions(1.0f, grid);
            EXPECT_EQ(person.x, 650);
            person.UpdateActions(1.0f, grid);
            EXPECT_TRUE(person.actions.empty());
            EXPECT_EQ(person.x, 650);
        }
        EXPECT_EQ(person.pose, Person::POSE_STANDING);
        EXPECT_EQ(performs, 0);
    }
}

TEST_F(PersonTest, IdleAnimationsByIntervalNameHandsAndMood)
{
    ReadPeople(R"(<person name="P" animation_speed="5"/>
<animation name="angry" idle-interval="3"/><frame duration="2"/>
<animation name="beta" idle-interval="3"/><frame duration="2"/>
<animation name="alpha" idle-interval="3"/><frame duration="2"/>
<animation name="quick" idle-interval="1.5"/><frame duration="2"/>
<animation name="empty" holding="0" idle-interval="6"/><frame duration="2"/>)");
    const struct
    {
        bool angry;
        int heldItems;
        int idleTicks; // updates before the check
        const char* expected;
    } cases[] = {
        {false, 0, 150, "quick"},
        {false, 0, 300, "alpha"}, // 300 beats 150; "alpha" sorts before "beta"
        {false, 0, 600, "empty"},
        {false, 1, 600, "alpha"}, // "empty" needs free hands
        {true, 0, 300, "angry"},
        {true, 0, 150, ""},
    };
    for (const auto& c : cases)
    {
        std::unique_ptr<Person> person = c.angry ? std::make_unique<AngryPerson>(0, 0, "P", 1.0f)
                                                 : std::make_unique<Person>(0, 0, "P", 1.0f);
        if (c.heldItems > 0)
            person->PickUp(7, false);
        person->idleTicks = c.idleTicks - 1;
        person->Update();
        EXPECT_EQ(person->animationName, c.expected) << c.idleTicks << " angry " << c.angry;
    }
}

TEST_F(PersonTest, AnIdleAnimationRepeatsAfterItsIntervalOfIdleUpdates)
{
    ReadPeople(R"(<person name="P" animation_speed="5"/>
<animation name="look" idle-interval="3"/><frame duration="4"/><frame duration="6"/>)");
    Person person(0, 0, "P", 1.0f);
    std::vector<int> starts;
    for (int tick = 1; tick <= 650; ++tick)
    {
        bool before = person.animationName.empty();
        person.Update();
        if (before && !person.animationName.empty())
            starts.push_back(tick);
    }
    // Starts after 300 idle updates, plays 10 updates, then idles another 300.
    EXPECT_EQ(starts, (std::vector<int>{300, 610}));
}
