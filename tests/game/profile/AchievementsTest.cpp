#include "ProfileTestSupport.h"

#include "game/profile/Achievements.h"
#include "game/profile/ProfileFile.h"

#include <algorithm>
#include <set>

namespace
{

PlayEvent Served(int dayTick)
{
    PlayEvent e;
    e.kind = PlayEventKind::CustomerServed;
    e.sale = 20.0;
    e.dayTick = dayTick;
    return e;
}

// A passed day on the floor: 10 served, none lost, $200 against a $150 goal, drinks used, lives intact.
PlayEvent Day(int result = kEventDayPassed)
{
    PlayEvent e;
    e.kind = PlayEventKind::DayEnded;
    e.storeNumber = 1;
    e.levelIndex = 3;
    e.result = result;
    e.money = 200.0;
    e.tips = 20.0;
    e.goal = 150.0;
    e.served = 10;
    e.lost = 2;
    e.ticks = 15000;
    e.drinksOnHand = true;
    e.drinksUsed = 1;
    e.runLives = 4;
    e.storeLevels = 13;
    e.storeExpertDays = 1;
    return e;
}

template <class Edit> PlayEvent DayWith(Edit edit, int result = kEventDayPassed)
{
    PlayEvent e = Day(result);
    edit(e);
    return e;
}

PlayEvent Kind(PlayEventKind kind)
{
    PlayEvent e;
    e.kind = kind;
    return e;
}

PlayerStats StatsWith(void (*edit)(PlayerStats&))
{
    PlayerStats s;
    edit(s);
    return s;
}

} // namespace

