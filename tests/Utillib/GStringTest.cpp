#include "Utillib/GString.h"
#include "Utillib/Utf8.h"
#include "platform/CodePage.h"
#include "support/TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(GString, WidensAndNarrowsThroughTheGivenCodePage)
{
    EXPECT_EQ(GString::to_wstring("caf\xE9"), L"caf\u00E9");
    EXPECT_EQ(GString::to_wstring(std::string("\x93\xFA\x96\x7B"), 932), L"\u65E5\u672C");
    EXPECT_EQ(GString::to_string(L"\u65E5\u672C", 932), "\x93\xFA\x96\x7B");
    EXPECT_EQ(GString::to_string(L"\u65E5x"), "?x");
    EXPECT_EQ(GString::to_string(L"\u00E9\u20AC", 65001), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(GString::to_wstring(std::string("\xC3\xA9"), 65001), L"\u00E9");
}

TEST(GString, ConversionsStopAtTheFirstNul)
{
    EXPECT_EQ(GString::to_wstring(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(GString::to_string(std::wstring(L"ab\0cd", 5)), "ab");
    EXPECT_EQ(GString::to_string(std::wstring(L"ab\0cd", 5), 65001), "ab");
}

TEST(GString, EmptyOrUnconvertibleGivesEmpty)
{
    EXPECT_EQ(GString::to_wstring(""), L"");
    EXPECT_EQ(GString::to_wstring(nullptr), L"");
    EXPECT_EQ(GString::to_string(L""), "");
    EXPECT_EQ(GString::to_wstring(std::string("abc"), 12345), L"");
    EXPECT_EQ(GString::to_string(L"abc", 12345), "");
    EXPECT_EQ(GString::default_char(), '?');
}

TEST(GString, CStrRingKeepsSixteenTexts)
{
    const char* first = GString::to_c_str(L"");
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "");

    const char* second = GString::to_c_str(L"second");
    const char* slots[14];
    for (int i = 0; i < 14; ++i)
        slots[i] = GString::to_c_str(std::to_wstring(i) + L" filler that is too long for any short-string buffer");
    // That was the 16th call: the 2nd call's text is still intact.
    EXPECT_STREQ(second, "second");
    EXPECT_STREQ(slots[13], "13 filler that is too long for any short-string buffer");

    // The 17th call takes the slot of the 1st.
    const char* seventeenth = GString::to_c_str(L"seventeenth");
    EXPECT_EQ(seventeenth, first);
    EXPECT_STREQ(second, "second");
    EXPECT_STREQ(GString::to_c_str(L"\u65E5", 932), "\x93\xFA");
}

TEST(GString, FormatTakesWideAndNarrowTextsNumbersAndCharacters)
{
    std::wstring name = L"J\u00FCrgen";
    EXPECT_EQ(GString::format(L"%s has %d of %u (%5.1f%%)", name, -3, 7u, 42.25),
        L"J\u00FCrgen has -3 of 7 ( 42.2%)");
    EXPECT_EQ(GString::format(L"[%-6s|%6S|%.2ls|%hs]", L"ab", "cd", L"wxyz", std::string("\xE9")),
        L"[ab    |    cd|wx|\u00E9]");
    EXPECT_EQ(GString::format(L"%c%c%C", L'\u3042', 'x', '\xE9'), L"\u3042x\u00E9");
    EXPECT_EQ(GString::format(L"%03d:%02d %x %X %o", 7, 5, 255, -1, 8), L"007:05 ff FFFFFFFF 10");
    EXPECT_EQ(GString::format(L"%*d|%-*d|%.*f", 4, 1, 3, 2, 1, 2.25), L"   1|2  |2.2");
    EXPECT_EQ(GString::format(L"%lld %hd %g", 1LL << 40, 65537, 0.5), L"1099511627776 1 0.5");
    EXPECT_EQ(GString::format(L"no conversions"), L"no conversions");
}

TEST(GString, FormatKeepsConversionsWithoutFittingArgumentAndLogsThem)
{
    testsupport::LogCapture log;
    // A catalogue that swapped the kinds, lost an argument or asks to write memory.
    EXPECT_EQ(GString::format(L"%s seconds", 12), L"%s seconds");
    EXPECT_EQ(GString::format(L"%d and %d", 1), L"1 and %d");
    EXPECT_EQ(GString::format(L"%f", 3), L"%f");
    EXPECT_EQ(GString::format(L"%n%d", 4), L"%n4");
    EXPECT_EQ(GString::format(L"50%", 1), L"50%");
    EXPECT_EQ(GString::format(L"%q", 1), L"%q");
    EXPECT_NE(log.text().find("GString::format : no fitting argument for \"%s\" in \"%s seconds\"\n"),
        std::string::npos)
        << log.text();
}

TEST(GString, FormatOfLongResultsIsCompleteUpToItsLimit)
{
    std::wstring word(600, L'w');
    std::wstring twice = GString::format(L"%s-%s", word, word);
    EXPECT_EQ(twice, word + L"-" + word);

    std::wstring huge(70000, L'h');
    EXPECT_EQ(GString::format(L"%s!", huge), huge.substr(0, 0x10000));
    EXPECT_EQ(GString::format(L"%99999999d", 5).size(), 0x10000u);
}

TEST(GString, NumbersThroughNarrowFormats)
{
    EXPECT_EQ(GString::from_int(-5, "%d"), L"-5");
    EXPECT_EQ(GString::from_int(42, "%04d"), L"0042");
    EXPECT_EQ(GString::from_double(2.345, "%0.1f"), L"2.3");
    EXPECT_EQ(GString::from_float(0.5f, "%g"), L"0.5");
    EXPECT_EQ(GString::from_double(3.14159, 3), L"3.142");
    EXPECT_EQ(GString::from_double(3.14159, 12), L"3.14");
    EXPECT_EQ(GString::from_bool(true), L"true");
    // Only 49 characters fit.
    EXPECT_EQ(GString::from_double(1e60, "%f").size(), 49u);
}

TEST(GString, TextHelpers)
{
    EXPECT_EQ(GString::to_upper(L"abc1"), L"ABC1");
    EXPECT_EQ(GString::to_lower(L'Q'), L'q');
    EXPECT_EQ(GString::compare_no_case(L"Apple", L"apple"), 0);
    EXPECT_EQ(GString::compare_no_case(L"app", L"Apple"), -1);
    EXPECT_EQ(GString::compare_no_case(L"b", L"A"), 1);
    EXPECT_EQ(GString::letters_and_digits(L"a-1 b_2!"), L"a1b2");

    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(GString::split_lines(L"one\r\ntwo\r\n\r\nfour"), (Lines { L"one", L"two", L"", L"four" }));
    EXPECT_EQ(GString::split_lines(L"one\r\n"), (Lines { L"one" }));
    EXPECT_EQ(GString::split_lines(L"a\nb"), (Lines { L"a\nb" }));
    EXPECT_TRUE(GString::split_lines(L"").empty());

    EXPECT_TRUE(GString::is_digit(L'7'));
    EXPECT_FALSE(GString::is_digit(L'\u0663')); // an Arabic-Indic digit is no digit here
    EXPECT_TRUE(GString::is_space(L' '));
    EXPECT_TRUE(GString::is_punct(L'!'));
    EXPECT_TRUE(GString::is_alpha(L'x'));
}

TEST(GString, NumberAndFlagFromText)
{
    struct Case {
        std::wstring text;
        int value;
        bool ok;
    } cases[] = {
        { L"42", 42, true },
        { L"-17", -17, true },
        { L"12ab", 12, false },
        { L"", 0, false },
        { L"99999999999", 2147483647, false },
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(GString::to_int(c.text, &ok), c.value);
        EXPECT_EQ(ok, c.ok);
    }

    bool ok = false;
    EXPECT_TRUE(GString::to_bool(L"true", &ok));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(GString::to_bool(L"false", &ok));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(GString::to_bool(L"True", &ok));
    EXPECT_FALSE(ok);
}

TEST(Utf8, DecodesByTheLeadByteTable)
{
    struct Case {
        std::string bytes;
        std::size_t available;
        int result;
        std::uint32_t codePoint;
    } cases[] = {
        { "A", 1, 1, 0x41 },
        { "\xC3\xA9", 2, 2, 0xE9 },
        { "\xC0\x80", 2, -1, 0 },          // overlong
        { "\x80", 1, -1, 0 },              // a continuation byte first
        { "\xE2\x82", 2, -2, 0 },          // needs a third byte
        { "\xE2\x82\x41", 3, -1, 0 },      // the third is no continuation
        { "\xE0\x9F\xBF", 3, -1, 0 },      // overlong three-byte form
        { "\xED\xA0\x80", 3, 3, 0xD800 },  // surrogates pass
        { "\xF0\x90\x80\x80", 4, 4, 0x10000 },
        { "\xF0\x8F\xBF\xBF", 4, -1, 0 },
        { "\xF8\x88\x80\x80\x80", 5, 5, 0x200000 },
        { "\xFC\x84\x80\x80\x80\x80", 6, 6, 0x4000000 },
        { "\xFC\x83\x80\x80\x80\x80", 6, -1, 0 },
        { "\xFE", 1, -1, 0 },
        { "", 0, -2, 0 },
    };
    for (const auto& c : cases) {
        std::uint32_t codePoint = 0;
        EXPECT_EQ(utf8Decode(codePoint, c.bytes.data(), c.available), c.result) << c.bytes;
        if (c.result > 0) {
            EXPECT_EQ(codePoint, c.codePoint) << c.bytes;
        }
    }
}

TEST(Utf8, EncodesUpToSixBytes)
{
    struct Case {
        std::uint32_t codePoint;
        std::string bytes;
    } cases[] = {
        { 0x24, "\x24" },
        { 0x7FF, "\xDF\xBF" },
        { 0x20AC, "\xE2\x82\xAC" },
        { 0x10FFFF, "\xF4\x8F\xBF\xBF" },
        { 0x200000, "\xF8\x88\x80\x80\x80" },
        { 0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF" },
    };
    for (const auto& c : cases) {
        char out[6];
        int n = utf8Encode(out, c.codePoint, sizeof out);
        EXPECT_EQ(std::string(out, n > 0 ? n : 0), c.bytes) << c.codePoint;
    }
    char out[6];
    EXPECT_EQ(utf8Encode(out, 0x80000000u, sizeof out), -1);
    EXPECT_EQ(utf8Encode(out, 0x20AC, 2), -2);
}

TEST(Utf8, WholeTextsBothWays)
{
    // One four-byte sequence for a character beyond the basic plane, also
    // when it arrives as a surrogate pair; a lone surrogate is replaced.
    EXPECT_EQ(wideToUtf8(L"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(wideToUtf8(std::wstring { 0xD83D, 0xDE00 }), "\xF0\x9F\x98\x80");
    EXPECT_EQ(wideToUtf8(std::wstring { L'a', 0xDC00, static_cast<wchar_t>(0x110000) }), "a\xEF\xBF\xBD\xEF\xBF\xBD");

    EXPECT_EQ(utf8ToWide("x\xC3\xA9\xF0\x9F\x98\x80"), L"x\u00E9\U0001F600");
    EXPECT_EQ(utf8ToWide("ab"), L"ab"); // fewer than three bytes left is fine
    const char* thrown = nullptr;
    try {
        utf8ToWide("ok\xE2\x82");
    } catch (const char* text) {
        thrown = text;
    }
    ASSERT_NE(thrown, nullptr);
    EXPECT_STREQ(thrown, "UTF8 error: source too large");
}

} // namespace

TEST(GStringCase, LettersBeyondAsciiWhateverTheProcessLocale)
{
    // The process runs in the "C" locale, which knows only A to Z.
    EXPECT_EQ(GString::to_lower(std::wstring(L"\u00C4RGER \u00C9T\u00C9")), L"\u00E4rger \u00E9t\u00E9");
    EXPECT_EQ(GString::to_upper(L'\u00FC'), L'\u00DC');
    EXPECT_EQ(GString::compare_no_case(L"\u00D6L", L"\u00F6l"), 0);
    EXPECT_TRUE(GString::is_alpha(L'\u00E9'));
    EXPECT_FALSE(GString::is_alpha(L'1'));
    EXPECT_TRUE(GString::is_space(L'\u00A0') || GString::is_space(L' '));
}
