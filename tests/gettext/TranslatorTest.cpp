#include "MoBuilder.h"
#include "gettext/Translator.h"
#include "platform/CommandLine.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using testsupport::LogCapture;
using testsupport::TempDir;

std::string catalogue(const std::string& variant, const std::string& name)
{
    return std::string(CATALOGUE_DIR) + "/" + variant + "/" + name + ".mo";
}

// Each test starts in a fresh working folder with no catalogue loaded.
class TranslatorTest : public ::testing::Test {
protected:
    TranslatorTest()
        : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder.path());
        theTranslator.open("");
    }
    ~TranslatorTest() override
    {
        theTranslator.open("");
        Translator::setReportMissing(false);
        std::filesystem::current_path(previous);
    }
    void copyCatalogue(const std::string& from, const std::string& to)
    {
        std::filesystem::create_directories(std::filesystem::path(folder.file(to)).parent_path());
        std::filesystem::copy_file(from, folder.file(to));
    }

    TempDir folder;
    std::filesystem::path previous;
};

TEST_F(TranslatorTest, WithoutCatalogueTextsStayEnglish)
{
    EXPECT_FALSE(theTranslator.hasCatalog());
    EXPECT_EQ(translate("Open"), L"Open");
    EXPECT_EQ(translate("Caf\xE9"), L"Caf\u00E9");
    EXPECT_EQ(translate("c|Open"), L"Open");
    EXPECT_EQ(translate(nullptr), L"");
    EXPECT_EQ(translateString(""), L"");
}

