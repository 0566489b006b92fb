#pragma once
// Data sources for the database tests. Each test gets a fresh database
// behind the data source "tavocpr", made from the schema script of db/:
// a SQLite file by default, or a database on a private PostgreSQL server
// when TAVO_PG_INFO names the file that the server's start script wrote
// (through the driver's Unicode variant when TAVO_PG_UNICODE is 1).
// unixODBC reads its configuration once per process, so the data source's
// definition is written once and only the database behind it is renewed.
#include "Database/Database.h"
#include "DbUiFake.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dbtest {

bool usingPostgres();

// Writes the ODBC configuration of the process (once) and sets ODBCSYSINI
// and ODBCINI; must run before the first ODBC call.
void prepareOdbc();

// The SQLite file behind "tavocpr" (empty on PostgreSQL).
std::string databaseFile();

// Replaces the database behind "tavocpr" with an empty one made from the schema.
bool freshDatabase(std::string& failure);

// Runs a script of statements (ended by ';' at a line end) on a connection.
bool runScript(Database& db, const std::string& path, std::string& failure);

// The statements of a script, without comments.
std::vector<std::string> splitScript(const std::string& text);

// A test on a fresh database with `database` open and boxes recorded.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Executes statements directly (setting up rows); fails the test on error.
    void exec(const std::string& sql);
    // The value of a one-row, one-column query as text ("" for no row).
    std::string scalar(const std::string& sql);

    FakeUi ui;
};

} // namespace dbtest
