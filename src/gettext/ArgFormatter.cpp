#include "gettext/ArgFormatter.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"

ArgFormatter::ArgFormatter(std::string text)
    : format(std::move(text))
{
}

ArgFormatter& ArgFormatter::add(int value)
{
    arguments.push_back(GString::format(L"%d", value));
    return *this;
}

ArgFormatter& ArgFormatter::add(double value)
{
    arguments.push_back(GString::format(L"%g", value));
    return *this;
}

ArgFormatter& ArgFormatter::add(const std::string& value)
{
    arguments.push_back(GString::to_wstring(value, 0));
    return *this;
}

ArgFormatter& ArgFormatter::add(const std::wstring& value)
{
    arguments.push_back(value);
    return *this;
}

std::wstring ArgFormatter::text() const
{
    // The placeholders of the English format, in order of appearance.
    std::vector<std::wstring> placeholders;
    for (std::size_t at = format.find('['); at != std::string::npos; at = format.find('[', at)) {
        std::size_t close = format.find(']', at);
        LOG_ASSERT(close != std::string::npos);
        if (close == std::string::npos)
            break;
        placeholders.push_back(GString::to_wstring(format.substr(at, close - at + 1), 0));
        at = close + 1;
    }
    LOG_ASSERT(placeholders.size() == arguments.size());

    // Each placeholder is replaced where the translation has it; inserted
    // arguments are never searched again.
    std::wstring translated = translateString(format);
    std::wstring result;
    std::vector<bool> used(placeholders.size(), false);
    std::size_t at = 0;
    while (at < translated.size()) {
        std::size_t open = translated.find(L'[', at);
        std::size_t close = open == std::wstring::npos ? std::wstring::npos : translated.find(L']', open);
        if (close == std::wstring::npos) {
            result += translated.substr(at);
            break;
        }
        result += translated.substr(at, open - at);
        std::wstring token = translated.substr(open, close - open + 1);
        std::size_t index = 0;
        while (index < placeholders.size() && (used[index] || placeholders[index] != token))
            ++index;
        if (index < placeholders.size() && index < arguments.size()) {
            used[index] = true;
            result += arguments[index];
        } else {
            result += token;
        }
        at = close + 1;
    }

    bool everyPlaceholderFound = true;
    for (std::size_t i = 0; i < used.size() && i < arguments.size(); ++i)
        everyPlaceholderFound = everyPlaceholderFound && used[i];
    LOG_ASSERT(everyPlaceholderFound);
    return result;
}
