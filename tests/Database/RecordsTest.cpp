// The records of sessions, courses and events, without a data source.
#include "Database/CourseTable.h"
#include "Database/EventTable.h"
#include "Database/SessionRecord.h"
#include "Utillib/Random.h"

#include "DbUiFake.h"
#include "ScopedRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Hands out a fixed sequence of values.
class ScriptedRandom : public Utillib::RandomGenerator {
public:
    explicit ScriptedRandom(std::vector<std::uint32_t> values_)
        : values(std::move(values_))
    {
        Utillib::setRandomGenerator(this);
    }
    ~ScriptedRandom() override { Utillib::setRandomGenerator(nullptr); }
    std::uint32_t next() override { return values[drawn++ % values.size()]; }

    std::vector<std::uint32_t> values;
    std::size_t drawn = 0;
};

TEST(SessionRecordTest, SerialIsSevenPairsWithTheLastDrawnFirst)
{
    // Only the low 8 bits count: r & 31 picks the first symbol of a pair, (r >> 5) & 7 the second.
    ScriptedRandom random({0x100 + 0, 31 + (7 << 5), 10 + (1 << 5), 0xAB, 0, 0, 5});
    SessionRecord record;
    EXPECT_EQ(random.drawn, 7u);
    // Pairs as drawn: "00", "v7", "a1", "b5", "00", "00", "50"; the last drawn stands first.
    EXPECT_EQ(record.Serialidentifier, "500000b5a1v700");
    record.newSerial();
    EXPECT_EQ(random.drawn, 14u);
}

TEST(SessionRecordTest, SerialsHaveTheProgramsFormAndDoNotRepeat)
{
    Utillib::seedRandom(12345);
    std::set<std::string> seen;
    SessionRecord record;
    for (int i = 0; i < 20000; ++i) {
        record.newSerial();
        const std::string& s = record.Serialidentifier;
        ASSERT_TRUE(SessionRecord::isValidSerial(s)) << s;
        for (std::size_t at = 1; at < s.size(); at += 2)
            ASSERT_TRUE(s[at] >= '0' && s[at] <= '7') << s;
        seen.insert(s);
    }
    EXPECT_EQ(seen.size(), 20000u);
}

TEST(SessionRecordTest, ResetKeepsTheDataTextAndTheTrailer)
{
    SessionRecord record;
    EXPECT_EQ(record.magic, SESSION_RECORD_MAGIC);
    record.dataText = "samples";
    record.magic = 7;
    record.Note = "note";
    record.Duration = 30;
    record.Manikin = -1;
    std::string before = record.Serialidentifier;
    record.reset();
    EXPECT_EQ(record.dataText, "samples");
    EXPECT_EQ(record.magic, 7);
    EXPECT_EQ(record.Note, "");
    EXPECT_EQ(record.Duration, 600);
    EXPECT_EQ(record.Manikin, 0);
    EXPECT_EQ(record.RegisterEvents, 1);
    EXPECT_EQ(record.TrainingMode, 1);
    EXPECT_NE(record.Serialidentifier, before);
    SessionRecord copy = record;
    EXPECT_EQ(copy.dataText, "samples");
    EXPECT_EQ(copy.magic, 7);
}

TEST(SessionRecordTest, DatesAndTimesAreZeroPadded)
{
    std::tm t {};
    t.tm_year = 2006 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 7;
    EXPECT_EQ(dateText(t), "2006-03-05");
    EXPECT_EQ(timeText(t), "09:07");
    EXPECT_EQ(zeroPad(42, 1), "42");
    SessionRecord record;
    EXPECT_EQ(record.CourseDate, todayText());
    EXPECT_EQ(record.CourseDate.size(), 10u);
    EXPECT_EQ(record.StartTime.size(), 5u);
}

TEST(SessionRecordTest, KeysCompareIgnoringCase)
{
    EXPECT_TRUE(SessionRecord::keysEqual("abc0123456789v", "ABC0123456789V"));
    EXPECT_FALSE(SessionRecord::isKeyComplete(""));
    SessionRecord record;
    record.Serialidentifier = "o'x";
    EXPECT_EQ(record.keyCondition(), "serialidentifier = 'o''x'");
    EXPECT_EQ(record.keyCondition("S"), "S = 'o''x'");
}

