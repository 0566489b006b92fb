#include "gettext/Translator.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/MoCatalog.h"
#include "platform/CodePage.h"

namespace {

// The tag rule knows ASCII letters and digits only, whatever the locale.
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiLetterOrDigit(char c) { return isAsciiLetter(c) || (c >= '0' && c <= '9'); }

} // namespace

std::size_t contextTagLength(std::string_view text)
{
    if (text.size() < 2 || !isAsciiLetter(text[0]))
        return 0;
    if (text[1] == '|')
        return 2;
    if (text.size() >= 3 && isAsciiLetterOrDigit(text[1]) && text[2] == '|')
        return 3;
    if (text.size() >= 4 && isAsciiLetterOrDigit(text[1]) && isAsciiLetterOrDigit(text[2]) && text[3] == '|')
        return 4;
    return 0;
}

namespace {

template <class String>
String optionValue(const String& commandLine, const String& key, const String& defaultValue)
{
    using Char = typename String::value_type;
    const Char quote = static_cast<Char>('"');
    const Char blank = static_cast<Char>(' ');
    std::size_t at = commandLine.find(String(1, quote) + key);
    Char end = quote;
    if (at != String::npos) {
        at += 1 + key.size();
    } else {
        at = commandLine.find(key);
        if (at == String::npos)
            return defaultValue;
        at += key.size();
        end = blank;
    }
    std::size_t stop = commandLine.find(end, at);
    return commandLine.substr(at, stop == String::npos ? String::npos : stop - at);
}

} // namespace

Translator& userInterfaceTranslator()
{
    static auto* instance = new Translator;
    return *instance;
}

Translator& theTranslator = userInterfaceTranslator();

Translator::Translator() = default;
Translator::~Translator() = default;

bool Translator::open(const std::string& newPath)
{
    path = newPath;
    std::size_t n = path.size();
    if (n == 2)
        language = path;
    else if (n < 2)
        language.clear();
    else if (n >= 3 && path[n - 3] == '.' && (path[n - 2] == 'm' || path[n - 2] == 'M')
        && (path[n - 1] == 'o' || path[n - 1] == 'O'))
        language = n >= 5 ? path.substr(n - 5, 2) : std::string(); // "x.mo" names no language
    else
        language = path.substr(n - 2);

    catalog.reset();
    if (!path.empty()) {
        catalog = std::make_unique<MoCatalog>();
        if (!catalog->load(path))
            catalog.reset();
    }
    return catalog != nullptr;
}

std::wstring Translator::lookup(const std::string& text, unsigned codePage) const
{
    if (text.empty())
        return {};
    if (!catalog)
        return GString::to_wstring(text, platform::CP_ACP);
    std::string translation = catalog->find(text);
    if (!translation.empty())
        return GString::to_wstring(translation, codePage);
    if (reportMissing && text != " ")
        LogStream::instance() << "Translation missing in " << language << " for : \"" << text << "\""
                              << LogStream::tendl;
    return GString::to_wstring(text, platform::CP_ACP);
}

bool Translator::isNonCjk() const { return language != "ko" && language != "ja" && language != "zh"; }

std::string Translator::toPoText() const { return catalog ? catalog->toPoText() : std::string(); }

void Translator::setReportMissing(bool report) { userInterfaceTranslator().reportMissing = report; }

unsigned languageCodePage(const std::string& languageCode)
{
    if (languageCode == "ja")
        return 932;
    if (languageCode == "ko")
        return 949;
    if (languageCode == "zh")
        return 936;
    return 1252;
}

std::wstring translateString(const std::string& text)
{
    Translator& translator = userInterfaceTranslator();
    return translator.lookup(text.substr(contextTagLength(text)), languageCodePage(translator.languageCode()));
}

std::wstring translate(const char* text)
{
    if (!text)
        return {};
    return translateString(text);
}

std::string getOptionValue(const std::string& commandLine, const std::string& key, const std::string& defaultValue)
{
    return optionValue(commandLine, key, defaultValue);
}

std::wstring getOptionValue(const std::wstring& commandLine, const std::wstring& key, const std::wstring& defaultValue)
{
    return optionValue(commandLine, key, defaultValue);
}

bool loadLanguage(const std::string& commandLine, const std::string& defaultCode)
{
    std::string language = getOptionValue(commandLine, "lang:", "");
    if (language.empty())
        language = defaultCode;
    return userInterfaceTranslator().open(language);
}
