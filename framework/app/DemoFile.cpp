#include "framework/app/DemoFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Zestra
{

namespace
{

using Type = PlatformEvent::Type;

constexpr size_t kDataBytesPerLine = 64;
// A demo is input, not media: anything this large is not one of ours.
constexpr size_t kMaxDemoBytes = 256u * 1024u * 1024u;
constexpr size_t kMaxStartFileBytes = 16u * 1024u * 1024u;

struct KindName
{
    Type type;
    const char* name;
};
constexpr KindName kKinds[] = {
    {Type::MouseMove, "move"},        {Type::MouseDown, "down"},    {Type::MouseUp, "up"},
    {Type::MouseWheel, "wheel"},      {Type::MouseLeave, "leave"},  {Type::KeyDown, "keydown"},
    {Type::KeyUp, "keyup"},           {Type::Char, "char"},         {Type::Activate, "active"},
    {Type::Minimize, "minimize"},     {Type::Maximize, "maximize"}, {Type::Move, "window"},
    {Type::DisplayChange, "display"}, {Type::Close, "close"},
};

int Mods(const PlatformEvent& event)
{
    return (event.mShift ? 1 : 0) | (event.mCtrl ? 2 : 0) | (event.mAlt ? 4 : 0) | (event.mSystemKey ? 8 : 0);
}

bool ParseNumber(const std::string& text, long long minValue, long long maxValue, long long& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < minValue || value > maxValue)
        return false;
    out = value;
    return true;
}

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (in >> field)
        fields.push_back(field);
    return fields;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Arguments of each kind: how many numbers follow the kind name.
int ArgumentCount(Type type)
{
    switch (type)
    {
    case Type::MouseDown:
    case Type::MouseUp:
        return 3;
    case Type::MouseMove:
    case Type::Move:
    case Type::KeyDown:
    case Type::KeyUp:
        return 2;
    case Type::MouseWheel:
    case Type::Char:
    case Type::Activate:
    case Type::Minimize:
        return 1;
    default:
        return 0;
    }
}

} // namespace

bool IsDemoEvent(const PlatformEvent& event)
{
    for (const KindName& kind : kKinds)
        if (kind.type == event.mType)
            return true;
    return false;
}

std::string FormatDemoEvent(const PlatformEvent& event)
{
    const char* name = "";
    for (const KindName& kind : kKinds)
        if (kind.type == event.mType)
            name = kind.name;
    std::string text = name;
    auto add = [&text](long long value)
    {
        text += ' ';
        text += std::to_string(value);
    };
    switch (event.mType)
    {
    case Type::MouseDown:
    case Type::MouseUp:
        add(event.mX);
        add(event.mY);
        add(event.mClickCode);
        break;
    case Type::MouseMove:
    case Type::Move:
        add(event.mX);
        add(event.mY);
        break;
    case Type::KeyDown:
    case Type::KeyUp:
        add(event.mKey);
        add(Mods(event));
        break;
    case Type::MouseWheel:
        add(event.mWheel);
        break;
    case Type::Char:
        add(event.mChar);
        break;
    case Type::Activate:
        add(event.mActive ? 1 : 0);
        break;
    case Type::Minimize:
        add(event.mMinimized ? 1 : 0);
        break;
    default:
        break;
    }
    return text;
}

bool ReadDemoFile(const std::string& path, const std::string& expectedVersion, DemoScript& script,
                  std::string& errorText)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        errorText = "Cannot read the demo file " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    {
        text.append(buffer, size_t(in.gcount()));
        if (text.size() > kMaxDemoBytes)
        {
            errorText = "The demo file " + path + " is larger than any demo (" +
                        std::to_string(kMaxDemoBytes / (1024 * 1024)) + " MiB)";
            return false;
        }
    }
    return ParseDemoText(text, path, expectedVersion, script, errorText);
}

namespace
{

// Puts an event line's numbers where its kind keeps them; false for a character beyond a byte.
bool SetEventArguments(PlatformEvent& e, const long long (&a)[3])
{
    switch (e.mType)
    {
    case Type::MouseDown:
    case Type::MouseUp:
        e.mX = int(a[0]);
        e.mY = int(a[1]);
        e.mClickCode = int(a[2]);
        break;
    case Type::MouseMove:
    case Type::Move:
        e.mX = int(a[0]);
        e.mY = int(a[1]);
        break;
    case Type::KeyDown:
    case Type::KeyUp:
        e.mKey = int(a[0]);
        e.mShift = (a[1] & 1) != 0;
        e.mCtrl = (a[1] & 2) != 0;
        e.mAlt = (a[1] & 4) != 0;
        e.mSystemKey = (a[1] & 8) != 0;
        break;
    case Type::MouseWheel:
        e.mWheel = int(a[0]);
        break;
    case Type::Char:
        if (a[0] < 0 || a[0] > 255)
            return false;
        e.mChar = uint8_t(a[0]);
        break;
    case Type::Activate:
        e.mActive = a[0] != 0;
        break;
    case Type::Minimize:
        e.mMinimized = a[0] != 0;
        break;
    default:
        break;
    }
    return true;
}

} // namespace

