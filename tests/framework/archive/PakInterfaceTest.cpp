// The archive layer against archives built by the archive builder's encoder in a scratch folder.
#include "framework/archive/PakInterface.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "framework/archive/PakFormat.h"
#include "tools/pak/PakBuilder.h"

namespace fs = std::filesystem;
using Vel::PakInterface;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string ReadDisk(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Reads the rest of a stream with Read, however it was opened.
std::string ReadAll(PakInterface& pak, PakStream* s)
{
    std::string out;
    char buf[7];
    size_t n;
    while ((n = pak.Read(buf, 1, sizeof buf, s)) > 0) out.append(buf, n);
    return out;
}

// Runs in its own scratch folder, which is the working directory, so relative names fall through
// to files the test puts there.
class PakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldDir = fs::current_path();
        m_dir = fs::temp_directory_path() / ("pak_test_" + std::to_string(getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::current_path(m_dir);
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        fs::remove_all(m_dir);
    }
    std::string MakeArchive(const std::vector<PakTool::PakMember>& members, const std::string& name = "main.pak")
    {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(PakTool::EncodePak(members, bytes, error)) << error;
        WriteFile(m_dir / name, bytes);
        return name;
    }
    fs::path m_oldDir;
    fs::path m_dir;
};

const std::string kLines = "one\r\ntwo\r\nthree\r\n";
const std::string kLong = "abcdefghijklmnopqrstuvwxyz\n";
const std::string kTen = "0123456789";

std::vector<PakTool::PakMember> StandardMembers()
{
    return {{"images\\Foo.png", Bytes("archive foo")},
            {"data\\lines.txt", Bytes(kLines)},
            {"data\\long.txt", Bytes(kLong)},
            {"data\\ten.bin", Bytes(kTen)},
            {"both.txt", Bytes("from archive")}};
}

struct Case {
    const char* what;
    std::function<std::string(PakInterface&)> run;
    std::string expected;
};

std::string OpenRead(PakInterface& pak, const char* name, const char* mode = "rb")
{
    PakStream* s = pak.Open(name, mode);
    if (!s) return "<null>";
    std::string out = ReadAll(pak, s);
    pak.Close(s);
    return out;
}

} // namespace

