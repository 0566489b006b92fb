#pragma once
// A table's rows as a scrollable set with bound columns. Opening runs one
// SELECT and keeps the rows in memory in a fixed order; the cursor moves
// over them. Each table has a surrogate "id" column, and the current row is edited and deleted by it, never by a name.
// Rows added through the recordset join it at the end; deleted rows stay in
// place, marked, and the moves skip them.
#include "Database/DbError.h"

#include <cstdint>
#include <string>
#include <vector>

class Database;

class Recordset {
public:
    explicit Recordset(Database& db);
    virtual ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Applied by every Open: a WHERE condition and an ORDER BY list, both SQL.
    std::string m_strFilter;
    std::string m_strSort;

    // Selects the bound columns of `table` under the filter and sort; the
    // cursor stands on the first row. Fails with lastError() set. Opening a
    // recordset that is open on the table already reads it again; when that
    // fails with the same filter and sort, the rows read before stay, with
    // the cursor where it was; with another filter or sort it is closed.
    virtual bool Open(const std::string& table);
    virtual void Close();
    virtual bool IsOpen() const;
    virtual bool CanRestart() const;
    bool CanUpdate() const;
    const std::string& GetTableName() const { return tableName; }

    // Before the first row / after the last row; both on an empty set.
    bool IsBOF() const;
    bool IsEOF() const;
    bool IsDeleted() const;

    // Each fails (lastError() set) when the set is closed or the move is not
    // possible: an empty set, or already before the first / after the last row.
    bool MoveFirst();
    bool MoveLast();
    bool MoveNext();
    bool MovePrev();

    // AddNew or Edit, then set the bound members, then Update. Edit and
    // Delete need a current row; without one they fail and touch nothing.
    bool AddNew();
    bool Edit();
    bool Update();
    bool Delete();

    // The surrogate id of the current row (0 without one), and of the row
    // the last AddNew and Update wrote (0 before any).
    std::int64_t GetRowId() const;
    std::int64_t GetAddedRowId() const { return addedId; }

    // An editor's changes over the current row as another writer may have
    // left it since the editor read it. With the members holding what the
    // editor started from, TakeEditBase remembers them; with the members then
    // set to what the editor holds now, MergeIntoCurrentRow sets them to the
    // current row as last read with every column the editor changed taken
    // from the editor. Without a current row (or a base) the members stay.
    struct Merge {
        // columns the editor changed that had been changed to another value since
        std::vector<std::string> overwritten;
        // columns the editor left alone hold another writer's change
        bool keptOthers = false;
    };
    void TakeEditBase();
    Merge MergeIntoCurrentRow();
    // With the members then set to what the editor holds now: whether it
    // changed any column from the base. The base is used up, and the members
    // show the current row again.
    bool ChangedFromEditBase();

    // Inside a transaction: reads the current row again as stored now and
    // keeps it from other writers until the transaction ends (on SQLite the
    // transaction's write lock does that). The members show it unless an
    // AddNew or Edit is under way. Fails when the row is gone, with
    // RowVanished() set, or when no transaction is open.
    bool LockCurrentRow();
    // The last LockCurrentRow, Update or Delete failed because another
    // writer had deleted the row.
    bool RowVanished() const { return vanished; }
    // The last Update wrote nothing because a text it was to write is only
    // this station's reading of a stored text that lost letters to the code
    // page (dbtext::isLossyReading): the reading would replace the text.
    // Columns an edit leaves as the row holds them are not written, so
    // this refuses only a row written whole (an insert) or a column set to
    // such a reading.
    bool TextUnshown() const { return unshownText; }

    const DbError& lastError() const { return error; }
    Database& connection() const { return db; }

    // How a bound column is exchanged, and one value of it.
    enum class ColumnType { Text, Double, Long, Bool, Byte };
    struct Value {
        std::string text;
        double number = 0;
        std::int64_t integer = 0;
    };

protected:
    // Column bindings, made by the table's constructor in column order.
    void bindText(const char* column, std::string& member);
    void bindDouble(const char* column, double& member);
    void bindLong(const char* column, std::int32_t& member);
    void bindBool(const char* column, std::int32_t& member);
    void bindByte(const char* column, std::uint8_t& member);

private:
    struct Binding {
        std::string column;
        ColumnType type;
        void* member;
    };
    struct Row {
        std::int64_t id = 0;
        bool deleted = false;
        std::vector<Value> values;
    };
    enum class Mode { None, Adding, Editing };

    bool hasCurrentRow() const;
    bool fetch(const std::string& table, std::vector<Row>& fetched);
    // Runs a select of the id and the bound columns; a non-zero id is its one parameter.
    bool fetchRows(const std::string& query, std::int64_t id, std::vector<Row>& fetched);
    bool fail(const char* state, const char* text);
    void loadMembers(std::size_t index);
    void setMembers(const std::vector<Value>& values);
    std::vector<Value> memberValues() const;
    std::string selectStatement(const std::string& table) const;
    bool insertRow();
    bool updateRow();
    // False, with TextUnshown() set, when column `i` is a text whose value is a lossy reading.
    bool writable(std::size_t i, const Value& value);

    Database& db;
    std::vector<Binding> bindings;
    std::vector<Row> rows;
    std::size_t liveRows = 0;
    // Index into rows; -1 before the first row, rows.size() after the last.
    std::ptrdiff_t current = 0;
    bool opened = false;
    Mode mode = Mode::None;
    std::string tableName;
    // the statement that read the rows held
    std::string openQuery;
    std::int64_t addedId = 0;
    // the members an editor started from (TakeEditBase)
    std::vector<Value> editBase;
    bool vanished = false;
    bool unshownText = false;
    DbError error;
};
