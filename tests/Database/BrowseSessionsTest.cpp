// The session browser's work on a real data source: the search criteria,
// export of stored sessions with their data files, and import into another
// database and data folder, without duplicates and without half imports.
#include "Database/BrowseSessions.h"
#include "Database/SessionsFile.h"

#include "DbTestSupport.h"
#include "ScopedRegistry.h"
#include "StationProcesses.h"
#include "TestRecordsets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <limits>
#include <set>
#include <tuple>

namespace {

using Serials = std::set<std::string>;

std::string slurp(const std::string& path) { return testsupport::readFile(path); }

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string plainDate(const std::string& date) { return date; }

class BrowseSessionsTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        std::filesystem::create_directories(folderA());
        std::filesystem::create_directories(folderB());
        useFolder(folderA());
    }

    std::string folderA() const { return dir.file("stationA"); }
    std::string folderB() const { return dir.file("stationB"); }
    void useFolder(const std::string& folder)
    {
        registry.reset();
        registry = std::make_unique<dbtest::ScopedRegistry>("Data Folder=sz:" + folder + "\n");
    }

    static SessionRecord session(const std::string& serial, const std::string& ventilation,
        const std::string& compression, const std::string& instructor, const std::string& date, int done = 1)
    {
        SessionRecord s;
        s.Serialidentifier = serial;
        s.PersonVentilation = ventilation;
        s.PersonChestCompression = compression;
        s.CourseInstructor = instructor;
        s.CourseDate = date;
        s.Done = done;
        s.Algorithm = "Guideline";
        s.Approved = 1;
        s.ApprovedBy = "Dr. O'Neill";
        s.CompDepth = 44.25;
        s.ECCrate = 101.5;
        s.Manikin = 3;
        s.Note = "caf\xe9";
        s.StartTime = "10:1" + serial.substr(13);
        return s;
    }

    // Stores the rows (and a data file for each) on a connection.
    static void store(Database& db, const std::vector<SessionRecord>& sessions)
    {
        SessionTable table(db);
        ASSERT_TRUE(DBUtil::Open(&table, "Session")) << table.lastError().text;
        for (const SessionRecord& s : sessions) {
            ASSERT_TRUE(table.AddNew());
            table.setRecord(s);
            ASSERT_TRUE(table.Update()) << table.lastError().text;
        }
    }

    Serials matching(const std::string& participant, const std::string& instructor, int year, int month)
    {
        std::vector<browseSessions::ListRow> rows;
        EXPECT_TRUE(browseSessions::readList(database, participant, instructor, year, month, rows));
        Serials serials;
        for (const auto& row : rows)
            serials.insert(row.serial);
        return serials;
    }

    int sessionRows() { return std::stoi(scalar("SELECT COUNT(*) FROM Session")); }

    testsupport::TempDir dir;
    std::unique_ptr<dbtest::ScopedRegistry> registry;
};

