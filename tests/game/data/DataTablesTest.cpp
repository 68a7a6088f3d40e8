#include "DataTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/data/Localization.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{

class DataTablesTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;
};

} // namespace

// The loading thread fills the tables and publishes; the main thread reads only after seeing the flag.
TEST_F(DataTablesTest, TablesFilledOnTheLoadingThreadAreSeenAfterPublication)
{
    folder.Write("properties/stores.xml", R"(<store name="A"/><store name="B"/>)");
    folder.Write("properties/levels.xml", "");
    folder.Write("properties/localization.xml", R"(<id tag="store2" value="Bee"/>)");
    EXPECT_FALSE(DataTablesPublished());
    std::thread loader([this] {
        LevelStats stores(host, false);
        Localization texts(host);
        PublishDataTables();
    });
    while (!DataTablesPublished())
        std::this_thread::yield();
    EXPECT_EQ(StoreCount(), 2);
    EXPECT_EQ(GetText("store2"), "Bee");
    loader.join();

    FreeDataTables();
    EXPECT_FALSE(DataTablesPublished());
    EXPECT_EQ(StoreCount(), 0);
    EXPECT_EQ(GetText("store2"), "");
    EXPECT_EQ(Parser::SharedImageCount(), 0u);
}
