#pragma once
// Shared ODBC helpers of the connection and the recordsets.
#include "Database/DbError.h"

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

class Database;

namespace odbc {

// Every diagnostic record of a handle; the text of each is read whole.
DbError diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// An error of our own layer, with the SQLSTATE a driver would give.
DbError ownError(const char* state, const char* text);

// Reads a text column of the fetched row whole, piece by piece, as the data
// source sends it (UTF-8), whatever its length. False with `error` set.
bool readBytes(SQLHSTMT statement, SQLUSMALLINT column, std::string& bytes, bool& isNull, DbError& error);

// A statement handle on the connection, freed with its scope; `ok` tells
// whether it was made, `error` why not or why the last step failed.
class Statement {
public:
    explicit Statement(Database& db);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // True when `rc` is a success; else the statement's diagnostics go to `error`.
    bool check(SQLRETURN rc);
    // Runs UTF-8 text as it is; a searched UPDATE or DELETE that matches no
    // row (SQL_NO_DATA) counts as run.
    bool run(const std::string& utf8);

    SQLHSTMT handle = SQL_NULL_HSTMT;
    bool ok = false;
    DbError error;
};

// Statement text that is UTF-8 already, run as it is: texts that the
// station's code page cannot hold (read with readBytes) go back unchanged.
// `execute` runs one statement; `selectTexts` gives every row of a query of
// text columns, each value as stored (NULL as ""). False with `error` set.
bool execute(Database& db, const std::string& utf8, DbError& error);
bool selectTexts(Database& db, const std::string& utf8, std::vector<std::vector<std::string>>& rows, DbError& error);

} // namespace odbc
