// Two stations edit the same record through the record editors' logic, each
// on its own connection: a save writes only what its user changed, over the
// row as the other station left it, and tells the user when it wrote over
// the other station's change of the same field.
#include "Database/AlgorithmTable.h"
#include "Database/CourseTable.h"
#include "Database/DatabaseDialog.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Utillib/GString.h"

#include "DbTestSupport.h"
#include "StationEditor.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace {

using dbtest::StationEditor;

// Per kind of record: the record, a field the other station changes, a
// field this station's user changes (to a number), and another key.
struct Persons {
    using Editor = StationEditor<PersonTable, tableKind::Person>;
    static PersonRecord make()
    {
        PersonRecord r;
        r.Name = "Ben";
        r.Address = "Old Road 1";
        return r;
    }
    static void changeTheirs(PersonRecord& r) { r.Address = "New Street 2"; }
    static bool theirsKept(const PersonRecord& r) { return r.Address == "New Street 2"; }
    static void setMine(PersonRecord& r, int v) { r.Phone = std::to_string(v); }
    static int mine(const PersonRecord& r) { return std::stoi("0" + r.Phone); }
    static void rekey(PersonRecord& r) { r.Name = "Benjamin"; }
    static std::wstring name() { return L"Ben"; }
};

struct Scenarios {
    using Editor = StationEditor<ScenarioTable, tableKind::Scenario>;
    static ScenarioRecord make()
    {
        ScenarioRecord r;
        r.Name = "Drill";
        r.Algorithm = "Adult";
        return r;
    }
    static void changeTheirs(ScenarioRecord& r) { r.Algorithm = "Child"; }
    static bool theirsKept(const ScenarioRecord& r) { return r.Algorithm == "Child"; }
    static void setMine(ScenarioRecord& r, int v) { r.Duration = v; }
    static int mine(const ScenarioRecord& r) { return r.Duration; }
    static void rekey(ScenarioRecord& r) { r.Name = "Long drill"; }
    static std::wstring name() { return L"Drill"; }
};

struct Guidelines {
    using Editor = StationEditor<AlgorithmTable, tableKind::Algorithm>;
    static Algorithm make()
    {
        Algorithm r;
        r.Name = "Adult";
        return r;
    }
    static void changeTheirs(Algorithm& r) { r.eccRateHigh = 120; }
    static bool theirsKept(const Algorithm& r) { return r.eccRateHigh == 120; }
    static void setMine(Algorithm& r, int v) { r.initVent = v; }
    static int mine(const Algorithm& r) { return r.initVent; }
    static void rekey(Algorithm& r) { r.Name = "Adult 2"; }
    static std::wstring name() { return L"Adult"; }
};

struct Courses {
    using Editor = StationEditor<CourseTable, tableKind::Course>;
    static CourseRecord make()
    {
        CourseRecord r;
        r.Instructor = "Ann";
        r.Date = "2006-03-05";
        r.Time = "09:30";
        return r;
    }
    static void changeTheirs(CourseRecord& r) { r.DefaultScenario = "Drill"; }
    static bool theirsKept(const CourseRecord& r) { return r.DefaultScenario == "Drill"; }
    static void setMine(CourseRecord& r, int v) { r.Note = std::to_string(v); }
    static int mine(const CourseRecord& r) { return std::stoi("0" + r.Note); }
    static void rekey(CourseRecord& r) { r.Instructor = "Anna"; }
    static std::wstring name() { return CourseKey("Ann", "2006-03-05", "09:30").displayText(); }
};

template <class Case>
class TwoStationEditorTest : public dbtest::DbTest {
protected:
    using Editor = typename Case::Editor;
    using Record = typename Editor::Record;
    using Keys = RecordKey<Record>;

    void SetUp() override
    {
        DbTest::SetUp();
        reader.open("");
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(here.rows.open(""));
        ASSERT_TRUE(there.rows.open(""));
        // Stored by this station; then both stations show it.
        here.newEntry(Case::make());
        ASSERT_TRUE(here.save());
        ASSERT_FALSE(there.moveToRecord(Case::make())) << "the other station finds it";
        ASSERT_FALSE(here.moveToRecord(Case::make()));
    }
    void TearDown() override
    {
        other.close();
        DbTest::TearDown();
    }
    // The row of the key as stored now, read by this station.
    Record stored(const Record& keyed)
    {
        Record found;
        EXPECT_TRUE(reader.restart());
        bool seen = false;
        if (reader.IsOpen() && !(reader.IsBOF() && reader.IsEOF()) && reader.MoveFirst())
            for (; !reader.IsEOF(); reader.MoveNext())
                if (Keys::equal(Keys::key(reader.getRecord()), Keys::key(keyed))) {
                    EXPECT_FALSE(seen) << "one row of the key";
                    seen = true;
                    found = reader.getRecord();
                }
        EXPECT_TRUE(seen);
        return found;
    }
    int rowsOfKey(const Record& keyed)
    {
        EXPECT_TRUE(reader.restart());
        return reader.count(Keys::key(keyed));
    }

