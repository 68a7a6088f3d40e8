// velmora-lint's checks. The readers report what they see element by element; the cross-file checks here need
// several tables at once (customer keys of levels.xml, persons of customers and merchants, text keys, resource
// ids), so they rescan the one file that names the thing to get its line.
#include "tools/lint/DataLint.h"

#include "framework/graphics/FontHost.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/pak/PakInterface.h"
#include "framework/resources/ResourceManager.h"
#include "framework/xml/XMLParser.h"
#include "game/data/ClothingStats.h"
#include "game/data/CustomerStats.h"
#include "game/data/DataTables.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/PersonStats.h"
#include "game/profile/Achievements.h"
#include "game/profile/GameState.h"
#include "game/res/Res.h"
#include "game/shoprules/ShopOffers.h"
#include "game/store/WalkGrid.h"
#include "tools/lint/XmlDialect.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <set>

namespace
{

const char* const kDataFiles[] = {"properties/stores.xml",    "properties/levels.xml",  "properties/customers.xml",
                                  "properties/people.xml",    "properties/localization.xml",
                                  "properties/resources.xml", "properties/grid.txt"};

// Extensions the sound manager tries for a name without one.
const char* const kSoundExtensions[] = {".wav", ".ogg", ".au"};

bool SoundExists(const std::string& path)
{
    for (const char* extension : kSoundExtensions)
        if (Zestra::ArchiveFileExists(path + extension))
            return true;
    return Zestra::ArchiveFileExists(path);
}

// Every start tag of a file with the line it ends on.
void ScanStartTags(const std::string& path, const std::function<void(const Zestra::ParsedElement&, int)>& visit)
{
    Zestra::XMLParser reader;
    if (!reader.Open(path))
        return;
    Zestra::ParsedElement element;
    while (reader.ReadNext(element))
        if (element.mKind == Zestra::ParsedElement::Start)
            visit(element, reader.CurrentLine());
}

// A manifest path exists when the loader would find it under one of the extensions it tries.
bool ResourceFileExists(const Zestra::BaseRes& res)
{
    if (res.mProgramMade || res.mPath.empty() || res.mPath[0] == '!')
        return true;
    static const char* const kExtensions[] = {"", ".png", ".jpg", ".jpeg", ".tga", ".gif", ".j2k", ".jp2",
                                              ".wav", ".ogg", ".au", ".txt"};
    for (const char* extension : kExtensions)
        if (Zestra::ArchiveFileExists(res.mPath + extension))
            return true;
    // An image may exist only as its "_" alpha picture.
    const size_t slash = res.mPath.find_last_of("/\\");
    const std::string alpha = slash == std::string::npos ? "_" + res.mPath
                                                         : res.mPath.substr(0, slash + 1) + "_" +
                                                               res.mPath.substr(slash + 1);
    for (const char* extension : kExtensions)
        if (Zestra::ArchiveFileExists(alpha + extension))
            return true;
    return false;
}

// Font descriptors load their layer pictures through this; errors are read from the descriptor reader instead of
// being shown.
class LintFontHost : public Zestra::FontHost
{
public:
    std::shared_ptr<Zestra::Image> AcquireFontImage(const std::string& path, bool& created) override
    {
        created = true;
        return std::shared_ptr<Zestra::Image>(Zestra::ImageLoader::GetImage(path, true));
    }
    void ShowFatalMessage(const std::string&) override {}
};

class Checker
{
public:
    explicit Checker(LintHost& host) : mHost(host) {}

    void Error(const std::string& file, int line, const std::string& what)
    {
        mHost.ReportDataIssue(DataSeverity::Error, file, line, what);
    }
    void Warning(const std::string& file, int line, const std::string& what)
    {
        mHost.ReportDataIssue(DataSeverity::Warning, file, line, what);
    }

    void CheckFilesExist()
    {
        for (const char* file : kDataFiles)
            if (!Zestra::ArchiveFileExists(file))
                Error(file, 0, "the file is missing");
    }

