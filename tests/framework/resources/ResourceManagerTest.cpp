// The resource manager over small manifests: declarations and their errors, animation set-up,
// group loading step by step, freeing, lookups, alpha images and the kinds of fonts.
#include <gtest/gtest.h>

#include <random>

#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundManager.h"
#include "tests/framework/fonts/FontTestFiles.h"

namespace {

using Vel::ResourceManager;

// Loads any name not containing "missing"; remembers what was loaded and released.
class FakeSoundManager : public Vel::SoundManager {
public:
    bool IsInitialized() override { return false; }
    int LoadSound(const std::string&) override { return -1; }
    bool LoadSound(int id, const std::string& fileName) override
    {
        if (id < 0 || id >= Vel::kMaxSounds || fileName.find("missing") != std::string::npos)
            return false;
        m_loaded[size_t(id)] = fileName;
        return true;
    }
    void ReleaseSound(int id) override
    {
        m_released.push_back(id);
        if (id >= 0 && id < Vel::kMaxSounds)
            m_loaded[size_t(id)].clear();
    }
    void SetVolume(double) override {}
    bool SetBaseVolume(int id, double v) override
    {
        m_baseVolume[id] = v;
        return true;
    }
    bool SetBasePan(int id, int pan) override
    {
        m_basePan[id] = pan;
        return true;
    }
    Vel::SoundInstance* CreateInstance(int) override { return nullptr; }
    void ReleaseSounds() override {}
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return 1; }
    void SetMasterVolume(double) override {}
    void Flush() override {}
    void SetCooperativeWindow(Plat::Window*, bool) override {}
    void StopAllSounds() override {}
    int GetFreeSoundId() override
    {
        for (int i = 0; i < Vel::kMaxSounds; ++i)
            if (m_loaded[size_t(i)].empty())
                return i;
        return -1;
    }
    int GetNumSounds() override { return 0; }

    std::array<std::string, Vel::kMaxSounds> m_loaded;
    std::vector<int> m_released;
    std::map<int, double> m_baseVolume;
    std::map<int, int> m_basePan;
};

class TestHost : public Vel::ResourceHost {
public:
    Vel::ImageRegistry* GetImageRegistry() override { return &m_registry; }
    void Popup(const std::string& text) override { m_popups.push_back(text); }
    Vel::SoundManager* GetSoundManager() override { return &m_sounds; }

    Vel::ImageRegistry m_registry;
    FakeSoundManager m_sounds;
    std::vector<std::string> m_popups;
};

std::string Manifest(const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n<ResourceManifest>\n" + body + "\n</ResourceManifest>\n";
}

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A 4 x 2 grey image, its alpha image (blue channel 0x80) and a 2 x 2 alpha grid cel.
        m_dir.WriteTga("pic.tga", 4, 2, std::vector<uint32_t>(8, 0xFF404040));
        m_dir.WriteTga("pic_alpha.tga", 4, 2, std::vector<uint32_t>(8, 0xFF000080));
        m_dir.WriteTga("cel_alpha.tga", 2, 2, {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040});
        m_dir.WriteTga("small.tga", 2, 1, {0xFFFFFFFF, 0xFFFFFFFF});
        m_dir.WriteTga("glyphs.tga", 4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
        m_dir.WriteText("font.txt", "CreateLayer Main; LayerSetImage Main \"glyphs.tga\";\n"
                                    "LayerSetImageMap Main ('a') ((0 0 4 4)); LayerSetCharWidths Main ('a') (4);\n"
                                    "CreateLayer Bold; LayerSetCharWidths Bold ('a') (9); LayerRequireTags Bold (\"bold\");\n");
        m_dir.WriteText("broken.txt", "CreateLayer Main; LayerSetSpacing Main 1 2;");
        m_dir.WriteText("imagefont.txt", "CreateLayer Main; LayerSetImageMap Main ('a') ((0 0 2 1));\n"
                                         "LayerSetCharWidths Main ('a') (2);");
    }

    std::string Defaults() const { return "<SetDefaults path=\"" + m_dir.Path("") + "\" idprefix=\"\"/>"; }

    VelTest::ScratchDir m_dir;
    TestHost m_host;
};

