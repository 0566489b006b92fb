#pragma once
// A record editor without a window, for tests of what stations sharing one
// database do: `shown` stands for its controls.
#include "Database/DatabaseDialog.h"

#include <string>

namespace dbtest {

template <class Table, TableKind kind>
class StationEditor : public DatabaseDialog<Table> {
public:
    using Record = typename Table::RecordType;
    using TableType = Table;
    explicit StationEditor(Database& db)
        : rows(db)
    {
        this->table = &rows;
    }
    void showRecord(const Record& rec) override { shown = rec; }
    Record readRecord() override { return shown; }
    bool isChanged() override { return false; }
    void enableButtons(int) override {}
    std::wstring messageText(int number) override { return L"prompt " + std::to_wstring(number); }
    void notifyChanged() override { tablePool.refresh(kind); }

    // Shows the stored row of that id; false when it is not there.
    bool showRow(std::int64_t id)
    {
        if (!this->findRow(id))
            return false;
        this->loadCurrentRecord();
        this->updateDialog();
        return true;
    }
    // What the user's changes are measured from, when the record was read
    // before it was shown (a session recorded meanwhile).
    void measureFrom(const Record& base) { this->loadedRow = base; }

    Table rows;
    Record shown;
};

} // namespace dbtest
