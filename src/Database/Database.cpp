#include "Database/Database.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/OdbcUtil.h"
#include "Database/TablePool.h"
#include "Utillib/LogStream.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "Database/WinBool.h"

Database database;
bool databaseOpen = false;
TablePool tablePool;

namespace {

SQLHENV env(void* h) { return static_cast<SQLHENV>(h); }
SQLHDBC dbc(void* h) { return static_cast<SQLHDBC>(h); }

Database::Dialect dialectOf(SQLHDBC connection)
{
    SQLCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_DBMS_NAME, name, sizeof name, &length)))
        return Database::Dialect::Other;
    std::string text(reinterpret_cast<const char*>(name));
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (text.find("sqlite") != std::string::npos)
        return Database::Dialect::SQLite;
    if (text.find("postgres") != std::string::npos)
        return Database::Dialect::PostgreSQL;
    return Database::Dialect::Other;
}

} // namespace

Database::Database() = default;

Database::~Database() { close(); }

bool Database::open(const std::string& connect)
{
    close();
    error.clear();
    SQLHENV newEnv = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &newEnv))) {
        error = odbc::ownError("HY001", "The ODBC environment could not be allocated.");
        return false;
    }
    SQLSetEnvAttr(newEnv, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC newDbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, newEnv, &newDbc))) {
        error = odbc::diagnostics(SQL_HANDLE_ENV, newEnv);
        SQLFreeHandle(SQL_HANDLE_ENV, newEnv);
        return false;
    }
    std::string text = dbtext::toUtf8(connect);
    SQLRETURN rc = SQLDriverConnect(newDbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                    nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        error = odbc::diagnostics(SQL_HANDLE_DBC, newDbc);
        SQLFreeHandle(SQL_HANDLE_DBC, newDbc);
        SQLFreeHandle(SQL_HANDLE_ENV, newEnv);
        return false;
    }
    environment = newEnv;
    connection = newDbc;
    kind = dialectOf(newDbc);
    // Values are quoted by doubling single quotes only, and texts travel as
    // UTF-8: make the server read both that way whatever its settings. A
    // statement waits for another connection's lock at most as long as the
    // data source says, and 5 s when it says nothing (the server would wait
    // for ever).
    if (kind == Dialect::PostgreSQL
        && !(execute("SET standard_conforming_strings = on") && execute("SET client_encoding = 'UTF8'")
             && (hasLockTimeout() || execute("SET lock_timeout = '5s'")))) {
        DbError failure = error;
        close();
        error = failure;
        return false;
    }
    return true;
}

bool Database::hasLockTimeout()
{
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc(connection), &statement)))
        return false;
    char value[64] = {};
    SQLLEN indicator = 0;
    bool set = SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SHOW lock_timeout")), SQL_NTS))
        && SQL_SUCCEEDED(SQLFetch(statement))
        && SQL_SUCCEEDED(SQLGetData(statement, 1, SQL_C_CHAR, value, sizeof value, &indicator))
        && indicator != SQL_NULL_DATA && std::string(value) != "0";
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return set;
}

bool Database::isLockTimeout(const DbError& failure) const
{
    switch (kind) {
    case Dialect::SQLite:
        // SQLITE_BUSY and SQLITE_LOCKED as the driver's native codes.
        return failure.state == "HY000" && (failure.native == 5 || failure.native == 6);
    case Dialect::PostgreSQL:
        return failure.state == "55P03";
    default:
        return false;
    }
}

void Database::close()
{
    transactionOpen = false;
    lockTable.clear();
    if (connection) {
        SQLDisconnect(dbc(connection));
        SQLFreeHandle(SQL_HANDLE_DBC, dbc(connection));
        connection = nullptr;
    }
    if (environment) {
        SQLFreeHandle(SQL_HANDLE_ENV, env(environment));
        environment = nullptr;
    }
    kind = Dialect::Other;
}

bool Database::execute(const std::string& sql)
{
    error.clear();
    if (!connection) {
        error = odbc::ownError("08003", "The database connection is not open.");
        return false;
    }
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc(connection), &statement))) {
        error = odbc::diagnostics(SQL_HANDLE_DBC, dbc(connection));
        return false;
    }
    std::string text = dbtext::toUtf8(sql);
    SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLINTEGER>(text.size()));
    // A searched UPDATE or DELETE that matches no row answers SQL_NO_DATA.
    bool succeeded = SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA;
    if (!succeeded)
        error = odbc::diagnostics(SQL_HANDLE_STMT, statement);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return succeeded;
}