TEST(BrowseSessionsFilter, CriteriaBecomeTheFilterText)
{
    struct Case {
        std::string participant, instructor;
        int year, month;
        std::string filter;
    };
    const Case cases[] = {
        {"", "", 0, 0, "DONE = TRUE "},
        {"", "", -1, -1, "DONE = TRUE "},
        {"", "", 8, 3, "DONE = TRUE  AND CourseDate LIKE '2006-03-%'"},
        {"", "", 0, 3, "DONE = TRUE  AND CourseDate LIKE '%-03-%'"},
        {"", "", 8, 0, "DONE = TRUE  AND CourseDate LIKE '2006-%-%'"},
        {"", "", 52, 12, "DONE = TRUE  AND CourseDate LIKE '2050-12-%'"},
        {"O'Neill", "", 0, 0,
            "DONE = TRUE  AND (PersonVentilation LIKE  'O''Neill%'  OR PersonChestCompression LIKE 'O''Neill%')"},
        {"", "Ha'", 0, 0, "DONE = TRUE  AND CourseInstructor LIKE 'Ha''%'"},
        {"", "A\\B", 0, 0, "DONE = TRUE  AND CourseInstructor LIKE 'A\\B%' ESCAPE '!'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(browseSessions::filterText(c.participant, c.instructor, c.year, c.month), c.filter);
    EXPECT_STREQ(browseSessions::sortText,
        "CourseInstructor, CourseDate, StartTime, PersonVentilation, PersonChestCompression");
}

TEST(BrowseSessionsFilter, StatusTextAndColumnWidths)
{
    EXPECT_EQ(browseSessions::statusText(0), L"No sessions match criteria.");
    EXPECT_EQ(browseSessions::statusText(1), L"One session matches criteria");
    EXPECT_EQ(browseSessions::statusText(14), L"14 sessions match criteria");

    for (int width : {160, 517, 1000, 3333}) {
        std::array<int, 6> w = browseSessions::columnWidths(width + 20, 20);
        double u = width / 160.0;
        EXPECT_EQ(w[0], int(28 * u));
        EXPECT_EQ(w[3], int(18 * u));
        EXPECT_EQ(w[4], int(29 * u));
        EXPECT_EQ(w[0] + w[1] + w[2] + w[3] + w[4] + w[5], width); // the last column takes the rest
        EXPECT_GE(w[5], int(30 * u));
    }

    // Minimums: a column that needs more keeps what it needs, the others share the rest by their parts.
    std::array<int, 6> w = browseSessions::columnWidths(500 + 20, 20, {110, 121, 82, 30, 96, 30});
    EXPECT_EQ(w[0], 110);
    EXPECT_EQ(w[1], 121);
    EXPECT_EQ(w[2], 82);
    EXPECT_EQ(w[4], 96);
    EXPECT_EQ(w[0] + w[1] + w[2] + w[3] + w[4] + w[5], 500);
    EXPECT_GE(w[3], 30);
    EXPECT_GE(w[5], 30);
    EXPECT_NEAR(w[3] * 30.0 / 18.0, w[5], 2) << "Time and Scenario share the rest by their parts";
    // Not even the minimums fit: each column has its own, the list grows wider.
    w = browseSessions::columnWidths(200 + 20, 20, {110, 121, 82, 40, 96, 45});
    EXPECT_EQ(w, (std::array<int, 6>{110, 121, 82, 40, 96, 45}));
}

TEST_F(BrowseSessionsTest, EachCriterionNarrowsTheFinishedSessions)
{
    store(database, {
        session("00000000000001", "Kari", "Ola", "Hanne", "2006-03-05"),
        session("00000000000002", "Per", "Karin", "Hans", "2006-04-05"),
        session("00000000000003", "Lise", "Nils", "Hanne", "2007-03-01"),
        session("00000000000004", "Kari", "Ola", "Hanne", "2006-03-05", 0), // never finished
        session("00000000000005", "O'Neill", "Ola", "Berit", "1999-12-31"),
    });
    struct Case {
        const char* name;
        std::string participant, instructor;
        int year, month;
        Serials expected;
    };
    const Case cases[] = {
        {"any", "", "", 0, 0, {"00000000000001", "00000000000002", "00000000000003", "00000000000005"}},
        {"participant as either person, by prefix", "Kari", "", 0, 0, {"00000000000001", "00000000000002"}},
        {"participant ignoring case", "kar", "", 0, 0, {"00000000000001", "00000000000002"}},
        {"participant with a quote", "O'N", "", 0, 0, {"00000000000005"}},
        {"instructor", "", "Hann", 0, 0, {"00000000000001", "00000000000003"}},
        {"year", "", "", 8, 0, {"00000000000001", "00000000000002"}},
        {"month", "", "", 0, 3, {"00000000000001", "00000000000003"}},
        {"year and month", "", "", 8, 3, {"00000000000001"}},
        {"first year, last month", "", "", 1, 12, {"00000000000005"}},
        {"all together", "ol", "Han", 8, 3, {"00000000000001"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matching(c.participant, c.instructor, c.year, c.month), c.expected) << c.name;

    // The rows come in the sort order: instructor, date, start time, persons.
    std::vector<browseSessions::ListRow> rows;
    ASSERT_TRUE(browseSessions::readList(database, "", "", 0, 0, rows));
    std::vector<std::string> order;
    for (const auto& row : rows)
        order.push_back(row.serial);
    EXPECT_EQ(order, (std::vector<std::string>{"00000000000005", "00000000000001", "00000000000003", "00000000000002"}));
    EXPECT_EQ(rows[0].ventilation, "O'Neill");
    EXPECT_EQ(rows[0].instructor, "Berit");
    EXPECT_EQ(rows[0].date, "1999-12-31");
    EXPECT_EQ(rows[0].scenario, "");
}

// The list holds what the table reads of every session, row for row, across
// the blocks it is fetched in: long names, names outside ASCII, empty texts.
// "%" and "_" in a typed name are letters of the name, as are the escape
// character and a backslash (which some engines take as LIKE's escape):
// the stored name must begin with exactly what was typed.
TEST_F(BrowseSessionsTest, WildcardsTypedInANameAreLettersOfIt)
{
    store(database, {
        session("00000000000001", "100% Anna", "Ola", "A_B", "2006-03-05"),
        session("00000000000002", "1000 Berit", "Ola", "AxB", "2006-03-05"),
        session("00000000000003", "Kari", "x!y", "A!B", "2006-03-05"),
        session("00000000000004", "Kari", "xy", "A", "2006-03-05"),
        session("00000000000005", "Max\\Mo", "Ola", "Inst\\A", "2006-03-05"),
        session("00000000000006", "MaxMo", "Ola", "InstA", "2006-03-05"),
        session("00000000000007", "MaxMoritz", "Ola", "Inst\\\\B", "2006-03-05"),
        session("00000000000008", "Max\\%_!", "Ola", "Inst", "2006-03-05"),
    });
    struct Case {
        std::string participant, instructor;
        Serials expected;
    };
    const Case cases[] = {
        {"100%", "", {"00000000000001"}},
        {"1000", "", {"00000000000002"}},
        {"%", "", {}},
        {"", "A_", {"00000000000001"}},
        {"", "_", {}},
        {"x!", "", {"00000000000003"}},
        {"", "A!", {"00000000000003"}},
        {"", "a", {"00000000000001", "00000000000002", "00000000000003", "00000000000004"}},
        {"Max\\Mo", "", {"00000000000005"}},
        {"Max\\", "", {"00000000000005", "00000000000008"}},
        {"MaxM", "", {"00000000000006", "00000000000007"}},
        {"\\", "", {}},
        {"Max\\%_!", "", {"00000000000008"}},
        {"Max\\%_!x", "", {}},
        {"", "Inst\\A", {"00000000000005"}},
        {"", "Inst\\", {"00000000000005", "00000000000007"}},
        {"", "Inst\\\\", {"00000000000007"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matching(c.participant, c.instructor, 0, 0), c.expected) << c.participant << "|" << c.instructor;
    EXPECT_EQ(browseSessions::filterText("a_'", "", 0, 0),
              "DONE = TRUE  AND (PersonVentilation LIKE  'a!_''%' ESCAPE '!'  OR PersonChestCompression LIKE "
              "'a!_''%' ESCAPE '!')");
}

TEST_F(BrowseSessionsTest, TheListShowsEveryStoredValueInTheTablesOrder)
{
    std::vector<SessionRecord> sessions;
    for (int i = 0; i < 300; ++i) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "%014d", i);
        std::string name = i % 3 == 0 ? "J\xf8rgen \xc6" "ble " + std::to_string(i % 7)
                         : i % 3 == 1 ? std::string(200, 'x') + std::to_string(i % 5)
                                      : "Kari";
        SessionRecord s = session(serial, name, i % 4 ? "Ola" : "", "Hanne " + std::to_string(i % 11),
                                  "2006-03-" + std::to_string(10 + i % 17));
        s.Scenario = i % 2 ? "Adult" : "";
        s.StartTime = i % 5 ? "10:15" : "";
        sessions.push_back(s);
    }
    store(database, sessions);

    std::vector<browseSessions::ListRow> rows;
    ASSERT_TRUE(browseSessions::readList(database, "", "", 0, 0, rows));
    SessionTable table(database);
    table.m_strFilter = browseSessions::filterText("", "", 0, 0);
    table.m_strSort = browseSessions::sortText;
    ASSERT_TRUE(DBUtil::Open(&table, "Session")) << table.lastError().text;
    std::vector<browseSessions::ListRow> stored;
    for (bool more = table.MoveFirst(); more && !table.IsEOF(); more = table.MoveNext())
        stored.push_back({table.Serialidentifier, table.PersonVentilation, table.PersonChestCompression,
            table.CourseDate, table.StartTime, table.CourseInstructor, table.Scenario});
    ASSERT_EQ(rows.size(), 300u);
    ASSERT_EQ(rows.size(), stored.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& a = rows[i];
        const auto& b = stored[i];
        EXPECT_EQ(std::tie(a.serial, a.ventilation, a.compression, a.date, a.time, a.instructor, a.scenario),
                  std::tie(b.serial, b.ventilation, b.compression, b.date, b.time, b.instructor, b.scenario))
            << "row " << i;
    }
    EXPECT_EQ(matching("J\xf8rg", "", 0, 0).size(), 100u);
}

// A search learns only which sessions match; a row's texts are read with
// its block when first asked for, and a session deleted in between leaves
// its own row empty without moving the others.
TEST_F(BrowseSessionsTest, RowsAreReadInBlocksWhenFirstAskedFor)
{
    const std::size_t count = 2 * browseSessions::SessionList::blockRows + 44;
    std::vector<SessionRecord> sessions;
    for (std::size_t i = 0; i < count; ++i) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "%014zu", i);
        // The serial's order is the list's order: one instructor, dates rising.
        char date[16];
        std::snprintf(date, sizeof date, "%04zu-%02zu-%02zu", 2000 + i / 336, 1 + i / 28 % 12, 1 + i % 28);
        sessions.push_back(session(serial, "Kari", "Ola", "Hanne", date));
    }
    store(database, sessions);

    browseSessions::SessionList list;
    ASSERT_TRUE(list.search(database, "", "", 0, 0));
    ASSERT_EQ(list.size(), count);
    EXPECT_EQ(list.blocksRead(), 0);
    EXPECT_EQ(list.row(count - 1).serial, sessions.back().Serialidentifier);
    EXPECT_EQ(list.row(count - 1).date, sessions.back().CourseDate);
    EXPECT_EQ(list.blocksRead(), 1) << "only the last block";
    EXPECT_EQ(list.row(count - 2).serial, sessions[count - 2].Serialidentifier);
    EXPECT_EQ(list.blocksRead(), 1) << "a row read before is not read again";

    exec("DELETE FROM Session WHERE Serialidentifier = '" + sessions[5].Serialidentifier + "'");
    EXPECT_EQ(list.row(5).serial, "");
    EXPECT_EQ(list.row(5).ventilation, "");
    EXPECT_EQ(list.row(4).serial, sessions[4].Serialidentifier);
    EXPECT_EQ(list.row(6).serial, sessions[6].Serialidentifier);
    EXPECT_EQ(list.blocksRead(), 2);

    // A new search knows nothing of the rows read before.
    ASSERT_TRUE(list.search(database, "", "", 0, 0));
    EXPECT_EQ(list.size(), count - 1);
    EXPECT_EQ(list.blocksRead(), 0);
    EXPECT_EQ(list.row(5).serial, sessions[6].Serialidentifier);

    database.close();
    EXPECT_FALSE(list.search(database, "", "", 0, 0));
    EXPECT_EQ(list.size(), 0u);
}

// A value far longer than any column shows (written by another program) is
// shown cut, and every row around it whole: a block's read sets aside room
// for the bound, not for the longest value, and does not fail.
TEST_F(BrowseSessionsTest, AHugeValueIsShownCutAndEveryRowIsShown)
{
    using List = browseSessions::SessionList;
    const std::size_t count = List::blockRows + 20;
    std::vector<SessionRecord> sessions;
    for (std::size_t i = 0; i < count; ++i) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "%014zu", i);
        char time[16]; // the list's order is the serials'
        std::snprintf(time, sizeof time, "%02zu:%02zu", i / 60, i % 60);
        sessions.push_back(session(serial, "Kari", "Ola", "Hanne", "2006-03-05"));
        sessions.back().StartTime = time;
        sessions.back().Scenario = "Adult";
    }
    store(database, sessions);
    // 20,000,000 letters (more than a read would ever make room for whole),
    // and 3,000,000 letters of two bytes each, in the first block.
    const bool pg = dbtest::usingPostgres();
    if (pg)
        exec("ALTER TABLE Session ALTER COLUMN Scenario TYPE citext"); // a wider column, as another tool may make
    auto huge = [&](const std::string& serial, std::size_t letters, bool twoBytes) {
        std::string value = pg ? "repeat(" + std::string(twoBytes ? "chr(233)" : "'x'") + ", " + std::to_string(letters) + ")"
                               : "replace(hex(zeroblob(" + std::to_string(letters) + ")), '00', "
                                     + (twoBytes ? "char(233)" : "'x'") + ")";
        exec("UPDATE Session SET Scenario = " + value + " WHERE Serialidentifier = '" + serial + "'");
    };
    huge(sessions[3].Serialidentifier, 20000000, false);
    huge(sessions[4].Serialidentifier, 3000000, true);
    ASSERT_EQ(scalar("SELECT length(Scenario) FROM Session WHERE Serialidentifier = '" + sessions[3].Serialidentifier + "'"),
              "20000000");

    testsupport::LogCapture log;
    List list;
    ASSERT_TRUE(list.search(database, "", "", 0, 0));
    ASSERT_EQ(list.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const browseSessions::ListRow& row = list.row(i);
        EXPECT_EQ(row.serial, sessions[i].Serialidentifier) << "row " << i;
        EXPECT_EQ(row.ventilation, "Kari") << "row " << i;
        if (i == 3)
            EXPECT_EQ(row.scenario, std::string(List::valueBytes - 1, 'x'));
        else if (i == 4) // never half a letter
            EXPECT_EQ(row.scenario, std::string((List::valueBytes - 1) / 2, '\xe9'));
        else
            EXPECT_EQ(row.scenario, "Adult") << "row " << i;
    }
    EXPECT_EQ(list.blocksRead(), 2);
    EXPECT_LE(list.largestBlockBytes(), List::blockRows * 8 * List::valueBytes);
    EXPECT_EQ(log.text().find("could not be read"), std::string::npos) << log.text();
}

