#pragma once
// Text as the data sources hold it: narrow text of the program is in the
// process code page, the data sources store UTF-8.
#include <string>

namespace dbtext {

// Narrow text to the UTF-8 the data sources hold, and back. A malformed
// sequence read back becomes U+FFFD (then the code page's default character).
std::string toUtf8(const std::string& narrow);
std::string fromUtf8(const std::string& utf8);

// Equal ignoring letter case, for every letter of the code page (not only A-Z).
bool equalNoCase(const std::string& a, const std::string& b);

// Stored UTF-8 as wide text, without the station's code page: a malformed
// sequence becomes U+FFFD.
std::wstring wideFromUtf8(const std::string& utf8);
// Two stored texts equal ignoring letter case, compared as they are stored.
bool storedEqualNoCase(const std::string& utf8a, const std::string& utf8b);
// The stored text reads on this station as it is stored: its narrow form
// (fromUtf8) converts back to the same bytes. False when the code page
// lacks a character of it, which then reads as the default character.
bool survivesCodePage(const std::string& utf8);

// Whether `narrow` is what fromUtf8 made here, under the current code page,
// of a stored text that lost letters to it (the default character stands for
// them). Written back, such a text would store the reading ("??"), not the
// text: the writes of rows refuse it. A text a user types that happens to
// read the same is refused too, as the station cannot tell the two apart.
bool isLossyReading(const std::string& narrow);

} // namespace dbtext
