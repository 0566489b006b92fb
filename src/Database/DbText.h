#pragma once
// Text conversions the database layer needs until the program's own string
// conversions and translation layer exist: narrow text is in the process
// code page (1252), the data sources store UTF-8, wide text is one code
// point per wchar_t.
#include <string>

namespace dbtext {

// Narrow (code page 1252) to wide and back; a character the code page lacks becomes '?'.
std::wstring toWide(const std::string& narrow);
std::string toNarrow(const std::wstring& wide);

// Narrow text to the UTF-8 the data sources hold, and back.
std::string toUtf8(const std::string& narrow);
std::string fromUtf8(const std::string& utf8);

// Equal ignoring letter case, for every letter of the code page (not only A-Z).
bool equalNoCase(const std::string& a, const std::string& b);

// Stand-in for the translation layer: the English text as wide text.
std::wstring translate(const char* text);

} // namespace dbtext
