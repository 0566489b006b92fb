#include "session/StoredSessions.h"

#include "Database/AlgorithmDialog.h"
#include "Database/BrowseSessionsDialog.h"
#include "Database/PersonDialog.h"
#include "Database/ScenarioDialog.h"
#include "Database/SessionDialog.h"
#include "Utillib/LogStream.h"
#include "res/resource.h"
#include "session/StoredSessionWindow.h"
#include "session/Session.h"

#include <QApplication>

#include <memory>

namespace {

// A replayed session, kept by the editor until its next replay.
class ReplayedSession : public SessionReplay {
public:
    ReplayedSession(const SessionRecord& record, const Algorithm& algorithm)
        : session(record, algorithm)
    {
    }
    Session session;
};

class Viewer : public StoredSessionViewer {
public:
    std::unique_ptr<SessionReplay> createReplay(const SessionRecord& record, const Algorithm& algorithm) override
    {
        return std::make_unique<ReplayedSession>(record, algorithm);
    }
    void inspect(SessionReplay& replay, int page) override
    {
        InspectSessionDialog dialog(static_cast<ReplayedSession&>(replay).session, page != 0);
        dialog.initDialog();
        dialog.exec();
    }
};

class BrowserHooks : public BrowseSessionsHooks {
public:
    void openSession(QWidget* parent, const SessionRecord& record) override
    {
        // The row as the list read it: what another station stored since
        // (or a value the list shows cut) is no change of this user's.
        SessionDialog::edit(record, true, parent, &record);
    }
    std::string editPerson(QWidget* parent, const std::string& name) override
    {
        return showPersonDetails(parent, name, false);
    }
};

Viewer viewer;
BrowserHooks browserHooks;
// The editors open over the window that asked for them.
QWidget* editorOwner()
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : QApplication::activeWindow();
}

} // namespace

void installStoredSessionEditing()
{
    SessionDialog::setViewer(&viewer);
    DetailsEditors editors;
    editors.person = [](const std::string& name, bool instructor) {
        return showPersonDetails(editorOwner(), name, instructor);
    };
    editors.scenario = [](const std::string& name) {
        ScenarioRecord scenario;
        scenario.Name = name;
        return showScenarioDetails(editorOwner(), scenario);
    };
    editors.algorithm = [](const std::string& name) { return showAlgorithmDetails(editorOwner(), name); };
    SessionDialog::setDetailsEditors(editors);
    setBrowseSessionsHooks(&browserHooks);
}

void removeStoredSessionEditing()
{
    setBrowseSessionsHooks(nullptr);
    SessionDialog::setDetailsEditors({});
    SessionDialog::setViewer(nullptr);
}