TEST_F(TranslatorTest, ContextTagsAreRemovedBeforeTheLookup)
{
    ASSERT_TRUE(theTranslator.open(catalogue("little", "de")));
    struct Case {
        const char* text;
        std::wstring shown;
    } cases[] = {
        { "Open", L"\u00D6ffnen" },
        { "c|Open", L"\u00D6ffnen" },
        { "ab|Open", L"\u00D6ffnen" },
        { "a1|Open", L"\u00D6ffnen" },
        { "ab1|Open", L"\u00D6ffnen" },
        { "abcd|Open", L"abcd|Open" }, // too long for a tag
        { "1|Open", L"1|Open" },       // a tag starts with a letter
        { "a-|Open", L"a-|Open" },
        { "\xE9|Open", L"\u00E9|Open" }, // only ASCII letters
        { "|Open", L"|Open" },
        { "a|", L"" },
        { "", L"" },
        { "Price in euro", L"Preis in \u20AC" },
        { "Not translated", L"Not translated" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(translate(c.text), c.shown) << c.text;
        EXPECT_EQ(translateString(c.text), c.shown) << c.text;
    }
}

TEST_F(TranslatorTest, CodePage932CatalogueAndEnglishInTheAnsiCodePage)
{
    ASSERT_TRUE(theTranslator.open(catalogue("big", "ja")));
    EXPECT_EQ(theTranslator.languageCode(), "ja");
    EXPECT_FALSE(theTranslator.isNonCjk());
    EXPECT_EQ(translate("Open"), L"\u958B\u304F");
    EXPECT_EQ(translate("t|Table"), L"\u8868");
    // In code page 932 the byte E9 would start a character; English is 1252.
    EXPECT_EQ(translate("Caf\xE9"), L"Caf\u00E9");

    // Another translator, asked for a given code page.
    Translator device;
    ASSERT_TRUE(device.open(catalogue("nohash", "ja")));
    EXPECT_EQ(device.lookup("Cancel", 932), L"\u30AD\u30E3\u30F3\u30BB\u30EB");
    EXPECT_EQ(device.lookup("", 932), L"");
    EXPECT_TRUE(theTranslator.hasCatalog());
}

TEST_F(TranslatorTest, LanguageCodeComesFromThePath)
{
    struct Case {
        std::string path;
        std::string code;
    } cases[] = {
        { "en", "en" },
        { "de.mo", "de" },
        { "lang/de.MO", "de" },
        { "german", "an" },
        { "x", "" },
        { "x.mo", "" },
        { "", "" },
    };
    for (const auto& c : cases) {
        Translator translator;
        EXPECT_FALSE(translator.open(c.path)) << c.path; // none of these files exists
        EXPECT_EQ(translator.languageCode(), c.code) << c.path;
        EXPECT_EQ(translator.catalogPath(), c.path);
        EXPECT_TRUE(translator.isNonCjk());
    }
    EXPECT_EQ(languageCodePage("ja"), 932u);
    EXPECT_EQ(languageCodePage("ko"), 949u);
    EXPECT_EQ(languageCodePage("zh"), 936u);
    EXPECT_EQ(languageCodePage("JA"), 1252u);
    EXPECT_EQ(languageCodePage(""), 1252u);
}

TEST_F(TranslatorTest, LanguageFromTheCommandLine)
{
    copyCatalogue(catalogue("little", "de"), "de.mo");
    copyCatalogue(catalogue("big", "de"), "folder with blanks/fr.mo");

    // A code: the catalogue of that name in the working folder.
    EXPECT_TRUE(loadLanguage("main demo lang:de commdelay:10", "en"));
    EXPECT_EQ(theTranslator.languageCode(), "de");
    EXPECT_EQ(translate("Cancel"), L"Abbrechen");

    // A path, with or without its ending.
    EXPECT_TRUE(loadLanguage("main lang:" + folder.file("de"), "en"));
    EXPECT_EQ(theTranslator.languageCode(), "de");

    // A path with blanks: the whole option in double quotes, as the
    // arguments are joined into the command line.
    std::string option = "lang:" + folder.file("folder with blanks/fr.mo");
    const char* argv[] = { "main", option.c_str(), "demo" };
    std::string commandLine = platform::joinCommandLine(3, argv);
    EXPECT_EQ(commandLine, "main \"" + option + "\" demo");
    EXPECT_TRUE(loadLanguage(commandLine, "en"));
    EXPECT_EQ(theTranslator.languageCode(), "fr");
    EXPECT_EQ(translate("Close"), L"Schlie\u00DFen");

    // A missing catalogue leaves the program in English, silently.
    LogCapture log;
    EXPECT_FALSE(loadLanguage("main lang:it", "en"));
    EXPECT_FALSE(theTranslator.hasCatalog());
    EXPECT_EQ(theTranslator.languageCode(), "it");
    EXPECT_EQ(translate("Cancel"), L"Cancel");
    // No option: the default, which has no catalogue here.
    EXPECT_FALSE(loadLanguage("main demo", "en"));
    EXPECT_EQ(theTranslator.languageCode(), "en");
    EXPECT_EQ(log.text().find("Message catalogue"), std::string::npos);
}

TEST_F(TranslatorTest, DamagedCatalogueOnTheCommandLineIsRefusedAndLogged)
{
    motest::MoBuilder builder({ { "Open", "Auf" } }, 0);
    builder.put(12, 0x7FFFFFFF);
    builder.write(folder.file("de.mo"));
    LogCapture log;
    EXPECT_FALSE(loadLanguage("main lang:de", "en"));
    EXPECT_EQ(translate("Open"), L"Open");
    EXPECT_NE(log.text().find("Message catalogue 'de.mo' is damaged and not used: "), std::string::npos)
        << log.text();
}

TEST_F(TranslatorTest, OptionValues)
{
    struct Case {
        std::string line, key, fallback, value;
    } cases[] = {
        { "main lang:de demo", "lang:", "en", "de" },
        { "main lang:de", "lang:", "en", "de" },
        { "main \"lang:/a b/fr.mo\" demo", "lang:", "en", "/a b/fr.mo" },
        { "main \"lang:/a b/fr.mo", "lang:", "en", "/a b/fr.mo" },
        { "main demo", "lang:", "en", "en" },
        { "main xlang:it", "lang:", "", "it" }, // found inside another word too
        { "main commdelay:250 demo", "commdelay:", "0", "250" },
        { "main lang: de", "lang:", "en", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(getOptionValue(c.line, c.key, c.fallback), c.value) << c.line;
    EXPECT_EQ(getOptionValue(std::wstring(L"main \"lang:a b\""), L"lang:", L"en"), L"a b");
    EXPECT_EQ(getOptionValue(std::wstring(L"main"), L"lang:", L"en"), L"en");
}

TEST_F(TranslatorTest, MissingTranslationsAreReportedOnlyWhenAsked)
{
    // An empty translation counts as missing.
    motest::MoBuilder builder({ { "Empty", "" }, { "Open", "Auf" } }, 0);
    builder.write(folder.file("de.mo"));
    ASSERT_TRUE(theTranslator.open("de"));

    LogCapture log;
    EXPECT_EQ(translate("Empty"), L"Empty");
    EXPECT_EQ(translate("Nope"), L"Nope");
    EXPECT_EQ(log.text().find("Translation missing"), std::string::npos);

    Translator::setReportMissing(true);
    EXPECT_EQ(translate("x|Nope"), L"Nope");
    EXPECT_EQ(translate(" "), L" ");
    EXPECT_EQ(translate("Open"), L"Auf");
    std::string text = log.text();
    EXPECT_NE(text.find("\nTranslation missing in de for : \"Nope\"\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("for : \" \""), std::string::npos) << text;
    EXPECT_EQ(text.find("Open"), std::string::npos) << text;
}

TEST_F(TranslatorTest, OpeningAnEmptyPathGoesBackToEnglish)
{
    ASSERT_TRUE(theTranslator.open(catalogue("nohash", "de")));
    EXPECT_EQ(translate("Open"), L"\u00D6ffnen");
    EXPECT_NE(theTranslator.toPoText().find("msgid\t\"Open\"\r\nmsgstr\t\"\xD6" "ffnen\"\r\n"), std::string::npos);
    EXPECT_FALSE(theTranslator.open(""));
    EXPECT_EQ(translate("Open"), L"Open");
    EXPECT_EQ(theTranslator.toPoText(), "");
}

} // namespace
