#include "Database/Transaction.h"

#include "Database/DatabaseUtil.h"
#include "Database/DbUi.h"
#include "Database/TablePool.h"
#include "Utillib/LogStream.h"

Transaction* Transaction::current = nullptr;

Transaction::Transaction(Database& database_)
    : db(database_)
{
    // A second transaction inside the first would commit or roll back the
    // outer one's statements with its own.
    LOG_ASSERT(current == nullptr);
    if (current != nullptr || !db.beginTransaction()) {
        failure = true;
        DBUtil::reportError(current != nullptr ? std::string("A transaction is open already.") : db.lastError().text);
        return;
    }
    open = true;
    current = this;
}

Transaction::~Transaction() { rollback(); }

void Transaction::keepError(const std::string& text)
{
    failure = true;
    if (!hasKeptError) {
        hasKeptError = true;
        keptError = text;
    }
}

void Transaction::keepNotice(const std::wstring& text)
{
    failure = true;
    if (keptNotice.empty())
        keptNotice = text;
}

bool Transaction::commit()
{
    if (!open)
        return false;
    if (failure) {
        rollback();
        return false;
    }
    if (!db.commit()) {
        // The connection is back in autocommit mode; a failed commit has
        // written nothing, so the rollback only makes that certain.
        keepError(db.lastError().text);
        db.rollback();
        end(false);
        return false;
    }
    end(true);
    return true;
}

void Transaction::rollback()
{
    if (!open)
        return;
    db.rollback();
    end(false);
}

void Transaction::end(bool committed)
{
    open = false;
    if (current == this)
        current = nullptr;
    // Tables read inside hold rows that were never committed.
    if (!committed)
        tablePool.refreshAll();
    if (!committed && hasKeptError) {
        hasKeptError = false;
        DBUtil::reportError(keptError);
    }
    if (!committed && !keptNotice.empty()) {
        std::wstring notice;
        notice.swap(keptNotice);
        dbui::userInterface().messageBox(notice, dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    }
}
