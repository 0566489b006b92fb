#include "Database/Recordset.h"

#include "Database/Database.h"
#include "Database/DbText.h"
#include "Database/OdbcUtil.h"
#include "Utillib/LogStream.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>

namespace {

using odbc::Statement;

// Identifiers are written quoted, so that reserved words such as Order can
// be columns, and in lower case, which is how a server that folds unquoted
// names stores them; engines that ignore case find them either way.
std::string identifier(const std::string& name)
{
    std::string out = "\"";
    for (char c : name)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out + "\"";
}

// Reads a text column whole and converts it to the program's narrow text.
bool readText(Statement& st, SQLUSMALLINT column, std::string& out, bool& isNull)
{
    std::string bytes;
    if (!odbc::readBytes(st.handle, column, bytes, isNull, st.error))
        return false;
    out = dbtext::fromUtf8(bytes);
    return true;
}

} // namespace

Recordset::Recordset(Database& database_)
    : db(database_)
{
}

Recordset::~Recordset() = default;

void Recordset::bindText(const char* column, std::string& member) { bindings.push_back({column, ColumnType::Text, &member}); }
void Recordset::bindDouble(const char* column, double& member) { bindings.push_back({column, ColumnType::Double, &member}); }
void Recordset::bindLong(const char* column, std::int32_t& member) { bindings.push_back({column, ColumnType::Long, &member}); }
void Recordset::bindBool(const char* column, std::int32_t& member) { bindings.push_back({column, ColumnType::Bool, &member}); }
void Recordset::bindByte(const char* column, std::uint8_t& member) { bindings.push_back({column, ColumnType::Byte, &member}); }

bool Recordset::fail(const char* state, const char* text)
{
    error = odbc::ownError(state, text);
    return false;
}

std::string Recordset::selectStatement(const std::string& table) const
{
    std::string sql = "SELECT " + identifier("id");
    for (const Binding& b : bindings)
        sql += ", " + identifier(b.column);
    sql += " FROM " + identifier(table);
    if (!m_strFilter.empty())
        sql += " WHERE " + m_strFilter;
    // The id settles the order of rows the sort leaves equal, so that every
    // re-open shows the rows in the same order.
    sql += " ORDER BY " + (m_strSort.empty() ? std::string() : m_strSort + ", ") + identifier("id");
    return sql;
}

bool Recordset::Open(const std::string& table)
{
    error.clear();
    std::vector<Row> fetched;
    std::string query = selectStatement(table);
    if (!fetch(table, fetched)) {
        // A re-read of the same rows that fails (a lock held elsewhere) keeps
        // the rows read before. Under another filter or sort they are not the
        // rows asked for, and a first open has none: the recordset is closed.
        if (!(opened && query == openQuery))
            Close();
        return false;
    }
    Close();
    openQuery = query;
    rows = std::move(fetched);
    liveRows = rows.size();
    current = 0;
    opened = true;
    tableName = table;
    if (!rows.empty())
        loadMembers(0);
    return true;
}

bool Recordset::fetch(const std::string& table, std::vector<Row>& fetched) { return fetchRows(selectStatement(table), 0, fetched); }

bool Recordset::fetchRows(const std::string& query, std::int64_t id, std::vector<Row>& fetched)
{
    Statement st(db);
    if (!st.ok) {
        error = st.error;
        return false;
    }
    SQLBIGINT idValue = id;
    SQLLEN idLength = 0;
    if (id != 0
        && !st.check(SQLBindParameter(st.handle, 1, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 19, 0, &idValue, 0, &idLength))) {
        error = st.error;
        return false;
    }
    std::string sql = dbtext::toUtf8(query);
    if (!st.check(SQLExecDirect(st.handle, reinterpret_cast<SQLCHAR*>(sql.data()), static_cast<SQLINTEGER>(sql.size())))) {
        error = st.error;
        return false;
    }
    for (;;) {
        SQLRETURN rc = SQLFetch(st.handle);
        if (rc == SQL_NO_DATA)
            break;
        if (!st.check(rc)) {
            error = st.error;
            return false;
        }
        Row row;
        SQLLEN indicator = 0;
        SQLBIGINT id = 0;
        if (!st.check(SQLGetData(st.handle, 1, SQL_C_SBIGINT, &id, 0, &indicator))) {
            error = st.error;
            return false;
        }
        row.id = id;
        row.values.resize(bindings.size());
        for (std::size_t i = 0; i < bindings.size(); ++i) {
            SQLUSMALLINT column = static_cast<SQLUSMALLINT>(i + 2);
            Value& value = row.values[i];
            bool ok = true;
            if (bindings[i].type == ColumnType::Text) {
                bool isNull = false;
                ok = readText(st, column, value.text, isNull);
            } else if (bindings[i].type == ColumnType::Double) {
                double number = 0;
                ok = st.check(SQLGetData(st.handle, column, SQL_C_DOUBLE, &number, 0, &indicator));
                value.number = indicator == SQL_NULL_DATA ? 0 : number;
            } else {
                SQLINTEGER integer = 0;
                ok = st.check(SQLGetData(st.handle, column, SQL_C_SLONG, &integer, 0, &indicator));
                value.integer = indicator == SQL_NULL_DATA ? 0 : integer;
            }
            if (!ok) {
                error = st.error;
                return false;
            }
        }
        fetched.push_back(std::move(row));
    }
    return true;
}

