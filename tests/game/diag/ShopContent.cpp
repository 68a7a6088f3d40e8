#include "ShopContent.h"
#include "tests/support/NullParserHost.h"

#include "../store/FloorContent.h"

#include "framework/graphics/Image.h"
#include "game/data/CustomerStats.h"
#include "game/data/Localization.h"
#include "game/data/ParserHost.h"

#include <filesystem>

namespace
{
using QuietHost = TestSupport::NullParserHost;
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
