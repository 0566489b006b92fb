#include "DbTestSupport.h"

#include "Database/DbText.h"
#include "support/TestSupport.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace dbtest {

namespace {

std::map<std::string, std::string> readInfo()
{
    std::map<std::string, std::string> info;
    const char* path = std::getenv("TAVO_PG_INFO");
    if (!path)
        return info;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            info[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return info;
}

struct ProcessState {
    testsupport::TempDir dir;
    std::string databaseFile;
    std::string pgDatabase;
    bool prepared = false;
};

ProcessState& state()
{
    static ProcessState s;
    return s;
}

std::string schemaPath(const char* name) { return std::string(TAVO_SOURCE_DIR) + "/db/" + name; }

} // namespace

bool usingPostgres() { return std::getenv("TAVO_PG_INFO") != nullptr; }

void prepareOdbc()
{
    ProcessState& s = state();
    if (s.prepared)
        return;
    s.prepared = true;
    s.databaseFile = s.dir.file("tavocpr.db");
    s.pgDatabase = "tavo_test_" + std::to_string(::getpid());
    {
        std::ofstream drivers(s.dir.file("odbcinst.ini"));
        drivers << "[SQLite3]\nDriver=libsqlite3odbc.so\n\n"
                << "[PostgreSQL ANSI]\nDriver=psqlodbca.so\n\n"
                << "[PostgreSQL Unicode]\nDriver=psqlodbcw.so\n";
    }
    {
        std::ofstream sources(s.dir.file("odbc.ini"));
        if (usingPostgres()) {
            std::map<std::string, std::string> info = readInfo();
            // Both drivers of the PostgreSQL ODBC package serve a station.
            const char* unicode = std::getenv("TAVO_PG_UNICODE");
            std::string driver = unicode && *unicode == '1' ? "PostgreSQL Unicode" : "PostgreSQL ANSI";
            std::string common = "Driver=" + driver + "\nServername=127.0.0.1\nPort=" + info["port"]
                + "\nUsername=" + info["user"] + "\n";
            // The same short lock timeout as on SQLite below.
            sources << "[tavocpr]\n" << common << "Database=" << s.pgDatabase << "\nConnSettings=SET lock_timeout = 2000\n\n"
                    << "[tavoadmin]\n" << common << "Database=postgres\n";
        } else {
            // A short lock timeout: the driver would otherwise wait 100 s on a lock.
            sources << "[tavocpr]\nDriver=SQLite3\nDatabase=" << s.databaseFile << "\nTimeout=2000\n";
        }
    }
    ::setenv("ODBCSYSINI", s.dir.path().c_str(), 1);
    ::setenv("ODBCINI", s.dir.file("odbc.ini").c_str(), 1);
}

std::string databaseFile()
{
    prepareOdbc();
    return usingPostgres() ? std::string() : state().databaseFile;
}

std::vector<std::string> splitScript(const std::string& text)
{
    std::vector<std::string> statements;
    std::istringstream in(text);
    std::string line;
    std::string current;
    bool inBody = false;
    while (std::getline(in, line)) {
        std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line.compare(first, 2, "--") == 0)
            continue;
        for (std::size_t at = line.find("$$"); at != std::string::npos; at = line.find("$$", at + 2))
            inBody = !inBody;
        std::size_t last = line.find_last_not_of(" \t\r");
        if (!inBody && line[last] == ';') {
            current += line.substr(0, last);
            statements.push_back(current);
            current.clear();
        } else {
            current += line + "\n";
        }
    }
    return statements;
}

bool runScript(Database& db, const std::string& path, std::string& failure)
{
    std::string text = testsupport::readFile(path);
    if (text.empty()) {
        failure = "cannot read " + path;
        return false;
    }
    for (const std::string& statement : splitScript(text))
        if (!db.execute(statement)) {
            failure = statement + "\n" + db.lastError().text;
            return false;
        }
    return true;
}

bool freshDatabase(std::string& failure)
{
    prepareOdbc();
    ProcessState& s = state();
    if (usingPostgres()) {
        Database admin;
        if (!admin.open("DSN=tavoadmin")) {
            failure = "admin connection: " + admin.lastError().text;
            return false;
        }
        if (!admin.execute("DROP DATABASE IF EXISTS " + s.pgDatabase + " WITH (FORCE)")
            || !admin.execute("CREATE DATABASE " + s.pgDatabase)) {
            failure = admin.lastError().text;
            return false;
        }
    } else {
        std::error_code ignored;
        std::filesystem::remove(s.databaseFile, ignored);
    }
    Database setup;
    if (!setup.open("DSN=tavocpr")) {
        failure = "connection: " + setup.lastError().text;
        return false;
    }
    return runScript(setup, schemaPath(usingPostgres() ? "schema-postgres.sql" : "schema-sqlite.sql"), failure);
}

void DbTest::SetUp()
{
    std::string failure;
    ASSERT_TRUE(freshDatabase(failure)) << failure;
    openDatabase();
    ASSERT_TRUE(databaseOpen) << database.lastError().text;
    ASSERT_TRUE(ui.boxes.empty());
}

void DbTest::TearDown()
{
    database.close();
    databaseOpen = false;
}

void DbTest::exec(const std::string& sql)
{
    ASSERT_TRUE(database.execute(sql)) << sql << "\n" << database.lastError().text;
}

std::string DbTest::scalar(const std::string& sql)
{
    SQLHSTMT st = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(database.handle()), &st);
    std::string text = dbtext::toUtf8(sql);
    std::string result;
    if (SQL_SUCCEEDED(SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))
        && SQL_SUCCEEDED(SQLFetch(st))) {
        char buffer[1024] = {};
        SQLLEN indicator = 0;
        if (SQL_SUCCEEDED(SQLGetData(st, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator)) && indicator != SQL_NULL_DATA)
            result = dbtext::fromUtf8(buffer);
    } else {
        ADD_FAILURE() << "query failed: " << sql;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return result;
}

} // namespace dbtest
