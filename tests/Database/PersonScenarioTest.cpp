#include "Database/CourseTable.h"
#include "Database/DatabaseDialog.h"
#include "Database/EventTable.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionTable.h"
#include "Database/Transaction.h"
#include "Utillib/GString.h"
#include "platform/CodePage.h"

#include "DbTestSupport.h"
#include "FakeCombo.h"
#include "StationProcesses.h"
#include "TestRecordsets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Names = std::vector<std::string>;

// Names that a careless statement would break on.
const char* const trickyName = "O'Brien'); DELETE FROM Session; --";

class PersonScenarioTest : public dbtest::DbTest {
protected:
    void insert(const std::string& table, const std::string& columns, const std::string& values)
    {
        exec("INSERT INTO " + table + " (" + columns + ") VALUES (" + values + ")");
    }
    static std::string q(const std::string& text) { return "'" + DBUtil::quote(text) + "'"; }
    // One column of every row, in the order they were stored.
    Names column(const std::string& table, const std::string& col)
    {
        Names values;
        int n = std::stoi(scalar("SELECT COUNT(*) FROM " + table));
        for (int i = 0; i < n; ++i)
            values.push_back(scalar("SELECT " + col + " FROM " + table + " ORDER BY id LIMIT 1 OFFSET " + std::to_string(i)));
        return values;
    }
};

TEST_F(PersonScenarioTest, PersonsRoundTripAndAreAddedOnlyWhenNew)
{
    insert("Person", "Name, Instructor, Phone", "'Anna', TRUE, '123'");
    PersonTable t(database);
    EXPECT_FALSE(t.addIfNew("Bert", false)); // not open
    ASSERT_TRUE(t.open(""));
    PersonRecord anna = t.getRecord();
    EXPECT_EQ(anna.Name, "Anna");
    EXPECT_EQ(anna.Instructor, 1);
    EXPECT_EQ(anna.Phone, "123");

    EXPECT_FALSE(t.addIfNew("anna", false));
    EXPECT_FALSE(t.addIfNew("", true));
    EXPECT_TRUE(t.addIfNew(trickyName, true));
    EXPECT_FALSE(t.addIfNew(trickyName, true)); // seen by the same table without a refresh
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "2");
    ASSERT_TRUE(t.restart());
    ASSERT_TRUE(t.MoveLast());
    PersonRecord added = t.getRecord();
    EXPECT_EQ(added.Name, trickyName);
    EXPECT_EQ(added.CPRCourses, "0");
    EXPECT_EQ(added.Resuscitations, "0");
    EXPECT_EQ(added.Address, "");
    EXPECT_EQ(added.Instructor, 1);

    EXPECT_EQ(t.getField("Name"), t.getField("name"));
    testsupport::LogCapture log;
    EXPECT_EQ(t.getField("instructor"), "");
    EXPECT_TRUE(log.hasAssertion("false"));
    EXPECT_EQ(t.countWhere("Name", trickyName), 1);
    EXPECT_EQ(t.m_strFilter, "");
}

