#pragma once
// The layouts of the CPR Controller's memory areas (see Pointer for where
// they are): what the program writes there and how it reads them back.
// Texts are cut to their areas, never written into the next one.
#include "CPB/CPBComm.h"

#include <array>
#include <string>
#include <vector>

class Algorithm;
class PropertyModel;

// A picture of dark and light dots.
class MonoBitmap {
public:
    MonoBitmap() = default;
    MonoBitmap(int width, int height)
        : width(width)
        , height(height)
        , dots(static_cast<std::size_t>(width * height), false)
    {
    }
    bool at(int x, int y) const { return dots[static_cast<std::size_t>(y * width + x)]; }
    void set(int x, int y, bool dark) { dots[static_cast<std::size_t>(y * width + x)] = dark; }
    bool operator==(const MonoBitmap&) const = default;

    int width = 0;
    int height = 0;
    std::vector<bool> dots;
};

namespace MemoryMap {

// Event icons are numbered 0 to 96; a stored number of 97 or more is no icon.
constexpr int EVENT_ICON_COUNT = 97;
constexpr int NO_ICON = -1;
constexpr std::uint8_t NO_LANGUAGE = 255;
constexpr int ALGORITHM_NAME_OFFSET = 0x80;
constexpr std::size_t ALGORITHM_BLOCK_SIZE = 256;
// Offsets of the seven bar tables in a bar data area.
constexpr std::array<int, 7> barTableOffsets { 0x000, 0x080, 0x100, 0x200, 0x280, 0x380, 0x400 };

ByteVector encodeIconNumbers(const std::vector<int>& icons);
// NO_ICON where the byte names no event icon.
std::vector<int> decodeIconNumbers(const ByteVector& bytes);

// 32 x 32: four bands of 8 columns, each 32 row bytes from the top.
ByteVector encodeIcon32(const MonoBitmap& image);
MonoBitmap decodeIcon32(const ByteVector& bytes);
// 24 x 24: three bytes per row, rows from the bottom up.
ByteVector encodeIcon24(const MonoBitmap& image);
MonoBitmap decodeIcon24(const ByteVector& bytes);

// The language table's index of each code; 255 for a code it lacks.
ByteVector encodeLanguageNumbers(const std::vector<std::string>& codes);
// The codes; empty when the unit has no languages set (first byte 255), an
// empty code for a byte the table does not know.
std::vector<std::string> decodeLanguageNumbers(const ByteVector& bytes);

// `text` (narrow, in `codePage`) cut to at most `maxBytes` without splitting
// a character.
std::string cutText(const std::string& text, std::size_t maxBytes, unsigned codePage = 0);
// Narrow text cut to `size` bytes and padded with blanks to it, no terminator
// (language texts: 10 bytes; algorithm names: 40 bytes).
ByteVector blankPadded(const std::string& text, std::size_t size, unsigned codePage = 0);
// Narrow text cut to `room` - 1 bytes, then a 0 byte.
ByteVector zeroTerminated(const std::string& text, std::size_t room, unsigned codePage = 0);
// Stored text up to the first 0x00 or 0xFF byte.
std::string decodeText(const ByteVector& bytes);

constexpr std::size_t LANGUAGE_TEXT_SIZE = 10;
constexpr std::size_t ALGORITHM_NAME_SIZE = 40;
// The company name's area up to the first algorithm block, its 0 byte included.
constexpr std::size_t COMPANY_NAME_ROOM = 256;

// The company name: the print heading in `codePage`, then a 0 byte.
ByteVector encodeCompanyName(const std::wstring& heading, unsigned codePage = 0);

// One piece of an algorithm block that the program writes, at `offset` from the block.
struct BlockWrite {
    int offset;
    ByteVector bytes;
    bool operator==(const BlockWrite&) const = default;
};
// The values as little-endian single-precision numbers at +0 (initial
// ventilations, ventilation rate and volume limits), +40 (compression rate
// limits) and +64 (compression depth limits), and the name with its 0 byte
// at +0x80 (cut to 127 bytes). Other bytes of the block are left alone.
std::vector<BlockWrite> encodeAlgorithm(const Algorithm& algorithm, unsigned codePage = 0);

// What a stored algorithm block holds.
struct DeviceAlgorithm {
    std::string name;
    float initVent = 0;
    float vRateLow = 0;
    float vRateHigh = 0;
    float vVolLow = 0;
    float vVolHigh = 0;
    float eccRateLow = 0;
    float eccRateHigh = 0;
    float compDepthLow = 0;
    float compDepthHigh = 0;
};
// From a 256-byte block (a shorter one reads as zeros beyond its end, a
// longer one is read to its 256th byte).
DeviceAlgorithm decodeAlgorithm(const ByteVector& block);

ByteVector floatBytes(float value);
float floatAt(const ByteVector& bytes, std::size_t offset);

// One bit per yes/no setting, 1 = on.
ByteVector encodeConfigFlags(const PropertyModel& model);
// Sets the settings a unit's flags are read back into; the others stay.
void decodeConfigFlags(const ByteVector& bytes, PropertyModel& model);

} // namespace MemoryMap
