#include "session/StartupOptions.h"

#include "Utillib/FileUtil.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"

#include <charconv>
#include <climits>

namespace {

// A decimal integer filling the whole text, saturated at the int range.
std::optional<long long> parseInteger(const std::string& text)
{
    long long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (!text.empty() && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (end != last || first == last)
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        return text[0] == '-' ? LLONG_MIN : LLONG_MAX;
    if (error != std::errc())
        return std::nullopt;
    return value;
}

} // namespace

StartupOptions readStartupOptions(const std::string& commandLine)
{
    StartupOptions options;
    options.demo = commandLine.find("demo") != std::string::npos;
    options.dumpData = commandLine.find("dumpdata") != std::string::npos;

    const std::string delay = getOptionValue(commandLine, "commdelay:", "");
    if (delay.empty())
        return options;
    const std::optional<long long> value = parseInteger(delay);
    if (!value) {
        LogStream::instance() << "commdelay: '" << delay << "' is not a number of milliseconds; ignored" << LogStream::endl;
        return options;
    }
    if (*value < 0) {
        LogStream::instance() << "commdelay: " << delay << " is negative; 0 is used" << LogStream::endl;
        options.commDelay = 0;
    } else if (*value > INT_MAX) {
        LogStream::instance() << "commdelay: " << delay << " is too large; " << INT_MAX << " is used" << LogStream::endl;
        options.commDelay = INT_MAX;
    } else {
        options.commDelay = static_cast<int>(*value);
    }
    return options;
}

std::string helpFilePath(const std::string& folder, const std::string& languageCode)
{
    const std::string prefix = folder.empty() ? std::string() : folder + "/";
    const std::string path = prefix + "razeduv_" + languageCode + ".html";
    if (Utillib::fileExists(path))
        return path;
    return prefix + "razeduv_en.html";
}
