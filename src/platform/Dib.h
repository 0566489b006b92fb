#pragma once
// Device-independent bitmaps as bitmap resources hold them: an information
// header (at least 40 bytes), the colour table, then rows of pixels padded to
// 4 bytes, bottom row first unless the height is negative.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

inline constexpr char RT_BITMAP[] = "BITMAP";

struct DibPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb; // 0x00RRGGBB, top row first
};

// The pixels of an uncompressed bitmap of 1, 4, 8, 16, 24 or 32 bits per
// pixel. The colour table has biClrUsed entries when that is set and the
// bitmap has fewer than 16 bits per pixel, else 2, 16 or 256 entries, and
// none from 16 bits on. Empty for anything else, and for bytes that end early.
std::optional<DibPixels> decodeDib(const unsigned char* data, std::size_t size);

} // namespace platform
