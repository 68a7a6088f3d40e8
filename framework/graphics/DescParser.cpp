#include "framework/graphics/DescParser.h"

#include "framework/pak/PakInterface.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace Zestra
{

std::unique_ptr<DataElement> SingleDataElement::Duplicate() const
{
    return std::make_unique<SingleDataElement>(mString);
}

ListDataElement::ListDataElement(const ListDataElement& other)
{
    for (const auto& e : other.mElements)
        mElements.push_back(e->Duplicate());
}

ListDataElement& ListDataElement::operator=(const ListDataElement& other)
{
    if (this != &other)
    {
        mElements.clear();
        for (const auto& e : other.mElements)
            mElements.push_back(e->Duplicate());
    }
    return *this;
}

std::unique_ptr<DataElement> ListDataElement::Duplicate() const
{
    return std::make_unique<ListDataElement>(*this);
}

DescParser::DescParser() = default;
DescParser::~DescParser() = default;

bool DescParser::Error(const std::string& text)
{
    if (mError.empty())
        mError = text.empty() ? "Error" : text;
    return false;
}

bool DescParser::DereferenceError(const std::string& name)
{
    return Error("Unable to Dereference \"" + name + "\"");
}

bool DescParser::IsNumberToken(const std::string& token)
{
    if (token.empty())
        return false;
    char c = token[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

std::string DescParser::Unquote(const std::string& token)
{
    if (token.size() < 2 || (token[0] != '"' && token[0] != '\''))
        return token;
    char q = token[0];
    std::string out;
    size_t end = token.back() == q ? token.size() - 1 : token.size();
    for (size_t i = 1; i < end; ++i)
    {
        out += token[i];
        if (token[i] == q && i + 1 < end && token[i + 1] == q)
            ++i;
    }
    return out;
}

const DataElement* DescParser::FindDefine(const std::string& name) const
{
    auto it = mDefines.find(name);
    return it == mDefines.end() ? nullptr : it->second.get();
}

bool DescParser::LoadDescriptor(const std::string& path)
{
    std::string text;
    if (!ArchiveFileReadAll(path, text))
    {
        mCommandLine = 0;
        mCommandText.clear();
        return Error("Unable to open file");
    }
    return LoadDescriptorText(text);
}

namespace
{

// Lists are read, copied and freed recursively; real descriptors nest two or three deep.
constexpr size_t kMaxListDepth = 64;

// The command text shown in messages, as the file reads on any system.
std::string WithoutCarriageReturns(const std::string& text)
{
    std::string cleaned;
    for (char c : text)
        if (c != '\r')
            cleaned += c;
    return cleaned;
}

} // namespace

bool DescParser::LoadDescriptorText(const std::string& text)
{
    mError.clear();
    auto root = std::make_unique<ListDataElement>();
    std::vector<ListDataElement*> stack{root.get()};
    std::string word;
    bool inWord = false;
    char quote = 0;
    int line = 1;
    int commandLine = 0;
    size_t commandStart = std::string::npos;
    bool atLineStart = true;

    auto endWord = [&]() {
        if (inWord)
        {
            stack.back()->mElements.push_back(std::make_unique<SingleDataElement>(word));
            word.clear();
            inWord = false;
        }
    };
    auto noteStart = [&](size_t pos) {
        if (commandStart == std::string::npos)
        {
            commandStart = pos;
            commandLine = line;
        }
    };
    auto runCommand = [&](size_t endPos) -> bool {
        mCommandLine = commandLine;
        mCommandText = WithoutCarriageReturns(
            commandStart == std::string::npos ? "" : text.substr(commandStart, endPos - commandStart));
        bool ok = true;
        if (!root->mElements.empty())
        {
            if (root->mElements[0]->IsList())
                ok = Error("Missing Command");
            else
                ok = HandleCommand(root->mElements);
        }
        root->mElements.clear();
        commandStart = std::string::npos;
        return ok;
    };
    auto fail = [&](const std::string& message) {
        mCommandLine = commandLine ? commandLine : line;
        mCommandText = commandStart == std::string::npos ? "" : text.substr(commandStart);
        size_t semi = mCommandText.find(';');
        if (semi != std::string::npos)
            mCommandText.resize(semi);
        mCommandText = WithoutCarriageReturns(mCommandText);
        return Error(message);
    };

    for (size_t i = 0; i < text.size(); ++i)
    {
        char c = text[i];
        if (c == '\r')
            continue;
        if (quote)
        {
            word += c;
            if (c == '\n')
                ++line;
            else if (c == '\\' && i + 1 < text.size())
                word.back() = text[++i];
            else if (c == quote)
            {
                if (i + 1 < text.size() && text[i + 1] == quote)
                    word += text[++i];
                else
                    quote = 0;
            }
            continue;
        }
        if (c == '\n')
        {
            endWord();
            ++line;
            atLineStart = true;
            continue;
        }
        if (c == ' ' || c == '\t')
        {
            endWord();
            continue;
        }
        if (c == '#' && atLineStart)
        {
            while (i + 1 < text.size() && text[i + 1] != '\n')
                ++i;
            continue;
        }
        atLineStart = false;
        if (c == ',')
        {
            endWord();
            continue;
        }
        if (c == ';' && mSeparatorMode == 1)
        {
            endWord();
            if (stack.size() > 1)
                return fail("Unterminated List");
            if (!runCommand(i))
                return false;
            continue;
        }
        noteStart(i);
        if (c == '(')
        {
            if (inWord)
                return fail("Unexpected List Start");
            if (stack.size() > kMaxListDepth)
                return fail("List Nesting Too Deep");
            auto list = std::make_unique<ListDataElement>();
            ListDataElement* raw = list.get();
            stack.back()->mElements.push_back(std::move(list));
            stack.push_back(raw);
            continue;
        }
        if (c == ')')
        {
            endWord();
            if (stack.size() == 1)
                return fail("Unexpected List End");
            stack.pop_back();
            continue;
        }
        inWord = true;
        if (c == '\\')
        {
            if (i + 1 < text.size())
                word += text[++i];
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        word += c;
    }
    if (quote)
        return fail(quote == '"' ? "Unterminated Double Quotes" : "Unterminated Single Quotes");
    endWord();
    if (stack.size() > 1)
        return fail("Unterminated List");
    return runCommand(text.size());
}

bool DescParser::IsToken(const DataElement* element) const
{
    return element && !element->IsList();
}

bool DescParser::Dereference(const DataElement* element, std::unique_ptr<DataElement>& out)
{
    if (!element)
        return Error("Invalid Paramater Type");
    if (element->IsList())
    {
        auto list = std::make_unique<ListDataElement>();
        for (const auto& e : static_cast<const ListDataElement*>(element)->mElements)
        {
            std::unique_ptr<DataElement> resolved;
            if (!Dereference(e.get(), resolved))
                return false;
            list->mElements.push_back(std::move(resolved));
        }
        out = std::move(list);
        return true;
    }
    const std::string& token = static_cast<const SingleDataElement*>(element)->mString;
    if (token.empty() || IsNumberToken(token) || token[0] == '"' || token[0] == '\'')
    {
        out = element->Duplicate();
        return true;
    }
    // A define's stored value is already resolved.
    const DataElement* value = FindDefine(token);
    if (!value)
        return DereferenceError(token);
    out = value->Duplicate();
    return true;
}

bool DescParser::GetString(const DataElement* element, std::string& out)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (v->IsList())
        return Error("Invalid Paramater Type");
    out = Unquote(static_cast<SingleDataElement*>(v.get())->mString);
    return true;
}

namespace
{

bool ParseLong(const std::string& text, int base, long long& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, base);
    if (errno != 0 || end == text.c_str() || *end != 0)
        return false;
    out = v;
    return true;
}

} // namespace

bool DescParser::GetInt(const DataElement* element, int& out)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (v->IsList())
        return Error("Invalid Paramater Type");
    const std::string& s = static_cast<SingleDataElement*>(v.get())->mString;
    long long value = 0;
    if (!IsNumberToken(s) || !ParseLong(s, 10, value) || value < INT_MIN || value > INT_MAX)
        return Error("Invalid Paramater Type");
    out = int(value);
    return true;
}

bool DescParser::GetDouble(const DataElement* element, double& out)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (v->IsList())
        return Error("Invalid Paramater Type");
    const std::string& s = static_cast<SingleDataElement*>(v.get())->mString;
    char* end = nullptr;
    double value = IsNumberToken(s) ? std::strtod(s.c_str(), &end) : 0.0;
    if (!IsNumberToken(s) || end == s.c_str() || *end != 0 || value != value)
        return Error("Invalid Paramater Type");
    out = value;
    return true;
}