bool Recordset::LockCurrentRow()
{
    error.clear();
    vanished = false;
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (!hasCurrentRow())
        return fail("24000", "There is no current row to lock.");
    if (!db.inTransaction())
        return fail("25000", "A row is locked only inside a transaction.");
    Row& row = rows[static_cast<std::size_t>(current)];
    std::string sql = "SELECT " + identifier("id");
    for (const Binding& b : bindings)
        sql += ", " + identifier(b.column);
    sql += " FROM " + identifier(tableName) + " WHERE " + identifier("id") + " = ?";
    // SQLite has no row locks: there the transaction holds the file's write lock already.
    if (db.dialect() == Database::Dialect::PostgreSQL)
        sql += " FOR UPDATE";
    std::vector<Row> fetched;
    if (!fetchRows(sql, row.id, fetched))
        return false;
    if (fetched.empty()) {
        vanished = true;
        return fail("24000", "The current row no longer exists in the data source.");
    }
    row.values = std::move(fetched.front().values);
    if (mode == Mode::None)
        loadMembers(static_cast<std::size_t>(current));
    return true;
}

void Recordset::Close()
{
    opened = false;
    rows.clear();
    liveRows = 0;
    current = 0;
    mode = Mode::None;
}

bool Recordset::IsOpen() const { return opened; }

bool Recordset::CanRestart() const { return opened; }

bool Recordset::CanUpdate() const { return opened; }

bool Recordset::IsBOF() const
{
    LOG_ASSERT(IsOpen());
    return !opened || liveRows == 0 || current < 0;
}

bool Recordset::IsEOF() const
{
    LOG_ASSERT(IsOpen());
    return !opened || liveRows == 0 || current >= static_cast<std::ptrdiff_t>(rows.size());
}

bool Recordset::IsDeleted() const
{
    LOG_ASSERT(IsOpen());
    return opened && current >= 0 && current < static_cast<std::ptrdiff_t>(rows.size()) && rows[current].deleted;
}

bool Recordset::hasCurrentRow() const
{
    return opened && current >= 0 && current < static_cast<std::ptrdiff_t>(rows.size()) && !rows[current].deleted;
}

std::int64_t Recordset::GetRowId() const { return hasCurrentRow() ? rows[static_cast<std::size_t>(current)].id : 0; }

bool Recordset::MoveFirst()
{
    error.clear();
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (liveRows == 0)
        return fail("24000", "The recordset has no rows.");
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].deleted) {
            current = static_cast<std::ptrdiff_t>(i);
            loadMembers(i);
            return true;
        }
    return fail("24000", "The recordset has no rows.");
}

bool Recordset::MoveLast()
{
    error.clear();
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (liveRows == 0)
        return fail("24000", "The recordset has no rows.");
    for (std::size_t i = rows.size(); i-- > 0;)
        if (!rows[i].deleted) {
            current = static_cast<std::ptrdiff_t>(i);
            loadMembers(i);
            return true;
        }
    return fail("24000", "The recordset has no rows.");
}

