#include "Database/CourseTable.h"
#include "Database/DatabaseDialog.h"
#include "Database/SessionTable.h"
#include "Database/Transaction.h"

#include "DbTestSupport.h"
#include "TestRecordsets.h"
#include "FakeCombo.h"
#include "StationProcesses.h"
#include "Utillib/GString.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

class SessionCourseTest : public dbtest::DbTest {
protected:
    static SessionRecord session(const std::string& serial, const std::string& person = "")
    {
        SessionRecord s;
        s.Serialidentifier = serial;
        s.PersonVentilation = person;
        return s;
    }
    void addSession(const std::string& serial, const CourseKey& course, int order)
    {
        exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES ('" + serial
             + "', '" + DBUtil::quote(course.instructor) + "', '" + course.date + "', '" + course.time + "', "
             + std::to_string(order) + ")");
    }
    Names serials(const std::string& where)
    {
        SessionTable t(database);
        EXPECT_TRUE(t.open(where));
        return dbtest::column(t, &SessionTable::Serialidentifier);
    }
    // A schedule of these rows (the last is the placeholder) that read nothing.
    static CourseSchedule rowsOf(std::vector<SessionRecord> rows)
    {
        CourseSchedule schedule;
        schedule.rows() = std::move(rows);
        return schedule;
    }
    static Names ordered(const std::vector<SessionRecord>& rows)
    {
        Names got;
        for (const SessionRecord& s : rows)
            got.push_back(s.Serialidentifier + ":" + std::to_string(s.CourseOrder));
        return got;
    }
    // The Course row of course(): a schedule is stored only for a course that exists.
    void storeCourse() { exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('O''Brien', '2006-03-05', '09:30')"); }
    // Stores the schedule under course().
    bool store(SessionTable& t, CourseSchedule& schedule)
    {
        CourseRecord c = course();
        return t.saveCourseSessions(c, schedule);
    }
    // Another station's statements, on a connection of its own.
    void otherStation(const std::vector<std::string>& statements)
    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        for (const std::string& sql : statements)
            ASSERT_TRUE(other.execute(sql)) << sql << ": " << other.lastError().text;
        other.close();
    }
    CourseRecord course(const std::string& instructor = "O'Brien")
    {
        CourseRecord c;
        c.Instructor = instructor;
        c.Date = "2006-03-05";
        c.Time = "09:30";
        return c;
    }
};

TEST_F(SessionCourseTest, EveryColumnRoundTrips)
{
    SessionRecord s;
    s.Algorithm = "Alg";
    s.Approved = 2;
    s.ApprovedBy = "Boss";
    s.CompDepth = 41.5;
    s.CompRelaxRatio = 0.25;
    s.CourseDate = "2006-03-05";
    s.CourseInstructor = "Ins";
    s.CourseOrder = 3;
    s.CourseTime = "09:30";
    s.Done = 1;
    s.Duration = -1;
    s.ECCrate = 101;
    s.EndTime = "10:00";
    s.InitialVentilations = 2;
    s.InterfaceFrequency = 19.5;
    s.Leaning = 3;
    s.Manikin = 256;
    s.Metronome = 1;
    s.RegisterEvents = 0;
    s.Note = "n";
    s.PauseECC = 4;
    s.PersonChestCompression = "C";
    s.PersonVentilation = "V";
    s.Scenario = "Sc";
    s.TrainingMode = 3;
    s.StartTime = "09:31";
    s.StomachInflation = 5;
    s.VentCompRatioComp = 30;
    s.VentCompRatioVent = 2;
    s.VentilationRate = 8;
    s.VentilationVolume = 0.55;
    s.WrongHandPosition = 6;
    s.dataText = "not stored";
    {
        SessionTable t(database);
        ASSERT_TRUE(t.open(""));
        ASSERT_TRUE(t.AddNew());
        t.setRecord(s);
        ASSERT_TRUE(t.Update()) << t.lastError().text;
    }
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    SessionRecord r = t.getRecord();
    s.dataText.clear();
    // Compared as one text per member, so a mismatch names the member.
    auto fields = [](const SessionRecord& x) {
        return std::vector<std::string>{x.Serialidentifier, x.Algorithm, std::to_string(x.Approved), x.ApprovedBy,
            std::to_string(x.CompDepth), std::to_string(x.CompRelaxRatio), x.CourseDate, x.CourseInstructor,
            std::to_string(x.CourseOrder), x.CourseTime, std::to_string(x.Done), std::to_string(x.Duration),
            std::to_string(x.ECCrate), x.EndTime, std::to_string(x.InitialVentilations), std::to_string(x.InterfaceFrequency),
            std::to_string(x.Leaning), std::to_string(x.Manikin), std::to_string(x.Metronome), std::to_string(x.RegisterEvents),
            x.Note, std::to_string(x.PauseECC), x.PersonChestCompression, x.PersonVentilation, x.Scenario,
            std::to_string(x.TrainingMode), x.StartTime, std::to_string(x.StomachInflation), std::to_string(x.VentCompRatioComp),
            std::to_string(x.VentCompRatioVent), std::to_string(x.VentilationRate), std::to_string(x.VentilationVolume),
            std::to_string(x.WrongHandPosition), x.dataText, std::to_string(x.magic)};
    };
    EXPECT_EQ(fields(r), fields(s));
}

