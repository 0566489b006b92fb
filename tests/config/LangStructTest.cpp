#include "config/LangStruct.h"

#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using testsupport::LogCapture;
using testsupport::TempDir;

TEST(LangStruct, LooksUpCodesExactly)
{
    EXPECT_EQ(LangStruct::indexOf("en"), 0);
    EXPECT_EQ(LangStruct::indexOf("ko"), 11);
    EXPECT_EQ(LangStruct::indexOf("EN"), -1);
    EXPECT_EQ(LangStruct::indexOf(""), -1); // not the end entry
    EXPECT_EQ(LangStruct::nameAt(5), L"Portuguese");

    LogCapture log;
    EXPECT_EQ(LangStruct::codeAt(11), "ko");
    EXPECT_EQ(LangStruct::codeAt(13), "");
    EXPECT_EQ(LangStruct::codeAt(-1), "");
    EXPECT_FALSE(log.hasAssertion("langs[nr].second.empty() == false"));
    EXPECT_EQ(LangStruct::codeAt(12), "");
    EXPECT_TRUE(log.hasAssertion("langs[nr].second.empty() == false"));
    EXPECT_EQ(LangStruct::nameAt(-3), L"");
    EXPECT_TRUE(log.hasAssertion("nr >= 0"));
}

TEST(LangStruct, OffersEnglishAndEveryCatalogueInTheFolder)
{
    TempDir dir;
    for (const char* name : { "fr.mo", "de.mo", "xx.mo", "notes.txt", "ja.MO" })
        std::ofstream(dir.file(name)) << "x";
    EXPECT_EQ(availableLanguages(dir.path()), (std::vector<std::string> { "de", "en", "fr", "ja", "xx" }));
    std::ofstream(dir.file("en.mo")) << "x";
    EXPECT_EQ(availableLanguages(dir.path()), (std::vector<std::string> { "de", "en", "en", "fr", "ja", "xx" }));
    EXPECT_EQ(availableLanguages(dir.file("missing")), std::vector<std::string> { "en" });
}

} // namespace
