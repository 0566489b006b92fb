#pragma once
// Where narrow text (bytes in a code page) and wide text meet.
//
// A code page is a Windows code page number; 0 is the process ANSI code page
// (platform/CodePage.h). Wide text holds one code point per wchar_t.
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

// One argument of GString::format, remembered with its kind so that the
// format can be checked against it.
class FormatArg {
public:
    enum class Kind { Integer, Unsigned, Floating, WideText, NarrowText, Pointer };

    template <class T>
        requires std::is_integral_v<T> && (!std::is_same_v<T, bool>)
    FormatArg(T value)
        : kind(std::is_signed_v<T> ? Kind::Integer : Kind::Unsigned)
    {
        if constexpr (std::is_signed_v<T>)
            integer = value;
        else
            unsignedValue = value;
    }
    FormatArg(bool value)
        : kind(Kind::Integer)
        , integer(value)
    {
    }
    FormatArg(double value)
        : kind(Kind::Floating)
        , floating(value)
    {
    }
    FormatArg(float value)
        : FormatArg(static_cast<double>(value))
    {
    }
    FormatArg(const wchar_t* text)
        : kind(Kind::WideText)
        , wide(text)
    {
    }
    FormatArg(const std::wstring& text)
        : FormatArg(text.c_str())
    {
    }
    FormatArg(const char* text)
        : kind(Kind::NarrowText)
        , narrow(text)
    {
    }
    FormatArg(const std::string& text)
        : FormatArg(text.c_str())
    {
    }
    FormatArg(const void* value)
        : kind(Kind::Pointer)
        , pointer(value)
    {
    }

    Kind kind;
    union {
        long long integer;
        unsigned long long unsignedValue;
        double floating;
        const wchar_t* wide;
        const char* narrow;
        const void* pointer;
    };
};

class GString {
public:
    GString() = delete;

    // Narrow text (up to its first NUL) in `codePage` as wide text; empty when
    // the code page cannot be converted.
    static std::wstring to_wstring(const std::string& text, unsigned codePage = 0);
    static std::wstring to_wstring(const char* text);
    // Wide text (up to its first NUL) in `codePage`; characters the code page
    // lacks become its default character. 65001 is encoded by wideToUtf8.
    static std::string to_string(const std::wstring& text, unsigned codePage = 0);
    // The narrow text in one of 16 slots used in turn: the pointer is good
    // through the next 15 calls, never null.
    static const char* to_c_str(const std::wstring& text, unsigned codePage = 0);
    // The default character of the ANSI code page.
    static char default_char();

    // printf-style formatting of a wide format with the conventions of the
    // program's catalogues: "%s" takes wide text ("%hs" and "%S" narrow text,
    // either kind is accepted for any of them), "%c" a character. Formats come
    // from catalogues, so each conversion is checked against its argument: a
    // conversion without a fitting argument, or "%n", is written as it stands
    // and logged. The result is cut at 65536 characters.
    template <class... Args>
    static std::wstring format(const std::wstring& format, const Args&... args)
    {
        const FormatArg list[] = { FormatArg(args)..., FormatArg(0) };
        return formatList(format, list, sizeof...(Args));
    }
    static std::wstring formatList(const std::wstring& format, const FormatArg* args, std::size_t count);

    // `value` through a narrow printf format for one number (at most 49
    // characters kept), as wide text in the ANSI code page.
    static std::wstring from_int(int value, const char* format = "%d");
    static std::wstring from_double(double value, const char* format);
    static std::wstring from_float(float value, const char* format);
    // Fixed point with 0 to 9 decimals; any other count gives 2.
    static std::wstring from_double(double value, int decimals);
    static std::wstring from_bool(bool value);

    static std::wstring to_lower(const std::wstring& text);
    static std::wstring to_upper(const std::wstring& text);
    static wchar_t to_lower(wchar_t c);
    static wchar_t to_upper(wchar_t c);
    // -1, 0 or 1, ignoring case; a prefix of the other text is the smaller.
    static int compare_no_case(const std::wstring& a, const std::wstring& b);
    static std::wstring letters_and_digits(const std::wstring& text);
    // The lines between CR LF pairs; a final CR LF adds no empty line.
    static std::vector<std::wstring> split_lines(const std::wstring& text);
    // Decimal; `ok` tells whether the whole text was a number within int.
    static int to_int(const std::wstring& text, bool* ok = nullptr);
    // "true" or "false" exactly; anything else is false with `ok` cleared.
    static bool to_bool(const std::wstring& text, bool* ok = nullptr);

    static bool is_space(wchar_t c);
    static bool is_punct(wchar_t c);
    static bool is_alpha(wchar_t c);
    static bool is_digit(wchar_t c); // "0" to "9" only
};