TEST_F(SessionCourseTest, CountIsExactAndGetFieldKnowsOnlyTheSerial)
{
    addSession("0123456789abcd", CourseKey(), 0);
    SessionTable t(database);
    EXPECT_EQ(t.count("0123456789abcd"), 0); // not open
    ASSERT_TRUE(t.open(""));
    EXPECT_EQ(t.getField("SerialIdentifier"), "0123456789abcd");
    testsupport::LogCapture log;
    EXPECT_EQ(t.getField("Note"), "");
    EXPECT_TRUE(log.hasAssertion("false"));
    EXPECT_EQ(t.count("0123456789abcd"), 1);
    EXPECT_EQ(t.count("0123456789ABCD"), 0);
    EXPECT_TRUE(t.IsEOF());
}

TEST_F(SessionCourseTest, AScheduleIsSavedAndLoadedInOrder)
{
    storeCourse();
    addSession("other", CourseKey("O'Brien", "2006-03-05", "10:00"), 0);
    SessionTable t(database);
    ASSERT_TRUE(t.open("Serialidentifier <> 'zzz'"));
    t.m_strSort = "Serialidentifier DESC";
    ASSERT_TRUE(t.restart());

    CourseSchedule schedule = rowsOf({session("c", "Third?"), session("a"), session("b"), session("placeholder")});
    schedule.rows()[0].CourseOrder = 7;
    EXPECT_TRUE(store(t, schedule));
    EXPECT_EQ(schedule.rows()[2].CourseOrder, 2);
    EXPECT_EQ(schedule.rows()[0].CourseInstructor, "O'Brien");

    std::vector<SessionRecord> loaded = t.loadCourseSessions(CourseKey("o'brien", "2006-03-05", "09:30"));
    EXPECT_EQ(ordered(loaded), (Names{"c:0", "a:1", "b:2"}));
    // The table's own filter and sort are back.
    EXPECT_EQ(t.m_strFilter, "Serialidentifier <> 'zzz'");
    EXPECT_EQ(t.m_strSort, "Serialidentifier DESC");
    EXPECT_EQ(dbtest::column(t, &SessionTable::Serialidentifier), (Names{"other", "c", "b", "a"}));

    // Saved again: no duplicates; moved rows take their new places; rows
    // removed in the form are deleted, down to a course without any.
    std::swap(schedule.rows()[0], schedule.rows()[1]);
    EXPECT_TRUE(store(t, schedule));
    EXPECT_EQ(ordered(t.loadCourseSessions(course().getKey())), (Names{"a:0", "c:1", "b:2"}));
    schedule.rows().erase(schedule.rows().begin(), schedule.rows().end() - 1);
    EXPECT_TRUE(store(t, schedule));
    EXPECT_EQ(serials(""), (Names{"other"}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SessionCourseTest, AFailedRowLeavesTheStoredScheduleAsItWasAndIsReportedOnce)
{
    storeCourse();
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule schedule = rowsOf({session("a"), session("b"), session("c"), session("p")});
    ASSERT_TRUE(store(t, schedule));

    // The removal of a row is refused: nothing else is written either.
    if (dbtest::usingPostgres()) {
        exec("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused'; END $$");
        exec("CREATE TRIGGER refuse BEFORE DELETE ON Session FOR EACH ROW EXECUTE FUNCTION refuse()");
    } else {
        exec("CREATE TRIGGER refuse BEFORE DELETE ON Session BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }
    CourseSchedule again;
    again.load({session("a"), session("b"), session("c")});
    again.rows() = {session("a", "Changed"), session("x"), session("p")};
    EXPECT_FALSE(store(t, again));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(ui.boxes[0].duringTransaction); // no other station waits on a box
    EXPECT_EQ(serials(""), (Names{"a", "b", "c"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE PersonVentilation <> ''"), "0");
    exec(dbtest::usingPostgres() ? "DROP TRIGGER refuse ON Session" : "DROP TRIGGER refuse");

    // The second new row cannot be inserted: reported once, after the
    // rollback, and the stored schedule stays whole.
    if (dbtest::usingPostgres()) {
        exec("CREATE FUNCTION refuse_e() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF NEW.serialidentifier = 'e' "
             "THEN RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$");
        exec("CREATE TRIGGER refuse_e BEFORE INSERT ON Session FOR EACH ROW EXECUTE FUNCTION refuse_e()");
    } else {
        exec("CREATE TRIGGER refuse_e BEFORE INSERT ON Session WHEN NEW.Serialidentifier = 'e' "
             "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }
    CourseSchedule clash = rowsOf({session("d"), session("e"), session("p")});
    EXPECT_FALSE(store(t, clash));
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_FALSE(ui.boxes[1].duringTransaction);
    EXPECT_EQ(ordered(t.loadCourseSessions(course().getKey())), (Names{"a:0", "b:1", "c:2"}));
    EXPECT_TRUE(clash.storedRows().empty()) << "nothing counts as stored";
}

TEST_F(SessionCourseTest, InsideACallersTransactionTheScheduleGoesWithIt)
{
    storeCourse();
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule schedule = rowsOf({session("a"), session("p")});
    {
        Transaction outer(database);
        EXPECT_TRUE(store(t, schedule));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    } // not committed
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0");
    // Stored again after all: the row is written, not taken for gone.
    EXPECT_TRUE(store(t, schedule));
    EXPECT_EQ(serials(""), (Names{"a"}));
    EXPECT_TRUE(ui.boxes.empty());
}

// Two stations plan and run one course on one database: each stores only
// what it changed, and what the other one added or recorded stays.
TEST_F(SessionCourseTest, TwoStationsStoreOnlyWhatEachChanged)
{
    storeCourse();
    const CourseKey key = course().getKey();
    addSession("a", key, 0);
    addSession("b", key, 1);
    addSession("c", key, 2);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule mine;
    mine.load(t.loadCourseSessions(key));
    ASSERT_EQ(mine.size(), 3);
    mine.rows().push_back(session("p")); // the placeholder

    {
        // The other station, on its own connection: it adds a session to the
        // course and records the results of the second one.
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(other.execute("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, "
                                  "CourseOrder, PersonVentilation) VALUES ('theirs', 'O''Brien', '2006-03-05', "
                                  "'09:30', 3, 'Their Guest')"));
        ASSERT_TRUE(other.execute("UPDATE Session SET Done = TRUE, CompDepth = 48.5, EndTime = '09:51', "
                                  "Note = 'recorded' WHERE Serialidentifier = 'b'"));
        other.close();
    }

    // This station: a participant for the first row, the third removed, one added.
    mine.rows()[0].PersonVentilation = "Ann";
    mine.rows()[1].StartTime = "09:40";
    mine.rows().erase(mine.rows().begin() + 2);
    mine.rows().insert(mine.rows().end() - 1, session("d", "Dee"));
    ASSERT_TRUE(store(t, mine));

    std::vector<SessionRecord> stored = t.loadCourseSessions(key);
    EXPECT_EQ(ordered(stored), (Names{"a:0", "b:1", "d:2", "theirs:3"}));
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[0].PersonVentilation, "Ann");
    EXPECT_EQ(stored[1].StartTime, "09:40");
    EXPECT_EQ(stored[1].Done, 1) << "the other station's results stay";
    EXPECT_EQ(stored[1].CompDepth, 48.5);
    EXPECT_EQ(stored[1].EndTime, "09:51");
    EXPECT_EQ(stored[1].Note, "recorded");
    EXPECT_EQ(stored[3].PersonVentilation, "Their Guest");

    // Saved once more without a change: the other station's later edit stays.
    exec("UPDATE Session SET PersonVentilation = 'Ann Lee' WHERE Serialidentifier = 'a'");
    ASSERT_TRUE(store(t, mine));
    EXPECT_EQ(scalar("SELECT PersonVentilation FROM Session WHERE Serialidentifier = 'a'"), "Ann Lee");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "4");
    EXPECT_TRUE(ui.boxes.empty());
}

// A change of case alone leaves the sessions under the old spelling ("Ärzte"
// for the course now named "ärzte"): the schedule finds them as the course
// cascades do, by every letter, not only A to Z.
TEST_F(SessionCourseTest, TheScheduleFindsItsInstructorInEveryLetterCase)
{
    addSession("b", CourseKey("\xC4rzte", "2006-03-05", "09:30"), 1);
    addSession("a", CourseKey("\xC4RZTE", "2006-03-05", "09:30"), 0);
    addSession("c", CourseKey("\xC4rzte", "2006-03-05", "11:00"), 0);
    addSession("d", CourseKey("Bert", "2006-03-05", "09:30"), 2);
    addSession("e", CourseKey("BERT", "2006-03-05", "09:30"), 3);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    EXPECT_EQ(ordered(t.loadCourseSessions(CourseKey("\xE4rzte", "2006-03-05", "09:30"))), (Names{"a:0", "b:1"}));
    EXPECT_EQ(ordered(t.loadCourseSessions(CourseKey("bert", "2006-03-05", "09:30"))), (Names{"d:2", "e:3"}));
    EXPECT_TRUE(t.loadCourseSessions(CourseKey("\xE4rzte", "2006-03-06", "09:30")).empty());
    EXPECT_EQ(dbtest::column(t, &SessionTable::Serialidentifier).size(), 5u); // its own filter again
}

// Two instructors whose names this station's code page cannot show, 田中
// and 山田, both read "??". A course read from its row loads the schedule
// of its own instructor, by the name as stored, and tells the planner that
// a schedule cannot be stored under this station's reading of it.
TEST_F(SessionCourseTest, AScheduleWhoseInstructorTheCodePageCannotShowLoadsByTheStoredName)
{
    const bool pg = dbtest::usingPostgres();
    const std::string tanaka = pg ? "chr(30000) || chr(20013)" : "char(30000, 20013)";
    const std::string yamada = pg ? "chr(23665) || chr(30000)" : "char(23665, 30000)";
    {
        // The station that stored them shows both names.
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        for (const std::string& sql :
             {"INSERT INTO Course (Instructor, Date, Time) VALUES (" + tanaka + ", '2006-03-05', '09:30')",
              "INSERT INTO Course (Instructor, Date, Time) VALUES (" + yamada + ", '2006-03-05', '09:30')",
              "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES "
              "('t2', " + tanaka + ", '2006-03-05', '09:30', 1)",
              "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES "
              "('y1', " + yamada + ", '2006-03-05', '09:30', 0)",
              "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES "
              "('t1', " + tanaka + ", '2006-03-05', '09:30', 0)"})
            ASSERT_TRUE(other.execute(sql)) << other.lastError().text;
        other.close();
    }
    CourseTable courses(database);
    courses.m_strSort = "id";
    ASSERT_TRUE(courses.open(""));
    CourseRecord course = courses.getRecord();
    ASSERT_EQ(course.Instructor, "??");
    const CourseKey key = course.getKey();
    EXPECT_FALSE(key.instructorShown());
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    EXPECT_EQ(ordered(t.loadCourseSessions(key)), (Names{"t1:0", "t2:1"}));
    ASSERT_TRUE(courses.MoveNext());
    EXPECT_EQ(ordered(t.loadCourseSessions(courses.getRecord().getKey())), (Names{"y1:0"}));
    // As this station reads it, the key names neither instructor.
    EXPECT_TRUE(t.loadCourseSessions(CourseKey("??", "2006-03-05", "09:30")).empty());
    // Nor is anything stored under that reading: the store is refused.
    CourseSchedule schedule;
    schedule.load(t.loadCourseSessions(key));
    schedule.rows().emplace_back();
    schedule.rows().back().PersonVentilation = "Added here";
    EXPECT_FALSE(t.saveCourseSessions(course, schedule));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, DBUtil::unshownNameMessage());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE PersonVentilation = 'Added here'"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE CourseInstructor = '?\?'"), "0");
    ui.boxes.clear();
    // A name typed over the stored one is what was typed.
    course.Instructor = "Tanaka";
    EXPECT_TRUE(course.getKey().instructorShown());
    EXPECT_TRUE(ui.boxes.empty());
}

// A participant whose name the station's code page cannot show reads as
// "??": a save that did not change the name must not write that back.
TEST_F(SessionCourseTest, TextsTheCodePageCannotShowSurviveASave)
{
    storeCourse();
    const bool pg = dbtest::usingPostgres();
    const std::string tanaka = pg ? "chr(30000) || chr(20013) || ' Taro'" : "char(30000, 20013) || ' Taro'";
    exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder, "
         "PersonVentilation, Note) VALUES ('t', 'O''Brien', '2006-03-05', '09:30', 0, "
         + tanaka + ", " + tanaka + ")");
    addSession("u", course().getKey(), 1);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule schedule;
    schedule.load(t.loadCourseSessions(course().getKey()));
    ASSERT_EQ(schedule.size(), 2);
    ASSERT_EQ(schedule.rows()[0].PersonVentilation, "?? Taro");
    schedule.rows().push_back(session("p"));

    // The row's start changes, and the rows swap places; the name and the note do not change.
    schedule.rows()[0].StartTime = "10:00";
    std::swap(schedule.rows()[0], schedule.rows()[1]);
    ASSERT_TRUE(store(t, schedule));
    const std::string codePoints = pg ? "SELECT ascii(%1) || ',' || ascii(substr(%1, 2)) || substr(%1, 3) FROM Session "
                                        "WHERE Serialidentifier = 't'"
                                      : "SELECT unicode(%1) || ',' || unicode(substr(%1, 2)) || substr(%1, 3) FROM "
                                        "Session WHERE Serialidentifier = 't'";
    const auto of = [&codePoints](const std::string& column) {
        std::string sql = codePoints;
        for (std::size_t at; (at = sql.find("%1")) != std::string::npos;)
            sql.replace(at, 2, column);
        return sql;
    };
    EXPECT_EQ(scalar(of("PersonVentilation")), "30000,20013 Taro");
    EXPECT_EQ(scalar(of("Note")), "30000,20013 Taro");
    EXPECT_EQ(scalar("SELECT StartTime || ':' || CourseOrder FROM Session WHERE Serialidentifier = 't'"), "10:00:1");

    // A new row given the name as read here would store "??": the whole
    // store is refused with the message for names this station cannot show.
    schedule.rows().back() = session("n", "?? Taro");
    schedule.rows().push_back(session("p"));
    ui.boxes.clear();
    EXPECT_FALSE(store(t, schedule));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, DBUtil::unshownNameMessage());
    EXPECT_FALSE(ui.boxes[0].duringTransaction);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Serialidentifier = 'n' OR PersonVentilation LIKE '%?%'"), "0");
}

// A row of the form's own serial that it never read: left outside the
// course by an earlier save, or stored by the session editor meanwhile. The
// save takes it over instead of failing on its serial for ever.
TEST_F(SessionCourseTest, ARowOfItsOwnSerialOutsideTheCourseJoinsIt)
{
    storeCourse();
    addSession("orphan", CourseKey("O'Brien", "    -  -  ", "  :  "), 0);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule schedule = rowsOf({session("a", "Ann"), session("orphan", "Olga"), session("p")});
    ASSERT_TRUE(store(t, schedule)) << (ui.boxes.empty() ? std::string() : GString::to_string(ui.boxes[0].text));
    std::vector<SessionRecord> stored = t.loadCourseSessions(course().getKey());
    EXPECT_EQ(ordered(stored), (Names{"a:0", "orphan:1"}));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].PersonVentilation, "Olga");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "2");
    EXPECT_TRUE(ui.boxes.empty());
}

