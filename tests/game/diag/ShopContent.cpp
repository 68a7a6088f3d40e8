#include "ShopContent.h"

#include "../store/FloorContent.h"

#include "framework/graphics/Image.h"
#include "game/data/CustomerStats.h"
#include "game/data/Localization.h"
#include "game/data/ParserHost.h"

#include <filesystem>

namespace
{
class QuietHost : public ParserHost
{
public:
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string&) override { return nullptr; }
    bool LoadMusic(int, const std::string&) override { return false; }
    void UnloadMusic(int) override {}
    bool LoadVoice(int, const std::string&) override { return false; }
    void ReleaseVoice(int) override {}
    void ReportDataIssue(DataSeverity, const std::string&, int, const std::string&) override {}
};
} // namespace

bool LoadShopContent(std::string* errorText)
{
    std::string folder = FloorContentFolder();
    if (!LoadFloorContent(folder, errorText))
        return false;
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        QuietHost host;
        CustomerStats customers(host);
        Localization texts(host);
    }
    std::filesystem::current_path(old);
    return true;
}

void FreeShopContent()
{
    FreeFloorContent();
}