bool DescParser::GetBool(const DataElement* element, bool& out)
{
    int v = 0;
    if (!GetInt(element, v))
        return false;
    out = v != 0;
    return true;
}

bool DescParser::GetColor(const DataElement* element, uint32_t& argb)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (v->IsList())
    {
        std::vector<double> parts;
        if (!GetDoubleVector(v.get(), parts))
            return false;
        if (parts.size() != 4)
            return Error("Invalid Paramater Type");
        uint32_t ch[4];
        for (int i = 0; i < 4; ++i)
        {
            double p = parts[size_t(i)] < 0 ? 0 : (parts[size_t(i)] > 1 ? 1 : parts[size_t(i)]);
            ch[i] = uint32_t(p * 255);
        }
        argb = (ch[3] << 24) | (ch[0] << 16) | (ch[1] << 8) | ch[2];
        return true;
    }
    const std::string& s = static_cast<SingleDataElement*>(v.get())->mString;
    long long value = 0;
    if (!IsNumberToken(s) || !ParseLong(s, 0, value) || value < INT_MIN || value > 0xFFFFFFFFLL)
        return Error("Invalid Paramater Type");
    argb = uint32_t(value);
    if ((argb >> 24) == 0)
        argb |= 0xFF000000u;
    return true;
}

// Every list getter reads a (possibly defined) list and converts each element with the scalar getter.
template <typename T>
bool DescParser::GetVector(const DataElement* element, std::vector<T>& out,
                           bool (DescParser::*getOne)(const DataElement*, T&))
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (!v->IsList())
        return Error("Invalid Paramater Type");
    out.clear();
    for (const auto& e : static_cast<ListDataElement*>(v.get())->mElements)
    {
        T value{};
        if (!(this->*getOne)(e.get(), value))
            return false;
        out.push_back(value);
    }
    return true;
}

bool DescParser::GetStringVector(const DataElement* element, std::vector<std::string>& out)
{
    return GetVector(element, out, &DescParser::GetString);
}

bool DescParser::GetIntVector(const DataElement* element, std::vector<int>& out)
{
    return GetVector(element, out, &DescParser::GetInt);
}

bool DescParser::GetDoubleVector(const DataElement* element, std::vector<double>& out)
{
    return GetVector(element, out, &DescParser::GetDouble);
}

bool DescParser::HandleDefine(const DataElementList& params)
{
    if (params.size() != 3)
        return Error("Invalid Number of Parameters");
    if (params[1]->IsList())
        return Error("Invalid Paramater Type");
    const std::string& name = static_cast<const SingleDataElement*>(params[1].get())->mString;
    if (name.empty() || IsNumberToken(name) || name[0] == '"' || name[0] == '\'')
        return Error("Invalid Paramater Type");
    std::unique_ptr<DataElement> value;
    if (!Dereference(params[2].get(), value))
        return false;
    mDefines[name] = std::move(value);
    return true;
}

} // namespace Zestra
