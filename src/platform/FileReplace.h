#pragma once
#include <cstddef>
#include <string>

namespace platform {

enum class ReplaceResult {
    replaced,
    cannotCreate,  // no new file could be made beside the old one
    writeFailed,   // writing, flushing or renaming failed (a full disk, for one)
};

// The one way every file of the user is saved: the bytes go to a new file
// beside the old one, are flushed to the disk, and the new file is renamed
// over the old one; then the folder is flushed, so that the rename lasts too.
// A crash or a failure leaves the old file whole (or no file, when there was
// none); the new file keeps the old one's permissions. When `path` is a
// symbolic link, the file it leads to is replaced and the link stays. On
// failure `error` gets the system's explanation.
ReplaceResult replaceFile(const std::string& path, const void* data, std::size_t size, std::string* error = nullptr);

// The file a path leads to: symbolic links followed, even to a file that does
// not exist yet; the path itself when it is no link. Empty (errno set) when
// a link cannot be read or the links go round.
std::string linkTarget(const std::string& path);

} // namespace platform
