// The profiles reader. Elements are handled as the format defines them, flat, with a "current" profile, store and
// saved game; the nesting only matters for finding the end of the root, which is what tells a complete file from
// one cut short. Problems are collected while a file is read and reported only for the file that is then used.
#include "game/profile/ProfileManager.h"

#include "framework/xml/XMLParser.h"
#include "game/data/LevelStats.h"
#include "game/profile/ProfileFile.h"
#include "game/profile/ProfileTable.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <set>
#include <type_traits>

namespace
{

// The deepest path a real file has is "profiles/highscore-store"; junk nested far deeper would only cost time.
constexpr size_t kMaxElementPath = 64;
// The most lives a run can reach (a cheat word adds lives up to this).
constexpr int kMaxLives = 9;
constexpr int kMaxScore = 1000000000;
constexpr double kMaxCash = 1e9;
// A hostile file can hold thousands of bad values; the first few say enough.
constexpr size_t kMaxReportedIssues = 20;
// Progress for stores and levels that today's data lacks is kept, up to what any data could hold, so a hostile
// file still cannot make every save grow.
constexpr int kMaxKeptStores = 64;
constexpr int kMaxKeptLevels = 256;
constexpr size_t kMaxKeptStateBytes = 4096;
// Achievements of a later version kept unread; a hostile file cannot make the file grow past this many.
constexpr size_t kMaxKeptAchievements = 128;
constexpr long long kMaxStatCount = 1000000000000LL;
constexpr double kMaxStatMoney = 1e12;
// The deepest day number an achievement can carry.
constexpr int kMaxEarnedDay = 1000000000;

// Only a name a well-formed file could hold is written back: the reader is lenient, and a damaged name ("a b",
// "3") would read back as other attributes, so the kept entry would change at every save.
bool IsPlainName(const std::string& name)
{
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    for (unsigned char c : name)
        if (!(std::isalnum(c) || c == '_' || c == '-' || c == '.'))
            return false;
    return true;
}

// A start tag written back as the file spelled it (attributes in their order), for entries kept unread.
std::string KeptElementText(const Zestra::ParsedElement& element, bool selfClosing)
{
    std::string out = "<" + element.mText;
    std::set<std::string> written;
    for (const std::string& name : element.mAttrOrder)
        if (IsPlainName(name) && written.insert(name).second)
            out += " " + name + "=\"" + Zestra::EncodeEntities(Attribute(element, name)) + "\"";
    return out + (selfClosing ? "/>" : ">");
}

// A total of money as the statistics write it ("1234.56"), read without the float rounding of the other money
// figures and without the process locale. False for anything else.
bool ReadCents(const std::string& text, double& value)
{
    long long whole = 0;
    size_t at = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
    {
        whole = whole * 10 + (text[at] - '0');
        if (whole > static_cast<long long>(kMaxStatMoney))
            return false;
    }
    if (at == 0)
        return false;
    long long cents = 0;
    if (at < text.size() && text[at] == '.')
    {
        int digits = 0;
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at, ++digits)
            if (digits < 2)
                cents = cents * 10 + (text[at] - '0');
        if (digits == 1)
            cents *= 10;
    }
    if (at != text.size())
        return false;
    value = static_cast<double>(whole * 100 + cents) / 100.0;
    return true;
}

// Texts from the file go into messages cut short: a hostile file could make them a megabyte long.
std::string Shown(const std::string& text)
{
    constexpr size_t kShown = 40;
    return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

} // namespace

ProfileManager::ProfileManager(ParserHost& host) : Parser(host, "")
{
}

