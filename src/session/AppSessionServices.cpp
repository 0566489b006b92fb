#include "session/AppSessionServices.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/FileUtil.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/MessageBox.h"
#include "platformqt/PrintDialog.h"
#include "session/Session.h"
#include "config/Configuration.h"
#include "session/GraphView.h"
#include "session/MainFrame.h"
#include "session/SessionDataFile.h"
#include "session/SessionDebriefView.h"
#include "session/SessionDatabaseView.h"
#include "session/SessionPrint.h"
#include "session/StoredSessions.h"
#include "session/SessionManager.h"
#include "session/SessionWindows.h"
#include "session/TrainingApp.h"

#include <QApplication>
#include <QPrinter>
#include <QGuiApplication>
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
    // The evaluation from the debriefing, the graphs while collecting.
    if (Session* session = manager.activeSession())
        session->print(session->getState() == Session::DEBRIEF);
}

AppSessionServices::AppSessionServices(TrainingApp& application)
    : app(application)
    , sessionFrames(std::make_unique<AppSessionFrames>())
{
    GraphView::compRelaxAsPercent = [] { return Configuration::instance().getModel().compRelaxAsPercent; };
    installStoredSessionEditing();
}

AppSessionServices::~AppSessionServices()
{
    removeStoredSessionEditing();
    GraphView::compRelaxAsPercent = nullptr;
}

SessionFrames& AppSessionServices::frames() { return *sessionFrames; }

std::unique_ptr<SessionContainer> AppSessionServices::createContainer(Session& session)
{
    return std::make_unique<SessionContainerHandle>(session);
}

std::unique_ptr<GraphPageWindow> AppSessionServices::createGraphPage(Session& session)
{
    return std::make_unique<GraphPageHandle>(session);
}

std::unique_ptr<SessionPageWindow> AppSessionServices::createDebriefPage(Session& session)
{
    return std::make_unique<DebriefPageHandle>(session, [] { return debriefOptionsOf(Configuration::instance().getModel()); });
}

std::unique_ptr<ReviewPageWindow> AppSessionServices::createReviewPage(Session& session)
{
    return std::make_unique<ReviewPageHandle>(session);
}

SessionServices::SaveAnswer AppSessionServices::askSaveSession(Session& session, bool allowReview)
{
    SaveSessionDialog box(session.getName(), allowReview, app.mainWindow());
    box.exec();
    return box.review ? SAVE_REVIEW : box.save ? SAVE_YES : box.close ? SAVE_NO : SAVE_CANCEL;
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
    using namespace platform;
    const std::string path = session.getRecord().dataFilePath();
    std::string error;
    if (!path.empty() && sessiondata::save(session, path, &error))
        return true;
    LogStream::instance() << "The session data could not be saved to " << path << ": " << error << LogStream::endl;
    std::wstring text = translate("Could not save the session data.\nPlease make sure that there is free space on your "
                                  "harddisk to write this file:\n%hs\nAlso make sure that the directory exists, and "
                                  "that you have sufficient write access rights.\n");
    text = Utillib::replaceAll(text, L"%hs", GString::to_wstring(path, 0));
    messageBox(app.mainWindow(), text, translate("Problem saving session"), MB_OK);
    return false;
}

bool AppSessionServices::loadDataFile(Session& session)
{
    using namespace platform;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string path = session.getRecord().dataFilePath();
    const sessiondata::LoadResult result
        = sessiondata::load(session, path, session.getRecord().InterfaceFrequency);
    QGuiApplication::restoreOverrideCursor();
    if (result == sessiondata::LoadResult::read)
        return true;
    if (result == sessiondata::LoadResult::missing)
        return false;
    // A damaged file: the events (and for a damaged measurement part, what
    // the measurement reader kept) stay; the user learns that the graph and
    // debriefing are not whole.
    std::wstring text = translate("There was a problem opening the datafile:\n%hs\nThe graph and debriefing for this "
                                  "session is not available.");
    text = Utillib::replaceAll(text, L"%hs", GString::to_wstring(path, 0));
    messageBox(app.mainWindow(), text, translate("Unexpected problem occurred while opening data files"), MB_OK);
    return result == sessiondata::LoadResult::damagedMeasurements;
}

std::vector<ScenarioEvent> AppSessionServices::scenarioEvents(const std::string& scenario)
{
    return loadScenarioEvents(scenario);
}

void AppSessionServices::addPerson(const std::string& name) { addPersonIfNew(name); }

bool AppSessionServices::endSoundOn() { return app.settings().endSound; }

void AppSessionServices::playEndSound()
{
    // The program's own sound on the metronome's output; a plain beep is
    // silent on many desktops.
    if (CMainFrame* frame = app.mainFrame())
        frame->playEndSound();
    else
        QApplication::beep();
}

bool AppSessionServices::cardiacOutputShown() { return app.settings().showCardiacOutput; }

std::string AppSessionServices::localTimeText() { return QTime::currentTime().toString(QStringLiteral("HH:mm")).toStdString(); }

void AppSessionServices::beep() { QApplication::beep(); }

void AppSessionServices::printSession(Session& session, bool evaluation)
{
    QPrinter& defaults = app.printerDefaults();
    // The orientation stays in the application's printer settings.
    defaults.setPageOrientation(evaluation ? QPageLayout::Portrait : QPageLayout::Landscape);
    // A printer of this job's own: a failed job leaves the settings unharmed.
    QPrinter printer;
    if (!platform::runPrintDialog(defaults, printer, QString::fromStdWString(translate("Tavo CPR Evaluation Data")),
                                  app.mainWindow()))
        return;
    sessionprint::PageSources sources(session);
    sessionprint::printSession(printer, session, evaluation,
                               sessionprint::settingsOf(Configuration::instance().getModel()), sources,
                               [this](const std::wstring& text, const std::wstring& caption) {
                                   platform::messageBox(app.mainWindow(), text, caption, platform::MB_OK | platform::MB_ICONEXCLAMATION);
                               });
}

Signal<>* AppSessionServices::metronome() { return &app.metronome; }
