// Settings store: an in-memory tree of typed values, saved as one text file per key with an atomic replace.
#include "framework/platform/SettingsStore.h"

#include "framework/log/Log.h"
#include "framework/platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Zestra
{

namespace
{

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Splits "A\B\Name" into the section "A\B" and "Name"; empty components are dropped so "\A\\B\Name" is the same.
bool SplitName(const std::string& full, std::string& section, std::string& name)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : full)
    {
        if (c == '\\')
        {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        }
        else
            current += c;
    }
    if (current.empty())
        return false; // no value name after the last separator
    section.clear();
    for (const std::string& part : parts)
    {
        if (!section.empty())
            section += '\\';
        section += part;
    }
    name = current;
    return true;
}

bool NeedsEscape(unsigned char c, bool inName)
{
    if (c < 0x20 || c > 0x7e || c == '\\' || c == '"')
        return true;
    return inName && (c == '=' || c == '[' || c == ']' || c == '#' || c == ';' || c == '/');
}

std::string Escape(const std::string& text, bool inName)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        unsigned char c = static_cast<unsigned char>(text[i]);
        // Blanks at either end of a name would be trimmed away by the reader.
        bool edgeBlank = inName && c == ' ' && (i == 0 || i + 1 == text.size());
        if (NeedsEscape(c, inName) || edgeBlank)
        {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
        else
            out += static_cast<char>(c);
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Undoes Escape; false on a malformed escape.
bool Unescape(const std::string& text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\')
        {
            out += text[i];
            continue;
        }
        if (i + 3 >= text.size() || text[i + 1] != 'x')
            return false;
        int hi = HexDigit(text[i + 2]);
        int lo = HexDigit(text[i + 3]);
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    return true;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// "A\B" is written "[A/B]": a slash reads better than an escaped backslash, and names escape their own slashes.
std::string SectionHeader(const std::string& section)
{
    std::string out = "[";
    size_t start = 0;
    while (start <= section.size())
    {
        size_t end = section.find('\\', start);
        if (end == std::string::npos)
            end = section.size();
        if (start > 0)
            out += '/';
        out += Escape(section.substr(start, end - start), true);
        start = end + 1;
    }
    out += ']';
    return out;
}

// The inside of a section header back into "A\B"; empty parts are dropped like empty sub-key parts.
bool ParseSectionHeader(const std::string& inside, std::string& section)
{
    section.clear();
    size_t start = 0;
    while (start <= inside.size())
    {
        size_t end = inside.find('/', start);
        if (end == std::string::npos)
            end = inside.size();
        std::string part;
        if (!Unescape(Trim(inside.substr(start, end - start)), part))
            return false;
        if (!part.empty())
        {
            if (!section.empty())
                section += '\\';
            section += part;
        }
        start = end + 1;
    }
    return true;
}

bool ParseInt32(const std::string& s, int32_t& value)
{
    if (s.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || end == s.c_str() || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

} // namespace

bool SettingsStore::NameLess::operator()(const std::string& a, const std::string& b) const
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        char ca = LowerAscii(a[i]);
        char cb = LowerAscii(b[i]);
        if (ca != cb)
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
    }
    return a.size() < b.size();
}

std::unique_ptr<SettingsStore> SettingsStore::CreateInMemory()
{
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::string(), false));
}

std::unique_ptr<SettingsStore> SettingsStore::CreateFileBacked(const std::string& configRoot)
{
    return std::unique_ptr<SettingsStore>(new SettingsStore(configRoot.empty() ? ConfigRoot() : configRoot, true));
}

SettingsStore::SettingsStore(std::string configRoot, bool fileBacked)
    : mConfigRoot(std::move(configRoot)), mFileBacked(fileBacked)
{
}

SettingsStore::~SettingsStore()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    // A batch left open by an early exit still reaches the disk.
    if (mDirty)
        Save();
}

std::string SettingsStore::RegistryKey() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mKey;
}

bool SettingsStore::HasFailed() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return !mErrorText.empty();
}

std::string SettingsStore::ErrorText() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mErrorText;
}

void SettingsStore::SetRegistryKey(const std::string& key)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mDirty)
        Save();
    std::string k = key;
    static const std::string software = "SOFTWARE\\";
    NameLess less;
    if (k.size() >= software.size() && !less(k.substr(0, software.size()), software) &&
        !less(software, k.substr(0, software.size())))
        k = k.substr(software.size());
    while (!k.empty() && k.back() == '\\')
        k.pop_back();
    while (!k.empty() && k.front() == '\\')
        k.erase(k.begin());
    mKey = k;
    mSections.clear();
    mDirty = false;
    mKeepBadFile = false;
    mErrorText.clear();
    Load();
}

