#include "framework/xml/XMLParser.h"

#include "framework/pak/PakInterface.h"
#include "tests/framework/pak/PakTestUtil.h"

#include <gtest/gtest.h>

using namespace Zestra;

namespace
{

// Every element of a document as "kind:path:text", attributes appended as " name=value" in order.
std::vector<std::string> Elements(const std::string& text, bool keepComments = false, std::string* error = nullptr)
{
    static const char* kKinds[] = {"None", "Start", "End", "Text", "Instr", "Comment"};
    XMLParser reader;
    reader.OpenBuffer(text, "doc.xml");
    reader.SetKeepComments(keepComments);
    std::vector<std::string> out;
    ParsedElement element;
    while (reader.ReadNext(element))
    {
        std::string line = std::string(kKinds[element.mKind]) + ":" + element.mPath + ":" + element.mText;
        for (const std::string& name : element.mAttrOrder)
            line += " " + name + "=" + element.GetAttr(name);
        if (element.mKind == ParsedElement::Instruction)
            line += "|" + element.mInstructionBody;
        out.push_back(line);
    }
    if (error != nullptr)
    {
        *error = reader.ErrorMessage();
        if (reader.Failed())
            error->append("@").append(std::to_string(reader.CurrentLine()));
    }
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(XMLParser, ReadsElementsWithTheirPaths)
{
    EXPECT_EQ(Elements("a<b/>c"), (Lines{"Text::a", "Start::b", "End:b:b", "Text::c"}));
    EXPECT_EQ(Elements("<x>  two   words  </x>"), (Lines{"Start::x", "Text:x:two words", "End:x:x"}));
    EXPECT_EQ(Elements("<r><s id=\"1\">t</s ></r>"),
              (Lines{"Start::r", "Start:r:s id=1", "Text:r/s:t", "End:r/s:s", "End:r:r"}));
    EXPECT_EQ(Elements(""), Lines{});
    EXPECT_EQ(Elements("  \n\t "), Lines{});
}

TEST(XMLParser, AttributeQuotingAndSelfClosing)
{
    struct Case
    {
        const char* input;
        Lines expected;
    };
    const Case cases[] = {
        {"<t a=\"1 2\" b=3/>", {"Start::t a=1 2 b=3", "End:t:t"}},
        {"<Image path=\"x/y\"/>", {"Start::Image path=x/y", "End:Image:Image"}},
        {"<t a=\"1\" />", {"Start::t a=1", "End:t:t"}},
        {"<t flag nopal/>", {"Start::t flag= nopal=", "End:t:t"}},
        {"<t a = \"v\" b=\"\">", {"Start::t a=v b="}},
        {"<t a=\"1\"b=\"2\">", {"Start::t a=1 b=2"}},
        {"<t a=1 a=2>", {"Start::t a=2 a=2"}}, // a repeat overwrites and is listed again
        {"<t v=\"&lt;&amp;&quot;\" n=\"line&cr;x\">", {"Start::t v=<&\" n=line\nx"}},
        {"<t v=\" keep  \n blanks \">", {"Start::t v= keep  \n blanks "}},
        {"say \"a<b\" <x>", {"Text::say \"a<b\"", "Start::x"}}, // quotes in text protect markup
    };
    for (const Case& c : cases)
    {
        std::string error;
        EXPECT_EQ(Elements(c.input, false, &error), c.expected) << c.input;
    }
}

TEST(XMLParser, CommentsAndInstructions)
{
    const char* doc = "<?xml version=\"1.0\"?><!-- note -- here --><a/>";
    EXPECT_EQ(Elements(doc), (Lines{"Instr::xml| version=\"1.0\"", "Start::a", "End:a:a"}));
    EXPECT_EQ(Elements(doc, true),
              (Lines{"Instr::xml| version=\"1.0\"", "Comment::note -- here ", "Start::a", "End:a:a"}));
}

TEST(XMLParser, ErrorsCarryTheirMessageAndLine)
{
    struct Case
    {
        std::string input;
        std::string error;
    };
    const Case cases[] = {
        {"<t>\n</u>", "End 'u' Doesn't Match Start 't'@2"},
        {"</t>", "Unexpected End@1"},
        {"<a\n\n<b>", "Unexpected '<'@3"},
        {"a > b", "Unexpected '>'@1"},
        {"<a", "Unexpected End of File@1"},
        {"<!-- open", "Unexpected End of File@1"},
        {"<a\x01>", "Illegal Character@1"},
        {"\xEF\xBB\xBF<a>\xC3</a>", "Illegal Character@1"},         // cut sequence
        {"\xEF\xBB\xBF<a>\xC0\xAF</a>", "Illegal Character@1"},     // overlong "/"
        {"\xEF\xBB\xBF<a>\xED\xA0\x80</a>", "Illegal Character@1"}, // surrogate
        {std::string("\xFF\xFE<\0a\0>\0\x00\xDC", 10), "Illegal Character@1"}, // lone low surrogate
    };
    for (const Case& c : cases)
    {
        std::string error;
        Elements(c.input, false, &error);
        EXPECT_EQ(error, c.error) << c.input;
    }

    XMLParser reader;
    reader.OpenBuffer("<a></b><c/>", "f.xml");
    ParsedElement element;
    EXPECT_TRUE(reader.ReadNext(element));
    EXPECT_FALSE(reader.ReadNext(element));
    EXPECT_FALSE(reader.ReadNext(element)); // stays failed
    EXPECT_EQ(reader.ErrorText(), "f.xml:1: End 'b' Doesn't Match Start 'a'");

    EXPECT_FALSE(reader.Open("/no/such/file.xml"));
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.ErrorMessage(), "Unable to open file /no/such/file.xml");
}

TEST(XMLParser, DecodersAndByteOrderMarks)
{
    struct Case
    {
        const char* what;
        std::string input;
        Lines expected;
    };
    const Case cases[] = {
        {"utf-8 with mark", "\xEF\xBB\xBF<a v=\"caf\xC3\xA9\">x\xC3\xA9</a>", {"Start::a v=caf\xE9", "Text:a:x\xE9", "End:a:a"}},
        {"utf-8 beyond latin-1", "\xEF\xBB\xBF<a v=\"\xE2\x82\xAC\" w=\"k\">", {"Start::a v= w=k"}},
        {"single byte", "<a v=\"caf\xE9\">", {"Start::a v=caf\xE9"}},
        {"utf-16 le", std::string("\xFF\xFE<\0a\0 \0v\0=\0\"\0\xE9\0\"\0>\0", 20), {"Start::a v=\xE9"}},
        {"utf-16 be", std::string("\xFE\xFF\0<\0b\0>\0x", 10), {"Start::b", "Text:b:x"}},
        {"utf-16 pair", std::string("\xFF\xFEx\0\x3D\xD8\x00\xDEy\0", 10), {"Text::x?y"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Elements(c.input), c.expected) << c.what;
}

TEST(XMLParser, EntitiesDecodeInOnePass)
{
    struct Case
    {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"&amp;lt;", "&lt;"}, {"a &bogus; b", "a & b"}, {"a & b", "a & b"}, {"&apos;&gt;&nbsp;", "'> "},
        {"&amp", "&amp"},     {"x&;y", "x&y"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(DecodeEntities(std::string(c.input)), c.expected) << c.input;
        std::string wide(c.input);
        EXPECT_EQ(DecodeEntities(std::wstring(wide.begin(), wide.end())),
                  std::wstring(c.expected, c.expected + strlen(c.expected)));
    }
    std::string name = "A\"B<&C'>";
    EXPECT_EQ(DecodeEntities(EncodeEntities(name)), name);
    EXPECT_EQ(Elements("<t>&amp;lt;</t>")[1], "Text:t:&lt;");
}

TEST(XMLParser, OpensThroughTheArchive)
{
    PakTest::TempFolder dir;
    PakTest::WritePak(dir / "p.pak", {{"Properties\\Data.xml", "<root>\r\n<item/>\r\n</wrong>"}});
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "p.pak"));
    XMLParser reader;
    ASSERT_TRUE(reader.Open("properties/data.xml"));
    ParsedElement element;
    int count = 0;
    while (reader.ReadNext(element))
        ++count;
    EXPECT_EQ(count, 3);
    // The archive is named before the entry: the damage is in the archive, not in a loose file of that name.
    EXPECT_EQ(reader.ErrorText(), dir / "p.pak" + ": properties/data.xml:3: End 'wrong' Doesn't Match Start 'root'");
}
