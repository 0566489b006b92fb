// A database that another station holds locked, or whose file went away
// while the program uses it: every failure reaches the user as the database
// error box, nothing is reported as saved that was not, and nothing waits
// longer than the data source's lock timeout per statement.
#include "Database/AlgorithmTable.h"
#include "Database/DatabaseDialog.h"
#include "Database/Transaction.h"

#include "DbTestSupport.h"
#include "ForeignLock.h"
#include "TestEditor.h"
#include "TestRecordsets.h"
#include "Utillib/GString.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>

namespace {

using dbtest::named;
using dbtest::TestEditor;
using Names = std::vector<std::string>;
using namespace dbui;
using dbtest::ForeignLock;

std::wstring lowerCase(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

class LockTest : public dbtest::DbTest, public ::testing::WithParamInterface<ForeignLock::Kind> {
protected:
    void addAlgorithms(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            exec("INSERT INTO Algorithm (Name) VALUES ('" + std::string(name) + "')");
    }
    Names storedNames()
    {
        AlgorithmTable table(database);
        table.open("");
        return dbtest::column(static_cast<AlgorithmTable&>(table), &AlgorithmTable::Name);
    }
    // The boxes shown are database error boxes that tell of the lock: one,
    // or one per statement of a cascade, which goes on after a failure.
    void expectLockReported(bool oneBox = true)
    {
        ASSERT_FALSE(ui.boxes.empty());
        if (oneBox) {
            EXPECT_EQ(ui.boxes.size(), 1u);
        }
        for (const auto& box : ui.boxes) {
            EXPECT_EQ(box.flags, MB_OK | MB_ICONEXCLAMATION);
            EXPECT_NE(lowerCase(box.text).find(L"lock"), std::wstring::npos) << GString::to_string(box.text);
        }
        ui.boxes.clear();
    }
};

TEST_P(LockTest, ANewEntrySavedDuringALockIsReportedAndSavedLater)
{
    addAlgorithms({"A"});
    TestEditor editor;
    editor.start();
    editor.onNew();
    editor.shown = named("Mine", 120);

    ForeignLock lock(GetParam());
    ASSERT_TRUE(lock.held()) << lock.failure();
    EXPECT_FALSE(editor.save());
    expectLockReported();
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.buttonState() & 3, 3) << "the entry is still unsaved";
    lock.release();

    EXPECT_EQ(storedNames(), (Names{"A"}));
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"A", "Mine"}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_P(LockTest, AnEditSavedDuringALockIsReportedAndKeptForAnotherTry)
{
    addAlgorithms({"A", "B"});
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("B")));
    editor.shown.eccRateHigh = 130;

    ForeignLock lock(GetParam());
    ASSERT_TRUE(lock.held()) << lock.failure();
    EXPECT_FALSE(editor.save());
    expectLockReported();
    EXPECT_EQ(editor.shown.eccRateHigh, 130);
    EXPECT_EQ(editor.stored().eccRateHigh, 110);
    lock.release();

    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm WHERE Name = 'B'"), "110");
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm WHERE Name = 'B'"), "130");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_P(LockTest, ARenameDuringALockChangesNothing)
{
    addAlgorithms({"Old"});
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', 'Old')");
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("Old")));
    editor.shown.Name = "New";

    ForeignLock lock(GetParam());
    ASSERT_TRUE(lock.held()) << lock.failure();
    EXPECT_FALSE(editor.save());
    expectLockReported();
    lock.release();

    EXPECT_EQ(storedNames(), (Names{"Old"}));
    EXPECT_EQ(scalar("SELECT Algorithm FROM Session"), "Old");
    EXPECT_EQ(editor.stored().Name, "Old");
}

TEST_P(LockTest, ADeleteDuringALockIsReportedAndTheRowStays)
{
    addAlgorithms({"A", "B"});
    ui.answers = {IDYES};
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("A")));

    ForeignLock lock(GetParam());
    ASSERT_TRUE(lock.held()) << lock.failure();
    EXPECT_FALSE(editor.deleteRecord(true));
    ASSERT_FALSE(ui.boxes.empty());
    ui.boxes.erase(ui.boxes.begin()); // the question before deleting
    expectLockReported(false);
    EXPECT_FALSE(editor.isNewEntry());
    EXPECT_EQ(editor.shown.Name, "A");
    lock.release();

    EXPECT_EQ(storedNames(), (Names{"A", "B"}));
}

// A table that counts its reads.
class CountingTable : public AlgorithmTable {
public:
    CountingTable()
        : AlgorithmTable(database)
    {
    }
    bool Open(const std::string& table) override
    {
        ++reads;
        return AlgorithmTable::Open(table);
    }
    int reads = 0;
};