bool Database::beginTransaction()
{
    error.clear();
    if (!connection) {
        error = odbc::ownError("08003", "The database connection is not open.");
        return false;
    }
    if (transactionOpen) {
        error = odbc::ownError("25000", "A transaction is open already.");
        return false;
    }
    // Read before the transaction: a read inside it would hold the file
    // for reading while its first write waits for another station's
    // transaction, whose commit waits for that read to end.
    if (kind == Dialect::SQLite && lockTable.empty())
        findLockTable();
    SQLRETURN rc = SQLSetConnectAttr(dbc(connection), SQL_ATTR_AUTOCOMMIT,
                                     reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(rc)) {
        error = odbc::diagnostics(SQL_HANDLE_DBC, dbc(connection));
        return false;
    }
    transactionOpen = true;
    if (!takeWriteLock()) {
        DbError failure = error;
        endTransaction(false);
        error = failure;
        return false;
    }
    return true;
}

// A transaction reads rows and then writes what it merged from them; if
// another station wrote between the two, its change would be lost unseen.
// So every transaction holds the database's write lock from its start,
// which orders the program's transactions across stations: on SQLite the
// first statement is a write (one that changes nothing), which takes the
// file's write lock as BEGIN IMMEDIATE would; on PostgreSQL a lock of the
// transaction's own that every station's transaction asks for first.
bool Database::takeWriteLock()
{
    if (kind == Dialect::PostgreSQL)
        return execute("SELECT pg_advisory_xact_lock(" + std::to_string(writeLockKey) + ")");
    if (kind != Dialect::SQLite)
        return true;
    // A file without tables holds nothing another station could change.
    if (lockTable.empty())
        return true;
    std::string quoted = "\"";
    for (char c : lockTable)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    quoted += "\"";
    return execute("UPDATE " + quoted + " SET rowid = rowid WHERE 0 = 1");
}

void Database::findLockTable()
{
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc(connection), &statement)))
        return;
    char name[256] = {};
    SQLLEN indicator = 0;
    const char* sql = "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite!_%' ESCAPE '!' "
                      "ORDER BY name LIMIT 1";
    if (SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS))
        && SQL_SUCCEEDED(SQLFetch(statement))
        && SQL_SUCCEEDED(SQLGetData(statement, 1, SQL_C_CHAR, name, sizeof name, &indicator))
        && indicator != SQL_NULL_DATA)
        lockTable = name;
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

bool Database::commit() { return endTransaction(true); }

bool Database::rollback() { return endTransaction(false); }

bool Database::endTransaction(bool commitChanges)
{
    error.clear();
    if (!connection) {
        error = odbc::ownError("08003", "The database connection is not open.");
        return false;
    }
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc(connection), commitChanges ? SQL_COMMIT : SQL_ROLLBACK);
    if (!SQL_SUCCEEDED(rc))
        error = odbc::diagnostics(SQL_HANDLE_DBC, dbc(connection));
    // Back to one transaction per statement, whatever the outcome.
    SQLSetConnectAttr(dbc(connection), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      SQL_IS_UINTEGER);
    transactionOpen = false;
    // A commit SQLite refused (another station still reading when the lock
    // timeout ran out) leaves its transaction open in the file, write lock
    // and all, though the driver counts it ended: every later statement of
    // this station would join it and every other station wait for ever.
    // Rolled back here; "no transaction is active" is the answer when none is.
    if (!SQL_SUCCEEDED(rc) && kind == Dialect::SQLite) {
        const DbError failure = error;
        execute("ROLLBACK");
        error = failure;
    }
    return SQL_SUCCEEDED(rc);
}

void openDatabase()
{
    bool success = false;
    try {
        success = database.open("DSN=tavocpr");
    } catch (const std::bad_alloc&) {
        LOG_ASSERT(FALSE);
        success = false;
    }
    if (!success)
        dbui::userInterface().messageBox(
            translate("The database connection to ODBC name 'tavocpr' could not be established.\n"
                              "Your installation is incomplete or broken.\n"
                              "Please try to correct the problem yourself by reinstalling the application,\n"
                              "or contact support for further help."),
            dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    databaseOpen = success;
}
