#pragma once
// Shared ODBC helpers of the connection and the recordsets.
#include "Database/DbError.h"

#include <sql.h>
#include <sqlext.h>

namespace odbc {

// Every diagnostic record of a handle; the text of each is read whole.
DbError diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// An error of our own layer, with the SQLSTATE a driver would give.
DbError ownError(const char* state, const char* text);

} // namespace odbc
