// The published flag of the data tables: the one synchronisation point between the loading thread that fills the
// tables and the main thread that reads them.
#include "game/data/DataTables.h"

#include "game/data/ClothingStats.h"
#include "game/data/CustomerStats.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/PersonStats.h"

#include <atomic>

namespace
{

std::atomic<bool> gPublished{false};

} // namespace

void PublishDataTables()
{
    gPublished.store(true, std::memory_order_release);
}

bool DataTablesPublished()
{
    return gPublished.load(std::memory_order_acquire);
}

void FreeDataTables()
{
    gPublished.store(false, std::memory_order_release);
    FreeStoreTable();
    FreeClothingTable();
    FreePeopleTable();
    FreeCustomerTable();
    FreeTextTables();
    Parser::FreeSharedMedia();
}