bool Recordset::MoveNext()
{
    error.clear();
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (IsEOF())
        return fail("24000", "Attempt to move past the last row.");
    std::ptrdiff_t end = static_cast<std::ptrdiff_t>(rows.size());
    std::ptrdiff_t i = current + 1;
    while (i < end && rows[i].deleted)
        ++i;
    current = i;
    if (i < end)
        loadMembers(static_cast<std::size_t>(i));
    return true;
}

bool Recordset::MovePrev()
{
    error.clear();
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (IsBOF())
        return fail("24000", "Attempt to move before the first row.");
    std::ptrdiff_t i = current - 1;
    while (i >= 0 && rows[i].deleted)
        --i;
    current = i;
    if (i >= 0)
        loadMembers(static_cast<std::size_t>(i));
    return true;
}

bool Recordset::AddNew()
{
    error.clear();
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    mode = Mode::Adding;
    return true;
}

bool Recordset::Edit()
{
    error.clear();
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (!hasCurrentRow())
        return fail("24000", "There is no current row to edit.");
    mode = Mode::Editing;
    return true;
}

bool Recordset::Update()
{
    error.clear();
    vanished = false;
    unshownText = false;
    Mode was = mode;
    mode = Mode::None;
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    bool ok = false;
    if (was == Mode::Adding)
        ok = insertRow();
    else if (was == Mode::Editing)
        ok = hasCurrentRow() ? updateRow() : fail("24000", "There is no current row to update.");
    else
        return fail("HY010", "Update without AddNew or Edit.");
    // The bound members show the current row again, written or not.
    if (hasCurrentRow())
        loadMembers(static_cast<std::size_t>(current));
    return ok;
}

namespace {

// Parameter values that stay in place until the statement has run.
struct Parameters {
    std::deque<std::string> texts;
    std::deque<double> doubles;
    std::deque<SQLINTEGER> integers;
    std::deque<SQLBIGINT> bigints;
    std::deque<SQLLEN> lengths;
};

} // namespace

namespace {

// A number as a data source keeps it: some drivers carry a double as text
// of 15 significant digits, so a value written reads back with its last
// digits changed. Equal there, it is the same value.
bool sameNumber(double a, double b)
{
    if (a == b)
        return true;
    char x[32];
    char y[32];
    std::snprintf(x, sizeof x, "%.15g", a);
    std::snprintf(y, sizeof y, "%.15g", b);
    return std::strcmp(x, y) == 0;
}

// A flag is the same flag whatever non-zero value a driver reads for it.
bool sameValue(Recordset::ColumnType type, const Recordset::Value& a, const Recordset::Value& b)
{
    switch (type) {
    case Recordset::ColumnType::Text:
        return a.text == b.text;
    case Recordset::ColumnType::Double:
        return sameNumber(a.number, b.number);
    case Recordset::ColumnType::Bool:
        return (a.integer != 0) == (b.integer != 0);
    default:
        return a.integer == b.integer;
    }
}

} // namespace

void Recordset::TakeEditBase() { editBase = memberValues(); }

bool Recordset::ChangedFromEditBase()
{
    bool changed = false;
    if (editBase.size() == bindings.size()) {
        const std::vector<Value> mine = memberValues();
        for (std::size_t i = 0; i < bindings.size() && !changed; ++i)
            changed = !sameValue(bindings[i].type, mine[i], editBase[i]);
    }
    editBase.clear();
    if (mode == Mode::None && hasCurrentRow())
        loadMembers(static_cast<std::size_t>(current));
    return changed;
}

Recordset::Merge Recordset::MergeIntoCurrentRow()
{
    Merge merge;
    if (!hasCurrentRow() || editBase.size() != bindings.size()) {
        editBase.clear();
        return merge;
    }
    const std::vector<Value> mine = memberValues();
    const Row& row = rows[static_cast<std::size_t>(current)];
    std::vector<Value> merged = row.values;
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        const ColumnType type = bindings[i].type;
        if (!sameValue(type, mine[i], editBase[i])) {
            merged[i] = mine[i];
            if (!sameValue(type, row.values[i], editBase[i]) && !sameValue(type, row.values[i], mine[i]))
                merge.overwritten.push_back(bindings[i].column);
        } else if (!sameValue(type, row.values[i], mine[i])) {
            merge.keptOthers = true;
        }
    }
    editBase.clear();
    setMembers(merged);
    return merge;
}

