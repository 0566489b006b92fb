#include "CPB/MemoryMap.h"

#include "Database/Algorithm.h"
#include "Utillib/GString.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cstring>

namespace MemoryMap {

namespace {

constexpr std::size_t icon32Size = 128;
constexpr std::size_t icon24Size = 72;

std::uint8_t byteAt(const ByteVector& bytes, std::size_t i) { return i < bytes.size() ? bytes[i] : 0; }

// A flag's byte and bit, and the setting it carries.
struct Flag {
    int byte;
    int bit;
    bool PropertyModel::*setting;
    bool readBack;
};

const Flag flags[] = {
    { 0, 7, &PropertyModel::showInitialVentilations, true },
    { 0, 6, &PropertyModel::showVentilationRate, true },
    { 0, 5, &PropertyModel::showAverageVolume, true },
    { 0, 4, &PropertyModel::showMinuteVolume, false },
    { 0, 3, &PropertyModel::showStomachInflations, true },
    { 0, 2, &PropertyModel::showCompressionRate, true },
    { 0, 1, &PropertyModel::showCompRelaxRatio, false },
    { 0, 0, &PropertyModel::showCompressionDepth, true },
    { 1, 7, &PropertyModel::showPause, false },
    { 1, 6, &PropertyModel::showCardiacOutput, false },
    { 1, 5, &PropertyModel::showWrongHandPositions, true },
    { 1, 4, &PropertyModel::showLeanings, false },
    { 1, 3, &PropertyModel::showVentCompRatio, false },
    { 1, 2, &PropertyModel::registerEvents, false },
    { 1, 1, &PropertyModel::debriefingAsCounts, false },
    { 1, 0, &PropertyModel::compRelaxAsPercent, false },
    { 2, 7, &PropertyModel::endSound, false },
    { 2, 6, &PropertyModel::printDebriefingText, false },
    { 2, 5, &PropertyModel::printApprovalFields, true },
};

} // namespace

ByteVector encodeIconNumbers(const std::vector<int>& icons)
{
    ByteVector out;
    for (int icon : icons)
        out.push_back(static_cast<std::uint8_t>(icon >= 0 && icon < EVENT_ICON_COUNT ? icon : 0xFF));
    return out;
}

std::vector<int> decodeIconNumbers(const ByteVector& bytes)
{
    std::vector<int> icons;
    for (std::uint8_t b : bytes)
        icons.push_back(b < EVENT_ICON_COUNT ? b : NO_ICON);
    return icons;
}

ByteVector encodeIcon32(const MonoBitmap& image)
{
    ByteVector out(icon32Size, 0);
    for (int y = 0; y < 32 && y < image.height; ++y)
        for (int x = 0; x < 32 && x < image.width; ++x)
            if (image.at(x, y))
                out[static_cast<std::size_t>(y + 32 * (x / 8))] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return out;
}

MonoBitmap decodeIcon32(const ByteVector& bytes)
{
    MonoBitmap image(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.set(x, y, byteAt(bytes, static_cast<std::size_t>(y + 32 * (x / 8))) & (0x80 >> (x % 8)));
    return image;
}

ByteVector encodeIcon24(const MonoBitmap& image)
{
    ByteVector out(icon24Size, 0);
    for (int y = 0; y < 24 && y < image.height; ++y)
        for (int x = 0; x < 24 && x < image.width; ++x)
            if (image.at(x, y))
                out[static_cast<std::size_t>(69 - 3 * y + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return out;
}

MonoBitmap decodeIcon24(const ByteVector& bytes)
{
    MonoBitmap image(24, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            image.set(x, y, byteAt(bytes, static_cast<std::size_t>(69 - 3 * y + x / 8)) & (0x80 >> (x % 8)));
    return image;
}

ByteVector encodeLanguageNumbers(const std::vector<std::string>& codes)
{
    ByteVector out;
    for (const std::string& code : codes) {
        int index = LangStruct::indexOf(code);
        out.push_back(index < 0 ? NO_LANGUAGE : static_cast<std::uint8_t>(index));
    }
    return out;
}

std::vector<std::string> decodeLanguageNumbers(const ByteVector& bytes)
{
    std::vector<std::string> codes;
    if (bytes.empty() || bytes[0] == NO_LANGUAGE)
        return codes;
    for (std::uint8_t b : bytes)
        codes.push_back(b < LangStruct::count ? LangStruct::codeAt(b) : std::string());
    return codes;
}

std::string cutText(const std::string& text, std::size_t maxBytes, unsigned codePage)
{
    if (text.size() <= maxBytes)
        return text;
    // Walk the characters so that a double-byte character is never halved; a
    // byte the code page does not define counts as one character.
    std::optional<std::wstring> wide = platform::multiByteToWide(codePage, text);
    std::size_t used = 0;
    if (wide) {
        for (wchar_t c : *wide) {
            std::optional<std::string> bytes = platform::wideToMultiByte(codePage, std::wstring_view(&c, 1));
            std::size_t n = bytes && text.compare(used, bytes->size(), *bytes) == 0 ? bytes->size() : 1;
            if (used + n > maxBytes)
                break;
            used += n;
        }
    } else {
        used = maxBytes;
    }
    return text.substr(0, used);
}

ByteVector blankPadded(const std::string& text, std::size_t size, unsigned codePage)
{
    std::string cut = cutText(text, size, codePage);
    ByteVector out(cut.begin(), cut.end());
    out.resize(size, ' ');
    return out;
}

ByteVector zeroTerminated(const std::string& text, std::size_t room, unsigned codePage)
{
    std::string cut = room > 0 ? cutText(text, room - 1, codePage) : std::string();
    // A 0 inside the text would end it early on the unit; it ends it here too.
    cut = cut.substr(0, std::strlen(cut.c_str()));
    ByteVector out(cut.begin(), cut.end());
    out.push_back(0);
    return out;
}

std::string decodeText(const ByteVector& bytes)
{
    auto end = std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0x00 || b == 0xFF; });
    return std::string(bytes.begin(), end);
}

ByteVector encodeCompanyName(const std::wstring& heading, unsigned codePage)
{
    return zeroTerminated(GString::to_string(heading, codePage), COMPANY_NAME_ROOM, codePage);
}

ByteVector floatBytes(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return { static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
             static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24) };
}

float floatAt(const ByteVector& bytes, std::size_t offset)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(byteAt(bytes, offset + i)) << (8 * i);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::vector<BlockWrite> encodeAlgorithm(const Algorithm& a, unsigned codePage)
{
    auto floats = [](std::initializer_list<double> values) {
        ByteVector out;
        for (double v : values) {
            ByteVector b = floatBytes(static_cast<float>(v));
            out.insert(out.end(), b.begin(), b.end());
        }
        return out;
    };
    return {
        { 0, floats({ static_cast<double>(a.initVent), a.vRateLow, a.vRateHigh, a.vVolLow, a.vVolHigh }) },
        { 40, floats({ a.eccRateLow, a.eccRateHigh }) },
        { 64, floats({ a.compDepthLow, a.compDepthHigh }) },
        { ALGORITHM_NAME_OFFSET, zeroTerminated(a.Name, ALGORITHM_BLOCK_SIZE - ALGORITHM_NAME_OFFSET, codePage) },
    };
}

DeviceAlgorithm decodeAlgorithm(const ByteVector& block)
{
    DeviceAlgorithm a;
    a.initVent = floatAt(block, 0);
    a.vRateLow = floatAt(block, 4);
    a.vRateHigh = floatAt(block, 8);
    a.vVolLow = floatAt(block, 12);
    a.vVolHigh = floatAt(block, 16);
    a.eccRateLow = floatAt(block, 40);
    a.eccRateHigh = floatAt(block, 44);
    a.compDepthLow = floatAt(block, 64);
    a.compDepthHigh = floatAt(block, 68);
    // The name ends inside its block even when its 0 byte is missing.
    std::size_t end = std::min<std::size_t>(block.size(), ALGORITHM_BLOCK_SIZE);
    if (end > static_cast<std::size_t>(ALGORITHM_NAME_OFFSET))
        a.name = decodeText(ByteVector(block.begin() + ALGORITHM_NAME_OFFSET, block.begin() + static_cast<std::ptrdiff_t>(end)));
    return a;
}

ByteVector encodeConfigFlags(const PropertyModel& model)
{
    ByteVector out(3, 0);
    for (const Flag& f : flags)
        if (model.*f.setting)
            out[static_cast<std::size_t>(f.byte)] |= static_cast<std::uint8_t>(1 << f.bit);
    return out;
}

void decodeConfigFlags(const ByteVector& bytes, PropertyModel& model)
{
    for (const Flag& f : flags)
        if (f.readBack)
            model.*f.setting = (byteAt(bytes, static_cast<std::size_t>(f.byte)) >> f.bit) & 1;
}

} // namespace MemoryMap