// Another station deleted rows this form holds: the one this form changed
// since it read it comes back, the unchanged one stays gone and leaves the
// form's schedule.
TEST_F(SessionCourseTest, ARowAnotherStationDeletedStaysGoneUnlessThisFormChangedIt)
{
    storeCourse();
    const CourseKey key = course().getKey();
    addSession("a", key, 0);
    addSession("b", key, 1);
    addSession("c", key, 2);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule mine;
    mine.load(t.loadCourseSessions(key));
    ASSERT_EQ(mine.size(), 3);
    mine.rows().push_back(session("p"));
    ASSERT_NO_FATAL_FAILURE(otherStation({"DELETE FROM Session WHERE Serialidentifier IN ('b', 'c')"}));

    mine.rows()[2].PersonVentilation = "Cy";
    mine.rows().insert(mine.rows().end() - 1, session("d", "Dee"));
    ASSERT_TRUE(store(t, mine));
    EXPECT_EQ(ordered(t.loadCourseSessions(key)), (Names{"a:0", "c:1", "d:2"}));
    EXPECT_EQ(ordered(mine.rows()), (Names{"a:0", "c:1", "d:2", "p:0"}));
    EXPECT_EQ(ordered(mine.storedRows()), (Names{"a:0", "c:1", "d:2"}));
    EXPECT_TRUE(ui.boxes.empty());
}

