#pragma once
// The logic that every record editor mixes in beside its dialog class:
// browsing one table a record at a time, New, Save with its handling of
// duplicate and changed keys, Discard, Delete with its cascade, the state of
// the buttons and the prompts before data is lost. The editor supplies the
// hooks (how a record is shown and read, the prompt texts, ...) and wires its
// buttons to the commands. Nothing here needs a window.
#include "Database/DatabaseTable.h"
#include "Database/DatabaseUtil.h"
#include "Database/DbUi.h"
#include "Database/EditorControls.h"
#include "Database/Transaction.h"
#include "Utillib/LogStream.h"

#include <string>

template <class Table>
class DatabaseDialog {
public:
    using Record = typename Table::RecordType;
    using Key = typename Table::KeyType;
    using Keys = RecordKey<Record>;

    // Bits of enableButtons and buttonState.
    enum : int {
        buttonSave = 1,
        buttonDiscard = 2,
        buttonFirst = 4,
        buttonLast = 8,
        buttonNext = 16,
        buttonPrevious = 32,
        buttonDelete = 64,
        buttonNew = 128,
    };
    // The controls every editor has, by id.
    using enum recordEditor::EditorControl;

    virtual ~DatabaseDialog() = default;

    // Hooks, supplied by the editor.
    virtual void showRecord(const Record& rec) = 0;
    // The record as the controls describe it, starting from `record` for what no control shows.
    virtual Record readRecord() = 0;
    virtual bool isChanged() = 0;
    virtual void enableButtons(int bits) = 0;
    // The translated text of prompt 0 to 6.
    virtual std::wstring messageText(int number) = 0;
    // Rows of this kind were inserted or deleted: refresh the pool's tables of the kind.
    virtual void notifyChanged() = 0;
    virtual void fillCombos() {}
    virtual void beforeSave(Record& /*rec*/) {}
    virtual void afterSave() {}
    virtual void beforeRemove() {}
    virtual bool confirmUpdate() { return false; }
    virtual bool confirmRemove() { return true; }

    // Queries.
    bool isNewEntry() const { return entryIsNew; }

    bool emptyTable() { return !tableOpen() || (table->IsBOF() && table->IsEOF()); }

    // Both move the cursor.
    bool isFirstRecord()
    {
        DBUtil::moveFirst(*table);
        return Keys::equal(Keys::key(table->getRecord()), Keys::key(record));
    }
    bool isLastRecord()
    {
        DBUtil::moveLast(*table);
        return Keys::equal(Keys::key(table->getRecord()), Keys::key(record));
    }

    int buttonState()
    {
        if (!tableOpen())
            return 0;
        int s = (isChanged() || changed) ? buttonSave + buttonDiscard : 0;
        if (entryIsNew)
            return emptyTable() ? s + buttonNew : s + buttonNew + buttonPrevious + buttonFirst;
        if (emptyTable())
            return buttonNew;
        if (!isFirstRecord())
            s += buttonFirst + buttonPrevious;
        if (!isLastRecord())
            s += buttonLast + buttonNext;
        return s + buttonDelete + buttonNew;
    }

    // The key last shown, for callers that opened the editor for a name.
    Key getSelectedName() const { return Keys::key(record); }

    // Display.
    void updateButtons()
    {
        if (!updating)
            enableButtons(buttonState());
    }

    void updateDialog()
    {
        updating = true;
        showRecord(record);
        updating = false;
        enableButtons(buttonState());
    }

    void loadCurrentRecord()
    {
        record = table->getRecord();
        entryIsNew = false;
    }

    void newEntry(const Record& rec)
    {
        if (!tableOpen())
            return;
        entryIsNew = true;
        record = rec;
        updating = true;
        showRecord(record);
        updating = false;
        enableButtons(buttonState());
        // The stored form is what the controls hold, so the entry starts unchanged.
        record = readRecord();
        updateButtons();
    }

    // Searching. On success the table stands on the row with the record's key.
    // When the table could not be read again (that was shown), the search
    // runs over the rows read before and `staleRows` is set.
    bool findRecord(const Record& rec)
    {
        staleRows = !table->restart();
        dbui::WaitCursor wait;
        DBUtil::moveFirst(*table);
        Key key = Keys::key(rec);
        while (table->IsOpen() && !table->IsEOF()) {
            if (Keys::equal(Keys::key(table->getRecord()), key))
                return true;
            DBUtil::moveNext(*table);
        }
        return false;
    }

