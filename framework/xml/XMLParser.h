// Pull reader for the small XML dialect of the data files: one start tag, end tag, text run, instruction or
// comment per call, with the path of open tags. It stops at the first syntax error and keeps its message and line;
// it never throws. Files are read through the archive layer, so an archived file reads like a loose one.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace Zestra
{

// One result of the reader; the caller may reuse it between calls.
struct ParsedElement
{
    enum Kind
    {
        None = 0,
        Start = 1,
        End = 2,
        Text = 3,
        Instruction = 4,
        Comment = 5,
    };

    Kind mKind = None;
    std::string mPath;            // open tags when the element began, joined by "/"; empty at top level
    std::string mText;            // tag name, text, instruction target or comment text (Latin-1)
    std::string mInstructionBody; // for Instruction: everything after the target name
    std::map<std::string, std::string> mAttrs; // entity-decoded, Latin-1
    std::vector<std::string> mAttrOrder;       // attribute names as they appeared (a repeated name twice)

    bool HasAttr(const std::string& name) const { return mAttrs.count(name) != 0; }
    // The value, or fallback when absent.
    const std::string& GetAttr(const std::string& name, const std::string& fallback = EmptyString()) const;
    void Reset();

private:
    static const std::string& EmptyString();
};

using XMLElement = ParsedElement;

class XMLParser
{
public:
    XMLParser();
    ~XMLParser();
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    // Through the archive layer; false with "Unable to open file " + name.
    bool Open(const std::string& fileName);
    // Reads from memory instead (tests, fuzzing, text already loaded); fileName only names it in messages.
    bool OpenBuffer(const std::string& data, const std::string& fileName = std::string());

    // False at the end of input (Failed() false) or on an error (Failed() true, and for every later call).
    bool ReadNext(ParsedElement& element);

    bool Failed() const { return mFailed; }
    bool HasFailed() const { return mFailed; }
    const std::string& ErrorMessage() const { return mErrorMessage; }
    // "file:line: message" for reports; empty without an error.
    std::string ErrorText() const;
    int CurrentLine() const { return mLine; }
    const std::string& CurrentFile() const { return mPathName; }
    const std::string& CurrentPath() const { return mPath; }

    void SetKeepComments(bool keep) { mKeepComments = keep; }

private:
    enum class Decoder
    {
        SingleByte,
        Utf8,
        Utf16,
    };

    // Next decoded character; -1 at the end of input, -2 on an undecodable sequence.
    int NextChar();
    int DecodeUtf8();
    int DecodeUtf16();
    void Fail(const std::string& message);
    void StartInput();

    // Reading one element: the loop hands each character to the handler for the element's state.
    struct ElementScan;
    enum class ScanStep
    {
        More,     // read on
        Done,     // the element is complete
        Stop,     // end of input or an error: ReadNext returns false
        Ordinary, // no markup: the character belongs to the text, name or attribute being read
    };
    bool ScanElement(ElementScan& scan);
    void ScanPlainRun(ElementScan& scan);
    ScanStep ScanEndOfInput(ElementScan& scan, int c);
    ScanStep ScanChar(ElementScan& scan, int c);
    ScanStep ScanCommentChar(ElementScan& scan, int c);
    ScanStep ScanInstructionChar(ElementScan& scan, int c);
    ScanStep ScanQuote(ElementScan& scan);
    ScanStep ScanMarkup(ElementScan& scan, int c, bool wasJustOpened);
    void ScanBlank(ElementScan& scan);
    void ScanOrdinary(ElementScan& scan, int c);
    void ScanAttributeChar(ElementScan& scan, int c);
    void StoreAttribute(ElementScan& scan);
    void FinishStart(ElementScan& scan);
    bool FinishEnd(ElementScan& scan);

    std::string mPathName;
    std::string mErrorMessage;
    int mLine = 0;
    std::string mData; // the whole file; data files are small and the archive hands them over in one read
    size_t mPos = 0;
    bool mFailed = false;
    bool mKeepComments = false;
    std::vector<char16_t> mPutBack;
    std::string mPath;
    Decoder mDecoder = Decoder::SingleByte;
    bool mFirstChar = true;
    bool mSwapBytes = false;
};

// Decodes the named entities lt, amp, gt, quot, apos, nbsp (a blank) and cr (a line feed) in one pass; an unknown
// name leaves a lone "&", an "&" without a later ";" stays as it is.
std::string DecodeEntities(const std::string& text);
std::wstring DecodeEntities(const std::wstring& text);
// The inverse for writers: & < > " ' become entities, so any text survives a save and a reload.
std::string EncodeEntities(const std::string& text);

} // namespace Zestra
