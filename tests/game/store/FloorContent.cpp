#include "FloorContent.h"

#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/DataTables.h"
#include "game/data/LevelStats.h"
#include "game/data/ParserHost.h"
#include "game/data/PersonStats.h"
#include "game/res/Res.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace
{

// Decodes pictures from the folder; songs and voices are not needed to draw.
class ContentHost : public ParserHost
{
public:
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) override
    {
        return Zestra::ImageLoader::GetImage(path, true);
    }
    bool LoadMusic(int, const std::string&) override { return false; }
    void UnloadMusic(int) override {}
    bool LoadVoice(int, const std::string&) override { return false; }
    void ReleaseVoice(int) override {}
    void ReportDataIssue(DataSeverity, const std::string&, int, const std::string&) override {}
};

void BindImages(const std::string& folder)
{
    std::ifstream manifest(folder + "/properties/resources.xml");
    std::stringstream text;
    text << manifest.rdbuf();
    std::string content = text.str();
    const std::regex image(R"re(<Image id="([A-Z0-9_]+)" path="([^"]+)" rows="(\d+)" cols="(\d+)")re");
    for (auto it = std::sregex_iterator(content.begin(), content.end(), image); it != std::sregex_iterator(); ++it)
    {
        const std::smatch& match = *it;
        for (int i = 0; i < kResourceIdCount; ++i)
        {
            const ResIdInfo& info = kResourceIds[i];
            if (info.kind != ResKind::Image || match[1].str() != info.id)
                continue;
            std::unique_ptr<Zestra::MemoryImage> picture =
                Zestra::ImageLoader::GetImage(folder + "/" + match[2].str(), true);
            if (picture)
            {
                picture->SetCelGrid(std::stoi(match[3].str()), std::stoi(match[4].str()));
                *info.image = std::shared_ptr<Zestra::MemoryImage>(std::move(picture));
            }
        }
    }
}

} // namespace

std::string FloorContentFolder()
{
    if (const char* folder = std::getenv("VELMORA_GAME_DIR"))
        return folder;
    return VELMORA_BUILD_GAME_DIR;
}

bool LoadFloorContent(const std::string& gameFolder, std::string* errorText)
{
    namespace fs = std::filesystem;
    if (!fs::exists(fs::path(gameFolder) / "properties" / "stores.xml") ||
        !fs::exists(fs::path(gameFolder) / "images" / "stores"))
    {
        if (errorText)
            *errorText = "no built content in " + gameFolder + " (set VELMORA_GAME_DIR to a built game folder)";
        return false;
    }
    fs::path old = fs::current_path();
    fs::current_path(gameFolder);
    {
        ContentHost host;
        LevelStats stores(host, false);
        PersonStats people(host, false);
    }
    fs::current_path(old);
    BindImages(gameFolder);
    return StoreCount() > 0;
}

void FreeFloorContent()
{
    UnbindAllGroups();
    FreeDataTables();
}
