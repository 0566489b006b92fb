#include "platform/CodePage.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <map>
#include <utility>

namespace platform {

namespace {

unsigned processAnsiCodePage = 1252;

constexpr wchar_t replacementCharacter = 0xFFFD;

// Bytes that code page 1252 leaves undefined but that Windows passes
// through as the C1 control of the same value; iconv refuses them. Stored
// text and exchange files written on a Windows station may hold them.
bool isPassThroughByte(unsigned codePage, unsigned char byte)
{
    return codePage == 1252
        && (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D);
}

unsigned resolve(unsigned codePage)
{
    return codePage == CP_ACP ? processAnsiCodePage : codePage;
}

std::string iconvName(unsigned codePage)
{
    if (codePage == CP_UTF8)
        return "UTF-8";
    return "CP" + std::to_string(codePage);
}

// One converter per code page and direction, opened on first use and kept
// for the whole run (static destructors may still convert text); a code page
// iconv does not know is remembered as such.
iconv_t converter(unsigned codePage, bool toWide)
{
    static auto* open = new std::map<std::pair<unsigned, bool>, iconv_t>;
    auto key = std::make_pair(codePage, toWide);
    auto found = open->find(key);
    if (found == open->end()) {
        std::string name = iconvName(codePage);
        iconv_t cd = toWide ? iconv_open("WCHAR_T", name.c_str()) : iconv_open(name.c_str(), "WCHAR_T");
        found = open->emplace(key, cd).first;
    }
    if (found->second == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    iconv(found->second, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    return found->second;
}

} // namespace

unsigned ansiCodePage() { return processAnsiCodePage; }

bool setAnsiCodePage(unsigned codePage)
{
    if (codePage == CP_ACP || !isValidCodePage(codePage))
        return false;
    processAnsiCodePage = codePage;
    return true;
}

bool isValidCodePage(unsigned codePage)
{
    codePage = resolve(codePage);
    return converter(codePage, true) && converter(codePage, false);
}

std::optional<std::wstring> multiByteToWide(unsigned codePage, std::string_view bytes)
{
    codePage = resolve(codePage);
    iconv_t cd = converter(codePage, true);
    if (!cd)
        return std::nullopt;

    // No supported code page gives more than one character per byte; the
    // loop still grows the buffer if one ever does.
    std::wstring out(bytes.size() + 1, L'\0');
    std::size_t produced = 0;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(out.data() + produced);
        std::size_t outLeft = (out.size() - produced) * sizeof(wchar_t);
        std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        produced = out.size() - outLeft / sizeof(wchar_t);
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // An undefined or incomplete sequence: one character for its first
        // byte, then go on with the next byte.
        if (produced == out.size())
            out.resize(out.size() * 2);
        auto byte = static_cast<unsigned char>(*in);
        out[produced++] = isPassThroughByte(codePage, byte) ? static_cast<wchar_t>(byte) : replacementCharacter;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(produced);
    return out;
}

std::optional<std::string> wideToMultiByte(unsigned codePage, std::wstring_view text)
{
    codePage = resolve(codePage);
    iconv_t cd = converter(codePage, false);
    if (!cd)
        return std::nullopt;

    std::string out(3 * text.size() + 3, '\0');
    std::size_t produced = 0;
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
    std::size_t inLeft = text.size() * sizeof(wchar_t);
    while (inLeft > 0) {
        char* outPtr = out.data() + produced;
        std::size_t outLeft = out.size() - produced;
        std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        produced = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // A character the code page lacks (or no character at all).
        if (produced == out.size())
            out.resize(out.size() * 2);
        wchar_t character;
        std::memcpy(&character, in, sizeof character);
        auto unit = static_cast<std::uint32_t>(character);
        out[produced++] = unit <= 0xFF && isPassThroughByte(codePage, static_cast<unsigned char>(unit))
            ? static_cast<char>(unit)
            : defaultChar(codePage);
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(produced);
    return out;
}

// Every code page we convert shares ASCII, and "?" is the default character
// of each of them.
char defaultChar(unsigned) { return '?'; }

} // namespace platform
