#pragma once
// The modal "Session manager": finished sessions listed by year, month,
// participant and instructor; a double click opens one in the stored-session
// editor; Details... opens the person editor; Export... writes the selected
// sessions with their data files to an exchange file and Import... stores
// the sessions of one.
#include "Database/BrowseSessions.h"
#include "Database/PersonTable.h"
#include "Database/SessionTable.h"
#include "ui/ReportCtrl.h"
#include "ui/ResizableDialog.h"

#include <string>
#include <vector>

namespace platform {
class ComboBox;
}

// What the browser opens that lives outside it. The application installs
// the editors; the file dialogs are the system's unless replaced.
class BrowseSessionsHooks {
public:
    virtual ~BrowseSessionsHooks() = default;
    // The stored-session editor on the record, modally, with deleting allowed.
    virtual void openSession(QWidget* parent, const SessionRecord& record);
    // The person editor on the name, modally; the name it showed last
    // (empty when none).
    virtual std::string editPerson(QWidget* parent, const std::string& name);
    // A file to export to or import from; empty when the user cancelled.
    virtual std::string chooseExportFile(QWidget* parent);
    virtual std::string chooseImportFile(QWidget* parent);
};

// Installs the hooks (not owned); null restores the defaults, which open no
// editor (they beep) and show the system's file dialogs.
void setBrowseSessionsHooks(BrowseSessionsHooks* hooks);
BrowseSessionsHooks& browseSessionsHooks();

class BrowseSessionsDialog : public ResizableDialog, private ReportListener {
public:
    explicit BrowseSessionsDialog(QWidget* parent = nullptr);
    ~BrowseSessionsDialog() override;

    void showMatchingSessions();
    void participantDetails();
    void instructorDetails();
    void openSelectedSession();
    void exportSessions();
    void importSessions();
    void fillCombos();
    // Reads the sessions matching the criteria into the list's rows.
    bool applyCriteria();
    void resizeColumns();
    std::string participantText() const;
    std::string instructorText() const;

    CReportCtrl* resultList = nullptr;
    const browseSessions::SessionList& listedSessions() const { return sessions; }
    platform::ComboBox* yearCombo = nullptr;
    platform::ComboBox* monthCombo = nullptr;
    SessionTable sessionTable;
    PersonTable personTable;
    bool listsFilled = false;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onSize(UINT type, int cx, int cy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int reportNotify(CReportCtrl& control, const ReportNotify& notification) override;
    void reportGetItem(CReportCtrl& control, ReportItemNotify& request) override;
    void personDetails(int comboId);
    platform::ComboBox* combo(int id) const;
    std::vector<int> selectedRows() const;

    // The list's rows; a row's whole session is read by its serial when it
    // is opened or exported.
    browseSessions::SessionList sessions;
};

// The one way in: runs the session browser modally over `parent` (may be
// null) and returns when it closes.
void runSessionBrowser(QWidget* parent);
