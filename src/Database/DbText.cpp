#include "Database/DbText.h"

#include "Utillib/GString.h"
#include "Utillib/Utf8.h"
#include "platform/CodePage.h"

#include <functional>
#include <mutex>
#include <set>
#include <utility>

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

namespace {

// Every reading that lost letters, with the code page it was made in. Kept
// as hashes: a long text read in a list costs no copy of it.
struct LossyReadings {
    std::mutex lock;
    std::set<std::pair<unsigned, std::size_t>> readings;
};

LossyReadings& lossyReadings()
{
    static LossyReadings all;
    return all;
}

} // namespace

std::string fromUtf8(const std::string& utf8)
{
    std::string narrow = GString::to_string(wideFromUtf8(utf8));
    // Only a text with the default character can have lost letters.
    if (narrow.find(GString::default_char()) != std::string::npos && toUtf8(narrow) != utf8) {
        LossyReadings& all = lossyReadings();
        std::lock_guard<std::mutex> hold(all.lock);
        all.readings.emplace(platform::ansiCodePage(), std::hash<std::string>{}(narrow));
    }
    return narrow;
}

bool isLossyReading(const std::string& narrow)
{
    if (narrow.find(GString::default_char()) == std::string::npos)
        return false;
    LossyReadings& all = lossyReadings();
    std::lock_guard<std::mutex> hold(all.lock);
    return all.readings.count({platform::ansiCodePage(), std::hash<std::string>{}(narrow)}) != 0;
}

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
