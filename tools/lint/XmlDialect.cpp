#include "tools/lint/XmlDialect.h"

#include "framework/xml/XMLParser.h"

#include <algorithm>
#include <initializer_list>
#include <set>
#include <string_view>

namespace
{

// Messages are joined piece by piece: GCC 12 misreads "literal" + string + "literal" as overlapping copies.
std::string Join(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (std::string_view part : parts)
        text.append(part);
    return text;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Length of a well-formed UTF-8 sequence of two or more bytes starting at at; 0 when there is none.
size_t Utf8SequenceAt(const std::string& data, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
    const unsigned lead = byte(at);
    size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > data.size())
        return 0;
    for (size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// The entity names the reader decodes; any other name reads as a lone "&".
bool KnownEntity(const std::string& name)
{
    static const char* const kKnown[] = {"lt", "amp", "gt", "quot", "apos", "nbsp", "cr"};
    return std::find(std::begin(kKnown), std::end(kKnown), name) != std::end(kKnown);
}

// The text scan: comments, declarations, entities, quoting and the character encoding.
void ScanText(const std::string& data, std::vector<DialectNote>& notes)
{
    const bool utf8Marked = data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0;
    enum class State
    {
        Text,
        Tag,
        Quoted,
        Comment
    } state = State::Text;
    int line = 1;
    bool utf8Noted = false;
    bool quoteNotedInTag = false;
    for (size_t i = utf8Marked ? 3 : 0; i < data.size(); ++i)
    {
        const char c = data[i];
        if (c == '\n')
            ++line;
        if (!utf8Marked && !utf8Noted && static_cast<unsigned char>(c) >= 0x80)
        {
            if (const size_t length = Utf8SequenceAt(data, i))
            {
                notes.push_back({line, Join({"\"", std::string_view(data).substr(i, length),
                                             "\" looks like UTF-8, but without a byte-order mark (EF BB BF) the file "
                                             "is read one byte per character (Latin-1), so it shows as other letters"})});
                utf8Noted = true;
            }
        }
        switch (state)
        {
        case State::Comment:
            if (data.compare(i, 3, "-->") == 0)
            {
                state = State::Text;
                i += 2;
            }
            break;
        case State::Text:
        case State::Quoted:
            if (c == '&')
            {
                // Entities decode within one text or value; the reader looks for the next ";".
                const size_t end = data.find_first_of(";<>\"&\n", i + 1);
                if (end != std::string::npos && data[end] == ';')
                {
                    const std::string name = data.substr(i + 1, end - i - 1);
                    if (!name.empty() && name[0] == '#')
                        notes.push_back({line, Join({"\"&", name, ";\": character references by number are not "
                                                                  "understood and read as a lone \"&\""})});
                    else if (!KnownEntity(name))
                        notes.push_back({line, Join({"\"&", name, ";\" is no entity of this format (lt, amp, gt, "
                                                                  "quot, apos, nbsp, cr) and reads as a lone \"&\""})});
                }
            }
            else if (c == '"' && state == State::Quoted)
                state = State::Tag;
            else if (c == '<' && state == State::Text)
            {
                quoteNotedInTag = false;
                state = State::Tag;
                if (data.compare(i + 1, 3, "!--") == 0)
                {
                    if (i + 4 < data.size() && IsBlank(data[i + 4]))
                    {
                        state = State::Comment;
                        i += 4;
                    }
                    else
                        notes.push_back({line, "\"<!--\" without a blank after it is read as a tag, not a comment: "
                                               "write \"<!-- \""});
                }
                else if (i + 1 < data.size() && data[i + 1] == '!')
                {
                    const size_t end = std::min(data.find_first_of(" \t\r\n>", i + 1), data.size());
                    notes.push_back({line, Join({"\"", std::string_view(data).substr(i, end - i),
                                                 "\" is not understood by this format and is read as a tag"})});
                }
            }
            break;
        case State::Tag:
            if (c == '"')
                state = State::Quoted;
            else if (c == '>')
                state = State::Text;
            else if (c == '\'' && !quoteNotedInTag)
            {
                notes.push_back({line, "single quotes do not quote a value in this format: the blanks and quotes "
                                       "become part of the attributes; use double quotes"});
                quoteNotedInTag = true;
            }
            break;
        }
    }
}

// The reader's own view: attributes given twice keep only their last value.
void ScanElements(const std::string& data, std::vector<DialectNote>& notes)
{
    Zestra::XMLParser reader;
    reader.OpenBuffer(data, "");
    Zestra::ParsedElement element;
    while (reader.ReadNext(element))
    {
        if (element.mKind != Zestra::ParsedElement::Start)
            continue;
        std::set<std::string> seen;
        for (const std::string& name : element.mAttrOrder)
            if (!seen.insert(name).second)
                notes.push_back({reader.CurrentLine(), Join({"<", element.mText, "> gives the attribute \"", name,
                                                             "\" more than once; only the last value counts"})});
    }
}

} // namespace

std::vector<DialectNote> FindXmlDialectSurprises(const std::string& data)
{
    std::vector<DialectNote> notes;
    const bool utf16 = data.size() >= 2 && ((static_cast<unsigned char>(data[0]) == 0xFF &&
                                             static_cast<unsigned char>(data[1]) == 0xFE) ||
                                            (static_cast<unsigned char>(data[0]) == 0xFE &&
                                             static_cast<unsigned char>(data[1]) == 0xFF));
    if (!utf16)
        ScanText(data, notes);
    ScanElements(data, notes);
    std::stable_sort(notes.begin(), notes.end(),
                     [](const DialectNote& a, const DialectNote& b) { return a.line < b.line; });
    return notes;
}
