// The manifest's XML reader: element sequences, entities, encodings and errors with lines.
#include <gtest/gtest.h>

#include <random>

#include "framework/resources/XMLParser.h"

namespace {

using Vel::XMLElement;
using Vel::XMLParser;

// One line per element: "S name a=v ...", "E name", "T text", "P name instr".
std::string Describe(XMLParser& parser)
{
    std::string out;
    XMLElement e;
    while (parser.NextElement(&e)) {
        switch (e.type) {
        case XMLElement::TYPE_START:
            out += "S " + e.value;
            for (const auto& name : e.attributeOrder)
                out += " " + name + "=" + e.attributes.at(name);
            break;
        case XMLElement::TYPE_END: out += "E " + e.value; break;
        case XMLElement::TYPE_ELEMENT: out += "T " + e.value; break;
        case XMLElement::TYPE_INSTRUCTION: out += "P " + e.value + " " + e.instruction; break;
        default: out += "?"; break;
        }
        out += "|";
    }
    if (parser.HasFailed())
        out += "ERROR " + parser.GetErrorText() + " @" + std::to_string(parser.GetCurrentLineNum());
    return out;
}

std::string DescribeText(const std::string& text)
{
    XMLParser parser;
    parser.SetString(text, "test.xml");
    return Describe(parser);
}

TEST(XMLParserTest, ReadsElementsAttributesAndText)
{
    struct Case {
        const char* xml;
        const char* elements;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?><a x=\"1\" y='2'>hi</a>", "P xml version=\"1.0\"|S a x=1 y=2|T hi|E a|"},
        {"<a><b/></a>", "S a|S b|E b|E a|"},
        {"<a flag path=\"p\"/>", "S a flag= path=p|E a|"},
        {"<a x=\"1\" x=\"2\"></a>", "S a x=2|E a|"},
        {"<!-- note --><a>  </a><!-- end -->", "S a|E a|"},
        {"<a>\n  two words \n</a>", "S a|T two words|E a|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeText(c.xml), c.elements) << c.xml;
}

TEST(XMLParserTest, SectionNamesTheEnclosingElements)
{
    XMLParser parser;
    parser.SetString("<m><r><i/></r></m>");
    XMLElement e;
    std::vector<std::string> sections;
    while (parser.NextElement(&e))
        sections.push_back(e.section);
    EXPECT_EQ(sections, (std::vector<std::string>{"", "m", "m/r", "m/r", "m", ""}));
}

TEST(XMLParserTest, ReplacesEntitiesAndLeavesUnknownOnesAsAmpersand)
{
    struct Case {
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"&lt;&gt;&amp;", "<>&"}, {"&quot;&apos;", "\"'"}, {"a&nbsp;b", "a b"},
        {"a&cr;b", "a\nb"},       {"A&foo;B", "A&B"},      {"fish & chips", "fish & chips"},
        {"AT&T", "AT&T"},         {"&;", "&"},
    };
    for (const Case& c : cases) {
        XMLParser parser;
        parser.SetString(std::string("<a v=\"") + c.value + "\">" + c.value + "</a>");
        XMLElement e;
        ASSERT_TRUE(parser.NextElement(&e)) << parser.GetErrorText();
        EXPECT_EQ(e.GetAttribute("v"), c.expected) << c.value;
        ASSERT_TRUE(parser.NextElement(&e));
        EXPECT_EQ(e.value, c.expected) << c.value;
    }
}

TEST(XMLParserTest, DecodesUtf16AndUtf8WithByteOrderMarks)
{
    const std::u16string text = u"<a v=\"\u00e9\U0001F600\">x</a>";
    const std::string expected = "S a v=\xC3\xA9\xF0\x9F\x98\x80|T x|E a|";
    for (bool little : {true, false}) {
        std::vector<uint8_t> bytes = little ? std::vector<uint8_t>{0xFF, 0xFE} : std::vector<uint8_t>{0xFE, 0xFF};
        for (char16_t u : text) {
            const uint8_t lo = uint8_t(u), hi = uint8_t(u >> 8);
            bytes.push_back(little ? lo : hi);
            bytes.push_back(little ? hi : lo);
        }
        XMLParser parser;
        parser.SetBytes(bytes);
        EXPECT_EQ(Describe(parser), expected) << little;
    }
    const std::string utf8 = "\xEF\xBB\xBF<a v=\"\xC3\xA9\xF0\x9F\x98\x80\">x</a>";
    XMLParser parser;
    parser.SetBytes(std::vector<uint8_t>(utf8.begin(), utf8.end()));
    EXPECT_EQ(Describe(parser), expected);
    // Without a mark the bytes pass through as they are.
    EXPECT_EQ(DescribeText("<a v=\"\xE9\">x</a>"), "S a v=\xE9|T x|E a|");
}

TEST(XMLParserTest, IllegalByteSequencesAreReportedWithTheirLine)
{
    const char* const bad[] = {
        "\xC0\x80",         // overlong
        "\xE0\x80\xAF",     // overlong three-byte form
        "\xED\xA0\x80",     // a surrogate
        "\xEF\xBF\xBF",     // U+FFFF
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xC3",             // cut short
        "\x80",             // a lone continuation byte
    };
    for (const char* b : bad) {
        const std::string text = std::string("\xEF\xBB\xBF<a>\n<b v=\"") + b + "\"/></a>";
        EXPECT_EQ(DescribeText(text), "S a|ERROR Illegal Character @2") << b;
    }
    // A lone low surrogate in UTF-16.
    XMLParser parser;
    parser.SetBytes({0xFF, 0xFE, '<', 0, 'a', 0, '>', 0, 0x00, 0xDC});
    EXPECT_EQ(Describe(parser), "S a|ERROR Illegal Character @1");
}

TEST(XMLParserTest, MalformedDocumentsGiveTheirError)
{
    struct Case {
        const char* xml;
        const char* result;
    };
    const Case cases[] = {
        {"<a>\n</b>", "S a|ERROR End 'b' Doesn't Match Start 'a' @2"},
        {"</a>", "ERROR Unexpected End @1"},
        {"<a>\n<b>\n", "S a|S b|ERROR Unexpected End of File @3"},
        {"<a x=\"1", "ERROR Unexpected End of File @1"},
        {"<a <b>", "ERROR Unexpected '<' @1"},
        {"<a x=>", "ERROR Unexpected '>' @1"},
        {"<>", "ERROR Unexpected '>' @1"},
        {"<!-- open", "ERROR Unexpected End of File @1"},
        {"<?pi", "ERROR Unexpected End of File @1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeText(c.xml), c.result) << c.xml;
    // Once failed, it stays failed.
    XMLParser parser;
    parser.SetString("</a><b/>");
    XMLElement e;
    EXPECT_FALSE(parser.NextElement(&e));
    EXPECT_FALSE(parser.NextElement(&e));
    EXPECT_EQ(parser.GetErrorText(), "Unexpected End");
}

TEST(XMLParserTest, ArbitraryBytesEndInAnElementStreamOrAnError)
{
    const std::vector<std::vector<uint8_t>> marks = {{}, {0xFF, 0xFE}, {0xFE, 0xFF}, {0xEF, 0xBB, 0xBF}};
    const char alphabet[] = "<>/?!-=\"'& \nab";
    std::mt19937 rng(99);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> bytes = marks[size_t(round) % marks.size()];
        const int n = int(rng() % 64);
        for (int i = 0; i < n; ++i)
            bytes.push_back(rng() % 4 ? uint8_t(alphabet[rng() % (sizeof alphabet - 1)]) : uint8_t(rng()));
        XMLParser parser;
        parser.SetBytes(bytes, "fuzz.xml");
        XMLElement e;
        int count = 0;
        while (parser.NextElement(&e))
            ASSERT_LT(++count, 200) << "an element stream longer than its input";
        EXPECT_TRUE(parser.EndOfFile() || parser.HasFailed());
        EXPECT_EQ(parser.HasFailed(), !parser.GetErrorText().empty());
    }
}

TEST(XMLParserTest, MissingFileIsReportedOnLineZero)
{
    XMLParser parser;
    EXPECT_FALSE(parser.OpenFile("/nonexistent/manifest.xml"));
    EXPECT_EQ(parser.GetErrorText(), "Unable to open file /nonexistent/manifest.xml");
    EXPECT_EQ(parser.GetCurrentLineNum(), 0);
}

} // namespace
