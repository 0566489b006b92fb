#pragma once
// Helpers every table and record editor uses: opening a recordset with
// retries, guarded cursor moves, UPDATE and DELETE statements over many rows,
// value quoting and the database error box.
#include "Database/Database.h"
#include "Database/Recordset.h"
#include "Database/SqlQuote.h"

#include <new>
#include <string>

namespace DBUtil {

// Opens `table` (a bare table name) with the recordset's filter and sort, or
// reads it again when it is open: up to three attempts; a driver error is
// retried at once (but not a lock timeout, which has waited already), a
// refusal without one after a pause of one second.
bool Open(Recordset* table, const std::string& sql);

// The statement texts, built from table and column names that the program
// passes as constants and from values quoted here.
std::string updateStatement(const std::string& table, const std::string& column, const std::string& oldValue,
                            const std::string& newValue);
std::string removeStatement(const std::string& table, const std::string& column, const std::string& value);

// Each changes or deletes the rows whose column equals the value ignoring
// case by the program's comparison (dbtext::equalNoCase), whatever the data
// source's own case rules; a failure is shown in the error box and returned.
bool update(Database& db, const std::string& table, const std::string& column, const std::string& oldValue,
            const std::string& newValue);
bool remove(Database& db, const std::string& table, const std::string& column, const std::string& value);

// For a composite key whose sqlCondition(names, joiner) writes its parts as
// column = 'value' pairs joined by the joiner.
template <class Key>
std::string updateWhereStatement(const std::string& table, const Key& oldKey, const Key& newKey, const Key& names)
{
    return "UPDATE " + table + " SET " + newKey.sqlCondition(names, ",") + " WHERE " + oldKey.sqlCondition(names, " AND ");
}

template <class Key>
std::string removeWhereStatement(const std::string& table, const Key& key, const Key& names)
{
    return "DELETE FROM " + table + " WHERE " + key.sqlCondition(names, " AND ");
}

bool executeReported(Database& db, const std::string& sql);

template <class Key>
bool updateWhere(Database& db, const std::string& table, const Key& oldKey, const Key& newKey, const Key& names)
{
    return executeReported(db, updateWhereStatement(table, oldKey, newKey, names));
}

template <class Key>
bool removeWhere(Database& db, const std::string& table, const Key& key, const Key& names)
{
    return executeReported(db, removeWhereStatement(table, key, names));
}

// Closed, or before the first and after the last row at once.
bool isEmpty(Recordset& table);

// Moves that do nothing where the move is not possible (closed, empty, or
// already at the end in that direction); a failing move shows the error box.
void moveFirst(Recordset& table);
void moveLast(Recordset& table);
void moveNext(Recordset& table);
void movePrev(Recordset& table);

// The database error box with the driver's text; inside a Transaction the
// box waits until it has rolled back.
void reportError(const std::string& text);

} // namespace DBUtil

// A copy without white space at either end.
std::string trimmed(const std::string& text);
