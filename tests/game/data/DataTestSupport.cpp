#include "DataTestSupport.h"

#include "game/data/LevelStats.h"

#include <atomic>
#include <unistd.h>

void FakeHost::AddStoreImages(const std::string& store, int doorWidth)
{
    for (const char* name : kStoreImageNames)
        images["images/stores/" + store + "/" + name] = {std::string(name) == "ChangingRoomDoor" ? doorWidth : 100,
                                                         100};
}

ScratchGameFolder::ScratchGameFolder()
{
    static std::atomic<int> serial{0};
    mOld = std::filesystem::current_path();
    mDir = std::filesystem::temp_directory_path() /
           ("velmora-gamedata-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(mDir);
    std::filesystem::create_directories(mDir / "properties");
    std::filesystem::current_path(mDir);
    FreeDataTables();
}

ScratchGameFolder::~ScratchGameFolder()
{
    FreeDataTables();
    std::filesystem::current_path(mOld);
    std::error_code ignored;
    std::filesystem::remove_all(mDir, ignored);
}

void ScratchGameFolder::Write(const std::string& relativePath, const std::string& text)
{
    const std::filesystem::path path = mDir / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}
