#include "Database/DbText.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <unordered_map>
#include <wctype.h>

namespace dbtext {

namespace {

// The code page as a table, built once with iconv. Bytes the code page leaves
// undefined map to the code point of the same number, so every byte survives
// a round trip.
struct CodePage {
    std::array<wchar_t, 256> toWide{};
    std::unordered_map<wchar_t, char> toByte;

    CodePage()
    {
        iconv_t cd = iconv_open("WCHAR_T", "CP1252");
        for (int b = 0; b < 256; ++b) {
            wchar_t wide = static_cast<wchar_t>(b);
            if (cd != reinterpret_cast<iconv_t>(-1)) {
                char in = static_cast<char>(b);
                char* inPtr = &in;
                std::size_t inLeft = 1;
                wchar_t out = 0;
                char* outPtr = reinterpret_cast<char*>(&out);
                std::size_t outLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && outLeft == 0)
                    wide = out;
            }
            toWide[b] = wide;
            toByte.emplace(wide, static_cast<char>(b));
        }
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
};

const CodePage& codePage()
{
    static const CodePage table;
    return table;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes UTF-8; a malformed sequence yields U+FFFD for its first byte.
std::wstring decodeUtf8(const std::string& in)
{
    std::wstring out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        unsigned char lead = static_cast<unsigned char>(in[i]);
        std::size_t extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 4;
        char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
        bool good = extra < 4 && i + extra < in.size();
        for (std::size_t k = 1; good && k <= extra; ++k) {
            unsigned char trail = static_cast<unsigned char>(in[i + k]);
            good = (trail & 0xC0) == 0x80;
            c = (c << 6) | (trail & 0x3F);
        }
        if (!good) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return out;
}

locale_t foldingLocale()
{
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

wchar_t fold(wchar_t c)
{
    locale_t loc = foldingLocale();
    return loc ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), loc)) : static_cast<wchar_t>(towlower(static_cast<wint_t>(c)));
}

} // namespace

std::wstring toWide(const std::string& narrow)
{
    const CodePage& cp = codePage();
    std::wstring out;
    out.reserve(narrow.size());
    for (char c : narrow)
        out += cp.toWide[static_cast<unsigned char>(c)];
    return out;
}

std::string toNarrow(const std::wstring& wide)
{
    const CodePage& cp = codePage();
    std::string out;
    out.reserve(wide.size());
    for (wchar_t c : wide) {
        auto it = cp.toByte.find(c);
        out += it == cp.toByte.end() ? '?' : it->second;
    }
    return out;
}

std::string toUtf8(const std::string& narrow)
{
    std::string out;
    out.reserve(narrow.size());
    for (wchar_t c : toWide(narrow))
        appendUtf8(out, static_cast<char32_t>(c));
    return out;
}

std::string fromUtf8(const std::string& utf8) { return toNarrow(decodeUtf8(utf8)); }

bool equalNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    const CodePage& cp = codePage();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (fold(cp.toWide[static_cast<unsigned char>(a[i])]) != fold(cp.toWide[static_cast<unsigned char>(b[i])]))
            return false;
    }
    return true;
}

std::wstring translate(const char* text) { return text ? toWide(text) : std::wstring(); }

} // namespace dbtext
