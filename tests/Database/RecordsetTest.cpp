#include "DbTestSupport.h"
#include "TestRecordsets.h"

#include "Database/OdbcUtil.h"
#include "Database/RowBlock.h"

#include <gtest/gtest.h>

namespace {

using dbtest::column;
using dbtest::PersonSet;
using Names = std::vector<std::string>;

class RecordsetTest : public dbtest::DbTest {
protected:
    void addPersons()
    {
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Cleo', TRUE)");
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Anna', FALSE)");
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Bert', TRUE)");
    }
    int personRows() { return std::stoi(scalar("SELECT COUNT(*) FROM Person")); }
};

TEST_F(RecordsetTest, AnEmptySetIsBeforeTheFirstAndAfterTheLastRow)
{
    PersonSet set;
    ASSERT_TRUE(set.Open("Person")) << set.lastError().text;
    EXPECT_TRUE(set.IsBOF());
    EXPECT_TRUE(set.IsEOF());
    EXPECT_FALSE(set.MoveFirst());
    EXPECT_EQ(set.lastError().state, "24000");
    EXPECT_FALSE(set.MoveNext());
    EXPECT_FALSE(set.Edit());
    EXPECT_FALSE(set.Delete());
}

TEST_F(RecordsetTest, RowsComeInInsertionOrderAndMovesSkipDeletedRows)
{
    addPersons();
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    EXPECT_EQ(set.Name, "Cleo"); // on the first row after opening
    EXPECT_FALSE(set.IsBOF());
    EXPECT_EQ(column(set, &PersonSet::Name), (Names{"Cleo", "Anna", "Bert"}));
    EXPECT_TRUE(set.IsEOF());

    ASSERT_TRUE(set.MoveFirst());
    ASSERT_TRUE(set.MoveNext());
    ASSERT_TRUE(set.Delete());
    EXPECT_TRUE(set.IsDeleted());
    EXPECT_EQ(personRows(), 2);
    EXPECT_EQ(column(set, &PersonSet::Name), (Names{"Cleo", "Bert"}));

    ASSERT_TRUE(set.MoveLast());
    ASSERT_TRUE(set.MovePrev());
    EXPECT_EQ(set.Name, "Cleo");
    ASSERT_TRUE(set.MovePrev());
    EXPECT_TRUE(set.IsBOF());
    EXPECT_FALSE(set.MovePrev());
}

TEST_F(RecordsetTest, EditAndDeleteWithoutACurrentRowFailAndTouchNothing)
{
    addPersons();
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    column(set, &PersonSet::Name); // now after the last row

    EXPECT_FALSE(set.Edit());
    EXPECT_EQ(set.lastError().state, "24000");
    EXPECT_FALSE(set.Delete());
    EXPECT_FALSE(set.Update()); // no AddNew or Edit before it

    ASSERT_TRUE(set.MoveFirst());
    ASSERT_TRUE(set.MovePrev()); // before the first row
    EXPECT_FALSE(set.Delete());

    ASSERT_TRUE(set.MoveFirst());
    ASSERT_TRUE(set.Delete());
    EXPECT_FALSE(set.Delete()); // the row is already deleted
    EXPECT_FALSE(set.Edit());

    EXPECT_EQ(personRows(), 2);
    EXPECT_EQ(scalar("SELECT Name FROM Person ORDER BY id LIMIT 1"), "Anna");
}

TEST_F(RecordsetTest, RowsDeletedElsewhereCannotBeEditedOrDeleted)
{
    addPersons();
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    exec("DELETE FROM Person WHERE Name = 'Cleo'");
    ASSERT_TRUE(set.Edit());
    set.Name = "Changed";
    EXPECT_FALSE(set.Update());
    EXPECT_EQ(set.Name, "Cleo"); // the members show the row again
    EXPECT_FALSE(set.Delete());
    EXPECT_EQ(personRows(), 2);
}

// Another station's write lands between this station's read and its write
// only before the transaction begins: once it is open, the other station's
// transaction waits (and gives up after the lock timeout), and the row this
// station locked is read as stored now.
TEST_F(RecordsetTest, ATransactionHoldsOffOtherWritersAndLocksTheRowAsStoredNow)
{
    addPersons();
    Database other;
    ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    EXPECT_FALSE(set.LockCurrentRow()) << "only inside a transaction";

    ASSERT_TRUE(other.execute("UPDATE Person SET Address = '112' WHERE Name = 'Cleo'"));
    ASSERT_TRUE(database.beginTransaction()) << database.lastError().text;
    ASSERT_TRUE(set.LockCurrentRow()) << set.lastError().text;
    EXPECT_EQ(set.Address, "112");
    EXPECT_FALSE(other.beginTransaction()) << "the other station waits for the lock and gives up";
    EXPECT_TRUE(other.isLockTimeout(other.lastError())) << other.lastError().text;
    EXPECT_FALSE(other.inTransaction());
    ASSERT_TRUE(set.Edit());
    set.Address = "113";
    ASSERT_TRUE(set.Update());
    ASSERT_TRUE(database.commit());

    ASSERT_TRUE(other.beginTransaction()) << other.lastError().text;
    ASSERT_TRUE(other.execute("DELETE FROM Person WHERE Name = 'Cleo'"));
    ASSERT_TRUE(other.commit());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Name = 'Cleo'"), "0");
    ASSERT_TRUE(database.beginTransaction());
    EXPECT_FALSE(set.LockCurrentRow());
    EXPECT_TRUE(set.RowVanished());
    ASSERT_TRUE(database.rollback());
    ASSERT_TRUE(set.MoveNext());
    ASSERT_TRUE(database.beginTransaction());
    EXPECT_TRUE(set.LockCurrentRow());
    EXPECT_FALSE(set.RowVanished());
    EXPECT_EQ(set.Name, "Anna");
    ASSERT_TRUE(database.rollback());
}

TEST_F(RecordsetTest, AddedRowsJoinTheSetAndTheCursorStays)
{
    addPersons();
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    ASSERT_TRUE(set.AddNew());
    set.Name = "Dora";
    set.Instructor = 1;
    ASSERT_TRUE(set.Update()) << set.lastError().text;
    EXPECT_EQ(set.Name, "Cleo");
    EXPECT_EQ(column(set, &PersonSet::Name), (Names{"Cleo", "Anna", "Bert", "Dora"}));

    // The added row carries its id: editing it changes that row alone.
    ASSERT_TRUE(set.MoveLast());
    ASSERT_TRUE(set.Edit());
    set.Address = "Hauptstra\xDF" "e 1";
    ASSERT_TRUE(set.Update());
    EXPECT_EQ(scalar("SELECT Address FROM Person WHERE Name = 'Dora'"), "Hauptstra\xDF" "e 1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Address <> ''"), "1");
}