TEST_F(ResourceManagerTest, IdsAndPathsComeFromTheDefaults)
{
    struct Case {
        const char* body;
        const char* id;
        const char* path;
    };
    const Case cases[] = {
        {"<SetDefaults path=\"images\\\" idprefix=\"IMAGE_\"/><Image path=\"ui/Check Box.png\"/>", "IMAGE_Check Box",
         "images/ui/Check Box.png"},
        {"<SetDefaults path=\"images/\" idprefix=\"IMAGE_/\"/><Image id=\"X\" path=\"a.b.png\"/>", "IMAGE_X",
         "images/a.b.png"},
        {"<SetDefaults path=\"images\"/><Image path=\"a\"/>", "a", "images/a"},
        // An empty default path means no folder at all, not the root.
        {"<SetDefaults path=\"images\"/><SetDefaults path=\"\"/><Image path=\"a.png\"/>", "a", "a.png"},
        {"<SetDefaults path=\"/\"/><Image path=\"a.png\"/>", "a", "a.png"},
        {"<SetDefaults path=\"images\"/><Image id=\"P\" path=\"!program\"/>", "P", "!program"},
    };
    for (const Case& c : cases) {
        ResourceManager manager(&m_host);
        ASSERT_TRUE(manager.ParseManifestText(Manifest("<Resources id=\"G\">" + std::string(c.body) + "</Resources>"),
                                              "m.xml"))
            << manager.GetErrorText();
        const auto* res = manager.GetImageRes(c.id);
        ASSERT_NE(res, nullptr) << c.body;
        EXPECT_EQ(res->m_path, c.path) << c.body;
        EXPECT_EQ(res->m_resGroup, "G");
    }
}

TEST_F(ResourceManagerTest, ManifestErrorsKeepTheFirstWithLineAndFile)
{
    struct Case {
        const char* body;
        const char* error;
    };
    const Case cases[] = {
        {"<Resources>", "No id specified. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\">\n<Image path=\"a.png\"/>\n<Image path=\"b/a.png\"/>\n</Resources>",
         "Resource already defined. on Line 5 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image path=\"a.png\"/></Resources><Resources id=\"H\"><Image path=\"a.png\"/></Resources>",
         "Resource already defined. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image id=\"a\"/></Resources>", "No path specified. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Picture path=\"a\"/></Resources>", "Invalid Section 'Picture' on Line 3 in File 'm.xml'"},
        {"<Group id=\"G\"/>", "Invalid Section 'Group' on Line 3 in File 'm.xml'"},
        {"stray", "Element Not Expected 'stray' on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image path=\"a\"><Image path=\"b\"/></Image></Resources>",
         "Unexpected element found. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image path=\"a\" rows=\"0\"/></Resources>", "Invalid number of rows. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image path=\"a\" cols=\"-2\"/></Resources>", "Invalid number of cols. on Line 3 in File 'm.xml'"},
        // More cels than an image can have pixels would only exhaust memory in the frame map.
        {"<Resources id=\"G\"><Image path=\"a\" cols=\"900000000\" anim=\"pingpong\"/></Resources>",
         "Invalid number of cols. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image path=\"a\" anim=\"bounce\"/></Resources>", "Invalid animation type. on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Font path=\"!sys:Arial\"/></Resources>", "SysFont needs point size on Line 3 in File 'm.xml'"},
        {"<Resources id=\"G\"><Image path=\"a\"></Resources>", "End 'Resources' Doesn't Match Start 'Image' on Line 3 in File 'm.xml'"},
    };
    for (const Case& c : cases) {
        ResourceManager manager(&m_host);
        EXPECT_FALSE(manager.ParseManifestText(Manifest(c.body), "m.xml")) << c.body;
        EXPECT_TRUE(manager.HadError());
        EXPECT_EQ(manager.GetErrorText(), c.error) << c.body;
    }

    ResourceManager manager(&m_host);
    EXPECT_FALSE(manager.ParseManifestText("<Other/>", "m.xml"));
    EXPECT_EQ(manager.GetErrorText(), "Expecting ResourceManifest tag on Line 1 in File 'm.xml'");
    ResourceManager missing(&m_host);
    EXPECT_FALSE(missing.ParseManifest("/nonexistent/resources.xml"));
    EXPECT_EQ(missing.GetErrorText().rfind("Resource file not found: /nonexistent/resources.xml", 0), 0u);
}

