// Push buttons and links: when a click counts, held ticks, the highlight fade, the hand cursor,
// and what each state draws.
#include <gtest/gtest.h>

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "tests/framework/widgets/WidgetTestSupport.h"

using VelTest::FakeHost;
using VelTest::RecordingListener;

namespace {

constexpr int kId = 7;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_button.Resize(50, 50, 40, 20);
        m_manager.AddWidget(&m_button);
    }

    void Move(int x, int y) { m_manager.MouseMove(x, y); }
    void Down(int x, int y)
    {
        Move(x, y);
        m_manager.MouseDown(x, y, 1);
    }
    void Up(int x, int y)
    {
        Move(x, y);
        m_manager.MouseUp(x, y, 1);
    }
    int Clicks() const { return m_listener.Count("click 7"); }

    FakeHost m_host;
    Vel::WidgetManager m_manager{&m_host};
    RecordingListener m_listener;
    Vel::ButtonWidget m_button{kId, &m_listener};
};

TEST_F(ButtonTest, ReleaseOnTheButtonClicksOnce)
{
    Down(60, 60);
    Up(61, 61);
    EXPECT_EQ(m_listener.m_log, (std::vector<std::string>{"hover 7", "press 7 1", "click 7"}));
}

TEST_F(ButtonTest, DraggedOffAndReleasedDoesNotClick)
{
    Down(60, 60);
    Move(200, 200);
    EXPECT_FALSE(m_button.IsButtonDown());
    Up(200, 200);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(m_listener.Count("unhover 7"), 1);
}

TEST_F(ButtonTest, DraggedOffAndBackOnClicksOnce)
{
    Down(60, 60);
    Move(200, 200);
    Move(65, 62);
    EXPECT_TRUE(m_button.IsButtonDown());
    Up(65, 62);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(ButtonTest, FocusLossWhileHeldReleasesWithoutClick)
{
    Down(60, 60);
    m_manager.LostFocus();
    EXPECT_FALSE(m_button.m_isDown);
    EXPECT_EQ(m_manager.m_lastDownWidget, nullptr);
    // The physical release arrives later, after the focus came back.
    m_manager.GotFocus();
    m_manager.MouseUp(60, 60, 1);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(ButtonTest, HeldTicksOnlyWhileThePointerIsOnTheButton)
{
    Down(60, 60);
    m_manager.RunUpdatePass();
    m_manager.RunUpdatePass();
    Move(200, 200);
    m_manager.RunUpdatePass();
    EXPECT_EQ(m_listener.Count("held 7"), 2);
}

TEST_F(ButtonTest, DisabledButtonIgnoresThePointer)
{
    m_button.SetDisabled(true);
    Down(60, 60);
    Up(60, 60);
    EXPECT_TRUE(m_listener.m_log.empty());
}

struct FadeCase {
    double fadeOutSpeed;
    std::vector<double> alphaAfterTicks; // after leaving a highlighted button
};

class ButtonFadeTest : public ButtonTest, public ::testing::WithParamInterface<FadeCase> {};

TEST_P(ButtonFadeTest, HighlightFadesOutFromFullAfterLeaving)
{
    const FadeCase c = GetParam();
    m_button.m_overAlphaFadeOutSpeed = c.fadeOutSpeed;
    m_button.m_overAlphaFadeInSpeed = 0.5;
    Move(60, 60);
    m_manager.RunUpdatePass();
    m_manager.RunUpdatePass();
    m_manager.RunUpdatePass();
    EXPECT_DOUBLE_EQ(m_button.m_overAlpha, 1.0); // 0.5 per tick, clamped at 1
    Move(200, 200);
    for (double expected : c.alphaAfterTicks) {
        m_manager.RunUpdatePass();
        EXPECT_NEAR(m_button.m_overAlpha, expected, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Speeds, ButtonFadeTest,
                         ::testing::Values(FadeCase{0.0, {0.0}}, // no fade: dropped at once
                                           FadeCase{0.4, {0.6, 0.2, 0.0, 0.0}}));

TEST(HyperlinkTest, ShowsTheHandWhileThePointerIsOverIt)
{
    FakeHost host;
    Vel::WidgetManager manager(&host);
    RecordingListener listener;
    Vel::HyperlinkWidget link(3, &listener);
    link.Resize(0, 0, 80, 20);
    manager.AddWidget(&link);
    manager.MouseMove(10, 10);
    manager.MouseMove(300, 300);
    EXPECT_EQ(host.m_cursorKinds, (std::vector<int>{Vel::kCursorHand, Vel::kCursorPointer}));
}

// Pixels of a 20 x 10 button drawn alone onto a small screen image.
class ButtonDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_screen.Create(40, 20));
        m_manager.SetScreenImage(&m_screen);
        m_button.Resize(0, 0, 20, 10);
        m_manager.AddWidget(&m_button);
    }

    uint32_t Pixel(int x, int y) { return m_screen.GetBits()[y * m_screen.GetWidth() + x]; }
    void Redraw()
    {
        m_button.MarkDirty();
        m_manager.DrawScreen();
    }
    static void Solid(Vel::MemoryImage& image, uint32_t argb)
    {
        std::vector<uint32_t> pixels(20 * 10, argb);
        ASSERT_TRUE(image.SetBits(pixels.data(), 20, 10));
    }

    Vel::MemoryImage m_screen;
    Vel::WidgetManager m_manager;
    RecordingListener m_listener;
    Vel::ButtonWidget m_button{1, &m_listener};
};

TEST_F(ButtonDrawTest, PlainButtonDrawsRaisedAndSunkenFrames)
{
    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFFFu);  // light outline
    EXPECT_EQ(Pixel(5, 8), 0xFF848484u);  // medium line along the bottom
    EXPECT_EQ(Pixel(18, 4), 0xFF848484u); // and the right
    EXPECT_EQ(Pixel(5, 4), 0xFFD4D4D4u);  // face
    EXPECT_EQ(Pixel(25, 5), 0u);          // nothing outside the button

    m_manager.MouseMove(5, 5);
    m_manager.MouseDown(5, 5, 1);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u);  // dark outline
    EXPECT_EQ(Pixel(5, 1), 0xFF848484u);  // medium line along the top
    EXPECT_EQ(Pixel(1, 5), 0xFF848484u);  // and the left
    EXPECT_EQ(Pixel(5, 8), 0xFFD4D4D4u);
}

