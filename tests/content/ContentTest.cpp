// The generated game data as the game meets it: every identifier the binding code requires
// loads through the resource manager, and the songs through the music layer, from the loose
// folder and from main.pak, with the cel grids the screens index; every character of the text
// table has a glyph; generation repeats byte for byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "framework/archive/PakInterface.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/StreamMusicInterface.h"

namespace fs = std::filesystem;

namespace {

const std::string kBuild = QV_BUILD_DIR;
const std::string kGameData = kBuild + "/gamedata";

struct Group {
    const char* name;
    std::vector<const char*> ids;
};

// What the four binding operations look up, group by group (93 identifiers).
const std::vector<Group> kGroups = {
    {"Init",
     {"FONT_MENU0", "FONT_MENU1", "FONT_MENU2", "FONT_MENU3", "FONT_MENU4", "IMAGE_BKG_SPLASH", "IMAGE_BKG_TITLE",
      "IMAGE_CUSTOM_POINTER"}},
    {"TitleScreen", {"IMAGE_LOADER_BAR"}},
    {"Game",
     {"IMAGE_CHECKBOX", "IMAGE_DIALOG_BOX", "IMAGE_SLIDER_THUMB", "SOUND_BEEP1", "SOUND_BEEP2", "SOUND_BUTTONCLICK",
      "SOUND_CLICKOFF", "SOUND_CLICKON", "SOUND_COUNTER", "SOUND_FAILURE", "SOUND_SUCCESS", "SOUND_TIMERLOW",
      "SOUND_VOICE1", "SOUND_VOICE2", "SOUND_VOICE3", "SOUND_VOICE4", "SOUND_VOICE5"}},
    {"Quorvane",
     {"IMAGE_BALLOON", "IMAGE_BANNER1", "IMAGE_BANNER2", "IMAGE_BANNER3", "IMAGE_BANNER4", "IMAGE_BANNER5",
      "IMAGE_BKG_CREDITS_SCREEN", "IMAGE_BKG_DIM", "IMAGE_BKG_OPTIONS", "IMAGE_BKG_PROFILE_NEW_SCREEN",
      "IMAGE_BKG_PROFILE_SELECT_SCREEN", "IMAGE_BKG_START_SCREEN", "IMAGE_BUTTON1", "IMAGE_BUTTON1B", "IMAGE_BUTTON2",
      "IMAGE_BUTTON2B", "IMAGE_BUTTON3", "IMAGE_BUTTON3B", "IMAGE_BUTTON4", "IMAGE_BUTTON4B", "IMAGE_BUTTON5",
      "IMAGE_BUTTON6", "IMAGE_BUTTON7", "IMAGE_BUTTON7B", "IMAGE_CARDBACK", "IMAGE_CARDSHAPES", "IMAGE_HOOTLEEYES1",
      "IMAGE_HOOTLEEYES2", "IMAGE_HOOTLEEYES3", "IMAGE_HOOTLEFACE", "IMAGE_HOOTLEHALO1", "IMAGE_HOOTLEHALO2",
      "IMAGE_HOOTLEHALO3", "IMAGE_HOOTLEMOUTH1", "IMAGE_HOOTLEMOUTH2", "IMAGE_HOOTLEMOUTH3", "IMAGE_HOOTLEMOUTH4",
      "IMAGE_HOOTLEMOUTH5", "IMAGE_EDITFIELD", "IMAGE_GRID", "IMAGE_GRID2", "IMAGE_HEAD_EYES", "IMAGE_HEAD_EYES_SMALL",
      "IMAGE_HEAD_FACES_BLACK", "IMAGE_HEAD_FACES_BLACK_SMALL", "IMAGE_HEAD_FACES_TAN", "IMAGE_HEAD_FACES_TAN_SMALL",
      "IMAGE_HEAD_FACES_WHITE", "IMAGE_HEAD_FACES_WHITE_SMALL", "IMAGE_HEAD_HAIR_BLOND", "IMAGE_HEAD_HAIR_BLOND_SMALL",
      "IMAGE_HEAD_HAIR_BROWN", "IMAGE_HEAD_HAIR_BROWN_SMALL", "IMAGE_HEAD_HAIR_RED", "IMAGE_HEAD_HAIR_RED_SMALL",
      "IMAGE_HEAD_MOUTHS", "IMAGE_HEAD_MOUTHS_SMALL", "IMAGE_HEAD_NOSES", "IMAGE_HEAD_NOSES_SMALL", "IMAGE_MATHSHAPES",
      "IMAGE_OPTIONS_BAR", "IMAGE_PROFILE_SELECT", "IMAGE_SHAPES", "IMAGE_STAMPS", "IMAGE_TICKS", "IMAGE_TITLE",
      "IMAGE_WORDBOARD"}},
};

// Cel grids and cel sizes the screens rely on when they index or place cels.
struct CelRule {
    const char* id;
    int minCels; // cels the screens index, at least
    int celWidth, celHeight; // 0: any
};
const CelRule kCelRules[] = {
    {"IMAGE_STAMPS", 20, 128, 128},       {"IMAGE_SHAPES", 24, 0, 0},       {"IMAGE_CARDSHAPES", 8, 0, 0},
    {"IMAGE_MATHSHAPES", 5, 0, 0},        {"IMAGE_TICKS", 2, 0, 0},         {"IMAGE_CHECKBOX", 2, 0, 0},
    {"IMAGE_EDITFIELD", 6, 16, 96},       {"IMAGE_GRID", 2, 0, 0},          {"IMAGE_GRID2", 2, 0, 0},
    {"IMAGE_HEAD_FACES_WHITE", 10, 170, 0}, {"IMAGE_HEAD_FACES_TAN_SMALL", 10, 85, 105},
    {"IMAGE_HEAD_HAIR_RED", 20, 170, 0},  {"IMAGE_HEAD_HAIR_BROWN_SMALL", 20, 85, 105},
    {"IMAGE_HEAD_EYES", 19, 170, 0},      {"IMAGE_HEAD_NOSES", 16, 170, 0}, {"IMAGE_HEAD_MOUTHS_SMALL", 19, 85, 105},
    {"IMAGE_BKG_DIM", 1, 160, 120},       {"IMAGE_BUTTON4", 2, 0, 0},       {"IMAGE_BUTTON5", 2, 0, 0},
    {"IMAGE_BKG_START_SCREEN", 1, 800, 600},
};

class Host : public Vel::ResourceHost {
public:
    Vel::ImageRegistry* GetImageRegistry() override { return &m_registry; }
    void Popup(const std::string& text) override { m_popups.push_back(text); }
    Vel::SoundManager* GetSoundManager() override { return &m_sounds; }

