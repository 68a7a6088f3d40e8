// Text reader and the process-wide text tables. Money templates are checked once here, so the only format strings
// that ever reach printf hold exactly one conversion of the argument they are given.
#include "game/data/Localization.h"

#include "framework/xml/XMLParser.h"
#include "game/data/Money.h"
#include "game/data/ParserHost.h"

#include <climits>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{

std::map<std::string, std::string> gStrings;
std::vector<StoreText> gStoreTexts; // entry i belongs to store i + 1
std::vector<std::pair<std::string, std::string>> gCredits;
// The accepted money templates; empty when absent or refused.
std::string gMoneyTemplate;
std::string gMoneyTemplateDecimal;

const std::string kEmpty;
const StoreText kNoStoreText;
const LevelText kNoLevelText;

bool IsLevelKey(const std::string& key)
{
    return key == "begin" || key == "bossbegin" || key == "complete" || key == "dorviecomplete" || key == "fail";
}

// Checks one money template and keeps it, or refuses it with a warning at the line that set it.
void AcceptMoneyTemplate(const char* key, MoneyArg kind, std::string& accepted, ParserHost& host,
                         const std::string& file, const std::map<std::string, int>& lines)
{
    accepted.clear();
    auto it = gStrings.find(key);
    if (it == gStrings.end())
        return;
    if (IsValidMoneyTemplate(it->second, kind))
    {
        accepted = it->second;
        return;
    }
    auto line = lines.find(key);
    host.ReportDataIssue(DataSeverity::Warning, file, line == lines.end() ? 0 : line->second,
                         std::string(key) + " \"" + it->second + "\" must hold exactly one " +
                             (kind == MoneyArg::Integer ? "%d" : "%f") +
                             "-style conversion; money shows as empty text");
    gStrings.erase(it); // refused: reads as missing
}

template <typename T>
std::string FormatOne(const std::string& format, T value)
{
    const int size = std::snprintf(nullptr, 0, format.c_str(), value);
    if (size <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), value);
    return std::string(buffer.data(), static_cast<size_t>(size));
}

} // namespace

const std::string& LevelText::GetText(const std::string& key) const
{
    auto it = texts.find(key);
    return it == texts.end() ? kEmpty : it->second;
}

const std::string& StoreText::GetDescription(const std::string& customerName) const
{
    auto it = customerDescriptions.find(customerName);
    return it == customerDescriptions.end() ? kEmpty : it->second;
}

std::string ProcessLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n')
        {
            result += '\n';
            ++i;
        }
        else
        {
            result += text[i];
        }
    }
    return result;
}

bool IsValidMoneyTemplate(const std::string& format, MoneyArg kind)
{
    int conversions = 0;
    for (size_t i = 0; i < format.size(); ++i)
    {
        if (format[i] != '%')
            continue;
        ++i;
        if (i < format.size() && format[i] == '%')
            continue; // a literal percent sign
        while (i < format.size() && (format[i] == '-' || format[i] == '+' || format[i] == ' ' || format[i] == '#' ||
                                     format[i] == '0'))
            ++i;
        // Width and precision of at most three digits each: enough for money, never an overflow.
        int digits = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            ++i, ++digits;
        if (digits > 3)
            return false;
        if (i < format.size() && format[i] == '.')
        {
            ++i;
            digits = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                ++i, ++digits;
            if (digits > 3)
                return false;
        }
        if (i >= format.size())
            return false;
        const char c = format[i];
        const bool integer = c == 'd' || c == 'i';
        const bool real = c == 'f' || c == 'F' || c == 'e' || c == 'E' || c == 'g' || c == 'G';
        if (!(kind == MoneyArg::Integer ? integer : real))
            return false; // wrong kind, length modifiers, %s, %n, %*d, ...
        ++conversions;
    }
    return conversions == 1;
}

Localization::Localization(ParserHost& host) : Parser(host, "")
{
    ParseProperties("localization.xml");
    AcceptMoneyTemplate("money_template", MoneyArg::Integer, gMoneyTemplate, mHost, CurrentFile(), mKeyLines);
    AcceptMoneyTemplate("money_template_decimal", MoneyArg::Real, gMoneyTemplateDecimal, mHost, CurrentFile(),
                        mKeyLines);
}

