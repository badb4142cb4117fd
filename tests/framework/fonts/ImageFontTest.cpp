// Image fonts from small descriptions written by the tests: parsing and its errors, layer
// selection, measuring with kerning, and drawing order and colour checked on real pixels.
#include <gtest/gtest.h>

#include <random>

#include "framework/fonts/FontHost.h"
#include "framework/fonts/ImageFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/graphics/MemoryImage.h"
#include "tests/framework/fonts/FontTestFiles.h"

namespace {

using Vel::Color;
using Vel::ImageFont;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

class RecordingHost : public Vel::FontHost {
public:
    Vel::ImageRegistry* GetImageRegistry() override { return &m_registry; }
    void Popup(const std::string& text) override { m_popups.push_back(text); }

    Vel::ImageRegistry m_registry;
    std::vector<std::string> m_popups;
};

// Glyphs 4 x 4: 'a' red, 'b' blue, 'w' white, side by side in one 12 x 4 image.
const char* const kBaseDescription = R"(# test font
CreateLayer Main;
LayerSetImage Main "glyphs.tga";
LayerSetAscent Main 4;
LayerSetImageMap Main ('a' 'b' 'w') ((0 0 4 4) (4 0 4 4) (8 0 4 4));
LayerSetCharWidths Main ('a' 'b' 'w') (2 4 4);
)";

class ImageFontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<uint32_t> pixels(12 * 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 12; ++x)
                pixels[size_t(y * 12 + x)] = x < 4 ? kRed : x < 8 ? kBlue : kWhite;
        m_dir.WriteTga("glyphs.tga", 12, 4, pixels);
    }

    std::unique_ptr<ImageFont> MakeFont(const std::string& extra)
    {
        const std::string path = m_dir.WriteText("font.txt", kBaseDescription + extra);
        return std::make_unique<ImageFont>(&m_host, path);
    }

    // Draws into a fresh transparent 16 x 6 image with the baseline at y = 4.
    Vel::MemoryImage Draw(ImageFont& font, const std::string& text, Color color = Color::White())
    {
        Vel::MemoryImage dest;
        dest.Create(16, 6);
        Vel::Graphics g(&dest);
        font.DrawString(&g, 0, 4, text, color, g.GetClipRect());
        return dest;
    }

    static uint32_t Pixel(Vel::MemoryImage& image, int x, int y) { return image.GetBits()[y * image.GetWidth() + x]; }

    VelTest::ScratchDir m_dir;
    RecordingHost m_host;
};

TEST_F(ImageFontTest, DefineHoldingAListServesAsTheWidthList)
{
    auto font = MakeFont("Define Widths (3 5 7);\n"
                         "LayerSetCharWidths Main ('a' 'b' 'w') Widths;\n");
    ASSERT_TRUE(font->IsLoaded()) << (m_host.m_popups.empty() ? "" : m_host.m_popups[0]);
    EXPECT_EQ(font->CharWidth('a'), 3);
    EXPECT_EQ(font->CharWidth('b'), 5);
    EXPECT_EQ(font->CharWidth('w'), 7);
    EXPECT_EQ(font->StringWidth("abw"), 15);
    EXPECT_EQ(font->GetDefine("widths"), "(3, 5, 7)");
    EXPECT_EQ(font->GetDefine("nothing"), "");
    EXPECT_TRUE(m_host.m_popups.empty());
}

TEST_F(ImageFontTest, QuotedCharactersMayHoldTheOtherQuoteOrADoubledOne)
{
    auto font = MakeFont("LayerSetCharWidths Main ('\"' \"'\" \"\"\"\" ',') (5 6 7 8);\n"
                         "LayerSetKerningPairs Main (\"a'\" '\"a') (3 -2);\n");
    ASSERT_TRUE(font->IsLoaded()) << (m_host.m_popups.empty() ? "" : m_host.m_popups[0]);
    EXPECT_EQ(font->CharWidth('\''), 6);
    EXPECT_EQ(font->CharWidth(','), 8);
    EXPECT_EQ(font->CharWidth('"'), 7) << "the later of the two widths for '\"'";
    EXPECT_EQ(font->StringWidth("a'"), 2 + 6 + 3);
    EXPECT_EQ(font->StringWidth("\"a"), 7 + 2 - 2);
}

