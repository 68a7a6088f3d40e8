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
    mPathName = fileName;
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

bool XMLParser::ReadNext(ParsedElement& element)
{
    if (mFailed)
        return false;

    for (;;) // starts over after a skipped comment
    {
        element.Reset();
        element.mPath = mPath;

        std::string value;
        // Attribute text is kept narrow as it is read; a character beyond Latin-1 marks the text for emptying.
        std::string attrName;
        std::string attrValue;
        bool attrNameWide = false;
        bool attrValueWide = false;
        bool attrMode = false;      // a start tag past its name
        bool readingValue = false;  // the current attribute has seen "="
        bool valueQuoted = false;   // the current attribute's value was quoted
        bool attrPending = false;   // an attribute has begun and is not stored yet
        bool slashAfterQuote = false; // a "/" right after a quoted value: the tag closes itself
        bool quoted = false;
        bool pendingBlank = false;
        bool justOpened = false;
        bool instructionBodyStarted = false;
        bool selfClosing = false;

        auto storeAttribute = [&]() {
            if (!attrPending)
                return;
            attrPending = false;
            std::string name = attrNameWide ? std::string() : DecodeEntities(attrName);
            std::string val = attrValueWide ? std::string() : DecodeEntities(attrValue);
            attrName.clear();
            attrValue.clear();
            attrNameWide = attrValueWide = false;
            readingValue = false;
            valueQuoted = false;
            if (name == "/")
            {
                selfClosing = true;
                return;
            }
            element.mAttrs[name] = val;
            element.mAttrOrder.push_back(name);
        };

        auto finishStart = [&]() -> bool {
            // The last unquoted attribute running into "/>" marks the tag as self-closing.
            if (attrPending && !valueQuoted)
            {
                std::string& tail = readingValue ? attrValue : attrName;
                if (!tail.empty() && tail.back() == '/')
                {
                    tail.pop_back();
                    selfClosing = true;
                    if (!readingValue && tail.empty())
                        attrPending = false;
                }
            }
            storeAttribute();
            if (slashAfterQuote)
                selfClosing = true;
            if (!value.empty() && value.back() == '/')
            {
                value.pop_back();
                selfClosing = true;
            }
            element.mText = DecodeEntities(value);
            if (selfClosing)
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
            return true;
        };

        auto finishEnd = [&]() -> bool {
            if (mPath.empty())
            {
                Fail("Unexpected End");
                return false;
            }
            size_t slash = mPath.rfind('/');
            std::string last = slash == std::string::npos ? mPath : mPath.substr(slash + 1);
            if (value != last)
            {
                Fail("End '" + value + "' Doesn't Match Start '" + last + "'");
                return false;
            }
            mPath.resize(slash == std::string::npos ? 0 : slash);
            element.mText = DecodeEntities(value);
            return true;
        };

        bool finished = false;
        while (!finished)
        {
            // Fast paths for the bulk of a file: runs of plain ASCII in text and in quoted attribute values need
            // none of the state machine (every byte below 0x80 decodes to itself in both byte decoders).
            if (mPutBack.empty() && mDecoder != Decoder::Utf16 && !mFirstChar)
            {
                if (element.mKind == ParsedElement::Text && !quoted)
                {
                    while (mPos < mData.size())
                    {
                        unsigned char b = static_cast<unsigned char>(mData[mPos]);
                        if (b <= ' ' || b >= 0x80 || b == '<' || b == '>' || b == '"')
                            break;
                        if (pendingBlank)
                        {
                            value.push_back(' ');
                            pendingBlank = false;
                        }
                        value.push_back(char(b));
                        ++mPos;
                    }
                }
                else if (element.mKind == ParsedElement::Start && quoted && attrMode && (readingValue || valueQuoted))
                {
                    while (mPos < mData.size())
                    {
                        unsigned char b = static_cast<unsigned char>(mData[mPos]);
                        if (b < ' ' || b >= 0x80 || b == '"')
                            break;
                        attrValue.push_back(char(b));
                        ++mPos;
                    }
                }
            }
            int c = NextChar();
            if (c == -2)
            {
                Fail("Illegal Character");
                return false;
            }
            if (c == -1)
            {
                if (element.mKind == ParsedElement::None)
                    return false;
                if (element.mKind == ParsedElement::Text)
                {
                    // Text running to the end of the file is complete; there is nothing left to close it.
                    element.mText = DecodeEntities(value);
                    return true;
                }
                Fail("Unexpected End of File");
                return false;
            }
            bool wasJustOpened = justOpened;
            justOpened = false;

            if (element.mKind == ParsedElement::Comment)
            {
                value.push_back(char(c & 0xFF));
                if (EndsWith(value, "-->", 3))
                {
                    value.resize(value.size() - 3);
                    finished = true;
                }
                continue;
            }
            if (element.mKind == ParsedElement::Instruction)
            {
                if (!instructionBodyStarted && IsBlank(c))
                    instructionBodyStarted = true;
                std::string& target = instructionBodyStarted ? element.mInstructionBody : value;
                target.push_back(char(c & 0xFF));
                if (EndsWith(target, "?>", 2))
                {
                    target.resize(target.size() - 2);
                    finished = true;
                }
                continue;
            }

            bool inTag = element.mKind == ParsedElement::Start || element.mKind == ParsedElement::End;
            if (c == '"')
            {
                quoted = !quoted;
                if (inTag)
                {
                    if (element.mKind == ParsedElement::Start && attrMode)
                    {
                        if (quoted && pendingBlank)
                        {
                            // A quote opening after a finished attribute starts an unnamed one.
                            storeAttribute();
                            attrPending = true;
                        }
                        pendingBlank = false;
                        attrPending = true;
                        if (!quoted)
                            valueQuoted = true;
                    }
                    continue;
                }
                // In text the quote is an ordinary character.
            }
            else if (!quoted)
            {
                if (c == '<')
                {
                    if (element.mKind == ParsedElement::Text)
                    {
                        mPutBack.push_back(u'<');
                        element.mText = value.find('&') == std::string::npos ? std::move(value) : DecodeEntities(value);
                        finished = true;
                        continue;
                    }
                    if (element.mKind == ParsedElement::None)
                    {
                        element.mKind = ParsedElement::Start;
                        justOpened = true;
                        continue;
                    }
                    Fail("Unexpected '<'");
                    return false;
                }
                if (wasJustOpened && c == '/')
                {
                    element.mKind = ParsedElement::End;
                    continue;
                }
                if (wasJustOpened && c == '?')
                {
                    element.mKind = ParsedElement::Instruction;
                    continue;
                }
                if (c == '>')
                {
                    if (element.mKind == ParsedElement::Start)
                    {
                        finished = finishStart();
                        continue;
                    }
                    if (element.mKind == ParsedElement::End)
                    {
                        if (!finishEnd())
                            return false;
                        finished = true;
                        continue;
                    }
                    Fail("Unexpected '>'");
                    return false;
                }
                if (IsBlank(c))
                {
                    if (element.mKind == ParsedElement::Start && !attrMode && value == "!--")
                    {
                        element.mKind = ParsedElement::Comment;
                        value.clear();
                        continue;
                    }
                    if (element.mKind == ParsedElement::Start && attrMode)
                    {
                        if (readingValue ? (!attrValue.empty() || valueQuoted) : (!attrName.empty() || valueQuoted))
                            pendingBlank = true;
                    }
                    else if (!value.empty())
                    {
                        pendingBlank = true;
                    }
                    continue;
                }
                if (c < ' ')
                {
                    Fail("Illegal Character");
                    return false;
                }
            }

            // An ordinary character.
            if (element.mKind == ParsedElement::None)
                element.mKind = ParsedElement::Text;
            if (element.mKind == ParsedElement::Text || element.mKind == ParsedElement::End)
            {
                if (pendingBlank)
                {
                    value.push_back(' ');
                    pendingBlank = false;
                }
                value.push_back(char(c & 0xFF));
                continue;
            }
            // A start tag.
            if (!attrMode)
            {
                if (!pendingBlank)
                {
                    value.push_back(char(c & 0xFF));
                    continue;
                }
                attrMode = true;
                pendingBlank = false;
            }
            if (quoted)
            {
                attrPending = true;
                if (readingValue || valueQuoted)
                    AppendLatin1(attrValue, attrValueWide, c);
                else
                    AppendLatin1(attrName, attrNameWide, c);
                continue;
            }
            if (c == '=' && !readingValue)
            {
                readingValue = true;
                attrPending = true;
                pendingBlank = false;
                continue;
            }
            if (valueQuoted && !pendingBlank)
            {
                if (c == '/')
                {
                    slashAfterQuote = true;
                    continue;
                }
                pendingBlank = true; // a quoted value ends its attribute even without a blank after it
            }
            slashAfterQuote = false;
            if (pendingBlank)
            {
                pendingBlank = false;
                storeAttribute();
            }
            attrPending = true;
            if (readingValue)
                AppendLatin1(attrValue, attrValueWide, c);
            else
                AppendLatin1(attrName, attrNameWide, c);
        }

        if (element.mKind == ParsedElement::Comment)
        {
            element.mText = DecodeEntities(value);
            if (!mKeepComments)
                continue;
        }
        else if (element.mKind == ParsedElement::Instruction)
        {
            element.mText = DecodeEntities(value);
        }
        return true;
    }
}

} // namespace Zestra