TEST(SessionRecordTest, DataFileLiesInTheDataFolder)
{
    dbtest::FakeUi ui;
    SessionRecord record;
    record.Serialidentifier = "0123456789abcv";
    for (const char* folder : {"/srv/cpr", "/srv/cpr/"}) {
        dbtest::ScopedRegistry registry(std::string("Data Folder=sz:") + folder + "\n");
        EXPECT_EQ(record.dataFilePath(), "/srv/cpr/0123456789abcv.dat") << folder;
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(SessionRecordTest, HostileSerialsNeverBecomeAPath)
{
    dbtest::FakeUi ui;
    dbtest::ScopedRegistry registry("Data Folder=sz:/srv/cpr\n");
    testsupport::LogCapture log;
    for (const char* serial : {"../x", "/etc/passwd", "", "0123456789abcde", "0123456789abc", "../../../../xy",
                               "0123456789abc/", "0123456789ABCD", "0123456789abcw", "0123456789ab.."}) {
        SessionRecord record;
        record.Serialidentifier = serial;
        EXPECT_FALSE(SessionRecord::isValidSerial(serial)) << serial;
        EXPECT_EQ(record.dataFilePath(), "") << serial;
    }
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(log.hasAssertion("isValidSerial(Serialidentifier)"));
}

// The only test of this program that finds no data folder: the box is shown once per run.
TEST(SessionRecordTest, AMissingOrEmptyDataFolderIsToldOnceAndGivesTheWorkingFolder)
{
    dbtest::FakeUi ui;
    SessionRecord record;
    record.Serialidentifier = "0123456789abcv";
    {
        dbtest::ScopedRegistry registry("");
        EXPECT_EQ(record.dataFilePath(), "0123456789abcv.dat");
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_NE(ui.boxes[0].text.find(L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavo\\Tavo CPR\\2.3\\Data Folder"), std::wstring::npos);
        EXPECT_EQ(ui.boxes[0].text.find(L"%hs"), std::wstring::npos);
        EXPECT_EQ(ui.boxes[0].caption, L"Unexpected problem with locating data files");
        EXPECT_EQ(ui.boxes[0].flags, dbui::MB_OK);
    }
    dbtest::ScopedRegistry empty("Data Folder=sz:\n");
    EXPECT_EQ(record.dataFilePath(), "0123456789abcv.dat");
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST(CourseKeyTest, ConditionsHaveTheirExactSpacing)
{
    CourseKey key("O'Brien", "2006-03-05", "09:30");
    EXPECT_EQ(key.sqlCondition(CourseTable::sessionColumns, " AND "),
              "CourseInstructor = 'O''Brien'  AND  CourseDate = '2006-03-05'  AND  CourseTime = '09:30'");
    EXPECT_EQ(key.sqlCondition(CourseKey(), ","), "Instructor = 'O''Brien' , Date = '2006-03-05' , Time = '09:30'");
}

TEST(CourseKeyTest, EqualityAndCompleteness)
{
    CourseKey key("Anna", "2006-03-05", "09:30");
    EXPECT_TRUE(key == CourseKey("ANNA", "2006-03-05", "09:30"));
    EXPECT_FALSE(key == CourseKey("Anna", "2006-3-5", "09:30"));
    EXPECT_FALSE(key == CourseKey("Anna", "2006-03-05", "9:30"));
    EXPECT_TRUE(key.isComplete());
    EXPECT_FALSE(CourseKey("Anna", "2006-03-05", "").isComplete());
    EXPECT_FALSE(CourseKey("", "2006-03-05", "09:30").isComplete());
    // Untouched or half-typed masked fields: the schedule locks and the save
    // refuses by the one rule.
    for (const CourseKey& blank : {CourseKey("Anna", "    -  -  ", "09:30"), CourseKey("Anna", "2006-03-05", "  :  "),
                                   CourseKey("Anna", "2006-03-0 ", "09:30"), CourseKey("Anna", "2006-03-05", "09: 0")}) {
        EXPECT_FALSE(blank.isComplete()) << blank.date << " " << blank.time;
        EXPECT_FALSE(RecordKey<CourseRecord>::isComplete(blank));
    }
    EXPECT_TRUE(RecordKey<CourseRecord>::isComplete(key));
}

TEST(CourseKeyTest, DisplayTextParsesBackFromItsEnd)
{
    CourseKey key("Mon on Tuesday", "2006-03-05", "09:30");
    EXPECT_EQ(key.displayText(), L"Mon on Tuesday on 2006-03-05 at 09:30");
    CourseKey parsed;
    parsed.fromDisplayText(key.displayText());
    EXPECT_EQ(parsed.instructor, "Mon on Tuesday");
    EXPECT_EQ(parsed.date, "2006-03-05");
    EXPECT_EQ(parsed.time, "09:30");

    CourseKey noInstructor;
    noInstructor.fromDisplayText(L" on 2006-03-05 at 09:30");
    EXPECT_EQ(noInstructor.date, "2006-03-05");
    EXPECT_EQ(noInstructor.instructor, "");

    CourseKey untouched("X", "d", "t");
    untouched.fromDisplayText(L" on 2006-03-05 at 9:30"); // one short
    EXPECT_EQ(untouched.instructor, "X");
    EXPECT_EQ(untouched.date, "d");
}

TEST(CourseRecordTest, StartsTodayAtTheCurrentTime)
{
    CourseRecord course;
    EXPECT_EQ(course.Date, todayText());
    EXPECT_EQ(course.Time.size(), 5u);
    EXPECT_EQ(course.Instructor, "");
    EXPECT_EQ(course.getKey(), CourseKey("", course.Date, course.Time));
}

// A list control that records what it is told.
class FakeEventList : public EventListControl {
public:
    struct Item {
        int image;
        std::intptr_t data;
        std::wstring texts[3];
    };
    void insertColumn(int column, const std::wstring& heading, Align align, int width) override
    {
        columns.push_back({column, heading, align, width});
    }
    void setFullRowSelect() override { fullRow = true; }
    void useSmallEventIcons() override { icons = true; }
    void deleteAllItems() override { items.clear(); }
    void insertItem(int index, int image, std::intptr_t data) override
    {
        items.insert(items.begin() + index, Item{image, data, {}});
    }
    void setItemText(int index, int column, const std::wstring& text) override { items.at(index).texts[column] = text; }
    int autoSizeColumn(int) override { return 24; }
    void setColumnWidth(int column, int width) override { widths[column] = width; }
    int clientWidth() const override { return 400; }

    struct Column {
        int column;
        std::wstring heading;
        Align align;
        int width;
    };
    std::vector<Column> columns;
    std::vector<Item> items;
    int widths[3] = {0, 0, 0};
    bool fullRow = false;
    bool icons = false;
};

TEST(ScenarioEventsTest, TheBuiltInListHasSevenEvents)
{
    std::vector<EventRecord> events = ScenarioEvents::defaultEvents("S");
    ASSERT_EQ(events.size(), 7u);
    std::vector<int> icons, orders;
    for (const EventRecord& e : events) {
        icons.push_back(e.Icon);
        orders.push_back(e.Order);
        EXPECT_EQ(e.Scenario, "S");
    }
    EXPECT_EQ(icons, (std::vector<int>{96, 1, 0, 3, 5, 4, 2}));
    EXPECT_EQ(orders, (std::vector<int>{0, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(events[1].Name, "Shake & shout");
    EXPECT_EQ(events[6].Tooltip, "Check for pulse");
}

TEST(ScenarioEventsTest, ListShowsEveryEventAndFitsItsColumns)
{
    EXPECT_EQ(ScenarioEvents::textColumnWidths(400, 24), (std::pair<int, int>(150, 226)));
    EXPECT_EQ(ScenarioEvents::textColumnWidths(24, 24), (std::pair<int, int>(0, 0)));

    ScenarioEvents events("S");
    FakeEventList list;
    events.setupList(list);
    ASSERT_EQ(list.columns.size(), 3u);
    EXPECT_EQ(list.columns[0].align, EventListControl::Align::Right);
    EXPECT_EQ(list.columns[0].width, 20);
    EXPECT_EQ(list.columns[1].heading, L"Name");
    EXPECT_EQ(list.columns[2].heading, L"Tooltip");
    EXPECT_TRUE(list.fullRow && list.icons);

    std::vector<EventRecord> shown = ScenarioEvents::defaultEvents("S");
    list.items.push_back({}); // cleared first
    events.showEvents(list, shown);
    ASSERT_EQ(list.items.size(), 7u);
    EXPECT_EQ(list.items[0].image, 96);
    EXPECT_EQ(list.items[6].data, 6);
    EXPECT_EQ(list.items[3].texts[1], L"Airway");
    EXPECT_EQ(list.items[3].texts[2], L"Clear airway");
    EXPECT_EQ(list.widths[1], 150);
    EXPECT_EQ(list.widths[2], 226);
}

} // namespace
