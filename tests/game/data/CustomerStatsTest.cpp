#include "DataTestSupport.h"

#include "game/data/ClothingStats.h"
#include "game/data/CustomerStats.h"

#include <gtest/gtest.h>

namespace
{

class CustomerStatsTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    void Read(const std::string& customers)
    {
        ClothingStats catalogue(host);
        catalogue.RegisterClothing(2, "B", "jeans", 10);
        catalogue.RegisterClothing(2, "B", "tee", 5);
        folder.Write("properties/customers.xml", customers);
        CustomerStats reader(host);
    }
};

} // namespace

TEST_F(CustomerStatsTest, KeysTimesAndWishes)
{
    Read(R"(<customer name="Masel" store="2" gender="male" patience="12.5" hearts="4" tips="0.5"
 dressing_room_time="3" favorite1="jeans" favorite2="tee"/>
<clothing clothing1="jeans" items_tried_on="2" find_clothing="customer_service" got_clothing="gift_wrap"
 wrong_item_action="wait"/>
<clothing clothing1="tee" clothing2="jeans" got_clothing="buy" wrong_item_action="customer_service"/>
<customer name="Masel" store="3"/>)");
    ASSERT_TRUE(HasCustomer("Masel2"));
    ASSERT_TRUE(HasCustomer("Masel3"));
    const CustomerDefinition& masel = FindCustomer("Masel2");
    EXPECT_EQ(masel.name, "Masel");
    EXPECT_TRUE(masel.male);
    EXPECT_EQ(masel.patience, 1250);
    EXPECT_EQ(masel.dressingTime, 300);
    EXPECT_DOUBLE_EQ(masel.tips, 0.5);
    EXPECT_EQ(masel.favourites[0], FindClothing(2, "jeans"));
    EXPECT_EQ(masel.favourites[2], 0);
    ASSERT_EQ(masel.wishes.size(), 2u);
    const CustomerWish& first = masel.wishes[0];
    EXPECT_EQ(first.tries, 2);
    EXPECT_EQ(first.askService, 1);
    EXPECT_EQ(first.outcome, 2);
    EXPECT_EQ(first.wrongItem, 1);
    EXPECT_EQ(masel.wishes[1].outcome, 1);
    EXPECT_EQ(masel.wishes[1].wrongItem, 2);
    EXPECT_EQ(masel.wishes[1].clothing[1], FindClothing(2, "jeans"));
    EXPECT_TRUE(FindCustomer("Masel3").wishes.empty());
}

TEST_F(CustomerStatsTest, AThirdWishIsDroppedBecauseThereAreOnlyTwoHands)
{
    Read("<customer name=\"A\" store=\"2\"/>\n<clothing clothing1=\"tee\"/>\n<clothing clothing1=\"tee\"/>\n"
         "<clothing clothing1=\"jeans\"/>");
    EXPECT_EQ(FindCustomer("A2").wishes.size(), 2u);
    const ReportedIssue* issue = host.Find("more than 2 wishes");
    ASSERT_NE(issue, nullptr);
    EXPECT_EQ(issue->line, 4);
}

TEST_F(CustomerStatsTest, UnknownClothingReadsZeroAndIsReported)
{
    Read("<customer name=\"A\" store=\"2\" favorite1=\"gown\"/>\n<clothing clothing1=\"tee\" clothing2=\"hat\"/>");
    EXPECT_EQ(FindCustomer("A2").favourites[0], 0);
    EXPECT_EQ(FindCustomer("A2").wishes[0].clothing[1], 0);
    EXPECT_EQ(host.Find("\"hat\"")->line, 2);
    EXPECT_EQ(host.Find("\"gown\"")->line, 1);
}

TEST_F(CustomerStatsTest, WishBeforeAnyCustomerGoesToTheEmptyKeyAndLookupsNeverInsert)
{
    Read(R"(<clothing clothing1="tee"/><customer name="A" store="2"/>)");
    EXPECT_EQ(FindCustomer("").wishes.size(), 1u);
    const size_t before = CustomerCount();
    EXPECT_TRUE(FindCustomer("nobody2").wishes.empty());
    EXPECT_EQ(CustomerCount(), before);
}