TEST_F(RecordsetTest, AnUpdateWritesOnlyTheColumnsThatChanged)
{
    // An address in a script the station's code page cannot show: it reads as "??".
    bool pg = dbtest::usingPostgres();
    exec(std::string("INSERT INTO Person (Name, Address) VALUES ('Eva', ") + (pg ? "chr(26085) || chr(26412)" : "char(26085, 26412)")
         + ")");
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    EXPECT_EQ(set.Address, "??");
    ASSERT_TRUE(set.Edit());
    set.Instructor = 1;
    ASSERT_TRUE(set.Update()) << set.lastError().text;
    std::string codePoints = pg ? "SELECT ascii(Address) || ',' || ascii(substr(Address, 2)) FROM Person"
                                : "SELECT unicode(Address) || ',' || unicode(substr(Address, 2)) FROM Person";
    EXPECT_EQ(scalar(codePoints), "26085,26412") << "the address nobody edited is kept";
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Instructor = TRUE"), "1");

    // Nothing changed: nothing is written, and the row stays current.
    ASSERT_TRUE(set.Edit());
    ASSERT_TRUE(set.Update()) << set.lastError().text;
    EXPECT_EQ(set.Name, "Eva");
}

TEST_F(RecordsetTest, ARowAddedToAnEmptySetIsFoundByTheMoves)
{
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    ASSERT_TRUE(set.AddNew());
    set.Name = "Anna";
    ASSERT_TRUE(set.Update());
    EXPECT_FALSE(set.IsBOF() && set.IsEOF());
    EXPECT_EQ(column(set, &PersonSet::Name), (Names{"Anna"}));
}

