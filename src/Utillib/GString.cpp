#include "Utillib/GString.h"

#include <locale.h>
#include <wctype.h>

#include "Utillib/LogStream.h"
#include "Utillib/Utf8.h"
#include "platform/CodePage.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

constexpr std::size_t formatLimit = 0x10000; // characters of a formatted text

// A printf conversion as written in a format: "%", flags, width, precision,
// length, conversion character.
struct Conversion {
    std::wstring flags;
    int width = -1;     // -1: none
    bool widthArgument = false;
    int precision = -1; // -1: none
    bool precisionArgument = false;
    std::wstring length;
    wchar_t type = 0;
};

// Reads a count of digits, kept below the length of any result.
int readCount(const std::wstring& format, std::size_t& at)
{
    long value = 0;
    while (at < format.size() && format[at] >= L'0' && format[at] <= L'9') {
        value = value * 10 + (format[at] - L'0');
        if (value > static_cast<long>(formatLimit))
            value = formatLimit;
        ++at;
    }
    return static_cast<int>(value);
}

// Parses the conversion that starts after the "%" at `at`; false when the
// format ends or holds no known conversion character there.
bool parseConversion(const std::wstring& format, std::size_t& at, Conversion& c)
{
    while (at < format.size() && std::wcschr(L"-+ #0", format[at]) && format[at] != 0)
        c.flags += format[at++];
    if (at < format.size() && format[at] == L'*') {
        c.widthArgument = true;
        ++at;
    } else if (at < format.size() && format[at] >= L'0' && format[at] <= L'9') {
        c.width = readCount(format, at);
    }
    if (at < format.size() && format[at] == L'.') {
        ++at;
        if (at < format.size() && format[at] == L'*') {
            c.precisionArgument = true;
            ++at;
        } else {
            c.precision = readCount(format, at);
        }
    }
    static const wchar_t* const lengths[] = { L"hh", L"h", L"ll", L"l", L"L", L"q", L"j", L"z", L"t", L"w",
        L"I64", L"I32", L"I" };
    for (const wchar_t* length : lengths) {
        std::size_t n = std::wcslen(length);
        if (format.compare(at, n, length) == 0) {
            c.length = length;
            at += n;
            break;
        }
    }
    if (at >= format.size() || !std::wcschr(L"diouxXcCsSpneEfFgGaA", format[at]) || format[at] == 0)
        return false;
    c.type = format[at++];
    return true;
}

// The argument as an integer of its own width, narrowed by "h" or "hh".
long long signedValue(const FormatArg& arg, const std::wstring& length)
{
    long long value = arg.kind == FormatArg::Kind::Integer ? arg.integer : static_cast<long long>(arg.unsignedValue);
    if (length == L"hh")
        return static_cast<signed char>(value);
    if (length == L"h")
        return static_cast<short>(value);
    return value;
}

unsigned long long unsignedValue(const FormatArg& arg, const std::wstring& length)
{
    unsigned long long value = arg.kind == FormatArg::Kind::Unsigned
        ? arg.unsignedValue
        : static_cast<unsigned long long>(arg.integer);
    if (length == L"hh")
        return static_cast<unsigned char>(value);
    if (length == L"h")
        return static_cast<unsigned short>(value);
    if (arg.kind == FormatArg::Kind::Integer && arg.integer >= INT_MIN && arg.integer <= INT_MAX)
        return static_cast<unsigned int>(arg.integer); // a negative int shows as 32 bits, as printf does
    return value;
}

// Formats one value with a complete wide printf conversion, growing the
// buffer as needed up to the length limit.
template <class... Values>
std::wstring formatOne(const std::wstring& spec, Values... values)
{
    std::size_t size = 128;
    while (true) {
        std::wstring buffer(size, L'\0');
        int n = std::swprintf(buffer.data(), size, spec.c_str(), values...);
        if (n >= 0) {
            buffer.resize(static_cast<std::size_t>(n));
            return buffer;
        }
        if (size > formatLimit) {
            buffer.resize(::wcsnlen(buffer.data(), size));
            return buffer;
        }
        size = size * 4 > formatLimit + 1 ? formatLimit + 1 : size * 4;
    }
}

bool isInteger(const FormatArg& arg)
{
    return arg.kind == FormatArg::Kind::Integer || arg.kind == FormatArg::Kind::Unsigned;
}

} // namespace

