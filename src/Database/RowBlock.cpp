#include "Database/RowBlock.h"

#include "Database/Database.h"
#include "Database/OdbcUtil.h"

#include <algorithm>
#include <cstring>

namespace odbc {

namespace {

// The largest value a read makes room for when it reads every value whole;
// a driver that never tells the length of a value it cut gets doubling room
// up to this.
constexpr std::size_t largestWholeValue = std::size_t(16) << 20;

// The text without a character the cut split: the bytes of an incomplete
// UTF-8 sequence at its end are dropped.
std::string_view wholeCharacters(std::string_view text)
{
    std::size_t start = text.size();
    std::size_t following = 0;
    while (start > 0 && following < 3 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) {
        --start;
        ++following;
    }
    if (start == 0)
        return text;
    auto lead = static_cast<unsigned char>(text[start - 1]);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > following + 1 ? text.substr(0, start - 1) : text;
}

enum class Run { done, failed, tooNarrow };

// The driver writes into these while the statement lives: they are made
// before the statement and so outlive it.
struct Buffers {
    std::vector<SQLULEN> fetched = std::vector<SQLULEN>(1, 0);
    std::vector<SQLUSMALLINT> status;
    std::vector<std::vector<char>> texts;  // per column: rows x its value bytes
    std::vector<std::vector<SQLLEN>> lengths; // per column: one indicator per row
};

// Asks for blocks of `wanted` rows with a count of fetched rows and a status
// per row; the rows per fetch the driver settled on, 1 when it refuses any
// of the three (one row per fetch needs neither count nor status).
std::size_t askForBlocks(Statement& st, std::size_t wanted, Buffers& b, bool& counted)
{
    counted = false;
    if (wanted > 1) {
        SQLRETURN rc = SQLSetStmtAttr(st.handle, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(wanted), 0);
        SQLULEN taken = 0;
        // A driver may take another size than asked (01S02): it says which.
        if (SQL_SUCCEEDED(rc) && SQL_SUCCEEDED(SQLGetStmtAttr(st.handle, SQL_ATTR_ROW_ARRAY_SIZE, &taken, sizeof taken, nullptr))
            && taken > 1 && taken <= wanted) {
            b.status.assign(taken, SQL_ROW_NOROW);
            if (SQL_SUCCEEDED(SQLSetStmtAttr(st.handle, SQL_ATTR_ROWS_FETCHED_PTR, b.fetched.data(), 0))
                && SQL_SUCCEEDED(SQLSetStmtAttr(st.handle, SQL_ATTR_ROW_STATUS_PTR, b.status.data(), 0))) {
                counted = true;
                return taken;
            }
        }
        SQLSetStmtAttr(st.handle, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        SQLSetStmtAttr(st.handle, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        SQLSetStmtAttr(st.handle, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
    }
    return 1;
}

Run runOnce(Database& db, const std::string& utf8, std::vector<std::size_t>& widths, BlockRead& how,
            const std::function<void(const TextRow&)>& sink, DbError& error)
{
    const std::size_t columns = widths.size();
    Buffers b;
    Statement st(db);
    if (!st.ok) {
        error = st.error;
        return Run::failed;
    }
    bool counted = false;
    const std::size_t rows = askForBlocks(st, std::max<std::size_t>(how.blockRows, 1), b, counted);
    how.rowsPerFetch = rows;
    std::string sql = utf8;
    if (!st.check(SQLExecDirect(st.handle, reinterpret_cast<SQLCHAR*>(sql.data()), static_cast<SQLINTEGER>(sql.size())))) {
        error = st.error;
        return Run::failed;
    }
    b.texts.resize(columns);
    b.lengths.resize(columns);
    how.valuesCut = 0;
    std::size_t bytes = 0;
    for (std::size_t c = 0; c < columns; ++c)
        bytes += rows * widths[c];
    how.bufferBytes = std::max(how.bufferBytes, bytes);
    for (std::size_t c = 0; c < columns; ++c) {
        b.texts[c].assign(rows * widths[c], '\0');
        b.lengths[c].assign(rows, 0);
        // Row r of the column lies at r x widths[c]: the driver may write
        // widths[c] bytes there, terminator included, and one SQLLEN length.
        if (!st.check(SQLBindCol(st.handle, static_cast<SQLUSMALLINT>(c + 1), SQL_C_CHAR, b.texts[c].data(),
                                 static_cast<SQLLEN>(widths[c]), b.lengths[c].data()))) {
            error = st.error;
            return Run::failed;
        }
    }
    TextRow row;
    row.values.resize(columns);
    row.nulls.resize(columns);
    for (;;) {
        b.fetched[0] = 0;
        SQLRETURN rc = SQLFetch(st.handle);
        if (rc == SQL_NO_DATA)
            return Run::done;
        if (!st.check(rc)) {
            error = st.error;
            return Run::failed;
        }
        std::size_t got = counted ? static_cast<std::size_t>(b.fetched[0]) : 1;
        if (got > rows) {
            error = ownError("HY000", "The driver reported more rows than a block holds.");
            return Run::failed;
        }
        // Widths are changed only after the block: its values lie at the old ones.
        std::vector<std::size_t> wider = widths;
        bool narrow = false;
        for (std::size_t r = 0; r < got; ++r) {
            if (counted && b.status[r] == SQL_ROW_NOROW)
                continue;
            if (counted && b.status[r] == SQL_ROW_ERROR) {
                error = diagnostics(SQL_HANDLE_STMT, st.handle);
                if (!error.isSet())
                    error = ownError("HY000", "A row of the result could not be read.");
                return Run::failed;
            }
            for (std::size_t c = 0; c < columns; ++c) {
                SQLLEN length = b.lengths[c][r];
                row.nulls[c] = length == SQL_NULL_DATA;
                if (length == SQL_NULL_DATA) {
                    row.values[c] = {};
                } else if (how.mostValueBytes > 0 && widths[c] >= how.mostValueBytes
                           && (length == SQL_NO_TOTAL || length >= static_cast<SQLLEN>(widths[c]))) {
                    // Longer than any room made for it: what the driver
                    // wrote, up to its terminator.
                    const char* start = b.texts[c].data() + r * widths[c];
                    const void* end = std::memchr(start, '\0', widths[c] - 1);
                    std::size_t kept = end ? static_cast<std::size_t>(static_cast<const char*>(end) - start) : widths[c] - 1;
                    row.values[c] = wholeCharacters(std::string_view(start, kept));
                    ++how.valuesCut;
                } else if (length == SQL_NO_TOTAL || length >= static_cast<SQLLEN>(widths[c])) {
                    // Cut by the driver: room for the whole value next time.
                    std::size_t need = length == SQL_NO_TOTAL ? widths[c] * 2 : static_cast<std::size_t>(length) + 1;
                    if (how.mostValueBytes > 0)
                        need = std::min(need, how.mostValueBytes);
                    if (need > largestWholeValue) {
                        error = ownError("22001", "A value of the result is too long to be read.");
                        return Run::failed;
                    }
                    wider[c] = std::max(wider[c], need);
                    narrow = true;
                } else if (length < 0) {
                    error = ownError("HY000", "The driver gave a value an invalid length.");
                    return Run::failed;
                } else {
                    row.values[c] = std::string_view(b.texts[c].data() + r * widths[c], static_cast<std::size_t>(length));
                }
            }
            if (!narrow)
                sink(row);
        }
        if (narrow) {
            widths = wider;
            return Run::tooNarrow;
        }
    }
}

} // namespace

bool readTextBlocks(Database& db, const std::string& utf8, std::size_t columns, BlockRead& how,
                    const std::function<void()>& restart, const std::function<void(const TextRow&)>& row,
                    DbError& error)
{
    error.clear();
    how.runs = 0;
    how.rowsPerFetch = 0;
    how.bufferBytes = 0;
    how.valuesCut = 0;
    std::size_t first = std::max<std::size_t>(how.valueBytes, 2);
    if (how.mostValueBytes > 0)
        first = std::min(first, std::max<std::size_t>(how.mostValueBytes, 2));
    std::vector<std::size_t> widths(columns, first);
    for (;;) {
        if (how.runs++ > 0)
            restart();
        Run run = runOnce(db, utf8, widths, how, row, error);
        if (run != Run::tooNarrow)
            return run == Run::done;
    }
}

} // namespace odbc