bool ParseDemoText(const std::string& text, const std::string& path, const std::string& expectedVersion,
                   DemoScript& script, std::string& errorText)
{
    script = DemoScript();
    int lineNumber = 0;
    auto fail = [&](const std::string& what)
    {
        errorText = "The demo file " + path + " is refused: line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    bool sawVersion = false;
    bool sawSeed = false;
    bool ended = false;
    size_t pendingData = 0; // bytes still owed to the last "file" line
    size_t pos = 0;
    while (pos < text.size())
    {
        ++lineNumber;
        size_t lineEnd = text.find('\n', pos);
        if (lineEnd == std::string::npos)
            return fail("the line is cut short (no line end): the file is incomplete");
        const std::string line = text.substr(pos, lineEnd - pos);
        pos = lineEnd + 1;
        if (ended)
            return fail("text after the end line");
        const std::vector<std::string> f = Split(line);
        if (lineNumber == 1)
        {
            if (f.size() != 2 || f[0] != "zestra-demo")
                return fail("this is not a demo file (it must begin with \"zestra-demo 1\")");
            if (f[1] != "1")
                return fail("demo format revision " + f[1] + " is not known to this program");
            continue;
        }
        if (f.empty())
            return fail("empty line");
        if (pendingData > 0 && f[0] != "data")
            return fail("the bytes of " + script.files.back().name + " stop " + std::to_string(pendingData) +
                        " bytes short");
        long long n = 0;
        if (f[0] == "version")
        {
            const std::string version = line.size() > 8 ? line.substr(8) : std::string();
            if (version != expectedVersion)
                return fail("recorded by version \"" + version + "\"; this program is version \"" + expectedVersion +
                            "\" and cannot replay it exactly");
            script.version = version;
            sawVersion = true;
        }
        else if (!sawVersion)
            return fail("the version line must come second");
        else if (f[0] == "seed")
        {
            if (f.size() != 2 || !ParseNumber(f[1], 0, UINT32_MAX, n))
                return fail("a seed must be a number from 0 to 4294967295");
            script.seed = unsigned(n);
            sawSeed = true;
        }
        else if (f[0] == "option")
        {
            // "-name=value": one token, so a value with blanks cannot be recorded (no option that shapes a run
            // takes one).
            if (f.size() != 2 || f[1].size() < 2 || f[1][0] != '-')
                return fail("an option line holds one option, \"-name\" or \"-name=value\"");
            script.options.push_back(f[1]);
        }
        else if (f[0] == "file" || f[0] == "nofile")
        {
            const bool exists = f[0] == "file";
            if (f.size() != (exists ? 3u : 2u) || f[1].find('/') != std::string::npos || f[1] == "..")
                return fail("a start file is named without folders" + std::string(exists ? " and given a size" : ""));
            if (exists && !ParseNumber(f[2], 0, kMaxStartFileBytes, n))
                return fail("a start file's size must be a number up to " + std::to_string(kMaxStartFileBytes));
            script.files.push_back({f[1], exists, std::string()});
            pendingData = exists ? size_t(n) : 0;
        }
        else if (f[0] == "data")
        {
            if (pendingData == 0 || f.size() != 2)
                return fail("data without a start file waiting for it");
            const std::string& hex = f[1];
            const size_t bytes = hex.size() / 2;
            if (hex.size() % 2 != 0 || bytes == 0 || bytes > kDataBytesPerLine || bytes > pendingData)
                return fail("damaged data (wrong length)");
            std::string& out = script.files.back().bytes;
            for (size_t i = 0; i < hex.size(); i += 2)
            {
                int hi = HexDigit(hex[i]);
                int lo = HexDigit(hex[i + 1]);
                if (hi < 0 || lo < 0)
                    return fail("damaged data (not hex digits)");
                out += char(hi * 16 + lo);
            }
            pendingData -= bytes;
        }
        else if (f[0] == "loaded")
        {
            if (f.size() != 2 || !ParseNumber(f[1], 0, INT_MAX, n))
                return fail("\"loaded\" takes one update number");
            script.loadedAt = int(n);
        }
        else if (f[0] == "ev")
        {
            if (f.size() < 3 || !ParseNumber(f[1], 0, INT_MAX, n))
                return fail("an event needs an update number and a kind");
            DemoEvent event;
            event.update = int(n);
            if (!script.events.empty() && event.update < script.events.back().update)
                return fail("update numbers go backwards");
            const KindName* kind = nullptr;
            for (const KindName& k : kKinds)
                if (f[2] == k.name)
                    kind = &k;
            if (kind == nullptr)
                return fail("unknown event kind \"" + f[2] + "\"");
            PlatformEvent& e = event.event;
            e.mType = kind->type;
            const int count = ArgumentCount(kind->type);
            if (int(f.size()) != 3 + count)
                return fail("\"" + f[2] + "\" takes " + std::to_string(count) + " numbers");
            long long a[3] = {0, 0, 0};
            for (int i = 0; i < count; ++i)
                if (!ParseNumber(f[size_t(3 + i)], INT_MIN, INT_MAX, a[i]))
                    return fail("\"" + f[size_t(3 + i)] + "\" is not a number");
            if (!SetEventArguments(e, a))
                return fail("a character is a byte (0 to 255)");
            script.events.push_back(event);
        }
        else if (f[0] == "end")
        {
            if (f.size() != 2 || !ParseNumber(f[1], 0, INT_MAX, n))
                return fail("\"end\" takes one update number");
            if (!script.events.empty() && n < script.events.back().update)
                return fail("the end comes before the last event");
            script.endUpdate = int(n);
            ended = true;
        }
        else
            return fail("unknown record \"" + f[0] + "\"");
    }
    if (lineNumber == 0)
        return fail("the file is empty");
    if (pendingData > 0)
        return fail("the bytes of " + script.files.back().name + " stop " + std::to_string(pendingData) +
                    " bytes short: the file is incomplete");
    if (!sawSeed)
        return fail("no seed line");
    if (!ended)
        return fail("the file stops before its end line: it is incomplete");
    return true;
}

bool DemoRecorder::Open(const std::string& path, std::string& errorText)
{
    std::string reason;
    if (!mOut.Open(path, 0644, reason))
    {
        errorText = "Cannot write the demo file " + path + ": " + reason;
        return false;
    }
    mOpen = true;
    return true;
}

void DemoRecorder::Line(const std::string& text)
{
    if (!mOpen)
        return;
    mOut.Write(text);
    mOut.Write("\n", 1);
}

std::string DemoHeaderText(const std::string& version, unsigned seed, const std::vector<std::string>& options,
                           const std::vector<DemoStartFile>& files)
{
    std::string text = "zestra-demo 1\nversion " + version + "\nseed " + std::to_string(seed) + "\n";
    for (const std::string& option : options)
        text += "option " + option + "\n";
    static const char kHex[] = "0123456789abcdef";
    for (const DemoStartFile& file : files)
    {
        if (!file.exists)
        {
            text += "nofile " + file.name + "\n";
            continue;
        }
        text += "file " + file.name + " " + std::to_string(file.bytes.size()) + "\n";
        for (size_t at = 0; at < file.bytes.size(); at += kDataBytesPerLine)
        {
            text += "data ";
            for (size_t i = at; i < file.bytes.size() && i < at + kDataBytesPerLine; ++i)
            {
                text += kHex[uint8_t(file.bytes[i]) >> 4];
                text += kHex[uint8_t(file.bytes[i]) & 15];
            }
            text += "\n";
        }
    }
    return text;
}

void DemoRecorder::WriteHeader(const std::string& version, unsigned seed, const std::vector<std::string>& options,
                               const std::vector<DemoStartFile>& files)
{
    if (mOpen)
        mOut.Write(DemoHeaderText(version, seed, options, files));
}

void DemoRecorder::WriteLoaded(int update)
{
    Line("loaded " + std::to_string(update));
}

void DemoRecorder::WriteEvent(int update, const PlatformEvent& event)
{
    if (IsDemoEvent(event))
        Line("ev " + std::to_string(update) + " " + FormatDemoEvent(event));
}

bool DemoRecorder::Finish(int update, std::string& errorText)
{
    if (!mOpen)
        return true;
    Line("end " + std::to_string(update));
    mOpen = false;
    std::string reason;
    if (mOut.Commit(reason))
        return true;
    errorText = "The demo could not be written: " + reason;
    return false;
}

std::string DigestText(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : text)
    {
        hash ^= uint8_t(c);
        hash *= 1099511628211ull;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(hash));
    return out;
}

} // namespace Zestra