TEST_F(BrowseSessionsTest, SessionsMoveToAnotherStationWhole)
{
    // Station A: its own SQLite database beside the test's data source.
    std::string fileA = dir.file("stationA.db");
    Database stationA;
    ASSERT_TRUE(stationA.open("Driver=SQLite3;Database=" + fileA)) << stationA.lastError().text;
    std::string failure;
    ASSERT_TRUE(dbtest::runScript(stationA, std::string(TAVO_SOURCE_DIR) + "/db/schema-sqlite.sql", failure)) << failure;
    std::vector<SessionRecord> originals = {
        session("0a0b0c0d0e0f01", "Kari", "Ola", "Hanne", "2006-03-05"),
        session("0a0b0c0d0e0f02", "Per", "Karin", "Hans", "2006-04-05"),
        session("0a0b0c0d0e0f03", "Lise", "Nils", "Hanne", "2007-03-01"),
    };
    originals[2].Note = std::string(255, 'n'); // as long as the column takes
    store(stationA, originals);
    const std::string dataTexts[] = {"0\n0\n0\n", "1\r\n5 0\r\n0\r\n1\r\n0.5 0 0 0 0 0\r\n", std::string(300000, 'd') + "\n"};
    for (int i = 0; i < 3; ++i)
        writeText(folderA() + "/" + originals[i].Serialidentifier + ".dat", dataTexts[i]);

    SessionTable exported(stationA);
    ASSERT_TRUE(DBUtil::Open(&exported, "Session"));
    std::vector<SessionRecord> list = browseSessions::collectForExport(
        exported, {"0a0b0c0d0e0f03", "0a0b0c0d0e0f01", "0a0b0c0d0e0f02", "0a0b0c0d0e0f77"}); // the last is not stored
    ASSERT_EQ(list.size(), 3u);
    std::string sdb = dir.file("three.sdb");
    ASSERT_TRUE(writeSessionsFile(sdb, list));
    stationA.close();

    // Station B: the test's data source, empty, with its own data folder.
    useFolder(folderB());
    ui.boxes.clear();
    std::vector<SessionRecord> read = readSessionsFile(sdb);
    ASSERT_EQ(read.size(), 3u);
    SessionTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_EQ(browseSessions::storeImported(table, read, plainDate), 3);
    EXPECT_TRUE(ui.boxes.empty());

    int checked = 0;
    for (const char* serial : {"0a0b0c0d0e0f01", "0a0b0c0d0e0f02", "0a0b0c0d0e0f03"}) {
        SessionRecord got;
        ASSERT_TRUE(browseSessions::loadSession(table, serial, got));
        for (int i = 0; i < 3; ++i) {
            const SessionRecord& want = originals[i];
            if (got.Serialidentifier != want.Serialidentifier)
                continue;
            ++checked;
            EXPECT_EQ(got.PersonVentilation, want.PersonVentilation);
            EXPECT_EQ(got.PersonChestCompression, want.PersonChestCompression);
            EXPECT_EQ(got.CourseInstructor, want.CourseInstructor);
            EXPECT_EQ(got.CourseDate, want.CourseDate);
            EXPECT_EQ(got.StartTime, want.StartTime);
            EXPECT_EQ(got.Note, want.Note);
            EXPECT_EQ(got.Algorithm, want.Algorithm);
            EXPECT_EQ(got.Approved, want.Approved);
            EXPECT_EQ(got.ApprovedBy, want.ApprovedBy);
            EXPECT_EQ(got.CompDepth, want.CompDepth);
            EXPECT_EQ(got.ECCrate, want.ECCrate);
            EXPECT_EQ(got.Manikin, want.Manikin);
            EXPECT_EQ(got.Done, 1);
            std::string expected = dataTexts[i];
            std::erase(expected, '\r'); // carried with line feeds alone
            EXPECT_EQ(slurp(folderB() + "/" + want.Serialidentifier + ".dat"), expected);
        }
    }
    EXPECT_EQ(checked, 3);
}

