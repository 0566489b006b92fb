#include "MoBuilder.h"
#include "gettext/ArgFormatter.h"
#include "gettext/Translator.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testsupport::LogCapture;

class ArgFormatterTest : public ::testing::Test {
protected:
    ~ArgFormatterTest() override { theTranslator.open(""); }
};

TEST_F(ArgFormatterTest, FillsPlaceholdersInTheOrderOfTheTranslation)
{
    EXPECT_EQ(ArgFormatter("[0] of [1] compressions").add(3).add(10).text(), L"3 of 10 compressions");

    ASSERT_TRUE(theTranslator.open(std::string(CATALOGUE_DIR) + "/little/de.mo"));
    EXPECT_EQ(ArgFormatter("[0] of [1] compressions").add(3).add(10).text(), L"10 Kompressionen, davon 3 richtig");
}

TEST_F(ArgFormatterTest, ArgumentsOfEveryKind)
{
    EXPECT_EQ(ArgFormatter("[a]/[b]/[c]/[d]").add(2.5).add(std::string("Caf\xE9")).add(L"\u65E5").add(-4).text(),
        L"2.5/Caf\u00E9/\u65E5/-4");
    // An argument that looks like a placeholder is not filled in again.
    EXPECT_EQ(ArgFormatter("[0] of [1] compressions").add(L"[1]").add(5).text(), L"[1] of 5 compressions");
}

TEST_F(ArgFormatterTest, MisuseIsLoggedAndFilledAsFarAsPossible)
{
    LogCapture log;
    EXPECT_EQ(ArgFormatter("[0] of [1] compressions").add(3).text(), L"3 of [1] compressions");
    EXPECT_TRUE(log.hasAssertion("placeholders.size() == arguments.size()"));
    EXPECT_FALSE(log.hasAssertion("everyPlaceholderFound"));

    EXPECT_EQ(ArgFormatter("Value [0").add(1).text(), L"Value [0");
    EXPECT_TRUE(log.hasAssertion("close != std::string::npos"));
}

TEST_F(ArgFormatterTest, PlaceholderMissingFromTheTranslationIsLogged)
{
    // A catalogue whose translation dropped a placeholder.
    testsupport::TempDir dir;
    std::string path = dir.file("de.mo");
    motest::MoBuilder({ { "[0] left", "noch etwas" } }, 0).write(path);
    ASSERT_TRUE(theTranslator.open(path));
    LogCapture log;
    EXPECT_EQ(ArgFormatter("[0] left").add(3).text(), L"noch etwas");
    EXPECT_TRUE(log.hasAssertion("everyPlaceholderFound"));
}

} // namespace
