#include "Database/DatabaseUtil.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/OdbcUtil.h"
#include "Database/Transaction.h"
#include "Utillib/Utf8.h"
#include "Utillib/LogStream.h"
#include "platform/Clock.h"

#include <algorithm>
#include <unordered_map>
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

// How a stored text relates to a key part.
enum class Match { No, Yes, LooksAlike };

Match matches(const std::string& stored, const KeyPart& part)
{
    if (dbtext::storedEqualNoCase(stored, part.utf8()))
        return Match::Yes;
    // Only a value read through the code page can look like another name.
    if (part.stored.empty() && dbtext::equalNoCase(dbtext::fromUtf8(stored), part.value))
        return Match::LooksAlike;
    return Match::No;
}

// Every code point whose lower case is that of `c`, `c`'s lower case first.
std::vector<wchar_t> sameLetterIgnoringCase(wchar_t c)
{
    static const std::unordered_map<wchar_t, std::vector<wchar_t>> others = [] {
        std::unordered_map<wchar_t, std::vector<wchar_t>> map;
        for (wchar_t x = 1; x <= 0x10FFFF; ++x) {
            if (x >= 0xD800 && x <= 0xDFFF)
                continue;
            const wchar_t lower = GString::to_lower(x);
            if (lower != x)
                map[lower].push_back(x);
        }
        return map;
    }();
    const wchar_t lower = GString::to_lower(c);
    std::vector<wchar_t> letters{lower};
    if (auto found = others.find(lower); found != others.end())
        letters.insert(letters.end(), found->second.begin(), found->second.end());
    return letters;
}

// On SQLite, a condition (UTF-8) that every spelling of the part satisfies:
// it begins with a letter equal to the value's first ignoring case. Each
// such letter is a range of the column's order, which an index on the
// column serves; without it every row of the table would be read. "" where
// it cannot help, and for a value read through the code page with letters
// lost: every row that reads like it must be seen, to refuse it.
std::string spellingRanges(Database& db, const KeyPart& part)
{
    const std::wstring value = dbtext::wideFromUtf8(part.utf8());
    if (db.dialect() != Database::Dialect::SQLite || value.empty()
        || (part.stored.empty() && part.value.find(GString::default_char()) != std::string::npos))
        return std::string();
    std::string ranges;
    for (wchar_t letter : sameLetterIgnoringCase(value[0])) {
        wchar_t next = letter + 1;
        if (next == 0xD800)
            next = 0xE000;
        ranges += std::string(ranges.empty() ? "" : " OR ") + "(" + part.column + " >= "
            + literal(wideToUtf8(std::wstring(1, letter))) + " AND " + part.column + " < "
            + literal(wideToUtf8(std::wstring(1, next))) + ")";
    }
    return "(" + ranges + ")";
}

// The condition that selects the rows holding the key, or "" when no row
// does. Parts compared exactly are written as they are stored. For a part
// compared ignoring case, every spelling that the rows store and that
// equals the value ignoring case is named as stored, byte for byte: the
// data source's own case rules differ (SQLite's NOCASE folds A to Z only).
// Spellings are compared as stored, never as this station reads them, so
// a value read through a code page that lacks its letters ("??") picks no
// other name's rows. `write` turns stored text into a literal. With
// `refuse`, a stored text that reads like the value but is another name
// refuses the statement (`refused` set). False when refused or when the rows
// could not be read (shown).
template <class Write>
bool keyCondition(Database& db, const std::string& table, const std::vector<KeyPart>& key, Write write, bool refuse,
                  std::string& condition, bool& refused)
{
    condition.clear();
    refused = false;
    std::string exact;
    std::string columns;
    std::vector<const KeyPart*> folded;
    for (const KeyPart& part : key) {
        if (part.ignoreCase) {
            columns += (columns.empty() ? "" : ", ") + part.column;
            folded.push_back(&part);
        } else {
            exact += (exact.empty() ? "" : " AND ") + part.column + " = " + write(part.utf8());
        }
    }
    if (folded.empty()) {
        condition = exact;
        return true;
    }
    // No DISTINCT: the data source would keep one spelling of each of its own case classes.
    std::vector<std::vector<std::string>> rows;
    DbError error;
    std::string where;
    for (const KeyPart& part : key) {
        const std::string test = part.ignoreCase ? spellingRanges(db, part) : part.column + " = " + literal(part.utf8());
        if (!test.empty())
            where += (where.empty() ? " WHERE " : " AND ") + test;
    }
    if (!odbc::selectTexts(db, "SELECT " + columns + " FROM " + table + where, rows, error)) {
        reportError(error.text);
        return false;
    }
    std::vector<std::vector<std::string>> spellings(folded.size());
    for (const std::vector<std::string>& row : rows)
        for (std::size_t i = 0; i < folded.size(); ++i) {
            const Match match = matches(row[i], *folded[i]);
            if (match == Match::LooksAlike && refuse) {
                refused = true;
                return refuseUnshownName();
            }
            if (match == Match::Yes && std::find(spellings[i].begin(), spellings[i].end(), row[i]) == spellings[i].end())
                spellings[i].push_back(row[i]);
        }
    condition = exact;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (spellings[i].empty()) {
            condition.clear();
            return true;
        }
        std::string list;
        for (const std::string& spelling : spellings[i])
            list += (list.empty() ? "" : ", ") + write(spelling);
        condition += (condition.empty() ? "" : " AND ") + folded[i]->column + " IN (" + list + ")";
    }
    return true;
}

// A statement's condition, UTF-8 as stored.
bool keyCondition(Database& db, const std::string& table, const std::vector<KeyPart>& key, std::string& condition)
{
    bool refused = false;
    return keyCondition(db, table, key, literal, true, condition, refused);
}