    Database other;
    Editor here{database};
    Editor there{other};
    typename Editor::TableType reader{database};
};

using Cases = ::testing::Types<Persons, Scenarios, Guidelines, Courses>;
TYPED_TEST_SUITE(TwoStationEditorTest, Cases);

// The other station changes one field and saves; this station, still
// showing the old record, changes another: both changes are stored, nobody
// is asked, and this station then shows the other's change.
TYPED_TEST(TwoStationEditorTest, EachSaveWritesOnlyItsOwnChanges)
{
    TypeParam::changeTheirs(this->there.shown);
    ASSERT_TRUE(this->there.save());
    TypeParam::setMine(this->here.shown, 7);
    ASSERT_TRUE(this->here.save());

    auto row = this->stored(TypeParam::make());
    EXPECT_TRUE(TypeParam::theirsKept(row)) << "the other station's change stays";
    EXPECT_EQ(TypeParam::mine(row), 7);
    EXPECT_TRUE(this->ui.boxes.empty());
    EXPECT_TRUE(TypeParam::theirsKept(this->here.shown)) << "this station shows what is stored";

    // Saved again unchanged on the other station: this station's change stays.
    ASSERT_TRUE(this->there.save());
    EXPECT_EQ(TypeParam::mine(this->stored(TypeParam::make())), 7);
}

// Both change the same field: the later save wins and its user is told,
// with the record named.
TYPED_TEST(TwoStationEditorTest, WritingOverTheOtherStationsChangeOfAFieldIsTold)
{
    TypeParam::setMine(this->there.shown, 11);
    TypeParam::changeTheirs(this->there.shown);
    ASSERT_TRUE(this->there.save());
    TypeParam::setMine(this->here.shown, 12);
    ASSERT_TRUE(this->here.save());

    auto row = this->stored(TypeParam::make());
    EXPECT_EQ(TypeParam::mine(row), 12) << "the later save wins";
    EXPECT_TRUE(TypeParam::theirsKept(row));
    ASSERT_EQ(this->ui.boxes.size(), 1u);
    const std::wstring& text = this->ui.boxes[0].text;
    EXPECT_NE(text.find(L"Another station changed the same fields of \"" + TypeParam::name() + L"\""), std::wstring::npos)
        << GString::to_string(text);
    EXPECT_FALSE(this->ui.boxes[0].duringTransaction);
    EXPECT_TRUE(this->there.save()) << "the other station's unchanged save writes nothing and asks nothing";
    EXPECT_EQ(this->ui.boxes.size(), 1u);
}

// A new key: the row under it carries the other station's change too.
TYPED_TEST(TwoStationEditorTest, ANewKeyCarriesTheOtherStationsChange)
{
    TypeParam::changeTheirs(this->there.shown);
    ASSERT_TRUE(this->there.save());
    TypeParam::rekey(this->here.shown);
    TypeParam::setMine(this->here.shown, 5);
    ASSERT_TRUE(this->here.save());

    auto renamed = TypeParam::make();
    TypeParam::rekey(renamed);
    auto row = this->stored(renamed);
    EXPECT_TRUE(TypeParam::theirsKept(row));
    EXPECT_EQ(TypeParam::mine(row), 5);
    EXPECT_EQ(this->rowsOfKey(TypeParam::make()), 0) << "the old row went";
    EXPECT_TRUE(this->ui.boxes.empty());
}

// Two station processes, each with its own connection and an editor showing
// Ben, save their user's change at one moment, many times over; each tells
// the test what it was told.
class TwoStationProcessTest : public dbtest::DbTest {
protected:
    // What a station process did, as its exit status.
    enum : int { saved = 1, toldOverwritten = 2, toldGone = 4, broken = 64 };
    using Change = std::function<void(PersonRecord&)>;

    [[noreturn]] static void station(const Change& change, int ready, int go, dbtest::FakeUi& ui)
    {
        int result = broken;
        openDatabase();
        if (databaseOpen) {
            {
                Persons::Editor editor(database);
                if (editor.rows.open("") && !editor.moveToRecord(Persons::make())) {
                    char c = 0;
                    if (::write(ready, "r", 1) == 1 && ::read(go, &c, 1) == 0) {
                        ui.boxes.clear();
                        change(editor.shown);
                        result = editor.save() ? saved : 0;
                        for (const auto& box : ui.boxes) {
                            if (box.text.find(L"Another station changed the same fields of \"Ben\"") != std::wstring::npos)
                                result |= toldOverwritten;
                            if (box.text == L"Another station has deleted or renamed \"Ben\"; nothing was stored.")
                                result |= toldGone;
                        }
                    }
                }
            }
            database.close();
        }
        ::_exit(result);
    }