TEST_F(ResourceManagerTest, KindsHaveSeparateIds)
{
    ResourceManager manager(&m_host);
    ASSERT_TRUE(manager.ParseManifestText(
        Manifest("<Resources id=\"G\"><Image id=\"X\" path=\"a\"/><Sound id=\"X\" path=\"a\" volume=\"0.5\" pan=\"-300\"/>"
                 "<Font id=\"X\" path=\"a\"/></Resources>"),
        "m.xml"))
        << manager.GetErrorText();
    EXPECT_NE(manager.GetImageRes("X"), nullptr);
    ASSERT_NE(manager.GetSoundRes("X"), nullptr);
    EXPECT_DOUBLE_EQ(manager.GetSoundRes("X")->m_volume, 0.5);
    EXPECT_EQ(manager.GetSoundRes("X")->m_panning, -300);
    EXPECT_NE(manager.GetFontRes("X"), nullptr);
    EXPECT_EQ(manager.CountGroupResources("G"), 3);
}

TEST_F(ResourceManagerTest, AnimationDescriptions)
{
    struct Case {
        const char* attributes;
        std::vector<int> frameMap;
        std::vector<int> perFrame;
        int totalCycles;
    };
    const Case cases[] = {
        {"cols=\"4\" anim=\"pingpong\" framedelay=\"3\"", {0, 1, 2, 3, 2, 1}, {}, 18},
        {"rows=\"3\" anim=\"loop\"", {}, {}, 3},
        {"cols=\"3\" anim=\"once\" framedelay=\"2\" begindelay=\"10\" enddelay=\"7\"", {}, {10, 2, 7}, 19},
        {"cols=\"3\" anim=\"loop\" framedelay=\"5\" perframedelay=\"1,0,4,9\"", {}, {1, 5, 4}, 10},
        {"cols=\"2\" anim=\"loop\" framemap=\"1 1 0\"", {1, 1, 0}, {}, 3},
        {"cols=\"1\" anim=\"pingpong\"", {}, {}, 1},
    };
    for (const Case& c : cases) {
        ResourceManager manager(&m_host);
        ASSERT_TRUE(manager.ParseManifestText(
            Manifest(std::string("<Resources id=\"G\"><Image id=\"A\" path=\"a\" ") + c.attributes + "/></Resources>"),
            "m.xml"))
            << manager.GetErrorText();
        const auto& anim = manager.GetImageRes("A")->m_animInfo;
        EXPECT_EQ(anim.m_frameMap, c.frameMap) << c.attributes;
        EXPECT_EQ(anim.m_perFrameDelay, c.perFrame) << c.attributes;
        EXPECT_EQ(anim.m_totalCycles, c.totalCycles) << c.attributes;
    }
}

