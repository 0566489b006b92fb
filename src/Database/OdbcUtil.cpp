#include "Database/OdbcUtil.h"

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

} // namespace odbc