bool SettingsStore::Write(const std::string& fullName, Value value)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    std::string section;
    std::string name;
    if (mKey.empty() || !SplitName(fullName, section, name))
        return false;
    Value& slot = mSections[section][name];
    if (slot == value)
        return true;
    slot = std::move(value);
    return Changed();
}

bool SettingsStore::WriteInteger(const std::string& name, int32_t value)
{
    return Write(name, value);
}

bool SettingsStore::WriteBoolean(const std::string& name, bool value)
{
    return Write(name, value);
}

bool SettingsStore::WriteString(const std::string& name, const std::string& value)
{
    return Write(name, value);
}

bool SettingsStore::WriteData(const std::string& name, const std::vector<uint8_t>& data)
{
    return Write(name, data);
}

const SettingsStore::Value* SettingsStore::Find(const std::string& fullName) const
{
    std::string section;
    std::string name;
    if (mKey.empty() || !SplitName(fullName, section, name))
        return nullptr;
    auto s = mSections.find(section);
    if (s == mSections.end())
        return nullptr;
    auto v = s->second.find(name);
    return v == s->second.end() ? nullptr : &v->second;
}

bool SettingsStore::ReadInteger(const std::string& name, int32_t& value) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const Value* v = Find(name);
    if (v == nullptr)
        return false;
    if (const int32_t* i = std::get_if<int32_t>(v))
        value = *i;
    else if (const bool* b = std::get_if<bool>(v))
        value = *b ? 1 : 0;
    else
        return false;
    return true;
}

bool SettingsStore::ReadBoolean(const std::string& name, bool& value) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const Value* v = Find(name);
    if (v == nullptr)
        return false;
    if (const bool* b = std::get_if<bool>(v))
        value = *b;
    else if (const int32_t* i = std::get_if<int32_t>(v))
        value = *i != 0;
    else
        return false;
    return true;
}

bool SettingsStore::ReadString(const std::string& name, std::string& value) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const Value* v = Find(name);
    const std::string* s = v ? std::get_if<std::string>(v) : nullptr;
    if (s == nullptr)
        return false;
    value = *s;
    return true;
}

bool SettingsStore::ReadData(const std::string& name, std::vector<uint8_t>& data) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const Value* v = Find(name);
    const std::vector<uint8_t>* d = v ? std::get_if<std::vector<uint8_t>>(v) : nullptr;
    if (d == nullptr)
        return false;
    data = *d;
    return true;
}

bool SettingsStore::Erase(const std::string& fullName)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    std::string section;
    std::string name;
    if (mKey.empty() || !SplitName(fullName, section, name))
        return false;
    auto s = mSections.find(section);
    if (s == mSections.end() || s->second.erase(name) == 0)
        return false;
    if (s->second.empty())
        mSections.erase(s);
    Changed();
    return true;
}

void SettingsStore::BeginBatch()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    ++mBatchDepth;
}

bool SettingsStore::EndBatch()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mBatchDepth > 0)
        --mBatchDepth;
    return mBatchDepth > 0 || Flush();
}

bool SettingsStore::Flush()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return !mDirty || Save();
}

bool SettingsStore::Changed()
{
    mDirty = true;
    if (mBatchDepth > 0)
        return true;
    return Save();
}

std::string SettingsStore::FilePath() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mFileBacked || mKey.empty())
        return std::string();
    std::string folder = mConfigRoot;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    for (char c : mKey)
        folder += (c == '\\') ? '/' : c;
    return folder + "/settings.ini";
}

void SettingsStore::Warn(const std::string& text)
{
    if (mErrorText.empty())
        mErrorText = text;
    Zestra::LogFormat("warning: %s\n", text.c_str());
}

