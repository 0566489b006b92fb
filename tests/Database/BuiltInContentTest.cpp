#include "Database/AlgorithmTable.h"
#include "Database/DefaultContentInstaller.h"
#include "Database/ScenarioTable.h"

#include "DbTestSupport.h"
#include "TestRecordsets.h"
#include "ScopedRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const patchLevel0 = "Patch level=dword:00000000\n";

class BuiltInContentTest : public dbtest::DbTest {
protected:
    void install(const std::string& registryValues)
    {
        dbtest::ScopedRegistry registry(registryValues);
        DefaultContentInstaller().installDefaultContent();
    }
    std::string rows(const char* table) { return scalar(std::string("SELECT COUNT(*) FROM ") + table); }
};

TEST_F(BuiltInContentTest, AnEmptyDatabaseReceivesTheGuidelinesAndScenariosOnce)
{
    install(patchLevel0);
    AlgorithmTable algorithms(database);
    ASSERT_TRUE(algorithms.open(""));
    ASSERT_EQ(algorithms.count(AlgorithmTable::ahaName), 1);
    for (const char* name : {AlgorithmTable::ahaName, AlgorithmTable::ercName}) {
        Algorithm a = algorithms.findByName(name);
        EXPECT_EQ(a.Name, name);
        EXPECT_TRUE(a.builtIn);
        EXPECT_EQ(a.initVent, name == std::string(AlgorithmTable::ahaName) ? 2 : 0);
        Algorithm expected = a;
        expected.compDepthHigh = 50, expected.compDepthLow = 40;
        expected.compRelaxHigh = 60, expected.compRelaxLow = 40, expected.compRelaxRecc = 50;
        expected.eccRateHigh = 110, expected.eccRateLow = 90;
        expected.ventCompRatioDoubleComp = 30, expected.ventCompRatioDoubleVent = 2;
        expected.ventCompRatioSingleComp = 30, expected.ventCompRatioSingleVent = 2;
        expected.vRateHigh = 6, expected.vRateLow = 3, expected.vVolHigh = 0.6, expected.vVolLow = 0.5;
        expected.pauseEccMax = 10;
        EXPECT_EQ(a, expected) << name;
    }
    ScenarioTable scenarios(database);
    ASSERT_TRUE(scenarios.open(""));
    struct Expected {
        const char* name;
        int duration;
        const char* algorithm;
    };
    std::vector<std::string> order;
    for (const Expected& e : {Expected{"10 minute BLS (AHA)", 600, AlgorithmTable::ahaName},
                              Expected{"20 minute BLS (AHA)", 1200, AlgorithmTable::ahaName},
                              Expected{"5 minute BLS (AHA)", 300, AlgorithmTable::ahaName},
                              Expected{"10 minute BLS (ERC)", 600, AlgorithmTable::ercName},
                              Expected{"20 minute BLS (ERC)", 1200, AlgorithmTable::ercName},
                              Expected{"5 minute BLS (ERC)", 300, AlgorithmTable::ercName}}) {
        ScenarioRecord s = scenarios.findByName(e.name);
        EXPECT_EQ(s.Name, e.name);
        EXPECT_EQ(s.Duration, e.duration) << e.name;
        EXPECT_EQ(s.Algorithm, e.algorithm) << e.name;
        EXPECT_EQ(s.RegisterEvents, 1);
        EXPECT_EQ(s.TrainingMode, 1);
        order.push_back(e.name);
    }
    EXPECT_EQ(dbtest::column(scenarios, &ScenarioTable::Name), order); // in the order they were written
    EXPECT_EQ(rows("Events"), "0");

    install(patchLevel0);
    install(""); // no value at all counts as 0
    EXPECT_EQ(rows("Algorithm"), "2");
    EXPECT_EQ(rows("Scenario"), "6");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(BuiltInContentTest, AnOutdatedBuiltInGuidelineIsReplaced)
{
    exec("INSERT INTO Algorithm (Name, builtIn) VALUES ('International Guidelines 2000', TRUE)");
    install(patchLevel0);
    EXPECT_EQ(rows("Algorithm"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE Name = 'International Guidelines 2000'"), "0");
}

TEST_F(BuiltInContentTest, WhatStopsTheInstallation)
{
    struct Case {
        const char* what;
        std::string registry;
        std::vector<std::string> setup;
        std::string algorithms;
        std::string scenarios;
    };
    const std::string aha = AlgorithmTable::ahaName;
    const Case cases[] = {
        {"patch level 1", "Patch level=dword:00000001\n", {}, "0", "0"},
        {"one scenario present", patchLevel0, {"INSERT INTO Scenario (Name, Algorithm) VALUES ('5 minute bls (erc)', 'X')"}, "0", "1"},
        {"a built-in guideline present", patchLevel0, {"INSERT INTO Algorithm (Name, builtIn) VALUES ('" + aha + "', TRUE)"}, "1", "0"},
        // A scenario of a built-in name that names no algorithm does not count.
        {"a scenario without algorithm", patchLevel0, {"INSERT INTO Scenario (Name) VALUES ('10 minute BLS (AHA)')"}, "2", "7"},
        // A user's guideline of the built-in name is not built in: the name then exists twice.
        {"a user's guideline of the name", patchLevel0, {"INSERT INTO Algorithm (Name, builtIn) VALUES ('" + aha + "', FALSE)"}, "3", "6"},
    };
    for (const Case& c : cases) {
        std::string failure;
        database.close();
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        openDatabase();
        for (const std::string& sql : c.setup)
            exec(sql);
        install(c.registry);
        EXPECT_EQ(rows("Algorithm"), c.algorithms) << c.what;
        EXPECT_EQ(rows("Scenario"), c.scenarios) << c.what;
    }
}

TEST_F(BuiltInContentTest, IsSkippedWithoutADatabaseAndGoesOnAfterAWriteError)
{
    databaseOpen = false;
    install(patchLevel0);
    databaseOpen = true;
    EXPECT_EQ(rows("Algorithm"), "0");

    // Guidelines without their scenarios would stop every later installation.
    exec("ALTER TABLE Scenario RENAME TO Elsewhere");
    testsupport::LogCapture log;
    install(patchLevel0);
    EXPECT_EQ(rows("Algorithm"), "0");
    EXPECT_NE(log.text().find("Built-in content: "), std::string::npos);
    EXPECT_NE(log.text().find(" could not be read"), std::string::npos) << log.text();
    EXPECT_TRUE(ui.boxes.empty());
    exec("ALTER TABLE Elsewhere RENAME TO Scenario");

    // The tables read well, but the last scenario's insert fails after the
    // guidelines and five scenarios were written: all of it is rolled back
    // and logged, and the next start installs the whole set.
    const bool pg = database.dialect() == Database::Dialect::PostgreSQL;
    if (pg) {
        exec("CREATE FUNCTION refuse_scenario() RETURNS trigger LANGUAGE plpgsql AS "
             "$$ BEGIN RAISE EXCEPTION 'refused'; END $$");
        exec("CREATE TRIGGER refuse_scenario BEFORE INSERT ON Scenario FOR EACH ROW "
             "WHEN (NEW.Name = '5 minute BLS (ERC)') EXECUTE PROCEDURE refuse_scenario()");
    } else {
        exec("CREATE TRIGGER refuse_scenario BEFORE INSERT ON Scenario WHEN NEW.Name = '5 minute BLS (ERC)' "
             "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }
    {
        testsupport::LogCapture writeLog;
        install(patchLevel0);
        EXPECT_EQ(rows("Algorithm"), "0");
        EXPECT_EQ(rows("Scenario"), "0");
        EXPECT_NE(writeLog.text().find("Built-in content: 5 minute BLS (ERC) could not be written: "),
                  std::string::npos) << writeLog.text();
        EXPECT_EQ(writeLog.text().find(" could not be read"), std::string::npos) << writeLog.text();
        EXPECT_TRUE(ui.boxes.empty());
    }
    exec(pg ? "DROP TRIGGER refuse_scenario ON Scenario" : "DROP TRIGGER refuse_scenario");
    install(patchLevel0);
    EXPECT_EQ(rows("Algorithm"), "2");
    EXPECT_EQ(rows("Scenario"), "6");
}

// A table that cannot be read (another station's lock, a broken table) says
// nothing about what it holds: the check fails instead of finding the
// content missing, and the next start tries again. Here the user kept the
// guidelines and deleted the scenarios, so the guidelines must not come twice.
TEST_F(BuiltInContentTest, ATableThatCannotBeReadIsNotMissingContent)
{
    install(patchLevel0);
    exec("DELETE FROM Scenario");
    exec("ALTER TABLE Algorithm RENAME TO Aside");
    {
        testsupport::LogCapture log;
        DefaultContentInstaller installer;
        EXPECT_FALSE(installer.defaultsMissing());
        EXPECT_TRUE(installer.lastReadFailed());
        EXPECT_NE(log.text().find("Built-in content: the guidelines could not be read"), std::string::npos) << log.text();
    }
    exec("ALTER TABLE Aside RENAME TO Algorithm");
    DefaultContentInstaller again;
    EXPECT_FALSE(again.defaultsMissing());
    EXPECT_FALSE(again.lastReadFailed());
    install(patchLevel0);
    EXPECT_EQ(rows("Algorithm"), "2");
    EXPECT_EQ(rows("Scenario"), "0");
    EXPECT_TRUE(ui.boxes.empty());
}

// An installation that lets another station start its own between its
// check and its insertions, and waits (at most `wait` ms) for it to end.
class SlowStation : public DefaultContentInstaller {
public:
    SlowStation(int go, int done, int wait)
        : goPipe(go), donePipe(done), waitMs(wait)
    {
    }
    bool defaultsMissing() override
    {
        bool missing = DefaultContentInstaller::defaultsMissing();
        char go = 'g';
        otherStarted = ::write(goPipe, &go, 1) == 1;
        pollfd p{donePipe, POLLIN, 0};
        otherEnded = ::poll(&p, 1, waitMs) > 0;
        return missing;
    }
    bool otherStarted = false;
    bool otherEnded = false;

private:
    int goPipe;
    int donePipe;
    int waitMs;
};

TEST_F(BuiltInContentTest, TwoStationsStartingTogetherStoreOneSet)
{
    dbtest::ScopedRegistry registry(patchLevel0);
    // The other station: a process of its own with its own connection, made
    // while this one has none, which installs when it is told to.
    int go[2];
    int done[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(done), 0);
    database.close();
    databaseOpen = false;
    pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        ::close(go[1]);
        ::close(done[0]);
        openDatabase();
        char c = 0;
        bool told = ::read(go[0], &c, 1) == 1;
        if (told && databaseOpen)
            DefaultContentInstaller().installDefaultContent();
        database.close();
        ::_exit(told && databaseOpen ? 0 : 1); // closing `done` tells the end
    }
    ::close(go[0]);
    ::close(done[1]);
    openDatabase();
    ASSERT_TRUE(databaseOpen);

    // The other station would wait for the lock no longer than its lock timeout (2 s).
    SlowStation station(go[1], done[0], 700);
    station.installDefaultContent();
    ::close(go[1]);
    int status = -1;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ::close(done[0]);
    EXPECT_TRUE(station.otherStarted);
    EXPECT_FALSE(station.otherEnded) << "the other station waits for this one's installation";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(rows("Algorithm"), "2");
    EXPECT_EQ(rows("Scenario"), "6");
    EXPECT_TRUE(ui.boxes.empty());
}

} // namespace