std::wstring GString::to_wstring(const std::string& text, unsigned codePage)
{
    std::size_t length = std::strlen(text.c_str());
    if (length == 0)
        return {};
    auto wide = platform::multiByteToWide(codePage, std::string_view(text.data(), length));
    return wide ? *wide : std::wstring();
}

std::wstring GString::to_wstring(const char* text)
{
    if (!text)
        return {};
    return to_wstring(std::string(text), 0);
}

std::string GString::to_string(const std::wstring& text, unsigned codePage)
{
    std::wstring_view upToNul(text.c_str(), std::wcslen(text.c_str()));
    if (upToNul.empty())
        return {};
    if (codePage == platform::CP_UTF8)
        return wideToUtf8(std::wstring(upToNul));
    auto narrow = platform::wideToMultiByte(codePage, upToNul);
    return narrow ? *narrow : std::string();
}

const char* GString::to_c_str(const std::wstring& text, unsigned codePage)
{
    // Kept for the whole run: static destructors may still convert text.
    static auto* ring = new std::array<std::string, 16>;
    static std::size_t index = 0;
    index = (index + 1) % ring->size();
    (*ring)[index] = to_string(text, codePage);
    return (*ring)[index].c_str();
}

char GString::default_char() { return platform::defaultChar(platform::CP_ACP); }

std::wstring GString::formatList(const std::wstring& format, const FormatArg* args, std::size_t count)
{
    std::wstring result;
    std::size_t next = 0; // the next unused argument
    std::size_t at = 0;
    auto take = [&](const FormatArg*& arg) {
        arg = next < count ? &args[next] : nullptr;
        if (arg)
            ++next;
        return arg != nullptr;
    };

    while (at < format.size() && result.size() < formatLimit) {
        wchar_t c = format[at];
        if (c == L'\0')
            break;
        if (c != L'%') {
            result += c;
            ++at;
            continue;
        }
        std::size_t start = at++;
        if (at < format.size() && format[at] == L'%') {
            result += L'%';
            ++at;
            continue;
        }

        Conversion conversion;
        bool fits = parseConversion(format, at, conversion);
        int width = conversion.width < 0 ? 0 : conversion.width; // 0: no padding
        int precision = conversion.precision; // negative: none
        const FormatArg* arg = nullptr;
        if (fits && conversion.widthArgument) {
            fits = take(arg) && isInteger(*arg);
            if (fits) {
                long long w = signedValue(*arg, L"");
                width = static_cast<int>(w < -static_cast<long long>(formatLimit) ? -static_cast<long long>(formatLimit)
                        : w > static_cast<long long>(formatLimit)                ? formatLimit
                                                                                 : w);
            }
        }
        if (fits && conversion.precisionArgument) {
            fits = take(arg) && isInteger(*arg);
            if (fits) {
                long long p = signedValue(*arg, L"");
                precision = static_cast<int>(p < 0 ? -1 : p > static_cast<long long>(formatLimit) ? formatLimit : p);
            }
        }
        if (fits && conversion.type != L'n')
            fits = take(arg);
        else
            fits = false;

        std::wstring spec = L"%" + conversion.flags + L"*.*";
        std::wstring text;
        if (fits) {
            switch (conversion.type) {
            case L'd':
            case L'i':
                fits = isInteger(*arg);
                if (fits)
                    text = formatOne(spec + L"lld", width, precision, signedValue(*arg, conversion.length));
                break;
            case L'o':
            case L'u':
            case L'x':
            case L'X':
                fits = isInteger(*arg);
                if (fits)
                    text = formatOne(spec + L"ll" + conversion.type, width, precision,
                        unsignedValue(*arg, conversion.length));
                break;
            case L'c':
            case L'C': {
                fits = isInteger(*arg);
                if (!fits)
                    break;
                wchar_t character = static_cast<wchar_t>(signedValue(*arg, L""));
                if (conversion.type == L'C' || conversion.length == L"h") {
                    char byte[2] = { static_cast<char>(character), 0 };
                    std::wstring wide = GString::to_wstring(std::string(byte, 1), 0);
                    character = wide.empty() ? L'\0' : wide[0];
                }
                text = formatOne(L"%" + conversion.flags + L"*lc", width, static_cast<wint_t>(character));
                break;
            }
            case L's':
            case L'S': {
                std::wstring value;
                if (arg->kind == FormatArg::Kind::WideText)
                    value = arg->wide ? arg->wide : L"(null)";
                else if (arg->kind == FormatArg::Kind::NarrowText)
                    value = arg->narrow ? GString::to_wstring(std::string(arg->narrow), 0) : L"(null)";
                else
                    fits = false;
                if (fits)
                    text = formatOne(spec + L"ls", width, precision, value.c_str());
                break;
            }
            case L'p':
                fits = arg->kind == FormatArg::Kind::Pointer;
                if (fits)
                    text = formatOne(L"%" + conversion.flags + L"*p", width, arg->pointer);
                break;
            default: // floating point
                fits = arg->kind == FormatArg::Kind::Floating;
                if (fits)
                    text = formatOne(spec + conversion.type, width, precision, arg->floating);
                break;
            }
        }

        if (!fits) {
            // The conversion stays as written, so the fault shows, and is logged.
            text = format.substr(start, at - start);
            LogStream::instance() << "GString::format : no fitting argument for \"" << text << "\" in \"" << format
                                  << "\"" << LogStream::endl;
        }
        result += text;
    }
    if (result.size() > formatLimit)
        result.resize(formatLimit);
    return result;
}