    Vel::ImageRegistry m_registry;
    Vel::DSoundManager m_sounds{nullptr, ""}; // decodes, plays into nothing
    std::vector<std::string> m_popups;
};

// Runs the test body with the working directory at `dir`, as the game runs in its data folder.
class WorkingDir {
public:
    explicit WorkingDir(const std::string& dir) : m_old(fs::current_path()) { fs::current_path(dir); }
    ~WorkingDir() { fs::current_path(m_old); }

private:
    fs::path m_old;
};

void LoadAndBindEverything(Host& host)
{
    Vel::ResourceManager manager(&host, &host.m_sounds);
    ASSERT_TRUE(manager.ParseManifest("properties\\resources.xml")) << manager.GetErrorText();
    int declared = 0;
    for (const Group& g : kGroups) {
        ASSERT_TRUE(manager.LoadGroup(g.name)) << manager.GetErrorText();
        declared += manager.CountGroupResources(g.name);
        for (const char* id : g.ids) {
            const std::string name = id;
            try {
                if (name.rfind("IMAGE_", 0) == 0) {
                    EXPECT_TRUE(manager.RequireImage(id)) << id;
                } else if (name.rfind("SOUND_", 0) == 0) {
                    EXPECT_GE(manager.RequireSound(id), 0) << id;
                } else {
                    EXPECT_NE(manager.RequireFont(id), nullptr) << id;
                }
            } catch (const Vel::ResourceManagerException& e) {
                ADD_FAILURE() << e.what();
            }
        }
    }
    EXPECT_EQ(declared, 93);
    for (const CelRule& rule : kCelRules) {
        Vel::ImageHandle image = manager.GetImage(rule.id);
        ASSERT_TRUE(image) << rule.id;
        EXPECT_GE(image->m_numRows * image->m_numCols, rule.minCels) << rule.id;
        if (rule.celWidth) {
            EXPECT_EQ(image->GetCelWidth(), rule.celWidth) << rule.id;
        }
        if (rule.celHeight) {
            EXPECT_EQ(image->GetCelHeight(), rule.celHeight) << rule.id;
        }
        // A grid that does not divide the image would cut cels off.
        EXPECT_EQ(image->GetWidth() % image->m_numCols, 0) << rule.id;
        EXPECT_EQ(image->GetHeight() % image->m_numRows, 0) << rule.id;
    }
    // The owl's layers share one origin, so they must be the same size.
    const Vel::ImageHandle face = manager.GetImage("IMAGE_HOOTLEFACE");
    for (const char* part : {"IMAGE_HOOTLEHALO2", "IMAGE_HOOTLEEYES3", "IMAGE_HOOTLEMOUTH5"}) {
        const Vel::ImageHandle layer = manager.GetImage(part);
        EXPECT_EQ(layer->GetWidth(), face->GetWidth()) << part;
        EXPECT_EQ(layer->GetHeight(), face->GetHeight()) << part;
    }
    // Every sound decodes to something short that a player will hear.
    for (const char* id : kGroups[2].ids) {
        if (std::string(id).rfind("SOUND_", 0) != 0)
            continue;
        const auto data = host.m_sounds.GetSampleData(manager.GetSound(id));
        ASSERT_TRUE(data) << id;
        EXPECT_GT(data->Frames(), size_t(data->rate / 50)) << id;
        EXPECT_LT(data->Frames(), size_t(data->rate)) << id;
    }
    EXPECT_TRUE(host.m_popups.empty()) << host.m_popups.front();
    // The board loads its three songs by these names.
    Vel::StreamMusicInterface music(nullptr);
    for (int song = 0; song < 3; ++song) {
        const std::string name = "music/music" + std::to_string(song + 1) + ".ogg";
        EXPECT_TRUE(music.LoadMusic(song, name)) << name;
    }
}

TEST(ContentTest, EveryBoundIdentifierLoadsFromTheLooseFolder)
{
    ASSERT_TRUE(fs::exists(kGameData + "/properties/resources.xml")) << "build the gamedata target first";
    WorkingDir cd(kGameData);
    Host host;
    LoadAndBindEverything(host);
}

TEST(ContentTest, EveryBoundIdentifierLoadsFromMainPak)
{
    ASSERT_TRUE(fs::exists(kBuild + "/main.pak")) << "build the gamedata target first";
    const fs::path empty = fs::temp_directory_path() / ("qv-content-" + std::to_string(getpid()));
    fs::create_directories(empty);
    ASSERT_TRUE(Vel::PakInterface::Instance().RegisterArchive(kBuild + "/main.pak"));
    {
        WorkingDir cd(empty.string());
        Host host;
        LoadAndBindEverything(host);
    }
    fs::remove_all(empty);
}

TEST(ContentTest, EveryCharacterOfTheTextTableHasAGlyphInEveryFont)
{
    WorkingDir cd(kGameData);
    Host host;
    Vel::ResourceManager manager(&host, &host.m_sounds);
    ASSERT_TRUE(manager.ParseManifest("properties/resources.xml")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadGroup("Init")) << manager.GetErrorText();
    std::ifstream in(QV_SOURCE_DIR "/data/resource.txt", std::ios::binary);
    ASSERT_TRUE(in) << "data/resource.txt";
    std::set<unsigned char> used;
    for (char c : std::string(std::istreambuf_iterator<char>(in), {}))
        if (static_cast<unsigned char>(c) >= 32)
            used.insert(static_cast<unsigned char>(c));
    // The math boxes write division as "~", which the fonts draw as a division sign.
    used.insert('~');
    for (const char* id : {"FONT_MENU0", "FONT_MENU1", "FONT_MENU2", "FONT_MENU3", "FONT_MENU4"}) {
        Vel::Font* font = manager.RequireFont(id);
        ASSERT_NE(font, nullptr);
        EXPECT_GT(font->GetHeight(), 0) << id;
        for (unsigned char c : used) {
            if (c != ' ') {
                EXPECT_GT(font->CharWidth(static_cast<char>(c)), 0) << id << " has no glyph for '" << c << "'";
            }
        }
        // Kerning pairs made it through the description: "AV" is tighter than its letters.
        EXPECT_LT(font->StringWidth("AV"), font->CharWidth('A') + font->CharWidth('V')) << id;
    }
}

// Equal input gives equal bytes: a second generation into a fresh folder matches the build's.
TEST(ContentTest, GenerationRepeatsByteForByte)
{
    const fs::path again = fs::temp_directory_path() / ("qv-content-again-" + std::to_string(getpid()));
    const std::string command = kBuild + "/tools/content/qvcontent generate " + again.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(again)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path rel = fs::relative(entry.path(), again);
        std::ifstream a(entry.path(), std::ios::binary), b(fs::path(kGameData) / rel, std::ios::binary);
        ASSERT_TRUE(b) << rel << " missing from the build's gamedata";
        EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(a), {}, std::istreambuf_iterator<char>(b), {}))
            << rel << " differs";
        EXPECT_EQ(fs::last_write_time(entry.path()), fs::last_write_time(fs::path(kGameData) / rel)) << rel;
        ++compared;
    }
    EXPECT_GT(compared, 100u);
    fs::remove_all(again);
}

} // namespace
