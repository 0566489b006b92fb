// Four station processes on one database run a seeded random mix of what
// instructors do at once: edit persons, courses and recorded sessions,
// rename an instructor, add and delete persons, add participants, store a
// course's schedule. Each logs what it was told; afterwards the rules of
// rows that several stations share are checked against the logs and the
// rows: nothing reported stored is lost without its user being told,
// nothing refused is stored, no person twice, no session of no course, no
// deleted row back, no "?" written for a letter a station could not show.
//
// TAVO_SOAK_SEED=<n> runs that seed alone, TAVO_SOAK_STEPS=<n> sets the
// steps per station (a longer run by hand).
#include "Database/CourseTable.h"
#include "Database/DatabaseDialog.h"
#include "Database/DbText.h"
#include "Database/OdbcUtil.h"
#include "Database/PersonTable.h"
#include "Database/SessionTable.h"
#include "Utillib/GString.h"
#include "platform/CodePage.h"

#include "DbTestSupport.h"
#include "StationEditor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

namespace {

constexpr int stations = 4;

using PersonEditor = dbtest::StationEditor<PersonTable, tableKind::Person>;
using CourseEditor = dbtest::StationEditor<CourseTable, tableKind::Course>;
using SessionEditor = dbtest::StationEditor<SessionTable, tableKind::Session>;

// One line of a station's log.
struct Entry {
    std::string kind;    // "field", "added", "deleted", "participant", "store"
    std::string subject; // the field, or the name or serial
    std::string base;    // for a field: the value the user was shown
    std::string value;   // for a field: the value the user entered
    std::string outcome; // "done", "told" (done over another station's change), "refused"
    long long begin = 0; // microseconds on the machine's monotonic clock
    long long end = 0;
};

long long now()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string logPath(const std::string& dir, int station) { return dir + "/station" + std::to_string(station) + ".log"; }

// Ids of the rows every station works on, stored before the stations start.
struct Fixture {
    std::int64_t ben = 0;    // a person whose phone the stations change
    std::int64_t tanaka = 0; // a person whose name no station can show
    std::vector<std::string> recorded; // serials of planned sessions in Dan's course
};

// The stations, with `database` as each process's own connection.
class Station {
public:
    Station(int number, unsigned seed, const Fixture& fixture, dbtest::FakeUi& ui)
        : number(number), random(seed * 31 + static_cast<unsigned>(number)), fixture(fixture), ui(ui)
    {
    }