TEST_F(RecordsetTest, FilterAndSortApplyAndTheRowIdBreaksTies)
{
    addPersons();
    exec("INSERT INTO Person (Name, Instructor) VALUES ('anna', TRUE)");
    exec("INSERT INTO Person (Name, Instructor) VALUES ('Anna', TRUE)");
    PersonSet set;
    set.m_strFilter = "instructor = true";
    set.m_strSort = "Name";
    ASSERT_TRUE(set.Open("Person")) << set.lastError().text;
    // Name ignores case, so both spellings of anna sort alike, in id order.
    EXPECT_EQ(column(set, &PersonSet::Name), (Names{"anna", "Anna", "Bert", "Cleo"}));
}

TEST_F(RecordsetTest, TextsAreReadWholeAndStoredAsUtf8)
{
    std::string longName(255, '\xE9'); // 255 × é: 510 bytes in UTF-8
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    ASSERT_TRUE(set.AddNew());
    set.Name = longName;
    set.Address = "M\xFCller \x80"; // Müller €
    ASSERT_TRUE(set.Update()) << set.lastError().text;

    PersonSet again;
    ASSERT_TRUE(again.Open("Person"));
    EXPECT_EQ(again.Name, longName);
    EXPECT_EQ(again.Address, "M\xFCller \x80");
    EXPECT_EQ(scalar("SELECT length(Address) FROM Person"), "8"); // characters, not code-page bytes
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Address = 'M\xFCller \x80'"), "1");
}

TEST_F(RecordsetTest, ValuesOfEveryKindRoundTrip)
{
    dbtest::SessionSet set;
    ASSERT_TRUE(set.Open("Session"));
    ASSERT_TRUE(set.AddNew());
    set.Serialidentifier = "0a1b2c3d4e5f6g";
    set.Approved = 255;
    set.CompDepth = 41.25;
    set.Done = 7; // any non-zero flag is stored as true
    ASSERT_TRUE(set.Update()) << set.lastError().text;
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Done = TRUE"), "1");

    dbtest::SessionSet again;
    ASSERT_TRUE(again.Open("Session"));
    EXPECT_EQ(again.Serialidentifier, "0a1b2c3d4e5f6g");
    EXPECT_EQ(again.Approved, 255);
    EXPECT_EQ(again.CompDepth, 41.25);
    EXPECT_EQ(again.Done, 1);

    dbtest::EventSet events; // "Order" is a reserved word
    ASSERT_TRUE(events.Open("Events")) << events.lastError().text;
    ASSERT_TRUE(events.AddNew());
    events.Order = 3;
    events.Name = "Airway";
    ASSERT_TRUE(events.Update()) << events.lastError().text;
    dbtest::EventSet eventsAgain;
    ASSERT_TRUE(eventsAgain.Open("Events"));
    EXPECT_EQ(eventsAgain.Order, 3);
}

// A figure of full double precision may read back with its last digits
// changed (a driver that carries it as 15 digits of text). Merged over the
// row as read back, the station's own value is no other writer's change.
TEST_F(RecordsetTest, ANumberReadBackAtTheSourcesPrecisionIsTheValueWritten)
{
    const double written = 45.699257425742566;
    dbtest::SessionSet set;
    ASSERT_TRUE(set.Open("Session"));
    ASSERT_TRUE(set.AddNew());
    set.Serialidentifier = "s";
    set.CompDepth = written;
    ASSERT_TRUE(set.Update()) << set.lastError().text;
    ASSERT_TRUE(set.Open("Session"));
    EXPECT_NEAR(set.CompDepth, written, 1e-12);
    set.CompDepth = 0;
    set.TakeEditBase();
    set.CompDepth = written;
    const Recordset::Merge merge = set.MergeIntoCurrentRow();
    EXPECT_TRUE(merge.overwritten.empty());
    EXPECT_FALSE(merge.keptOthers);

    // A real change is still one.
    set.CompDepth = 0;
    set.TakeEditBase();
    set.CompDepth = written + 1e-9;
    EXPECT_TRUE(set.ChangedFromEditBase());
}