TEST_F(PakTest, MemberOperationsFollowTheirTable)
{
    WriteFile(m_dir / "both.txt", Bytes("from disk"));
    WriteFile(m_dir / "disk" / "only.txt", Bytes("disk only"));
    PakInterface pak;
    ASSERT_TRUE(pak.RegisterArchive(MakeArchive(StandardMembers())));

    const std::vector<Case> cases = {
        {"forward slashes", [](PakInterface& p) { return OpenRead(p, "images/foo.png"); }, "archive foo"},
        {"mixed case backslash", [](PakInterface& p) { return OpenRead(p, "Images\\FOO.png"); }, "archive foo"},
        {"doubled separators", [](PakInterface& p) { return OpenRead(p, "IMAGES//FOO.PNG"); }, "archive foo"},
        {"dot-dot component", [](PakInterface& p) { return OpenRead(p, "images//sub/../Foo.png", "r"); }, "archive foo"},
        {"absolute below cwd", [this](PakInterface& p) { return OpenRead(p, (m_dir / "images/foo.png").c_str()); }, "archive foo"},
        {"archive before disk", [](PakInterface& p) { return OpenRead(p, "both.txt"); }, "from archive"},
        {"disk only, backslash", [](PakInterface& p) { return OpenRead(p, "disk\\only.txt"); }, "disk only"},
        {"missing everywhere", [](PakInterface& p) { return OpenRead(p, "nowhere.txt"); }, "<null>"},
        {"seek 0 from end", [](PakInterface& p) {
             PakStream* s = p.Open("data/ten.bin", "rb");
             p.Seek(s, 0, SEEK_END);
             std::string r = std::to_string(p.Tell(s)) + "," + std::to_string(p.AtEnd(s));
             p.Close(s);
             return r; }, "10,1"},
        {"seek -5, past end, -3 from end", [](PakInterface& p) {
             PakStream* s = p.Open("data/ten.bin", "rb");
             p.Seek(s, -5, SEEK_SET);
             std::string r = std::to_string(p.Tell(s));
             p.Seek(s, 20, SEEK_SET);
             r += "," + std::to_string(p.Tell(s));
             p.Seek(s, -3, SEEK_END);
             r += "," + std::to_string(p.Tell(s));
             r += ":" + ReadAll(p, s);
             p.Seek(s, -1L << 40, SEEK_CUR); // clamps rather than wrapping
             r += "," + std::to_string(p.Tell(s));
             p.Close(s);
             return r; }, "0,10,7:789,0"},
        {"GetLine drops CR keeps LF", [](PakInterface& p) {
             PakStream* s = p.Open("data/lines.txt", "r");
             char buf[256];
             std::string r;
             while (p.GetLine(buf, sizeof buf, s)) r += std::string("[") + buf + "]";
             p.Close(s);
             return r; }, "[one\n][two\n][three\n]"},
        {"GetChar never gives CR", [](PakInterface& p) {
             PakStream* s = p.Open("data/lines.txt", "r");
             std::string r;
             for (int c; (c = p.GetChar(s)) != EOF;) r += char(c);
             p.Close(s);
             return r; }, "one\ntwo\nthree\n"},
        {"Read keeps CR", [](PakInterface& p) { return OpenRead(p, "data/lines.txt", "r"); }, kLines},
        {"AtEnd right after the last line", [](PakInterface& p) {
             PakStream* s = p.Open("data/lines.txt", "r");
             char buf[256];
             std::string r;
             for (int i = 0; i < 3; ++i) { p.GetLine(buf, sizeof buf, s); r += std::to_string(p.AtEnd(s)); }
             r += p.GetLine(buf, sizeof buf, s) ? "line" : "null";
             p.Close(s);
             return r; }, "001null"},
        {"line longer than the buffer", [](PakInterface& p) {
             PakStream* s = p.Open("data/long.txt", "r");
             char buf[11];
             std::string r;
             while (p.GetLine(buf, sizeof buf, s)) r += std::string("[") + buf + "]";
             p.Close(s);
             return r; }, "[abcdefghij][klmnopqrst][uvwxyz\n]"},
        {"UngetChar at 0 and of EOF", [](PakInterface& p) {
             PakStream* s = p.Open("data/ten.bin", "rb");
             p.UngetChar('x', s);
             std::string r = std::to_string(p.Tell(s));
             r += char(p.GetChar(s)); // the member's own byte, not 'x'
             p.Seek(s, 0, SEEK_END);
             const int got = p.GetChar(s);
             p.UngetChar(got, s); // EOF: nothing steps back
             r += "," + std::to_string(p.GetChar(s));
             p.Close(s);
             return r; }, "00,-1"},
        {"partial-element Read", [](PakInterface& p) {
             PakStream* s = p.Open("data/ten.bin", "rb");
             char buf[12] = {};
             const size_t n = p.Read(buf, 4, 3, s);
             std::string r = std::to_string(n) + "," + std::string(buf, 10) + "," + std::to_string(p.AtEnd(s));
             r += "," + std::to_string(p.Read(buf, 0, 3, s));
             p.Close(s);
             return r; }, "2,0123456789,1,0"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.run(pak), c.expected) << c.what;
}

TEST_F(PakTest, WriteModesAlwaysGoToDisk)
{
    PakInterface pak;
    ASSERT_TRUE(pak.RegisterArchive(MakeArchive(StandardMembers())));
    fs::create_directories(m_dir / "images");
    PakStream* s = pak.Open("images\\Foo.png", "w");
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->file, nullptr);
    EXPECT_EQ(s->entry, nullptr);
    ASSERT_EQ(pak.Read(nullptr, 1, 1, s), 0u);
    std::fputs("written", s->file);
    pak.Close(s);
    EXPECT_EQ(ReadDisk(m_dir / "images" / "Foo.png"), "written");
    EXPECT_EQ(OpenRead(pak, "images/foo.png"), "archive foo");
}

