// Reads "profiles.xml" into the process-wide profile table (ProfileTable.h) on the loading thread, after the store
// table, against which every store, level, upgrade and furniture number is checked. Progress for stores and levels
// the table lacks (data cut down, or from a later version) is kept unread and written back as it was, so it is
// never lost to this run's data. The file is untrusted: values
// out of range are dropped or brought into range with a message naming the file and line, and a file that cannot
// be read as a whole (cut short, not XML, too large, nested junk) is set aside as "profiles.xml.bad" and the backup
// "profiles.xml.bak" is read instead; with neither, every slot starts free. That costs one warning.
#pragma once

#include "game/data/Parser.h"
#include "game/profile/Profile.h"

#include <string>
#include <vector>

class ProfileManager : public Parser
{
public:
    // Reads "<dataFolder>/profiles.xml" (the per-user default folder when dataFolder is empty) and installs the
    // result, with default high-score tables up to one per playable store.
    ProfileManager(ParserHost& host, const std::string& dataFolder);
    // A reader that installs nothing: for ReadText alone.
    explicit ProfileManager(ParserHost& host);
    ~ProfileManager() = default;

    // Reads one profiles file held in text into set, reporting its problems as fileName:line through the host.
    // Returns why the file is damaged, or "" when it is sound (set then holds everything usable in it).
    std::string ReadText(const std::string& text, const std::string& fileName, ProfileSet& set);

private:
    struct Issue
    {
        int line;
        std::string what;
    };

    std::string Parse(const std::string& text, ProfileSet& set);
    void OnProfileElement(const Zestra::ParsedElement& element);
    void StartProfile(const Zestra::ParsedElement& element);
    void StartStore(const Zestra::ParsedElement& element);
    void StartLevel(const Zestra::ParsedElement& element);
    void StartState(const Zestra::ParsedElement& element);
    void AddFurniture(const Zestra::ParsedElement& element);
    void AddHintSeen(const Zestra::ParsedElement& element);
    void ReadStatistics(const Zestra::ParsedElement& element);
    void AddBestDay(const Zestra::ParsedElement& element);
    void AddAchievement(const Zestra::ParsedElement& element);
    void StartHighScoreTable();
    void AddHighScoreEntry(const Zestra::ParsedElement& element);
    void FinishRead();
    // Inside a profile beyond the eighth, whose contents are left out without further messages.
    bool InDroppedProfile() const;
    std::string ReadName(const Zestra::ParsedElement& element, const char* what);
    // value if it lies in low..high; otherwise a message and fallback.
    int Checked(int value, int low, int high, int fallback, const std::string& what);
    void Note(const std::string& what);
    void ReportIssues(const std::string& fileName);

    ProfileSet* mSet = nullptr;
    std::vector<Issue> mIssues;
    int mLine = 0;
    int mProfileCount = 0;   // "profile" elements seen, including those beyond the eighth
    Profile* mProfile = nullptr;     // the profile being read; null after the eighth or before the first
    int mStore = 0;                  // store of the following "level" elements; 0 none, -1 a dropped one
    bool mStoreKept = false;         // mStore is not in today's store table: its levels go to the kept states
    std::string* mKeptState = nullptr; // the kept saved game being read (furniture is appended to it)
    GameState* mState = nullptr;     // the saved game being read
    bool mStateDropped = false;      // its "state" was left out, so its furniture is too
    int mStateLines[kProfileSlots] = {}; // where each slot's saved game began, for the checks at the end
    int mTable = -1;                 // index of the high-score table being read; -1 none, -2 a dropped one
    bool mTableKept = false;         // mTable indexes the kept tables (stores beyond today's)
    std::vector<int> mTableLines;    // where each kept table began
    bool mTableOverflow = false;     // reported once per table
    bool mFurnitureOverflow = false; // reported once per saved game
    int mRootLine = 0;
};
