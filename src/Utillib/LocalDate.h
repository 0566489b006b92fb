#pragma once
#include <string>

namespace Utillib {

// A YYYY-MM-DD date in the user's short date format; empty for anything else.
std::string toLocalDate(const std::string& date);

} // namespace Utillib
