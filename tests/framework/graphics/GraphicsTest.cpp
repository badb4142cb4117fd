// Clipping, translation, cels, outlines, lines and the state stack of the drawing context.
#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>

#include "framework/graphics/MemoryImage.h"

using Vel::Color;
using Vel::Graphics;
using Vel::MemoryImage;
using Vel::Rect;

namespace {

constexpr uint32_t kBack = 0xFF000000;

MemoryImage Canvas(int w, int h)
{
    std::vector<uint32_t> bits(size_t(w) * h, kBack);
    MemoryImage image;
    image.SetBits(bits.data(), w, h);
    return image;
}

// An image whose every pixel says where it is: 0xFF00xxyy.
MemoryImage Numbered(int w, int h)
{
    std::vector<uint32_t> bits(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bits[size_t(y) * w + x] = 0xFF000000u | uint32_t(x) << 8 | uint32_t(y);
    MemoryImage image;
    image.SetBits(bits.data(), w, h);
    return image;
}

uint32_t At(MemoryImage& image, int x, int y) { return image.GetBits()[y * image.GetWidth() + x]; }

// The set pixels of a canvas as a picture, one string per row ('#' drawn, '.' untouched).
std::vector<std::string> Picture(MemoryImage& image)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image.GetWidth(); ++x) row += At(image, x, y) == kBack ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(GraphicsTest, ImagesAreTranslatedAndClippedWithTheSourceCutAlike)
{
    MemoryImage dst = Canvas(10, 10);
    MemoryImage src = Numbered(6, 6);
    Graphics g(&dst);
    g.Translate(2, 3);
    g.ClipRect(0, 0, 5, 4);  // destination (2, 3) .. (6, 6)
    g.DrawImage(&src, -1, -2); // image corner at (1, 1): its pixel (1, 2) lands on (2, 3)
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
            const uint32_t want = inside ? 0xFF000000u | uint32_t(x - 1) << 8 | uint32_t(y - 1) : kBack;
            ASSERT_EQ(At(dst, x, y), want) << x << "," << y;
        }
    }
    EXPECT_TRUE(src.m_drawn);

    // Clipping only shrinks: a wider clip after a narrow one changes nothing.
    g.ClipRect(-100, -100, 1000, 1000);
    EXPECT_EQ(g.GetClipRect(), Rect(2, 3, 5, 4));
}

TEST(GraphicsTest, PartsCelsAndGridsOutOfRangeDrawNothing)
{
    MemoryImage src = Numbered(8, 6);
    ASSERT_TRUE(src.SetCelGrid(2, 4)); // cels of 2 x 3
    EXPECT_FALSE(src.SetCelGrid(0, 4));
    EXPECT_FALSE(src.SetCelGrid(2, -1));
    EXPECT_EQ(src.m_numRows, 2);

    struct Case {
        const char* what;
        int cel;
        bool drawn;
        uint32_t corner; // the source pixel expected at the destination's (0, 0)
    };
    const Case cases[] = {
        {"first", 0, true, 0xFF000000},
        {"second row", 5, true, 0xFF000203},
        {"last", 7, true, 0xFF000603},
        {"one past the last", 8, false, 0},
        {"negative", -1, false, 0},
    };
    for (const Case& c : cases) {
        MemoryImage dst = Canvas(4, 4);
        Graphics(&dst).DrawCel(&src, 0, 0, c.cel);
        EXPECT_EQ(At(dst, 0, 0), c.drawn ? c.corner : kBack) << c.what;
        EXPECT_EQ(At(dst, 2, 0), kBack) << c.what; // only one cel wide
    }
    MemoryImage dst = Canvas(4, 4);
    Graphics g(&dst);
    g.DrawImage(&src, 0, 0, Rect(6, 0, 3, 1)); // reaches past the image
    g.DrawImage(&src, 0, 0, Rect(-1, 0, 2, 1));
    src.m_numCols = 0; // a grid set behind SetCelGrid's back still divides nothing by zero
    g.DrawCel(&src, 0, 0, 1);
    EXPECT_EQ(Picture(dst), std::vector<std::string>(4, "...."));
}

