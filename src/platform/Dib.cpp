#include "platform/Dib.h"

namespace platform {

namespace {

std::uint32_t readU32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t readU16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

} // namespace

std::optional<DibPixels> decodeDib(const unsigned char* data, std::size_t size)
{
    if (!data || size < 40)
        return std::nullopt;
    std::uint32_t headerSize = readU32(data);
    auto width = static_cast<std::int32_t>(readU32(data + 4));
    auto height = static_cast<std::int32_t>(readU32(data + 8));
    std::uint16_t bits = readU16(data + 14);
    std::uint32_t compression = readU32(data + 16);
    std::uint32_t coloursUsed = readU32(data + 32);
    constexpr std::int32_t largest = 1 << 15;
    if (headerSize < 40 || headerSize > size || compression != 0 || width <= 0 || height == 0 || width > largest
        || height > largest || height < -largest)
        return std::nullopt;

    std::uint64_t colours = 0;
    switch (bits) {
    case 1:
    case 4:
    case 8:
        colours = coloursUsed ? coloursUsed : (1u << bits);
        if (colours > (1u << bits))
            return std::nullopt;
        break;
    case 16:
    case 24:
    case 32:
        if (coloursUsed)
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    bool topDown = height < 0;
    int rows = topDown ? -height : height;
    std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    std::uint64_t tableStart = headerSize;
    std::uint64_t pixelStart = tableStart + colours * 4;
    if (pixelStart + stride * rows > size)
        return std::nullopt;

    DibPixels result;
    result.width = width;
    result.height = rows;
    result.rgb.resize(std::size_t(width) * rows);
    auto tableColour = [&](std::uint32_t index) -> std::uint32_t {
        if (index >= colours)
            return 0;
        const unsigned char* entry = data + tableStart + index * 4; // blue, green, red, reserved
        return (std::uint32_t(entry[2]) << 16) | (entry[1] << 8) | entry[0];
    };
    for (int row = 0; row < rows; ++row) {
        const unsigned char* line = data + pixelStart + stride * (topDown ? row : rows - 1 - row);
        std::uint32_t* out = result.rgb.data() + std::size_t(row) * width;
        for (int x = 0; x < width; ++x) {
            switch (bits) {
            case 1:
                out[x] = tableColour((line[x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                out[x] = tableColour((line[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
                break;
            case 8:
                out[x] = tableColour(line[x]);
                break;
            case 16: {
                std::uint16_t v = readU16(line + x * 2); // 5 bits each of red, green, blue
                auto spread = [](unsigned five) { return (five << 3) | (five >> 2); };
                out[x] = (spread((v >> 10) & 31) << 16) | (spread((v >> 5) & 31) << 8) | spread(v & 31);
                break;
            }
            case 24:
                out[x] = (std::uint32_t(line[x * 3 + 2]) << 16) | (line[x * 3 + 1] << 8) | line[x * 3];
                break;
            default:
                out[x] = (std::uint32_t(line[x * 4 + 2]) << 16) | (line[x * 4 + 1] << 8) | line[x * 4];
                break;
            }
        }
    }
    return result;
}

} // namespace platform