std::wstring GString::from_int(int value, const char* format)
{
    char text[50] = {};
    std::snprintf(text, sizeof text, format, value);
    return to_wstring(std::string(text), 0);
}

std::wstring GString::from_double(double value, const char* format)
{
    char text[50] = {};
    std::snprintf(text, sizeof text, format, value);
    return to_wstring(std::string(text), 0);
}

std::wstring GString::from_float(float value, const char* format)
{
    return from_double(static_cast<double>(value), format);
}

std::wstring GString::from_double(double value, int decimals)
{
    if (decimals < 0 || decimals > 9)
        decimals = 2;
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    return from_double(value, format);
}

std::wstring GString::from_bool(bool value) { return value ? L"true" : L"false"; }

namespace {
// Case mapping must not depend on the process locale (the "C" locale maps
// only A to Z): use a Unicode locale of its own.
locale_t caseLocale()
{
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}
} // namespace

wchar_t GString::to_lower(wchar_t c)
{
    locale_t locale = caseLocale();
    return static_cast<wchar_t>(locale ? towlower_l(static_cast<wint_t>(c), locale) : std::towlower(static_cast<wint_t>(c)));
}

wchar_t GString::to_upper(wchar_t c)
{
    locale_t locale = caseLocale();
    return static_cast<wchar_t>(locale ? towupper_l(static_cast<wint_t>(c), locale) : std::towupper(static_cast<wint_t>(c)));
}

std::wstring GString::to_lower(const std::wstring& text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = to_lower(c);
    return result;
}

std::wstring GString::to_upper(const std::wstring& text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = to_upper(c);
    return result;
}

int GString::compare_no_case(const std::wstring& a, const std::wstring& b)
{
    int order = to_lower(a).compare(to_lower(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::wstring GString::letters_and_digits(const std::wstring& text)
{
    std::wstring result;
    for (wchar_t c : text)
        if (is_alpha(c) || is_digit(c))
            result += c;
    return result;
}

std::vector<std::wstring> GString::split_lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

int GString::to_int(const std::wstring& text, bool* ok)
{
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    long value = std::wcstol(begin, &end, 10);
    bool inRange = errno != ERANGE && value >= INT_MIN && value <= INT_MAX;
    if (ok)
        *ok = end != begin && *end == L'\0' && static_cast<std::size_t>(end - begin) == text.size() && inRange;
    if (!inRange)
        return value < 0 ? INT_MIN : INT_MAX;
    return static_cast<int>(value);
}

bool GString::to_bool(const std::wstring& text, bool* ok)
{
    bool known = text == L"true" || text == L"false";
    if (ok)
        *ok = known;
    return text == L"true";
}

bool GString::is_space(wchar_t c)
{
    locale_t locale = caseLocale();
    return (locale ? iswspace_l(static_cast<wint_t>(c), locale) : std::iswspace(static_cast<wint_t>(c))) != 0;
}
bool GString::is_punct(wchar_t c)
{
    locale_t locale = caseLocale();
    return (locale ? iswpunct_l(static_cast<wint_t>(c), locale) : std::iswpunct(static_cast<wint_t>(c))) != 0;
}
bool GString::is_alpha(wchar_t c)
{
    locale_t locale = caseLocale();
    return (locale ? iswalpha_l(static_cast<wint_t>(c), locale) : std::iswalpha(static_cast<wint_t>(c))) != 0;
}
bool GString::is_digit(wchar_t c) { return c >= L'0' && c <= L'9'; }
