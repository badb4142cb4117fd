// The crash-safe writer's keep-the-previous-file option and its clean-up of what killed
// writers leave behind.
#include "platform/Files.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicWriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qv-atomic-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
        m_path = (m_dir / "pref.dat").string();
        m_keep = m_path + ".bak";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string Read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.insert(e.path().filename().string());
        return names;
    }
    Plat::WriteResult Write(std::string_view bytes)
    {
        return Plat::WriteFileAtomically(m_path, bytes.data(), bytes.size(), {m_keep});
    }

    fs::path m_dir;
    std::string m_path;
    std::string m_keep;
};

TEST_F(AtomicWriteTest, KeepsExactlyTheFileItReplaces)
{
    ASSERT_TRUE(Write("first").ok);
    EXPECT_FALSE(fs::exists(m_keep)) << "nothing to keep on the first write";
    ASSERT_TRUE(Write("second").ok);
    EXPECT_EQ(Read(m_keep), "first");
    ASSERT_TRUE(Write("third").ok);
    EXPECT_EQ(Read(m_path), "third");
    EXPECT_EQ(Read(m_keep), "second");
    EXPECT_EQ(Names(), (std::set<std::string>{"pref.dat", "pref.dat.bak"}));

    // The kept file is a file of its own: changing the new one in place leaves it alone.
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << "scribbled";
    EXPECT_EQ(Read(m_keep), "second");
}

TEST_F(AtomicWriteTest, AFailedWriteChangesNeitherFile)
{
    ASSERT_TRUE(Write("old").ok);
    ASSERT_TRUE(Write("current").ok);
    // A folder where the kept file should go: keeping fails, so the write must fail whole.
    fs::remove(m_keep);
    fs::create_directory(m_keep);
    fs::create_directory(fs::path(m_keep) / "occupied");
    const Plat::WriteResult r = Write("new");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("pref.dat.bak"), std::string::npos) << r.error;
    EXPECT_EQ(Read(m_path), "current");
    EXPECT_TRUE(fs::exists(fs::path(m_keep) / "occupied"));
    EXPECT_EQ(Names(), (std::set<std::string>{"pref.dat", "pref.dat.bak"})) << "no temporary file left";
}

TEST_F(AtomicWriteTest, RemovesTemporariesOfKilledWritersButNothingElse)
{
    const std::set<std::string> stale = {"pref.dat.tmp-a1B2c3", "pref.dat.bak.tmp-123-0"};
    const std::set<std::string> others = {"pref.dat.bad-20261210-093000", "pref.dat.tmpfile", "other.dat.tmp-x1y2z3"};
    for (const auto& name : stale)
        std::ofstream(m_dir / name) << "half a file";
    for (const auto& name : others)
        std::ofstream(m_dir / name) << "keep me";
    ASSERT_TRUE(Write("new").ok);
    std::set<std::string> expected = others;
    expected.insert("pref.dat");
    EXPECT_EQ(Names(), expected);
}

TEST_F(AtomicWriteTest, AKeptFileThatIsStillTheCurrentOneIsKeptAsItIs)
{
    // What a writer killed after keeping the old file and before replacing it leaves.
    ASSERT_TRUE(Write("current").ok);
    fs::create_hard_link(m_path, m_keep);
    ASSERT_TRUE(Write("new").ok);
    EXPECT_EQ(Read(m_keep), "current");
    EXPECT_EQ(Read(m_path), "new");
    EXPECT_EQ(Names(), (std::set<std::string>{"pref.dat", "pref.dat.bak"}));
}

TEST_F(AtomicWriteTest, KeptFileMustShareTheFolder)
{
    const Plat::WriteResult r = Plat::WriteFileAtomically(m_path, "x", 1, {(m_dir / "sub" / "pref.dat.bak").string()});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(fs::exists(m_path));
}

} // namespace
