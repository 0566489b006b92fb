#pragma once
// Reading a query of text columns a block of rows at a time: each column is
// bound to an array of values that the driver fills for many rows in one
// fetch, instead of one call to the driver for every value.
#include "Database/DbError.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class Database;

namespace odbc {

// One row as the driver sent it (UTF-8); the views last until the next row.
struct TextRow {
    std::vector<std::string_view> values;
    std::vector<bool> nulls;
};

struct BlockRead {
    // Asked for: rows per fetch, and the bytes first set aside for each value
    // (terminator included). A value that does not fit is not cut: the query
    // runs again with room for it, up to `mostValueBytes`.
    std::size_t blockRows = 256;
    std::size_t valueBytes = 64;
    // The most bytes set aside for a value (terminator included), so that
    // one huge value cannot make a block of rows take all memory: a longer
    // value is handed over cut, at a character boundary. 0 reads every value
    // whole, and a value over 16 MB fails the read.
    std::size_t mostValueBytes = 0;

    // Learnt by the read: the rows per fetch the driver took (1 where it
    // refuses blocks), how often the query ran, the most bytes a run set
    // aside for the values of one fetch, and the values handed over cut.
    std::size_t rowsPerFetch = 0;
    int runs = 0;
    std::size_t bufferBytes = 0;
    std::size_t valuesCut = 0;
};

// Runs `utf8` and hands its rows in order to `row`, each with `columns`
// values. Before every run after the first, `restart` is called: the rows
// handed over so far come again. False with `error` set when the query or
// a fetch fails.
bool readTextBlocks(Database& db, const std::string& utf8, std::size_t columns, BlockRead& how,
                    const std::function<void()>& restart, const std::function<void(const TextRow&)>& row,
                    DbError& error);

} // namespace odbc
