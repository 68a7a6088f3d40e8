#include "DataTestSupport.h"

#include "framework/graphics/Image.h"
#include "game/data/PersonStats.h"

#include <gtest/gtest.h>

namespace
{

class PersonStatsTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    void Read(const std::string& people)
    {
        folder.Write("properties/people.xml", people);
        PersonStats reader(host, false);
    }
};

} // namespace

TEST_F(PersonStatsTest, HandOffsetsFillTheirViewsAndMirrorTheLeftOne)
{
    Read(R"(<person name="P"/><hand/><right x="30" y="50"/><up x="5" y="6"/><hand/><down x="100" y="1"/>
<left x="1" y="1"/><hand/><right x="9" y="9"/>)");
    const PersonDefinition& person = FindPerson("P");
    EXPECT_EQ(person.handOffsets[0][0].x, 30);
    EXPECT_EQ(person.handOffsets[0][0].y, 50);
    EXPECT_EQ(person.handOffsets[0][2].x, 90);
    EXPECT_EQ(person.handOffsets[0][2].y, 50);
    EXPECT_EQ(person.handOffsets[0][1].x, 5);
    EXPECT_EQ(person.handOffsets[1][0].x, 1); // the later element of the same view wins
    EXPECT_EQ(person.handOffsets[1][2].x, 119);
    EXPECT_NE(host.Find("more than two <hand>"), nullptr);
}

TEST_F(PersonStatsTest, AnimationAttributesAndRedefinition)
{
    Read(R"(<person name="P" animation_speed="2.5"/>
<animation name="a" show-clothing="False" idle-interval="1.5"/><frame duration="3" column="1" y-offset="-2"/>
<animation name="b" holding="0" show-clothing="false" hide-legs="true" show-torso="true" clothes-move="True"/>
<animation name="c" holding=""/><frame duration="1"/><frame duration="1"/>
<animation name="c" row="2"/><frame duration="4"/>)");
    const PersonDefinition& person = FindPerson("P");
    EXPECT_FLOAT_EQ(person.animationSpeed, 2.5f);
    const PersonAnimation* a = person.FindAnimation("a");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->showClothing);
    EXPECT_EQ(a->holdingLimit, 3);
    EXPECT_EQ(a->idleInterval, 150);
    ASSERT_EQ(a->frames.size(), 1u);
    EXPECT_EQ(a->frames[0].yOffset, -2);
    const PersonAnimation* b = person.FindAnimation("b");
    EXPECT_EQ(b->holdingLimit, 0);
    EXPECT_FALSE(b->showClothing);
    EXPECT_TRUE(b->hideLegs && b->showTorso);
    EXPECT_FALSE(b->clothesMove);
    const PersonAnimation* c = person.FindAnimation("c");
    EXPECT_EQ(c->row, 2);
    EXPECT_EQ(c->holdingLimit, 3);
    ASSERT_EQ(c->frames.size(), 1u);
    EXPECT_EQ(c->frames[0].duration, 4);
}

TEST_F(PersonStatsTest, UnknownPersonIsEmptyAndNotInserted)
{
    Read(R"(<person name="P"/>)");
    const PersonDefinition& nobody = FindPerson("nobody");
    EXPECT_EQ(nobody.torsoWalk, nullptr);
    EXPECT_EQ(nobody.helloVoice, VoiceId{-1});
    EXPECT_EQ(nobody.FindAnimation("angry"), nullptr);
    FindPerson("nobody");
    EXPECT_EQ(PersonCount(), 1u);
}

TEST_F(PersonStatsTest, CountPassCountsEightStepsPerPerson)
{
    folder.Write("properties/people.xml", R"(<person name="A"/><person name="B"/><person name="A"/>)");
    PersonStats counter(host, true);
    EXPECT_EQ(counter.Count(), 24);
    EXPECT_EQ(PersonCount(), 0u);
}

TEST_F(PersonStatsTest, SheetsGetTheirGridsAndWrongSizesAreReported)
{
    host.images["images/people/P/Torso_Walk"] = {360, 480};
    host.images["images/people/P/Legs_Walk"] = {960, 400}; // one row short
    host.images["images/people/P/Torso_Idle"] = {480, 480};
    host.voices = {"sounds/people/P/Hello", "sounds/people/P/Happy", "sounds/people/P/Angry"};
    Read(R"(<person name="P"/>
<animation name="angry" row="1"/><frame duration="2" column="5"/>)");
    const PersonDefinition& person = FindPerson("P");
    EXPECT_EQ(person.torsoWalk->GetCelCols(), 3);
    EXPECT_EQ(person.torsoWalk->GetCelRows(), 4);
    EXPECT_EQ(person.torsoIdle->GetCelCols(), 4);
    EXPECT_EQ(person.angryVoice, VoiceId{2});
    ASSERT_NE(host.Find("Legs_Walk of P is 960 x 400"), nullptr);
    EXPECT_EQ(host.Find("Legs_Walk of P")->line, 1);
    EXPECT_EQ(host.Find("rows 1 to 4")->line, 2); // clothing rows run past the 4-row idle sheet
    EXPECT_EQ(host.Find("frame column 5")->line, 2);
}