TEST_F(BrowseSessionsTest, ImportingTwiceDuplicatesNothingUnlessAsked)
{
    std::vector<SessionRecord> sessions = {
        session("0a0b0c0d0e0f01", "Kari", "Ola", "Hanne", "2006-03-05"),
        session("0a0b0c0d0e0f02", "Per", "", "", "2006-04-05"),
    };
    for (SessionRecord& s : sessions)
        s.dataText = "0\n0\n0\n";
    std::vector<SessionRecord> first = sessions;
    SessionTable table(database);
    ASSERT_TRUE(table.open(""));
    ASSERT_EQ(browseSessions::storeImported(table, first, plainDate), 2);
    ASSERT_EQ(sessionRows(), 2);

    // Again, answering No: the user is asked for each, nothing changes.
    std::vector<SessionRecord> again = sessions;
    EXPECT_EQ(browseSessions::storeImported(table, again, plainDate), 0);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].caption, L"Import session");
    EXPECT_EQ(ui.boxes[0].flags, unsigned(dbui::MB_YESNO | dbui::MB_ICONQUESTION));
    EXPECT_EQ(ui.boxes[0].text,
        L"One of the chosen sessions already exists in the database.\r\nContinue importing this session?\r\n\r\n"
        L"Date:\t\t2006-03-05\r\nCompression:\tOla\r\nVentilation:\tKari\r\nCourse Instructor:\tHanne\r\n"
        L"Approved by:\tDr. O'Neill\r\n"
        L"\r\nChoose yes if you would like to duplicate this session.\r\nChoose no if you would like to skip this session.");
    EXPECT_EQ(ui.boxes[1].text.find(L"Compression"), std::wstring::npos); // empty names are left out
    EXPECT_EQ(sessionRows(), 2);

    // A stored row without a data file (a planned session) counts as known too.
    exec("INSERT INTO Session (Serialidentifier) VALUES ('0a0b0c0d0e0f03')");
    SessionRecord planned = session("0a0b0c0d0e0f03", "Lise", "", "", "2006-05-05");
    std::vector<SessionRecord> third = {planned};
    ui.boxes.clear();
    EXPECT_EQ(browseSessions::storeImported(table, third, plainDate), 0);
    EXPECT_EQ(ui.boxes.size(), 1u);

    // Yes: a copy under a new serial with its own data file.
    ui.boxes.clear();
    ui.answers = {dbui::IDYES, dbui::IDNO};
    std::vector<SessionRecord> copies = sessions;
    EXPECT_EQ(browseSessions::storeImported(table, copies, plainDate), 1);
    EXPECT_NE(copies[0].Serialidentifier, sessions[0].Serialidentifier);
    EXPECT_TRUE(SessionRecord::isValidSerial(copies[0].Serialidentifier));
    EXPECT_EQ(slurp(folderA() + "/" + copies[0].Serialidentifier + ".dat"), "0\n0\n0\n");
    EXPECT_EQ(scalar("SELECT PersonVentilation FROM Session WHERE Serialidentifier = '" + copies[0].Serialidentifier + "'"),
        "Kari");
    EXPECT_EQ(sessionRows(), 4);

    // Two records of one file with one serial: the second is known by then.
    ui.boxes.clear();
    SessionRecord twin = session("0a0b0c0d0e0f09", "Twin", "", "", "2006-05-05");
    std::vector<SessionRecord> twins = {twin, twin};
    EXPECT_EQ(browseSessions::storeImported(table, twins, plainDate), 1);
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(sessionRows(), 5);
}