// Another station renamed the course while this form holds its schedule:
// the rows it read carry the new key, and the store follows them.
TEST_F(SessionCourseTest, AStoreFollowsACourseAnotherStationRenamed)
{
    storeCourse();
    const CourseKey key = course().getKey();
    addSession("a", key, 0);
    addSession("b", key, 1);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule mine;
    mine.load(t.loadCourseSessions(key));
    mine.rows().push_back(session("p"));
    ASSERT_NO_FATAL_FAILURE(otherStation({"UPDATE Course SET Time = '10:00', Note = 'moved' WHERE Time = '09:30'",
                                          "UPDATE Session SET CourseTime = '10:00' WHERE CourseTime = '09:30'"}));

    CourseRecord held = course();
    mine.rows().insert(mine.rows().end() - 1, session("d", "Dee"));
    ASSERT_TRUE(t.saveCourseSessions(held, mine));
    EXPECT_EQ(held.Time, "10:00");
    EXPECT_EQ(held.Note, "moved");
    EXPECT_EQ(ordered(t.loadCourseSessions(held.getKey())), (Names{"a:0", "b:1", "d:2"}));
    EXPECT_TRUE(t.loadCourseSessions(key).empty()) << "nothing under a key no course has";
    EXPECT_TRUE(ui.boxes.empty());
}