    void run(int steps, std::ostream& log)
    {
        for (step = 0; step < steps; ++step) {
            ui.boxes.clear();
            switch (std::uniform_int_distribution<int>(0, 8)(random)) {
            case 0: editPersonField(fixture.ben, "Ben.Phone", &PersonRecord::Phone, log); break;
            case 1: editPersonField(fixture.tanaka, "Tanaka.Phone", &PersonRecord::Phone, log); break;
            case 2: editCourse("2026-12-01", "DanCourse.Note", false, log); break;
            case 3: editCourse("2026-12-03", "TanakaCourse.Note", true, log); break;
            case 4: reviewSession(log); break;
            case 5: renameInstructor(log); break;
            case 6: addOrDeletePerson(log); break;
            case 7: addParticipant(log); break;
            case 8: storeSchedule(log); break;
            }
        }
    }

private:
    std::string token() { return "s" + std::to_string(number) + "t" + std::to_string(step); }
    void pause() { std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(random))); }
    bool told() const
    {
        for (const dbtest::FakeUi::Box& box : ui.boxes)
            if (box.text.find(L"Another station changed the same fields") != std::wstring::npos)
                return true;
        return false;
    }
    static void write(std::ostream& log, const Entry& e)
    {
        log << e.kind << '\t' << e.subject << '\t' << e.base << '\t' << e.value << '\t' << e.outcome << '\t' << e.begin
            << '\t' << e.end << '\n';
        log.flush();
    }
    template <class Editor>
    void saveField(Editor& editor, const std::string& field, const std::string& base, const std::string& value,
                   long long begin, std::ostream& log)
    {
        bool saved = editor.save();
        write(log, {"field", field, base, value, saved ? (told() ? "told" : "done") : "refused", begin, now()});
    }

    void editPersonField(std::int64_t id, const std::string& field, std::string PersonRecord::*member, std::ostream& log)
    {
        PersonEditor editor(database);
        if (!editor.rows.open("") || !editor.showRow(id))
            return;
        long long begin = now();
        std::string base = editor.shown.*member;
        pause();
        editor.shown.*member = token();
        saveField(editor, field, base, token(), begin, log);
    }

    // A course's note, found by its date; with `moveTime` its time changes
    // too now and then, which gives it a new key that its sessions follow.
    void editCourse(const std::string& date, const std::string& field, bool moveTime, std::ostream& log)
    {
        CourseEditor editor(database);
        if (!editor.rows.open(""))
            return;
        std::int64_t id = 0;
        for (editor.rows.MoveFirst(); editor.rows.IsOpen() && !editor.rows.IsEOF(); editor.rows.MoveNext())
            if (editor.rows.getRecord().Date == date)
                id = editor.rows.GetRowId();
        if (id == 0 || !editor.showRow(id))
            return;
        long long begin = now();
        std::string base = editor.shown.Note;
        pause();
        editor.shown.Note = token();
        if (moveTime && std::uniform_int_distribution<int>(0, 2)(random) == 0)
            editor.shown.Time = editor.shown.Time == "11:00" ? "11:30" : "11:00";
        saveField(editor, field, base, token(), begin, log);
    }

    // A planned session is read when its recording starts and reviewed
    // after it: the note is what the user saw then.
    void reviewSession(std::ostream& log)
    {
        const std::string& serial = fixture.recorded[std::uniform_int_distribution<std::size_t>(0, fixture.recorded.size() - 1)(random)];
        SessionEditor editor(database);
        if (!editor.rows.open("") || editor.moveToRecord(RecordKey<SessionRecord>::withKey(serial)))
            return;
        SessionRecord started = editor.shown;
        long long begin = now();
        pause();
        if (editor.moveToRecord(started))
            return;
        editor.measureFrom(started);
        editor.shown = started;
        editor.shown.Note = token();
        saveField(editor, "Recorded.Note", started.Note, token(), begin, log);
    }

    // Ann becomes Anne and back: her course and its sessions follow.
    void renameInstructor(std::ostream& log)
    {
        PersonEditor editor(database);
        if (!editor.rows.open(""))
            return;
        bool isAnn = !editor.moveToRecord(RecordKey<PersonRecord>::withKey("Ann"));
        if (!isAnn && editor.moveToRecord(RecordKey<PersonRecord>::withKey("Anne")))
            return;
        long long begin = now();
        pause();
        editor.shown.Name = isAnn ? "Anne" : "Ann";
        bool saved = editor.save();
        write(log, {"rename", isAnn ? "Ann" : "Anne", "", editor.shown.Name, saved ? "done" : "refused", begin, now()});
    }

    // A person of this station's own is added, or any station's is deleted.
    void addOrDeletePerson(std::ostream& log)
    {
        PersonEditor editor(database);
        if (!editor.rows.open(""))
            return;
        long long begin = now();
        if (std::uniform_int_distribution<int>(0, 1)(random) == 0) {
            PersonRecord added;
            added.Name = "Temp " + token();
            editor.newEntry(added);
            bool saved = editor.save();
            write(log, {"added", added.Name, "", "", saved ? "done" : "refused", begin, now()});
            return;
        }
        std::vector<std::string> temporary;
        for (const std::string& name : names())
            if (name.rfind("Temp ", 0) == 0)
                temporary.push_back(name);
        if (temporary.empty())
            return;
        std::string name = temporary[std::uniform_int_distribution<std::size_t>(0, temporary.size() - 1)(random)];
        if (editor.moveToRecord(RecordKey<PersonRecord>::withKey(name)))
            return;
        pause();
        bool deleted = editor.deleteRecord(false);
        write(log, {"deleted", name, "", "", deleted ? "done" : "refused", begin, now()});
    }

    void addParticipant(std::ostream& log)
    {
        static const char* const pool[] = {"Pia", "Quinn", "Rosa", "Sven"};
        PersonTable persons(database);
        if (!persons.open(""))
            return;
        std::string name = pool[std::uniform_int_distribution<int>(0, 3)(random)];
        long long begin = now();
        bool added = persons.addIfNew(name, false);
        write(log, {"participant", name, "", "", added ? "done" : "refused", begin, now()});
    }

    // Ann's (or Anne's) course gets a session of this station's own.
    void storeSchedule(std::ostream& log)
    {
        CourseTable courses(database);
        SessionTable sessions(database);
        if (!courses.open("") || !sessions.open(""))
            return;
        CourseRecord course;
        bool found = false;
        for (courses.MoveFirst(); courses.IsOpen() && !courses.IsEOF(); courses.MoveNext()) {
            CourseRecord r = courses.getRecord();
            if (r.Date == "2026-12-02") {
                course = r;
                found = true;
                break;
            }
        }
        if (!found)
            return;
        CourseSchedule schedule;
        schedule.load(sessions.loadCourseSessions(course.getKey()));
        long long begin = now();
        pause();
        SessionRecord added;
        added.Serialidentifier = "q" + std::to_string(number) + zeroPad(step, 12);
        added.PersonVentilation = "Pia";
        schedule.rows().push_back(added);
        schedule.rows().push_back(SessionRecord());
        schedule.rows().back().Serialidentifier = "r" + std::to_string(number) + zeroPad(step, 12);
        bool stored = sessions.saveCourseSessions(course, schedule);
        write(log, {"store", added.Serialidentifier, "", "", stored ? "done" : "refused", begin, now()});
    }

    std::vector<std::string> names()
    {
        PersonTable persons(database);
        std::vector<std::string> all;
        if (!persons.open(""))
            return all;
        for (persons.MoveFirst(); persons.IsOpen() && !persons.IsEOF(); persons.MoveNext())
            all.push_back(persons.getRecord().Name);
        return all;
    }

    int number;
    std::mt19937 random;
    const Fixture& fixture;
    dbtest::FakeUi& ui;
    int step = 0;
};

