// Base of the game's data-file readers: runs the XML pull loop over one file and hands start tags and text runs to
// the derived reader, converts attribute texts, and keeps the three process-wide media caches (images by full path,
// songs and voices by name) that live until FreeSharedMedia. Readers never throw; a missing or broken file leaves
// whatever was read before the fault and is reported through the host.
#pragma once

#include <map>
#include <string>

namespace Zestra
{
class Image;
struct ParsedElement;
}

class ParserHost;

// Attribute conversions shared by every reader. A missing attribute reads as the empty text. Numbers saturate at
// the int range and a text that is not a number reads 0, so no data file can cause undefined behaviour.
namespace DataConvert
{
// Leading blanks, optional sign, digits; stops at the first other character ("12abc" gives 12, "abc" 0).
int Integer(const std::string& text);
// The text as a C real, narrowed to a 32-bit float (out-of-range values saturate to the float range, NaN gives 0).
float Real(const std::string& text);
// Real divided by 100 (150 gives 1.5).
float Percentage(const std::string& text);
// Seconds to hundredths: the float-narrowed real times 100 in double precision, truncated toward zero and
// saturated to the int range ("0.29" gives 28 because 0.29f is slightly below 0.29).
int Hundredths(const std::string& text);
// Exact, case-sensitive equality with one literal word.
bool Flag(const std::string& text, const char* word);
} // namespace DataConvert

// The attribute of a start tag, or the empty text when it has none.
const std::string& Attribute(const Zestra::ParsedElement& element, const std::string& name);
bool HasAttribute(const Zestra::ParsedElement& element, const std::string& name);

class Parser
{
public:
    // readerName picks the image folder "images/" + readerName + "/" (empty: the reader loads no images).
    Parser(ParserHost& host, const std::string& readerName);
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Reads one file from the archive or the disk and dispatches its elements. A file that cannot be opened is
    // reported as a warning (the game runs without it); a syntax error, a file cut short inside an element and a
    // file without any element as a damaged file (ParserHost::ReportDamagedFile), keeping what came before.
    void ParseFile(const std::string& path);
    // ParseFile("properties/" + fileName).
    void ParseProperties(const std::string& fileName);

    // Cached image below the reader's image folder; null when the file is missing (not cached, so it is tried
    // again next time). The cache owns the image.
    Zestra::Image* LoadImage(const std::string& relativeName);
    // Music id of "music/<name>.ogg", or -1 when it cannot be loaded.
    int LoadSong(const std::string& name);
    // Sound id of "sounds/people/<folder>/<sound>" in the voice sound manager, or -1.
    int LoadVoice(const std::string& personFolder, const std::string& soundName);

    const std::string& ImageFolder() const { return mImageFolder; }

    // Frees every cached image, unloads every song and releases every voice through the host that loaded it, and
    // empties the three caches. Called once at shutdown, after the last reader of the tables is gone.
    static void FreeSharedMedia();
    static size_t SharedImageCount();
    static size_t SharedSongCount();
    static size_t SharedVoiceCount();

protected:
    // Destroyed only through the derived type; no virtual destructor is needed.
    ~Parser() = default;

    virtual void OnStartElement(const Zestra::ParsedElement& element) {}
    virtual void OnElementText(const Zestra::ParsedElement& element) {}

    // Problems found while reading: reported with the file and line of the element being handled.
    void DataError(const std::string& what);
    void DataWarning(const std::string& what);

    const std::string& CurrentFile() const { return mCurrentFile; }
    int CurrentLine() const { return mCurrentLine; }
    // For a helper reader that works on behalf of another: its reports then name the other's file and line.
    void SetLocation(const std::string& file, int line)
    {
        mCurrentFile = file;
        mCurrentLine = line;
    }

    ParserHost& mHost;

private:
    std::string mImageFolder;
    std::string mCurrentFile;
    int mCurrentLine = 0;
};
