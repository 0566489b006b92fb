#include "Utillib/Utf8.h"

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

constexpr std::uint32_t replacementCharacter = 0xFFFD;

} // namespace

int utf8Decode(std::uint32_t& codePoint, const char* bytes, std::size_t available)
{
    if (available == 0)
        return -2;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    unsigned char first = b[0];
    if (first < 0x80) {
        codePoint = first;
        return 1;
    }

    int length;
    std::uint32_t value;
    unsigned char overlongBelow = 0x80; // the smallest second byte that is not overlong
    if (first < 0xC2)
        return -1;
    if (first < 0xE0) {
        length = 2;
        value = first & 0x1F;
    } else if (first < 0xF0) {
        length = 3;
        value = first & 0x0F;
        if (first == 0xE0)
            overlongBelow = 0xA0;
    } else if (first < 0xF8) {
        length = 4;
        value = first & 0x07;
        if (first == 0xF0)
            overlongBelow = 0x90;
    } else if (first < 0xFC) {
        length = 5;
        value = first & 0x03;
        if (first == 0xF8)
            overlongBelow = 0x88;
    } else if (first < 0xFE) {
        length = 6;
        value = first & 0x01;
        if (first == 0xFC)
            overlongBelow = 0x84;
    } else {
        return -1;
    }

    if (available < static_cast<std::size_t>(length))
        return -2;
    if (b[1] < overlongBelow)
        return -1;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(b[i]))
            return -1;
        value = (value << 6) | (b[i] & 0x3F);
    }
    codePoint = value;
    return length;
}

int utf8Encode(char* out, std::uint32_t codePoint, std::size_t size)
{
    int length;
    unsigned char lead;
    if (codePoint < 0x80) {
        length = 1;
        lead = 0x00;
    } else if (codePoint < 0x800) {
        length = 2;
        lead = 0xC0;
    } else if (codePoint <= 0xFFFF) {
        length = 3;
        lead = 0xE0;
    } else if (codePoint <= 0x1FFFFF) {
        length = 4;
        lead = 0xF0;
    } else if (codePoint <= 0x3FFFFFF) {
        length = 5;
        lead = 0xF8;
    } else if (codePoint <= 0x7FFFFFFF) {
        length = 6;
        lead = 0xFC;
    } else {
        return -1;
    }
    if (size < static_cast<std::size_t>(length))
        return -2;
    for (int i = length - 1; i > 0; --i) {
        out[i] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    out[0] = static_cast<char>(lead | codePoint);
    return length;
}

std::string wideToUtf8(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto unit = static_cast<std::uint32_t>(text[i]);
        std::uint32_t codePoint = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            auto low = static_cast<std::uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codePoint = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
            codePoint = replacementCharacter;
        char bytes[4];
        int n = utf8Encode(bytes, codePoint, sizeof bytes);
        result.append(bytes, static_cast<std::size_t>(n));
    }
    return result;
}

std::wstring utf8ToWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::uint32_t codePoint = 0;
        int n = utf8Decode(codePoint, text.data() + at, text.size() - at);
        if (n <= 0)
            throw "UTF8 error: source too large";
        result += static_cast<wchar_t>(codePoint);
        at += static_cast<std::size_t>(n);
    }
    return result;
}
