#include "Database/DatabaseUtil.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/OdbcUtil.h"
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

std::string literal(const std::string& utf8) { return "'" + quote(utf8) + "'"; }

// The condition (UTF-8) that selects the rows holding the key, or "" when no
// row does. Parts compared exactly are written as they are. For a part
// compared ignoring case, every spelling that the rows store and that equals
// the value by the program's comparison is named as stored, byte for byte:
// the data source's own case rules differ (SQLite's NOCASE folds A to Z
// only), and a stored text that the station's code page cannot show ("?")
// would match nothing once written back from its narrow form. False when the
// rows could not be read (shown).
bool keyCondition(Database& db, const std::string& table, const std::vector<KeyPart>& key, std::string& condition)
{
    condition.clear();
    std::string exact;
    std::string columns;
    std::vector<const KeyPart*> folded;
    for (const KeyPart& part : key) {
        if (part.ignoreCase) {
            columns += (columns.empty() ? "" : ", ") + part.column;
            folded.push_back(&part);
        } else {
            exact += (exact.empty() ? "" : " AND ") + part.column + " = " + literal(dbtext::toUtf8(part.value));
        }
    }
    if (folded.empty()) {
        condition = exact;
        return true;
    }
    // No DISTINCT: the data source would keep one spelling of each of its own case classes.
    std::vector<std::vector<std::string>> rows;
    DbError error;
    if (!odbc::selectTexts(db, "SELECT " + columns + " FROM " + table + (exact.empty() ? "" : " WHERE " + exact), rows,
                           error)) {
        reportError(error.text);
        return false;
    }
    std::vector<std::vector<std::string>> spellings(folded.size());
    for (const std::vector<std::string>& row : rows)
        for (std::size_t i = 0; i < folded.size(); ++i)
            if (dbtext::equalNoCase(dbtext::fromUtf8(row[i]), folded[i]->value)
                && std::find(spellings[i].begin(), spellings[i].end(), row[i]) == spellings[i].end())
                spellings[i].push_back(row[i]);
    condition = exact;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (spellings[i].empty()) {
            condition.clear();
            return true;
        }
        std::string list;
        for (const std::string& spelling : spellings[i])
            list += (list.empty() ? "" : ", ") + literal(spelling);
        condition += (condition.empty() ? "" : " AND ") + folded[i]->column + " IN (" + list + ")";
    }
    return true;
}

bool executeUtf8Reported(Database& db, const std::string& utf8)
{
    DbError error;
    if (odbc::execute(db, utf8, error))
        return true;
    reportError(error.text);
    return false;
}

} // namespace

bool updateWhere(Database& db, const std::string& table, const std::vector<KeyPart>& oldKey,
                 const std::vector<KeyPart>& newKey)
{
    try {
        std::string condition;
        if (!keyCondition(db, table, oldKey, condition))
            return false;
        if (condition.empty())
            return true;
        std::string values;
        for (const KeyPart& part : newKey)
            values += (values.empty() ? "" : ", ") + part.column + " = " + literal(dbtext::toUtf8(part.value));
        return executeUtf8Reported(db, "UPDATE " + table + " SET " + values + " WHERE " + condition);
    } catch (const std::bad_alloc&) {
        LOG_ASSERT(FALSE);
    }
    return false;
}

bool removeWhere(Database& db, const std::string& table, const std::vector<KeyPart>& key)
{
    try {
        std::string condition;
        if (!keyCondition(db, table, key, condition))
            return false;
        if (condition.empty())
            return true;
        return executeUtf8Reported(db, "DELETE FROM " + table + " WHERE " + condition);
    } catch (const std::bad_alloc&) {
        LOG_ASSERT(FALSE);
    }
    return false;
}

bool update(Database& db, const std::string& table, const std::string& column, const std::string& oldValue,
            const std::string& newValue)
{
    return updateWhere(db, table, {KeyPart{column, oldValue, true}}, {KeyPart{column, newValue, true}});
}

bool remove(Database& db, const std::string& table, const std::string& column, const std::string& value)
{
    return removeWhere(db, table, {KeyPart{column, value, true}});
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
