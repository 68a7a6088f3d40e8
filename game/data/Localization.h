// Localized text: Localization reads "properties/localization.xml" into the process-wide text tables (global
// strings by key, per-store customer descriptions and level texts, credits). Written only on the loading thread;
// lookups are find-only and read a missing key as empty text. Money is formatted through the file's two templates,
// which are accepted only when each holds exactly one conversion of the right kind.
#pragma once

#include "game/data/Parser.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct LevelText
{
    std::string month; // the level's title
    std::map<std::string, std::string> texts; // "begin", "bossbegin", "complete", "dorviecomplete", "fail"

    const std::string& GetText(const std::string& key) const; // empty when absent
};

struct StoreText
{
    std::map<std::string, std::string> customerDescriptions; // by customer name
    std::vector<LevelText> levelTexts; // entry i belongs to entry i of the store's level list

    const std::string& GetDescription(const std::string& customerName) const; // empty when absent
};

class Localization : public Parser
{
public:
    explicit Localization(ParserHost& host);
    ~Localization() = default;

protected:
    void OnStartElement(const Zestra::ParsedElement& element) override;
    void OnElementText(const Zestra::ParsedElement& element) override;

private:
    int mStoreIndex = -1; // into the store texts; -1 before the first "store"
    int mLevelIndex = -1; // into the current store's level texts
    std::string mKey;
    std::map<std::string, int> mKeyLines; // line that last set each global string, for reports
};

// Every "\n" pair (backslash, letter n) becomes a line break.
std::string ProcessLineBreaks(const std::string& text);

// Kind of argument a money template is given.
enum class MoneyArg
{
    Integer, // d or i
    Real,    // f, F, e, E, g or G
};
// True when format holds exactly one conversion of that kind (flags, width up to 3 digits and precision allowed)
// besides any number of "%%"; nothing else ever reaches printf.
bool IsValidMoneyTemplate(const std::string& format, MoneyArg kind);

// The text tables, read-only after publication.
const std::string& GetText(const std::string& key); // empty when absent; never inserts
bool HasText(const std::string& key);
int StoreTextCount();
const StoreText& GetStoreText(int storeNumber);                   // shared empty record when absent
const LevelText& GetLevelText(int storeNumber, int levelIndex);   // shared empty record when absent
const std::vector<std::pair<std::string, std::string>>& GetCredits(); // (title, name), file order
// The amount in whole cents: with no cents it goes through "money_template" as an int, otherwise through
// "money_template_decimal" as a double; a missing or refused template gives empty text.
std::string FormatMoney(double amount);
// Always through "money_template_decimal", for figures that stand in a column (a sum and its parts).
std::string FormatMoneyWithCents(double amount);
void FreeTextTables();

// Global string keys the game looks up by fixed name (keys built at run time are not listed).
extern const std::vector<std::string> kLocalizationKeys;
