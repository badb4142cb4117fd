// Per-user folders and crash-safe file writing: the only way the game writes a file it keeps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace Plat {

// "$QUORVANE_HOME" or "$XDG_DATA_HOME/velmora/quorvane" (default ~/.local/share/...), no trailing "/".
std::string DataHome();
// DataHome() + "/userdata": the player file, the window-mode file and the error log live here.
std::string UserDataDir();
// "$XDG_CONFIG_HOME/velmora/quorvane" (default ~/.config/...): the settings file.
std::string ConfigDir();
// "$XDG_CACHE_HOME/velmora/quorvane" (default ~/.cache/...): the sound cache.
std::string CacheDir();

// Creates `path` and its missing parents; true when it exists as a folder afterwards.
bool MakeDirs(const std::string& path);

struct WriteResult {
    bool ok = false;
    std::string error; // what failed, with the system's reason, when !ok
};

// Replaces `path` with `bytes` so that a crash or power loss at any moment leaves either the
// complete old file or the complete new one: a temporary file in the same folder is written,
// flushed and synced, renamed over `path`, and the folder is synced. On failure the old file is
// untouched and the temporary file is removed. Temporary files left by an earlier writer that
// was killed are removed first (they are never the only copy of anything).
WriteResult WriteFileAtomically(const std::string& path, const void* bytes, size_t size);

struct WriteOptions {
    // When not empty and `path` exists, the file being replaced is kept under this name (in
    // the same folder) before the new one takes its place, replacing the previous keep. At
    // every moment `path` is complete and the kept file is complete; a failure to keep it
    // fails the write and leaves both files as they were.
    std::string keepPreviousAs;
};
WriteResult WriteFileAtomically(const std::string& path, const void* bytes, size_t size,
                                const WriteOptions& options);
// As above, with the bytes written in the order `produce` hands them to `write`: a large file
// needs no copy of itself in memory. `produce` returns false when `write` did.
using PieceWriter = std::function<bool(const void* bytes, size_t size)>;
WriteResult WriteFileAtomically(const std::string& path, const std::function<bool(const PieceWriter& write)>& produce,
                                const WriteOptions& options);
inline WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

} // namespace Plat
