#pragma once
// Narrow text in numbered code pages, converted to and from wide text.
//
// Wide text is std::wstring with one code point per wchar_t. Narrow text that
// reaches the screen is in the process "ANSI code page" (1252 unless the
// program sets another). Conversions never stop at a bad character: a byte
// sequence that the code page does not define becomes U+FFFD, a character the
// code page lacks becomes its default character.
#include <optional>
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == 4, "wide text holds one code point per wchar_t");

namespace platform {

constexpr unsigned CP_ACP = 0;    // the process ANSI code page
constexpr unsigned CP_UTF8 = 65001;

// The ANSI code page of the process (1252 until changed).
unsigned ansiCodePage();
// Changes it; false, with the setting unchanged, for a code page we cannot convert.
bool setAnsiCodePage(unsigned codePage);

// Whether text in this code page can be converted (0 stands for the ANSI code page).
bool isValidCodePage(unsigned codePage);

// Narrow to wide; nothing when the code page is not supported.
std::optional<std::wstring> multiByteToWide(unsigned codePage, std::string_view bytes);
// Wide to narrow; nothing when the code page is not supported.
std::optional<std::string> wideToMultiByte(unsigned codePage, std::wstring_view text);

// The byte that stands for a character the code page lacks.
char defaultChar(unsigned codePage);

} // namespace platform
