#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

using platform::multiByteToWide;
using platform::wideToMultiByte;

// Restores the process code page after a test that changes it.
class AnsiCodePage : public ::testing::Test {
protected:
    ~AnsiCodePage() override { platform::setAnsiCodePage(1252); }
};

struct RoundTrip {
    unsigned codePage;
    std::string bytes;
    std::wstring text;
};

TEST(CodePage, ConvertsEachSupportedCodePageBothWays)
{
    const RoundTrip cases[] = {
        { 1252, "Gr\xFC\xDF \x80 \x84", L"Gr\u00FC\u00DF \u20AC \u201E" },
        // Bytes 1252 leaves undefined pass through as C1 controls.
        { 1252, "\x81\x8D\x8F\x90\x9D", L"\u0081\u008D\u008F\u0090\u009D" },
        { 932, "\x93\xFA\x96\x7B\x82\xA0 \xB1", L"\u65E5\u672C\u3042 \uFF71" },
        { 936, "\xD6\xD0\xCE\xC4", L"\u4E2D\u6587" },
        { 949, "\xC7\xD1\xB1\xDB", L"\uD55C\uAE00" },
        { 437, "\x81\xE1", L"\u00FC\u00DF" },
        { 850, "\x9B\xD5", L"\u00F8\u0131" },
        { 65001, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", L"\u00E9\u20AC\U0001F600" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(multiByteToWide(c.codePage, c.bytes), c.text) << c.codePage;
        EXPECT_EQ(wideToMultiByte(c.codePage, c.text), c.bytes) << c.codePage;
    }
}

TEST(CodePage, UndefinedBytesBecomeReplacementCharacters)
{
    // A lead byte without its trail byte, in the middle and at the end.
    EXPECT_EQ(multiByteToWide(932, "a\x82 b\x82"), L"a\uFFFD b\uFFFD");
    EXPECT_EQ(multiByteToWide(65001, "x\xC0\x80y\xE2\x82"), L"x\uFFFD\uFFFDy\uFFFD\uFFFD");
    EXPECT_EQ(multiByteToWide(936, std::string("\xFF", 1)), L"\uFFFD");
}

TEST(CodePage, MissingCharactersBecomeTheDefaultCharacter)
{
    EXPECT_EQ(platform::defaultChar(932), '?');
    EXPECT_EQ(wideToMultiByte(1252, L"a\u3042b\u20AC"), "a?b\x80");
    EXPECT_EQ(wideToMultiByte(932, L"\u00A4x"), "?x");
    // Values that are no characters at all.
    EXPECT_EQ(wideToMultiByte(1252, std::wstring { L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000) }),
        "a??");
}

TEST(CodePage, EmbeddedNulsAreConvertedLikeAnyCharacter)
{
    EXPECT_EQ(multiByteToWide(1252, std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(wideToMultiByte(1252, std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage, UnknownCodePageConvertsNothing)
{
    EXPECT_FALSE(platform::isValidCodePage(12345));
    EXPECT_FALSE(multiByteToWide(12345, "abc"));
    EXPECT_FALSE(wideToMultiByte(12345, L"abc"));
    EXPECT_TRUE(platform::isValidCodePage(0));
}

TEST(CodePage, LongTextGrowsTheBuffer)
{
    std::wstring text(5000, L'\u3042');
    std::string bytes = *wideToMultiByte(932, text);
    EXPECT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(multiByteToWide(932, bytes), text);
    std::wstring emoji(3000, L'\U0001F600');
    EXPECT_EQ(multiByteToWide(65001, *wideToMultiByte(65001, emoji)), emoji);
}

TEST_F(AnsiCodePage, DefaultsTo1252AndFollowsTheSetting)
{
    EXPECT_EQ(platform::ansiCodePage(), 1252u);
    EXPECT_EQ(multiByteToWide(0, "\x82\xA0"), L"\u201A\u00A0");

    EXPECT_TRUE(platform::setAnsiCodePage(932));
    EXPECT_EQ(platform::ansiCodePage(), 932u);
    EXPECT_EQ(multiByteToWide(0, "\x82\xA0"), L"\u3042");
    EXPECT_EQ(wideToMultiByte(0, L"\u3042"), "\x82\xA0");

    EXPECT_FALSE(platform::setAnsiCodePage(12345));
    EXPECT_FALSE(platform::setAnsiCodePage(0));
    EXPECT_EQ(platform::ansiCodePage(), 932u);
}

} // namespace
