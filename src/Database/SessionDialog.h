#pragma once
// The stored-session editor: one stored or planned session of the Session
// table, its participants, settings, approval and notes; a finished session
// is deleted with its data file, and its recording is shown again as graphs
// or as its debriefing.
#include "Database/AlgorithmTable.h"
#include "Database/PersonTable.h"
#include "Database/RecordEditorDialog.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionTable.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class ComboBox;
}

// A stored session replayed from its data file; the editor keeps the last
// one until the next replay or its own end.
class SessionReplay {
public:
    virtual ~SessionReplay() = default;
};

// The training sessions show a stored session: they build the replay of a
// record (its Manikin -1) against an algorithm, and run the inspection window
// on it modally, on the graph page (0) or the debriefing page (1).
class StoredSessionViewer {
public:
    virtual ~StoredSessionViewer() = default;
    virtual std::unique_ptr<SessionReplay> createReplay(const SessionRecord& record, const Algorithm& algorithm) = 0;
    virtual void inspect(SessionReplay& replay, int page) = 0;
};

// The record editors that the "Details..." buttons open modally, deleting
// not allowed; each returns the name it showed last (empty for none). A
// button whose editor is not registered is disabled.
struct DetailsEditors {
    std::function<std::string(const std::string& name, bool newIsInstructor)> person;
    std::function<std::string(const std::string& name)> scenario;
    std::function<std::string(const std::string& name)> algorithm;
};

// What a session editor's changes are measured from when it shows a record
// handed to it over a stored row: the row as found, with the course that the
// record carries, since neither editor moves a session to another course.
SessionRecord sessionChangeBase(SessionRecord row, const SessionRecord& handedIn);

// A session as its users know it, for messages: its participants, date
// and start time (its serial means nothing to them).
std::wstring sessionName(const SessionRecord& rec);

class SessionDialog : public RecordEditorDialog<SessionTable> {
public:
    enum { replayGraph = 0, replayDebriefing = 1 };

    // Installed by the application (not owned); none makes Graph... and Debriefing... do nothing.
    static void setViewer(StoredSessionViewer* viewer);
    static void setDetailsEditors(DetailsEditors editors);
    // The editors registered, which the review page of a live session uses too.
    static const DetailsEditors& getDetailsEditors();

    // `read`: the stored row as the caller last read it, when `rec` is the
    // caller's copy of a stored row (a schedule's row, say); the user's
    // changes are measured from it, so that what another station stored
    // since stays. Without it they are measured from the row as found.
    SessionDialog(const SessionRecord& rec, bool allowDelete, QWidget* parent = nullptr,
                  const SessionRecord* read = nullptr);
    ~SessionDialog() override;

    // Runs the editor on `rec` modally and returns the record as it left it
    // (`rec` when the editor could not be made, which is logged).
    static SessionRecord edit(const SessionRecord& rec, bool allowDelete, QWidget* parent,
                              const SessionRecord* read = nullptr);

    // The record as last shown, loaded or saved.
    const SessionRecord& getRecord() const { return record; }
    // Whether the shown session was deleted (the dialog then closed).
    bool wasDeleted() const { return deleted; }

    bool isSinglePerson();
    // Steps 1 to 4 of a replay: the previous one deleted, the new one built
    // from the shown values.
    void createReplay();
    void showReplay(int page);
    SessionReplay* currentReplay() const { return replaySession.get(); }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    int helpContext() const override { return 10012; }

    void showRecord(const SessionRecord& rec) override;
    SessionRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(int bits) override;
    std::wstring messageText(int number) override;
    void notifyChanged() override;
    void fillCombos() override;
    void afterRemove(const SessionRecord& removed) override;
    bool confirmUpdate() override { return false; }
    bool confirmRemove() override { return true; }
    std::wstring recordName(const SessionRecord& rec) override { return sessionName(rec); }

private:
    platform::ComboBox* combo(int id) const;
    int approvedIndex() const;
    std::string noteText() const;
    void onDelete();
    void onClose();
    void applyScenario();
    void checkScenarioMatch();
    void mirrorParticipant(int editedId);
    void showDetails(int buttonId);
    void updateDetailsButtons();

    SessionTable sessionTable{database};
    PersonTable personTable{database};
    ScenarioTable scenarioTable{database};
    AlgorithmTable algorithmTable{database};
    SessionRecord handedIn;
    std::optional<SessionRecord> callerRead;
    std::unique_ptr<SessionReplay> replaySession;
    bool allowDelete;
    bool deleted = false;
};