ProfileManager::ProfileManager(ParserHost& host, const std::string& dataFolder) : Parser(host, "")
{
    const std::string path = ProfilePathIn(dataFolder);
    ProfileSet set;
    std::string bytes;
    std::string damage;
    switch (ReadProfileFile(path, bytes, damage))
    {
    case ProfileFileRead::Read:
        damage = ReadText(bytes, path, set);
        if (damage.empty())
        {
            FillDefaultHighScores(set);
            InstallProfiles(std::move(set), path, true);
            return;
        }
        break;
    case ProfileFileRead::Failed:
        break;
    case ProfileFileRead::Missing:
        damage.clear();
        break;
    }

    // The main file is missing or damaged: set it aside so no later save can turn it into the backup, then try the
    // backup the last good save left.
    bool keepBackup = true;
    std::string warning;
    if (!damage.empty())
    {
        std::string asideError;
        warning = "the profiles file is damaged (" + damage + ")";
        if (SetProfileFileAside(path, asideError))
            warning += " and was set aside as profiles.xml.bad";
        else
        {
            keepBackup = false;
            warning += " and could not be set aside (" + asideError + ")";
        }
    }
    const std::string backup = path + ".bak";
    std::string backupDamage;
    const ProfileFileRead backupRead = ReadProfileFile(backup, bytes, backupDamage);
    if (backupRead == ProfileFileRead::Read)
    {
        SetLocation(backup, 0);
        backupDamage = Parse(bytes, set);
    }
    const bool backupUsed = backupRead == ProfileFileRead::Read && backupDamage.empty();
    if (backupUsed)
        warning = (warning.empty() ? std::string("the profiles file is missing") : warning) +
                  "; its backup profiles.xml.bak is used";
    else
    {
        set = ProfileSet{};
        if (backupRead != ProfileFileRead::Missing)
            warning = (warning.empty() ? std::string("the profiles file is missing") : warning) +
                      "; its backup is damaged too (" + backupDamage + "), so every profile slot starts empty";
        else if (!warning.empty())
            warning += "; there is no backup, so every profile slot starts empty";
    }
    if (!warning.empty())
    {
        SetLocation(path, 0);
        DataWarning(warning);
    }
    if (backupUsed)
        ReportIssues(backup);
    FillDefaultHighScores(set);
    InstallProfiles(std::move(set), path, keepBackup);
}

std::string ProfileManager::ReadText(const std::string& text, const std::string& fileName, ProfileSet& set)
{
    SetLocation(fileName, 0);
    std::string damage = Parse(text, set);
    if (damage.empty())
        ReportIssues(fileName);
    return damage;
}

std::string ProfileManager::Parse(const std::string& text, ProfileSet& set)
{
    set = ProfileSet{};
    mSet = &set;
    mIssues.clear();
    mLine = 0;
    mProfileCount = 0;
    mProfile = nullptr;
    mStore = 0;
    mStoreKept = false;
    mState = nullptr;
    mKeptState = nullptr;
    mStateDropped = false;
    std::fill(std::begin(mStateLines), std::end(mStateLines), 0);
    mTable = -1;
    mTableKept = false;
    mTableLines.clear();
    mFurnitureOverflow = false;
    mRootLine = 0;

    if (text.empty())
        return "the file is empty";
    Zestra::XMLParser reader;
    reader.OpenBuffer(text, CurrentFile());
    Zestra::ParsedElement element;
    bool inRoot = false;
    bool closed = false;
    // Reading stops at the end of the root: whatever follows it cannot change the profiles.
    while (!closed && reader.ReadNext(element))
    {
        mLine = reader.CurrentLine();
        if (element.mPath.size() > kMaxElementPath)
            return "elements nested too deeply at line " + std::to_string(mLine);
        if (element.mKind == Zestra::ParsedElement::Start)
        {
            if (inRoot)
                OnProfileElement(element);
            else if (element.mPath.empty() && element.mText == "profiles")
            {
                inRoot = true;
                mRootLine = mLine;
                set.selected = DataConvert::Integer(Attribute(element, "selected"));
            }
            else if (element.mPath.empty())
                Note("element <" + Shown(element.mText) + "> outside <profiles> is left out");
        }
        else if (element.mKind == Zestra::ParsedElement::End && inRoot && element.mPath == "profiles")
            closed = true;
    }
    if (reader.Failed())
        return "line " + std::to_string(reader.CurrentLine()) + ": " + reader.ErrorMessage();
    if (!inRoot)
        return "no <profiles> element";
    if (!closed)
        return "the file ends before </profiles>";
    FinishRead();
    return std::string();
}