TEST_F(LockTest, AReadDuringAFullLockIsTriedOnceAndKeepsTheRowsReadBefore)
{
    addAlgorithms({"A", "B"});
    CountingTable table;
    ASSERT_TRUE(table.open(""));
    ASSERT_TRUE(table.MoveLast());
    table.reads = 0;

    ForeignLock lock(ForeignLock::Full);
    ASSERT_TRUE(lock.held()) << lock.failure();
    EXPECT_FALSE(table.restart());
    EXPECT_EQ(table.reads, 1) << "the driver waited for the lock already";
    expectLockReported();
    EXPECT_TRUE(table.IsOpen());
    EXPECT_EQ(table.Name, "B");
    EXPECT_EQ(dbtest::column(static_cast<AlgorithmTable&>(table), &AlgorithmTable::Name), (Names{"A", "B"}));
    lock.release();

    exec("INSERT INTO Algorithm (Name) VALUES ('C')");
    EXPECT_TRUE(table.restart());
    EXPECT_EQ(dbtest::column(static_cast<AlgorithmTable&>(table), &AlgorithmTable::Name), (Names{"A", "B", "C"}));
}

// The database file removed, or overwritten by something that is no
// database, while the editor has it open: a save is refused with the error
// box, the editor keeps the entry, and the file is not brought back empty.
TEST_F(LockTest, ADatabaseFileThatVanishedOrBrokeRefusesToSave)
{
    if (dbtest::usingPostgres())
        GTEST_SKIP() << "a database file is SQLite's";
    enum Damage { Removed, Overwritten };
    struct Case {
        Damage damage;
        bool newEntry;
    };
    const Case cases[] = {{Removed, true}, {Removed, false}, {Overwritten, true}, {Overwritten, false}};
    for (const Case& c : cases) {
        std::string failure;
        database.close();
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        ASSERT_TRUE(database.open("DSN=tavocpr"));
        addAlgorithms({"A"});
        ui.boxes.clear();
        TestEditor editor;
        editor.start();
        if (c.newEntry) {
            editor.onNew();
            editor.shown = named("Mine");
        } else {
            ASSERT_FALSE(editor.moveToRecord(named("A")));
            editor.shown.eccRateHigh = 130;
        }

        std::string file = dbtest::databaseFile();
        if (c.damage == Removed) {
            ASSERT_TRUE(std::filesystem::remove(file));
        } else {
            std::ofstream junk(file, std::ios::trunc | std::ios::binary);
            junk << std::string(4096, 'x');
        }
        EXPECT_FALSE(editor.save()) << c.damage << c.newEntry;
        ASSERT_EQ(ui.boxes.size(), 1u) << c.damage << c.newEntry;
        EXPECT_EQ(ui.boxes[0].flags, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_NE(ui.boxes[0].text.find(L"SQLSTATE"), std::wstring::npos);
        EXPECT_EQ(editor.isNewEntry(), c.newEntry);
        EXPECT_EQ(editor.buttonState() & 1, 1) << "still unsaved";
        if (c.damage == Removed) {
            EXPECT_FALSE(std::filesystem::exists(file));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locks, LockTest, ::testing::Values(ForeignLock::Write, ForeignLock::Full),
                         [](const auto& info) { return info.param == ForeignLock::Write ? "WriteLock" : "FullLock"; });

} // namespace

// Another station reads through the whole lock timeout of this station's
// commit (a long read, a backup): the commit fails, and the transaction is
// gone with it, so that its rows are not stored and other stations can write.
TEST_F(LockTest, ACommitRefusedWhileAnotherStationReadsLeavesNoTransactionBehind)
{
    if (dbtest::usingPostgres())
        GTEST_SKIP() << "a PostgreSQL reader never holds a writer's commit back";
    int in[2];
    int out[2];
    ASSERT_EQ(::pipe(in), 0);
    ASSERT_EQ(::pipe(out), 0);
    const std::string file = dbtest::databaseFile();
    const pid_t reader = ::fork();
    if (reader == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        ::close(in[1]);
        ::close(out[0]);
        ::execlp("sqlite3", "sqlite3", file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    // A read transaction that stays open until it is told to end.
    const std::string read = "BEGIN;\nSELECT 'read ' || COUNT(*) FROM Algorithm;\n";
    ASSERT_EQ(::write(in[1], read.data(), read.size()), static_cast<ssize_t>(read.size()));
    char answer[64] = {};
    ASSERT_GT(::read(out[0], answer, sizeof answer - 1), 0);
    ASSERT_EQ(std::string(answer).rfind("read ", 0), 0u) << answer;
    {
        Transaction transaction(database);
        ASSERT_TRUE(transaction.isOpen());
        EXPECT_TRUE(database.execute("INSERT INTO Algorithm (Name) VALUES ('Refused')"));
        EXPECT_FALSE(transaction.commit());
    }
    EXPECT_FALSE(database.inTransaction());
    ::close(in[1]); // the reader ends
    int status = 0;
    ::waitpid(reader, &status, 0);
    ::close(out[0]);
    ui.boxes.clear();

    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE Name = 'Refused'"), "0") << "the refused commit stored nothing";
    ForeignLock other(ForeignLock::Write);
    EXPECT_TRUE(other.held()) << "another station can write again: " << other.failure();
}
