#include "config/LangStruct.h"

#include "Utillib/LogStream.h"
#include "gettext/Translator.h"

namespace {

struct Language {
    const char* code;
    const char* name;
};

// Ends with an empty entry, as a table walked to its end would.
const Language languages[LangStruct::count + 1] = {
    { "en", "English" }, { "de", "German" },     { "fr", "French" },  { "es", "Spanish" },
    { "it", "Italian" }, { "pt", "Portuguese" }, { "nl", "Dutch" },   { "da", "Danish" },
    { "pl", "Polish" },  { "hu", "Hungarian" },  { "ru", "Russian" }, { "ko", "Korean" },
    { "", "" },
};

} // namespace

int LangStruct::indexOf(const std::string& code)
{
    for (int i = 0; i < count; ++i)
        if (code == languages[i].code)
            return i;
    return -1;
}

std::string LangStruct::codeAt(int index)
{
    LOG_ASSERT(index != count);
    if (index < 0 || index >= count)
        return {};
    return languages[index].code;
}

std::wstring LangStruct::nameAt(int index)
{
    LOG_ASSERT(index >= 0);
    if (index < 0 || index >= count)
        return {};
    return translate(languages[index].name);
}