void ProfileManager::OnProfileElement(const Zestra::ParsedElement& element)
{
    const std::string& tag = element.mText;
    if (tag == "profile")
        StartProfile(element);
    else if (tag == "store")
        StartStore(element);
    else if (tag == "level")
        StartLevel(element);
    else if (tag == "state")
        StartState(element);
    else if (tag == "furniture")
        AddFurniture(element);
    else if (tag == "hint")
        AddHintSeen(element);
    else if (tag == "statistics")
        ReadStatistics(element);
    else if (tag == "best-day")
        AddBestDay(element);
    else if (tag == "achievement")
        AddAchievement(element);
    else if (tag == "highscore-store")
        StartHighScoreTable();
    else if (tag == "highscore")
        AddHighScoreEntry(element);
    else
        Note("unknown element <" + Shown(tag) + "> is left out");
}

bool ProfileManager::InDroppedProfile() const
{
    return mProfileCount > kProfileSlots;
}

void ProfileManager::StartProfile(const Zestra::ParsedElement& element)
{
    mStore = 0;
    mStoreKept = false;
    mState = nullptr;
    mKeptState = nullptr;
    mStateDropped = false;
    const int slot = mProfileCount++;
    if (slot >= kProfileSlots)
    {
        if (slot == kProfileSlots)
            Note("more than " + std::to_string(kProfileSlots) + " profiles: this one and the later ones are left out");
        mProfile = nullptr;
        return;
    }
    mProfile = &mSet->profiles[static_cast<size_t>(slot)];
    mProfile->name = ReadName(element, "profile name");
    const std::string& unlocked = Attribute(element, "unlocked_stores");
    if (!unlocked.empty())
    {
        const int value = DataConvert::Integer(unlocked);
        const int top = std::max(1, StoreCount());
        if (value > top && value <= kMaxKeptStores)
        {
            // Stores that today's data lacks stay unlocked in the file for the day they are back.
            mProfile->unlockedStores = top;
            mProfile->keptUnlockedStores = value;
        }
        else
            mProfile->unlockedStores = Checked(value, 1, top, std::clamp(value, 1, top), "unlocked stores");
    }
}

void ProfileManager::StartStore(const Zestra::ParsedElement& element)
{
    if (mProfile == nullptr)
    {
        if (!InDroppedProfile())
            Note("<store> before any <profile> is left out");
        return;
    }
    const int number = DataConvert::Integer(Attribute(element, "number"));
    mStoreKept = GetStoreInfo(number) == nullptr;
    if (mStoreKept && (number < 1 || number > kMaxKeptStores))
    {
        Note("store " + std::to_string(number) + " can never exist; its level states are left out");
        mStore = -1;
        return;
    }
    mStore = number;
    if (mStoreKept)
        mProfile->keptLevelStates[number];
    else
        mProfile->levelStates[number]; // an empty store entry is kept, as it was written
}

void ProfileManager::StartLevel(const Zestra::ParsedElement& element)
{
    if (mProfile == nullptr || mStore <= 0)
    {
        if (!InDroppedProfile() && mStore == 0)
            Note("<level> outside a <store> is left out");
        return;
    }
    const int number = DataConvert::Integer(Attribute(element, "number"));
    const int state = DataConvert::Integer(Attribute(element, "state"));
    if (state < kLevelNeverStarted || state > kLevelPassedExpert)
    {
        Note("level state " + std::to_string(state) + " is not one of 0 to 3; the level reads as never started");
        return;
    }
    const StoreInfo* store = GetStoreInfo(mStore);
    if (mStoreKept || store->GetLevel(number) == nullptr)
    {
        if (number < 0 || number > kMaxKeptLevels)
        {
            Note("level " + std::to_string(number) + " can never exist; its state is left out");
            return;
        }
        mProfile->keptLevelStates[mStore][number] = state;
        return;
    }
    mProfile->levelStates[mStore][number] = state;
}

