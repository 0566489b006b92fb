#pragma once
#include <cstddef>
#include <string>

namespace platform {

enum class ReplaceResult {
    replaced,
    cannotCreate,  // no new file could be made beside the old one
    writeFailed,   // writing, flushing or renaming failed (a full disk, for one)
};

// Writes the bytes to a new file in the folder of `path`, flushes it to the
// disk and renames it over `path`. A crash or a failure leaves the old file
// whole (or no file, when there was none); the new file keeps the old one's
// permissions. On failure `error` gets the system's explanation.
ReplaceResult replaceFile(const std::string& path, const void* data, std::size_t size, std::string* error = nullptr);

} // namespace platform
