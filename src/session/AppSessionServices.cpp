#include "session/AppSessionServices.h"

#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/MessageBox.h"
#include "session/Session.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"

#include <QApplication>
#include <QTime>

void SessionManagerLink::poll() { manager.poll(); }
bool SessionManagerLink::canCloseAll() { return manager.canCloseAll(); }
int SessionManagerLink::getCount() { return manager.getCount(); }
int SessionManagerLink::runningCount() { return manager.runningCount(); }
void SessionManagerLink::startAll() { manager.startAll(); }
void SessionManagerLink::pauseAll() { manager.pauseAll(); }
void SessionManagerLink::showSessionView() { manager.showSessionView(); }
void SessionManagerLink::showSurveillance() { manager.showSurveillance(); }
void SessionManagerLink::selectTab(int n) { manager.selectTab(n); }

bool SessionManagerLink::activeSessionPrintable()
{
    const Session* session = manager.activeSession();
    return session && (session->getState() == Session::COLLECT || session->getState() == Session::DEBRIEF)
        && !session->isRunning();
}

void SessionManagerLink::printActiveSession()
{
    LogStream::instance() << "Print: printing a session is not part of this program yet" << LogStream::endl;
}

// The session windows are not part of this program yet: no session is made
// without them (the New session form does not exist either).
std::unique_ptr<SessionContainer> AppSessionServices::createContainer(Session&) { return nullptr; }
std::unique_ptr<GraphPageWindow> AppSessionServices::createGraphPage(Session&) { return nullptr; }
std::unique_ptr<SessionPageWindow> AppSessionServices::createDebriefPage(Session&) { return nullptr; }
std::unique_ptr<ReviewPageWindow> AppSessionServices::createReviewPage(Session&) { return nullptr; }

SessionServices::SaveAnswer AppSessionServices::askSaveSession(Session& session, bool)
{
    using namespace platform;
    const int answer = messageBox(app.mainWindow(), translate("Save session?"), session.getName(),
                                  MB_YESNOCANCEL | MB_ICONQUESTION);
    return answer == IDYES ? SAVE_YES : answer == IDNO ? SAVE_NO : SAVE_CANCEL;
}

bool AppSessionServices::askRetryLostManikin(Session& session)
{
    using namespace platform;
    const int answer = messageBox(
        app.mainWindow(),
        translate("Error communicating with the Tavo Man.\nPress 'Cancel' to pause session or 'Retry' to retry"),
        session.getName(), MB_RETRYCANCEL | MB_ICONSTOP);
    return answer == IDRETRY;
}

void AppSessionServices::showReplayReadError(Session&)
{
    using namespace platform;
    messageBox(app.mainWindow(), translate("Unable to read the session from file."), translate("Database file error"),
               MB_OK);
}

void AppSessionServices::showSession(Session& session)
{
    if (sessionManager)
        sessionManager->showSession(&session);
}

bool AppSessionServices::saveDataFile(Session& session)
{
    LogStream::instance() << "Session " << session.getRecord().Serialidentifier
                          << ": writing the data file is not part of this program yet" << LogStream::endl;
    return false;
}

bool AppSessionServices::loadDataFile(Session& session)
{
    LogStream::instance() << "Session " << session.getRecord().Serialidentifier
                          << ": reading the data file is not part of this program yet" << LogStream::endl;
    return false;
}

std::vector<ScenarioEvent> AppSessionServices::scenarioEvents(const std::string& scenario)
{
    return loadScenarioEvents(scenario);
}

void AppSessionServices::addPerson(const std::string& name) { addPersonIfNew(name); }

bool AppSessionServices::endSoundOn() { return app.settings().endSound; }

void AppSessionServices::playEndSound() { QApplication::beep(); }

bool AppSessionServices::cardiacOutputShown() { return app.settings().showCardiacOutput; }

std::string AppSessionServices::localTimeText() { return QTime::currentTime().toString(QStringLiteral("HH:mm")).toStdString(); }

void AppSessionServices::beep() { QApplication::beep(); }

Signal<>* AppSessionServices::metronome() { return &app.metronome; }
