// System fonts: face names of other systems resolve to installed files, metrics follow the point
// size, and drawing lands in the given colour inside the clip only.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

namespace {

using Vel::SysFont;

TEST(SysFontTest, ForeignFaceNamesResolveToInstalledFiles)
{
    for (const char* face : {"Arial Unicode MS", "Tahoma", "Arial", "Courier New", "No Such Face"}) {
        const std::string path = SysFont::FindFontFile(face, false, false);
        ASSERT_FALSE(path.empty()) << face;
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
    }
    EXPECT_NE(SysFont::FindFontFile("Courier New", false, false), SysFont::FindFontFile("Arial", false, false))
        << "a fixed-pitch face should not map to the proportional one";
}

TEST(SysFontTest, MetricsGrowWithPointSize)
{
    SysFont small("Arial", 10);
    SysFont large("Arial", 20);
    ASSERT_TRUE(small.IsLoaded());
    ASSERT_TRUE(large.IsLoaded());
    // 10 points at 96 pixels per inch is a 13-pixel em.
    EXPECT_GE(small.GetHeight(), 13);
    EXPECT_LE(small.GetHeight(), 20);
    EXPECT_GT(small.GetAscent(), small.GetDescent());
    EXPECT_GT(large.GetHeight(), small.GetHeight() * 3 / 2);
    EXPECT_GT(small.StringWidth("WWWW"), small.StringWidth("iiii"));
    EXPECT_EQ(small.StringWidth("Wi"), small.CharWidth('W') + small.CharWidth('i'));
    SysFont bold("Arial", 10, true);
    EXPECT_GE(bold.StringWidth("Hello"), small.StringWidth("Hello"));
    std::unique_ptr<Vel::Font> copy(small.Duplicate());
    EXPECT_EQ(copy->StringWidth("Hello"), small.StringWidth("Hello"));
}

TEST(SysFontTest, DrawsInTheColourWithItsShadowAtTheBaselineAndInsideTheClip)
{
    SysFont font("Tahoma", 14);
    ASSERT_TRUE(font.IsLoaded());
    Vel::MemoryImage dest;
    dest.Create(100, 40);
    Vel::Graphics g(&dest);
    const int baseline = 30;
    g.ClipRect(0, 0, 50, 40);
    // Through the Graphics, which hands the font its own colour; the shadow pass must not
    // change the colour of the text drawn after it.
    font.m_shadow = true;
    g.SetFont(&font);
    g.SetColor(Vel::Color(255, 0, 0));
    g.DrawString("HHHHHHHHHH", 2, baseline);

    const uint32_t* bits = dest.GetBits();
    int inked = 0;
    int red = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            const uint32_t p = bits[y * 100 + x];
            if (p == 0)
                continue;
            ++inked;
            EXPECT_LT(x, 50) << "drawn outside the clip";
            red += (p >> 16 & 0xFF) > 128;
            EXPECT_LE(y, baseline + 1) << "an H and its shadow have nothing further below the baseline";
            EXPECT_GE(y, baseline - font.GetAscent());
            EXPECT_EQ(p & 0x0000FFFFu, 0u) << "only red and the black shadow";
        }
    }
    EXPECT_GT(inked, 50);
    EXPECT_GT(red, 30);
    EXPECT_EQ(g.GetColor(), Vel::Color(255, 0, 0)) << "the caller's colour is restored";
}

} // namespace