TEST_F(PakTest, BadArchivesAreRefusedAndNamesComeFromDisk)
{
    WriteFile(m_dir / "both.txt", Bytes("from disk"));
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(PakTool::EncodePak(StandardMembers(), bytes, error));

    struct Bad {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> spoil;
    };
    const std::vector<Bad> bads = {
        {"version 1", [](std::vector<uint8_t>& b) { b[4] ^= 1; }},
        {"wrong magic", [](std::vector<uint8_t>& b) { b[0] ^= 0xFF; }},
        {"cut inside the header", [](std::vector<uint8_t>& b) { b.resize(6); }},
        {"empty file", [](std::vector<uint8_t>& b) { b.clear(); }},
    };
    for (const Bad& bad : bads) {
        std::vector<uint8_t> spoilt = bytes;
        bad.spoil(spoilt);
        WriteFile(m_dir / "bad.pak", spoilt);
        PakInterface pak;
        EXPECT_FALSE(pak.RegisterArchive("bad.pak")) << bad.what;
        EXPECT_EQ(pak.EntryCount(), 0u) << bad.what;
        EXPECT_EQ(OpenRead(pak, "both.txt"), "from disk") << bad.what;
    }
    PakInterface pak;
    EXPECT_FALSE(pak.RegisterArchive("missing.pak"));
}

