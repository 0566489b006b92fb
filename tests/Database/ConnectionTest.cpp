#include "Database/DatabaseUtil.h"
#include "Database/Transaction.h"

#include "DbTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <string>

#include <sql.h>
#include <sqlext.h>

namespace {

class ConnectionTest : public dbtest::DbTest {};

// A key of three texts, the first compared ignoring case.
struct CourseColumns {
    std::string a, b, c;
    std::vector<DBUtil::KeyPart> parts(const CourseColumns& names) const
    {
        return {{names.a, a, true}, {names.b, b, false}, {names.c, c, false}};
    }
};

TEST_F(ConnectionTest, UpdateAndRemoveMatchQuotedValues)
{
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s1', 'O''Brien')");
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s2', 'Other')");

    EXPECT_TRUE(DBUtil::update(database, "Session", "Algorithm", "O'Brien", "O'Neill"));
    EXPECT_EQ(scalar("SELECT Algorithm FROM Session WHERE Serialidentifier = 's1'"), "O'Neill");

    EXPECT_TRUE(DBUtil::update(database, "Session", "Algorithm", "nobody", "x")); // no row: no message
    EXPECT_TRUE(DBUtil::remove(database, "Session", "Algorithm", "nobody"));

    EXPECT_TRUE(DBUtil::remove(database, "Session", "Algorithm", "O'Neill"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ConnectionTest, CompositeKeyStatementsUseEveryColumnOfTheCourseCondition)
{
    exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime) VALUES ('a', 'Anna', '2006-03-05', '10:00')");
    exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime) VALUES ('b', 'Anna', '2006-03-05', '11:00')");
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Anna', '2006-03-05', '10:00')");
    CourseColumns sessionColumns{"CourseInstructor", "CourseDate", "CourseTime"};
    CourseColumns oldKey{"anna", "2006-03-05", "10:00"};
    CourseColumns newKey{"Bert", "2006-03-06", "09:30"};

    EXPECT_TRUE(DBUtil::updateWhere(database, "Session", oldKey, newKey, sessionColumns));
    EXPECT_EQ(scalar("SELECT CourseInstructor || ' ' || CourseDate || ' ' || CourseTime FROM Session WHERE Serialidentifier = 'a'"),
              "Bert 2006-03-06 09:30");
    EXPECT_EQ(scalar("SELECT CourseTime FROM Session WHERE Serialidentifier = 'b'"), "11:00");

    // The Course table's own columns include Date and Time.
    EXPECT_TRUE(DBUtil::removeWhere(database, "Course", oldKey, CourseColumns{"Instructor", "Date", "Time"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course"), "0");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ConnectionTest, AFailingStatementShowsOneBoxAndReportsFailure)
{
    EXPECT_FALSE(DBUtil::remove(database, "NoSuchTable", "Name", "x"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].flags, dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    EXPECT_NE(ui.boxes[0].text.find(L"SQLSTATE"), std::wstring::npos);
    std::wstring text = ui.boxes[0].text;
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    EXPECT_NE(text.find(L"nosuchtable"), std::wstring::npos) << "the driver's text names the table";
}

TEST_F(ConnectionTest, TransactionsCommitOrRollBack)
{
    ASSERT_TRUE(database.beginTransaction());
    exec("INSERT INTO Person (Name) VALUES ('Anna')");
    ASSERT_TRUE(database.rollback());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "0");

    ASSERT_TRUE(database.beginTransaction());
    exec("INSERT INTO Person (Name) VALUES ('Bert')");
    ASSERT_TRUE(database.commit());
    exec("INSERT INTO Person (Name) VALUES ('Cleo')"); // back to one transaction per statement
    database.close();
    ASSERT_TRUE(database.open("DSN=tavocpr"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "2");
}

TEST_F(ConnectionTest, ATransactionShowsItsErrorOnlyAfterRollingBack)
{
    {
        Transaction transaction(database);
        ASSERT_TRUE(transaction.isOpen());
        exec("INSERT INTO Person (Name) VALUES ('Anna')");
        EXPECT_FALSE(DBUtil::remove(database, "NoSuchTable", "Name", "x"));
        EXPECT_TRUE(ui.boxes.empty()) << "no box while the transaction holds its locks";
        EXPECT_TRUE(transaction.failed());
        EXPECT_FALSE(transaction.commit()) << "a failure inside rolls everything back";
    }
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(ui.boxes[0].duringTransaction);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "0");

    {
        Transaction transaction(database);
        exec("INSERT INTO Person (Name) VALUES ('Bert')");
    } // left without commit
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "0");

    Transaction transaction(database);
    exec("INSERT INTO Person (Name) VALUES ('Cleo')");
    EXPECT_TRUE(transaction.commit());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "1");
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(ConnectionTest, TransactionsDoNotNest)
{
    Transaction outer(database);
    ASSERT_TRUE(outer.isOpen());
    exec("INSERT INTO Person (Name) VALUES ('Anna')");
    {
        testsupport::LogCapture log;
        Transaction inner(database);
        EXPECT_FALSE(inner.isOpen());
    }
    EXPECT_TRUE(database.inTransaction()) << "the inner guard leaves the outer transaction alone";
    EXPECT_FALSE(outer.commit());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(ui.boxes[0].duringTransaction);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "0");
}

TEST_F(ConnectionTest, ThePostgreSqlSessionQuotesTheStandardWay)
{
    if (!dbtest::usingPostgres())
        GTEST_SKIP() << "PostgreSQL only";
    EXPECT_EQ(scalar("SHOW standard_conforming_strings"), "on");
    EXPECT_EQ(scalar("SELECT 'back\\slash'"), "back\\slash");
}

TEST_F(ConnectionTest, ThePostgreSqlRunUsesTheDriverItNames)
{
    if (!dbtest::usingPostgres())
        GTEST_SKIP() << "PostgreSQL only";
    SQLCHAR name[128] = {};
    SQLSMALLINT length = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLGetInfo(static_cast<SQLHDBC>(database.handle()), SQL_DRIVER_NAME, name, sizeof name, &length)));
    const char* unicode = std::getenv("TAVO_PG_UNICODE");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(name)), unicode && *unicode == '1' ? "psqlodbcw.so" : "psqlodbca.so");
}

TEST_F(ConnectionTest, APostgreSqlSessionWaitsForLocksAtMostItsTimeout)
{
    if (!dbtest::usingPostgres())
        GTEST_SKIP() << "PostgreSQL only";
    EXPECT_EQ(scalar("SHOW lock_timeout"), "2s") << "the data source's own setting";
    database.close();
    ASSERT_TRUE(database.open("DSN=tavocpr;ConnSettings="));
    EXPECT_EQ(scalar("SHOW lock_timeout"), "5s") << "the program's when the data source has none";
}

} // namespace
