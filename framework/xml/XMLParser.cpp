// The reader works on the whole file in memory (data files are small) and decodes it one character at a time;
// the element being built is a small state machine whose states mirror the element kinds.
#include "framework/xml/XMLParser.h"

#include "framework/pak/PakInterface.h"

namespace Zestra
{

namespace
{

bool IsBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Narrow attribute text keeps Latin-1: U+0000..U+00FF map to the same byte; a text holding anything beyond cannot
// be written in one byte per character and becomes empty (wide is set).
void AppendLatin1(std::string& text, bool& wide, int c)
{
    if (c > 0xFF)
        wide = true;
    else
        text.push_back(char(c));
}

bool EndsWith(const std::string& text, const char* tail, size_t tailLength)
{
    return text.size() >= tailLength && text.compare(text.size() - tailLength, tailLength, tail) == 0;
}

template <typename String>
String DecodeEntitiesImpl(const String& text)
{
    using Char = typename String::value_type;
    String result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
    {
        Char c = text[i];
        if (c != Char('&'))
        {
            result.push_back(c);
            ++i;
            continue;
        }
        size_t semicolon = text.find(Char(';'), i + 1);
        if (semicolon == String::npos)
        {
            result.append(text, i, String::npos);
            break;
        }
        std::string name;
        for (size_t k = i + 1; k < semicolon; ++k)
            name.push_back(char(text[k] & 0x7F));
        bool known = true;
        for (size_t k = i + 1; k < semicolon; ++k)
        {
            if (text[k] > 0x7F)
                known = false;
        }
        Char replacement = Char('&');
        if (known && name == "lt")
            replacement = Char('<');
        else if (known && name == "amp")
            replacement = Char('&');
        else if (known && name == "gt")
            replacement = Char('>');
        else if (known && name == "quot")
            replacement = Char('"');
        else if (known && name == "apos")
            replacement = Char('\'');
        else if (known && name == "nbsp")
            replacement = Char(' ');
        else if (known && name == "cr")
            replacement = Char('\n');
        result.push_back(replacement);
        i = semicolon + 1;
    }
    return result;
}

} // namespace

const std::string& ParsedElement::EmptyString()
{
    static const std::string empty;
    return empty;
}

const std::string& ParsedElement::GetAttr(const std::string& name, const std::string& fallback) const
{
    auto it = mAttrs.find(name);
    return it == mAttrs.end() ? fallback : it->second;
}

void ParsedElement::Reset()
{
    mKind = None;
    mPath.clear();
    mText.clear();
    mInstructionBody.clear();
    mAttrs.clear();
    mAttrOrder.clear();
}

std::string DecodeEntities(const std::string& text)
{
    if (text.find('&') == std::string::npos)
        return text;
    return DecodeEntitiesImpl(text);
}

std::wstring DecodeEntities(const std::wstring& text)
{
    if (text.find(L'&') == std::wstring::npos)
        return text;
    return DecodeEntitiesImpl(text);
}

std::string EncodeEntities(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text)
    {
        switch (c)
        {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        case '"': result += "&quot;"; break;
        case '\'': result += "&apos;"; break;
        default: result.push_back(c); break;
        }
    }
    return result;
}

XMLParser::XMLParser() = default;
XMLParser::~XMLParser() = default;

bool XMLParser::Open(const std::string& fileName)
{
    if (!ArchiveFileReadAll(fileName, mData))
    {
        mPathName = fileName;
        mData.clear();
        mPos = 0;
        mPutBack.clear();
        mErrorMessage = "Unable to open file " + fileName;
        mFailed = true;
        mLine = 0;
        return false;
    }
    // Named with its archive when it comes from one, so every message about it says where the damage is.
    mPathName = ArchiveFileLabel(fileName);
    StartInput();
    return true;
}

bool XMLParser::OpenBuffer(const std::string& data, const std::string& fileName)
{
    mData = data;
    mPathName = fileName;
    StartInput();
    return true;
}