// Two stations on one data folder import the same exchange file at one
// moment: the session is stored once, and its data file stays with it.
TEST_F(BrowseSessionsTest, TwoStationsImportingOneSessionAtOnceKeepItsDataFile)
{
    constexpr int rounds = 30;
    auto serial = [](int round) { return std::string("0a0b0c0d0e0f") + (round < 10 ? "0" : "") + std::to_string(round); };
    {
        dbtest::StationProcesses stations(2, [&](int, int round) {
            std::vector<SessionRecord> records = {session(serial(round), "Kari", "Ola", "Hanne", "2006-03-05")};
            records[0].dataText = "0\n0\n0\n";
            SessionTable table(database);
            return table.open("") && browseSessions::storeImported(table, records, plainDate) >= 0;
        });
        ASSERT_TRUE(stations.started(2));
        for (int round = 0; round < rounds; ++round)
            stations.round();
    }
    for (int round = 0; round < rounds; ++round) {
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Serialidentifier = '" + serial(round) + "'"), "1")
            << "round " << round;
        EXPECT_TRUE(std::filesystem::exists(folderA() + "/" + serial(round) + ".dat"))
            << "round " << round << ": the stored session's data file";
    }
}

TEST_F(BrowseSessionsTest, RowsThatCannotBeStoredLeaveNoDataFile)
{
    SessionRecord good = session("0a0b0c0d0e0f01", "Kari", "", "", "2006-03-05");
    SessionRecord hostile = good;
    hostile.Serialidentifier = "../escaped";
    SessionRecord tooLong = session("0a0b0c0d0e0f02", std::string(300, 'x'), "", "", "2006-03-05");
    std::vector<SessionRecord> records = {hostile, tooLong, good};
    SessionTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_EQ(browseSessions::storeImported(table, records, plainDate), 1);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text, L"Could not save session 0a0b0c0d0e0f02. Skipping session.");
    EXPECT_EQ(sessionRows(), 1);
    // Only the good session's data file, and nothing beside the folder.
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file() && entry.path().extension() != ".db")
            files.push_back(entry.path().string());
    EXPECT_EQ(files, std::vector<std::string>{folderA() + "/0a0b0c0d0e0f01.dat"});

    // A table that is not open: every row takes the "Could not save" path and its file goes again.
    SessionTable closed(database);
    ui.boxes.clear();
    std::vector<SessionRecord> more = {session("0a0b0c0d0e0f05", "Per", "", "", "2006-03-05")};
    more[0].dataText = "0\n0\n0\n";
    EXPECT_EQ(browseSessions::storeImported(closed, more, plainDate), 0);
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back().text, L"Could not save session 0a0b0c0d0e0f05. Skipping session.");
    EXPECT_FALSE(std::filesystem::exists(folderA() + "/0a0b0c0d0e0f05.dat"));
}