    void CheckCustomerKeysOfLevels()
    {
        int store = 0;
        ScanStartTags("properties/levels.xml", [&](const Zestra::ParsedElement& element, int line) {
            const std::string& tag = element.mText;
            if (tag == "store")
                ++store;
            else if ((tag == "customer" || tag == "buy") && store > 0 && store <= StoreCount())
            {
                const std::string& name = Attribute(element, tag == "customer" ? "name" : "customer");
                const std::string key = MakeStoreKey(name, store);
                if (!HasCustomer(key))
                    Error("properties/levels.xml", line,
                          "customer \"" + name + "\" of store " + std::to_string(store) + " (" + key +
                              ") is not in customers.xml");
                else if (tag == "customer" && FindCustomer(key).wishes.empty())
                    Error("properties/levels.xml", line, "customer " + key + " has no wishes and would stand idle");
            }
        });
    }

    void CheckAnimations(const std::string& file, int line, const std::string& person, const char* role,
                         std::initializer_list<const char*> names)
    {
        if (!HasPerson(person))
        {
            Error(file, line, std::string(role) + " \"" + person + "\" is not a person of people.xml");
            return;
        }
        for (const char* name : names)
        {
            const PersonAnimation* animation = FindPerson(person).FindAnimation(name);
            if (!animation || animation->frames.empty())
                Error(file, line, std::string(role) + " \"" + person + "\" needs the animation \"" + name +
                                      "\" with at least one frame in people.xml");
        }
    }

    void CheckPeopleOfCustomersAndMerchants()
    {
        ScanStartTags("properties/customers.xml", [&](const Zestra::ParsedElement& element, int line) {
            if (element.mText == "customer")
                CheckAnimations("properties/customers.xml", line, Attribute(element, "name"), "customer",
                                {"angry", "happy"});
        });
        ScanStartTags("properties/stores.xml", [&](const Zestra::ParsedElement& element, int line) {
            if (element.mText == "merchant")
                CheckAnimations("properties/stores.xml", line, Attribute(element, "name"), "merchant", {"hands"});
        });
    }

    void CheckTexts()
    {
        const std::string file = "properties/localization.xml";
        for (const std::string& key : kLocalizationKeys)
            if (!HasText(key))
                Error(file, 0, "text \"" + key + "\" is missing (or refused); the game shows nothing there");
        for (const AchievementInfo& achievement : AchievementTable())
            for (const char* key : {achievement.nameKey, achievement.textKey})
                if (!HasText(key))
                    Error(file, 0, std::string("text \"") + key + "\" of achievement " + achievement.id +
                                       " is missing; the trophy screen shows nothing there");
        for (int store = 1; store <= StoreCount(); ++store)
        {
            const std::string key = "store" + std::to_string(store);
            if (!HasText(key))
                Error(file, 0, "text \"" + key + "\" (the name of store " + GetStoreInfo(store)->name +
                                   ") is missing");
            const size_t levels = GetStoreInfo(store)->levels.size();
            const size_t texts = GetStoreText(store).levelTexts.size();
            if (texts < levels)
                Warning(file, 0, "store " + std::to_string(store) + " has " + std::to_string(levels) +
                                     " levels but only " + std::to_string(texts) + " level texts");
        }
    }

