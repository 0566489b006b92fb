#pragma once
#include <string>

// A failed database operation: the SQLSTATE and native code of its first
// diagnostic and the text of all of them, as the error box shows it.
struct DbError {
    std::string state;
    long native = 0;
    std::string text;

    bool isSet() const { return !state.empty() || !text.empty(); }
    void clear() { *this = DbError(); }
};
