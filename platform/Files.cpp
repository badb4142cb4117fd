// Per-user folders and crash-safe writes over POSIX calls.
#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Plat {
namespace {

std::string EnvOr(const char* name, const std::string& fallbackBelowHome)
{
    const char* value = std::getenv(name);
    if (value && *value)
        return value;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/" + fallbackBelowHome;
}

std::string Reason(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const char* p, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

std::string DataHome()
{
    const char* home = std::getenv("QUORVANE_HOME");
    if (home && *home)
        return home;
    return EnvOr("XDG_DATA_HOME", ".local/share") + "/velmora/quorvane";
}

std::string UserDataDir() { return DataHome() + "/userdata"; }
std::string ConfigDir() { return EnvOr("XDG_CONFIG_HOME", ".config") + "/velmora/quorvane"; }
std::string CacheDir() { return EnvOr("XDG_CACHE_HOME", ".cache") + "/velmora/quorvane"; }

bool MakeDirs(const std::string& path)
{
    if (path.empty())
        return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

WriteResult WriteFileAtomically(const std::string& path, const void* bytes, size_t size)
{
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string temp = path + ".tmp-XXXXXX";

    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return {false, Reason("cannot create a temporary file for", path)};

    WriteResult result{true, {}};
    if (!WriteAll(fd, static_cast<const char*>(bytes), size))
        result = {false, Reason("cannot write", temp)};
    else if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0)
        result = {false, Reason("cannot flush", temp)};
    if (::close(fd) != 0 && result.ok)
        result = {false, Reason("cannot close", temp)};
    if (result.ok && ::rename(temp.c_str(), path.c_str()) != 0)
        result = {false, Reason("cannot replace", path)};
    if (!result.ok) {
        ::unlink(temp.c_str());
        return result;
    }

    // Without syncing the folder the rename itself may be lost on power failure.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return result;
}

} // namespace Plat