// Hand-made directories (already XOR-ed) that lie about where the data is.
TEST_F(PakTest, DirectoryEntriesOutsideTheFileAreDropped)
{
    auto entry = [](std::vector<uint8_t>& out, const std::string& name, uint32_t size) {
        out.push_back(0);
        out.push_back(uint8_t(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(size >> (8 * i)));
        for (int i = 0; i < 8; ++i) out.push_back(0);
    };
    auto header = [] {
        std::vector<uint8_t> out;
        for (uint32_t v : {Vel::kPakMagic, Vel::kPakVersion})
            for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
        return out;
    };
    auto finish = [this](std::vector<uint8_t> out) {
        for (uint8_t& b : out) b ^= Vel::kPakKey;
        WriteFile(m_dir / "lie.pak", out);
    };

    { // an entry claiming more bytes than the file holds, then one whose offset wraps 32 bits
        std::vector<uint8_t> out = header();
        entry(out, "ok", 3);
        entry(out, "huge", 0xFFFFFFF0u);
        entry(out, "wrapped", 0x20);
        out.push_back(Vel::kPakEndOfDirectory);
        for (char c : std::string("abc")) out.push_back(uint8_t(c));
        out.resize(out.size() + 0x20, 'x');
        finish(out);
        PakInterface pak;
        ASSERT_TRUE(pak.RegisterArchive("lie.pak"));
        EXPECT_EQ(OpenRead(pak, "ok"), "abc");
        EXPECT_EQ(pak.FindEntry("huge"), nullptr);
        EXPECT_EQ(pak.FindEntry("wrapped"), nullptr);
    }
    { // a directory cut off inside its second entry and without a closing byte
        std::vector<uint8_t> out = header();
        entry(out, "first", 0);
        entry(out, "second", 5);
        out.resize(out.size() - 6);
        finish(out);
        PakInterface pak;
        ASSERT_TRUE(pak.RegisterArchive("lie.pak"));
        ASSERT_NE(pak.FindEntry("first"), nullptr);
        EXPECT_EQ(pak.FindEntry("second"), nullptr);
        EXPECT_EQ(OpenRead(pak, "first"), "");
    }
    { // a name listed twice keeps the later entry's data, at the right place
        std::vector<uint8_t> out = header();
        entry(out, "twice", 2);
        entry(out, "TWICE", 3);
        entry(out, "after", 1);
        out.push_back(Vel::kPakEndOfDirectory);
        for (char c : std::string("aabbbc")) out.push_back(uint8_t(c));
        finish(out);
        PakInterface pak;
        ASSERT_TRUE(pak.RegisterArchive("lie.pak"));
        EXPECT_EQ(OpenRead(pak, "twice"), "bbb");
        EXPECT_EQ(OpenRead(pak, "after"), "c");
    }
}

TEST_F(PakTest, LaterArchiveOverridesAndArchiveFileIsItsOwnMember)
{
    PakInterface pak;
    ASSERT_TRUE(pak.RegisterArchive(MakeArchive(StandardMembers(), "a.pak")));
    ASSERT_TRUE(pak.RegisterArchive(MakeArchive({{"both.txt", Bytes("patched")}}, "sub/b.pak")));
    EXPECT_EQ(OpenRead(pak, "both.txt"), "patched");
    EXPECT_EQ(OpenRead(pak, "data/ten.bin"), kTen);
    // The whole archive reads back un-keyed through its own entry.
    const std::string whole = OpenRead(pak, "a.pak");
    ASSERT_GE(whole.size(), 8u);
    uint32_t magic;
    std::memcpy(&magic, whole.data(), 4);
    EXPECT_EQ(magic, Vel::kPakMagic);
}

TEST_F(PakTest, PatternSearchListsMembersThenPlainFiles)
{
    WriteFile(m_dir / "images" / "disk.png", Bytes("d"));
    PakInterface pak;
    ASSERT_TRUE(pak.RegisterArchive(MakeArchive({{"images\\Foo.png", Bytes("12345")},
                                                 {"images\\bar.png", Bytes("1")},
                                                 {"images\\notes.txt", Bytes("1")}})));
    Vel::PakFindData data;
    std::vector<std::string> found;
    Vel::PakFind* find = pak.FindFirstEntry("images/*.png", &data);
    ASSERT_NE(find, nullptr);
    do {
        found.push_back(data.m_fileName + ":" + std::to_string(data.m_sizeLow));
    } while (pak.FindNextEntry(find, &data));
    EXPECT_TRUE(pak.EndFind(find));
    EXPECT_EQ(found, (std::vector<std::string>{"bar.png:1", "Foo.png:5", "disk.png:1"}));
    EXPECT_EQ(pak.FindFirstEntry("nothing/*.zzz", &data), nullptr);
}

TEST_F(PakTest, BuilderIsDeterministicAndRoundTrips)
{
    WriteFile(m_dir / "in" / "b.txt", Bytes("bee"));
    WriteFile(m_dir / "in" / "a" / "deep" / "c.bin", Bytes(std::string("\0\r\n\xFF", 4)));
    WriteFile(m_dir / "in" / "A.txt", Bytes(""));
    std::string error;
    ASSERT_TRUE(PakTool::BuildPak("in", "one.pak", error)) << error;
    fs::last_write_time(m_dir / "in" / "b.txt", fs::file_time_type::clock::now() - std::chrono::hours(50));
    ASSERT_TRUE(PakTool::BuildPak("in", "in/two.pak", error)) << error; // output inside: not packed
    EXPECT_EQ(ReadDisk(m_dir / "one.pak"), ReadDisk(m_dir / "in" / "two.pak"));

    PakInterface pak;
    ASSERT_TRUE(pak.RegisterArchive("one.pak"));
    EXPECT_EQ(pak.EntryCount(), 4u); // three members and the archive itself
    const Vel::ArchiveEntry* deep = pak.FindEntry("a/deep/c.bin");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->m_name, "a\\deep\\c.bin");
    EXPECT_EQ(deep->m_fileTime, PakTool::kFixedFileTime);
    EXPECT_EQ(OpenRead(pak, "A\\DEEP\\C.BIN"), std::string("\0\r\n\xFF", 4));
    EXPECT_EQ(OpenRead(pak, "b.txt"), "bee");

    EXPECT_FALSE(PakTool::BuildPak("no-such-folder", "x.pak", error));
    EXPECT_FALSE(fs::exists(m_dir / "x.pak"));
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(PakTool::EncodePak({{std::string(256, 'n'), {}}}, bytes, error));
}