// Each rule against the event just short of it and the event that earns it. Everything the rule does not name is
// the plain passed day (or a fresh player), which earns none of the achievements tried here.
TEST(Achievements, EachRuleEarnsExactlyOnItsCondition)
{
    struct Case
    {
        const char* id;
        PlayerStats before;
        PlayEvent event;
        bool earned;
    };
    const PlayerStats fresh;
    const Case cases[] = {
        {"first_sale", fresh, Served(90000), true},
        {"first_sale", fresh, Kind(PlayEventKind::CustomerLost), false},
        {"first_day", fresh, Day(), true},
        {"first_day", fresh, Day(kEventDayFailed), false},
        {"first_day", fresh, DayWith([](PlayEvent& e) { e.minigame = true; }), false},
        {"quick_hands", fresh, Served(6000), true},
        {"quick_hands", fresh, Served(6001), false},
        {"nobody_left", fresh, DayWith([](PlayEvent& e) { e.lost = 0; }), true},
        {"nobody_left", fresh, DayWith([](PlayEvent& e) { e.lost = 0; }, kEventDayFailed), false},
        {"nobody_left", fresh, DayWith([](PlayEvent& e) { e.lost = 0, e.served = 0; }), false},
        {"nobody_left", fresh, Day(), false},
        {"tip_jar", fresh, DayWith([](PlayEvent& e) { e.tips = 50.0; }), true},
        {"tip_jar", fresh, DayWith([](PlayEvent& e) { e.tips = 49.99; }), false},
        {"generous_crowd", StatsWith([](PlayerStats& s) { s.tips = 980.0; }), Day(), true},
        {"generous_crowd", StatsWith([](PlayerStats& s) { s.tips = 979.0; }), Day(), false},
        {"expert_day", fresh, Day(kEventDayExpert), true},
        {"expert_day", fresh, DayWith([](PlayEvent& e) { e.minigame = true; }, kEventDayExpert), false},
        {"on_a_roll", StatsWith([](PlayerStats& s) { s.expertStreak = 2; }), Day(kEventDayExpert), true},
        {"on_a_roll", StatsWith([](PlayerStats& s) { s.expertStreak = 2; }), Day(), false},
        {"on_a_roll", StatsWith([](PlayerStats& s) { s.expertStreak = 1; }), Day(kEventDayExpert), false},
        {"perfectionist", fresh, DayWith([](PlayEvent& e) { e.storeExpertDays = 13; }, kEventDayExpert), true},
        {"perfectionist", fresh, DayWith([](PlayEvent& e) { e.storeExpertDays = 12; }, kEventDayExpert), false},
        {"grand_opening", fresh, DayWith([](PlayEvent& e) { e.storeCompleted = true; }), true},
        {"grand_opening", fresh, Day(), false},
        {"tycoon", fresh, DayWith([](PlayEvent& e) { e.storeCompleted = e.gameCompleted = true; }), true},
        {"tycoon", fresh, DayWith([](PlayEvent& e) { e.storeCompleted = true; }), false},
        {"steady_hands", fresh, DayWith([](PlayEvent& e) { e.storeCompleted = true; }), true},
        {"steady_hands", fresh, DayWith([](PlayEvent& e) { e.storeCompleted = true, e.livesLostInStore = 1; }),
         false},
        {"last_chance", fresh, DayWith([](PlayEvent& e) { e.runLives = 1; }), true},
        {"last_chance", fresh, DayWith([](PlayEvent& e) { e.runLives = 2; }), false},
        {"investor", fresh, Kind(PlayEventKind::UpgradeBought), true},
        {"investor", fresh, Kind(PlayEventKind::DrinkGiven), false},
        {"fully_stocked", fresh, Kind(PlayEventKind::UpgradeBought), true},
        {"fully_stocked", fresh, [] { PlayEvent e = Kind(PlayEventKind::UpgradeBought); e.offersLeft = 1; return e; }(),
         false},
        {"big_spender", StatsWith([](PlayerStats& s) { s.upgradesBought = 9; }), Kind(PlayEventKind::UpgradeBought),
         true},
        {"big_spender", StatsWith([](PlayerStats& s) { s.upgradesBought = 8; }), Kind(PlayEventKind::UpgradeBought),
         false},
        {"sharp_eye", fresh,
         [] { PlayEvent e = Kind(PlayEventKind::MemoryStage); e.stage = 1, e.matches = e.needed = 4; return e; }(),
         true},
        {"sharp_eye", fresh,
         [] {
             PlayEvent e = Kind(PlayEventKind::MemoryStage);
             e.stage = 1, e.matches = e.needed = 4, e.misses = 1;
             return e;
         }(),
         false},
        {"sharp_eye", fresh,
         [] { PlayEvent e = Kind(PlayEventKind::MemoryStage); e.stage = 1, e.matches = 3, e.needed = 4; return e; }(),
         false},
        {"encore", fresh, [] { PlayEvent e = Kind(PlayEventKind::MemoryStage); e.stage = 2; return e; }(), true},
        {"encore", fresh, [] { PlayEvent e = Kind(PlayEventKind::MemoryStage); e.stage = 1; return e; }(), false},
        {"jackpot", fresh, DayWith([](PlayEvent& e) { e.minigame = true, e.money = 1000.0; }, kEventDayExpert), true},
        {"jackpot", fresh, DayWith([](PlayEvent& e) { e.money = 1000.0; }), false},
        {"dry_day", fresh, DayWith([](PlayEvent& e) { e.drinksUsed = 0; }), true},
        {"dry_day", fresh, DayWith([](PlayEvent& e) { e.drinksUsed = 0, e.drinksOnHand = false; }), false},
        {"dry_day", fresh, Day(), false},
        {"refreshing", StatsWith([](PlayerStats& s) { s.drinksGiven = 24; }), Kind(PlayEventKind::DrinkGiven), true},
        {"refreshing", StatsWith([](PlayerStats& s) { s.drinksGiven = 23; }), Kind(PlayEventKind::DrinkGiven),
         false},
        {"regulars", StatsWith([](PlayerStats& s) { s.customersServed = 99; }), Served(90000), true},
        {"regulars", StatsWith([](PlayerStats& s) { s.customersServed = 99; }), Day(), false},
        {"crowd_pleaser", StatsWith([](PlayerStats& s) { s.customersServed = 499; }), Served(90000), true},
        {"well_off", StatsWith([](PlayerStats& s) { s.money = 9800.0; }), Day(), true},
        {"well_off", StatsWith([](PlayerStats& s) { s.money = 9799.0; }), Day(), false},
        {"mogul", StatsWith([](PlayerStats& s) { s.money = 49800.0; }), Day(), true},
        {"record_day", fresh, DayWith([](PlayEvent& e) { e.money = 1000.0; }), true},
        {"record_day", fresh, DayWith([](PlayEvent& e) { e.money = 999.99; }), false},
        {"full_house", fresh, DayWith([](PlayEvent& e) { e.served = 15; }, kEventDayFailed), true},
        {"full_house", fresh, DayWith([](PlayEvent& e) { e.served = 14; }), false},
        {"photo_finish", fresh, DayWith([](PlayEvent& e) { e.money = 159.99; }), true},
        {"photo_finish", fresh, DayWith([](PlayEvent& e) { e.money = 160.0; }), false},
        {"photo_finish", fresh, DayWith([](PlayEvent& e) { e.money = 100.0; }, kEventDayFailed), false},
        {"dedicated", StatsWith([](PlayerStats& s) { s.daysPlayed = 49; }), Day(kEventDayFailed), true},
        {"dedicated", StatsWith([](PlayerStats& s) { s.daysPlayed = 48; }), Day(), false},
        {"time_flies", StatsWith([](PlayerStats& s) { s.timeTicks = 720000 - 15000; }), Day(kEventDayFailed), true},
        {"time_flies", StatsWith([](PlayerStats& s) { s.timeTicks = 720000 - 15001; }), Day(), false},
    };
    std::set<std::string> tried;
    for (const Case& c : cases)
    {
        ASSERT_NE(FindAchievement(c.id), nullptr) << c.id;
        tried.insert(c.id);
        PlayerStats stats = c.before;
        EarnedAchievements earned;
        const std::vector<std::string> fresh = RecordPlayEvent(stats, earned, c.event);
        const bool got = std::find(fresh.begin(), fresh.end(), c.id) != fresh.end();
        EXPECT_EQ(got, c.earned) << c.id << " with event kind " << int(c.event.kind);
        EXPECT_EQ(earned.count(c.id) != 0, c.earned) << c.id;
    }
    for (const AchievementInfo& info : AchievementTable())
        EXPECT_TRUE(tried.count(info.id)) << info.id << " has no case";
}

