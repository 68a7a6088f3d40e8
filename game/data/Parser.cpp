// Reader base: the dispatch loop, the attribute conversions and the process-wide media caches. The caches are
// written only on the loading thread while the data files are read, and emptied on the main thread at shutdown;
// the hand-over between the two is the data tables' publication (DataTables.h).
#include "game/data/Parser.h"

#include "framework/graphics/Image.h"
#include "framework/xml/XMLParser.h"
#include "game/data/ParserHost.h"

#include <cctype>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

namespace
{

struct MediaId
{
    int id = -1;
    ParserHost* host = nullptr; // the host that loaded it releases it
};

// The three shared caches; see Parser::FreeSharedMedia for their end.
std::map<std::string, std::unique_ptr<Zestra::Image>> gImageCache; // by full path
std::map<std::string, MediaId> gSongTable;                          // by song name
std::map<std::string, MediaId> gVoiceTable;                         // by "<person>/<sound>"

const std::string kEmpty;

int SaturateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value); // truncates toward zero
}

} // namespace

namespace DataConvert
{

int Integer(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // keeps saturating without overflowing
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float Real(const std::string& text)
{
    // from_chars ignores the process locale, so a "0.5" in the data never reads as 0 under a decimal-comma locale.
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '+' && i + 1 < text.size() && text[i + 1] != '-')
        ++i;
    double value = 0.0; // stays 0 when nothing converts, like atof
    const char* first = text.data() + i;
#if defined(__cpp_lib_to_chars)
    const auto result = std::from_chars(first, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = std::strtod(first, nullptr); // only its magnitude matters here: huge or tiny
#else
    // A library without the floating-point from_chars (the browser build's) has only the "C" locale anyway.
    value = std::strtod(first, nullptr);
#endif
    if (std::isnan(value))
        return 0.0f;
    if (value > FLT_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

float Percentage(const std::string& text)
{
    return static_cast<float>(static_cast<double>(Real(text)) / 100.0);
}

int Hundredths(const std::string& text)
{
    // The float narrowing comes first on purpose: times written as 0.29 s are 28 ticks in every shipped balance.
    return SaturateToInt(static_cast<double>(Real(text)) * 100.0);
}

bool Flag(const std::string& text, const char* word)
{
    return text == word;
}

} // namespace DataConvert

const std::string& Attribute(const Zestra::ParsedElement& element, const std::string& name)
{
    auto it = element.mAttrs.find(name);
    return it == element.mAttrs.end() ? kEmpty : it->second;
}

bool HasAttribute(const Zestra::ParsedElement& element, const std::string& name)
{
    return element.mAttrs.count(name) != 0;
}

Parser::Parser(ParserHost& host, const std::string& readerName)
    : mHost(host), mImageFolder("images/" + readerName + "/")
{
}

void Parser::ParseFile(const std::string& path)
{
    mCurrentFile = path;
    mCurrentLine = 0;
    Zestra::XMLParser reader;
    if (!reader.Open(path))
    {
        // The game runs without the file (its tables stay empty); a modder still wants to know.
        mHost.ReportDataIssue(DataSeverity::Warning, path, 0, "cannot open the file; its data is left out");
        return;
    }
    // The reader's name for the file says which archive holds it, so the damage is not looked for in a loose file.
    const std::string where = reader.CurrentFile();
    Zestra::ParsedElement element;
    bool anyElement = false;
    while (reader.ReadNext(element))
    {
        mCurrentLine = reader.CurrentLine();
        if (element.mKind == Zestra::ParsedElement::Start)
        {
            anyElement = true;
            OnStartElement(element);
        }
        else if (element.mKind == Zestra::ParsedElement::Text)
            OnElementText(element);
    }
    mCurrentLine = reader.CurrentLine();
    // The reader stops quietly at the end of the input with tags still open: only here can a file cut short be
    // told from a whole one.
    if (reader.Failed())
        mHost.ReportDamagedFile(where, mCurrentLine, reader.ErrorMessage() + "; the file is damaged");
    // A "<!--" without a blank reads as a tag that never closes; that is a lint warning, not a cut file.
    else if (!reader.CurrentPath().empty() && reader.CurrentPath().find('!') == std::string::npos)
    {
        const std::string& open = reader.CurrentPath();
        const size_t slash = open.rfind('/');
        mHost.ReportDamagedFile(where, mCurrentLine,
                                "the file ends inside <" + open.substr(slash == std::string::npos ? 0 : slash + 1) +
                                    ">: it was cut short");
    }
    else if (!anyElement)
        mHost.ReportDamagedFile(where, mCurrentLine, "the file holds no data (it is empty)");
}

void Parser::ParseProperties(const std::string& fileName)
{
    ParseFile("properties/" + fileName);
}

Zestra::Image* Parser::LoadImage(const std::string& relativeName)
{
    const std::string path = mImageFolder + relativeName;
    auto it = gImageCache.find(path);
    if (it != gImageCache.end())
        return it->second.get();
    std::unique_ptr<Zestra::Image> image = mHost.LoadDataImage(path);
    if (!image)
        return nullptr; // not cached: a later request tries the file again
    Zestra::Image* result = image.get();
    gImageCache.emplace(path, std::move(image));
    return result;
}

int Parser::LoadSong(const std::string& name)
{
    auto it = gSongTable.find(name);
    if (it != gSongTable.end())
        return it->second.id;
    const int id = static_cast<int>(gSongTable.size());
    if (!mHost.LoadMusic(id, "music/" + name + ".ogg"))
    {
        if (name.empty())
            DataWarning("no song named; nothing plays here");
        else
            DataError("song \"" + name + "\" cannot be loaded from music/" + name + ".ogg");
        return -1; // the id stays free for the next song
    }
    gSongTable.emplace(name, MediaId{id, &mHost});
    return id;
}

int Parser::LoadVoice(const std::string& personFolder, const std::string& soundName)
{
    const std::string key = personFolder + "/" + soundName;
    auto it = gVoiceTable.find(key);
    if (it != gVoiceTable.end())
        return it->second.id;
    const int id = static_cast<int>(gVoiceTable.size());
    if (!mHost.LoadVoice(id, "sounds/people/" + key))
    {
        DataError("voice \"" + key + "\" cannot be loaded from sounds/people/" + key);
        return -1;
    }
    gVoiceTable.emplace(key, MediaId{id, &mHost});
    return id;
}

void Parser::FreeSharedMedia()
{
    gImageCache.clear();
    for (auto& [name, song] : gSongTable)
        song.host->UnloadMusic(song.id);
    gSongTable.clear();
    for (auto& [key, voice] : gVoiceTable)
        voice.host->ReleaseVoice(voice.id);
    gVoiceTable.clear();
}

size_t Parser::SharedImageCount()
{
    return gImageCache.size();
}

size_t Parser::SharedSongCount()
{
    return gSongTable.size();
}

size_t Parser::SharedVoiceCount()
{
    return gVoiceTable.size();
}

void Parser::DataError(const std::string& what)
{
    mHost.ReportDataIssue(DataSeverity::Error, mCurrentFile, mCurrentLine, what);
}

void Parser::DataWarning(const std::string& what)
{
    mHost.ReportDataIssue(DataSeverity::Warning, mCurrentFile, mCurrentLine, what);
}