// A text read here without some of its letters ("??") is never written as
// read: not in a new row, not as a changed column; columns left as read are
// not written, and a text the code page holds is written as it is.
TEST_F(RecordsetTest, ATextReadWithoutItsLettersIsNeverWrittenAsRead)
{
    const bool pg = dbtest::usingPostgres();
    exec(std::string("INSERT INTO Person (Name, Address) VALUES ('Eva', ") + (pg ? "chr(26085) || chr(26412)" : "char(26085, 26412)")
         + ")");
    PersonSet set;
    ASSERT_TRUE(set.Open("Person"));
    ASSERT_EQ(set.Address, "??");
    const std::string reading = set.Address;

    ASSERT_TRUE(set.AddNew());
    set.Name = "Copy";
    set.Address = reading;
    EXPECT_FALSE(set.Update());
    EXPECT_TRUE(set.TextUnshown());

    ASSERT_TRUE(set.MoveFirst());
    ASSERT_TRUE(set.Edit());
    set.Name = reading;
    EXPECT_FALSE(set.Update());
    EXPECT_TRUE(set.TextUnshown());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Name LIKE '%?%' OR Address LIKE '%?%'"), "0");

    ASSERT_TRUE(set.Edit());
    set.Name = "Eve?";
    ASSERT_TRUE(set.Update()) << set.lastError().text;
    EXPECT_FALSE(set.TextUnshown());
    EXPECT_EQ(scalar("SELECT Name FROM Person"), "Eve?");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Address LIKE '%?%'"), "0");
}

TEST_F(RecordsetTest, ErrorsCarryTheDriversStateAndText)
{
    PersonSet set;
    set.m_strFilter = "NoSuchColumn = 1";
    EXPECT_FALSE(set.Open("Person"));
    EXPECT_FALSE(set.IsOpen());
    EXPECT_FALSE(set.lastError().state.empty());
    EXPECT_NE(set.lastError().text.find("SQLSTATE " + set.lastError().state), std::string::npos);

    dbtest::SessionSet sessions;
    ASSERT_TRUE(sessions.Open("Session"));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(sessions.AddNew());
        sessions.Serialidentifier = "same";
        EXPECT_EQ(sessions.Update(), i == 0);
    }
    // A duplicate key: HY000 from SQLite, 23505 from PostgreSQL.
    EXPECT_EQ(sessions.lastError().state, dbtest::usingPostgres() ? "23505" : "HY000");
    EXPECT_EQ(column(sessions, &dbtest::SessionSet::Serialidentifier), (Names{"same"}));
}

// Text columns read a block of rows per fetch.
class RowBlockTest : public dbtest::DbTest {
protected:
    struct Row {
        std::string name, note, twice;
        bool noteNull = false;
        bool operator==(const Row&) const = default;
    };
    static constexpr int rowCount = 23;

    // Short and long names, ASCII and not (UTF-8 as stored), and every third
    // note empty, which the query turns into NULL.
    void SetUp() override
    {
        DbTest::SetUp();
        for (int i = 0; i < rowCount; ++i) {
            Row r;
            switch (i % 4) {
            case 0: r.name = "Person " + std::to_string(i); break;
            case 1: r.name = "\xc3\x86r\xc3\xb8 \xe6\x97\xa5\xe6\x9c\xac " + std::to_string(i); break; // "Ærø 日本 i"
            case 2: for (int k = 0; k < 200; ++k) r.name += "\xc3\xb8"; r.name += std::to_string(i); break; // 400 bytes
            default: r.name = ""; break;
            }
            r.noteNull = i % 3 == 0;
            r.note = r.noteNull ? "" : "note " + std::to_string(i);
            r.twice = r.name + r.name;
            DbError error;
            ASSERT_TRUE(odbc::execute(database, "INSERT INTO Person (Name, Note) VALUES ('" + r.name + "', '" + r.note + "')", error))
                << error.text;
            expected.push_back(r);
        }
    }

