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
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"

#include <cstdint>
#include <optional>
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
    // The row of `removed` is gone for good (its deletion was committed): the
    // place to delete what belongs to it outside the database, such as a data file.
    virtual void afterRemove(const Record& /*removed*/) {}
    virtual bool confirmUpdate() { return false; }
    virtual bool confirmRemove() { return true; }
    // The shown record's row is gone (another station deleted it or changed
    // its key) and the record is about to be saved: true to store it as a
    // new row, which the editor may adjust first; false leaves it to
    // followVanishedRecord, and otherwise the save is refused with a message.
    virtual bool keepVanishedRecord(Record& /*rec*/) { return false; }
    // The shown record's row is gone and the user changed none of the fields
    // it stores: true when what the editor keeps beside the row (the data
    // `changed` stands for) finds where the row went by itself, in afterSave;
    // the save then writes no row and goes on to afterSave. False refuses
    // the save as one of a vanished row.
    virtual bool followVanishedRecord() { return false; }
    // The record as the user knows it, for messages.
    virtual std::wstring recordName(const Record& rec) { return keyName(Keys::key(rec)); }

    // Queries.
    bool isNewEntry() const { return entryIsNew; }

    bool emptyTable() { return !tableOpen() || (table->IsBOF() && table->IsEOF()); }

    // Both move the cursor. A stored record is recognised by its row, so
    // that two rows of one name are told apart.
    bool isFirstRecord()
    {
        DBUtil::moveFirst(*table);
        return isShownRow();
    }
    bool isLastRecord()
    {
        DBUtil::moveLast(*table);
        return isShownRow();
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
        takeShownBase();
        enableButtons(buttonState());
    }

    void loadCurrentRecord()
    {
        record = table->getRecord();
        recordId = table->GetRowId();
        entryIsNew = false;
        loadedRow.reset();
        shownBase.reset();
    }

    void newEntry(const Record& rec)
    {
        if (!tableOpen())
            return;
        entryIsNew = true;
        record = rec;
        loadedRow.reset();
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

    // Reads the table again and moves to the row with that id; false when it
    // is not there (any more). Sets `staleRows` as findRecord does.
    bool findRow(std::int64_t id)
    {
        staleRows = !table->restart();
        dbui::WaitCursor wait;
        DBUtil::moveFirst(*table);
        while (id != 0 && table->IsOpen() && !table->IsEOF()) {
            if (table->GetRowId() == id)
                return true;
            DBUtil::moveNext(*table);
        }
        return false;
    }

    // The stored record shown, found again by its row.
    bool findShownRow() { return findRow(recordId); }

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
            takeShownBase();
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
        findShown();
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
            findShown();
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

    // Writes the shown record; true when it was written. Every question is
    // asked before anything is written; what one save writes (a replaced
    // row, the row itself, the old row of a changed key and the rename
    // cascade) takes effect together or not at all, and the stored record
    // is edited by its row, never by its name.
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
        bool followed = false;
        if (entryIsNew) {
            if (!saveNewEntry(newrec, newKey))
                return false;
        } else if (Keys::equal(newKey, oldKey)) {
            if (confirmUpdate() && prompt(3) != dbui::IDYES)
                return false;
            if (!saveShownRow(newrec, followed))
                return false;
        } else if (!saveUnderNewKey(newrec, oldKey, newKey)) {
            return false;
        }
        loadedRow.reset();
        // What the controls hold now is what the next save is measured from.
        if (followed)
            shownBase.reset();
        else
            takeShownBase();
        if (!updating)
            enableButtons(buttonState());
        afterSave();
        return true;
    }

    // Deletes the shown record's row; true when it was deleted. Its
    // dependants go with it unless another row still carries its key. With
    // moveOn the next row is shown, or the previous one after the last.
    bool deleteRecord(bool moveOn)
    {
        if (!tableOpen())
            return false;
        // No emptiness check: a table read again after another station
        // deleted its last row is empty with the record still shown, and the
        // delete below tells so.
        LOG_ASSERT(isNewEntry() == false);
        if (confirmRemove() && prompt((isChanged() || changed) ? 5 : 6) != dbui::IDYES)
            return false;
        dbui::WaitCursor wait;
        Record removed = record;
        Key key = Keys::key(record);
        beforeRemove();
        std::int64_t substituteId = 0;
        if (moveOn) {
            staleRows = false;
            // A row another station deleted meanwhile is not found: the
            // delete below tells so.
            bool last = isLastRecord();
            if (last && !isFirstRecord()) {
                if (findShownRow()) {
                    DBUtil::movePrev(*table);
                    substituteId = table->GetRowId();
                }
            } else if (!last) {
                if (findShownRow()) {
                    DBUtil::moveNext(*table);
                    substituteId = table->GetRowId();
                }
            }
            if (staleRows)
                return false;
        }
        if (!removeShownRow(key))
            return false;
        afterRemove(removed);
        if (!moveOn) {
            // The deleted record stays on screen as a new entry.
            entryIsNew = true;
            recordId = 0;
            return true;
        }
        fillCombos();
        if (emptyTable() || !findRow(substituteId)) {
            newEntry(Record());
        } else {
            loadCurrentRecord();
            updateDialog();
        }
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

    static std::wstring keyName(const std::string& key) { return GString::to_wstring(key); }
    template <class K>
    static std::wstring keyName(const K& key)
    {
        return key.displayText();
    }

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
    // the row of the stored record shown (0 for a new entry)
    std::int64_t recordId = 0;
    // What the user's changes are measured from when that is not `record`:
    // set by an editor that shows a record handed to it over a stored row;
    // gone once `record` is the stored form again (loaded or saved).
    std::optional<Record> loadedRow;
    // The record as the controls held it right after they showed the stored
    // record of row `shownBaseId`: what the user's changes are measured from.
    std::optional<Record> shownBase;
    std::int64_t shownBaseId = 0;

private:
    bool insert(const Record& rec)
    {
        if (table->AddNew()) {
            table->setRecord(rec);
            if (table->Update())
                return true;
        }
        DBUtil::reportWriteError(*table);
        return false;
    }

    // How a write of the shown row ended.
    enum class RowWrite {
        written,
        // the row is gone: another station deleted it or changed its key
        vanished,
        // another station stored a row under the key meanwhile: ask again
        keyTaken,
        // refused or failed, and told so
        failed,
    };

    // What the user's changes are measured from: the record as this station
    // showed it, at the precision its controls show.
    const Record& changeBase() const
    {
        if (loadedRow)
            return *loadedRow;
        if (shownBase && shownBaseId == recordId)
            return *shownBase;
        return record;
    }

    // The controls show `record`: what they hold now becomes the base.
    void takeShownBase()
    {
        if (entryIsNew || loadedRow || !tableOpen()) {
            shownBase.reset();
            return;
        }
        shownBase = readRecord();
        shownBaseId = recordId;
    }

    bool isShownRow() const { return !entryIsNew && table->GetRowId() == recordId; }

    // With the table on the shown record's row as stored now: the members
    // become that row with the columns that `edited` changes from the base.
    Recordset::Merge mergeChanges(const Record& edited)
    {
        table->setRecord(changeBase());
        table->TakeEditBase();
        table->setRecord(edited);
        return table->MergeIntoCurrentRow();
    }

    // Whether `edited` changes any stored field from the base.
    bool changesAnyField(const Record& edited)
    {
        table->setRecord(changeBase());
        table->TakeEditBase();
        table->setRecord(edited);
        return table->ChangedFromEditBase();
    }

    // After a save that took what another station stored into `record`: the
    // controls show it, and a user whose changes went over that station's
    // changes of the same fields is told.
    void afterMerge(const Recordset::Merge& merge)
    {
        if (merge.keptOthers && !updating) {
            updating = true;
            showRecord(record);
            updating = false;
        }
        if (!merge.overwritten.empty())
            dbui::userInterface().messageBox(
                GString::format(translate("Another station changed the same fields of \"%s\" meanwhile.\n"
                                          "The values of this station were stored."),
                                recordName(record)),
                dbui::MB_OK | dbui::MB_ICONINFORMATION);
    }

    std::wstring vanishedText()
    {
        return GString::format(translate("Another station has deleted or renamed \"%s\"; nothing was stored."),
                               recordName(record));
    }

    // Inside `transaction`: the shown row read again as stored now and
    // locked until the transaction ends, with the table on it. False when
    // it is gone (`vanished`), or could not be read (told, and the
    // transaction failed).
    bool lockShownRow(Transaction& transaction, bool& vanished)
    {
        vanished = false;
        const bool found = findShownRow();
        if (staleRows) {
            transaction.fail();
            return false;
        }
        if (found && table->LockCurrentRow())
            return true;
        if (found && !table->RowVanished()) {
            DBUtil::reportError(table->lastError().text);
            transaction.fail();
            return false;
        }
        vanished = true;
        return false;
    }

    // Ends a transaction that wrote nothing of use.
    static RowWrite abandon(Transaction& transaction, RowWrite outcome)
    {
        transaction.fail();
        transaction.commit();
        return outcome;
    }

    // A new entry: the question about a stored row of its key is asked
    // again when another station stores one between the question and the
    // write; the check and the insert hold the write lock together.
    bool saveNewEntry(Record& newrec, const Key& newKey)
    {
        bool prepared = false;
        for (bool again = false;; again = true) {
            // Asked again: the question is about the rows as stored now.
            if (again && !table->restart())
                return false;
            bool replace = false;
            if (table->count(newKey) != 0) {
                int answer = prompt(0);
                if (answer == dbui::IDNO) {
                    // The stored record of that key shows instead; when it
                    // went meanwhile, the entry stays on screen.
                    moveToRecord(newrec);
                    return false;
                }
                if (answer != dbui::IDYES)
                    return false;
                replace = true;
            }
            if (!prepared) {
                beforeSave(newrec);
                prepared = true;
            }
            RowWrite outcome = insertEntry(newrec, replace, newKey);
            if (outcome == RowWrite::failed)
                return false;
            if (outcome == RowWrite::written)
                break;
        }
        record = newrec;
        recordId = table->GetAddedRowId();
        notifyChanged();
        fillCombos();
        entryIsNew = false;
        return true;
    }

    // The stored record of a replaced key goes, without its dependants, and
    // the new one takes its place: both or neither.
    RowWrite insertEntry(const Record& newrec, bool replace, const Key& newKey)
    {
        Transaction transaction(table->connection());
        if (!transaction.isOpen())
            return RowWrite::failed;
        if (!replace) {
            if (!table->restart())
                return abandon(transaction, RowWrite::failed);
            if (table->count(newKey) != 0)
                return abandon(transaction, RowWrite::keyTaken);
        }
        if ((!replace || table->remove(newKey, false)) && !insert(newrec))
            transaction.fail();
        return transaction.commit() ? RowWrite::written : RowWrite::failed;
    }

    // The stored record shown, under its key. What `beforeSave` made of the
    // user's record is written over the row as stored now, changing only
    // the fields the user changed from the base; a field another station
    // changed too is told once the write is committed. A row that went
    // meanwhile is stored again when the editor keeps it, left to the
    // editor when it follows it, and otherwise refused with a message.
    bool saveShownRow(Record& newrec, bool& followed)
    {
        beforeSave(newrec);
        Recordset::Merge merge;
        Record stored;
        RowWrite outcome = writeShownRow(newrec, merge, stored);
        if (outcome == RowWrite::vanished && keepVanishedRecord(newrec)) {
            // Stored again: under its key's row when one came back, else as a new row.
            const bool found = findRecord(newrec);
            if (staleRows)
                return false;
            if (!found) {
                if (!insertAlone(newrec))
                    return false;
                record = newrec;
                recordId = table->GetAddedRowId();
                notifyChanged();
                fillCombos();
                return true;
            }
            recordId = table->GetRowId();
            outcome = writeShownRow(newrec, merge, stored);
        }
        if (outcome == RowWrite::vanished) {
            if (!changesAnyField(newrec) && followVanishedRecord()) {
                followed = true;
                return true;
            }
            dbui::userInterface().messageBox(vanishedText(), dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
            return false;
        }
        if (outcome != RowWrite::written)
            return false;
        record = stored;
        afterMerge(merge);
        return true;
    }

    // Re-reads, merges and writes the shown row in one transaction, with
    // the row locked from the read to the write: no other station's write
    // falls between them. `stored` is the row as written.
    RowWrite writeShownRow(const Record& edited, Recordset::Merge& merge, Record& stored)
    {
        Transaction transaction(table->connection());
        if (!transaction.isOpen())
            return RowWrite::failed;
        bool vanished = false;
        if (!lockShownRow(transaction, vanished))
            return abandon(transaction, vanished ? RowWrite::vanished : RowWrite::failed);
        merge = mergeChanges(edited);
        stored = table->getRecord();
        bool done = table->Edit();
        if (done) {
            table->setRecord(stored);
            done = table->Update();
        }
        if (!done)
            DBUtil::reportWriteError(*table);
        return transaction.commit() ? RowWrite::written : RowWrite::failed;
    }

    // A changed key: every question is asked before anything is written,
    // and again when another station stores a row under the new key
    // between the question and the write.
    bool saveUnderNewKey(Record& newrec, const Key& oldKey, const Key& newKey)
    {
        bool prepared = false;
        for (bool again = false;; again = true) {
            if (again && !table->restart())
                return false;
            bool replace = false;
            if (table->count(newKey) != 0) {
                if (prompt(1) != dbui::IDYES)
                    return false;
                replace = true;
            }
            if (!prepared) {
                if (confirmUpdate() && prompt(3) != dbui::IDYES)
                    return false;
                beforeSave(newrec);
                prepared = true;
            }
            Record written = newrec;
            Recordset::Merge merge;
            switch (replaceRow(written, replace, oldKey, newKey, merge)) {
            case RowWrite::written:
                record = written;
                recordId = table->GetAddedRowId();
                afterMerge(merge);
                notifyChanged();
                fillCombos();
                return true;
            case RowWrite::keyTaken:
                continue;
            default:
                return false;
            }
        }
    }

    // A row of its own, in a transaction of its own.
    bool insertAlone(const Record& rec)
    {
        Transaction transaction(table->connection());
        if (!transaction.isOpen())
            return false;
        if (!insert(rec))
            transaction.fail();
        return transaction.commit();
    }

    // Before Next and Previous: the stored record by its row, a new entry by its key.
    void findShown()
    {
        if (entryIsNew)
            findRecord(record);
        else
            findShownRow();
    }

    // A changed key, in one transaction with the shown row locked: the rows
    // under the new key go when the user chose to replace them, the row
    // under the new key is written, the shown row is deleted and the key
    // change is carried into the tables that refer to it. A failure
    // anywhere leaves everything as it was. The row under the new key is
    // the shown row as stored now with the user's changes (`merge` tells
    // what that met), so that what another station changed meanwhile in
    // the other columns goes along.
    RowWrite replaceRow(Record& newrec, bool replace, const Key& oldKey, const Key& newKey, Recordset::Merge& merge)
    {
        Transaction transaction(table->connection());
        if (!transaction.isOpen())
            return RowWrite::failed;
        bool vanished = false;
        if (!lockShownRow(transaction, vanished)) {
            if (vanished)
                transaction.keepNotice(vanishedText());
            return abandon(transaction, RowWrite::failed);
        }
        merge = mergeChanges(newrec);
        newrec = table->getRecord();
        if (!replace && table->count(newKey) != 0)
            return abandon(transaction, RowWrite::keyTaken);
        bool done = !replace || table->remove(newKey, false);
        if (done && replace)
            notifyChanged();
        done = done && insert(newrec);
        // The shown row is locked: only a table that cannot be read again
        // (told already) loses it here.
        done = done && findShownRow();
        if (done) {
            LOG_ASSERT(table->CanUpdate() != 0);
            done = table->Delete();
            if (!done)
                DBUtil::reportError(table->lastError().text);
        }
        if (done)
            notifyChanged();
        if (done && !table->rename(oldKey, newKey))
            done = false;
        if (!done)
            transaction.fail();
        return transaction.commit() ? RowWrite::written : RowWrite::failed;
    }

    // Deletes the shown row, and its dependants when no other row keeps its
    // key, in one transaction with the row locked.
    bool removeShownRow(const Key& key)
    {
        Transaction transaction(table->connection());
        if (!transaction.isOpen())
            return false;
        bool vanished = false;
        // A table that could not be read again has reported why already.
        bool done = lockShownRow(transaction, vanished) && table->keyUsable(key);
        if (vanished)
            transaction.keepNotice(vanishedText());
        if (done && !table->Delete()) {
            DBUtil::reportError(table->lastError().text);
            done = false;
        }
        if (done && table->count(key) == 0)
            done = table->remove(key, true);
        if (!done)
            transaction.fail();
        return transaction.commit();
    }
};