// The course is gone (deleted with its sessions) or its rows went nowhere
// this form could follow: the store is refused with a message and nothing
// comes back as sessions of no course.
TEST_F(SessionCourseTest, AStoreForACourseThatIsGoneIsRefused)
{
    storeCourse();
    const CourseKey key = course().getKey();
    addSession("a", key, 0);
    addSession("b", key, 1);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule mine;
    mine.load(t.loadCourseSessions(key));
    mine.rows().push_back(session("p"));
    ASSERT_NO_FATAL_FAILURE(otherStation({"DELETE FROM Session WHERE CourseTime = '09:30'",
                                          "DELETE FROM Course WHERE Time = '09:30'"}));

    mine.rows()[0].PersonVentilation = "Ann";
    mine.rows().insert(mine.rows().end() - 1, session("d", "Dee"));
    EXPECT_FALSE(store(t, mine));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"no longer exists"), std::wstring::npos) << GString::to_string(ui.boxes[0].text);
    EXPECT_FALSE(ui.boxes[0].duringTransaction);

    // A course deleted without its sessions: its rows carry a key no course has.
    storeCourse();
    addSession("e", key, 0);
    CourseSchedule again;
    again.load(t.loadCourseSessions(key));
    again.rows().push_back(session("p"));
    ASSERT_NO_FATAL_FAILURE(otherStation({"DELETE FROM Course WHERE Time = '09:30'"}));
    again.rows().insert(again.rows().end() - 1, session("f", "Fay"));
    EXPECT_FALSE(store(t, again));
    EXPECT_EQ(serials(""), (Names{"e"}));
    EXPECT_EQ(ui.boxes.size(), 2u);
}