TEST_F(ResourceManagerTest, LoadNextStepsThroughTheGroupAndStopsAtTheEndOrAnError)
{
    ResourceManager manager(&m_host);
    ASSERT_TRUE(manager.ParseManifestText(
        Manifest("<Resources id=\"G\">" + Defaults() + "\n"
                              "<Image id=\"PIC\" path=\"pic\" cols=\"2\" anim=\"loop\"/>\n"
                              "<Image id=\"PROG\" path=\"!program\"/>\n"
                              "<Sound id=\"BEEP\" path=\"beep\" volume=\"0.25\" pan=\"100\"/>\n"
                              "<Sound id=\"BAD\" path=\"missing\"/>\n"
                              "<Image id=\"LATE\" path=\"small\"/>\n"
                              "</Resources>\n"),
        "m.xml"));
    EXPECT_EQ(manager.CountGroupResources("G"), 4) << "the program resource is not counted";
    EXPECT_EQ(manager.CountGroupResources(""), 5);
    EXPECT_EQ(manager.CountGroupResources("Nope"), 0);

    manager.BeginGroupLoad("G");
    EXPECT_TRUE(manager.LoadNext());
    EXPECT_TRUE(manager.LoadNext());
    EXPECT_FALSE(manager.LoadNext());
    EXPECT_TRUE(manager.HadError());
    EXPECT_EQ(manager.GetErrorText(), "Failed to load sound: " + m_dir.Path("missing"));
    EXPECT_FALSE(manager.LoadNext()) << "nothing loads after an error";
    EXPECT_FALSE(manager.GetImage("LATE"));

    const int beep = manager.GetSound("BEEP");
    ASSERT_GE(beep, 0);
    EXPECT_DOUBLE_EQ(m_host.m_sounds.m_baseVolume[beep], 0.25);
    EXPECT_EQ(m_host.m_sounds.m_basePan[beep], 100);
    auto pic = manager.RequireImage("PIC");
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->m_numCols, 2);
    ASSERT_NE(pic->m_animInfo, nullptr);
    EXPECT_EQ(pic->m_animInfo->m_animType, Vel::AnimInfo::kLoop);

    // A group without errors: true once per resource, then false with no error.
    ResourceManager clean(&m_host);
    ASSERT_TRUE(clean.ParseManifestText(Manifest("<Resources id=\"G\">" + Defaults() + "<Image path=\"pic\"/>"
                                                               "<Image path=\"small\"/></Resources>"),
                                        "m.xml"));
    clean.BeginGroupLoad("G");
    EXPECT_TRUE(clean.LoadNext());
    EXPECT_TRUE(clean.LoadNext());
    EXPECT_FALSE(clean.LoadNext());
    EXPECT_FALSE(clean.HadError());
    EXPECT_TRUE(clean.LoadGroup("G")) << "already loaded resources are skipped";
    EXPECT_TRUE(clean.IsGroupLoaded("G"));
    EXPECT_FALSE(clean.LoadNext());
}

TEST_F(ResourceManagerTest, DeleteGroupFreesOnlyWhatLoadedAndRequireThrowsAfterwards)
{
    ResourceManager manager(&m_host);
    ASSERT_TRUE(manager.ParseManifestText(
        Manifest("<Resources id=\"A\">" + Defaults() + "<Sound id=\"ONE\" path=\"one\"/><Sound id=\"NEVER\" path=\"missing\"/>"
                              "<Image id=\"PIC\" path=\"pic\"/></Resources>"
                              "<Resources id=\"B\"><Sound id=\"TWO\" path=\"two\"/></Resources>"),
        "m.xml"));
    EXPECT_FALSE(manager.LoadGroup("A"));
    EXPECT_FALSE(manager.IsGroupLoaded("A"));
    EXPECT_TRUE(manager.LoadGroup("B"));
    const int one = manager.RequireSound("ONE");
    const int two = manager.RequireSound("TWO");

    manager.DeleteGroup("A");
    EXPECT_EQ(m_host.m_sounds.m_released, std::vector<int>{one}) << "the sound that never loaded is skipped";
    EXPECT_EQ(manager.GetSound("ONE"), -1);
    EXPECT_EQ(manager.RequireSound("TWO"), two);
    EXPECT_TRUE(manager.IsGroupLoaded("B"));

    try {
        manager.RequireSound("ONE");
        FAIL() << "no exception";
    } catch (const Vel::ResourceManagerException& e) {
        EXPECT_EQ(std::string(e.what()), "Sound resource not found: ONE");
    }
    EXPECT_EQ(manager.GetErrorText(), "Sound resource not found: ONE");
    EXPECT_THROW(manager.RequireImage("NOPE"), Vel::ResourceManagerException);
    EXPECT_THROW(manager.RequireFont("NOPE"), Vel::ResourceManagerException);
    EXPECT_EQ(manager.GetErrorText(), "Sound resource not found: ONE") << "only the first error counts";

    manager.DeleteGroup("");
    EXPECT_EQ(m_host.m_sounds.m_released, (std::vector<int>{one, two}));
    EXPECT_FALSE(manager.IsGroupLoaded("B"));
}

