#pragma once
// Translation of the program's English texts into the user's language.
//
// Every text the user sees is written in English and passed through
// `translate` when it is shown. A text may start with a context tag (a
// letter, then up to two letters or digits, then "|"), which is removed
// before the lookup and never shown. Translations are stored in the code page
// of their language; untranslated English goes through the ANSI code page.
#include <memory>
#include <string>
#include <string_view>

class MoCatalog;

class Translator {
public:
    Translator();
    ~Translator();
    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;

    // Opens the catalogue named by a two-letter language code or a path
    // (".mo" is appended when missing); an empty path closes the catalogue.
    // Silent on failure: the translator then passes every text through.
    bool open(const std::string& path);

    // The translation of `text` converted with `codePage`, or the text itself
    // in the ANSI code page when the catalogue lacks it.
    std::wstring lookup(const std::string& text, unsigned codePage) const;

    // False for Korean, Japanese and Chinese.
    bool isNonCjk() const;

    const std::string& languageCode() const { return language; }
    const std::string& catalogPath() const { return path; }
    bool hasCatalog() const { return catalog != nullptr; }
    // The catalogue as ".po"-style text; empty without one.
    std::string toPoText() const;

    // Makes the user-interface translator log every text it cannot translate.
    static void setReportMissing(bool report);

private:
    std::unique_ptr<MoCatalog> catalog;
    std::string path;
    std::string language;
    bool reportMissing = false;
};

// The user-interface translator. It exists before any static object is
// constructed and is never destroyed, so texts translated during static
// construction or destruction come back in English (or translated) safely.
Translator& userInterfaceTranslator();
extern Translator& theTranslator;

// The code page a language's catalogue is written in: "ja" 932, "ko" 949,
// "zh" 936, anything else 1252.
unsigned languageCodePage(const std::string& languageCode);

// How many leading characters of `text` form its context tag: 0, 2, 3 or 4.
std::size_t contextTagLength(std::string_view text);

// `text` (a null pointer gives an empty text) without its context tag,
// translated by the user-interface translator.
std::wstring translate(const char* text);
std::wstring translateString(const std::string& text);

// The value of the option `key` on a command line: the text after the key up
// to the next double quote when the key follows a double quote, else up to
// the next blank; `defaultValue` when the key is absent.
std::string getOptionValue(const std::string& commandLine, const std::string& key, const std::string& defaultValue);
std::wstring getOptionValue(const std::wstring& commandLine, const std::wstring& key, const std::wstring& defaultValue);

// Opens the catalogue that "lang:" on the command line names (else
// `defaultCode`) in the user-interface translator.
bool loadLanguage(const std::string& commandLine, const std::string& defaultCode);