std::vector<Recordset::Value> Recordset::memberValues() const
{
    std::vector<Value> values(bindings.size());
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        const Binding& b = bindings[i];
        switch (b.type) {
        case ColumnType::Text:
            values[i].text = *static_cast<const std::string*>(b.member);
            break;
        case ColumnType::Double:
            values[i].number = *static_cast<const double*>(b.member);
            break;
        case ColumnType::Long:
            values[i].integer = *static_cast<const std::int32_t*>(b.member);
            break;
        case ColumnType::Bool:
            values[i].integer = *static_cast<const std::int32_t*>(b.member) != 0 ? 1 : 0;
            break;
        case ColumnType::Byte:
            values[i].integer = *static_cast<const std::uint8_t*>(b.member);
            break;
        }
    }
    return values;
}

void Recordset::loadMembers(std::size_t index) { setMembers(rows[index].values); }

void Recordset::setMembers(const std::vector<Value>& values)
{
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        const Binding& b = bindings[i];
        const Value& v = values[i];
        switch (b.type) {
        case ColumnType::Text:
            *static_cast<std::string*>(b.member) = v.text;
            break;
        case ColumnType::Double:
            *static_cast<double*>(b.member) = v.number;
            break;
        case ColumnType::Long:
            *static_cast<std::int32_t*>(b.member) = static_cast<std::int32_t>(v.integer);
            break;
        case ColumnType::Bool:
            *static_cast<std::int32_t*>(b.member) = v.integer != 0 ? 1 : 0;
            break;
        case ColumnType::Byte:
            *static_cast<std::uint8_t*>(b.member) = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v.integer, 0, 255));
            break;
        }
    }
}

namespace {

bool bindValue(Statement& st, Parameters& p, SQLUSMALLINT number, Recordset::ColumnType type,
               const Recordset::Value& v)
{
    SQLLEN& length = p.lengths.emplace_back(0);
    if (type == Recordset::ColumnType::Text) {
        std::string& bytes = p.texts.emplace_back(dbtext::toUtf8(v.text));
        length = static_cast<SQLLEN>(bytes.size());
        return st.check(SQLBindParameter(st.handle, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                         std::max<SQLULEN>(bytes.size(), 1), 0, bytes.data(), length, &length));
    }
    if (type == Recordset::ColumnType::Double) {
        double& value = p.doubles.emplace_back(v.number);
        return st.check(SQLBindParameter(st.handle, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &value, 0,
                                         &length));
    }
    // Flags go as SQL_BIT so that a server with a real boolean type takes them.
    SQLINTEGER& value = p.integers.emplace_back(static_cast<SQLINTEGER>(v.integer));
    SQLSMALLINT sqlType = type == Recordset::ColumnType::Bool   ? SQL_BIT
                          : type == Recordset::ColumnType::Byte ? SQL_SMALLINT
                                                                : SQL_INTEGER;
    return st.check(SQLBindParameter(st.handle, number, SQL_PARAM_INPUT, SQL_C_SLONG, sqlType, 10, 0, &value, 0, &length));
}

bool bindId(Statement& st, Parameters& p, SQLUSMALLINT number, std::int64_t id)
{
    SQLBIGINT& value = p.bigints.emplace_back(id);
    SQLLEN& length = p.lengths.emplace_back(0);
    return st.check(SQLBindParameter(st.handle, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 19, 0, &value, 0, &length));
}

bool run(Statement& st, const std::string& sql)
{
    std::string text = dbtext::toUtf8(sql);
    SQLRETURN rc = SQLExecDirect(st.handle, reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLINTEGER>(text.size()));
    return rc == SQL_NO_DATA || st.check(rc);
}

SQLLEN affectedRows(Statement& st)
{
    SQLLEN count = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(st.handle, &count)))
        return -1;
    return count;
}

bool fetchId(Statement& st, std::int64_t& id)
{
    SQLRETURN rc = SQLFetch(st.handle);
    if (rc == SQL_NO_DATA) {
        st.error = odbc::ownError("HY000", "The new row's id could not be read.");
        return false;
    }
    if (!st.check(rc))
        return false;
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    if (!st.check(SQLGetData(st.handle, 1, SQL_C_SBIGINT, &value, 0, &indicator)))
        return false;
    id = value;
    return true;
}

} // namespace