// Ids are what the file keeps, icons the cels of one picture, keys the texts: each must be its own.
TEST(Achievements, IdsIconsAndTextsAreDistinct)
{
    std::set<std::string> ids;
    std::set<std::string> keys;
    std::set<int> icons;
    const size_t count = AchievementTable().size();
    for (const AchievementInfo& info : AchievementTable())
    {
        EXPECT_TRUE(ids.insert(info.id).second) << info.id;
        EXPECT_TRUE(keys.insert(info.nameKey).second) << info.nameKey;
        EXPECT_TRUE(keys.insert(info.textKey).second) << info.textKey;
        EXPECT_TRUE(icons.insert(info.icon).second) << info.id;
        EXPECT_GE(info.icon, 0);
        EXPECT_LT(info.icon, int(count)) << "the icons picture has one cel per achievement";
        EXPECT_EQ(FindAchievement(info.id), &info);
    }
    EXPECT_EQ(FindAchievement("from_a_later_version"), nullptr);
}

// Statistics add up a sequence of days; an achievement is earned once, on the day it happened.
TEST(Achievements, StatisticsAddUpAndAchievementsKeepTheirFirstDay)
{
    PlayerStats stats;
    EarnedAchievements earned;
    RecordPlayEvent(stats, earned, Served(9000));
    EXPECT_EQ(earned.at("first_sale"), 1) << "a sale on the first day belongs to day 1";
    RecordPlayEvent(stats, earned, Kind(PlayEventKind::CustomerLost));
    RecordPlayEvent(stats, earned, Day(kEventDayExpert));
    RecordPlayEvent(stats, earned, DayWith([](PlayEvent& e) { e.minigame = true, e.money = 640.0; }, kEventDayExpert));
    RecordPlayEvent(stats, earned, DayWith([](PlayEvent& e) { e.money = 320.0; }, kEventDayExpert));
    EXPECT_EQ(stats.expertStreak, 2) << "a memory game day neither makes nor breaks a streak";
    RecordPlayEvent(stats, earned, DayWith([](PlayEvent& e) { e.money = 90.0, e.storeNumber = 2; }, kEventDayFailed));
    RecordPlayEvent(stats, earned, Served(9000));

    EXPECT_EQ(stats.customersServed, 2);
    EXPECT_EQ(stats.customersLost, 1);
    EXPECT_EQ(stats.daysPlayed, 4);
    EXPECT_EQ(stats.daysPassed, 3);
    EXPECT_EQ(stats.daysExpert, 3);
    EXPECT_EQ(stats.expertStreak, 0);
    EXPECT_DOUBLE_EQ(stats.money, 200.0 + 640.0 + 320.0 + 90.0);
    EXPECT_DOUBLE_EQ(stats.tips, 80.0);
    EXPECT_EQ(stats.bestDay, (std::map<int, double>{{1, 640.0}, {2, 90.0}}));
    EXPECT_DOUBLE_EQ(stats.memoryBest, 640.0);
    EXPECT_EQ(stats.timeTicks, 60000);
    EXPECT_EQ(earned.at("first_sale"), 1) << "earned once";
    EXPECT_EQ(earned.at("first_day"), 1) << "a day's end is the day it ends";
    EXPECT_EQ(earned.at("expert_day"), 1);
    EXPECT_EQ(earned.count("on_a_roll"), 0u);
}

