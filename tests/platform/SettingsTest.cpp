#include "platform/Settings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ParseCase {
    const char* text;
    const char* name;
    bool found;
    uint32_t value;
};

TEST(SettingsTest, ParsesGoodLinesAndSkipsDamagedOnes)
{
    const ParseCase cases[] = {
        {"MusicVolume=85\n", "MusicVolume", true, 85},
        {"  MusicVolume = 85  \r\n", "musicvolume", true, 85}, // blanks, CRLF, any case
        {"PreferredX=-1\n", "PreferredX", true, 0xFFFFFFFFu},
        {"PreferredX=4294967295\n", "PreferredX", true, 0xFFFFFFFFu},
        {"Big=4294967296\n", "Big", false, 0},
        {"Neg=-2147483649\n", "Neg", false, 0},
        {"Muted=yes\n", "Muted", false, 0},
        {"Muted=1x\n", "Muted", false, 0},
        {"Muted=\n", "Muted", false, 0},
        {"Muted 1\n", "Muted", false, 0},
        {"=5\n", "", false, 0},
        {"# Muted=1\n", "Muted", false, 0},
        {"[Sub]\nValue=3\n", "Sub\\Value", true, 3},
        {"[Sub]\nValue=3\n", "Value", false, 0},
        {"[Broken\nValue=3\n", "Value", false, 0}, // under a bad header: skipped, not misfiled
        {"[Sub]\nValue=3\n[]\nOther=4\n", "Other", false, 0},
        {"A=1\nA=2\n", "A", true, 2},
        {"A=1", "A", true, 1}, // no final newline
    };
    for (const ParseCase& c : cases) {
        Plat::SettingsFile settings("unused");
        settings.Parse(c.text);
        uint32_t value = 0;
        EXPECT_EQ(settings.Get(c.name, value), c.found) << c.text;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(SettingsTest, BinaryJunkAroundValidLinesLosesOnlyTheJunk)
{
    std::string text = "MusicVolume=40\n";
    for (int i = 0; i < 2000; ++i)
        text += char((i * 37) & 0xFF);
    text += "\nSfxVolume=60\n";
    Plat::SettingsFile settings("unused");
    settings.Parse(text);
    uint32_t v = 0;
    ASSERT_TRUE(settings.Get("MusicVolume", v));
    EXPECT_EQ(v, 40u);
    ASSERT_TRUE(settings.Get("SfxVolume", v));
    EXPECT_EQ(v, 60u);
}

TEST(SettingsTest, SaveKeepsUnknownValuesAndSectionsAndReadsBackTheSame)
{
    const fs::path dir = fs::temp_directory_path() / ("qv-settings-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string path = (dir / "nested" / "settings.ini").string();
    Plat::SettingsFile out(path); // its folder does not exist yet: Save creates it
    out.Parse("Is3D=1\n[Sub\\Deep]\nX=7\n");
    out.Set("PreferredX", uint32_t(-1));
    out.Set("sub\\deep\\X", 8); // case-insensitive: replaces, does not duplicate
    ASSERT_TRUE(out.Save().ok);

    Plat::SettingsFile in(path);
    ASSERT_TRUE(in.Load());
    EXPECT_EQ(in.Count(), 3u);
    uint32_t v = 0;
    EXPECT_TRUE(in.Get("Is3D", v) && v == 1);
    EXPECT_TRUE(in.Get("Sub\\Deep\\X", v) && v == 8);
    EXPECT_TRUE(in.Get("PreferredX", v) && v == uint32_t(-1));
    EXPECT_NE(in.Format().find("PreferredX=-1"), std::string::npos);

    Plat::SettingsFile missing((dir / "none.ini").string());
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.Count(), 0u);
    fs::remove_all(dir);
}

} // namespace
