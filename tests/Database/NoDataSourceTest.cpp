#include "Database/AlgorithmTable.h"
#include "Database/Database.h"

#include "DbUiFake.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

// This process never knows a data source "tavocpr".
TEST(NoDataSource, OpeningShowsOneBoxAndEveryTableStaysClosed)
{
    testsupport::TempDir dir;
    std::ofstream(dir.file("odbcinst.ini")) << "[SQLite3]\nDriver=libsqlite3odbc.so\n";
    std::ofstream(dir.file("odbc.ini")) << "";
    ::setenv("ODBCSYSINI", dir.path().c_str(), 1);
    ::setenv("ODBCINI", dir.file("odbc.ini").c_str(), 1);

    dbtest::FakeUi ui;
    openDatabase();
    EXPECT_FALSE(databaseOpen);
    EXPECT_EQ(database.lastError().state, "IM002");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              L"The database connection to ODBC name 'tavocpr' could not be established.\n"
              L"Your installation is incomplete or broken.\n"
              L"Please try to correct the problem yourself by reinstalling the application,\n"
              L"or contact support for further help.");
    EXPECT_EQ(ui.boxes[0].flags, dbui::MB_OK | dbui::MB_ICONEXCLAMATION);

    AlgorithmTable table(database);
    EXPECT_FALSE(table.open(""));
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(table.count("x"), 0);
    EXPECT_FALSE(table.remove("x", true));
    EXPECT_EQ(table.findByName("AHA").Name, "AHA");
    EXPECT_EQ(ui.boxes.size(), 1u);
}

} // namespace
