// Per-user folders and crash-safe writes over POSIX calls.
#include "platform/Files.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
        if (n == 0) { // a full disk may say so by writing nothing; never spin on it
            errno = ENOSPC;
            return false;
        }
        p += n;
        size -= size_t(n);
    }
    return true;
}

bool SyncFd(int fd)
{
    while (::fsync(fd) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr const char* kTempInfix = ".tmp-";

// A writer killed between creating its temporary file and renaming it leaves the file behind;
// each such file is as large as the file it was to replace, so they must not pile up.
void RemoveStaleTemporaries(const std::string& dir, const std::vector<std::string>& targets)
{
    DIR* folder = ::opendir(dir.c_str());
    if (!folder)
        return;
    std::vector<std::string> prefixes;
    for (const std::string& target : targets)
        if (!target.empty())
            prefixes.push_back(BaseName(target) + kTempInfix);
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        for (const std::string& prefix : prefixes)
            if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0)
                stale.push_back(dir + "/" + name);
    }
    ::closedir(folder);
    for (const std::string& path : stale) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(path.c_str());
    }
}

// A name beside `path` that no file has yet, for a hard link.
std::string UniqueTempName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + kTempInfix + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Copies `from` into the new file `to` and syncs it; for folders that do not allow hard links.
bool CopyAndSync(const std::string& from, const std::string& to, std::string& error)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = Reason("cannot read", from);
        return false;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        error = Reason("cannot create", to);
        ::close(in);
        return false;
    }
    bool ok = true;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = Reason("cannot read", from);
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (!WriteAll(out, buffer.data(), size_t(n))) {
            error = Reason("cannot write", to);
            ok = false;
            break;
        }
    }
    if (ok && !SyncFd(out)) {
        error = Reason("cannot flush", to);
        ok = false;
    }
    if (::close(out) != 0 && ok) {
        error = Reason("cannot close", to);
        ok = false;
    }
    ::close(in);
    if (!ok)
        ::unlink(to.c_str());
    return ok;
}

// Puts the current `path` under the name `keepAs` without a moment where either name is
// missing or incomplete: a hard link (or a synced copy) under a temporary name is renamed
// over `keepAs`. True when there was nothing to keep.
bool KeepPrevious(const std::string& path, const std::string& keepAs, std::string& error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        error = Reason("cannot look at", path);
        return false;
    }
    // A writer killed between keeping and replacing leaves both names on one file; renaming a
    // link over its own file does nothing and would leave the temporary name behind.
    struct stat kept {};
    if (::stat(keepAs.c_str(), &kept) == 0 && kept.st_dev == st.st_dev && kept.st_ino == st.st_ino)
        return true;
    const std::string temp = UniqueTempName(keepAs);
    if (::link(path.c_str(), temp.c_str()) != 0) {
        if (errno == ENOSPC || errno == EIO || errno == EDQUOT || errno == EROFS || errno == ENOENT) {
            error = Reason("cannot keep a copy of", path);
            return false;
        }
        // Folders on file systems without hard links get a copy instead.
        if (!CopyAndSync(path, temp, error))
            return false;
    }
    if (::rename(temp.c_str(), keepAs.c_str()) != 0) {
        error = Reason("cannot keep the previous file as", keepAs);
        ::unlink(temp.c_str());
        return false;
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
    return WriteFileAtomically(path, bytes, size, WriteOptions{});
}

WriteResult WriteFileAtomically(const std::string& path, const void* bytes, size_t size,
                                const WriteOptions& options)
{
    return WriteFileAtomically(
        path, [&](const PieceWriter& write) { return write(bytes, size); }, options);
}

WriteResult WriteFileAtomically(const std::string& path, const std::function<bool(const PieceWriter& write)>& produce,
                                const WriteOptions& options)
{
    const std::string dir = FolderOf(path);
    if (!options.keepPreviousAs.empty() && FolderOf(options.keepPreviousAs) != dir)
        return {false, "the previous " + path + " can only be kept in its own folder"};
    RemoveStaleTemporaries(dir, {path, options.keepPreviousAs});
    std::string temp = path + kTempInfix + "XXXXXX";

    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return {false, Reason("cannot create a temporary file for", path)};

    WriteResult result{true, {}};
    const PieceWriter write = [fd](const void* bytes, size_t size) {
        return WriteAll(fd, static_cast<const char*>(bytes), size);
    };
    if (!produce(write))
        result = {false, Reason("cannot write", temp)};
    else if (::fchmod(fd, 0644) != 0 || !SyncFd(fd))
        result = {false, Reason("cannot flush", temp)};
    if (::close(fd) != 0 && result.ok)
        result = {false, Reason("cannot close", temp)};
    // Only once the new bytes are safely on disk is the old file kept, so a failure here
    // leaves everything as it was.
    if (result.ok && !options.keepPreviousAs.empty()) {
        std::string error;
        if (!KeepPrevious(path, options.keepPreviousAs, error))
            result = {false, error};
    }
    if (result.ok && ::rename(temp.c_str(), path.c_str()) != 0)
        result = {false, Reason("cannot replace", path)};
    if (!result.ok) {
        ::unlink(temp.c_str());
        return result;
    }

    // Without syncing the folder the rename itself may be lost on power failure. A failing
    // sync is still not a failed write: the new file is in place and readable, the rename
    // cannot be undone, and reporting failure would make callers believe the old content is
    // still there.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        SyncFd(dirFd);
        ::close(dirFd);
    }
    return result;
}

} // namespace Plat
