#pragma once
// The template of the table classes: a recordset with the flag `ok` and the
// hooks that editors, lists and the cascades between tables call.
#include "Database/DatabaseUtil.h"
#include "Database/DbUi.h"
#include "Database/Recordset.h"
#include "Database/TablePool.h"
#include "Utillib/LogStream.h"

#include <string>

// How the record editors treat a record's key; each record type specialises it
// with: key(record), isComplete(key), equal(key, key) and withKey(key), the
// default record carrying a key.
template <class Record>
struct RecordKey;

template <class Record, class Key>
class DatabaseTable : public Recordset {
public:
    using RecordType = Record;
    using KeyType = Key;

    explicit DatabaseTable(Database& db)
        : Recordset(db)
    {
    }
    ~DatabaseTable() override
    {
        tablePool.remove(this);
        Close();
    }

    // The table opened successfully (set by open and by restart).
    bool ok = false;

    // Opens on the filter and registers with the pool; false while the
    // database is not open.
    virtual bool open(const std::string& filter) = 0;
    // The named column of the current row as text; the name ignores case.
    virtual std::string getField(const std::string& column) = 0;
    virtual Record getRecord() = 0;
    // Copies the record into the bound members, between AddNew or Edit and Update.
    virtual void setRecord(const Record& record) = 0;
    // Carries a key change into the tables that refer to this one; false when
    // a statement failed (it was reported).
    virtual bool rename(const Key& oldKey, const Key& newKey) = 0;
    // Deletes the rows with the key, with their dependants when `cascade`;
    // false when a statement failed (it was reported).
    virtual bool remove(const Key& key, bool cascade) = 0;
    // Rows with this key by the table's own comparison; leaves the cursor after the last row.
    virtual int count(const Key& key) = 0;
    // Whether the key can stand for its rows on this station: false when it
    // reads here like another stored name (refused with its message), which
    // count would take for rows of this key.
    virtual bool keyUsable(const Key& /*key*/) { return true; }
    virtual void fillCombo(dbui::ComboBox& /*combo*/, const std::string& /*column*/, const std::string& /*filter*/) {}

    // Reads the rows again on the current filter and sort; false when that
    // failed. A failure is shown in the error box. When the filter and sort
    // are those of the rows held, they stay, so that an editor goes on
    // working once another station's lock is gone; under a changed filter or
    // sort the table is closed and no longer ok, so that nobody takes the
    // old filter's rows for the new one's.
    bool restart()
    {
        if (!ok)
            return false;
        LOG_ASSERT(CanRestart()!=0);
        std::string name = GetTableName();
        ok = DBUtil::Open(this, name);
        LOG_ASSERT(ok);
        if (ok)
            return true;
        DBUtil::reportError(lastError().text);
        ok = IsOpen();
        return false;
    }

protected:
    // Opens the table again after a failed re-read under another filter
    // closed it; a failure is shown.
    bool reopen()
    {
        if (GetTableName().empty())
            return false;
        ok = DBUtil::Open(this, GetTableName());
        if (!ok)
            DBUtil::reportError(lastError().text);
        return ok;
    }

    // Opening as every table does it: refused while the database is closed;
    // registers the table under its kind on success.
    bool openAs(const std::string& filter, TableKind kind);

    // The fill of a combo box with a column of every row under a temporary filter.
    void fillComboRows(dbui::ComboBox& combo, const std::string& column, const std::string& filter)
    {
        std::string text = combo.getText();
        combo.resetContent();
        if (!ok) {
            combo.selectString(text);
            return;
        }
        std::string remembered = m_strFilter;
        bool filtered = true;
        if (filter != remembered) {
            m_strFilter = filter;
            filtered = restart();
        }
        // Rows of another filter are not listed.
        if (filtered && IsOpen() && !(IsBOF() && IsEOF())) {
            // A failing move ends the walk, as a failed read would.
            if (MoveFirst())
                while (!IsEOF()) {
                    combo.addString(getField(column));
                    if (!MoveNext())
                        break;
                }
        }
        if (m_strFilter != remembered) {
            m_strFilter = remembered;
            // A failed read under the temporary filter closed the table.
            if (ok)
                restart();
            else
                reopen();
        }
        combo.selectString(text);
    }
};

template <class Record, class Key>
bool DatabaseTable<Record, Key>::openAs(const std::string& filter, TableKind kind)
{
    if (!databaseOpen)
        return false;
    m_strFilter = filter;
    ok = DBUtil::Open(this, TablePool::names[kind]);
    if (ok)
        tablePool.add(this, kind);
    return ok;
}
