#include "Database/AlgorithmTable.h"

#include "DbTestSupport.h"
#include "TestRecordsets.h"

#include <gtest/gtest.h>

namespace {

using dbtest::column;
using Names = std::vector<std::string>;

class AlgorithmTableTest : public dbtest::DbTest {
protected:
    void addAlgorithm(const std::string& name, bool builtIn)
    {
        exec("INSERT INTO Algorithm (Name, builtIn) VALUES ('" + DBUtil::quote(name) + "', " + (builtIn ? "TRUE" : "FALSE") + ")");
    }
    void addSession(const std::string& serial, const std::string& algorithm)
    {
        exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('" + serial + "', '" + DBUtil::quote(algorithm) + "')");
    }
    void addScenario(const std::string& name, const std::string& algorithm)
    {
        exec("INSERT INTO Scenario (Name, Algorithm) VALUES ('" + name + "', '" + DBUtil::quote(algorithm) + "')");
    }
};

TEST_F(AlgorithmTableTest, OpeningRemovesOutdatedBuiltInRowsOnly)
{
    addAlgorithm("aha 2005 (american heart association)", true); // not the exact name
    addAlgorithm(AlgorithmTable::ahaName, true);
    addAlgorithm("International Guidelines 2000", true);
    addAlgorithm("Own", false);
    addAlgorithm(AlgorithmTable::ercName, true);

    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm"), "3");
    EXPECT_EQ(column(table, &AlgorithmTable::Name), (Names{AlgorithmTable::ahaName, "Own", AlgorithmTable::ercName}));
}

TEST_F(AlgorithmTableTest, OpeningATableOfOutdatedRowsOnlyEmptiesIt)
{
    addAlgorithm("Oranje Kruis (1. pers) 1998", true);
    addAlgorithm("Oranje Kruis (2. pers) 1998", true);
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_TRUE(table.IsBOF() && table.IsEOF());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm"), "0");
}

TEST_F(AlgorithmTableTest, RecordsRoundTripThroughTheTable)
{
    Algorithm a;
    a.Name = "Pediatric";
    a.compDepthHigh = 41.5;
    a.compDepthLow = 31;
    a.compRelaxHigh = 61;
    a.compRelaxLow = 39;
    a.compRelaxRecc = 51;
    a.eccRateHigh = 121;
    a.eccRateLow = 99;
    a.initVent = 5;
    a.ventCompRatioDoubleComp = 15;
    a.ventCompRatioDoubleVent = 2;
    a.ventCompRatioSingleComp = 30;
    a.ventCompRatioSingleVent = 3;
    a.vRateHigh = 12;
    a.vRateLow = 8;
    a.vVolHigh = 0.25;
    a.vVolLow = 0.125;
    a.builtIn = false;
    a.pauseEccMax = 7;
    {
        AlgorithmTable table(database);
        ASSERT_TRUE(table.open(""));
        ASSERT_TRUE(table.AddNew());
        table.setRecord(a);
        ASSERT_TRUE(table.Update()) << table.lastError().text;
    }
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_EQ(table.getRecord(), a);

    AlgorithmTable closed(database); // never opened: the column members' first values
    Algorithm initial = closed.getRecord();
    EXPECT_EQ(initial.pauseEccMax, 0);
    EXPECT_EQ(initial.eccRateHigh, 110);
}

TEST_F(AlgorithmTableTest, FindByNameIgnoresCaseAndElseGivesTheDefaults)
{
    addAlgorithm("Own", false);
    exec("INSERT INTO Algorithm (Name, builtIn, initVent, pauseEccMax) VALUES ('" + std::string(AlgorithmTable::ercName)
         + "', TRUE, 0, 10)");
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));

    Algorithm erc = table.findByName("erc 2005 (european resuscitation council)");
    EXPECT_EQ(erc.Name, AlgorithmTable::ercName);
    EXPECT_TRUE(erc.builtIn);
    EXPECT_EQ(erc.initVent, 0);

    Algorithm unknown = table.findByName("Nowhere");
    Algorithm expected;
    expected.Name = "Nowhere";
    EXPECT_EQ(unknown, expected);
    EXPECT_TRUE(table.IsEOF());

    AlgorithmTable closed(database);
    EXPECT_EQ(closed.findByName("Own"), [] {
        Algorithm a;
        a.Name = "Own";
        return a;
    }());
}

TEST_F(AlgorithmTableTest, RemoveWithCascadeTakesSessionsAndScenariosAlong)
{
    for (const char* name : {"O'Brien", "Keep"})
        addAlgorithm(name, false);
    addSession("s1", "o'brien");
    addSession("s2", "Keep");
    addScenario("Sc1", "O'Brien");
    addScenario("Sc2", "Keep");

    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    dbtest::SessionSet sessions;
    dbtest::ScenarioSet scenarios;
    ASSERT_TRUE(sessions.Open("Session") && scenarios.Open("Scenario"));
    tablePool.add(&sessions, tableKind::Session);
    tablePool.add(&scenarios, tableKind::Scenario);

    EXPECT_TRUE(table.remove("O'Brien", true));
    EXPECT_EQ(column(sessions, &dbtest::SessionSet::Serialidentifier), (Names{"s2"}));
    EXPECT_EQ(column(scenarios, &dbtest::ScenarioSet::Name), (Names{"Sc2"}));
    EXPECT_EQ(column(table, &AlgorithmTable::Name), (Names{"Keep"}));

    EXPECT_TRUE(table.remove("Keep", false));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Scenario"), "1");
    EXPECT_TRUE(ui.boxes.empty());

    tablePool.remove(&sessions);
    tablePool.remove(&scenarios);
}

TEST_F(AlgorithmTableTest, RenameCarriesTheNameIntoSessionsAndScenarios)
{
    addAlgorithm("Old", false);
    addSession("s1", "old");
    addSession("s2", "Other");
    addScenario("Sc1", "Old");
    dbtest::SessionSet sessions;
    dbtest::ScenarioSet scenarios;
    ASSERT_TRUE(sessions.Open("Session") && scenarios.Open("Scenario"));
    tablePool.add(&sessions, tableKind::Session);
    tablePool.add(&scenarios, tableKind::Scenario);

    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    EXPECT_TRUE(table.rename("Old", "New's"));
    EXPECT_EQ(column(sessions, &dbtest::SessionSet::Algorithm), (Names{"New's", "Other"}));
    EXPECT_EQ(column(scenarios, &dbtest::ScenarioSet::Algorithm), (Names{"New's"}));
    EXPECT_EQ(scalar("SELECT Name FROM Algorithm"), "Old"); // the row itself is the caller's

    tablePool.remove(&sessions);
    tablePool.remove(&scenarios);
}

TEST_F(AlgorithmTableTest, AFailedCascadeStatementIsReported)
{
    addAlgorithm("Old", false);
    AlgorithmTable table(database);
    ASSERT_TRUE(table.open(""));
    exec("DROP TABLE Scenario");
    EXPECT_FALSE(table.remove("Old", true));
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm"), "0"); // the other statements ran
    EXPECT_FALSE(table.rename("A", "B"));
}

} // namespace
