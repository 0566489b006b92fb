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

} // namespace dbtext
