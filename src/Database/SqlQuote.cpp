#include "Database/SqlQuote.h"

namespace DBUtil {

std::string quote(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

} // namespace DBUtil