TEST_F(ButtonDrawTest, ImageButtonDrawsTheImageOfEachState)
{
    Vel::MemoryImage normal, over, down, disabled;
    Solid(normal, 0xFFFF0000u);
    Solid(over, 0xFF00FF00u);
    Solid(down, 0xFF0000FFu);
    Solid(disabled, 0xFF808080u);
    m_button.m_buttonImage = &normal;
    m_button.m_overImage = &over;
    m_button.m_downImage = &down;
    m_button.m_disabledImage = &disabled;

    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0xFFFF0000u);
    m_manager.MouseMove(5, 5);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0xFF00FF00u);
    m_manager.MouseDown(5, 5, 1);
    m_screen.Create(40, 20);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0u); // the pressed look is shifted by one pixel
    EXPECT_EQ(Pixel(1, 1), 0xFF0000FFu);
    m_manager.MouseUp(5, 5, 1);
    m_button.SetDisabled(true);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0xFF808080u);
}

TEST_F(ButtonDrawTest, StatesCanBeRectanglesOfOneImage)
{
    // Left half red (normal), right half green (over).
    Vel::MemoryImage sheet;
    std::vector<uint32_t> pixels(40 * 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            pixels[size_t(y * 40 + x)] = x < 20 ? 0xFFFF0000u : 0xFF00FF00u;
    ASSERT_TRUE(sheet.SetBits(pixels.data(), 40, 10));
    m_button.m_buttonImage = &sheet;
    m_button.m_normalRect = Vel::Rect(0, 0, 20, 10);
    m_button.m_overRect = Vel::Rect(20, 0, 20, 10);

    Redraw();
    EXPECT_EQ(Pixel(19, 9), 0xFFFF0000u);
    EXPECT_EQ(Pixel(20, 0), 0u); // only the rectangle is drawn
    m_manager.MouseMove(5, 5);
    Redraw();
    EXPECT_EQ(Pixel(0, 0), 0xFF00FF00u);
}

} // namespace
