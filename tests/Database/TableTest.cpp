#include "Database/AlgorithmTable.h"

#include "DbTestSupport.h"
#include "FakeCombo.h"
#include "TestRecordsets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

class TableTest : public dbtest::DbTest {
protected:
    void addAlgorithms()
    {
        exec("INSERT INTO Algorithm (Name, builtIn) VALUES ('Own', FALSE)");
        exec("INSERT INTO Algorithm (Name, builtIn) VALUES ('" + std::string(AlgorithmTable::ahaName) + "', TRUE)");
        exec("INSERT INTO Algorithm (Name, builtIn) VALUES ('Zeta', FALSE)");
    }
};

TEST_F(TableTest, TablesOpenOnlyOnAnOpenDatabaseAndRegisterWithThePool)
{
    std::size_t before = tablePool.size();
    {
        AlgorithmTable all(database), own(database);
        EXPECT_TRUE(all.open(""));
        EXPECT_TRUE(own.open("builtIn = FALSE"));
        EXPECT_EQ(tablePool.size(), before + 2);
        databaseOpen = false;
        AlgorithmTable refused(database);
        EXPECT_FALSE(refused.open(""));
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.count("Own"), 0);
        databaseOpen = true;
    }
    EXPECT_EQ(tablePool.size(), before);
}

TEST_F(TableTest, TwoTablesWithDifferentFiltersAreIndependent)
{
    addAlgorithms();
    AlgorithmTable all(database), own(database);
    ASSERT_TRUE(all.open(""));
    ASSERT_TRUE(own.open("builtIn = FALSE"));
    EXPECT_EQ(all.count("own"), 1);
    EXPECT_EQ(all.count(AlgorithmTable::ahaName), 1);
    EXPECT_EQ(own.count(AlgorithmTable::ahaName), 0);
    EXPECT_TRUE(own.IsEOF()); // count leaves the cursor after the last row

    AlgorithmTable empty(database);
    ASSERT_TRUE(empty.open("Name = 'nobody'"));
    EXPECT_EQ(empty.count("nobody"), 0);
}

TEST_F(TableTest, FillComboKeepsTheTablesFilterAndTheSelectedText)
{
    addAlgorithms();
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open("Name <> 'Zeta'"));
    dbtest::FakeCombo combo;
    combo.entries = {"Zeta", "old entry"};
    combo.text = "Zeta";

    table.fillCombo(combo, "Name", "builtIn = FALSE");
    EXPECT_EQ(combo.entries, (Names{"Own", "Zeta"}));
    EXPECT_EQ(combo.text, "Zeta");
    EXPECT_EQ(table.m_strFilter, "Name <> 'Zeta'");
    EXPECT_EQ(table.count("Zeta"), 0); // the table was re-opened on its own filter

    table.fillCombo(combo, "name", "");
    EXPECT_EQ(combo.entries, (Names{"Own", AlgorithmTable::ahaName, "Zeta"}));
}

TEST_F(TableTest, FillComboOfAClosedTableLeavesTheListEmpty)
{
    AlgorithmTable table(database);
    dbtest::FakeCombo combo;
    combo.entries = {"Own"};
    combo.text = "Own";
    table.fillCombo(combo, "Name", "");
    EXPECT_TRUE(combo.entries.empty());
    EXPECT_EQ(combo.text, "");
}

TEST_F(TableTest, AnUnknownColumnGivesAnEmptyTextAndOneLogLine)
{
    addAlgorithms();
    testsupport::LogCapture log;
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    ASSERT_TRUE(table.MoveFirst()); // opening walked the rows for outdated built-ins
    EXPECT_EQ(table.getField("NAME"), "Own");
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos);
    EXPECT_EQ(table.getField("builtIn"), "");
    EXPECT_TRUE(log.hasAssertion("false"));
}

TEST_F(TableTest, RestartReadsRowsAddedElsewhereUnderTheSameFilterAndSort)
{
    addAlgorithms();
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open("builtIn = FALSE"));
    table.m_strSort = "Name DESC";
    exec("INSERT INTO Algorithm (Name) VALUES ('Mid')");
    table.restart();
    ASSERT_TRUE(table.ok);
    dbtest::FakeCombo combo;
    table.fillCombo(combo, "name", "builtIn = FALSE");
    EXPECT_EQ(combo.entries, (Names{"Zeta", "Own", "Mid"}));

    table.ok = false; // a table that never opened is not re-opened
    table.Close();
    table.restart();
    EXPECT_FALSE(table.IsOpen());
}

TEST_F(TableTest, AFailedRestartUnderAChangedFilterLeavesNoRowsBehind)
{
    exec("INSERT INTO Algorithm (Name) VALUES ('A')");
    exec("INSERT INTO Algorithm (Name) VALUES ('B')");
    testsupport::LogCapture log;
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    ASSERT_TRUE(table.MoveLast());
    table.m_strFilter = "NoSuchColumn = 1";
    EXPECT_FALSE(table.restart());
    EXPECT_TRUE(log.hasAssertion("ok"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"SQLSTATE"), std::wstring::npos);
    EXPECT_FALSE(table.ok) << "the rows of the old filter are not the new filter's";
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(table.count("A"), 0);
}

TEST_F(TableTest, AComboFilterThatFailsLeavesTheTableOnItsOwnFilter)
{
    exec("INSERT INTO Algorithm (Name) VALUES ('A')");
    exec("INSERT INTO Algorithm (Name) VALUES ('B')");
    testsupport::LogCapture log;
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open("Name <> 'B'"));
    dbtest::FakeCombo combo;
    table.fillCombo(combo, "Name", "NoSuchColumn = 1");
    EXPECT_TRUE(combo.entries.empty());
    EXPECT_TRUE(table.ok);
    EXPECT_EQ(dbtest::column(table, &AlgorithmTable::Name), (std::vector<std::string>{"A"}));
}

} // namespace