void XMLParser::StartInput()
{
    mPos = 0;
    mPutBack.clear();
    mPath.clear();
    mLine = 1;
    mErrorMessage.clear();
    mFailed = false;
    mFirstChar = true;
    mSwapBytes = false;
    mDecoder = Decoder::SingleByte;
    const auto* bytes = reinterpret_cast<const unsigned char*>(mData.data());
    if (mData.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        mDecoder = Decoder::Utf16;
    else if (mData.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        mDecoder = Decoder::Utf8;
}

std::string XMLParser::ErrorText() const
{
    if (!mFailed)
        return std::string();
    std::string where = mPathName.empty() ? std::string("<text>") : mPathName;
    return where + ":" + std::to_string(mLine) + ": " + mErrorMessage;
}

void XMLParser::Fail(const std::string& message)
{
    if (mFailed)
        return;
    mFailed = true;
    mErrorMessage = message;
}

int XMLParser::DecodeUtf8()
{
    if (mPos >= mData.size())
        return -1;
    unsigned lead = static_cast<unsigned char>(mData[mPos++]);
    if (lead < 0x80)
        return int(lead);
    if ((lead & 0xC0) != 0xC0 || lead >= 0xFE)
        return -2;
    int length = 2;
    unsigned mask = 0x20;
    while (lead & mask)
    {
        ++length;
        mask >>= 1;
    }
    uint32_t value = lead & (mask - 1);
    for (int i = 1; i < length; ++i)
    {
        if (mPos >= mData.size())
            return -1;
        unsigned next = static_cast<unsigned char>(mData[mPos++]);
        if ((next & 0xC0) != 0x80)
            return -2;
        value = (value << 6) | (next & 0x3F);
    }
    static const uint32_t kMinimum[7] = {0, 0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000};
    if (value < kMinimum[length])
        return -2;
    if ((value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF)
        return -2;
    // Narrow strings cannot hold what lies beyond the 16-bit range; such characters read as a question mark.
    if (value > 0xFFFF)
        return '?';
    return int(value);
}

int XMLParser::DecodeUtf16()
{
    auto unit = [this]() -> int {
        if (mData.size() - mPos < 2)
            return -1;
        unsigned a = static_cast<unsigned char>(mData[mPos]);
        unsigned b = static_cast<unsigned char>(mData[mPos + 1]);
        mPos += 2;
        return int(mSwapBytes ? (a << 8) | b : (b << 8) | a);
    };
    int c = unit();
    if (c < 0)
        return c;
    if (c >= 0xD800 && c <= 0xDBFF)
    {
        int low = unit();
        if (low < 0)
            return -1;
        if (low < 0xDC00 || low > 0xDFFF)
            return -2;
        return '?';
    }
    if (c >= 0xDC00 && c <= 0xDFFF)
        return -2;
    return c;
}

int XMLParser::NextChar()
{
    if (!mPutBack.empty())
    {
        int c = mPutBack.back();
        mPutBack.pop_back();
        return c;
    }
    for (;;)
    {
        int c;
        switch (mDecoder)
        {
        case Decoder::Utf8: c = DecodeUtf8(); break;
        case Decoder::Utf16: c = DecodeUtf16(); break;
        default:
            c = mPos < mData.size() ? int(static_cast<unsigned char>(mData[mPos++])) : -1;
            break;
        }
        bool first = mFirstChar;
        mFirstChar = false;
        if (first && mDecoder == Decoder::Utf8 && c == 0xFEFF)
            continue;
        if (first && mDecoder == Decoder::Utf16 && c == 0xFEFF)
            continue;
        if (first && mDecoder == Decoder::Utf16 && c == 0xFFFE)
        {
            mSwapBytes = true;
            continue;
        }
        if (c == '\n')
            ++mLine;
        return c;
    }
}

// The element being read: its text so far, the attribute being read and where the tag stands.
struct XMLParser::ElementScan
{
    explicit ElementScan(ParsedElement& element) : element(element) {}

    ParsedElement& element;
    std::string value;
    // Attribute text is kept narrow as it is read; a character beyond Latin-1 marks the text for emptying.
    std::string attrName;
    std::string attrValue;
    bool attrNameWide = false;
    bool attrValueWide = false;
    bool attrMode = false;        // a start tag past its name
    bool readingValue = false;    // the current attribute has seen "="
    bool valueQuoted = false;     // the current attribute's value was quoted
    bool attrPending = false;     // an attribute has begun and is not stored yet
    bool slashAfterQuote = false; // a "/" right after a quoted value: the tag closes itself
    bool quoted = false;
    bool pendingBlank = false;
    bool justOpened = false;
    bool instructionBodyStarted = false;
    bool selfClosing = false;
};

bool XMLParser::ReadNext(ParsedElement& element)
{
    if (mFailed)
        return false;

    for (;;) // starts over after a skipped comment
    {
        element.Reset();
        element.mPath = mPath;
        ElementScan scan(element);
        if (!ScanElement(scan))
            return false;
        if (element.mKind == ParsedElement::Comment)
        {
            element.mText = DecodeEntities(scan.value);
            if (!mKeepComments)
                continue;
        }
        else if (element.mKind == ParsedElement::Instruction)
        {
            element.mText = DecodeEntities(scan.value);
        }
        return true;
    }
}

bool XMLParser::ScanElement(ElementScan& scan)
{
    for (;;)
    {
        ScanPlainRun(scan);
        int c = NextChar();
        ScanStep step = c < 0 ? ScanEndOfInput(scan, c) : ScanChar(scan, c);
        if (step == ScanStep::Done)
            return true;
        if (step == ScanStep::Stop)
            return false;
    }
}

void XMLParser::ScanPlainRun(ElementScan& scan)
{
    // Fast paths for the bulk of a file: runs of plain ASCII in text and in quoted attribute values need none of
    // the state machine (every byte below 0x80 decodes to itself in both byte decoders).
    if (!mPutBack.empty() || mDecoder == Decoder::Utf16 || mFirstChar)
        return;
    if (scan.element.mKind == ParsedElement::Text && !scan.quoted)
    {
        while (mPos < mData.size())
        {
            unsigned char b = static_cast<unsigned char>(mData[mPos]);
            if (b <= ' ' || b >= 0x80 || b == '<' || b == '>' || b == '"')
                break;
            if (scan.pendingBlank)
            {
                scan.value.push_back(' ');
                scan.pendingBlank = false;
            }
            scan.value.push_back(char(b));
            ++mPos;
        }
    }
    else if (scan.element.mKind == ParsedElement::Start && scan.quoted && scan.attrMode &&
             (scan.readingValue || scan.valueQuoted))
    {
        while (mPos < mData.size())
        {
            unsigned char b = static_cast<unsigned char>(mData[mPos]);
            if (b < ' ' || b >= 0x80 || b == '"')
                break;
            scan.attrValue.push_back(char(b));
            ++mPos;
        }
    }
}

XMLParser::ScanStep XMLParser::ScanEndOfInput(ElementScan& scan, int c)
{
    if (c == -2)
    {
        Fail("Illegal Character");
        return ScanStep::Stop;
    }
    if (scan.element.mKind == ParsedElement::None)
        return ScanStep::Stop;
    if (scan.element.mKind == ParsedElement::Text)
    {
        // Text running to the end of the file is complete; there is nothing left to close it.
        scan.element.mText = DecodeEntities(scan.value);
        return ScanStep::Done;
    }
    Fail("Unexpected End of File");
    return ScanStep::Stop;
}

XMLParser::ScanStep XMLParser::ScanChar(ElementScan& scan, int c)
{
    bool wasJustOpened = scan.justOpened;
    scan.justOpened = false;
    if (scan.element.mKind == ParsedElement::Comment)
        return ScanCommentChar(scan, c);
    if (scan.element.mKind == ParsedElement::Instruction)
        return ScanInstructionChar(scan, c);
    ScanStep step = ScanStep::Ordinary;
    if (c == '"')
        step = ScanQuote(scan);
    else if (!scan.quoted)
        step = ScanMarkup(scan, c, wasJustOpened);
    if (step == ScanStep::Ordinary)
    {
        ScanOrdinary(scan, c);
        step = ScanStep::More;
    }
    return step;
}

XMLParser::ScanStep XMLParser::ScanCommentChar(ElementScan& scan, int c)
{
    scan.value.push_back(char(c & 0xFF));
    if (!EndsWith(scan.value, "-->", 3))
        return ScanStep::More;
    scan.value.resize(scan.value.size() - 3);
    return ScanStep::Done;
}

XMLParser::ScanStep XMLParser::ScanInstructionChar(ElementScan& scan, int c)
{
    if (!scan.instructionBodyStarted && IsBlank(c))
        scan.instructionBodyStarted = true;
    std::string& target = scan.instructionBodyStarted ? scan.element.mInstructionBody : scan.value;
    target.push_back(char(c & 0xFF));
    if (!EndsWith(target, "?>", 2))
        return ScanStep::More;
    target.resize(target.size() - 2);
    return ScanStep::Done;
}

XMLParser::ScanStep XMLParser::ScanQuote(ElementScan& scan)
{
    scan.quoted = !scan.quoted;
    ParsedElement::Kind kind = scan.element.mKind;
    // In text the quote is an ordinary character.
    if (kind != ParsedElement::Start && kind != ParsedElement::End)
        return ScanStep::Ordinary;
    if (kind == ParsedElement::Start && scan.attrMode)
    {
        if (scan.quoted && scan.pendingBlank)
        {
            // A quote opening after a finished attribute starts an unnamed one.
            StoreAttribute(scan);
            scan.attrPending = true;
        }
        scan.pendingBlank = false;
        scan.attrPending = true;
        if (!scan.quoted)
            scan.valueQuoted = true;
    }
    return ScanStep::More;
}

XMLParser::ScanStep XMLParser::ScanMarkup(ElementScan& scan, int c, bool wasJustOpened)
{
    ParsedElement& element = scan.element;
    if (c == '<')
    {
        if (element.mKind == ParsedElement::Text)
        {
            mPutBack.push_back(u'<');
            element.mText =
                scan.value.find('&') == std::string::npos ? std::move(scan.value) : DecodeEntities(scan.value);
            return ScanStep::Done;
        }
        if (element.mKind == ParsedElement::None)
        {
            element.mKind = ParsedElement::Start;
            scan.justOpened = true;
            return ScanStep::More;
        }
        Fail("Unexpected '<'");
        return ScanStep::Stop;
    }
    if (wasJustOpened && c == '/')
    {
        element.mKind = ParsedElement::End;
        return ScanStep::More;
    }
    if (wasJustOpened && c == '?')
    {
        element.mKind = ParsedElement::Instruction;
        return ScanStep::More;
    }
    if (c == '>')
    {
        if (element.mKind == ParsedElement::Start)
        {
            FinishStart(scan);
            return ScanStep::Done;
        }
        if (element.mKind == ParsedElement::End)
            return FinishEnd(scan) ? ScanStep::Done : ScanStep::Stop;
        Fail("Unexpected '>'");
        return ScanStep::Stop;
    }
    if (IsBlank(c))
    {
        ScanBlank(scan);
        return ScanStep::More;
    }
    if (c < ' ')
    {
        Fail("Illegal Character");
        return ScanStep::Stop;
    }
    return ScanStep::Ordinary;
}

void XMLParser::ScanBlank(ElementScan& scan)
{
    ParsedElement& element = scan.element;
    if (element.mKind == ParsedElement::Start && !scan.attrMode && scan.value == "!--")
    {
        element.mKind = ParsedElement::Comment;
        scan.value.clear();
        return;
    }
    if (element.mKind == ParsedElement::Start && scan.attrMode)
    {
        if (scan.readingValue ? (!scan.attrValue.empty() || scan.valueQuoted)
                              : (!scan.attrName.empty() || scan.valueQuoted))
            scan.pendingBlank = true;
    }
    else if (!scan.value.empty())
    {
        scan.pendingBlank = true;
    }
}

void XMLParser::ScanOrdinary(ElementScan& scan, int c)
{
    ParsedElement& element = scan.element;
    if (element.mKind == ParsedElement::None)
        element.mKind = ParsedElement::Text;
    if (element.mKind == ParsedElement::Text || element.mKind == ParsedElement::End)
    {
        if (scan.pendingBlank)
        {
            scan.value.push_back(' ');
            scan.pendingBlank = false;
        }
        scan.value.push_back(char(c & 0xFF));
        return;
    }
    // A start tag.
    if (!scan.attrMode)
    {
        if (!scan.pendingBlank)
        {
            scan.value.push_back(char(c & 0xFF));
            return;
        }
        scan.attrMode = true;
        scan.pendingBlank = false;
    }
    ScanAttributeChar(scan, c);
}

void XMLParser::ScanAttributeChar(ElementScan& scan, int c)
{
    if (scan.quoted)
    {
        scan.attrPending = true;
        if (scan.readingValue || scan.valueQuoted)
            AppendLatin1(scan.attrValue, scan.attrValueWide, c);
        else
            AppendLatin1(scan.attrName, scan.attrNameWide, c);
        return;
    }
    if (c == '=' && !scan.readingValue)
    {
        scan.readingValue = true;
        scan.attrPending = true;
        scan.pendingBlank = false;
        return;
    }
    if (scan.valueQuoted && !scan.pendingBlank)
    {
        if (c == '/')
        {
            scan.slashAfterQuote = true;
            return;
        }
        scan.pendingBlank = true; // a quoted value ends its attribute even without a blank after it
    }
    scan.slashAfterQuote = false;
    if (scan.pendingBlank)
    {
        scan.pendingBlank = false;
        StoreAttribute(scan);
    }
    scan.attrPending = true;
    if (scan.readingValue)
        AppendLatin1(scan.attrValue, scan.attrValueWide, c);
    else
        AppendLatin1(scan.attrName, scan.attrNameWide, c);
}

void XMLParser::StoreAttribute(ElementScan& scan)
{
    if (!scan.attrPending)
        return;
    scan.attrPending = false;
    std::string name = scan.attrNameWide ? std::string() : DecodeEntities(scan.attrName);
    std::string val = scan.attrValueWide ? std::string() : DecodeEntities(scan.attrValue);
    scan.attrName.clear();
    scan.attrValue.clear();
    scan.attrNameWide = scan.attrValueWide = false;
    scan.readingValue = false;
    scan.valueQuoted = false;
    if (name == "/")
    {
        scan.selfClosing = true;
        return;
    }
    scan.element.mAttrs[name] = val;
    scan.element.mAttrOrder.push_back(name);
}

void XMLParser::FinishStart(ElementScan& scan)
{
    // The last unquoted attribute running into "/>" marks the tag as self-closing.
    if (scan.attrPending && !scan.valueQuoted)
    {
        std::string& tail = scan.readingValue ? scan.attrValue : scan.attrName;
        if (!tail.empty() && tail.back() == '/')
        {
            tail.pop_back();
            scan.selfClosing = true;
            if (!scan.readingValue && tail.empty())
                scan.attrPending = false;
        }
    }
    StoreAttribute(scan);
    if (scan.slashAfterQuote)
        scan.selfClosing = true;
    std::string& value = scan.value;
    if (!value.empty() && value.back() == '/')
    {
        value.pop_back();
        scan.selfClosing = true;
    }
    scan.element.mText = DecodeEntities(value);
    if (scan.selfClosing)
    {
        // Pushed in reverse: the next call reads "</name>" and returns the matching end.
        mPutBack.push_back(u'>');
        for (auto it = value.rbegin(); it != value.rend(); ++it)
            mPutBack.push_back(char16_t(static_cast<unsigned char>(*it)));
        mPutBack.push_back(u'/');
        mPutBack.push_back(u'<');
    }
    if (!mPath.empty())
        mPath.push_back('/');
    mPath += value;
}

bool XMLParser::FinishEnd(ElementScan& scan)
{
    if (mPath.empty())
    {
        Fail("Unexpected End");
        return false;
    }
    size_t slash = mPath.rfind('/');
    std::string last = slash == std::string::npos ? mPath : mPath.substr(slash + 1);
    if (scan.value != last)
    {
        Fail("End '" + scan.value + "' Doesn't Match Start '" + last + "'");
        return false;
    }
    mPath.resize(slash == std::string::npos ? 0 : slash);
    scan.element.mText = DecodeEntities(scan.value);
    return true;
}

} // namespace Zestra