    // True when the key was not found and the record is shown as a new entry.
    bool moveToRecord(const Record& rec)
    {
        if (!tableOpen())
            return false;
        if (!findRecord(rec)) {
            newEntry(rec);
            return true;
        }
        loadCurrentRecord();
        updateDialog();
        return false;
    }

    // Before the shown record is left: false when the user cancels or saving failed.
    bool askSaveChanges()
    {
        if (!tableOpen() || !(isChanged() || changed))
            return true;
        switch (prompt(2)) {
        case dbui::IDYES:
            return save();
        case dbui::IDNO:
            updating = true;
            showRecord(record);
            updating = false;
            enableButtons(buttonState());
            return true;
        default:
            return false;
        }
    }

    // Commands of the buttons.
    void onNew()
    {
        if (askSaveChanges())
            newEntry(Record());
    }

    void onDiscard()
    {
        if (tableOpen())
            updateDialog();
    }

    void onFirst()
    {
        if (!tableOpen() || !askSaveChanges())
            return;
        DBUtil::moveFirst(*table);
        loadCurrentRecord();
        updateDialog();
    }

    void onLast()
    {
        if (!tableOpen() || !askSaveChanges())
            return;
        DBUtil::moveLast(*table);
        loadCurrentRecord();
        updateDialog();
    }

    void onNext()
    {
        if (!tableOpen() || !askSaveChanges())
            return;
        findRecord(record);
        DBUtil::moveNext(*table);
        loadCurrentRecord();
        updateDialog();
    }

    void onPrevious()
    {
        if (!tableOpen() || !askSaveChanges())
            return;
        if (entryIsNew) {
            DBUtil::moveLast(*table);
        } else {
            findRecord(record);
            DBUtil::movePrev(*table);
        }
        loadCurrentRecord();
        updateDialog();
    }

    // The quick-find box closed its list showing `text`.
    void onQuickFind(const std::string& text)
    {
        if (text.empty() || !tableOpen())
            return;
        if (!askSaveChanges())
            return;
        moveToRecord(Keys::withKey(text));
    }

    void onDelete() { deleteRecord(true); }

    // Writes the shown record; true when it was written.
    bool save()
    {
        if (!tableOpen())
            return false;
        Record old_record = record;
        Key oldKey = Keys::key(old_record);
        Record newrec = readRecord();
        Key newKey = Keys::key(newrec);
        if (!Keys::isComplete(newKey)) {
            prompt(4);
            return false;
        }
        dbui::WaitCursor wait;
        if (entryIsNew) {
            if (table->count(newKey) != 0) {
                int answer = prompt(0);
                if (answer == dbui::IDNO) {
                    // Show the stored record of that key instead (LOG_ASSERT always evaluates).
                    LOG_ASSERT(moveToRecord(newrec) == false);
                    return false;
                }
                if (answer != dbui::IDYES)
                    return false;
                // The stored record goes, without its dependants; when it
                // cannot be removed, nothing is written beside it.
                if (!table->remove(newKey, false))
                    return false;
            }
            beforeSave(newrec);
            if (!insert(newrec))
                return false;
            record = newrec;
            notifyChanged();
            fillCombos();
            entryIsNew = false;
        } else if (Keys::equal(newKey, oldKey)) {
            if (confirmUpdate() && prompt(3) != dbui::IDYES)
                return false;
            // Without the row the edit has no current row and fails.
            LOG_ASSERT(findRecord(old_record) == true);
            // A table that cannot be read (another station's lock) cannot be
            // written either: the reason was shown once, and not again.
            if (staleRows)
                return false;
            beforeSave(newrec);
            if (!table->Edit()) {
                DBUtil::reportError(table->lastError().text);
                return false;
            }
            table->setRecord(newrec);
            if (!table->Update()) {
                DBUtil::reportError(table->lastError().text);
                return false;
            }
            record = newrec;
        } else {
            if (table->count(newKey) != 0) {
                if (prompt(1) != dbui::IDYES)
                    return false;
                if (!table->remove(newKey, false))
                    return false;
                notifyChanged();
            }
            if (confirmUpdate() && prompt(3) != dbui::IDYES)
                return false;
            beforeSave(newrec);
            if (!replaceRow(newrec, old_record))
                return false;
            notifyChanged();
            table->rename(oldKey, newKey);
            record = newrec;
            notifyChanged();
            fillCombos();
        }
        if (!updating)
            enableButtons(buttonState());
        afterSave();
        return true;
    }

