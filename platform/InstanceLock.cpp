// The single-instance lock over flock, and the "come to the front" notice over SIGUSR1.
#include "platform/InstanceLock.h"

#include "platform/Files.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace Plat {
namespace {

std::atomic<bool> g_notified{false};

void OnNotifySignal(int) { g_notified.store(true); }

void InstallNotifyHandler()
{
    struct sigaction sa {};
    sa.sa_handler = OnNotifySignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGUSR1, &sa, nullptr);
}

} // namespace

std::string InstanceLockPath(const std::string& name)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = runtime && *runtime ? std::string(runtime) : DataHome();
    return dir + "/" + name + ".lock";
}

InstanceLock::Result InstanceLock::Acquire(const std::string& path)
{
    Release();
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        MakeDirs(path.substr(0, slash));
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::HeldByOther : Result::Failed;
    }
    // The handler goes in before the id is published, so a notice can never kill us.
    InstallNotifyHandler();
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, pid.data(), pid.size(), 0);
    m_fd = fd;
    return Result::Acquired;
}

void InstanceLock::Release()
{
    if (m_fd < 0)
        return;
    (void)!::ftruncate(m_fd, 0);
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

bool InstanceLock::NotifyHolder(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Only a file that is still locked names a live holder; a stale id must not be signalled.
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    char buf[32] = {};
    const ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
    ::close(fd);
    if (!locked || n <= 0)
        return false;
    const long pid = std::strtol(buf, nullptr, 10);
    if (pid <= 1)
        return false;
    if (pid == ::getpid()) {
        g_notified.store(true);
        return true;
    }
    return ::kill(pid_t(pid), SIGUSR1) == 0;
}

bool InstanceLock::TakeNotification() { return g_notified.exchange(false); }

} // namespace Plat
