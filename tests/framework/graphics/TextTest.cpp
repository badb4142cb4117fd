// Text runs with colour codes and word wrapping, laid out with a fixed-width test font that
// records what it is asked to draw.
#include <gtest/gtest.h>

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

using Vel::Color;
using Vel::Graphics;
using Vel::Rect;

namespace {

// Every character is 6 wide, except that 'V' after 'A' kerns to 3. Ascent 8 with padding 1,
// height 11, line spacing 13.
class TestFont : public Vel::Font {
public:
    struct Call {
        std::string text;
        int x, y;
        Color color;
    };
    TestFont()
    {
        m_ascent = 8;
        m_ascentPadding = 1;
        m_height = 11;
        m_lineSpacingOffset = 2;
    }
    int CharWidth(char) override { return 6; }
    int CharWidthKern(char c, char prev) override { return prev == 'A' && c == 'V' ? 3 : 6; }
    int StringWidth(const std::string& text) override
    {
        int w = 0;
        char prev = 0;
        for (char c : text) w += CharWidthKern(c, prev), prev = c;
        return w;
    }
    void DrawString(Graphics*, int x, int y, const std::string& text, const Color& color, const Rect&) override
    {
        m_calls.push_back({text, x, y, color});
    }
    Font* Duplicate() override { return new TestFont(*this); }

    std::string Drawn() const
    {
        std::string all;
        for (const Call& c : m_calls) all += c.text;
        return all;
    }
    std::vector<Call> m_calls;
};

const Color kStart(0, 0, 255, 200);

struct TextFixture : ::testing::Test {
    TextFixture() : canvas(), g(nullptr)
    {
        canvas.Create(200, 200);
        g = Graphics(&canvas);
        g.SetFont(&font);
        g.SetColor(kStart);
    }
    Vel::MemoryImage canvas;
    Graphics g;
    TestFont font;
};

using ColorCodeTest = TextFixture;
using WrapTest = TextFixture;

} // namespace

TEST_F(ColorCodeTest, CodesChangeColourOnlyWhenComplete)
{
    struct Case {
        const char* text;
        std::string drawn; // every character drawn, in order
        Color last;        // colour left set by the run
    };
    const Case cases[] = {
        {"a^^b", "a^b", kStart},
        {"^FF0000^red", "red", Color(255, 0, 0, 200)}, // the alpha stays
        {"^00ff00^x^oldclr^y", "xy", kStart},
        {"^GG0010^z", "z", Color(0, 0, 16, 200)}, // a non-hex digit counts as 0
        {"ab^FF00", "ab^FF00", kStart},           // cut short at the end of the text
        {"^FF00^x", "^FF00^x", kStart},           // closing caret in the wrong place
        {"^oldclr", "^oldclr", kStart},
        {"^", "^", kStart},
    };
    for (const Case& c : cases) {
        font.m_calls.clear();
        g.SetColor(kStart);
        const int width = g.DrawTextRun(c.text, 10, 20, 0, -1, true, 0, -1, kStart);
        EXPECT_EQ(font.Drawn(), c.drawn) << c.text;
        EXPECT_EQ(width, int(c.drawn.size()) * 6) << c.text;
        EXPECT_EQ(g.GetColor(), c.last) << c.text;
    }
}

TEST_F(ColorCodeTest, RunsDrawPiecesInTheirColoursAndNeverReadPastTheirEnd)
{
    g.DrawTextRun("x^FF0000^red^oldclr^ rest", 10, 20, 0, -1, true, 0, -1, kStart);
    ASSERT_EQ(font.m_calls.size(), 3u);
    EXPECT_EQ(font.m_calls[1].text, "red");
    EXPECT_EQ(font.m_calls[1].x, 16);
    EXPECT_EQ(font.m_calls[1].color, Color(255, 0, 0, 200));
    EXPECT_EQ(font.m_calls[2].text, " rest");
    EXPECT_EQ(font.m_calls[2].x, 34);
    EXPECT_EQ(font.m_calls[2].color, kStart);

    // A code that runs past the end of the part being drawn is plain text.
    font.m_calls.clear();
    g.DrawTextRun("ab^FF0000^cd", 0, 0, 0, -1, true, 1, 6, kStart);
    EXPECT_EQ(font.Drawn(), "b^FF00");

    // Without an explicit old colour, "^oldclr^" goes back to the colour the call started with.
    font.m_calls.clear();
    g.SetColor(Color(7, 7, 7));
    g.DrawTextRun("^FF0000^a^oldclr^b", 0, 0, 0, -1);
    EXPECT_EQ(font.m_calls[1].color, Color(7, 7, 7));
    g.SetColor(kStart);

    // Centred and right-aligned runs are measured first, without the codes' width.
    font.m_calls.clear();
    g.DrawTextRun("^FF0000^abc", 0, 0, 100, 0, true);
    g.DrawTextRun("abc", 0, 0, 100, 1, true);
    EXPECT_EQ(font.m_calls[0].x, 41);
    EXPECT_EQ(font.m_calls[0].color, Color(255, 0, 0, 200)); // the measuring pass left no colour behind
    EXPECT_EQ(font.m_calls[1].x, 82);

    // DrawString draws its text unchanged.
    font.m_calls.clear();
    g.DrawString("^FF0000^x", 0, 0);
    EXPECT_EQ(font.Drawn(), "^FF0000^x");
}