// Another station renamed the course (Anna to Anne), and then a new course
// Anna was planned at the same date and time. The rows this form read are
// in Anne: the store follows them there, and nothing goes into the
// stranger's course. Rows that went to several other courses are not
// followed anywhere.
TEST_F(SessionCourseTest, AStoreFollowsItsRowsPastANewCourseOfTheOldKey)
{
    const CourseKey anna = course("Anna").getKey();
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Anna', '2006-03-05', '09:30')");
    addSession("a", anna, 0);
    addSession("b", anna, 1);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseSchedule mine;
    mine.load(t.loadCourseSessions(anna));
    mine.rows().push_back(session("p"));
    ASSERT_NO_FATAL_FAILURE(otherStation(
        {"UPDATE Course SET Instructor = 'Anne' WHERE Instructor = 'Anna'",
         "UPDATE Session SET CourseInstructor = 'Anne' WHERE CourseInstructor = 'Anna'",
         "INSERT INTO Course (Instructor, Date, Time, Note) VALUES ('Anna', '2006-03-05', '09:30', 'stranger')",
         "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES "
         "('s', 'Anna', '2006-03-05', '09:30', 0)"}));

    CourseRecord held = course("Anna");
    mine.rows().insert(mine.rows().end() - 1, session("d", "Dee"));
    ASSERT_TRUE(t.saveCourseSessions(held, mine));
    EXPECT_EQ(held.Instructor, "Anne");
    EXPECT_EQ(ordered(t.loadCourseSessions(held.getKey())), (Names{"a:0", "b:1", "d:2"}));
    EXPECT_EQ(ordered(t.loadCourseSessions(anna)), (Names{"s:0"})) << "the stranger's course is left alone";
    EXPECT_TRUE(ui.boxes.empty());

    // Its rows now in two other courses, none left in Anne: refused, and nothing is written.
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Bo', '2006-03-05', '09:30')");
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Cy', '2006-03-05', '09:30')");
    exec("UPDATE Session SET CourseInstructor = 'Cy' WHERE CourseInstructor = 'Anne'");
    exec("UPDATE Session SET CourseInstructor = 'Bo' WHERE Serialidentifier = 'a'");
    mine.rows().insert(mine.rows().end() - 1, session("e", "Eve"));
    EXPECT_FALSE(t.saveCourseSessions(held, mine));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"no longer exists"), std::wstring::npos) << GString::to_string(ui.boxes[0].text);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Serialidentifier = 'e'"), "0");
}

// One station stores its schedule, adding a session each time, while
// another renames the course's instructor back and forth, both at the same
// moment, round by round. The lookup of the course and the writing of the
// rows are one step: every store told done is stored, under the key the
// course has then, and no session is left under a key that no course has.
TEST_F(SessionCourseTest, AStoreAndARenameAtTheSameMomentLeaveNoSessionOutsideACourse)
{
    constexpr int rounds = 15;
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Anna', '2006-03-05', '09:30')");
    addSession("first", course("Anna").getKey(), 0);
    // The planner's state lives in its station's process.
    CourseRecord held;
    CourseSchedule schedule;
    auto action = [&](int station, int round) {
        if (station == 1) {
            Transaction rename(database);
            return rename.isOpen()
                && database.execute("UPDATE Course SET Instructor = CASE WHEN Instructor = 'Anna' THEN 'Anne' "
                                    "ELSE 'Anna' END")
                && database.execute("UPDATE Session SET CourseInstructor = CASE WHEN CourseInstructor = 'Anna' "
                                    "THEN 'Anne' ELSE 'Anna' END")
                && rename.commit();
        }
        schedule.rows().insert(schedule.rows().end() - 1, session("r" + std::to_string(round), "Guest"));
        SessionTable t(database);
        if (t.open("") && t.saveCourseSessions(held, schedule))
            return true;
        schedule.rows().erase(schedule.rows().end() - 2);
        return false;
    };
    auto prepare = [&](int station) {
        if (station != 0)
            return;
        held = course("Anna");
        SessionTable t(database);
        if (t.open(""))
            schedule.load(t.loadCourseSessions(held.getKey()));
        schedule.rows().push_back(session("p"));
    };
    int stored = 0;
    {
        dbtest::StationProcesses stations(2, action, prepare);
        ASSERT_TRUE(stations.started(2));
        for (int round = 0; round < rounds; ++round) {
            const std::vector<bool> done = stations.round();
            ASSERT_EQ(done.size(), 2u);
            EXPECT_TRUE(done[1]) << "rename of round " << round;
            stored += done[0] ? 1 : 0;
        }
    }
    ASSERT_TRUE(databaseOpen);
    EXPECT_EQ(stored, rounds) << "the store follows every rename";
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), std::to_string(stored + 1));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session s WHERE NOT EXISTS (SELECT 1 FROM Course c WHERE "
                     "c.Instructor = s.CourseInstructor AND c.Date = s.CourseDate AND c.Time = s.CourseTime)"),
              "0");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT CourseInstructor) FROM Session"), "1");
}

