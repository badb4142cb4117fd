// The checked template filler: what it fills in, and every template it must refuse.
#include "game/text/SafeFormat.h"

#include <gtest/gtest.h>

namespace {

using Vel::SafeFormat;

TEST(SafeFormatTest, FillsTheConversionsTheDataTextsUse)
{
    struct Case {
        const char* format;
        std::vector<Vel::FormatArg> args;
        const char* expected;
    };
    const Case cases[] = {
        {"Hello %s!", {"Ada"}, "Hello Ada!"},
        {"GRADE: %d", {7}, "GRADE: 7"},
        {"%s, '%02d", {"Ada", 7}, "Ada, '07"},
        {"the letter %c?", {65}, "the letter A?"},
        {"100%% of %s", {"Ada"}, "100% of Ada"},
        {"[%-5s][%5s][%03i]", {"Ada", "Bob", 7}, "[Ada  ][  Bob][007]"},
        {"no conversion, the name unused", {"Ada"}, "no conversion, the name unused"},
    };
    for (const Case& c : cases) {
        const Vel::FormatResult r = SafeFormat(c.format, c.args);
        EXPECT_TRUE(r.ok) << c.format << ": " << r.error;
        EXPECT_EQ(r.text, c.expected) << c.format;
    }
    EXPECT_EQ(SafeFormat("%05d|%-4d|%d", {-42, 3, -2147483647 - 1}).text, "-0042|3   |-2147483648");
    // A name full of percent signs is data, not a template.
    EXPECT_EQ(SafeFormat("Hi %s", {"%n%s%d"}).text, "Hi %n%s%d");
}

TEST(SafeFormatTest, RefusesWhatPrintfWouldTurnIntoACrashOrAWrite)
{
    struct Case {
        const char* format;
        const char* why; // part of the error
    };
    const Case cases[] = {
        {"score%n", "'%n' is never allowed"},
        {"%s and %s", "more conversions than the 1 argument(s): '%s' at position 8"},
        {"%d points", "'%d' at position 1 needs a number but argument 1 is a text"},
        {"%x", "unsupported conversion '%x'"},
        {"%.3s", "unsupported conversion '%.'"},
        {"%1$s", "unsupported conversion '%1$'"},
        {"%ls", "unsupported conversion '%l'"},
        {"%100d", "width above 99"},
        {"%999999999999s", "width above 99"},
        {"50%", "unfinished conversion '%' at position 3"},
        {"%-5", "unfinished conversion"},
        {"%-%", "flags on"},
    };
    for (const Case& c : cases) {
        const Vel::FormatResult r = SafeFormat(c.format, {"Ada"});
        EXPECT_FALSE(r.ok) << c.format;
        EXPECT_TRUE(r.text.empty()) << c.format;
        EXPECT_NE(r.error.find(c.why), std::string::npos) << c.format << ": " << r.error;
    }
    EXPECT_FALSE(SafeFormat("%s", {42}).ok);
    EXPECT_FALSE(SafeFormat("%d", {}).ok);
}

} // namespace
