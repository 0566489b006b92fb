#pragma once
// The one connection to the data source, over the ODBC C API.
#include "Database/DbError.h"

#include <string>

class TablePool;

class Database {
public:
    enum class Dialect { Other, SQLite, PostgreSQL };

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Connects with an ODBC connect string; the driver never shows a dialog.
    bool open(const std::string& connect);
    void close();
    bool isOpen() const { return connection != nullptr; }
    Dialect dialect() const { return kind; }

    // Executes one statement directly; narrow text is sent as UTF-8.
    bool execute(const std::string& sql);

    // Groups the following statements so that they take effect together or
    // not at all, and holds the database's write lock until the end, so that
    // what a transaction reads stays as read until it has written. Waiting
    // for another station's lock ends after the data source's lock timeout,
    // and the begin fails. Transactions do not nest: beginning one while one
    // is open fails. Callers use the guard of Database/Transaction.h.
    bool beginTransaction();
    bool commit();
    bool rollback();
    bool inTransaction() const { return transactionOpen; }

    // Whether the error is the data source giving up on a lock that another
    // connection holds (after its lock timeout).
    bool isLockTimeout(const DbError& failure) const;

    // The error of the last operation that failed (cleared when one starts).
    const DbError& lastError() const { return error; }

    // ODBC handle of the connection, for the recordsets on it.
    void* handle() const { return connection; }

private:
    bool endTransaction(bool commitChanges);
    bool takeWriteLock();
    void findLockTable();
    // the key of the PostgreSQL lock every station's transaction takes
    static constexpr long long writeLockKey = 0x7461766f6370;
    // on SQLite, the table whose write lock a transaction takes
    std::string lockTable;
    bool hasLockTimeout();
    void* environment = nullptr;
    void* connection = nullptr;
    Dialect kind = Dialect::Other;
    bool transactionOpen = false;
    DbError error;
};

// The program's one connection, its state, and the registry of open tables.
extern Database database;
extern bool databaseOpen;
extern TablePool tablePool;

// Opens `database` on the data source "tavocpr"; on failure shows the
// installation box once. Called once at start-up; there is no reconnect.
void openDatabase();
