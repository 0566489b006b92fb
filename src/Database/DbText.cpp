#include "Database/DbText.h"

#include "Utillib/GString.h"
#include "Utillib/Utf8.h"

namespace dbtext {

std::string toUtf8(const std::string& narrow) { return wideToUtf8(GString::to_wstring(narrow)); }

std::wstring wideFromUtf8(const std::string& utf8)
{
    std::wstring wide;
    wide.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::uint32_t c = 0;
        int n = utf8Decode(c, utf8.data() + i, utf8.size() - i);
        if (n <= 0) {
            wide += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        wide += static_cast<wchar_t>(c);
        i += static_cast<std::size_t>(n);
    }
    return wide;
}

std::string fromUtf8(const std::string& utf8) { return GString::to_string(wideFromUtf8(utf8)); }

bool storedEqualNoCase(const std::string& utf8a, const std::string& utf8b)
{
    return GString::compare_no_case(wideFromUtf8(utf8a), wideFromUtf8(utf8b)) == 0;
}

bool survivesCodePage(const std::string& utf8) { return toUtf8(fromUtf8(utf8)) == utf8; }

bool equalNoCase(const std::string& a, const std::string& b)
{
    return GString::compare_no_case(GString::to_wstring(a), GString::to_wstring(b)) == 0;
}

} // namespace dbtext