    std::vector<Row> read(odbc::BlockRead& how, bool& ok)
    {
        std::vector<Row> rows;
        int restarts = 0;
        DbError error;
        ok = odbc::readTextBlocks(database,
            "SELECT \"name\", NULLIF(\"note\", ''), \"name\" || \"name\" FROM \"person\" ORDER BY \"id\"", 3, how,
            [&] { rows.clear(); ++restarts; },
            [&](const odbc::TextRow& t) {
                rows.push_back({std::string(t.values[0]), std::string(t.values[1]), std::string(t.values[2]), t.nulls[1]});
                EXPECT_FALSE(t.nulls[0] || t.nulls[2]);
            },
            error);
        EXPECT_TRUE(ok) << error.text;
        EXPECT_EQ(restarts, how.runs - 1);
        return rows;
    }

    std::vector<Row> expected;
};

TEST_F(RowBlockTest, EveryValueArrivesWholeAcrossBlockBoundaries)
{
    // Block sizes that divide the rows and that do not; room for every value
    // at once, or too little, so that long values make the query run again
    // (15 bytes: one value fills the buffer but for its terminator).
    for (std::size_t blockRows : {1, 2, 7, 23, 256})
        for (std::size_t valueBytes : {15, 16, 4096}) {
            SCOPED_TRACE("block of " + std::to_string(blockRows) + ", " + std::to_string(valueBytes) + " bytes");
            odbc::BlockRead how;
            how.blockRows = blockRows;
            how.valueBytes = valueBytes;
            bool ok = false;
            EXPECT_EQ(read(how, ok), expected);
            // Both engines' drivers take blocks of the size asked for.
            EXPECT_EQ(how.rowsPerFetch, blockRows);
            EXPECT_EQ(how.runs > 1, valueBytes < 4096);
        }
}

// With a bound on the room for a value, a longer value arrives cut, never
// inside a character, and no fetch sets aside more than rows x columns x bound.
TEST_F(RowBlockTest, ValuesOverTheBoundArriveCutAtACharacter)
{
    for (std::size_t bound : {16, 17, 4096}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        odbc::BlockRead how;
        how.blockRows = 7;
        how.mostValueBytes = bound;
        bool ok = false;
        std::vector<Row> rows = read(how, ok);
        ASSERT_EQ(rows.size(), expected.size());
        std::size_t longer = 0;
        auto check = [&](const std::string& got, const std::string& whole) {
            if (whole.size() < bound) {
                EXPECT_EQ(got, whole);
                return;
            }
            ++longer;
            EXPECT_EQ(whole.compare(0, got.size(), got), 0) << got << " is not the start of " << whole;
            // At most the bytes of one split character dropped, and the next
            // byte of the value begins a character.
            EXPECT_LE(got.size(), bound - 1);
            EXPECT_GE(got.size() + 3, bound - 1) << got;
            EXPECT_NE(static_cast<unsigned char>(whole[got.size()]) & 0xC0, 0x80) << got;
        };
        for (std::size_t i = 0; i < rows.size(); ++i) {
            check(rows[i].name, expected[i].name);
            check(rows[i].note, expected[i].note);
            check(rows[i].twice, expected[i].twice);
            EXPECT_EQ(rows[i].noteNull, expected[i].noteNull);
        }
        EXPECT_EQ(how.valuesCut, longer);
        EXPECT_EQ(longer > 0, bound < 4096);
        EXPECT_LE(how.bufferBytes, 7 * 3 * bound);
        if (bound < 4096) {
            EXPECT_EQ(how.runs, 1);
            EXPECT_EQ(rows[2].name, bound == 16 ? "\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8"
                                                : "\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8\xc3\xb8");
        }
    }
}

TEST_F(RowBlockTest, AFailedQueryOrNoRowsHandsOverNothing)
{
    DbError error;
    odbc::BlockRead how;
    int rows = 0;
    EXPECT_FALSE(odbc::readTextBlocks(database, "SELECT \"name\" FROM \"nosuchtable\"", 1, how, [] {},
        [&](const odbc::TextRow&) { ++rows; }, error));
    EXPECT_TRUE(error.isSet());
    EXPECT_TRUE(odbc::readTextBlocks(database, "SELECT \"name\" FROM \"person\" WHERE 1 = 0", 1, how, [] {},
        [&](const odbc::TextRow&) { ++rows; }, error)) << error.text;
    EXPECT_FALSE(error.isSet());
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(how.runs, 1);
}

} // namespace