    void CheckResources()
    {
        const std::string file = "properties/resources.xml";
        Zestra::ResourceManager manager(nullptr, nullptr);
        if (!manager.ReadManifest(file))
        {
            Error(file, 0, manager.ErrorText());
            return;
        }
        for (int i = 0; i < kResourceIdCount; ++i)
        {
            const ResIdInfo& info = kResourceIds[i];
            const Zestra::BaseRes* res = manager.FindResource(info.id);
            if (!res)
            {
                Error(file, 0, std::string(info.id) + " is not declared (it belongs in group \"" + info.group +
                                   "\")");
                continue;
            }
            const int wantType = info.kind == ResKind::Image   ? Zestra::BaseRes::ImageType
                                 : info.kind == ResKind::Sound ? Zestra::BaseRes::SoundType
                                                               : Zestra::BaseRes::FontType;
            if (res->mType != wantType)
                Error(file, res->mLine, std::string(info.id) + " is declared as the wrong kind of resource");
            if (res->mGroup != info.group)
                Error(file, res->mLine, std::string(info.id) + " is in group \"" + res->mGroup +
                                            "\" but the game binds it with group \"" + info.group + "\"");
            if (!ResourceFileExists(*res))
                Error(file, res->mLine, std::string(info.id) + ": file \"" + res->mPath + "\" is missing");
            else if (res->mType == Zestra::BaseRes::FontType)
                CheckFontDescriptor(static_cast<const Zestra::FontRes&>(*res));
        }
    }

    // Every step the upgrade shop can sell needs a price, its two texts and the pictures it is shown with; a
    // missing price reads as 0 and gives the step away. A store that sells nothing of a kind only warns.
    void CheckUpgradeChains()
    {
        const std::string file = "properties/stores.xml";
        const StoreInfo* store = nullptr;
        int merchantIndex = 0;
        int spotIndex = -1;
        int stepIndex = 0;
        bool roomTextsChecked = false;
        auto texts = [&](int line, const std::string& item, const std::string& what) {
            for (const std::string& key : {"buy_" + item, "buy_" + item + "_msg"})
                if (!HasText(key))
                    Error(file, line, what + " has no text \"" + key + "\" in localization.xml");
        };
        auto price = [&](const Zestra::ParsedElement& element, int line, const std::string& what) {
            const std::string& value = Attribute(element, "price");
            if (value.empty())
                Error(file, line, what + " has no price; it would be given away");
            else if (DataConvert::Integer(value) < 0)
                Error(file, line, what + " has a negative price");
        };
        auto picture = [&](int line, const std::string& name, const std::string& what) {
            if (store->GetImage(name) == nullptr)
                Error(file, line, what + " has no picture: store image " + name + " of " + store->name +
                                      " is missing");
        };
        int storeNumber = 0;
        ScanStartTags(file, [&](const Zestra::ParsedElement& element, int line) {
            const std::string& tag = element.mText;
            if (tag == "store")
            {
                store = GetStoreInfo(++storeNumber);
                merchantIndex = 0;
                spotIndex = -1;
                roomTextsChecked = false;
                if (store != nullptr)
                    WarnAboutMissingKinds(*store, line);
                return;
            }
            if (store == nullptr)
                return;
            if (tag == "merchant")
            {
                const int level = merchantIndex++;
                if (level == 0)
                    return; // the merchant the run starts with is never sold
                const std::string name = Attribute(element, "name");
                const std::string what = "merchant level " + std::to_string(level) + " (" + name + ")";
                price(element, line, what);
                texts(line, name, what);
                if (HasPerson(name) && FindPerson(name).torsoWalk == nullptr)
                    Error(file, line, what + " has no picture: person " + name + " has no Torso_Walk");
            }
            else if (tag == "changing-room")
            {
                price(element, line, "changing room");
                picture(line, "ChangingRoom", "changing room");
                if (!roomTextsChecked)
                    texts(line, ChangingRoomItemName(), "changing room");
                roomTextsChecked = true;
            }
            else if (tag == "goodie-rack")
            {
                price(element, line, "goodie rack");
                if (store->goodieRackBonus <= 0.0f)
                    Error(file, line, "goodie rack has no bonus; bought, it would make every tip 0");
                picture(line, "GoodieRack1", "goodie rack");
                picture(line, "GoodieRack2", "goodie rack");
                texts(line, GoodieRackItemName(store->number), "goodie rack");
            }
            else if (tag == "layout")
            {
                ++spotIndex;
                stepIndex = 0;
            }
            else if (tag == "furniture" && spotIndex >= 0 && spotIndex < int(store->floorSpots.size()))
            {
                const FloorSpot& spot = store->floorSpots[size_t(spotIndex)];
                const int step = stepIndex++;
                if (step >= int(spot.upgrades.size()))
                    return;
                const FurnitureUpgrade& upgrade = spot.upgrades[size_t(step)];
                const std::string what = "furniture step " + std::to_string(step) + " of floor spot " +
                                         std::to_string(spotIndex) + " (" + Attribute(element, "type") + ")";
                price(element, line, what);
                if (step == 0 && upgrade.price == 0)
                    return; // furnished at the start of every run: never sold
                texts(line, FurnitureItemName(*store, spotIndex, step), what);
                if (upgrade.furniture != nullptr && upgrade.furniture->image == nullptr)
                    Error(file, line, what + " has no picture: furniture image " + upgrade.furniture->type +
                                          " is missing");
                const ClothingInfo& clothing = GetClothing(upgrade.clothing);
                const bool folded = upgrade.furniture != nullptr && upgrade.furniture->clothingKind == 1;
                if (clothing.id != 0 && (clothing.icon == nullptr ||
                                         clothing.GetPicture(folded ? LOOK_FOLDED : LOOK_HANGING) == nullptr))
                    Error(file, line, what + " has no picture of its clothing " + clothing.key +
                                          " (icon and " + (folded ? "folded" : "hanging") + " look)");
            }
        });
    }

