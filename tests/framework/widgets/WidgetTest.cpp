// Widget helpers: colour table, digit counting and drawing numbers from a digit strip.
#include <gtest/gtest.h>

#include <climits>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/Widget.h"

namespace {

TEST(WidgetColorTest, MissingIndicesGiveTheDefaultAndSettingGrowsTheTable)
{
    Vel::Widget w;
    EXPECT_EQ(w.GetColor(3), Vel::Color::Black());
    EXPECT_EQ(w.GetColor(-1, Vel::Color::White()), Vel::Color::White());
    w.SetColor(2, Vel::Color(1, 2, 3));
    ASSERT_EQ(w.m_colors.size(), 3u);
    EXPECT_EQ(w.GetColor(0), Vel::Color::Black());
    EXPECT_EQ(w.GetColor(2), Vel::Color(1, 2, 3));
    const int rgba[][4] = {{10, 20, 30, 40}};
    w.SetColors(rgba, 1);
    EXPECT_EQ(w.m_colors.size(), 1u);
    EXPECT_EQ(w.GetColor(0), Vel::Color(10, 20, 30, 40));
}

TEST(WidgetNumberTest, CountDigits)
{
    const struct {
        int n;
        int digits;
    } cases[] = {{-5, 1}, {0, 1}, {9, 1}, {10, 2}, {99, 2}, {100, 3}, {999999, 6}, {INT_MAX, 10}};
    Vel::Widget w;
    for (const auto& c : cases)
        EXPECT_EQ(w.CountDigits(c.n), c.digits) << c.n;
}

TEST(WidgetNumberTest, DrawNumberFromStripPlacesEachDigitsCel)
{
    // Ten digits, each 2 x 1 pixels, digit d coloured (d * 20, 0, 0).
    Vel::MemoryImage strip;
    std::vector<uint32_t> pixels;
    for (int d = 0; d < 10; ++d)
        pixels.insert(pixels.end(), 2, Vel::Color(d * 20, 0, 0).ToPacked());
    ASSERT_TRUE(strip.SetBits(pixels.data(), 20, 1));
    Vel::MemoryImage dest;
    ASSERT_TRUE(dest.Create(20, 1));
    Vel::Graphics g(&dest);

    Vel::Widget w;
    w.DrawNumberFromStrip(&g, 907, 1, 0, &strip, 1); // digits at x = 1, 4, 7
    const uint32_t* bits = dest.GetBits();
    EXPECT_EQ(bits[0], 0u);
    EXPECT_EQ(bits[1], Vel::Color(180, 0, 0).ToPacked());
    EXPECT_EQ(bits[2], Vel::Color(180, 0, 0).ToPacked());
    EXPECT_EQ(bits[3], 0u); // the spacing
    EXPECT_EQ(bits[4], Vel::Color(0, 0, 0).ToPacked());
    EXPECT_EQ(bits[7], Vel::Color(140, 0, 0).ToPacked());
    EXPECT_EQ(bits[9], 0u);
}

} // namespace
