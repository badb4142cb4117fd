#include "platform/InstanceLock.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qv-lock-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        m_path = (m_dir / "quorvane.lock").string();
        Plat::InstanceLock::TakeNotification();
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
    std::string m_path;
};

TEST_F(InstanceLockTest, SecondCopyIsRefusedUntilTheFirstEnds)
{
    Plat::InstanceLock first, second;
    ASSERT_EQ(first.Acquire(m_path), Plat::InstanceLock::Result::Acquired); // creates the folder too
    EXPECT_EQ(second.Acquire(m_path), Plat::InstanceLock::Result::HeldByOther);
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_EQ(second.Acquire(m_path), Plat::InstanceLock::Result::Acquired);
}

TEST_F(InstanceLockTest, NotifyReachesOnlyALiveHolder)
{
    {
        Plat::InstanceLock holder;
        ASSERT_EQ(holder.Acquire(m_path), Plat::InstanceLock::Result::Acquired);
        EXPECT_TRUE(Plat::InstanceLock::NotifyHolder(m_path));
        EXPECT_TRUE(Plat::InstanceLock::TakeNotification());
        EXPECT_FALSE(Plat::InstanceLock::TakeNotification()); // once per notice
    }
    // A stale file naming some process must not get that process signalled.
    std::ofstream(m_path) << "1\n";
    EXPECT_FALSE(Plat::InstanceLock::NotifyHolder(m_path));
    EXPECT_FALSE(Plat::InstanceLock::NotifyHolder((m_dir / "absent.lock").string()));
}

TEST_F(InstanceLockTest, UnusableLockFileIsReportedAsFailure)
{
    fs::create_directories(m_dir / "quorvane.lock"); // a folder where the file should be
    Plat::InstanceLock lock;
    EXPECT_EQ(lock.Acquire(m_path), Plat::InstanceLock::Result::Failed);
}

} // namespace