std::string SettingsStore::ToText() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    std::string title = mKey;
    for (char& c : title)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?'; // a comment line must stay one line
    std::string out = "# Settings of " + title + ", written by the program; edit them while it is not running.\n";
    for (const auto& [section, values] : mSections)
    {
        if (values.empty())
            continue;
        if (!section.empty())
        {
            out += '\n';
            out += SectionHeader(section);
            out += '\n';
        }
        for (const auto& [name, value] : values)
        {
            out += Escape(name, true) + " = ";
            if (const int32_t* i = std::get_if<int32_t>(&value))
                out += "int " + std::to_string(*i);
            else if (const bool* b = std::get_if<bool>(&value))
                out += *b ? "bool true" : "bool false";
            else if (const std::string* s = std::get_if<std::string>(&value))
                out += "str \"" + Escape(*s, false) + "\"";
            else
            {
                static const char hex[] = "0123456789abcdef";
                out += "data ";
                for (uint8_t byte : std::get<std::vector<uint8_t>>(value))
                {
                    out += hex[byte >> 4];
                    out += hex[byte & 15];
                }
            }
            out += '\n';
        }
    }
    return out;
}

bool SettingsStore::FromText(const std::string& text, const std::string& file, std::string& errorText)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    std::map<std::string, Section, NameLess> sections;
    std::string section;
    int lineNumber = 0;
    size_t pos = 0;
    auto fail = [&](const std::string& what)
    {
        errorText = file + ":" + std::to_string(lineNumber) + ": " + what;
        mSections.clear();
        return false;
    };
    while (pos < text.size())
    {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.find('\0') != std::string::npos)
            return fail("binary data in a text line");
        if (line[0] == '[')
        {
            if (line.back() != ']')
                return fail("section header without ']'");
            if (!ParseSectionHeader(line.substr(1, line.size() - 2), section))
                return fail("bad escape in section name");
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            return fail("expected 'name = type value'");
        std::string name;
        if (!Unescape(Trim(line.substr(0, eq)), name) || name.empty())
            return fail("bad value name");
        std::string rest = Trim(line.substr(eq + 1));
        size_t blank = rest.find(' ');
        std::string type = rest.substr(0, blank);
        std::string body = blank == std::string::npos ? std::string() : Trim(rest.substr(blank + 1));
        Value value;
        if (type == "int")
        {
            int32_t i = 0;
            if (!ParseInt32(body, i))
                return fail("not a 32-bit integer: " + body);
            value = i;
        }
        else if (type == "bool")
        {
            if (body == "true" || body == "1")
                value = true;
            else if (body == "false" || body == "0")
                value = false;
            else
                return fail("not a boolean: " + body);
        }
        else if (type == "str")
        {
            std::string s;
            if (body.size() < 2 || body.front() != '"' || body.back() != '"' ||
                !Unescape(body.substr(1, body.size() - 2), s))
                return fail("bad string (expected \"text\" with \\xNN escapes)");
            value = s;
        }
        else if (type == "data")
        {
            if (body.size() % 2 != 0)
                return fail("odd number of hexadecimal digits");
            std::vector<uint8_t> bytes;
            for (size_t i = 0; i < body.size(); i += 2)
            {
                int hi = HexDigit(body[i]);
                int lo = HexDigit(body[i + 1]);
                if (hi < 0 || lo < 0)
                    return fail("not a hexadecimal digit in data");
                bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
            }
            value = bytes;
        }
        else
            return fail("unknown type '" + type + "' (int, bool, str or data)");
        sections[section][name] = std::move(value);
    }
    mSections = std::move(sections);
    return true;
}

void SettingsStore::Load()
{
    std::string path = FilePath();
    if (path.empty())
        return;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
    {
        if (errno != ENOENT)
            Warn(path + ": cannot read settings (" + std::strerror(errno) + "); using defaults");
        return;
    }
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, got);
    bool readError = std::ferror(f) != 0;
    std::fclose(f);
    std::string error;
    if (readError)
        error = path + ": cannot read settings";
    else if (!FromText(text, path, error))
        mSections.clear();
    else
        return;
    mKeepBadFile = true;
    Warn(error + "; using defaults (the file is kept as settings.ini.bad)");
}

bool SettingsStore::Save()
{
    std::string path = FilePath();
    if (path.empty())
    {
        mDirty = false; // the in-memory store is always in sync
        return true;
    }
    std::string folder = path.substr(0, path.rfind('/'));
    std::string error;
    if (!MakeFolders(folder, 0700, error))
    {
        Warn(path + ": cannot save settings: " + error);
        return false;
    }
    if (mKeepBadFile)
    {
        std::rename(path.c_str(), (path + ".bad").c_str());
        mKeepBadFile = false;
    }
    if (!WriteFileAtomically(path, ToText(), error))
    {
        Warn(path + ": cannot save settings: " + error);
        return false;
    }
    mDirty = false;
    return true;
}

} // namespace Zestra
