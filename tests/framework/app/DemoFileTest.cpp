// Demo files: what the recorder writes reads back the same, and a damaged, cut or foreign file is refused with the
// line at fault named.
#include "framework/app/DemoFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace
{

using namespace Zestra;
using Type = PlatformEvent::Type;

PlatformEvent Event(Type type)
{
    PlatformEvent e;
    e.mType = type;
    return e;
}

// A recording with a start file that spans several data lines, a missing one, and an event of every kind.
std::string RecordSample(const std::string& path)
{
    std::vector<DemoStartFile> files;
    std::string bytes;
    for (int i = 0; i < 150; ++i)
        bytes += char(i * 7);
    files.push_back({"profiles.xml", true, bytes});
    files.push_back({"other.xml", false, ""});
    DemoRecorder recorder;
    std::string error;
    EXPECT_TRUE(recorder.Open(path, error)) << error;
    recorder.WriteHeader("v1.2", 4000000000u, {"-level=1:0"}, files);
    PlatformEvent move = Event(Type::MouseMove);
    move.mX = -5;
    move.mY = 610;
    recorder.WriteEvent(0, move);
    recorder.WriteLoaded(3);
    PlatformEvent down = Event(Type::MouseDown);
    down.mX = 10;
    down.mY = 20;
    down.mClickCode = -2;
    recorder.WriteEvent(3, down);
    PlatformEvent key = Event(Type::KeyDown);
    key.mKey = 13;
    key.mAlt = true;
    key.mSystemKey = true;
    recorder.WriteEvent(3, key);
    PlatformEvent ch = Event(Type::Char);
    ch.mChar = 233;
    recorder.WriteEvent(9, ch);
    PlatformEvent wheel = Event(Type::MouseWheel);
    wheel.mWheel = -2;
    recorder.WriteEvent(9, wheel);
    PlatformEvent active = Event(Type::Activate);
    recorder.WriteEvent(12, active);
    recorder.WriteEvent(12, Event(Type::Timer)); // not input: left out
    recorder.WriteEvent(15, Event(Type::Close));
    error.clear();
    EXPECT_TRUE(recorder.Finish(15, error)) << error;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DemoFile, WhatIsRecordedReadsBackTheSame)
{
    TestSupport::TempFolder folder;
    const std::string path = folder / "a.dmo";
    RecordSample(path);
    DemoScript script;
    std::string error;
    ASSERT_TRUE(ReadDemoFile(path, "v1.2", script, error)) << error;
    EXPECT_EQ(script.seed, 4000000000u);
    ASSERT_EQ(script.files.size(), 2u);
    EXPECT_EQ(script.files[0].bytes.size(), 150u);
    EXPECT_EQ(script.files[0].bytes[149], char(149 * 7));
    EXPECT_FALSE(script.files[1].exists);
    EXPECT_EQ(script.loadedAt, 3);
    EXPECT_EQ(script.endUpdate, 15);
    ASSERT_EQ(script.events.size(), 7u);
    EXPECT_EQ(script.events[0].event.mX, -5);
    EXPECT_EQ(script.events[0].event.mY, 610);
    EXPECT_EQ(script.events[1].event.mClickCode, -2);
    EXPECT_TRUE(script.events[2].event.mSystemKey);
    EXPECT_TRUE(script.events[2].event.mAlt);
    EXPECT_FALSE(script.events[2].event.mCtrl);
    EXPECT_EQ(script.events[3].event.mChar, 233);
    EXPECT_EQ(script.events[4].event.mWheel, -2);
    EXPECT_EQ(script.events[5].event.mType, Type::Activate);
    EXPECT_FALSE(script.events[5].event.mActive);
    EXPECT_EQ(script.events[6].event.mType, Type::Close);
    EXPECT_EQ(script.events[6].update, 15);
}

// A damaged copy is refused at the line holding marker (null: the last line, partial or whole), giving reason.
struct Damage
{
    const char* name;
    std::string (*change)(const std::string& text);
    const char* marker;
    const char* reason;
};

std::string ReplaceText(const std::string& text, const std::string& from, const std::string& to)
{
    std::string out = text;
    size_t at = out.find(from);
    return at == std::string::npos ? out : out.replace(at, from.size(), to);
}

int LineOf(const std::string& text, const char* marker)
{
    size_t at = marker != nullptr ? text.find(marker) : text.size() - (text.back() == '\n' ? 1 : 0);
    int line = 1;
    for (size_t i = 0; i < at && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
}

TEST(DemoFile, DamagedCutAndForeignFilesAreRefusedNamingTheLine)
{
    TestSupport::TempFolder folder;
    const std::string text = RecordSample(folder / "a.dmo");
    const Damage cases[] = {
        {"cut in half", [](const std::string& t) { return t.substr(0, t.size() / 2); }, nullptr, "cut short"},
        {"cut at a line end", [](const std::string& t) { return t.substr(0, t.rfind('\n', t.size() - 2) + 1); },
         nullptr, "end line"},
        {"another version", [](const std::string& t) { return ReplaceText(t, "version v1.2", "version v1.1"); },
         "version", "v1.1"},
        {"not a demo", [](const std::string& t) { return "<xml>\n" + t; }, "<xml>", "not a demo"},
        {"updates going back", [](const std::string& t) { return ReplaceText(t, "ev 9 char", "ev 1 char"); },
         "ev 1 char", "backwards"},
        {"unknown event", [](const std::string& t) { return ReplaceText(t, "ev 9 wheel", "ev 9 wiggle"); }, "wiggle",
         "wiggle"},
        {"bad hex", [](const std::string& t) { return ReplaceText(t, "data 00", "data 0g"); }, "data 0g", "hex"},
        {"data line missing",
         [](const std::string& t)
         {
             size_t at = t.find("data ");
             return t.substr(0, at) + t.substr(t.find('\n', at) + 1);
         },
         "nofile", "short"},
        {"missing argument", [](const std::string& t) { return ReplaceText(t, "down 10 20 -2", "down 10 20"); },
         "down 10 20", "takes 3"},
    };
    for (const Damage& damage : cases)
    {
        const std::string changed = damage.change(text);
        const int line = LineOf(changed, damage.marker);
        DemoScript script;
        std::string error;
        EXPECT_FALSE(ParseDemoText(changed, "x.dmo", "v1.2", script, error)) << damage.name;
        EXPECT_NE(error.find("line " + std::to_string(line) + ":"), std::string::npos) << damage.name << ": " << error;
        EXPECT_NE(error.find(damage.reason), std::string::npos) << damage.name << ": " << error;
    }
}

TEST(DemoFile, AMissingFileIsNamed)
{
    DemoScript script;
    std::string error;
    EXPECT_FALSE(ReadDemoFile("/nonexistent/x.dmo", "v1.2", script, error));
    EXPECT_NE(error.find("/nonexistent/x.dmo"), std::string::npos);
}

TEST(DemoFile, DigestIsStableAndTellsTextsApart)
{
    EXPECT_EQ(DigestText(""), "cbf29ce484222325");
    EXPECT_EQ(DigestText("board"), DigestText("board"));
    EXPECT_NE(DigestText("board 1"), DigestText("board 2"));
}

} // namespace
