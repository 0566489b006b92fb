#pragma once
// Helpers every table and record editor uses: opening a recordset with
// retries, guarded cursor moves, UPDATE and DELETE statements over many rows,
// value quoting and the database error box.
#include "Database/Database.h"
#include "Database/Recordset.h"
#include "Database/SqlQuote.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

namespace DBUtil {

// Opens `table` (a bare table name) with the recordset's filter and sort, or
// reads it again when it is open: up to three attempts; a driver error is
// retried at once (but not a lock timeout, which has waited already), a
// refusal without one after a pause of one second.
bool Open(Recordset* table, const std::string& sql);

// Each changes or deletes the rows whose column equals the value ignoring
// case by the program's comparison (dbtext::equalNoCase), whatever the data
// source's own case rules; a failure is shown in the error box and returned.
// Table and column names are constants of the program, written unquoted.
bool update(Database& db, const std::string& table, const std::string& column, const std::string& oldValue,
            const std::string& newValue);
bool remove(Database& db, const std::string& table, const std::string& column, const std::string& value);

// One column of a composite key with its value; `ignoreCase` for a part that
// the program compares ignoring case, the others are compared exactly.
// `stored` holds the value as the data source stores it (UTF-8) when
// `value` is only this station's reading of it, with characters its code
// page lacks shown as the default character; empty otherwise.
struct KeyPart {
    std::string column;
    std::string value;
    bool ignoreCase = false;
    std::string stored = {};

    // The value as the data source holds it.
    std::string utf8() const;
};

// The rows whose columns hold the key (each part by its comparison) get the
// new key's values, or are deleted; shown and false on failure. Texts are
// compared as they are stored, never through the station's code page: a
// part compared ignoring case whose value reads on this station like a
// stored text that is not the same name (two names whose letters this code
// page cannot show both read "??") is refused with unshownNameMessage(),
// as the station cannot tell which of them is meant.
bool updateWhere(Database& db, const std::string& table, const std::vector<KeyPart>& oldKey,
                 const std::vector<KeyPart>& newKey);
bool removeWhere(Database& db, const std::string& table, const std::vector<KeyPart>& key);

// For a composite key whose parts(names) gives its KeyParts under the column
// names that `names` carries.
template <class Key>
bool updateWhere(Database& db, const std::string& table, const Key& oldKey, const Key& newKey, const Key& names)
{
    return updateWhere(db, table, oldKey.parts(names), newKey.parts(names));
}

template <class Key>
bool removeWhere(Database& db, const std::string& table, const Key& key, const Key& names)
{
    return removeWhere(db, table, key.parts(names));
}

// The condition, for a recordset's filter, that selects the rows holding
// the key by the rule of updateWhere and removeWhere (without the refusal:
// a name that reads like another's selects neither). "1 = 0" when no row
// holds it; false when the rows could not be read (shown).
bool keyFilter(Database& db, const std::string& table, const std::vector<KeyPart>& key, std::string& filter);

// Whether `name` can stand for its rows in `column` of `table` on this
// station: false when a stored text reads like it here without being the
// same name ignoring case. `shown` is set; false when the rows could not be
// read (shown in the error box).
bool nameShown(Database& db, const std::string& table, const std::string& column, const std::string& name, bool& shown);

// Before a cascade writes anything: true when `name` is shown (nameShown)
// in every one of these columns, given as {table, column}; otherwise false,
// refused with refuseUnshownName(), or the read error shown.
bool cascadeAllowed(Database& db, const std::vector<std::pair<std::string, std::string>>& columns, const std::string& name);

// Refuses a change of a record whose name this station cannot show: the
// message below in a box (after the rollback, inside a transaction, which
// then fails). Always false.
bool refuseUnshownName();
std::wstring unshownNameMessage();

// Executes one statement; a failure is shown in the error box and returned.
bool executeReported(Database& db, const std::string& sql);

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
// The failure of a recordset's write: a text refused as only this station's
// reading of a stored one (Recordset::TextUnshown) with refuseUnshownName(),
// anything else with reportError.
void reportWriteError(const Recordset& table);

} // namespace DBUtil

// A copy without white space at either end.
std::string trimmed(const std::string& text);