void ProfileManager::StartState(const Zestra::ParsedElement& element)
{
    mState = nullptr;
    mKeptState = nullptr;
    mStateDropped = true;
    mFurnitureOverflow = false;
    if (mProfile == nullptr)
    {
        if (!InDroppedProfile())
            Note("<state> before any <profile> is left out");
        return;
    }
    const int number = DataConvert::Integer(Attribute(element, "store"));
    const StoreInfo* store = GetStoreInfo(number);
    if (store == nullptr)
    {
        if (number < 1 || number > kMaxKeptStores || mProfile->savedGame)
        {
            // An earlier saved game of the profile stays: only a valid one replaces it.
            Note("the saved game is for store " + std::to_string(number) + ", which does not exist; it is left out");
            return;
        }
        // Kept as written (with its furniture, appended as it is read) for the day the store is back.
        mProfile->keptSavedGame = KeptElementText(element, false);
        mKeptState = &mProfile->keptSavedGame;
        mStateDropped = false;
        return;
    }
    auto attribute = [&](const char* name) { return DataConvert::Integer(Attribute(element, name)); };
    auto clamped = [&](const char* name, int low, int high, const std::string& what) {
        const int value = attribute(name);
        return Checked(value, low, high, std::clamp(value, low, high), what);
    };
    GameState run;
    run.storeNumber = number;
    run.store = store;
    run.levelIndex = clamped("level", 0, std::max(0, static_cast<int>(store->levels.size()) - 1), "saved level");
    const int rooms = store->initialChangingRooms;
    run.changingRooms =
        clamped("changing_rooms", rooms, rooms + static_cast<int>(store->changingRoomPrices.size()), "changing rooms");
    run.merchantLevel =
        clamped("merchant_level", 0, std::max(0, static_cast<int>(store->merchantLevels.size()) - 1), "merchant level");
    run.drinks = clamped("drinks", 0, std::max({0, store->initialDrinks, store->maxDrinks}), "drinks");
    run.goodieRack = clamped("goodie_rack", 0, 1, "goodie rack");
    run.lives = clamped("lives", 0, kMaxLives, "lives");
    // The score is kept whole: its fraction is dropped on reading.
    run.score = Checked(attribute("score"), 0, kMaxScore, 0, "score");
    const double cash = DataConvert::Real(Attribute(element, "cash"));
    if (cash >= 0.0 && cash <= kMaxCash)
        run.cash = cash;
    else
        Note("cash " + Shown(Attribute(element, "cash")) + " is outside 0 to 1000000000; 0 is used");
    mProfile->savedGame = std::move(run);
    mProfile->keptSavedGame.clear();
    mState = &*mProfile->savedGame;
    mStateDropped = false;
    mStateLines[mProfile - mSet->profiles.data()] = mLine;
}

void ProfileManager::AddFurniture(const Zestra::ParsedElement& element)
{
    if (mKeptState != nullptr)
    {
        if (mKeptState->size() < kMaxKeptStateBytes)
            *mKeptState += KeptElementText(element, true);
        return;
    }
    if (mState == nullptr)
    {
        if (!InDroppedProfile() && !mStateDropped)
            Note("<furniture> outside a saved game is left out");
        return;
    }
    const std::vector<FloorSpot>& spots = mState->store->floorSpots;
    const size_t spot = mState->furnitureLevels.size();
    if (spot >= spots.size())
    {
        if (!mFurnitureOverflow)
            Note("store " + std::to_string(mState->storeNumber) + " has only " + std::to_string(spots.size()) +
                 " floor spots; further furniture is left out");
        mFurnitureOverflow = true;
        return;
    }
    const int value = DataConvert::Integer(Attribute(element, "level"));
    const int last = static_cast<int>(spots[spot].upgrades.size()) - 1;
    mState->furnitureLevels.push_back(Checked(value, -1, last, std::clamp(value, -1, std::max(-1, last)),
                                              "furniture level of spot " + std::to_string(spot)));
}

void ProfileManager::AddHintSeen(const Zestra::ParsedElement& element)
{
    if (mProfile == nullptr)
    {
        if (!InDroppedProfile())
            Note("<hint> before any <profile> is left out");
        return;
    }
    const std::string& name = Attribute(element, "name");
    if (!IsPlainName(name) || name.size() > kMaxHintNameBytes)
    {
        Note("hint name \"" + Shown(name) + "\" is left out");
        return;
    }
    if (mProfile->hintsSeen.size() >= kMaxHintsSeen && !mProfile->hintsSeen.count(name))
    {
        Note("more than " + std::to_string(kMaxHintsSeen) + " hints seen: \"" + name + "\" is left out");
        return;
    }
    mProfile->hintsSeen.insert(name);
}