// A stored instructor that differs from the form's only in the case of a
// letter, by the program's comparison, is the same course for the schedule
// as for the cascades, whatever letter it is: the list of a course's
// sessions, the store (which looks the course up) and the rename cascade
// agree on every case of this table.
TEST_F(SessionCourseTest, ScheduleAndCascadesTakeTheSameLettersForOneInstructor)
{
    struct Case {
        std::wstring stored; // as another station stored it
        const char* typed;   // as this station (Western) has it
        bool same;
    };
    const std::vector<Case> cases = {
        {L"\u00C4rzte", "\xE4rzte", true},                  // Ä, a change of case outside A to Z
        {L"\u00E4RZTE", "\xC4rzte", true},
        {L"\u0130nst", "inst", true},                       // İ: its lower case is i
        {L"\u0130NST", "Inst", true},
        {L"\u0131nst", "inst", false},                      // dotless ı is a letter of its own
        {L"\u212Aurs", "kurs", true},                       // the Kelvin sign: its lower case is k
        {L"S\u212A\u0130", "ski", true},
        {L"\u212Bse", "\xE5se", true},                      // the Ångström sign: its lower case is å
        {L"STRASSE", "stra\xDF" "e", false},
        {L"Bert", "BERT", true},
        {L"Bert", "Bart", false},
    };
    const auto sqlText = [](const std::wstring& text) {
        std::string sql;
        for (wchar_t c : text)
            sql += (sql.empty() ? "" : " || ") + std::string(dbtest::usingPostgres() ? "chr(" : "char(")
                + std::to_string(static_cast<unsigned>(c)) + ")";
        return sql;
    };
    const auto timeOf = [](std::size_t i, int hour) {
        return std::to_string(hour) + ":" + (i < 10 ? "0" : "") + std::to_string(i);
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string name = sqlText(cases[i].stored);
        exec("INSERT INTO Course (Instructor, Date, Time) VALUES (" + name + ", '2006-03-05', '" + timeOf(i, 10) + "')");
        exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES ('s"
             + std::to_string(i) + "', " + name + ", '2006-03-05', '" + timeOf(i, 10) + "', 0)");
    }
    SessionTable t(database);
    CourseTable courses(database);
    ASSERT_TRUE(t.open("") && courses.open(""));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::string serial = "s" + std::to_string(i);
        const CourseKey key(cases[i].typed, "2006-03-05", timeOf(i, 10));
        const Names expected = cases[i].same ? Names{serial + ":0"} : Names{};
        CourseSchedule schedule;
        schedule.load(t.loadCourseSessions(key));
        EXPECT_EQ(ordered(schedule.rows()), expected) << "listed";

        // The store finds the course (the rows keep its stored spelling) or refuses.
        schedule.rows().push_back(session("n" + std::to_string(i), "New"));
        schedule.rows().push_back(session("p"));
        CourseRecord held;
        held.Instructor = cases[i].typed;
        held.Date = key.date;
        held.Time = key.time;
        ui.boxes.clear();
        EXPECT_EQ(t.saveCourseSessions(held, schedule), cases[i].same);
        EXPECT_EQ(ui.boxes.size(), cases[i].same ? 0u : 1u);
        EXPECT_EQ(t.loadCourseSessions(key).size(), cases[i].same ? 2u : 0u);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Serialidentifier = 'n" + std::to_string(i) + "'"),
                  cases[i].same ? "1" : "0");

        // The cascade moves what the list showed.
        const CourseKey later(cases[i].typed, "2006-03-05", timeOf(i, 20));
        ASSERT_TRUE(courses.rename(key, later));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Serialidentifier = '" + serial + "' AND CourseTime = '"
                         + later.time + "'"),
                  cases[i].same ? "1" : "0")
            << "moved by the cascade";
    }
}

// Rows of one CourseOrder (two stations each added one) load in one order
// on every data source: by their serial.
TEST_F(SessionCourseTest, RowsOfOneOrderLoadInTheOrderOfTheirSerials)
{
    const CourseKey key = course().getKey();
    addSession("m", key, 0);
    addSession("z", key, 1);
    addSession("b", key, 0);
    addSession("k", key, 0);
    SessionTable t(database);
    ASSERT_TRUE(t.open(""));
    EXPECT_EQ(ordered(t.loadCourseSessions(key)), (Names{"b:0", "k:0", "m:0", "z:1"}));
}

TEST_F(SessionCourseTest, CourseRowsRoundTripAndCount)
{
    CourseTable t(database);
    ASSERT_TRUE(t.open(""));
    CourseRecord c = course();
    c.DefaultScenario = "Sc";
    c.Note = "n";
    ASSERT_TRUE(t.AddNew());
    t.setRecord(c);
    ASSERT_TRUE(t.Update());
    ASSERT_TRUE(t.MoveFirst());
    CourseRecord r = t.getRecord();
    EXPECT_EQ(std::vector<std::string>({r.Instructor, r.Date, r.Time, r.DefaultScenario, r.Note}),
              std::vector<std::string>({"O'Brien", "2006-03-05", "09:30", "Sc", "n"}));
    EXPECT_EQ(t.count(CourseKey("O'BRIEN", "2006-03-05", "09:30")), 1);
    EXPECT_EQ(t.count(CourseKey("O'Brien", "2006-3-5", "09:30")), 0);
    EXPECT_TRUE(t.IsEOF());
    ASSERT_TRUE(t.MoveFirst());
    EXPECT_EQ(t.getField("DATE"), "2006-03-05");

    dbtest::FakeCombo combo;
    combo.entries = {"O'Brien on 2006-03-05 at 09:30"};
    combo.text = combo.entries[0];
    t.fillCourseCombo(combo);
    EXPECT_EQ(combo.entries, (Names{"O'Brien on 2006-03-05 at 09:30"}));
    EXPECT_EQ(combo.text, "O'Brien on 2006-03-05 at 09:30");
}