TEST_F(BrowseSessionsTest, ASessionWhoseFiguresAreNotNumbersIsRefusedAloneByItsSerial)
{
    // From another installation's file: one session per real-number column
    // holding a value that is not a number, between two good ones.
    double SessionRecord::*const figures[] = {&SessionRecord::CompDepth, &SessionRecord::CompRelaxRatio,
        &SessionRecord::ECCrate, &SessionRecord::InterfaceFrequency, &SessionRecord::Leaning, &SessionRecord::PauseECC,
        &SessionRecord::StomachInflation, &SessionRecord::VentCompRatioComp, &SessionRecord::VentCompRatioVent,
        &SessionRecord::VentilationRate, &SessionRecord::VentilationVolume, &SessionRecord::WrongHandPosition};
    const double notNumbers[] = {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity()};
    std::vector<SessionRecord> records = {session("0a0b0c0d0e0f01", "Kari", "", "", "2006-03-05")};
    std::vector<std::wstring> refused;
    int k = 0;
    for (double SessionRecord::*figure : figures) {
        SessionRecord bad = session("0a0b0c0d0e0f" + std::string(1, char('a' + k)) + "0", "Per", "", "", "2006-03-05");
        bad.*figure = notNumbers[k % 3];
        records.push_back(bad);
        refused.push_back(L"Could not save session " + std::wstring(bad.Serialidentifier.begin(), bad.Serialidentifier.end())
            + L". Skipping session.");
        ++k;
    }
    records.push_back(session("0a0b0c0d0e0f02", "Lise", "", "", "2006-03-05"));
    for (SessionRecord& r : records)
        r.dataText = "0\n0\n0\n";
    std::string sdb = dir.file("figures.sdb");
    ASSERT_TRUE(writeSessionsFile(sdb, records));
    ui.boxes.clear();
    std::vector<SessionRecord> read = readSessionsFile(sdb);
    ASSERT_EQ(read.size(), records.size()) << "the file itself is sound";
    EXPECT_TRUE(ui.boxes.empty());

    SessionTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_EQ(browseSessions::storeImported(table, read, plainDate), 2);
    std::vector<std::wstring> shown;
    for (const auto& box : ui.boxes)
        shown.push_back(box.text);
    EXPECT_EQ(shown, refused) << "one box each, naming the session, and no message of the driver";
    EXPECT_EQ(sessionRows(), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE PersonVentilation IN ('Kari', 'Lise')"), "2");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folderA()))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"0a0b0c0d0e0f01.dat", "0a0b0c0d0e0f02.dat"}));
}

TEST_F(BrowseSessionsTest, ExportSkipsSessionsWithoutTheirDataFile)
{
    store(database, {
        session("0a0b0c0d0e0f01", "Anne", "", "Hanne", "2006-03-05"),
        session("0a0b0c0d0e0f02", "Bent", "", "Hanne", "2006-03-05"),
    });
    writeText(folderA() + "/0a0b0c0d0e0f02.dat", "0\n0\n0\n");
    SessionTable table(database);
    ASSERT_TRUE(table.open(""));
    std::vector<SessionRecord> list = browseSessions::collectForExport(table, {"0a0b0c0d0e0f01", "0a0b0c0d0e0f02"});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Serialidentifier, "0a0b0c0d0e0f02");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"Could not open datafile for session 0a0b0c0d0e0f01. Skipping session.");
    EXPECT_EQ(ui.boxes[0].caption, L"Export session");

    // A data file that cannot be read (a folder in its place).
    std::filesystem::create_directories(folderA() + "/0a0b0c0d0e0f01.dat");
    ui.boxes.clear();
    EXPECT_EQ(browseSessions::collectForExport(table, {"0a0b0c0d0e0f01"}).size(), 0u);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"0a0b0c0d0e0f01"), std::wstring::npos);
}

} // namespace
