#pragma once
// The review page of a live session: the session's record as the Session
// table will store it, completed by the instructor (participants, approval,
// notes, "Metronome used"), and saved as done: the row first, then the
// session's data file.
#include "Database/DatabaseDialog.h"
#include "Database/PlannedRow.h"
#include "Database/SessionTable.h"
#include "platformqt/Dialog.h"
#include "session/SessionServices.h"
#include "session/SessionWindows.h"

#include <QPointer>

class Session;
namespace platform {
class ComboBox;
}

class SessionDatabaseView : public platform::Dialog, public DatabaseDialog<SessionTable> {
public:
    explicit SessionDatabaseView(Session& session);
    ~SessionDatabaseView() override;

    // Builds the page from its template inside `parent`.
    bool createPage(QWidget* parent = nullptr);

    // Writes the row as done, then the data file; false, after a box saying
    // the session was not stored, when either could not be written.
    bool saveAsDone();
    void setMetronomeUsed(bool used);

    // The session leaves the page (its window is going).
    void detach() { session = nullptr; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

    void showRecord(const SessionRecord& rec) override;
    SessionRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(int) override {}
    std::wstring messageText(int number) override;
    void notifyChanged() override;
    void fillCombos() override;
    void beforeSave(SessionRecord& rec) override;
    void afterSave() override;
    bool confirmUpdate() override { return false; }
    bool confirmRemove() override { return false; }
    bool keepVanishedRecord(SessionRecord& rec) override;
    std::wstring recordName(const SessionRecord& rec) override;

private:
    platform::ComboBox* combo(int id) const;
    std::string noteText() const;
    bool metronomeTicked() const;
    void showDetails(int buttonId);
    void backToDebriefing();
    void print();
    void abort();
    // The row the session started from, when it is the row of `rec`.
    const PlannedRow* plannedFor(const SessionRecord& rec) const;
    // Texts of a record to be stored as a new row that this station read from
    // the planned row only as their reading and the user left alone: none,
    // all of them known as stored, or one no longer known.
    enum class Unshown { none, known, lost };
    Unshown unshownTexts(SessionRecord& rec) const;
    bool insertKeepingStoredTexts(const SessionRecord& rec);

    Session* session;
    bool done = false;
    bool dataFileWritten = false;
    SessionTable sessionTable;
};

// What a session owns of its review page.
class ReviewPageHandle : public ReviewPageWindow, public SessionPageHandle {
public:
    explicit ReviewPageHandle(Session& session);
    ~ReviewPageHandle() override;
    void destroyWindow() override;
    void tickMetronome() override;
    bool saveAsDone() override;
    QWidget* pageWidget() const override { return window; }
    SessionDatabaseView* page() const { return window; }

private:
    QPointer<SessionDatabaseView> window;
};
