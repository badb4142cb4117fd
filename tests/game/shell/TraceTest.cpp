// The start-up trace that bench/startup.sh reads: asked for only by the environment, each moment
// written once, in the order a player sees them.
#include "tests/game/shell/GameTestApp.h"

#include <sstream>

namespace {

using QvTest::GameFixture;
using QvTest::GameTestApp;

using TraceTest = GameFixture;

struct TraceLine {
    std::string moment;
    double sinceStart = -1;
    double epoch = -1;
};

std::vector<TraceLine> TraceLines(const std::string& text)
{
    std::vector<TraceLine> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string tag, ms, epochTag;
        TraceLine t;
        if (words >> tag >> t.moment >> t.sinceStart >> ms >> epochTag >> t.epoch && tag == "QUORVANE_TRACE")
            lines.push_back(t);
    }
    return lines;
}

TEST_F(TraceTest, OnlyTheValueOneTurnsItOn)
{
    const struct {
        const char* value; // null: unset
        bool on;
    } cases[] = {{nullptr, false}, {"0", false}, {"", false}, {"yes", false}, {"1", true}};
    for (const auto& c : cases) {
        if (c.value)
            ::setenv("QUORVANE_TRACE", c.value, 1);
        else
            ::unsetenv("QUORVANE_TRACE");
        GameTestApp app;
        EXPECT_EQ(app.m_traceMoments, c.on) << (c.value ? c.value : "(unset)");
    }
    ::unsetenv("QUORVANE_TRACE");
}

TEST_F(TraceTest, EachMomentIsWrittenOnceInOrder)
{
    ::setenv("QUORVANE_TRACE", "1", 1);
    GameTestApp app;
    ::unsetenv("QUORVANE_TRACE");
    app.Init();
    ::testing::internal::CaptureStderr();
    app.LoadEverything();
    for (int i = 0; i < 3; ++i) {
        app.DrawDirtyStuff();
        app.Ticks(1);
    }
    app.StartBoard();
    app.Ticks(20);
    app.DrawDirtyStuff();
    const std::vector<TraceLine> lines = TraceLines(::testing::internal::GetCapturedStderr());

    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].moment, "first_frame");
    EXPECT_EQ(lines[1].moment, "loading_done");
    EXPECT_EQ(lines[2].moment, "continue_offered");
    EXPECT_EQ(lines[3].moment, "main_menu");
    EXPECT_TRUE(app.m_boardReady);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_GE(lines[i].sinceStart, 0) << lines[i].moment;
        EXPECT_GT(lines[i].epoch, 1.6e12) << lines[i].moment; // wall-clock milliseconds, not seconds
        if (i > 0) {
            EXPECT_GE(lines[i].sinceStart, lines[i - 1].sinceStart) << lines[i].moment;
        }
    }
}

TEST_F(TraceTest, NothingIsWrittenWhenNotAskedFor)
{
    ::unsetenv("QUORVANE_TRACE");
    GameTestApp app;
    app.Init();
    ::testing::internal::CaptureStderr();
    app.StartBoard();
    app.DrawDirtyStuff();
    EXPECT_TRUE(TraceLines(::testing::internal::GetCapturedStderr()).empty());
}

} // namespace
