#include "DataTestSupport.h"

#include "game/data/LevelStats.h"
#include "tests/support/Files.h"

void FakeHost::AddStoreImages(const std::string& store, int doorWidth)
{
    for (const char* name : kStoreImageNames)
        images["images/stores/" + store + "/" + name] = {std::string(name) == "ChangingRoomDoor" ? doorWidth : 100,
                                                         100};
}

ScratchGameFolder::ScratchGameFolder() : mFolder("velmora-gamedata")
{
    std::filesystem::create_directories(mFolder.Path() / "properties");
    FreeDataTables();
}

ScratchGameFolder::~ScratchGameFolder()
{
    // The tables are freed while the folder is still current, before the folder itself goes away.
    FreeDataTables();
}

void ScratchGameFolder::Write(const std::string& relativePath, const std::string& text)
{
    TestSupport::WriteFile(mFolder.Path() / relativePath, text);
}
