#pragma once
// One transaction on a connection, for a save that writes several rows (a
// key change with its rename cascade, a replaced row, "delete then insert
// anew"): everything it wrote takes effect together, or nothing does.
//
// While it is open no message box appears: on SQLite an open transaction
// holds the write lock of every other station for as long as a box waits
// for its answer. DBUtil::reportError therefore keeps the first error met
// inside and marks the transaction failed; the box comes after the rollback.
// Transactions do not nest.
//
//     Transaction transaction(table.connection());
//     if (!transaction.isOpen()) return false;   // shown already
//     ... statements, each reporting its own failure ...
//     return transaction.commit();               // false when anything failed
#include "Database/Database.h"

#include <string>

class Transaction {
public:
    // Begins; a failure to begin is reported and leaves isOpen() false.
    explicit Transaction(Database& db);
    // Rolls back whatever was not committed.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isOpen() const { return open; }
    // An error was reported inside (its box waits for the end).
    bool failed() const { return failure; }
    // Marks the transaction failed without an error box of its own (a step
    // that was refused, or whose reason the caller shows itself).
    void fail() { failure = true; }

    // Commits when nothing failed; otherwise, or when the commit itself
    // fails, rolls back. Then shows the error kept, if any. True when committed.
    bool commit();
    // Rolls back, reads every open table of the pool again (they may hold
    // rows written inside), then shows the error kept, if any. Does nothing
    // once ended.
    void rollback();

    // The transaction open on the program's connections, or null; the error
    // box asks it to keep its text.
    static Transaction* active() { return current; }
    // Keeps the first error text met inside and marks the transaction failed.
    void keepError(const std::string& text);
    // Keeps a refusal's message, shown as it is after the rollback, and marks
    // the transaction failed.
    void keepNotice(const std::wstring& text);

private:
    void end(bool committed);

    Database& db;
    bool open = false;
    bool failure = false;
    bool hasKeptError = false;
    std::string keptError;
    std::wstring keptNotice;
    static Transaction* current;
};
