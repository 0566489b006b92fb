#include "Database/DatabaseUtil.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/Transaction.h"
#include "Utillib/LogStream.h"
#include "platform/Clock.h"

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
        // A driver error is the class library's exception: try again at once,
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

bool update(Database& db, const std::string& table, const std::string& column, const std::string& oldValue,
            const std::string& newValue)
{
    return executeReported(db, updateStatement(table, column, oldValue, newValue));
}

bool remove(Database& db, const std::string& table, const std::string& column, const std::string& value)
{
    return executeReported(db, removeStatement(table, column, value));
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
        translate("An unexpected error occured while accessing the database:\n\n") + GString::to_wstring(shown)
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