TEST(GraphicsTest, OutlinesCoverOneMoreThanTheirSizeWithoutDoubleBlending)
{
    MemoryImage dst = Canvas(7, 5);
    Graphics g(&dst);
    g.SetColor(Color(255, 255, 255, 128));
    g.DrawRect(1, 1, 4, 2);
    EXPECT_EQ(Picture(dst), (std::vector<std::string>{".......", ".#####.", ".#...#.", ".#####.", "......."}));
    // Every outline pixel was blended exactly once.
    const uint32_t once = At(dst, 1, 1);
    for (auto [x, y] : {std::pair{5, 1}, {1, 3}, {5, 3}, {3, 1}, {1, 2}}) EXPECT_EQ(At(dst, x, y), once);

    MemoryImage clipped = Canvas(7, 5);
    Graphics gc(&clipped);
    gc.SetColor(Color::White());
    gc.ClipRect(0, 0, 4, 5);
    gc.DrawRect(1, 1, 4, 2); // the right side is clipped away
    EXPECT_EQ(Picture(clipped), (std::vector<std::string>{".......", ".###...", ".#.....", ".###...", "......."}));

    MemoryImage flat = Canvas(7, 5);
    Graphics gf(&flat);
    gf.SetColor(Color(255, 255, 255, 128));
    gf.DrawRect(1, 1, 3, 0); // a rectangle of height 0 is one row
    EXPECT_EQ(At(flat, 2, 1), once);
}

TEST(GraphicsTest, LinesAreClippedToTheLastPixelInside)
{
    struct Case {
        const char* what;
        int x1, y1, x2, y2;
        std::vector<std::string> picture;
    };
    const std::vector<Case> cases = {
        {"horizontal through the clip", -10, 2, 20, 2, {"......", "......", ".####.", "......", "......"}},
        {"diagonal from outside", -2, -2, 8, 8, {"......", ".#....", "..#...", "...#..", "....#."}},
        {"vertical inside", 2, 1, 2, 3, {"......", "..#...", "..#...", "..#...", "......"}},
        {"wholly outside", -5, 0, -1, 4, {"......", "......", "......", "......", "......"}},
        {"parallel just outside", 0, 0, 5, 0, {"......", "......", "......", "......", "......"}},
    };
    for (const Case& c : cases) {
        MemoryImage dst = Canvas(6, 5);
        Graphics g(&dst);
        g.SetColor(Color::White());
        g.ClipRect(1, 1, 4, 4); // pixels 1..4 both ways
        g.DrawLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Picture(dst), c.picture) << c.what;
    }
    // Far-away ends are clipped before stepping, not walked pixel by pixel.
    MemoryImage dst = Canvas(6, 5);
    dst.DrawLine(-1e12, 2, 1e12, 2, Color::White(), 0, Rect(0, 0, 100, 100));
    dst.DrawLine(0, std::nan(""), 5, 1, Color::White(), 0, Rect(0, 0, 100, 100));
    EXPECT_EQ(Picture(dst), (std::vector<std::string>{"......", "......", "######", "......", "......"}));
}

TEST(GraphicsTest, StateStackRestoresAndCopiesLeaveTheStackBehind)
{
    MemoryImage dst = Canvas(8, 8);
    Graphics g(&dst);
    g.SetColor(Color(1, 2, 3));
    g.PushState();
    g.Translate(3, 3);
    g.ClipRect(0, 0, 2, 2);
    g.SetColor(Color(9, 9, 9));
    g.SetDrawMode(Vel::kDrawModeAdditive);
    Graphics copy(g);
    g.PopState();
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));
    EXPECT_EQ(g.GetTransX(), 0);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 8, 8));
    EXPECT_EQ(g.GetDrawMode(), Vel::kDrawModeNormal);
    g.PopState(); // empty stack: nothing happens
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));

    copy.PopState(); // the copy has the state but no saved states
    EXPECT_EQ(copy.GetColor(), Color(9, 9, 9));
    EXPECT_EQ(copy.GetClipRect(), Rect(3, 3, 2, 2));
}

TEST(GraphicsTest, ScaledDrawingSnapsPositionAndSize)
{
    MemoryImage dst = Canvas(10, 10);
    MemoryImage src = Numbered(2, 2);
    Graphics g(&dst);
    g.SetFastStretch(true);
    g.SetScale(2.0f, 2.0f, 1.0f, 1.0f);
    g.DrawImage(&src, 2, 2); // position floor((2 - 1) x 2) + 1 = 3, size 4 x 4
    EXPECT_EQ(At(dst, 2, 3), kBack);
    EXPECT_EQ(At(dst, 3, 3), 0xFF000000u);
    EXPECT_EQ(At(dst, 4, 4), 0xFF000000u);
    EXPECT_EQ(At(dst, 6, 6), 0xFF000101u);
    EXPECT_EQ(At(dst, 7, 7), kBack);
}