void Localization::OnStartElement(const Zestra::ParsedElement& element)
{
    const std::string& tag = element.mText;
    if (tag == "store")
    {
        gStoreTexts.emplace_back();
        mStoreIndex = static_cast<int>(gStoreTexts.size()) - 1;
        mLevelIndex = -1;
    }
    else if (tag == "level" || tag == "minigame")
    {
        if (mStoreIndex < 0)
        {
            DataError("<" + tag + "> text comes before any <store>; ignored");
            return;
        }
        StoreText& store = gStoreTexts[static_cast<size_t>(mStoreIndex)];
        LevelText level;
        level.month = Attribute(element, "month");
        store.levelTexts.push_back(std::move(level));
        mLevelIndex = static_cast<int>(store.levelTexts.size()) - 1;
    }
    else if (tag == "customer")
    {
        if (mStoreIndex < 0)
        {
            DataError("<customer> description comes before any <store>; ignored");
            return;
        }
        gStoreTexts[static_cast<size_t>(mStoreIndex)].customerDescriptions[Attribute(element, "name")] =
            ProcessLineBreaks(Attribute(element, "description"));
    }
    else if (tag == "id")
    {
        gStrings[Attribute(element, "tag")] = ProcessLineBreaks(Attribute(element, "value"));
        mKeyLines[Attribute(element, "tag")] = CurrentLine();
    }
    else if (tag == "credit")
    {
        gCredits.emplace_back(Attribute(element, "title"), Attribute(element, "name"));
    }
    else
    {
        mKey = tag;
    }
}

void Localization::OnElementText(const Zestra::ParsedElement& element)
{
    // The rival's story texts share the boss slot of a level.
    if (mKey == "dorviebegin")
        mKey = "bossbegin";
    if (IsLevelKey(mKey))
    {
        if (mStoreIndex < 0 || mLevelIndex < 0)
        {
            DataError("level text \"" + mKey + "\" comes before any <level>; ignored");
            return;
        }
        gStoreTexts[static_cast<size_t>(mStoreIndex)].levelTexts[static_cast<size_t>(mLevelIndex)].texts[mKey] =
            ProcessLineBreaks(element.mText);
        return;
    }
    if (mKey.empty())
        return; // text outside any element names no key
    gStrings[mKey] = ProcessLineBreaks(element.mText);
    mKeyLines[mKey] = CurrentLine();
}

const std::string& GetText(const std::string& key)
{
    auto it = gStrings.find(key);
    return it == gStrings.end() ? kEmpty : it->second;
}

bool HasText(const std::string& key)
{
    return gStrings.count(key) != 0;
}

int StoreTextCount()
{
    return static_cast<int>(gStoreTexts.size());
}

const StoreText& GetStoreText(int storeNumber)
{
    if (storeNumber < 1 || storeNumber > static_cast<int>(gStoreTexts.size()))
        return kNoStoreText;
    return gStoreTexts[static_cast<size_t>(storeNumber) - 1];
}

const LevelText& GetLevelText(int storeNumber, int levelIndex)
{
    const StoreText& store = GetStoreText(storeNumber);
    if (levelIndex < 0 || levelIndex >= static_cast<int>(store.levelTexts.size()))
        return kNoLevelText;
    return store.levelTexts[static_cast<size_t>(levelIndex)];
}

const std::vector<std::pair<std::string, std::string>>& GetCredits()
{
    return gCredits;
}

std::string FormatMoney(double amount)
{
    if (std::isnan(amount))
        return std::string();
    // Whole cents decide, so an amount shows as the books keep it (a float would lose cents above a million).
    const std::int64_t cents = MoneyCents(amount);
    if (cents % 100 == 0)
    {
        if (gMoneyTemplate.empty())
            return std::string();
        const std::int64_t dollars = cents / 100;
        const int whole = dollars >= INT_MAX ? INT_MAX : dollars <= INT_MIN ? INT_MIN : static_cast<int>(dollars);
        return FormatOne(gMoneyTemplate, whole);
    }
    if (gMoneyTemplateDecimal.empty())
        return std::string();
    return FormatOne(gMoneyTemplateDecimal, static_cast<double>(cents) / 100.0);
}

std::string FormatMoneyWithCents(double amount)
{
    if (std::isnan(amount) || gMoneyTemplateDecimal.empty())
        return std::string();
    return FormatOne(gMoneyTemplateDecimal, static_cast<double>(MoneyCents(amount)) / 100.0);
}

void FreeTextTables()
{
    gStrings.clear();
    gStoreTexts.clear();
    gCredits.clear();
    gMoneyTemplate.clear();
    gMoneyTemplateDecimal.clear();
}