    bool HasGoodieRack(int storeNumber)
    {
        int current = 0;
        bool found = false;
        ScanStartTags("properties/stores.xml", [&](const Zestra::ParsedElement& element, int) {
            if (element.mText == "store")
                ++current;
            else if (element.mText == "goodie-rack" && current == storeNumber)
                found = true;
        });
        return found;
    }

    void WarnAboutMissingKinds(const StoreInfo& store, int line)
    {
        const GameState fresh = NewGameState(&store);
        bool kinds[4] = {};
        for (const ShopOffer& offer : ListShopOffers(fresh, store))
            kinds[int(offer.kind)] = true;
        bool anyStepAfterFirst = false;
        for (const FloorSpot& spot : store.floorSpots)
            anyStepAfterFirst = anyStepAfterFirst || spot.upgrades.size() > 1;
        const std::string name = "store " + std::to_string(store.number) + " (" + store.name + ")";
        if (!kinds[int(ShopKind::Merchant)])
            Warning("properties/stores.xml", line, name + " sells no merchant level in the upgrade shop");
        if (!kinds[int(ShopKind::ChangingRoom)])
            Warning("properties/stores.xml", line, name + " sells no changing room in the upgrade shop");
        if (!HasGoodieRack(store.number))
            Error("properties/stores.xml", line, name + " has no <goodie-rack>; the shop would give away one that "
                                                        "does nothing");
        if (!anyStepAfterFirst)
            Warning("properties/stores.xml", line, name + " sells no furniture step in the upgrade shop");
    }

    // A descriptor font is read with the game's descriptor reader; its first error names the descriptor's line.
    void CheckFontDescriptor(const Zestra::FontRes& font)
    {
        if (font.mSysFont || !font.mImagePath.empty() || font.mPath.rfind("!", 0) == 0)
            return;
        LintFontHost host;
        Zestra::FontData descriptor(&host);
        if (!descriptor.Load(font.mPath))
            Error(font.mPath, descriptor.ErrorLine(), descriptor.ErrorText());
    }

    // What the XML files say to the reader that their author probably did not mean.
    void CheckXmlDialect()
    {
        for (const std::string file : kDataFiles)
        {
            std::string data;
            if (file.size() < 4 || file.compare(file.size() - 4, 4, ".xml") != 0 ||
                !Zestra::ArchiveFileReadAll(file, data))
                continue;
            for (const DialectNote& note : FindXmlDialectSurprises(data))
                Warning(file, note.line, note.what);
        }
    }