TEST(MemoryImageTest, SizesPalettesFlagsAndGuard)
{
    MemoryImage image;
    EXPECT_FALSE(image.Create(Vel::kMaxImageDimension + 1, 1));
    EXPECT_FALSE(image.Create(-1, 4));
    EXPECT_EQ(image.GetBits(), nullptr);
    ASSERT_TRUE(image.Create(20, 20));
    EXPECT_TRUE(image.m_hasTrans && image.m_hasAlpha);

    // 256 distinct values palettise; the 257th refuses and the image stays as it was.
    std::vector<uint32_t> bits(400);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = 0x80000000u | uint32_t((i * 37) % 256);
    image.SetBits(bits.data(), 20, 20);
    image.RecomputeAlphaFlags();
    EXPECT_FALSE(image.m_hasTrans);
    EXPECT_TRUE(image.m_hasAlpha);
    ASSERT_TRUE(image.Palletize());
    EXPECT_TRUE(image.IsPalletized());
    EXPECT_EQ(std::vector<uint32_t>(image.GetBits(), image.GetBits() + 400), bits);
    // Arbitrary values in runs of varying length, many sharing hash slots, come back exact.
    std::vector<uint32_t> values(256);
    for (size_t i = 0; i < values.size(); ++i) values[i] = uint32_t(i) * 0x01000193u ^ uint32_t(i << 22);
    std::vector<uint32_t> runs;
    for (size_t i = 0; runs.size() < 4000; ++i) runs.insert(runs.end(), 1 + i % 7, values[(i * 101) % 256]);
    runs.resize(4000);
    MemoryImage sheet;
    sheet.SetBits(runs.data(), 80, 50);
    ASSERT_TRUE(sheet.Palletize());
    EXPECT_EQ(std::vector<uint32_t>(sheet.GetBits(), sheet.GetBits() + runs.size()), runs);

    bits[5] = 0xFF123456;
    image.SetBits(bits.data(), 20, 20);
    EXPECT_FALSE(image.Palletize());
    EXPECT_EQ(image.GetBits()[5], 0xFF123456u);

    // Drawing at every edge never reaches the guard word.
    MemoryImage src = Numbered(30, 30);
    Graphics g(&image);
    g.SetColor(Color(1, 2, 3, 100));
    g.FillRect(-5, 15, 40, 40);
    g.DrawImage(&src, 10, 10);
    g.DrawLine(-100, 19, 100, 19);
    g.DrawImage(&src, Rect(-3, -3, 50, 50), Rect(0, 0, 30, 30));
    EXPECT_TRUE(image.CheckGuard());
    image.GetBits()[400] = 0; // what an overrun would do
    EXPECT_FALSE(image.CheckGuard());
}

TEST(GraphicsTest, RotatedImagesTurnAboutTheirCentreInsideTheClip)
{
    MemoryImage src = Numbered(3, 3);
    const double kQuarter = std::acos(0.0);
    struct Case {
        const char* what;
        double angle;
        int (*destX)(int u, int v); // where source pixel (u, v) lands, drawn at (4, 4)
        int (*destY)(int u, int v);
    };
    const Case cases[] = {
        {"unturned", 0, [](int u, int) { return 4 + u; }, [](int, int v) { return 4 + v; }},
        // Counter-clockwise on screen: the top row becomes the left column, bottom up.
        {"quarter turn", kQuarter, [](int, int v) { return 4 + v; }, [](int u, int) { return 6 - u; }},
        {"half turn", 2 * kQuarter, [](int u, int) { return 6 - u; }, [](int, int v) { return 6 - v; }},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> white(100, 0xFFFFFFFF);
        MemoryImage dst;
        dst.SetBits(white.data(), 10, 10);
        Graphics g(&dst);
        g.DrawImageRotated(&src, 4, 4, c.angle, 1.5, 1.5);
        int covered = 0;
        for (int i = 0; i < 100; ++i) covered += dst.GetBits()[i] != 0xFFFFFFFF;
        EXPECT_EQ(covered, 9) << c.what;
        for (int v = 0; v < 3; ++v)
            for (int u = 0; u < 3; ++u)
                EXPECT_EQ(At(dst, c.destX(u, v), c.destY(u, v)), At(src, u, v)) << c.what << " " << u << "," << v;
    }
    MemoryImage dst = Canvas(10, 10);
    Graphics g(&dst);
    g.ClipRect(0, 0, 5, 10);
    g.DrawImageRotated(&src, 4, 4, 0, 1.5, 1.5);
    EXPECT_EQ(At(dst, 4, 5), At(src, 0, 1));
    EXPECT_EQ(At(dst, 5, 5), kBack);
}
