// Defaults and name rules shared by the profile reader, the table and the screens.
#include "game/profile/Profile.h"

HighScoreTable DefaultHighScoreTable()
{
    HighScoreTable table;
    for (int row = 0; row < kHighScoreRows; ++row)
        table.entries.push_back({"XXXXX", 1000 - 100 * row});
    return table;
}

bool NameAcceptsChar(const std::string& name, char ch)
{
    if (name.size() >= kNameEntryLength)
        return false;
    // Plain ASCII letters only: every game font has them, and names go into the profiles file without escaping.
    const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    return letter || (ch == ' ' && !name.empty());
}

std::string CleanProfileName(const std::string& name)
{
    std::string clean;
    for (char c : name)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            continue; // the file has no way to carry these
        if (clean.size() == kMaxProfileNameBytes)
            break;
        clean.push_back(c);
    }
    return clean;
}
