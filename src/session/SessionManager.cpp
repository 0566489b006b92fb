#include "session/SessionManager.h"

#include "Utillib/LogStream.h"
#include "session/Session.h"
#include "session/SessionServices.h"

#include <algorithm>

SessionManager* sessionManager = nullptr;

SessionManager::SessionManager()
    : displayOptions {
        { {}, 1003, true },
        { {}, 1001, true },
        { {}, 1013, true },
        { {}, 1321, false },
    }
{
    setDisplayOption(CARDIAC_OUTPUT, sessionServices().cardiacOutputShown());
}

SessionManager::~SessionManager()
{
    closeAll();
}

void SessionManager::setDisplayOption(int index, bool on)
{
    LOG_ASSERT(index >= 0 && index < 4);
    if (index < 0 || index >= 4)
        return;
    DisplayOption& option = displayOptions[index];
    option.on = on;
    option.changed.emit(option.id, on);
}

void SessionManager::add(Session* session)
{
    // The first connections of a session are called last when it emits:
    // every other receiver has seen the session before it is deleted.
    session->destroyed.connect(this, &SessionManager::deleteSession);
    session->closing.connect(this, &SessionManager::removeSession);
    sessionList.push_back(session);
    if (tabView)
        tabView->addSession(*session, session->createView());
    if (surveillanceView)
        surveillanceView->addSession(*session, session->getSessionView());
    sessionsChanged.emit();
}

void SessionManager::removeSession(Session* session)
{
    auto found = std::find(sessionList.begin(), sessionList.end(), session);
    if (found == sessionList.end())
        return;
    sessionList.erase(found);
    if (tabView)
        tabView->removeSession(*session, session->getSessionView());
    if (surveillanceView)
        surveillanceView->removeSession(*session, session->getSessionView());
    sessionsChanged.emit();
}

void SessionManager::deleteSession(Session* session)
{
    delete session;
}

bool SessionManager::forEachSession(const std::function<bool(Session*)>& action)
{
    // By index: a session may be closed (and removed) while it is at work,
    // for its boxes run the heartbeat; the list is taken up again after it.
    for (std::size_t k = 0; k < sessionList.size(); ++k) {
        Session* session = sessionList[k];
        if (!action(session))
            return false;
        if (k < sessionList.size() && sessionList[k] != session)
            --k;
    }
    return true;
}

void SessionManager::poll()
{
    forEachSession([](Session* session) {
        session->poll();
        return true;
    });
}

void SessionManager::showSessionView()
{
    if (sessionList.empty()) {
        sessionServices().beep();
        return;
    }
    if (tabView)
        tabView->activateFrame();
    else if (frames)
        frames->openSessionFrame();
}

void SessionManager::showSurveillance()
{
    // The opener activates the frame when it exists, else creates it.
    if (frames)
        frames->openSurveillanceFrame();
}

void SessionManager::setTabView(SessionTabView* view)
{
    tabView = view;
    if (!tabView)
        return;
    for (Session* session : sessionList) {
        SessionContainer* container = session->getSessionView();
        if (!container)
            container = session->createView();
        tabView->addSession(*session, container);
    }
}

void SessionManager::setSurveillanceView(SessionListView* view)
{
    surveillanceView = view;
    if (!surveillanceView)
        return;
    for (Session* session : sessionList)
        surveillanceView->addSession(*session, session->getSessionView());
}

void SessionManager::sessionFrameClosed()
{
    if (!tabView)
        return;
    tabView = nullptr;
    closeAll();
}

void SessionManager::surveillanceFrameClosed()
{
    surveillanceView = nullptr;
}

void SessionManager::showSession(Session* session)
{
    if (!tabView)
        return;
    tabView->selectSession(*session);
    showSessionView();
}

void SessionManager::selectTab(int n)
{
    if (!tabView || n < 1 || n > getCount()) {
        sessionServices().beep();
        return;
    }
    Session* session = sessionList[static_cast<std::size_t>(n - 1)];
    LOG_ASSERT(session != nullptr);
    tabView->selectSession(*session);
    tabView->activateFrame();
}

Session* SessionManager::activeSession() const
{
    return tabView ? tabView->activeSession() : nullptr;
}

bool SessionManager::canCloseAll()
{
    return forEachSession([](Session* session) { return session->askSave(); });
}

int SessionManager::runningCount() const
{
    return static_cast<int>(std::count_if(sessionList.begin(), sessionList.end(), [](Session* s) { return s->isRunning(); }));
}

void SessionManager::startAll()
{
    forEachSession([](Session* session) {
        if (!session->isFinished() && !session->isRunning() && session->getState() == Session::COLLECT)
            session->start();
        return true;
    });
}

void SessionManager::pauseAll()
{
    forEachSession([](Session* session) {
        if (!session->isFinished() && session->isRunning())
            session->pause();
        return true;
    });
}

void SessionManager::closeAll()
{
    // Each close unlinks the session (closing) and deletes it (destroyed),
    // so the loop always takes the current first one.
    int debugCount = 0;
    while (!sessionList.empty()) {
        if (debugCount++ >= 100000) {
            LOG_ASSERT(debugCount < 100000);
            break;
        }
        sessionList.front()->close();
    }
}
