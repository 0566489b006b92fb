#pragma once
// The registry of open tables: whoever changes the rows of a kind of table
// refreshes every open recordset of that kind, so that every editor, list
// and combo box reads the new rows.
#include <vector>

class Recordset;

using TableKind = int;

namespace tableKind {
constexpr TableKind Algorithm = 0;
constexpr TableKind Course = 1;
constexpr TableKind Events = 2;
constexpr TableKind Person = 3;
constexpr TableKind Scenario = 4;
constexpr TableKind Session = 5;
} // namespace tableKind

class TablePool {
public:
    // The table name of each kind.
    static const char* const names[6];

    TablePool() = default;
    virtual ~TablePool() = default;
    TablePool(const TablePool&) = delete;
    TablePool& operator=(const TablePool&) = delete;

    // Registers a table; a table already registered is not added again, so
    // that its destructor's one removal leaves no entry behind.
    void add(Recordset* table, TableKind kind);
    // Forgets a table; an unknown one is ignored.
    void remove(Recordset* table);
    // Re-opens every registered recordset of the kind with its own filter and sort.
    void refresh(TableKind kind);
    // Re-opens every open recordset of every kind (after a rollback, so that
    // none keeps rows that were never committed).
    void refreshAll();

    std::size_t size() const { return tables.size(); }

private:
    std::vector<Recordset*> tables;
    std::vector<TableKind> kinds;
};
