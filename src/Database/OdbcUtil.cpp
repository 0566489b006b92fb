#include "Database/OdbcUtil.h"

#include "Database/Database.h"
#include "Database/DbText.h"

#include <vector>

namespace odbc {

DbError diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    DbError error;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::vector<SQLCHAR> message(512);
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &native, message.data(),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<std::size_t>(length) + 1);
            rc = SQLGetDiagRec(handleType, handle, record, state, &native, message.data(),
                               static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        std::string stateText(reinterpret_cast<const char*>(state));
        std::string messageText(reinterpret_cast<const char*>(message.data()), static_cast<std::size_t>(length));
        if (record == 1) {
            error.state = stateText;
            error.native = native;
        }
        error.text += dbtext::fromUtf8(messageText) + " (SQLSTATE " + stateText + ")\n";
    }
    if (!error.isSet())
        error = ownError("HY000", "The driver reported a failure without a diagnostic.");
    return error;
}

DbError ownError(const char* state, const char* text)
{
    DbError error;
    error.state = state;
    error.text = std::string(text) + " (SQLSTATE " + state + ")\n";
    return error;
}

bool readBytes(SQLHSTMT statement, SQLUSMALLINT column, std::string& bytes, bool& isNull, DbError& error)
{
    bytes.clear();
    isNull = false;
    char buffer[256];
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(statement, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        if (!SQL_SUCCEEDED(rc)) {
            error = diagnostics(SQL_HANDLE_STMT, statement);
            return false;
        }
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            return true;
        }
        // A piece that did not fit fills the buffer but for its terminating NUL.
        bool truncated = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer);
        if (!truncated) {
            bytes.append(buffer, static_cast<std::size_t>(indicator));
            return true;
        }
        bytes.append(buffer, sizeof buffer - 1);
    }
}

Statement::Statement(Database& db)
{
    SQLHDBC connection = static_cast<SQLHDBC>(db.handle());
    if (!connection)
        error = ownError("08003", "The database connection is not open.");
    else if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle)))
        error = diagnostics(SQL_HANDLE_DBC, connection);
    else
        ok = true;
}

Statement::~Statement()
{
    if (ok)
        SQLFreeHandle(SQL_HANDLE_STMT, handle);
}

bool Statement::check(SQLRETURN rc)
{
    if (SQL_SUCCEEDED(rc))
        return true;
    error = diagnostics(SQL_HANDLE_STMT, handle);
    return false;
}

bool Statement::run(const std::string& utf8)
{
    std::string text = utf8;
    const SQLRETURN rc = SQLExecDirect(handle, reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLINTEGER>(text.size()));
    return rc == SQL_NO_DATA || check(rc);
}

bool execute(Database& db, const std::string& utf8, DbError& error)
{
    Statement st(db);
    if (st.ok && st.run(utf8))
        return true;
    error = st.error;
    return false;
}

bool selectTexts(Database& db, const std::string& utf8, std::vector<std::vector<std::string>>& rows, DbError& error)
{
    rows.clear();
    Statement st(db);
    if (!st.ok || !st.run(utf8)) {
        error = st.error;
        return false;
    }
    SQLSMALLINT columns = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(st.handle, &columns))) {
        error = diagnostics(SQL_HANDLE_STMT, st.handle);
        return false;
    }
    for (;;) {
        SQLRETURN rc = SQLFetch(st.handle);
        if (rc == SQL_NO_DATA)
            return true;
        if (!SQL_SUCCEEDED(rc)) {
            error = diagnostics(SQL_HANDLE_STMT, st.handle);
            return false;
        }
        std::vector<std::string>& row = rows.emplace_back(static_cast<std::size_t>(columns));
        for (SQLSMALLINT c = 0; c < columns; ++c) {
            bool isNull = false;
            if (!readBytes(st.handle, static_cast<SQLUSMALLINT>(c + 1), row[static_cast<std::size_t>(c)], isNull, error))
                return false;
        }
    }
}

} // namespace odbc