bool isAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The letters outside A to Z and signs whose lower case is the lower case of
// `c`, an ASCII character ("\u0130" for i, the Kelvin sign for k).
std::vector<wchar_t> nonAsciiSpellings(char c)
{
    std::vector<wchar_t> letters = sameLetterIgnoringCase(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    letters.erase(std::remove_if(letters.begin(), letters.end(), [](wchar_t x) { return x < 0x80; }), letters.end());
    return letters;
}

// A filter literal of a stored text (declared for asciiTest).
std::string filterLiteral(Database& db, const std::string& utf8);

// The test, for a recordset's filter, of a part compared ignoring case whose
// value is ASCII, using the column's index. The data sources fold A to Z in
// these columns (NOCASE, citext), but the program's comparison also takes a
// few letters outside A to Z as such a letter (a stored "\u0130nst" is
// "inst"): every spelling with them is named too. False when there are too
// many of those spellings to name; then the caller reads the spellings stored.
bool asciiTest(Database& db, const KeyPart& part, std::string& test)
{
    constexpr std::size_t maxSpellings = 64;
    std::vector<std::string> spellings{std::string()};
    for (char c : part.value) {
        const std::vector<wchar_t> others = nonAsciiSpellings(c);
        if (spellings.size() * (others.size() + 1) > maxSpellings)
            return false;
        std::vector<std::string> longer;
        for (const std::string& start : spellings) {
            longer.push_back(start + c);
            for (wchar_t other : others)
                longer.push_back(start + wideToUtf8(std::wstring(1, other)));
        }
        spellings.swap(longer);
    }
    if (spellings.size() == 1) {
        test = part.column + " = " + literal(part.value);
        return true;
    }
    std::string list;
    for (const std::string& spelling : spellings) {
        std::string written = filterLiteral(db, spelling);
        // Spelled by its bytes, the text would be compared as plain text,
        // exactly, and miss the other letter cases of the rest.
        if (db.dialect() == Database::Dialect::PostgreSQL && written.front() != '\'')
            written = "CAST(" + written + " AS citext)";
        list += (list.empty() ? "" : ", ") + written;
    }
    test = part.column + " IN (" + list + ")";
    return true;
}

// A stored text as a literal of a recordset's filter, which is narrow text
// in the station's code page: one that the code page cannot hold is spelled
// by its bytes.
std::string filterLiteral(Database& db, const std::string& utf8)
{
    if (dbtext::survivesCodePage(utf8))
        return literal(dbtext::fromUtf8(utf8));
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : utf8) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    switch (db.dialect()) {
    case Database::Dialect::SQLite:
        return "CAST(X'" + hex + "' AS TEXT)";
    case Database::Dialect::PostgreSQL:
        return "convert_from(decode('" + hex + "', 'hex'), 'UTF8')";
    case Database::Dialect::Other:
        break;
    }
    return literal(dbtext::fromUtf8(utf8));
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
            values += (values.empty() ? "" : ", ") + part.column + " = " + literal(part.utf8());
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

bool keyFilter(Database& db, const std::string& table, const std::vector<KeyPart>& key, std::string& filter)
{
    filter.clear();
    try {
        if (std::all_of(key.begin(), key.end(), [](const KeyPart& part) { return isAscii(part.utf8()); })) {
            bool fits = true;
            for (const KeyPart& part : key) {
                std::string test;
                if (!part.ignoreCase)
                    test = part.column + " = " + literal(part.value);
                else if (!(fits = asciiTest(db, part, test)))
                    break;
                filter += (filter.empty() ? "" : " AND ") + test;
            }
            if (fits)
                return true;
            filter.clear();
        }
        bool refused = false;
        auto write = [&db](const std::string& utf8) { return filterLiteral(db, utf8); };
        if (!keyCondition(db, table, key, write, false, filter, refused))
            return false;
        if (filter.empty())
            filter = "1 = 0";
        return true;
    } catch (const std::bad_alloc&) {
        LOG_ASSERT(FALSE);
    }
    return false;
}

bool nameShown(Database& db, const std::string& table, const std::string& column, const std::string& name, bool& shown)
{
    shown = true;
    // A reading without the default character lost no letter.
    if (name.find(GString::default_char()) == std::string::npos)
        return true;
    std::vector<std::vector<std::string>> rows;
    DbError error;
    if (!odbc::selectTexts(db, "SELECT " + column + " FROM " + table, rows, error)) {
        reportError(error.text);
        return false;
    }
    const KeyPart part{column, name, true, std::string()};
    for (const std::vector<std::string>& row : rows)
        if (matches(row[0], part) == Match::LooksAlike)
            shown = false;
    return true;
}

bool cascadeAllowed(Database& db, const std::vector<std::pair<std::string, std::string>>& columns, const std::string& name)
{
    for (const auto& [table, column] : columns) {
        bool shown = true;
        if (!nameShown(db, table, column, name, shown))
            return false;
        if (!shown)
            return refuseUnshownName();
    }
    return true;
}

std::wstring unshownNameMessage()
{
    // One text, so that the catalogues find it whole.
    return translate(
        "This station cannot show this name in the characters of its language, so it cannot tell it from other names that look the same here.\nPlease rename or delete it, or edit its events, on a station whose language can show the name.");
}

bool refuseUnshownName()
{
    if (Transaction* open = Transaction::active())
        open->keepNotice(unshownNameMessage());
    else
        dbui::userInterface().messageBox(unshownNameMessage(), dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    return false;
}

std::string KeyPart::utf8() const { return stored.empty() ? dbtext::toUtf8(value) : stored; }

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

void reportWriteError(const Recordset& table)
{
    if (table.TextUnshown())
        refuseUnshownName();
    else
        reportError(table.lastError().text);
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