// Another station added the person after this table read its rows: the
// name is looked for when it is to be inserted, not in the rows read before.
TEST_F(PersonScenarioTest, APersonAnotherStationAddedMeanwhileIsNotAddedAgain)
{
    PersonTable t(database);
    ASSERT_TRUE(t.open(""));
    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(other.execute("INSERT INTO Person (Name, Instructor) VALUES ('Dana Fox', FALSE)"));
        other.close();
    }
    EXPECT_FALSE(t.addIfNew("dana FOX", false));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "1");
    EXPECT_TRUE(t.addIfNew("Eli Gold", false));
    EXPECT_EQ(column("Person", "Name"), (Names{"Dana Fox", "Eli Gold"}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PersonScenarioTest, AFailedAddIsAFailureAndIsLogged)
{
    PersonTable t(database);
    ASSERT_TRUE(t.open(""));
    exec("DROP TABLE Person");
    testsupport::LogCapture log;
    EXPECT_FALSE(t.addIfNew("Carl", false));
    EXPECT_NE(log.text().find("Person 'Carl' could not be added"), std::string::npos);
}

// Two planners add the same new participant at the same moment, round by
// round, each station in a process of its own: every name is stored once,
// and exactly one of them was told it added it.
TEST_F(PersonScenarioTest, TwoStationsAddingOneNewPersonAtOnceStoreItOnce)
{
    constexpr int rounds = 20;
    std::vector<int> adders;
    {
        dbtest::StationProcesses stations(2, [](int station, int round) {
            PersonTable persons(database);
            // The second station types the name in another letter case.
            const std::string name = (station == 0 ? "Guest " : "GUEST ") + std::to_string(round);
            return persons.open("") && persons.addIfNew(name, false);
        });
        ASSERT_TRUE(stations.started(2));
        for (int round = 0; round < rounds; ++round) {
            const std::vector<bool> added = stations.round();
            adders.push_back(static_cast<int>(std::count(added.begin(), added.end(), true)));
        }
    }
    ASSERT_TRUE(databaseOpen);
    EXPECT_EQ(adders, std::vector<int>(rounds, 1));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), std::to_string(rounds));
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT lower(Name)) FROM Person"), std::to_string(rounds));
}

// Inside a caller's transaction the look and the insert join it, and go
// with its rollback.
TEST_F(PersonScenarioTest, AnAddInsideACallersTransactionGoesWithIt)
{
    PersonTable t(database);
    ASSERT_TRUE(t.open(""));
    {
        Transaction outer(database);
        ASSERT_TRUE(outer.isOpen());
        EXPECT_TRUE(t.addIfNew("Hal", false));
        EXPECT_TRUE(database.inTransaction());
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "1");
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "0");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PersonScenarioTest, TheInstructorFilterListsInstructorsAndIsTakenBackAfterwards)
{
    insert("Person", "Name, Instructor", "'Anna', TRUE");
    insert("Person", "Name, Instructor", "'Bert', FALSE");
    PersonTable t(database);
    ASSERT_TRUE(t.open(""));
    dbtest::FakeCombo combo;
    for (const char* filter : {"Instructor = TRUE", "instructor = true"}) {
        combo.entries = {"Anna"};
        combo.text = "Anna";
        t.fillCombo(combo, "name", filter);
        EXPECT_EQ(combo.entries, (Names{"Anna"})) << filter;
        EXPECT_EQ(combo.text, "Anna");
        EXPECT_EQ(t.m_strFilter, "");
        EXPECT_EQ(t.count("Bert"), 1);
    }
}

