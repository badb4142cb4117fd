// Keeps a second copy of the program from running: an advisory lock on a file that the running
// copy holds until it ends (the system drops it even after a crash). The file holds the holder's
// process id so a second copy can ask it to come to the front.
#pragma once

#include <string>

namespace Plat {

// "$XDG_RUNTIME_DIR/<name>.lock", or the data folder when there is no runtime folder.
std::string InstanceLockPath(const std::string& name);

class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock() { Release(); }

    enum class Result {
        Acquired,
        HeldByOther, // another copy runs
        Failed,      // the lock file cannot be used; the caller goes on without the guard
    };
    Result Acquire(const std::string& path);
    void Release();
    bool Held() const { return m_fd >= 0; }

    // Asks the copy holding `path` to come to the front (it sees NotifyPending()). False when
    // no holder could be reached.
    static bool NotifyHolder(const std::string& path);
    // In the holder: true once after each notification; safe to poll from the main loop.
    static bool TakeNotification();

private:
    int m_fd = -1;
};

} // namespace Plat