bool Recordset::writable(std::size_t i, const Value& value)
{
    if (bindings[i].type != ColumnType::Text || !dbtext::isLossyReading(value.text))
        return true;
    unshownText = true;
    return fail("22000", "A text that this station read without some of its letters would be written as read.");
}

bool Recordset::insertRow()
{
    std::vector<Value> values = memberValues();
    for (std::size_t i = 0; i < bindings.size(); ++i)
        if (!writable(i, values[i]))
            return false;
    Statement st(db);
    if (!st.ok) {
        error = st.error;
        return false;
    }
    std::string sql = "INSERT INTO " + identifier(tableName) + " (";
    std::string markers;
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        sql += (i ? ", " : "") + identifier(bindings[i].column);
        markers += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + markers + ")";
    bool returning = db.dialect() != Database::Dialect::SQLite;
    if (returning)
        sql += " RETURNING " + identifier("id");
    Parameters p;
    for (std::size_t i = 0; i < bindings.size(); ++i)
        if (!bindValue(st, p, static_cast<SQLUSMALLINT>(i + 1), bindings[i].type, values[i])) {
            error = st.error;
            return false;
        }
    if (!run(st, sql)) {
        error = st.error;
        return false;
    }
    std::int64_t id = 0;
    if (returning) {
        if (!fetchId(st, id)) {
            error = st.error;
            return false;
        }
    } else {
        Statement last(db);
        if (!last.ok || !run(last, "SELECT last_insert_rowid()") || !fetchId(last, id)) {
            error = last.ok ? last.error : st.error;
            return false;
        }
    }
    addedId = id;
    bool wasAfterLast = current >= static_cast<std::ptrdiff_t>(rows.size());
    rows.push_back(Row{id, false, std::move(values)});
    ++liveRows;
    if (wasAfterLast)
        current = static_cast<std::ptrdiff_t>(rows.size());
    return true;
}

bool Recordset::updateRow()
{
    std::vector<Value> values = memberValues();
    Row& row = rows[static_cast<std::size_t>(current)];
    // Only the columns that changed are written: a text that was read with
    // characters the station's code page cannot show ("?") must not go back
    // over the stored text because another column was edited.
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < bindings.size(); ++i)
        if (!sameValue(bindings[i].type, values[i], row.values[i]))
            changed.push_back(i);
    if (changed.empty())
        return true;
    for (std::size_t i : changed)
        if (!writable(i, values[i]))
            return false;
    Statement st(db);
    if (!st.ok) {
        error = st.error;
        return false;
    }
    std::string sql = "UPDATE " + identifier(tableName) + " SET ";
    Parameters p;
    SQLUSMALLINT number = 0;
    for (std::size_t i : changed) {
        sql += (number ? ", " : "") + identifier(bindings[i].column) + " = ?";
        if (!bindValue(st, p, ++number, bindings[i].type, values[i])) {
            error = st.error;
            return false;
        }
    }
    sql += " WHERE " + identifier("id") + " = ?";
    if (!bindId(st, p, ++number, row.id) || !run(st, sql)) {
        error = st.error;
        return false;
    }
    if (affectedRows(st) != 1) {
        vanished = true;
        return fail("24000", "The current row no longer exists in the data source.");
    }
    for (std::size_t i : changed)
        row.values[i] = std::move(values[i]);
    return true;
}

bool Recordset::Delete()
{
    error.clear();
    vanished = false;
    if (!opened)
        return fail("HY010", "The recordset is not open.");
    if (mode != Mode::None)
        return fail("HY010", "Delete during AddNew or Edit.");
    if (!hasCurrentRow())
        return fail("24000", "There is no current row to delete.");
    Statement st(db);
    if (!st.ok) {
        error = st.error;
        return false;
    }
    Parameters p;
    Row& row = rows[static_cast<std::size_t>(current)];
    if (!bindId(st, p, 1, row.id) || !run(st, "DELETE FROM " + identifier(tableName) + " WHERE " + identifier("id") + " = ?")) {
        error = st.error;
        return false;
    }
    if (affectedRows(st) != 1) {
        vanished = true;
        return fail("24000", "The current row no longer exists in the data source.");
    }
    row.deleted = true;
    --liveRows;
    return true;
}