TEST_F(ImageFontTest, MisspeltDefineShowsOnePopupWithLineAndCommand)
{
    auto font = MakeFont("Define Widths (3 5 7);\n"
                         "LayerSetCharWidths Main ('a' 'b' 'w') Widthz;\n"
                         "LayerSetSpacing Main 1 2;\n");
    EXPECT_FALSE(font->IsLoaded());
    ASSERT_EQ(m_host.m_popups.size(), 1u);
    EXPECT_EQ(m_host.m_popups[0], "Font Descriptor Error in " + m_dir.Path("font.txt") +
                                      "\r\nUnable to Dereference \"Widthz\" on Line 8:\r\n\r\n"
                                      "LayerSetCharWidths Main ('a' 'b' 'w') Widthz");
    // An unloaded font measures nothing and draws nothing.
    EXPECT_EQ(font->StringWidth("abw"), 0);
    auto image = Draw(*font, "abw");
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(Pixel(image, x, 2), 0u);
}

TEST_F(ImageFontTest, MalformedCommandsFailWithTheirError)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"LayerSetSpacing Main 1 2;", "Invalid Number of Parameters"},
        {"LayerSetAscent Main;", "Invalid Number of Parameters"},
        {"Define X 1 2;", "Invalid Number of Parameters"},
        {"Define X (1 2));", "Unexpected List End"},
        {"Define X y(1 2);", "Unexpected List Start"},
        {"Define X 'abc;", "Unterminated Single Quotes"},
        {"Define X \"abc;", "Unterminated Double Quotes"},
        {"Define X (1 (2 3);", "Unterminated List"},
        {"(Define) X 1;", "Missing Command"},
        {"LayerFrobnicate Main 1;", "Unknown Command"},
        {"LayerSetSpacing Nope 1;", "Undefined Layer"},
        {"LayerSetSpacing \"Main\" 1;", "Undefined Layer"},
        {"CreateLayer main;", "Layer Already Exists"},
        {"LayerSetSpacing Main \"wide\";", "Invalid Paramater Type"},
        {"LayerSetSpacing Main 12abc;", "Invalid Paramater Type"},
        {"LayerSetCharWidths Main ('a' 'b') (1);", "List Size Mismatch"},
        {"LayerSetCharWidths Main ('ab') (1);", "Invalid Paramater Type"},
        {"LayerSetColorMult Main (1 1 1);", "Invalid Paramater Type"},
        {"LayerSetKerningPairs Main ('a') (1);", "Invalid Paramater Type"},
        {"LayerSetImageMap Main ('a') ((10 0 4 4));", "Image rectangle out of bounds"},
        {"LayerSetImageMap Main ('a') ((0 0 -1 4));", "Image rectangle out of bounds"},
        {"LayerSetImageMap Main ('a') ((2147483647 0 4 4));", "Image rectangle out of bounds"},
        {"CreateLayer Bare; LayerSetImageMap Bare ('a') ((0 0 1 1));", "Layer image not set"},
        {"LayerSetImage Main \"missing.tga\";", "Failed to Load Image"},
        {"SetCharMap ('a' 'b') ('c');", "List Size Mismatch"},
    };
    for (const Case& c : cases) {
        m_host.m_popups.clear();
        auto font = MakeFont(c.text);
        EXPECT_FALSE(font->IsLoaded()) << c.text;
        ASSERT_EQ(m_host.m_popups.size(), 1u) << c.text;
        EXPECT_NE(m_host.m_popups[0].find("\r\n" + std::string(c.error) + " on Line "), std::string::npos)
            << c.text << " gave " << m_host.m_popups[0];
        EXPECT_EQ(font->GetFontData()->GetErrorText(), c.error) << c.text;
    }
    // A deep pile of lists is refused before it is built.
    auto deep = MakeFont("Define X " + std::string(200000, '(') + ";");
    EXPECT_FALSE(deep->IsLoaded());
    EXPECT_EQ(deep->GetFontData()->GetErrorText(), "Unexpected List Start");
}

TEST_F(ImageFontTest, HigherDrawOrderIsDrawnOverLowerWhateverTheCharacterOrder)
{
    // 'a' is 2 wide, so 'b' starts at x = 2 and covers columns 2..3 of the red 'a'.
    struct Case {
        int orderA;
        int orderB;
        uint32_t expected;
    };
    const Case cases[] = {
        {0, 0, kBlue},    // equal orders: the later character wins
        {1, 0, kRed},     // the earlier character is drawn last
        {0, -1, kRed},
        {-500, 0, kBlue}, // far below the range still counts as the lowest
        {0, 500, kBlue},
    };
    for (const Case& c : cases) {
        auto font = MakeFont("LayerSetCharOrders Main ('a' 'b') (" + std::to_string(c.orderA) + " " +
                             std::to_string(c.orderB) + ");");
        ASSERT_TRUE(font->IsLoaded());
        auto image = Draw(*font, "ab");
        EXPECT_EQ(Pixel(image, 3, 1), c.expected) << c.orderA << " " << c.orderB;
        EXPECT_EQ(Pixel(image, 1, 1), kRed);
        EXPECT_EQ(Pixel(image, 5, 1), kBlue);
    }
}

