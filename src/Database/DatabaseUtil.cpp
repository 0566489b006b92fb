#include "Database/DatabaseUtil.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/Transaction.h"
#include "Utillib/LogStream.h"
#include "platform/Clock.h"

#include <algorithm>
#include <vector>

#include "Database/WinBool.h"

namespace DBUtil {

bool Open(Recordset* table, const std::string& sql)
{
    bool success = false;
    for (int attempt = 0; attempt < 3 && !success; ++attempt) {
        try {
            success = table->Open(sql);
        } catch (const std::bad_alloc&) {
            continue;
        }
        // The driver reported an error: try again at once,
        // unless the driver already waited its lock timeout in vain.
        if (!success && !table->lastError().isSet())
            platform::sleepMs(1000);
        else if (!success && table->connection().isLockTimeout(table->lastError()))
            break;
    }
    if (success)
        LOG_ASSERT(table->IsOpen()==TRUE);
    return success;
}

std::string updateStatement(const std::string& table, const std::string& column, const std::string& oldValue,
                            const std::string& newValue)
{
    return "UPDATE " + table + " SET " + column + " = '" + quote(newValue) + "' WHERE " + column + " = '" + quote(oldValue)
        + "'";
}

std::string removeStatement(const std::string& table, const std::string& column, const std::string& value)
{
    return "DELETE FROM " + table + " WHERE " + column + " = '" + quote(value) + "'";
}

bool executeReported(Database& db, const std::string& sql)
{
    try {
        if (db.execute(sql))
            return true;
        reportError(db.lastError().text);
    } catch (const std::bad_alloc&) {
        LOG_ASSERT(FALSE);
    }
    return false;
}

namespace {

// One text column of a table.
struct ColumnValues : Recordset {
    ColumnValues(Database& db, const std::string& column)
        : Recordset(db)
    {
        bindText(column.c_str(), value);
    }
    std::string value;
};

// The texts stored in the column that equal `value` ignoring case by the
// program's own comparison, as a list for IN (...), or "" when none does.
// The data source's own case rules differ (SQLite's NOCASE folds A to Z
// only): naming every stored spelling exactly makes both engines touch the
// rows the program means. False when the column could not be read (shown).
bool storedSpellings(Database& db, const std::string& table, const std::string& column, const std::string& value,
                     std::string& list)
{
    list.clear();
    ColumnValues rows(db, column);
    if (!rows.Open(table)) {
        reportError(rows.lastError().text);
        return false;
    }
    std::vector<std::string> seen;
    if (!(rows.IsBOF() && rows.IsEOF()) && rows.MoveFirst())
        while (!rows.IsEOF()) {
            if (dbtext::equalNoCase(rows.value, value)
                && std::find(seen.begin(), seen.end(), rows.value) == seen.end()) {
                seen.push_back(rows.value);
                list += (list.empty() ? "'" : ", '") + quote(rows.value) + "'";
            }
            if (!rows.MoveNext())
                break;
        }
    return true;
}

} // namespace

bool update(Database& db, const std::string& table, const std::string& column, const std::string& oldValue,
            const std::string& newValue)
{
    std::string spellings;
    if (!storedSpellings(db, table, column, oldValue, spellings))
        return false;
    if (spellings.empty())
        return true;
    return executeReported(db, "UPDATE " + table + " SET " + column + " = '" + quote(newValue) + "' WHERE " + column
                                   + " IN (" + spellings + ")");
}

bool remove(Database& db, const std::string& table, const std::string& column, const std::string& value)
{
    std::string spellings;
    if (!storedSpellings(db, table, column, value, spellings))
        return false;
    if (spellings.empty())
        return true;
    return executeReported(db, "DELETE FROM " + table + " WHERE " + column + " IN (" + spellings + ")");
}

bool isEmpty(Recordset& table) { return !table.IsOpen() || (table.IsBOF() && table.IsEOF()); }

namespace {

template <class Move>
void guardedMove(Recordset& table, bool possible, Move move)
{
    try {
        if (possible && !(table.*move)())
            reportError(table.lastError().text);
    } catch (const std::bad_alloc&) {
        LOG_ASSERT(FALSE);
    }
}

} // namespace

void moveFirst(Recordset& table)
{
    if (table.IsOpen())
        guardedMove(table, !(table.IsBOF() && table.IsEOF()), &Recordset::MoveFirst);
}

void moveLast(Recordset& table)
{
    if (table.IsOpen())
        guardedMove(table, !(table.IsBOF() && table.IsEOF()), &Recordset::MoveLast);
}

void moveNext(Recordset& table)
{
    if (table.IsOpen())
        guardedMove(table, !table.IsEOF(), &Recordset::MoveNext);
}

void movePrev(Recordset& table)
{
    if (table.IsOpen())
        guardedMove(table, !table.IsBOF(), &Recordset::MovePrev);
}

void reportError(const std::string& text)
{
    // No box while a transaction holds its locks: it is shown after the rollback.
    if (Transaction* open = Transaction::active()) {
        open->keepError(text);
        return;
    }
    std::string shown = text.empty() ? std::string("Unknown error\n") : text;
    dbui::userInterface().messageBox(
        translate("An unexpected error occurred while accessing the database:\n\n") + GString::to_wstring(shown)
            + translate("\nPlease try to correct the problem yourself, or contact support for further help."),
        dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
}

} // namespace DBUtil

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\n\v\f\r";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}