TEST_F(PakTest, FreeFunctionsUseTheProcessWideInterface)
{
    ASSERT_NE(Vel::PakInterfaceSlot(), nullptr);
    EXPECT_EQ(Vel::PakInterfaceSlot(), &PakInterface::Instance());
    PakInterface second; // a later instance never takes the slot
    EXPECT_EQ(Vel::PakInterfaceSlot(), &PakInterface::Instance());

    WriteFile(m_dir / "plain.txt", Bytes("x\r\ny\n"));
    PakStream* s = PakOpen("plain.txt", "rb");
    ASSERT_NE(s, nullptr);
    char buf[16];
    ASSERT_NE(PakGets(buf, sizeof buf, s), nullptr);
    EXPECT_STREQ(buf, "x\r\n"); // plain files are the C library's, untranslated
    EXPECT_EQ(PakClose(s), 0);
    std::vector<uint8_t> all;
    EXPECT_TRUE(Vel::PakReadWholeFile("plain.txt", all));
    EXPECT_EQ(all.size(), 5u);
    EXPECT_FALSE(Vel::PakReadWholeFile("absent.txt", all));
    EXPECT_EQ(PakGetc(nullptr), EOF);
    EXPECT_EQ(PakGets(buf, sizeof buf, nullptr), nullptr);
}

TEST_F(PakTest, WholeFilesAreReadExactlyAndHeldInTheirOwnSize)
{
    // Larger than one read chunk, with bytes that a text mode would change.
    std::vector<uint8_t> big(200001);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 31 + (i >> 9));
    WriteFile(m_dir / "plain.bin", big);
    WriteFile(m_dir / "empty.bin", {});
    ASSERT_TRUE(PakInterface::Instance().RegisterArchive(MakeArchive({{"songs\\whole.ogg", big}}, "whole.pak")));

    for (const char* name : {"plain.bin", "songs/whole.ogg"}) {
        std::vector<uint8_t> read = Bytes("stale");
        ASSERT_TRUE(Vel::PakReadWholeFile(name, read)) << name;
        EXPECT_TRUE(read == big) << name;
        EXPECT_EQ(read.capacity(), big.size()) << name;
    }
    std::vector<uint8_t> read = Bytes("stale");
    EXPECT_TRUE(Vel::PakReadWholeFile("empty.bin", read));
    EXPECT_TRUE(read.empty());
}

TEST(PakPathTest, NamesNormaliseToUpperCaseBackslashForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"images/Foo.png", "IMAGES\\FOO.PNG"},
        {"images//sub/../Foo.png", "IMAGES\\FOO.PNG"},
        {"a/b/c/../../d", "A\\D"},
        {"a/../b", "B"},        // nothing of the removed first component survives
        {"\\..\\x", "\\X"},     // a leading separator does
        {"..\\up", "..\\UP"},   // a leading ".." has no separator before it and stays
        {"x///", "X\\"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(Vel::NormalizePakPath(in), out) << in;
}

TEST_F(PakTest, RandomlyDamagedArchivesKeepEveryMemberInsideTheFile)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(PakTool::EncodePak(StandardMembers(), bytes, error));
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> damaged = bytes;
        // Damage the directory (after the header), where sizes and name lengths live.
        for (int i = 0; i < 3; ++i) damaged[8 + rng() % 100] ^= uint8_t(1 + rng() % 255);
        if (round % 2) damaged.resize(8 + rng() % (damaged.size() - 8));
        WriteFile(m_dir / "damaged.pak", damaged);
        PakInterface pak;
        if (!pak.RegisterArchive("damaged.pak")) continue;
        for (const char* name : {"images/foo.png", "data/lines.txt", "data/long.txt", "data/ten.bin", "both.txt"}) {
            const Vel::ArchiveEntry* entry = pak.FindEntry(name);
            if (!entry) continue;
            ASSERT_LE(uint64_t(entry->m_start) + entry->m_size, damaged.size()) << name;
            PakStream* s = pak.Open(name, "rb");
            ASSERT_EQ(ReadAll(pak, s).size(), entry->m_size);
            pak.Close(s);
        }
    }
}
