#include "Utillib/Duration.h"
#include "Utillib/DurationCombo.h"
#include "Utillib/TextTranslation.h"
#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QTest>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using platform::ComboBox;
using testsupport::LogCapture;

// A German stand-in for the translation layer.
std::wstring german(const char* text)
{
    if (std::strcmp(text, "No limit") == 0)
        return L"Unbegrenzt";
    if (std::strcmp(text, " min.") == 0)
        return L" Min.";
    if (std::strcmp(text, " sec.") == 0)
        return L" Sek.";
    return std::wstring(text, text + std::strlen(text));
}

class Translated : public ::testing::Test {
protected:
    Translated() { setTextTranslation(&german); }
    ~Translated() override { setTextTranslation(nullptr); }
};

TEST(FormatMinSec, MinutesAndSeconds)
{
    struct Case {
        int seconds;
        const char* text;
    } cases[] = { { 0, "00:00" }, { 59, "00:59" }, { 90, "01:30" }, { 3600, "60:00" }, { 6001, "100:01" },
                  { -1, "00:00" }, { -90, "00:00" } }; // never a negative number
    for (const auto& c : cases)
        EXPECT_EQ(formatMinSec(c.seconds), c.text) << c.seconds;
}

TEST_F(Translated, DurationMinSecShowsNoLimitForEveryNegativeDuration)
{
    struct Case {
        int seconds;
        const char* text;
    } cases[] = { { -1, "Unbegrenzt" }, { -61, "Unbegrenzt" }, { 0, "00:00" }, { 10, "00:10" }, { 600, "10:00" } };
    for (const auto& c : cases)
        EXPECT_EQ(durationMinSec(c.seconds), c.text) << c.seconds;
}

TEST(ParseMinSec, DigitsBeforeAndAfterTheFirstColon)
{
    struct Case {
        const char* text;
        int seconds;
    } cases[] = {
        { "2:75", 195 },   // seconds above 59 count as they are
        { "1:2:3", 62 },   // a second colon ends the reading
        { "00:00", -1 },   // nothing is no limit
        { "12", 720 },     // digits before any colon are minutes
        { "3 min", 180 },  // everything but digits and the first colon is skipped
        { ":30", 30 },
        { "No limit", -1 },
        { "Unbegrenzt", -1 },
        { "", -1 },
        { "abc:", -1 },
        { "99999999999999999999", INT_MAX }, // far too long: the largest duration, no overflow
        { "35791394:08", INT_MAX },
        { "1:99999999999999999999", INT_MAX },
        { "35791394:07", INT_MAX },          // exactly the largest int
        { "35791394:06", INT_MAX - 1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseMinSec(c.text), c.seconds) << c.text;
}

TEST(AddDurationToTime, EndTimesOfScheduleRows)
{
    struct Case {
        int seconds;
        const char* time;
        const char* end;
    } cases[] = {
        { 600, "09:15", "09:25" },
        { 600, "00:00", "00:10" }, // midnight counts as 0
        { 5400, "23:30", "25:00" }, // hours go on past 24
        { 0, "08:00", "08:00" },
        { 59, "08:00", "08:00" },   // whole minutes
        { 3600, "99999999999:00", "596523:14" }, // saturates at the largest int of seconds
    };
    for (const auto& c : cases)
        EXPECT_EQ(addDurationToTime(c.seconds, c.time), c.end) << c.seconds << " " << c.time;
    EXPECT_EQ(secondsToTimeText(600), "00:10");

    for (int noLimit : { -1, -600 }) {
        LogCapture log;
        EXPECT_EQ(addDurationToTime(noLimit, "09:00"), "") << noLimit;
        EXPECT_TRUE(log.hasAssertion("false")) << noLimit;
    }
}

TEST(DurationText, EnglishWithoutTranslation)
{
    struct Case {
        int seconds;
        const char* text;
    } cases[] = { { 0, "0 sec." }, { 5, "5 sec." }, { 60, "1 min." }, { 61, "1 min. 1 sec." },
                  { 125, "2 min. 5 sec." }, { -1, "No limit" }, { -75, "No limit" } };
    for (const auto& c : cases)
        EXPECT_EQ(durationText(c.seconds), c.text) << c.seconds;
}

TEST_F(Translated, DurationTextUsesTheTranslatedUnits)
{
    EXPECT_EQ(durationText(125), "2 Min. 5 Sek.");
    EXPECT_EQ(durationText(-1), "Unbegrenzt");
}

TEST_F(Translated, ComboOffersTheTimesAndNoLimit)
{
    ComboBox combo(CBS_DROPDOWN);
    fillDurationCombo(&combo);
    QStringList items;
    for (int i = 0; i < combo.getCount(); ++i)
        items << combo.getLBText(i);
    EXPECT_EQ(items, QStringList({ "00:30", "01:00", "02:00", "05:00", "10:00", "20:00", "Unbegrenzt" }));
    EXPECT_EQ(combo.getCurSel(), -1);
    EXPECT_EQ(durationFromCombo(&combo), 120);

    LogCapture log;
    ComboBox sorted(CBS_DROPDOWN | CBS_SORT);
    fillDurationCombo(&sorted);
    EXPECT_TRUE(log.hasAssertion("(comboBox->GetStyle() & CBS_SORT) != CBS_SORT"));
    EXPECT_EQ(sorted.getCount(), 7);
}

TEST_F(Translated, ShownDurationsReadBackTheSame)
{
    ComboBox combo(CBS_DROPDOWN);
    fillDurationCombo(&combo);
    for (int seconds : { 30, 90, 120, 195, 3600, 5999, -1 }) {
        setDurationText(&combo, seconds);
        EXPECT_EQ(durationFromCombo(&combo), seconds) << seconds;
    }
    setDurationText(&combo, -1);
    EXPECT_EQ(Utillib::getComboText(&combo), "Unbegrenzt");
    setDurationText(&combo, -30); // a stored row from elsewhere: no session ends at it
    EXPECT_EQ(Utillib::getComboText(&combo), "Unbegrenzt");
    setDurationText(&combo, 0); // shows 00:00, which means no limit
    EXPECT_EQ(Utillib::getComboText(&combo), "00:00");
    EXPECT_EQ(durationFromCombo(&combo), -1);

    // What the user types counts by its digits.
    combo.lineEdit()->selectAll();
    QTest::keyClicks(combo.lineEdit(), "3 min");
    EXPECT_EQ(durationFromCombo(&combo), 180);
}

TEST(DurationCombo, MissingComboIsLoggedAndNoLimit)
{
    LogCapture log;
    EXPECT_EQ(durationFromCombo(nullptr), -1);
    setDurationText(nullptr, 60);
    EXPECT_TRUE(log.hasAssertion("::IsWindow( comboBox->GetSafeHwnd() )"));
}

} // namespace