TEST_F(ImageFontTest, KerningChangesWidthAndDrawnPositionAlike)
{
    for (int kern : {0, -1, 2}) {
        auto font = MakeFont("LayerSetKerningPairs Main (\"ab\") (" + std::to_string(kern) + ");");
        ASSERT_TRUE(font->IsLoaded());
        EXPECT_EQ(font->StringWidth("ab"), 2 + 4 + kern);
        EXPECT_EQ(font->StringWidth("ba"), 4 + 2) << "kerning is per ordered pair";

        Vel::MemoryImage dest;
        dest.Create(16, 6);
        Vel::Graphics g(&dest);
        std::vector<Vel::Rect> rects;
        int width = -1;
        font->DrawStringFull(&g, 0, 4, "ab", Color::White(), g.GetClipRect(), &rects, &width);
        EXPECT_EQ(width, font->StringWidth("ab"));
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_EQ(rects[1].x, 2 + kern);
        // The blue glyph's last column, and nothing right of it.
        EXPECT_EQ(Pixel(dest, 2 + kern + 3, 1), kBlue);
        EXPECT_EQ(Pixel(dest, 2 + kern + 4, 1), 0u);
    }
}

TEST_F(ImageFontTest, SpanRectListsCharMapsAndOffsets)
{
    auto font = MakeFont("CreateHorzSpanRectList Spans (0 0 4 4) (4 4 4);\n"
                         "LayerSetImageMap Main ('a' 'b' 'w') Spans;\n"
                         "SetCharMap ('A' 'B') ('a' 'b');\n"
                         "LayerSetOffset Main (1 2);\n"
                         "LayerSetCharOffsets Main ('b') ((1 0));\n");
    ASSERT_TRUE(font->IsLoaded()) << (m_host.m_popups.empty() ? "" : m_host.m_popups[0]);
    EXPECT_EQ(font->GetDefine("Spans"), "((0, 0, 4, 4), (4, 0, 4, 4), (8, 0, 4, 4))");
    EXPECT_EQ(font->StringWidth("AB"), font->StringWidth("ab")) << "mapped before any lookup";
    EXPECT_EQ(font->StringWidth("ab"), 6) << "offsets move glyphs, not the advance";

    Vel::MemoryImage dest;
    dest.Create(16, 6);
    Vel::Graphics g(&dest);
    std::vector<Vel::Rect> rects;
    font->DrawStringFull(&g, 0, 4, "AB", Color::White(), g.GetClipRect(), &rects, nullptr);
    // x: pen + char offset + layer offset; y: baseline - (ascent - char offset - layer offset).
    EXPECT_EQ(rects, (std::vector<Vel::Rect>{{1, 2, 4, 4}, {4, 2, 4, 4}}));
    EXPECT_EQ(Pixel(dest, 7, 5), kBlue);
    EXPECT_EQ(Pixel(dest, 1, 1), 0u);
}

TEST_F(ImageFontTest, LayerBaseOrderPutsACopiedLayerUnderOrOverItsSource)
{
    // The shadow layer is a copy shifted right by one and darkened to black.
    for (int baseOrder : {0, -1}) {
        auto font = MakeFont("CreateLayerFrom Shadow Main;\n"
                             "LayerSetOffset Shadow (1 0);\n"
                             "LayerSetColorMult Shadow 0xFF000000;\n"
                             "LayerSetBaseOrder Shadow " + std::to_string(baseOrder) + ";\n");
        ASSERT_TRUE(font->IsLoaded());
        EXPECT_EQ(font->GetActiveLayers().size(), 2u);
        auto image = Draw(*font, "a");
        // Column 2 is covered by both layers; the later layer wins unless its order is lower.
        EXPECT_EQ(Pixel(image, 2, 1), baseOrder < 0 ? kRed : 0xFF000000u) << baseOrder;
        EXPECT_EQ(Pixel(image, 4, 1), 0xFF000000u) << "the shadow's own column";
    }
}

