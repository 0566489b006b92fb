#pragma once
#include <string>

namespace Utillib {

// A YYYY-MM-DD date in the user's short date format, or as YYYY-MM-DD when
// that format would name the month or the day; empty for anything else.
std::string toLocalDate(const std::string& date);

} // namespace Utillib