// An old file has no statistics and no achievements: it loads as a fresh record and saves byte for byte. A file
// from a later version keeps the achievements this one does not know, as they were written.
TEST_F(ProfileTest, AchievementsAndStatisticsRoundTripWithUnknownOnesKept)
{
    const std::string old = File("<profile name=\"Old\" unlocked_stores=\"2\"><store number=\"1\"><level number=\"0\" "
                                 "state=\"2\"/></store></profile>",
                                 0);
    WriteMain(old);
    Load();
    EXPECT_TRUE(host.issues.empty());
    EXPECT_EQ(GetProfile(0)->stats, PlayerStats{});
    EXPECT_TRUE(GetProfile(0)->achievements.empty());
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadMain(), FormatProfiles(GetProfiles()));
    EXPECT_EQ(ReadMain().find("statistics"), std::string::npos);

    const std::string busy =
        "<profiles selected=\"0\"><profile name=\"New\" unlocked_stores=\"1\">"
        "<statistics served=\"321\" lost=\"12\" days=\"30\" passed=\"28\" expert=\"9\" time=\"480000\" drinks=\"4\" "
        "upgrades=\"7\" memory_perfect=\"1\" expert_streak=\"2\" stores_done=\"1\" money=\"12345678.91\" "
        "tips=\"1000.05\" memory_best=\"850.50\"/><best-day store=\"1\" money=\"490.70\"/><best-day store=\"9\" "
        "money=\"12.00\"/><achievement id=\"first_day\" earned=\"1\"/><achievement id=\"tip_jar\" earned=\"11\"/>"
        "<achievement id=\"moonwalk\" earned=\"7\" tier=\"gold &amp; blue\"/></profile>";
    std::string text = busy;
    for (int slot = 1; slot < kProfileSlots; ++slot)
        text += "<profile name=\"\" unlocked_stores=\"1\"></profile>";
    text += "</profiles>";
    FreeProfiles();
    WriteMain(text);
    Load();
    EXPECT_TRUE(host.issues.empty()) << host.issues[0].what;
    const Profile& profile = *GetProfile(0);
    EXPECT_EQ(profile.stats.customersServed, 321);
    EXPECT_EQ(profile.stats.timeTicks, 480000);
    EXPECT_DOUBLE_EQ(profile.stats.money, 12345678.91);
    EXPECT_EQ(profile.stats.bestDay.at(9), 12.0) << "a store today's data lacks keeps its best day";
    EXPECT_EQ(profile.achievements, (EarnedAchievements{{"first_day", 1}, {"tip_jar", 11}}));
    EXPECT_EQ(profile.keptAchievements.size(), 1u);
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadMain().substr(0, busy.size()), busy);

    // Playing on counts into what was read (so what it already deserved is earned now), and the unknown one
    // stays behind the known ones as it was.
    PlayEvent day;
    day.kind = PlayEventKind::DayEnded;
    day.storeNumber = 1;
    day.result = kEventDayPassed;
    day.money = 500.0;
    const std::vector<std::string> earned = RecordEvent(day);
    EXPECT_NE(std::find(earned.begin(), earned.end(), "well_off"), earned.end());
    EXPECT_EQ(GetProfile(0)->achievements.at("well_off"), 31);
    EXPECT_EQ(GetProfile(0)->stats.daysPlayed, 31);
    ASSERT_TRUE(SaveProfiles());
    const std::string saved = ReadMain();
    const size_t kept = saved.find("<achievement id=\"moonwalk\" earned=\"7\" tier=\"gold &amp; blue\"/></profile>");
    ASSERT_NE(kept, std::string::npos) << saved;
    EXPECT_GT(kept, saved.find("<achievement id=\"well_off\" earned=\"31\"/>"));

    SelectProfile(-1);
    EXPECT_TRUE(RecordEvent(day).empty()) << "nobody to record for";
    EXPECT_EQ(GetProfile(0)->stats.daysPlayed, 31);
}

// Counts and money out of range read as zero with a message; an achievement's day is at least 1.
TEST_F(ProfileTest, StatisticsOutOfRangeAreReportedAndZeroed)
{
    struct Case
    {
        std::string body;
        std::string message;
    };
    const Case cases[] = {
        {"<statistics served=\"-4\"/>", "statistic served -4"},
        {"<statistics money=\"1e30\"/>", "statistic money 1e30"},
        {"<statistics tips=\"-1.00\"/>", "statistic tips -1.00"},
        {"<best-day store=\"0\" money=\"5.00\"/>", "best day of store 0"},
        {"<achievement id=\"tip_jar\" earned=\"0\"/>", "the day achievement tip_jar was earned 0"},
    };
    for (const Case& c : cases)
    {
        FreeProfiles();
        WriteMain(File("<profile name=\"A\">\n" + c.body + "</profile>", 0));
        Load();
        EXPECT_NE(host.Find(c.message), nullptr) << c.body;
        const Profile& profile = *GetProfile(0);
        EXPECT_EQ(profile.stats.customersServed, 0) << c.body;
        EXPECT_EQ(profile.stats.money, 0.0) << c.body;
        EXPECT_TRUE(profile.stats.bestDay.empty()) << c.body;
        if (!profile.achievements.empty())
        {
            EXPECT_EQ(profile.achievements.at("tip_jar"), 1);
        }
        ASSERT_TRUE(SaveProfiles());
        const std::string saved = ReadMain();
        Load();
        EXPECT_TRUE(host.issues.empty()) << c.body;
        EXPECT_EQ(FormatProfiles(GetProfiles()), saved);
    }
}