    // Deletes the shown record with its dependants; true when it was deleted.
    // With moveOn the next row is shown, or the previous one after the last.
    bool deleteRecord(bool moveOn)
    {
        if (!tableOpen())
            return false;
        LOG_ASSERT(isNewEntry() == false);
        LOG_ASSERT(emptyTable() == false);
        if (confirmRemove() && prompt((isChanged() || changed) ? 5 : 6) != dbui::IDYES)
            return false;
        dbui::WaitCursor wait;
        Key key = Keys::key(record);
        beforeRemove();
        Record substitute_rec;
        if (moveOn) {
            staleRows = false;
            bool last = isLastRecord();
            if (last && !isFirstRecord()) {
                LOG_ASSERT(findRecord(record) == true);
                DBUtil::movePrev(*table);
                substitute_rec = table->getRecord();
            } else if (!last) {
                LOG_ASSERT(findRecord(record) == true);
                DBUtil::moveNext(*table);
                substitute_rec = table->getRecord();
            }
            if (staleRows)
                return false;
        }
        if (!table->remove(key, true))
            return false;
        if (!moveOn) {
            // The deleted record stays on screen as a new entry.
            entryIsNew = true;
            return true;
        }
        fillCombos();
        if (emptyTable())
            newEntry(Record());
        else
            LOG_ASSERT(moveToRecord(substitute_rec) == false);
        return true;
    }

protected:
    int prompt(int number)
    {
        static const unsigned flags[7] = {
            dbui::MB_YESNOCANCEL | dbui::MB_ICONQUESTION | dbui::MB_DEFBUTTON3,
            dbui::MB_YESNO | dbui::MB_ICONQUESTION | dbui::MB_DEFBUTTON2,
            dbui::MB_YESNOCANCEL | dbui::MB_ICONQUESTION,
            dbui::MB_YESNO | dbui::MB_ICONQUESTION | dbui::MB_DEFBUTTON3,
            dbui::MB_OK | dbui::MB_ICONINFORMATION,
            dbui::MB_YESNO | dbui::MB_ICONEXCLAMATION | dbui::MB_DEFBUTTON2,
            dbui::MB_YESNO | dbui::MB_ICONEXCLAMATION | dbui::MB_DEFBUTTON2,
        };
        return dbui::userInterface().messageBox(messageText(number), flags[number]);
    }

    bool tableOpen() const { return table && table->IsOpen(); }

    // the record shown, in its stored form
    Record record;
    bool entryIsNew = true;
    // data the controls do not show was changed (kept by the editor's hooks)
    bool changed = false;
    Table* table = nullptr;
    // showRecord is filling the controls on the template's behalf
    bool updating = false;
    // the last search could not read the table again and used the rows read before
    bool staleRows = false;

private:
    bool insert(const Record& rec)
    {
        if (table->AddNew()) {
            table->setRecord(rec);
            if (table->Update())
                return true;
        }
        DBUtil::reportError(table->lastError().text);
        return false;
    }

    // A changed key: the row under the new key is inserted and the old row
    // deleted in one transaction, so that a failure leaves the old row alone
    // instead of two rows.
    bool replaceRow(const Record& newrec, const Record& old_record)
    {
        Transaction transaction(table->connection());
        if (!transaction.isOpen())
            return false;
        bool inserted = insert(newrec);
        if (inserted) {
            table->restart();
            LOG_ASSERT(findRecord(old_record) == true);
            LOG_ASSERT(table->CanUpdate() != 0);
            if (!table->Delete())
                DBUtil::reportError(table->lastError().text);
        }
        if (transaction.commit())
            return true;
        // The row inserted inside the transaction is gone again.
        if (inserted)
            table->restart();
        return false;
    }
};
