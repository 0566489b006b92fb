#include "config/LangStruct.h"

#include "gettext/Translator.h"
#include "Utillib/LogStream.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

const std::vector<std::pair<std::string, std::wstring>>& LangStruct::langs()
{
    static const std::vector<std::pair<std::string, std::wstring>> table = {
        { "en", translate("English") },  { "de", translate("German") },    { "fr", translate("French") },
        { "es", translate("Spanish") },  { "it", translate("Italian") },   { "pt", translate("Portuguese") },
        { "nl", translate("Dutch") },    { "da", translate("Danish") },    { "pl", translate("Polish") },
        { "hu", translate("Hungarian") }, { "ru", translate("Russian") },  { "ko", translate("Korean") },
        { "", L"" },
    };
    return table;
}

int LangStruct::indexOf(const std::string& code)
{
    const auto& table = langs();
    for (int i = 0; i < count; ++i)
        if (table[static_cast<std::size_t>(i)].first == code)
            return i;
    return -1;
}

std::string LangStruct::codeAt(int nr)
{
    if (nr < 0 || nr >= size)
        return {};
    const auto& entry = langs()[static_cast<std::size_t>(nr)];
    LOG_ASSERT_TEXT(!entry.second.empty(), "langs[nr].second.empty() == false");
    return entry.first;
}

std::wstring LangStruct::nameAt(int nr)
{
    LOG_ASSERT(nr >= 0);
    if (nr < 0 || nr >= size)
        return {};
    const auto& entry = langs()[static_cast<std::size_t>(nr)];
    LOG_ASSERT_TEXT(!entry.second.empty(), "langs[nr].second.empty() == false");
    return entry.second;
}

std::vector<std::string> availableLanguages(const std::string& folder)
{
    std::vector<std::string> codes { "en" };
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        // Catalogues copied from elsewhere may carry an upper-case extension.
        if (name.size() < 3)
            continue;
        std::string extension = name.substr(name.size() - 3);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension != ".mo")
            continue;
        codes.push_back(name.substr(0, name.rfind('.')));
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}