void ProfileManager::ReadStatistics(const Zestra::ParsedElement& element)
{
    if (mProfile == nullptr)
    {
        if (!InDroppedProfile())
            Note("<statistics> before any <profile> is left out");
        return;
    }
    PlayerStats& stats = mProfile->stats;
    auto count = [&](const char* name, auto& into) {
        const std::string& text = Attribute(element, name);
        const long long value = text.empty() ? 0 : std::atoll(text.c_str());
        if (value < 0 || value > kMaxStatCount)
        {
            Note(std::string("statistic ") + name + " " + Shown(text) + " is out of range; 0 is used");
            into = 0;
            return;
        }
        into = static_cast<std::remove_reference_t<decltype(into)>>(
            std::min<long long>(value, std::numeric_limits<std::remove_reference_t<decltype(into)>>::max()));
    };
    auto money = [&](const char* name, double& into) {
        const std::string& text = Attribute(element, name);
        double value = 0.0;
        if (!text.empty() && !ReadCents(text, value))
        {
            Note(std::string("statistic ") + name + " " + Shown(text) + " is out of range; 0 is used");
            into = 0.0;
            return;
        }
        into = value;
    };
    count("served", stats.customersServed);
    count("lost", stats.customersLost);
    count("days", stats.daysPlayed);
    count("passed", stats.daysPassed);
    count("expert", stats.daysExpert);
    count("time", stats.timeTicks);
    count("drinks", stats.drinksGiven);
    count("upgrades", stats.upgradesBought);
    count("memory_perfect", stats.perfectMemoryStages);
    count("expert_streak", stats.expertStreak);
    count("stores_done", stats.storesCompleted);
    money("money", stats.money);
    money("tips", stats.tips);
    money("memory_best", stats.memoryBest);
}

void ProfileManager::AddBestDay(const Zestra::ParsedElement& element)
{
    if (mProfile == nullptr)
    {
        if (!InDroppedProfile())
            Note("<best-day> before any <profile> is left out");
        return;
    }
    const int store = DataConvert::Integer(Attribute(element, "store"));
    double value = 0.0;
    // Stores today's data lacks keep their best day like their progress, up to what any data could hold.
    if (store < 1 || store > kMaxKeptStores || !ReadCents(Attribute(element, "money"), value))
    {
        Note("the best day of store " + std::to_string(store) + " is out of range; it is left out");
        return;
    }
    mProfile->stats.bestDay[store] = value;
}

void ProfileManager::AddAchievement(const Zestra::ParsedElement& element)
{
    if (mProfile == nullptr)
    {
        if (!InDroppedProfile())
            Note("<achievement> before any <profile> is left out");
        return;
    }
    const std::string& id = Attribute(element, "id");
    if (FindAchievement(id) == nullptr)
    {
        // One from a later version: written back as it was, for the version that knows it.
        if (mProfile->keptAchievements.size() < kMaxKeptAchievements)
            mProfile->keptAchievements.push_back(KeptElementText(element, true));
        else
            Note("too many unknown achievements; achievement \"" + Shown(id) + "\" is left out");
        return;
    }
    const int day = Checked(DataConvert::Integer(Attribute(element, "earned")), 1, kMaxEarnedDay, 1,
                            "the day achievement " + id + " was earned");
    mProfile->achievements.emplace(id, day);
}

void ProfileManager::StartHighScoreTable()
{
    mTableOverflow = false;
    mTableKept = false;
    // One table per store, and tables of stores beyond today's data are kept for later; more than any data could
    // have stores would only grow the file at every save.
    if (static_cast<int>(mSet->highScores.size()) >= StoreCount())
    {
        if (static_cast<int>(mSet->highScores.size() + mSet->keptHighScores.size()) >= kMaxKeptStores)
        {
            if (mTable != -2)
                Note("more high-score tables than there can be stores; the extra tables are left out");
            mTable = -2;
            return;
        }
        mSet->keptHighScores.emplace_back();
        mTable = static_cast<int>(mSet->keptHighScores.size()) - 1;
        mTableKept = true;
        return;
    }
    mSet->highScores.emplace_back();
    mTable = static_cast<int>(mSet->highScores.size()) - 1;
    mTableLines.push_back(mLine);
}