std::vector<Entry> readLog(const std::string& path)
{
    std::vector<Entry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry e;
        std::string begin;
        std::string end;
        std::getline(fields, e.kind, '\t');
        std::getline(fields, e.subject, '\t');
        std::getline(fields, e.base, '\t');
        std::getline(fields, e.value, '\t');
        std::getline(fields, e.outcome, '\t');
        std::getline(fields, begin, '\t');
        std::getline(fields, end, '\t');
        e.begin = std::stoll(begin);
        e.end = std::stoll(end);
        entries.push_back(e);
    }
    return entries;
}

class StationSoakTest : public dbtest::DbTest {
protected:
    std::int64_t idOf(const std::string& sql) { return std::stoll(scalar(sql)); }

    void storeFixture()
    {
        const bool pg = dbtest::usingPostgres();
        // 田中, written by a station that can show it.
        const std::string tanaka = pg ? "chr(30000) || chr(20013)" : "char(30000, 20013)";
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Ann', TRUE), ('Ben', FALSE), ('Dan', TRUE)");
        exec("INSERT INTO Person (Name, Instructor) VALUES (" + tanaka + ", TRUE)");
        exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Dan', '2026-12-01', '09:00'), ('Ann', '2026-12-02', "
             "'10:00')");
        exec("INSERT INTO Course (Instructor, Date, Time) VALUES (" + tanaka + ", '2026-12-03', '11:00')");
        for (int i = 0; i < 3; ++i) {
            std::string serial = "p" + zeroPad(i, 13);
            exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder, Note, "
                 "PersonVentilation) VALUES ('" + serial + "', 'Dan', '2026-12-01', '09:00', " + std::to_string(i)
                 + ", 'planned', 'Carl')");
            fixture.recorded.push_back(serial);
        }
        exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES "
             "('a0000000000000', 'Ann', '2026-12-02', '10:00', 0)");
        exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) VALUES "
             "('t0000000000000', " + tanaka + ", '2026-12-03', '11:00', 0)");
        fixture.ben = idOf("SELECT id FROM Person WHERE Name = 'Ben'");
        fixture.tanaka = idOf("SELECT id FROM Person WHERE Instructor = TRUE AND Name NOT IN ('Ann', 'Dan')");
    }

    // Runs the stations as processes of their own; false when one did not end well.
    bool runStations(unsigned seed, int steps, const std::string& dir)
    {
        database.close();
        databaseOpen = false;
        std::vector<pid_t> children;
        for (int s = 0; s < stations; ++s) {
            pid_t child = ::fork();
            if (child == 0) {
                // Every station reads names through a code page that cannot show 田中.
                platform::setAnsiCodePage(1252);
                if (!database.open("DSN=tavocpr"))
                    ::_exit(2);
                databaseOpen = true;
                std::ofstream log(logPath(dir, s));
                Station(s, seed, fixture, ui).run(steps, log);
                log.close();
                database.close();
                ::_exit(log ? 0 : 3);
            }
            children.push_back(child);
        }
        bool allEnded = true;
        for (pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            allEnded = allEnded && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        openDatabase();
        return allEnded && databaseOpen;
    }

    std::string fieldValue(const std::string& field)
    {
        if (field == "Ben.Phone")
            return scalar("SELECT Phone FROM Person WHERE id = " + std::to_string(fixture.ben));
        if (field == "Tanaka.Phone")
            return scalar("SELECT Phone FROM Person WHERE id = " + std::to_string(fixture.tanaka));
        if (field == "DanCourse.Note")
            return scalar("SELECT Note FROM Course WHERE Date = '2026-12-01'");
        if (field == "TanakaCourse.Note")
            return scalar("SELECT Note FROM Course WHERE Date = '2026-12-03'");
        return std::string();
    }

    void checkRules(const std::vector<Entry>& log)
    {
        // Fields: what is stored is the initial value or a stored change;
        // a change that is no longer stored was seen or told by a later save.
        std::map<std::string, std::vector<const Entry*>> writes;
        for (const Entry& e : log)
            if (e.kind == "field")
                writes[e.subject].push_back(&e);
        for (auto& [field, list] : writes) {
            if (field == "Recorded.Note") {
                checkRecordedNotes(list);
                continue;
            }
            checkField(field, fieldValue(field), list);
        }

        // No person twice, ignoring case.
        std::vector<std::string> persons = column("SELECT Name FROM Person");
        for (std::size_t i = 0; i < persons.size(); ++i)
            for (std::size_t j = i + 1; j < persons.size(); ++j)
                EXPECT_FALSE(PersonRecord::keysEqual(persons[i], persons[j])) << "person twice: " << persons[i];
        // Every participant added once is there.
        for (const Entry& e : log) {
            if (e.kind == "participant" && e.outcome == "done") {
                EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = '" + e.subject + "'"), 1) << e.subject;
            }
        }

        // No session under a course key that no course has.
        EXPECT_EQ(count("SELECT COUNT(*) FROM Session s WHERE s.CourseInstructor <> '' AND NOT EXISTS (SELECT 1 FROM "
                        "Course c WHERE c.Instructor = s.CourseInstructor AND c.Date = s.CourseDate AND c.Time = "
                        "s.CourseTime)"),
                  0)
            << "sessions of no course: "
            << joined(column("SELECT s.Serialidentifier || ' ' || s.CourseInstructor FROM Session s WHERE "
                             "s.CourseInstructor <> '' AND NOT EXISTS (SELECT 1 FROM Course c WHERE c.Instructor = "
                             "s.CourseInstructor AND c.Date = s.CourseDate AND c.Time = s.CourseTime)"));
        // A stored schedule keeps its new session; a refused one stores none.
        for (const Entry& e : log) {
            if (e.kind == "store") {
                EXPECT_EQ(count("SELECT COUNT(*) FROM Session WHERE Serialidentifier = '" + e.subject + "'"),
                          e.outcome == "done" ? 1 : 0)
                    << e.subject << " " << e.outcome;
            }
        }
        EXPECT_EQ(count("SELECT COUNT(*) FROM Session WHERE Serialidentifier LIKE 'r%'"), 0) << "a placeholder was stored";

        // Deleted rows stay deleted; added ones that were not deleted stay.
        std::set<std::string> deleted;
        for (const Entry& e : log) {
            if (e.kind == "deleted" && e.outcome == "done") {
                EXPECT_TRUE(deleted.insert(e.subject).second) << e.subject << " deleted twice";
            }
        }
        for (const Entry& e : log) {
            if (e.kind == "added") {
                EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = '" + e.subject + "'"),
                          e.outcome == "done" && !deleted.count(e.subject) ? 1 : 0)
                    << e.subject;
            }
        }

        // No letter lost to a code page is written back as "?".
        for (const char* sql : {"SELECT COUNT(*) FROM Person WHERE Name LIKE '%?%' OR Phone LIKE '%?%'",
                                "SELECT COUNT(*) FROM Course WHERE Instructor LIKE '%?%' OR Note LIKE '%?%'",
                                "SELECT COUNT(*) FROM Session WHERE CourseInstructor LIKE '%?%' OR Note LIKE '%?%' OR "
                                "PersonVentilation LIKE '%?%'"})
            EXPECT_EQ(count(sql), 0) << sql;
        EXPECT_EQ(count("SELECT COUNT(*) FROM Course WHERE Date = '2026-12-03'"), 1);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Session WHERE CourseDate = '2026-12-03' AND CourseInstructor = (SELECT "
                        "Instructor FROM Course WHERE Date = '2026-12-03')"),
                  1)
            << "the course whose instructor no station can show keeps its session";
    }

    // A stored change that is gone was written over by a later save that
    // had shown it, or whose user was told.
    static bool accountedFor(const Entry& w, const std::vector<const Entry*>& list)
    {
        for (const Entry* later : list)
            if (later != &w && later->outcome != "refused" && later->end > w.begin
                && (later->base == w.value || later->outcome == "told"))
                return true;
        return false;
    }

    void checkField(const std::string& field, const std::string& stored, const std::vector<const Entry*>& list)
    {
        bool fromStoredChange = stored.empty();
        for (const Entry* w : list) {
            if (w->value == stored) {
                EXPECT_NE(w->outcome, "refused") << field << ": a refused change was stored: " << stored;
                fromStoredChange = true;
            }
        }
        EXPECT_TRUE(fromStoredChange) << field << " holds " << stored << ", which no station stored";
        for (const Entry* w : list) {
            if (w->outcome == "refused" || w->value == stored)
                continue;
            EXPECT_TRUE(accountedFor(*w, list)) << field << ": " << w->value << " was stored and then lost without a word";
        }
    }

    // The recorded sessions' notes: the same rule per session, by its value's prefix.
    void checkRecordedNotes(const std::vector<const Entry*>& list)
    {
        std::set<std::string> stored;
        for (const std::string& serial : fixture.recorded)
            stored.insert(scalar("SELECT Note FROM Session WHERE Serialidentifier = '" + serial + "'"));
        for (const Entry* w : list) {
            if (w->outcome == "refused") {
                EXPECT_FALSE(stored.count(w->value)) << "a refused review was stored: " << w->value;
                continue;
            }
            if (stored.count(w->value))
                continue;
            EXPECT_TRUE(accountedFor(*w, list)) << "review " << w->value << " was stored and then lost without a word";
        }
    }

    std::vector<std::string> column(const std::string& sql)
    {
        std::vector<std::string> values;
        odbc::Statement st(database);
        std::string text = dbtext::toUtf8(sql);
        if (!st.ok || !SQL_SUCCEEDED(SQLExecDirect(st.handle, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS)))
            return values;
        while (SQL_SUCCEEDED(SQLFetch(st.handle))) {
            std::string value;
            bool isNull = false;
            if (odbc::readBytes(st.handle, 1, value, isNull, st.error))
                values.push_back(value);
        }
        return values;
    }
    int count(const std::string& sql) { return std::stoi("0" + scalar(sql)); }
    static std::string joined(const std::vector<std::string>& values)
    {
        std::string out;
        for (const std::string& v : values)
            out += v + "; ";
        return out;
    }

    Fixture fixture;
};