TEST_F(ResourceManagerTest, MissingProgramResourcesAreEmptyOnlyWhenAllowed)
{
    ResourceManager manager(&m_host);
    ASSERT_TRUE(manager.ParseManifestText(Manifest("<Resources id=\"G\"><Image id=\"P\" path=\"!program\"/></Resources>"),
                                          "m.xml"));
    EXPECT_THROW(manager.RequireImage("P"), Vel::ResourceManagerException);
    manager.SetAllowMissingProgramImages(true);
    EXPECT_FALSE(manager.RequireImage("P"));
    Vel::DDImage supplied(nullptr);
    ASSERT_TRUE(manager.ReplaceImage("P", Vel::ImageHandle(&supplied)));
    EXPECT_EQ(manager.RequireImage("P").Get(), &supplied);
}

TEST_F(ResourceManagerTest, AlphaImagesAndGrids)
{
    struct Case {
        const char* attributes;
        const char* error; // with the scratch folder in place of %
        std::vector<uint32_t> alpha;
    };
    const Case cases[] = {
        {"alphaimage=\"pic_alpha.tga\"", "", std::vector<uint32_t>(8, 0x80)},
        {"cols=\"2\" alphagrid=\"cel_alpha.tga\"", "", {0x10, 0x20, 0x10, 0x20, 0x30, 0x40, 0x30, 0x40}},
        {"alphaimage=\"nothere.tga\"", "Failed to load image: %nothere.tga", {}},
        {"alphagrid=\"nothere.tga\"", "Failed to load image: %nothere.tga", {}},
        {"alphaimage=\"cel_alpha.tga\"", "AlphaImage size mismatch between %pic.tga and %cel_alpha.tga", {}},
        {"alphagrid=\"cel_alpha.tga\"", "GridAlphaImage size mismatch between %pic.tga and %cel_alpha.tga", {}},
    };
    for (const Case& c : cases) {
        TestHost host; // a fresh registry, so the image is new each time
        ResourceManager manager(&host);
        ASSERT_TRUE(manager.ParseManifestText(
            Manifest("<Resources id=\"G\">" + Defaults() + "<Image id=\"PIC\" path=\"pic.tga\" nopal " + c.attributes +
                     "/></Resources>"),
            "m.xml"));
        std::string error = c.error;
        for (size_t at; (at = error.find('%')) != std::string::npos;)
            error.replace(at, 1, m_dir.Path(""));
        EXPECT_EQ(manager.LoadGroup("G"), error.empty()) << c.attributes;
        EXPECT_EQ(manager.GetErrorText(), error);
        if (!error.empty())
            continue;
        auto image = manager.RequireImage("PIC");
        const uint32_t* bits = image.GetMemoryImage()->GetBits();
        for (size_t i = 0; i < c.alpha.size(); ++i) {
            EXPECT_EQ(bits[i] >> 24, c.alpha[i]) << c.attributes << " pixel " << i;
            EXPECT_EQ(bits[i] & 0xFFFFFF, 0x404040u);
        }
    }
}