void ProfileManager::AddHighScoreEntry(const Zestra::ParsedElement& element)
{
    if (mTable == -2)
        return;
    if (mTable < 0)
    {
        Note("<highscore> before any <highscore-store> is left out");
        return;
    }
    std::vector<HighScoreEntry>& entries =
        (mTableKept ? mSet->keptHighScores : mSet->highScores)[static_cast<size_t>(mTable)].entries;
    if (entries.size() >= static_cast<size_t>(kHighScoreRows))
    {
        if (!mTableOverflow)
            Note("a high-score table has more than " + std::to_string(kHighScoreRows) +
                 " rows; the extra rows are left out");
        mTableOverflow = true;
        return;
    }
    entries.push_back({ReadName(element, "high-score name"), DataConvert::Integer(Attribute(element, "score"))});
}

void ProfileManager::FinishRead()
{
    for (int slot = 0; slot < kProfileSlots; ++slot)
    {
        std::optional<GameState>& run = mSet->profiles[static_cast<size_t>(slot)].savedGame;
        if (!run)
            continue;
        const size_t spots = run->store->floorSpots.size();
        if (run->furnitureLevels.size() < spots)
        {
            mIssues.push_back({mStateLines[slot], "the saved game lists furniture for " +
                                                      std::to_string(run->furnitureLevels.size()) + " of " +
                                                      std::to_string(spots) +
                                                      " floor spots; the others start as in a new game"});
            const GameState fresh = NewGameState(run->store);
            for (size_t spot = run->furnitureLevels.size(); spot < spots; ++spot)
                run->furnitureLevels.push_back(fresh.furnitureLevels[spot]);
        }
        run->RebuildMannequinClothing();
    }

    const HighScoreTable defaults = DefaultHighScoreTable();
    for (size_t t = 0; t < mSet->highScores.size(); ++t)
    {
        std::vector<HighScoreEntry>& entries = mSet->highScores[t].entries;
        if (entries.size() >= static_cast<size_t>(kHighScoreRows))
            continue;
        mIssues.push_back({mTableLines[t], "a high-score table has " + std::to_string(entries.size()) + " of " +
                                               std::to_string(kHighScoreRows) + " rows; default rows fill it"});
        // Filled rows never score above the row before them, so the table stays in order.
        while (entries.size() < static_cast<size_t>(kHighScoreRows))
        {
            HighScoreEntry row = defaults.entries[entries.size()];
            if (!entries.empty())
                row.score = std::min(row.score, entries.back().score);
            entries.push_back(row);
        }
    }

    const int selected = mSet->selected;
    if (selected != -1 &&
        (selected < 0 || selected >= kProfileSlots || mSet->profiles[static_cast<size_t>(selected)].IsFree()))
    {
        mIssues.push_back({mRootLine, "the selected profile " + std::to_string(selected) +
                                          " is not a used slot; nobody is selected"});
        mSet->selected = -1;
    }
}

std::string ProfileManager::ReadName(const Zestra::ParsedElement& element, const char* what)
{
    const std::string& name = Attribute(element, "name");
    std::string clean = CleanProfileName(name);
    if (clean != name)
        Note(std::string("the ") + what + " " + "\"" + clean + "\"" +
             " had control characters or was too long; it was shortened");
    return clean;
}

int ProfileManager::Checked(int value, int low, int high, int fallback, const std::string& what)
{
    if (value >= low && value <= high)
        return value;
    Note(what + " " + std::to_string(value) + " is outside " + std::to_string(low) + " to " + std::to_string(high) +
         "; " + std::to_string(fallback) + " is used");
    return fallback;
}

void ProfileManager::Note(const std::string& what)
{
    mIssues.push_back({mLine, what});
}

void ProfileManager::ReportIssues(const std::string& fileName)
{
    const size_t shown = std::min(mIssues.size(), kMaxReportedIssues);
    for (size_t i = 0; i < shown; ++i)
    {
        SetLocation(fileName, mIssues[i].line);
        DataError(mIssues[i].what);
    }
    if (mIssues.size() > shown)
    {
        SetLocation(fileName, 0);
        DataError(std::to_string(mIssues.size() - shown) + " more problems are not listed");
    }
    mIssues.clear();
}