    // Both stations show Ben, then save at the word; their exit statuses.
    void saveAtOneMoment(const Change& first, const Change& second, int outcome[2])
    {
        int ready[2];
        int go[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(go), 0);
        // No connection crosses the fork.
        database.close();
        databaseOpen = false;
        pid_t pids[2] = {-1, -1};
        for (int k = 0; k < 2; ++k) {
            pids[k] = ::fork();
            ASSERT_GE(pids[k], 0);
            if (pids[k] == 0) {
                ::close(ready[0]);
                ::close(go[1]);
                station(k == 0 ? first : second, ready[1], go[0], ui);
            }
        }
        ::close(ready[1]);
        ::close(go[0]);
        char c = 0;
        int up = 0;
        while (up < 2 && ::read(ready[0], &c, 1) == 1)
            ++up;
        ::close(go[1]); // both stations save now
        ::close(ready[0]);
        int status[2] = {-1, -1};
        for (int k = 0; k < 2; ++k)
            ASSERT_EQ(::waitpid(pids[k], &status[k], 0), pids[k]);
        openDatabase();
        ASSERT_TRUE(databaseOpen);
        ASSERT_EQ(up, 2) << "both stations showed Ben";
        for (int k = 0; k < 2; ++k) {
            ASSERT_TRUE(WIFEXITED(status[k]));
            outcome[k] = WEXITSTATUS(status[k]);
            ASSERT_EQ(outcome[k] & broken, 0) << "station " << k;
        }
    }
};

// Both change Ben's phone. Whichever save comes second must see the first:
// the phone stored is the one of the station whose user was told that it
// wrote over the other's change, and the other user was told nothing. A
// save that re-read the row before the other's write and wrote after it
// would store its phone with nobody told.
TEST_F(TwoStationProcessTest, SavesAtOneMomentOfTheSameFieldAreToldNeverLost)
{
    exec("INSERT INTO Person (Name, Address, Phone) VALUES ('Ben', 'Old Road 1', '0')");
    for (int round = 1; round <= 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        exec("UPDATE Person SET Phone = '0' WHERE Name = 'Ben'");
        const std::string phones[2] = {"first " + std::to_string(round), "second " + std::to_string(round)};
        int outcome[2] = {};
        ASSERT_NO_FATAL_FAILURE(saveAtOneMoment([&](PersonRecord& r) { r.Phone = phones[0]; },
                                                [&](PersonRecord& r) { r.Phone = phones[1]; }, outcome));
        for (int k = 0; k < 2; ++k)
            ASSERT_TRUE(outcome[k] & saved) << "station " << k << " saved";
        const std::string stored = scalar("SELECT Phone FROM Person WHERE Name = 'Ben'");
        ASSERT_TRUE(stored == phones[0] || stored == phones[1]) << stored;
        const int winner = stored == phones[0] ? 0 : 1;
        EXPECT_TRUE(outcome[winner] & toldOverwritten) << "the station whose phone stayed wrote over the other's, and is told";
        EXPECT_FALSE(outcome[1 - winner] & toldOverwritten) << "the station that saved first met no change";
        EXPECT_EQ(scalar("SELECT Address FROM Person WHERE Name = 'Ben'"), "Old Road 1");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "1");
    }
}

// One station renames Ben while the other changes his phone. Saved before
// the rename, the phone goes along to the new name; saved after it, the
// save is refused with the message and the phone was never stored.
TEST_F(TwoStationProcessTest, AFieldSavedAtTheMomentOfARenameGoesAlongOrIsRefusedWithAMessage)
{
    int along = 0;
    int refused = 0;
    for (int round = 1; round <= 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        exec("DELETE FROM Person");
        exec("INSERT INTO Person (Name, Address, Phone) VALUES ('Ben', 'Old Road 1', '0')");
        int outcome[2] = {};
        ASSERT_NO_FATAL_FAILURE(saveAtOneMoment([](PersonRecord& r) { r.Name = "Benjamin"; },
                                                [](PersonRecord& r) { r.Phone = "777"; }, outcome));
        EXPECT_EQ(outcome[0], saved) << "the rename is stored and met nothing to tell";
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "1");
        const std::string phone = scalar("SELECT Phone FROM Person WHERE Name = 'Benjamin'");
        if (outcome[1] & saved) {
            ++along;
            EXPECT_EQ(outcome[1], saved);
            EXPECT_EQ(phone, "777");
        } else {
            ++refused;
            EXPECT_EQ(outcome[1], toldGone);
            EXPECT_EQ(phone, "0");
        }
    }
    RecordProperty("phone went along", along);
    RecordProperty("refused", refused);
}

} // namespace