    // The walk grid through the game's own reader, every line of it.
    void CheckWalkGrid()
    {
        const std::string file = "properties/grid.txt";
        if (!Zestra::ArchiveFileExists(file))
            return; // reported with the other missing files
        WalkGrid grid;
        grid.SetQuiet(true);
        grid.Load(file);
        for (const WalkGrid::Issue& issue : grid.Issues())
        {
            if (issue.error)
                Error(file, issue.line, issue.what);
            else
                Warning(file, issue.line, issue.what);
        }
        if (grid.TotalNodes() == 0)
            Error(file, 0, "the walk grid has no points; nobody can walk");
    }

private:
    LintHost& mHost;
};

} // namespace

std::unique_ptr<Zestra::Image> LintHost::LoadDataImage(const std::string& path)
{
    return Zestra::ImageLoader::GetImage(path, true);
}

bool LintHost::LoadMusic(int id, const std::string& path)
{
    return Zestra::ArchiveFileExists(path);
}

bool LintHost::LoadVoice(int id, const std::string& path)
{
    return SoundExists(path);
}

void LintHost::ReportDataIssue(DataSeverity severity, const std::string& file, int line, const std::string& what)
{
    // The game shrugs these off (empty money text, a missing file read as empty); a release must not ship them.
    if (what.rfind("money_template", 0) == 0 || what.rfind("cannot open the file", 0) == 0)
        severity = DataSeverity::Error;
    for (const LintIssue& issue : mIssues)
        if (issue.file == file && issue.line == line && issue.what == what)
            return;
    mIssues.push_back({severity, file, line, what});
}

int RunDataLint(const std::string& gameFolder, std::ostream& out)
{
    std::error_code error;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(gameFolder, error);
    if (error)
    {
        out << gameFolder << ":0: error: cannot enter the game folder: " << error.message() << "\n";
        return 1;
    }

    LintHost host;
    std::string tally;
    {
        Checker checker(host);
        std::unique_ptr<Zestra::PakInterface> pak;
        if (std::filesystem::exists("main.pak"))
        {
            pak = std::make_unique<Zestra::PakInterface>();
            if (!pak->MountArchive("main.pak"))
                checker.Error("main.pak", 0, "the archive cannot be mounted: " + pak->ErrorText());
            for (const std::string& warning : pak->Warnings())
                checker.Warning("main.pak", 0, warning);
        }
        FreeDataTables();
        checker.CheckFilesExist();
        {
            LevelStats stores(host, false);
        }
        {
            PersonStats people(host, false);
        }
        {
            CustomerStats customers(host);
        }
        {
            Localization texts(host);
        }
        checker.CheckCustomerKeysOfLevels();
        checker.CheckPeopleOfCustomersAndMerchants();
        checker.CheckTexts();
        checker.CheckResources();
        checker.CheckUpgradeChains();
        checker.CheckWalkGrid();
        checker.CheckXmlDialect();
        size_t levels = 0;
        for (int store = 1; store <= StoreCount(); ++store)
            levels += GetStoreInfo(store)->levels.size();
        tally = std::to_string(StoreCount()) + " stores, " + std::to_string(levels) + " levels, " +
                std::to_string(ClothingCount()) + " clothing, " + std::to_string(PersonCount()) + " people, " +
                std::to_string(CustomerCount()) + " customers, " + std::to_string(Parser::SharedImageCount()) +
                " images";
        FreeDataTables();
    }
    std::filesystem::current_path(old, error);

    int errors = 0;
    int warnings = 0;
    std::vector<LintIssue> issues = host.Issues();
    std::stable_sort(issues.begin(), issues.end(), [](const LintIssue& a, const LintIssue& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    for (const LintIssue& issue : issues)
    {
        const bool isError = issue.severity == DataSeverity::Error;
        (isError ? errors : warnings) += 1;
        out << issue.file << ":" << issue.line << ": " << (isError ? "error" : "warning") << ": " << issue.what
            << "\n";
    }
    out << gameFolder << ": " << tally << "; " << errors << " error(s), " << warnings << " warning(s)\n";
    return errors > 0 ? 1 : 0;
}