std::vector<unsigned> seeds()
{
    if (const char* seed = std::getenv("TAVO_SOAK_SEED"))
        return {static_cast<unsigned>(std::strtoul(seed, nullptr, 10))};
    return {1, 2, 3};
}

int stepsPerStation()
{
    const char* steps = std::getenv("TAVO_SOAK_STEPS");
    return steps ? std::atoi(steps) : 12;
}

TEST_F(StationSoakTest, FourStationsKeepTheRulesOfSharedRows)
{
    for (unsigned seed : seeds()) {
        SCOPED_TRACE("TAVO_SOAK_SEED=" + std::to_string(seed));
        std::string failure;
        database.close();
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        openDatabase();
        ASSERT_TRUE(databaseOpen);
        fixture = Fixture();
        ASSERT_NO_FATAL_FAILURE(storeFixture());
        testsupport::TempDir dir;
        ASSERT_TRUE(runStations(seed, stepsPerStation(), dir.path()));
        std::vector<Entry> log;
        for (int s = 0; s < stations; ++s) {
            std::vector<Entry> own = readLog(logPath(dir.path(), s));
            log.insert(log.end(), own.begin(), own.end());
        }
        EXPECT_GE(log.size(), static_cast<std::size_t>(stations * stepsPerStation() / 2)) << "the stations did their steps";
        checkRules(log);
        if (HasFailure()) {
            std::cout << "Failed with TAVO_SOAK_SEED=" << seed << "\n";
            return;
        }
    }
}

} // namespace
