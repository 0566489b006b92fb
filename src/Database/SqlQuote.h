#pragma once
// Quoting for SQL text, apart from the connection, so that the records can
// make their conditions without the ODBC layer.
#include <string>

namespace DBUtil {

// The text with every single quote doubled, for use inside '...'.
std::string quote(const std::string& text);

} // namespace DBUtil
