#pragma once
#include <string>

namespace Utillib {

// A YYYY-MM-DD date in the user's short date format, or as YYYY-MM-DD when
// that format would name the month or the day; empty for anything else.
std::string toLocalDate(const std::string& date);

// The build's date and time as the compiler writes them ("Dec  1 2026" and
// "16:07:03"), in the long form of the language `languageCode` names (its
// month and day names, no time zone). English, an unknown language and a text
// that is no date give the compiler's own: date, ", ", time.
std::wstring localBuildDate(const std::string& compilerDate, const std::string& compilerTime,
                            const std::string& languageCode);

} // namespace Utillib