TEST_F(WrapTest, LinesBreakAtBlanksAndLongWordsBetweenCharacters)
{
    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"aa bb cccccccccc  dd", 30, {"aa bb", "ccccc", "ccccc", "dd"}},
        {"one\ntwo", 100, {"one", "two"}},
        {"AVAV AVAV", 18, {"AVAV", "AVAV"}}, // kerning counts: 6 + 3 + 6 + 3
        {"xyz", 1, {"x", "y", "z"}},          // a line always holds one character
        {"a^^b c", 18, {"a^b", "c"}},
    };
    for (const Case& c : cases) {
        font.m_calls.clear();
        int widest = 0;
        const int height = g.DrawWrappedText(Rect(5, 10, c.width, 100), c.text, -1, -1, &widest);
        std::vector<std::string> lines;
        for (const auto& call : font.m_calls) lines.push_back(call.text);
        EXPECT_EQ(lines, c.lines) << c.text;
        // The first baseline is at y + ascent - padding; lines are 13 apart.
        for (size_t i = 0; i < font.m_calls.size(); ++i) EXPECT_EQ(font.m_calls[i].y, 10 + 7 + 13 * int(i)) << c.text;
        EXPECT_EQ(height, 7 + (int(c.lines.size()) - 1) * 13 + 3) << c.text;
        EXPECT_EQ(g.GetWrappedHeight(c.width, c.text), height) << c.text;
    }
    EXPECT_EQ(g.GetWrappedHeight(200, "ends with a break\n"), 7 + 13 + 3);
    EXPECT_EQ(g.GetWrappedHeight(12, "aa "), 7 + 3); // wrapping at the very end adds no line
}

TEST_F(WrapTest, ColoursCarryAcrossLinesAndTheStartColourComesBack)
{
    g.DrawWrappedText(Rect(0, 0, 30, 100), "^FF0000^aaaa bbbb^oldclr^ cc", -1, -1);
    ASSERT_EQ(font.m_calls.size(), 3u);
    EXPECT_EQ(font.m_calls[0].text, "aaaa");
    EXPECT_EQ(font.m_calls[0].color, Color(255, 0, 0, 200));
    EXPECT_EQ(font.m_calls[1].text, "bbbb");
    EXPECT_EQ(font.m_calls[1].color, Color(255, 0, 0, 200));
    EXPECT_EQ(font.m_calls[2].text, "cc");
    EXPECT_EQ(font.m_calls[2].color, kStart);
    EXPECT_EQ(g.GetColor(), kStart);

    // A code left open at the end is undone when the text ends.
    g.DrawWrappedText(Rect(0, 0, 30, 100), "^00FF00^green", -1, -1);
    EXPECT_EQ(g.GetColor(), kStart);
}

TEST_F(WrapTest, OnlyLinesNearTheClipAreDrawnAndJustifyUsesTheWidth)
{
    g.ClipRect(0, 40, 200, 10);
    const std::string text = "l0\nl1\nl2\nl3\nl4\nl5\nl6\nl7";
    const int height = g.DrawWrappedText(Rect(0, 0, 200, 200), text, 13, -1);
    std::vector<std::string> lines;
    for (const auto& call : font.m_calls) lines.push_back(call.text);
    // Baselines 7, 20, 33, 46, 59 ...: inside 40..50 extended by one line spacing each way.
    EXPECT_EQ(lines, (std::vector<std::string>{"l2", "l3", "l4"}));
    EXPECT_EQ(height, 7 + 7 * 13 + 3);

    Graphics right(&canvas);
    right.SetFont(&font);
    font.m_calls.clear();
    right.DrawWrappedText(Rect(10, 0, 60, 100), "ab cd", -1, 1);
    ASSERT_EQ(font.m_calls.size(), 1u);
    EXPECT_EQ(font.m_calls[0].x, 10 + 60 - 30);
}
