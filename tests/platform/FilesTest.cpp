#include "platform/Files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qv-files-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all);
        fs::remove_all(m_dir);
    }
    fs::path m_dir;
};

TEST_F(FilesTest, AtomicWriteReplacesContentAndLeavesNoTemporaryFile)
{
    const std::string path = (m_dir / "pref.dat").string();
    ASSERT_TRUE(Plat::WriteFileAtomically(path, "old contents").ok);
    ASSERT_TRUE(Plat::WriteFileAtomically(path, std::string("new\0bytes", 9)).ok);
    EXPECT_EQ(ReadFile(path), std::string("new\0bytes", 9));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, FailedWriteKeepsOldFileAndSaysWhy)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    const std::string path = (m_dir / "pref.dat").string();
    ASSERT_TRUE(Plat::WriteFileAtomically(path, "precious").ok);
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    const Plat::WriteResult r = Plat::WriteFileAtomically(path, "replacement");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("pref.dat"), std::string::npos);
    EXPECT_EQ(ReadFile(path), "precious");
}

TEST_F(FilesTest, WriteIntoMissingFolderFailsWithoutCreatingAnything)
{
    const Plat::WriteResult r = Plat::WriteFileAtomically((m_dir / "no" / "such" / "f").string(), "x");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(fs::exists(m_dir / "no"));
}

TEST_F(FilesTest, MakeDirsCreatesParentsAndDataHomeFollowsOverride)
{
    EXPECT_TRUE(Plat::MakeDirs((m_dir / "a" / "b" / "c").string()));
    EXPECT_TRUE(fs::is_directory(m_dir / "a" / "b" / "c"));
    ::setenv("QUORVANE_HOME", m_dir.c_str(), 1);
    EXPECT_EQ(Plat::UserDataDir(), m_dir.string() + "/userdata");
    ::unsetenv("QUORVANE_HOME");
}

} // namespace