TEST_F(SessionCourseTest, RenameAndRemoveCarryTheCoursesSessions)
{
    CourseKey key("O'Brien", "2006-03-05", "09:30");
    for (const char* serial : {"s1", "s2", "s3"})
        addSession(serial, key, 0);
    addSession("same-instructor", CourseKey("O'Brien", "2006-03-05", "11:00"), 0);
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('O''Brien', '2006-03-05', '09:30')");
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('O''Brien', '2006-03-05', '11:00')");

    CourseTable courses(database);
    SessionTable sessions(database);
    ASSERT_TRUE(courses.open("") && sessions.open(""));
    CourseKey moved("Anna", "2006-03-06", "09:30");
    EXPECT_TRUE(courses.rename(key, moved));
    EXPECT_EQ(serials("CourseInstructor = 'Anna'"), (Names{"s1", "s2", "s3"}));
    EXPECT_EQ(serials("CourseInstructor = 'O''Brien'"), (Names{"same-instructor"}));
    EXPECT_EQ(sessions.count("s1"), 1); // refreshed: still there, under the new key
    EXPECT_EQ(sessions.loadCourseSessions(moved).size(), 3u);

    exec("UPDATE Course SET Instructor = 'Anna', Date = '2006-03-06' WHERE Time = '09:30'");
    EXPECT_TRUE(courses.remove(CourseKey("anna", "2006-03-06", "09:30"), true));
    EXPECT_EQ(serials(""), (Names{"same-instructor"}));
    EXPECT_EQ(dbtest::column(courses, &CourseTable::Time), (Names{"11:00"})); // refreshed
    EXPECT_EQ(dbtest::column(sessions, &SessionTable::Serialidentifier), (Names{"same-instructor"}));

    EXPECT_TRUE(courses.remove(CourseKey("O'Brien", "2006-03-05", "11:00"), false));
    EXPECT_EQ(serials(""), (Names{"same-instructor"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course"), "0");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SessionCourseTest, RemovingASessionRefreshesTheOpenTables)
{
    addSession("s1", CourseKey(), 0);
    addSession("s2", CourseKey(), 0);
    SessionTable a(database), b(database);
    ASSERT_TRUE(a.open("") && b.open(""));
    EXPECT_TRUE(a.remove("s1", true));
    EXPECT_EQ(dbtest::column(b, &SessionTable::Serialidentifier), (Names{"s2"}));
}

// The course planner's editor logic, without its window.
class CourseEditor : public DatabaseDialog<CourseTable> {
public:
    CourseEditor() { table = &courses; }
    void showRecord(const CourseRecord& rec) override { shown = rec; }
    CourseRecord readRecord() override { return shown; }
    bool isChanged() override { return !(shown.getKey() == record.getKey()) || shown.Note != record.Note; }
    void enableButtons(int) override {}
    std::wstring messageText(int number) override { return L"prompt " + std::to_wstring(number); }
    void notifyChanged() override { tablePool.refresh(tableKind::Course); }

    CourseTable courses{database};
    CourseRecord shown;
};

TEST_F(SessionCourseTest, SavingACourseUnderANewKeyMovesItsSessions)
{
    CourseKey key("O'Brien", "2006-03-05", "09:30");
    addSession("s1", key, 0);
    addSession("s2", key, 1);
    addSession("later", CourseKey("O'Brien", "2006-03-05", "11:00"), 0);
    exec("INSERT INTO Course (Instructor, Date, Time, Note) VALUES ('O''Brien', '2006-03-05', '09:30', 'n')");

    CourseEditor editor;
    ASSERT_TRUE(editor.courses.open(""));
    EXPECT_FALSE(editor.moveToRecord(RecordKey<CourseRecord>::withKey(CourseKey("o'brien", "2006-03-05", "09:30"))));
    EXPECT_EQ(editor.shown.Note, "n");
    editor.shown.Instructor = "Anna";
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(scalar("SELECT Instructor FROM Course"), "Anna");
    EXPECT_EQ(serials("CourseInstructor = 'Anna'"), (Names{"s1", "s2"}));
    EXPECT_EQ(serials("CourseInstructor = 'O''Brien'"), (Names{"later"}));

    editor.shown.Time = "";
    EXPECT_FALSE(editor.save()); // an incomplete key is refused
    EXPECT_EQ(scalar("SELECT Time FROM Course"), "09:30");
}

} // namespace