TEST_F(ImageFontTest, LayersFollowTagsAndPointRanges)
{
    auto font = MakeFont("SetDefaultPointSize 12;\n"
                         "CreateLayer Wide; LayerSetCharWidths Wide ('a') (6); LayerRequireTags Wide (\"shadow\");\n"
                         "CreateLayer Small; LayerSetCharWidths Small ('a') (3); LayerPointRange Small 0 9;\n"
                         "LayerExcludeTags Small (\"plain\");\n");
    ASSERT_TRUE(font->IsLoaded());
    EXPECT_EQ(font->GetPointSize(), 12);
    struct Case {
        int pointSize;
        std::vector<std::string> tags;
        int width;
        size_t layers;
    };
    const Case cases[] = {
        {12, {}, 2, 1},
        {12, {"Shadow"}, 6, 2},
        {8, {}, 3, 2},
        {8, {"plain"}, 2, 1},
        {8, {"PLAIN", "shadow"}, 6, 2},
    };
    for (const Case& c : cases) {
        for (const char* tag : {"SHADOW", "PLAIN"})
            font->RemoveTag(tag);
        font->SetPointSize(c.pointSize);
        for (const auto& tag : c.tags)
            EXPECT_TRUE(font->AddTag(tag));
        EXPECT_EQ(font->CharWidth('a'), c.width) << c.pointSize;
        EXPECT_EQ(font->GetActiveLayers().size(), c.layers) << c.pointSize;
    }
    EXPECT_FALSE(font->AddTag("shadow")) << "already present";
}

TEST_F(ImageFontTest, LayerColoursMultiplyAndAddToTheDrawingColour)
{
    auto font = MakeFont("LayerSetColorMult Main (0.5 0.5 0.5 1.0);\n"
                         "LayerSetColorAdd Main 0x00001020;\n");
    ASSERT_TRUE(font->IsLoaded());
    auto image = Draw(*font, "w", Color(200, 200, 200, 255));
    // Each channel min(255, mult x colour / 255 + add); a packed value without alpha is opaque.
    const int mult = int(0.5 * 255);
    const Color expected(mult * 200 / 255, mult * 200 / 255 + 0x10, mult * 200 / 255 + 0x20, 255);
    EXPECT_EQ(Pixel(image, 1, 1), expected.ToPacked());
}

TEST_F(ImageFontTest, DuplicateSharesDataAndKeepsSizeScaleAndTags)
{
    auto font = MakeFont("CreateLayer Wide; LayerSetCharWidths Wide ('a') (6); LayerRequireTags Wide (\"big\");");
    ASSERT_TRUE(font->IsLoaded());
    font->AddTag("big");
    font->SetScale(2.0);
    std::unique_ptr<Vel::Font> copy(font->Duplicate());
    auto* imageCopy = dynamic_cast<ImageFont*>(copy.get());
    ASSERT_NE(imageCopy, nullptr);
    EXPECT_EQ(imageCopy->GetFontData(), font->GetFontData());
    EXPECT_TRUE(imageCopy->HasTag("BIG"));
    EXPECT_EQ(copy->CharWidth('a'), 12);
    // Changing the copy leaves the original alone.
    imageCopy->RemoveTag("big");
    EXPECT_EQ(copy->CharWidth('a'), 4);
    EXPECT_EQ(font->CharWidth('a'), 12);
}

TEST_F(ImageFontTest, ScaledFontDrawsScaledGlyphs)
{
    auto font = MakeFont("");
    font->SetScale(2.0);
    EXPECT_EQ(font->CharWidth('b'), 8);
    EXPECT_EQ(font->GetAscent(), 8);
    Vel::MemoryImage dest;
    dest.Create(16, 12);
    Vel::Graphics g(&dest);
    std::vector<Vel::Rect> rects;
    font->DrawStringFull(&g, 0, 9, "b", Color::White(), g.GetClipRect(), &rects, nullptr);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0], Vel::Rect(0, 1, 8, 8));
    EXPECT_EQ(Pixel(dest, 7, 8), kBlue);
    EXPECT_EQ(Pixel(dest, 8, 8), 0u);
}

TEST_F(ImageFontTest, MangledDescriptionsNeverCrash)
{
    const std::string base = std::string(kBaseDescription) +
                             "Define W (3 5 7);\nLayerSetCharWidths Main ('a' 'b' 'w') W;\n"
                             "LayerSetKerningPairs Main (\"ab\" \"ba\") (-1 1);\n";
    const char junk[] = "();'\"\\,# \n0x-+aZ";
    std::mt19937 rng(12345);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text = base;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t pos = rng() % text.size();
            switch (rng() % 3) {
            case 0: text[pos] = junk[rng() % (sizeof junk - 1)]; break;
            case 1: text.erase(pos, 1 + rng() % 8); break;
            case 2: text.insert(pos, 1, char(rng() % 256)); break;
            }
        }
        m_host.m_popups.clear();
        auto data = std::make_shared<Vel::FontData>(&m_host);
        const bool ok = data->LoadText(text, m_dir.Path("font.txt"));
        EXPECT_EQ(ok, m_host.m_popups.empty());
        ImageFont font(data);
        font.StringWidth("abwq");
        Draw(font, "abw");
        loaded += ok;
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