TEST_F(PersonScenarioTest, RenamingAPersonReachesEverySessionAndCourse)
{
    const std::string old = trickyName;
    insert("Session", "Serialidentifier, PersonVentilation", "'s1', " + q("o'brien'); delete from session; --"));
    insert("Session", "Serialidentifier, PersonChestCompression, ApprovedBy", "'s2', " + q(old) + ", " + q(old));
    insert("Session", "Serialidentifier, CourseInstructor", "'s3', " + q(old));
    insert("Session", "Serialidentifier, PersonVentilation", "'s4', 'Other'");
    insert("Course", "Instructor, Date, Time", q(old) + ", '2006-03-05', '09:30'");
    PersonTable persons(database);
    SessionTable sessions(database);
    CourseTable courses(database);
    ASSERT_TRUE(persons.open("") && sessions.open("") && courses.open(""));

    EXPECT_TRUE(persons.rename(old, "New"));
    EXPECT_EQ(column("Session", "PersonVentilation"), (Names{"New", "", "", "Other"}));
    EXPECT_EQ(column("Session", "PersonChestCompression"), (Names{"", "New", "", ""}));
    EXPECT_EQ(column("Session", "ApprovedBy"), (Names{"", "New", "", ""}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (Names{"", "", "New", ""}));
    EXPECT_EQ(dbtest::column(courses, &CourseTable::Instructor), (Names{"New"})); // refreshed
    EXPECT_EQ(dbtest::column(sessions, &SessionTable::PersonVentilation), (Names{"New", "", "", "Other"}));

    EXPECT_TRUE(persons.remove("new", false));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "4");
    insert("Person", "Name", "'New'");
    insert("Person", "Name", "'Keep'");
    EXPECT_TRUE(persons.remove("New", true));
    EXPECT_EQ(column("Session", "Serialidentifier"), (Names{"s4"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course"), "0");
    EXPECT_EQ(dbtest::column(persons, &PersonTable::Name), (Names{"Keep"}));
    EXPECT_EQ(dbtest::column(sessions, &SessionTable::Serialidentifier), (Names{"s4"}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PersonScenarioTest, CourseCascadesFindTheInstructorInEveryLetterCase)
{
    // The course names "ärzte" and its sessions "Ärzte" and "ÄRZTE", as a change of case alone leaves them.
    insert("Course", "Instructor, Date, Time", "'\xE4rzte', '2006-03-05', '09:30'");
    struct Row {
        const char* serial;
        const char* instructor;
        const char* time;
    };
    for (const Row& r : {Row{"s1", "\xC4rzte", "09:30"}, Row{"s2", "\xC4RZTE", "09:30"}, Row{"s3", "\xC4rzte", "11:00"},
                         Row{"s4", "Bert", "09:30"}})
        insert("Session", "Serialidentifier, CourseInstructor, CourseDate, CourseTime",
               q(r.serial) + ", " + q(r.instructor) + ", '2006-03-05', " + q(r.time));
    CourseTable courses(database);
    ASSERT_TRUE(courses.open(""));

    EXPECT_TRUE(courses.rename(CourseKey("\xE4rzte", "2006-03-05", "09:30"), CourseKey("\xE4rzte", "2006-03-06", "10:00")));
    EXPECT_EQ(column("Session", "CourseDate || ' ' || CourseTime"),
              (Names{"2006-03-06 10:00", "2006-03-06 10:00", "2006-03-05 11:00", "2006-03-05 09:30"}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (Names{"\xE4rzte", "\xE4rzte", "\xC4rzte", "Bert"}));

    exec("UPDATE Course SET Instructor = '\xC4RZTE', Date = '2006-03-06', Time = '10:00'");
    EXPECT_TRUE(courses.remove(CourseKey("\xE4rzte", "2006-03-06", "10:00"), true));
    EXPECT_EQ(column("Session", "Serialidentifier"), (Names{"s3", "s4"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course"), "0");
    EXPECT_TRUE(ui.boxes.empty());
}

// The station's code page, put back to Western when the test ends.
struct StationCodePage {
    explicit StationCodePage(unsigned codePage) { EXPECT_TRUE(platform::setAnsiCodePage(codePage)); }
    ~StationCodePage() { platform::setAnsiCodePage(1252); }
};

// SQL for a text of these code points followed by `rest`, on either data source.
std::string codePoints(const std::vector<unsigned>& letters, const std::string& rest)
{
    std::string sql;
    for (unsigned c : letters)
        sql += (sql.empty() ? "" : " || ") + std::string(dbtest::usingPostgres() ? "chr(" : "char(") + std::to_string(c) + ")";
    return sql + " || '" + rest + "'";
}

// Two names that read alike on a station whose code page lacks their
// letters: 田中 and 山田 both read "??" in Western (1252), 𠮷田 and 𡈽田 both
// "?田" in Japanese (932). A name read that way must never pick rows: what
// would name both is refused, and a course picks its rows by its stored name.
// The person editor deletes by the row's id and cascades only when no other
// row carries the name: a name that merely reads like another's here must
// not let the row go without its sessions, nor pick the other's.
TEST_F(PersonScenarioTest, TheEditorRefusesToDeleteANameThatReadsLikeAnother)
{
    const std::string tanaka = codePoints({0x7530, 0x4E2D}, ""), yamada = codePoints({0x5C71, 0x7530}, "");
    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        for (const std::string& sql : {"INSERT INTO Person (Name) VALUES (" + tanaka + ")",
                                       "INSERT INTO Person (Name) VALUES (" + yamada + ")",
                                       "INSERT INTO Session (Serialidentifier, PersonVentilation) VALUES ('t', " + tanaka + ")"})
            ASSERT_TRUE(other.execute(sql)) << other.lastError().text;
        other.close();
    }
    StationCodePage station(1252);
    struct PersonEditor : DatabaseDialog<PersonTable> {
        PersonTable persons{database};
        PersonRecord shown;
        PersonEditor() { table = &persons; }
        void showRecord(const PersonRecord& rec) override { shown = rec; }
        PersonRecord readRecord() override { return shown; }
        bool isChanged() override { return false; }
        void enableButtons(int) override {}
        std::wstring messageText(int) override { return L"prompt"; }
        void notifyChanged() override {}
    } editor;
    editor.persons.m_strSort = "id";
    ASSERT_TRUE(editor.persons.open(""));
    editor.onFirst();
    ASSERT_EQ(editor.shown.Name, "??");
    ui.answers = {dbui::IDYES};
    EXPECT_FALSE(editor.deleteRecord(true));
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back().text, DBUtil::unshownNameMessage());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
}

TEST_F(PersonScenarioTest, NamesThatReadAlikeHereAreNeverPickedByTheirReading)
{
    struct Case {
        unsigned codePage;
        std::vector<unsigned> a, b;
        std::wstring reading;
    };
    const Case cases[] = {{1252, {0x7530, 0x4E2D}, {0x5C71, 0x7530}, L"??"},
                          {932, {0x20BB7, 0x7530}, {0x2123D, 0x7530}, L"?\x7530"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        for (const char* table : {"Person", "Session", "Course", "Scenario", "Events"})
            exec(std::string("DELETE FROM ") + table);
        ui.boxes.clear();
        const std::string a = codePoints(c.a, ""), b = codePoints(c.b, "");
        const std::string aBls = codePoints(c.a, " BLS"), bBls = codePoints(c.b, " BLS");
        {
            // The station that stored them shows both names.
            Database other;
            ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
            for (const std::string& sql :
                 {"INSERT INTO Person (Name) VALUES (" + a + ")",
                  "INSERT INTO Session (Serialidentifier, PersonVentilation) VALUES ('s1', " + a + ")",
                  "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime) VALUES ('s2', " + b
                      + ", '2006-03-05', '09:30')",
                  "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime) VALUES ('s3', " + a
                      + ", '2006-03-05', '09:30')",
                  "INSERT INTO Course (Instructor, Date, Time) VALUES (" + a + ", '2006-03-05', '09:30')",
                  "INSERT INTO Course (Instructor, Date, Time) VALUES (" + b + ", '2006-03-05', '09:30')",
                  "INSERT INTO Scenario (Name) VALUES (" + aBls + ")", "INSERT INTO Scenario (Name) VALUES (" + bBls + ")",
                  "INSERT INTO Events (Scenario, Name) VALUES (" + aBls + ", 'a')",
                  "INSERT INTO Events (Scenario, Name) VALUES (" + bBls + ", 'b')"})
                ASSERT_TRUE(other.execute(sql)) << other.lastError().text;
            other.close();
        }
        StationCodePage station(c.codePage);
        const std::string reading = GString::to_string(c.reading);
        auto rows = [this](const std::string& where) { return scalar("SELECT COUNT(*) FROM " + where); };
        auto refused = [this](std::size_t boxes) {
            ASSERT_EQ(ui.boxes.size(), boxes);
            EXPECT_EQ(ui.boxes.back().text, DBUtil::unshownNameMessage());
            EXPECT_FALSE(ui.boxes.back().duringTransaction);
        };

        PersonTable persons(database);
        ASSERT_TRUE(persons.open(""));
        ASSERT_EQ(persons.Name, reading);
        EXPECT_FALSE(persons.rename(persons.Name, "Tanaka"));
        refused(1);
        {
            // As the person editor deletes: the row by its id, then the cascade.
            Transaction transaction(database);
            ASSERT_TRUE(persons.Delete());
            EXPECT_FALSE(persons.remove(reading, true));
            EXPECT_FALSE(transaction.commit());
        }
        refused(2);
        // The statements refuse it themselves, whoever calls them.
        EXPECT_FALSE(DBUtil::update(database, "Session", "PersonVentilation", reading, "Tanaka"));
        refused(3);
        EXPECT_EQ(rows("Person WHERE Name = " + a), "1");
        EXPECT_EQ(rows("Session WHERE PersonVentilation = " + a), "1");
        EXPECT_EQ(rows("Session WHERE CourseInstructor = " + b), "1");
        EXPECT_EQ(rows("Course"), "2");

        ScenarioTable scenarios(database);
        ASSERT_TRUE(scenarios.open(""));
        ASSERT_EQ(scenarios.Name, reading + " BLS");
        EXPECT_FALSE(scenarios.rename(scenarios.Name, "BLS"));
        EXPECT_FALSE(scenarios.remove(scenarios.Name, true));
        refused(5);
        ScenarioEvents events(scenarios.Name);
        std::vector<EventRecord> list;
        EXPECT_FALSE(events.edit(list));
        EXPECT_TRUE(list.empty());
        refused(6);
        // A live session of it gets the built-in buttons, not another scenario's events.
        EXPECT_EQ(events.load().size(), ScenarioEvents::defaultEvents(scenarios.Name).size());
        list = ScenarioEvents::defaultEvents(scenarios.Name);
        EXPECT_FALSE(events.save(list));
        refused(7);
        EXPECT_EQ(rows("Events WHERE Scenario = " + aBls), "1");
        EXPECT_EQ(rows("Events WHERE Scenario = " + bBls), "1");
        EXPECT_EQ(rows("Events WHERE Scenario LIKE '%?%'"), "0");
        EXPECT_EQ(rows("Scenario"), "2");

        // A course read from its row carries its instructor as stored.
        CourseTable courses(database);
        courses.m_strSort = "id";
        ASSERT_TRUE(courses.open(""));
        const CourseKey key = courses.getRecord().getKey();
        EXPECT_EQ(key.instructor, reading);
        EXPECT_FALSE(key.instructorShown());
        CourseKey moved = key;
        moved.date = "2006-03-06";
        EXPECT_TRUE(courses.rename(key, CourseKey(reading, "2006-03-06", "09:30")));
        EXPECT_EQ(rows("Session WHERE CourseDate = '2006-03-06' AND CourseInstructor = " + a), "1");
        EXPECT_EQ(rows("Session WHERE CourseDate = '2006-03-05' AND CourseInstructor = " + b), "1");
        EXPECT_EQ(rows("Session WHERE CourseInstructor LIKE '%?%'"), "0");
        // A key typed as this station reads it names either instructor.
        EXPECT_FALSE(courses.remove(CourseKey(reading, "2006-03-05", "09:30"), true));
        refused(8);
        EXPECT_TRUE(courses.remove(moved, true));
        EXPECT_EQ(rows("Session"), "2");
        EXPECT_EQ(rows("Session WHERE CourseInstructor = " + b), "1");
        EXPECT_EQ(ui.boxes.size(), 8u);
    }
}

TEST_F(PersonScenarioTest, ScenariosAreFoundIgnoringCaseElseGiveTheDefaults)
{
    insert("Scenario", "Name, Duration, Algorithm, RegisterEvents, TrainingMode", "'10 minute BLS (AHA)', 600, 'A', FALSE, 2");
    ScenarioTable t(database);
    EXPECT_EQ(t.findByName("10 minute BLS (AHA)").Name, ""); // not open
    ASSERT_TRUE(t.open(""));
    ScenarioRecord found = t.findByName("10 MINUTE bls (aha)");
    EXPECT_EQ(found.Name, "10 minute BLS (AHA)");
    EXPECT_EQ(found.Algorithm, "A");
    EXPECT_EQ(found.RegisterEvents, 0);
    EXPECT_EQ(found.TrainingMode, 2);
    EXPECT_FALSE(t.IsEOF()); // on the match

    ScenarioRecord missing = t.findByName("none");
    EXPECT_EQ(missing.Name, "");
    EXPECT_EQ(missing.Duration, 600);
    EXPECT_EQ(missing.Algorithm, "");
    EXPECT_EQ(missing.RegisterEvents, 1);
    EXPECT_EQ(missing.TrainingMode, 1);
    EXPECT_TRUE(t.IsEOF());

    ScenarioRecord r;
    r.setName(L"No limit");
    r.Duration = -1;
    ASSERT_TRUE(t.AddNew());
    t.setRecord(r);
    ASSERT_TRUE(t.Update());
    EXPECT_EQ(t.findByName("no limit").Duration, -1);
    EXPECT_EQ(t.count("NO LIMIT"), 1);
    EXPECT_EQ(t.getField("Algorithm"), "");
}

TEST_F(PersonScenarioTest, RenamingAndDeletingAScenarioReachEveryReference)
{
    const std::string old = trickyName;
    for (const char* serial : {"s1", "s2", "s3"})
        insert("Session", "Serialidentifier, Scenario", std::string("'") + serial + "', " + q(old));
    insert("Session", "Serialidentifier, Scenario", "'s4', 'Other'");
    for (int i = 0; i < 5; ++i)
        insert("Events", "Scenario, \"order\", Name", q(old) + ", " + std::to_string(i) + ", 'e" + std::to_string(i) + "'");
    insert("Course", "Instructor, Date, Time, DefaultScenario", "'I', '2006-03-05', '09:30', " + q(old));
    insert("Scenario", "Name", q(old));
    ScenarioTable scenarios(database);
    SessionTable sessions(database);
    CourseTable courses(database);
    dbtest::EventSet events;
    ASSERT_TRUE(scenarios.open("") && sessions.open("") && courses.open("") && events.Open("Events"));
    tablePool.add(&events, tableKind::Events);

    EXPECT_TRUE(scenarios.rename(old, "New"));
    EXPECT_EQ(column("Session", "Scenario"), (Names{"New", "New", "New", "Other"}));
    EXPECT_EQ(column("Events", "Scenario"), (Names(5, "New")));
    EXPECT_EQ(column("Course", "DefaultScenario"), (Names{"New"}));
    EXPECT_EQ(dbtest::column(courses, &CourseTable::DefaultScenario), (Names{"New"}));
    exec("UPDATE Scenario SET Name = 'New'");

    EXPECT_TRUE(scenarios.remove("NEW", true));
    EXPECT_EQ(column("Session", "Serialidentifier"), (Names{"s4"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Scenario"), "0");
    // The course stays, proposing nothing now.
    EXPECT_EQ(dbtest::column(courses, &CourseTable::DefaultScenario), (Names{""}));
    EXPECT_EQ(dbtest::column(sessions, &SessionTable::Serialidentifier), (Names{"s4"}));
    EXPECT_TRUE(dbtest::column(events, &dbtest::EventSet::Name).empty());

    // Without the cascade only the Scenario row goes; a later one of that name takes the events over.
    insert("Scenario", "Name", "'Kept'");
    insert("Events", "Scenario, Name", "'Kept', 'e'");
    EXPECT_TRUE(scenarios.remove("Kept", false));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events"), "1");
    EXPECT_EQ(ScenarioEvents("kept").load().size(), 1u);
    EXPECT_TRUE(ui.boxes.empty());
    tablePool.remove(&events);
}

TEST_F(PersonScenarioTest, EventsAreSavedNumberedAndLoadedInTheirOrder)
{
    ScenarioEvents events("O'Brien's");
    std::vector<EventRecord> list = events.load();
    ASSERT_EQ(list.size(), 7u); // the built-in list, not stored
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events"), "0");

    std::reverse(list.begin(), list.end());
    EXPECT_TRUE(events.save(list));
    EXPECT_EQ(list[0].Name, "Pulse");
    EXPECT_EQ(list[6].Order, 6);
    // Rows that move on disk (a server writes an updated row anew) still come back in their order.
    exec("UPDATE Events SET Scenario = 'elsewhere' WHERE Name = 'Airway'");
    exec("UPDATE Events SET Scenario = 'O''Brien''s' WHERE Name = 'Airway'");
    ScenarioTable scenarios(database);
    ASSERT_TRUE(scenarios.open(""));
    EXPECT_TRUE(scenarios.rename("O'Brien's", "Renamed"));
    EXPECT_TRUE(scenarios.rename("Renamed", "O'Brien's"));
    Names names;
    std::vector<int> orders;
    for (const EventRecord& e : events.load()) {
        names.push_back(e.Name);
        orders.push_back(e.Order);
    }
    EXPECT_EQ(names, (Names{"Pulse", "Breathing", "Head-tilt", "Airway", "Phone", "Shake & shout", "Own safety"}));
    EXPECT_EQ(orders, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));

    std::vector<EventRecord> none;
    EXPECT_TRUE(events.save(none));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events"), "0");
    EXPECT_EQ(events.load().size(), 7u);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PersonScenarioTest, AnEventSaveThatFailsAnywhereChangesNothing)
{
    bool pg = dbtest::usingPostgres();
    // The data source refuses to delete any event, or to insert one named "Bad".
    struct Case {
        const char* operation;
        const char* when;
    };
    for (const Case& c : {Case{"DELETE", "TRUE"}, Case{"INSERT", "NEW.Name = 'Bad'"}}) {
        exec("DELETE FROM Events");
        ScenarioEvents events("S");
        std::vector<EventRecord> list = events.load();
        ASSERT_TRUE(events.save(list));
        if (pg) {
            exec(std::string("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF ") + c.when
                 + " THEN RAISE EXCEPTION 'refused'; END IF; "
                 "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $$");
            exec(std::string("CREATE TRIGGER refuse BEFORE ") + c.operation
                 + " ON Events FOR EACH ROW EXECUTE FUNCTION refuse()");
        } else {
            exec(std::string("CREATE TRIGGER refuse BEFORE ") + c.operation + " ON Events WHEN " + c.when
                 + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        }
        list.resize(3);
        list[1].Name = "Bad";
        EXPECT_FALSE(events.save(list)) << c.operation;
        EXPECT_EQ(ui.boxes.size(), 1u) << c.operation;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events"), "7") << c.operation;
        EXPECT_EQ(events.load().size(), 7u) << c.operation;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events WHERE Name = 'Bad'"), "0") << c.operation;
        exec(pg ? "DROP TRIGGER refuse ON Events" : "DROP TRIGGER refuse");
        if (pg)
            exec("DROP FUNCTION refuse()");
        ui.boxes.clear();
    }

    ScenarioEvents closed("S");
    databaseOpen = false;
    std::vector<EventRecord> list;
    EXPECT_TRUE(closed.load().empty());
    EXPECT_FALSE(closed.save(list));
    databaseOpen = true;
}

TEST_F(PersonScenarioTest, EventRowsCountByScenarioAndPosition)
{
    insert("Events", "Scenario, \"order\", Name", "'S', 1, 'a'");
    insert("Events", "Scenario, \"order\", Name", "'s', 1, 'b'");
    insert("Events", "Scenario, \"order\", Name", "'S', 2, 'c'");
    EventTable t(database);
    ASSERT_TRUE(t.open(""));
    EXPECT_EQ(t.count(EventKey{"S", 1}), 2);
    EXPECT_EQ(t.getField("NAME"), "c");
    EXPECT_TRUE(t.remove(EventKey{"s", 5}, false));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Events"), "0");
    EXPECT_TRUE(t.IsBOF() && t.IsEOF()); // refreshed
}

} // namespace
