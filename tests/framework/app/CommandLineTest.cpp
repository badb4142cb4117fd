#include "framework/app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Params = std::vector<Vel::CommandLineParam>;

TEST(CommandLineTest, SplitsAfterTheProgramPathWithQuotesAndValues)
{
    const struct {
        const char* line;
        Params expected;
    } cases[] = {
        {"quorvane", {}},
        {"quorvane -crash", {{"-crash", ""}}},
        {"quorvane  -a=1\t-b=x=y   ", {{"-a", "1"}, {"-b", "x=y"}}}, // second "=" is part of the value
        {"\"/opt/my games/quorvane\" -play", {{"-play", ""}}},        // quoted path ends at its quote
        {"\"/opt/my games/quorvane\"-play", {{"-play", ""}}},          // ... even with no blank after it
        {"/opt/my games/quorvane -play", {{"games/quorvane", ""}, {"-play", ""}}}, // unquoted ends at blank
        {"q -changedir=\"/my data/q\" -x", {{"-changedir", "/my data/q"}, {"-x", ""}}},
        {"q \"-changedir=/a b\"", {{"-changedir", "/a b"}}},
        {"q -a\"b c\"d", {{"-ab cd", ""}}},   // a quote toggles and is not copied
        {"q =value -b", {{"-b", ""}}},          // an empty name is dropped
        {"q \"-open", {{"-open", ""}}},         // an unclosed quote runs to the end
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Vel::SplitCommandLine(c.line), c.expected) << c.line;
}

TEST(CommandLineTest, JoinedArgvSplitsBackIntoTheSameArguments)
{
    const char* argv[] = {"/opt/my games/quorvane", "-changedir=/home/a b/data", "-play", "-x=\"q\""};
    EXPECT_EQ(Vel::SplitCommandLine(Vel::JoinCommandLine(4, argv)),
              (Params{{"-changedir", "/home/a b/data"}, {"-play", ""}, {"-x", "q"}}));
}

} // namespace