TEST_F(ResourceManagerTest, FontsFromDescriptionsReferencesSystemAndImages)
{
    ResourceManager manager(&m_host);
    ASSERT_TRUE(manager.ParseManifestText(
        Manifest("<Resources id=\"G\">" + Defaults() +
                              "<Font id=\"MAIN\" path=\"font.txt\"/>"
                              "<Font id=\"BOLD\" path=\"font.txt\" tags=\"bold, shiny\"/>"
                              "<Font id=\"COPY\" path=\"!ref:BOLD\"/>"
                              "<Font id=\"SYS\" path=\"!sys:Tahoma\" size=\"12\" bold shadow/>"
                              "<Font id=\"IMG\" path=\"imagefont.txt\" image=\"" + m_dir.Path("small.tga") + "\"/>"
                              "</Resources>"
                              "<Resources id=\"Late\"><Font id=\"EARLY\" path=\"!ref:LATER\"/>"
                              "<Font id=\"LATER\" path=\"font.txt\"/></Resources>"
                              "<Resources id=\"Bad\"><Font id=\"BROKEN\" path=\"broken.txt\"/></Resources>"
                              "<Resources id=\"Ghost\"><Font id=\"GHOST\" path=\"!ref:NOBODY\"/></Resources>"),
        "m.xml"))
        << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadGroup("G")) << manager.GetErrorText();
    EXPECT_EQ(manager.RequireFont("MAIN")->CharWidth('a'), 4);
    EXPECT_EQ(manager.RequireFont("BOLD")->CharWidth('a'), 9) << "the tags attribute activates the layer";
    auto* copy = dynamic_cast<Vel::ImageFont*>(manager.RequireFont("COPY"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->HasTag("shiny"));
    EXPECT_EQ(copy->GetFontData(), dynamic_cast<Vel::ImageFont*>(manager.RequireFont("BOLD"))->GetFontData());
    auto* sys = dynamic_cast<Vel::SysFont*>(manager.RequireFont("SYS"));
    ASSERT_NE(sys, nullptr);
    EXPECT_TRUE(sys->m_shadow);
    EXPECT_GT(sys->GetHeight(), 0);
    EXPECT_EQ(manager.RequireFont("IMG")->CharWidth('a'), 2) << "layers start with the element's image";

    const std::pair<const char*, std::string> failures[] = {
        {"Late", "Ref font not found: LATER"},
        {"Bad", "Failed to load font: " + m_dir.Path("broken.txt")},
        {"Ghost", "Ref font not found: NOBODY"},
    };
    for (const auto& [group, error] : failures) {
        EXPECT_FALSE(manager.LoadGroup(group));
        EXPECT_EQ(manager.GetErrorText(), error);
    }
    EXPECT_EQ(m_host.m_popups.size(), 1u) << "the broken description shows one popup";
}

TEST_F(ResourceManagerTest, ManifestFilesAreReadInEveryEncodingWithBackslashPaths)
{
    const std::string text = Manifest("<Resources id=\"G\"><SetDefaults path=\"" + m_dir.Path("") +
                                      "\"/><Image id=\"IMAGE_PIC\" path=\"pic\"/></Resources>");
    std::filesystem::create_directories(m_dir.Path("properties"));
    for (const char* mark : {"", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        std::string bytes = mark;
        if (bytes == "\xFF\xFE") {
            for (char c : text) {
                bytes += c;
                bytes += '\0';
            }
        } else {
            bytes += text;
        }
        m_dir.WriteText("properties/resources.xml", bytes);
        ResourceManager manager(&m_host);
        ASSERT_TRUE(manager.ParseManifest(m_dir.Path("") + "properties\\resources.xml")) << manager.GetErrorText();
        ASSERT_TRUE(manager.LoadGroup("G")) << manager.GetErrorText();
        EXPECT_EQ(manager.RequireImage("IMAGE_PIC")->GetWidth(), 4);
    }
}

TEST_F(ResourceManagerTest, MangledManifestsNeverCrash)
{
    const std::string base = Manifest(
        "<Resources id=\"G\">" + Defaults() + "\n<Image id=\"A\" path=\"pic\" cols=\"4\" anim=\"pingpong\" framemap=\"1 2\"/>\n"
                     "<Sound id=\"S\" path=\"one\" volume=\"0.5\"/>\n<Font id=\"F\" path=\"!sys:Arial\" size=\"9\"/>\n"
                     "<Font id=\"R\" path=\"!ref:F\" tags=\"x\"/>\n</Resources>");
    const char junk[] = "<>/=\"'&;! \n\xEF\xBB\xBF\xFF";
    std::mt19937 rng(777);
    int parsed = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text = base;
        for (int e = 0, edits = 1 + int(rng() % 3); e < edits; ++e) {
            const size_t pos = rng() % text.size();
            if (rng() % 2)
                text[pos] = junk[rng() % (sizeof junk - 1)];
            else
                text.erase(pos, 1 + rng() % 6);
        }
        ResourceManager manager(&m_host);
        const bool ok = manager.ParseManifestText(text, "m.xml");
        EXPECT_EQ(ok, !manager.HadError());
        EXPECT_EQ(ok, manager.GetErrorText().empty());
        parsed += ok;
        manager.LoadGroup("G");
        manager.DeleteGroup("");
    }
    EXPECT_GT(parsed, 0);
}

} // namespace
