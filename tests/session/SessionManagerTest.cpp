#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sessiontest;

namespace {

class FakeFrames : public SessionFrames {
public:
    void openSessionFrame() override { ++sessionFrames; }
    void openSurveillanceFrame() override { ++surveillanceFrames; }
    int sessionFrames = 0;
    int surveillanceFrames = 0;
};

class Watch : public SignalReceiver {
public:
    void changed() { ++sessionsChanged; }
    // Connected after the manager: called before the session is deleted.
    void destroyed(Session* session) { namesSeen.push_back(session->getName()); }
    int sessionsChanged = 0;
    std::vector<std::wstring> namesSeen;
};

class SessionManagerTest : public ::testing::Test {
protected:
    // A live demonstration session, registered.
    Session* add(int port)
    {
        Session* session = DemoPorts::liveSession(port).release();
        manager.add(session);
        return session;
    }
    static bool portFree(int port) { return CalibrateManager::get().getIsAvailable(port); }

    testsupport::LogCapture log;
    FakeSessionServices services;
    DemoPorts demo;
    SessionManager manager;
};

TEST_F(SessionManagerTest, PollsInCreationOrder)
{
    std::vector<std::string> order;
    UpdateLog a(&order, "249"), b(&order, "247"), c(&order, "248");
    std::pair<int, UpdateLog*> made[] = { { 249, &a }, { 247, &b }, { 248, &c } };
    for (auto [port, updates] : made) {
        Session* session = add(port);
        session->addUpdateReceiver(updates);
        session->start();
    }
    for (int tick = 0; tick < 3; ++tick)
        manager.poll();
    EXPECT_EQ(order, (std::vector<std::string> { "249", "247", "248", "249", "247", "248" }));
}

TEST_F(SessionManagerTest, ClosingUnlinksAndTheEndDeletesAfterEveryOtherReceiver)
{
    Watch watch;
    manager.sessionsChanged.connect(&watch, &Watch::changed);
    Session* first = add(247);
    Session* second = add(248);
    first->destroyed.connect(&watch, &Watch::destroyed);
    EXPECT_EQ(manager.getCount(), 2);
    EXPECT_EQ(watch.sessionsChanged, 2);

    first->close();
    EXPECT_EQ(watch.namesSeen, std::vector<std::wstring> { L"Tavo Man 247" });
    EXPECT_EQ(manager.sessions(), std::vector<Session*> { second });
    EXPECT_EQ(watch.sessionsChanged, 3);
    EXPECT_TRUE(portFree(247)) << "the closed session was deleted";
    EXPECT_FALSE(portFree(248));

    manager.removeSession(first); // a session that is not in the list is ignored
    EXPECT_EQ(watch.sessionsChanged, 3);
}

TEST_F(SessionManagerTest, ShutDownAsksEverySessionUntilOneRefuses)
{
    EXPECT_TRUE(manager.canCloseAll()) << "nothing to ask";
    Session* a = add(247);
    Session* b = add(248);
    Session* c = add(249);
    for (Session* s : { a, b, c }) {
        s->createView();
        s->start();
    }
    services.saveAnswers = { SessionServices::SAVE_NO, SessionServices::SAVE_CANCEL, SessionServices::SAVE_NO };
    EXPECT_FALSE(manager.canCloseAll());
    EXPECT_EQ(services.askedSessions, (std::vector<std::wstring> { L"Tavo Man 247", L"Tavo Man 248" }));
    EXPECT_FALSE(a->isRunning()) << "an answer already given keeps its effect";
    EXPECT_TRUE(b->isRunning());
    EXPECT_TRUE(c->isRunning());
    EXPECT_EQ(manager.getCount(), 3);

    services.saveAnswers = { SessionServices::SAVE_NO, SessionServices::SAVE_NO, SessionServices::SAVE_NO };
    EXPECT_TRUE(manager.canCloseAll());
    EXPECT_EQ(manager.runningCount(), 0);
}

TEST_F(SessionManagerTest, StartAllAndPauseAllChooseTheirSessions)
{
    Session* paused = add(247);
    Session* running = add(248);
    Session* finished = add(249);
    Session* debriefing = add(250);
    for (Session* s : manager.sessions())
        s->createView();
    running->start();
    finished->start();
    finished->endOfTime();
    debriefing->setState(Session::DEBRIEF);

    manager.startAll();
    EXPECT_TRUE(paused->isRunning());
    EXPECT_TRUE(running->isRunning());
    EXPECT_FALSE(finished->isRunning());
    EXPECT_FALSE(debriefing->isRunning());
    EXPECT_EQ(manager.runningCount(), 2);

    debriefing->start();
    finished->start(); // a finished session the user resumed by hand
    manager.pauseAll();
    EXPECT_EQ(manager.runningCount(), 1);
    EXPECT_TRUE(finished->isRunning()) << "pause all leaves finished sessions alone";
}

TEST_F(SessionManagerTest, TabsOfTheSessionFrame)
{
    FakeFrames frames;
    manager.setFrames(&frames);
    manager.showSessionView();
    EXPECT_EQ(services.beeps, 1) << "nothing to show";
    EXPECT_EQ(frames.sessionFrames, 0);
    manager.selectTab(1);
    EXPECT_EQ(services.beeps, 2);

    for (int port = 247; port <= 256; ++port)
        add(port);
    manager.showSessionView();
    EXPECT_EQ(frames.sessionFrames, 1);
    FakeTabView tabs;
    manager.setTabView(&tabs);
    ASSERT_EQ(tabs.tabs, manager.sessions());
    for (std::size_t k = 0; k < tabs.tabs.size(); ++k) {
        EXPECT_NE(tabs.containers[k], nullptr);
        EXPECT_EQ(tabs.tabs[k]->getState(), Session::COLLECT);
    }

    struct Case {
        int n;
        bool beeps;
    } cases[] = { { 3, false }, { 10, false }, { 0, true }, { 11, true } };
    for (const Case& c : cases) {
        int beeps = services.beeps, activations = tabs.activations;
        manager.selectTab(c.n);
        EXPECT_EQ(services.beeps - beeps, c.beeps ? 1 : 0) << c.n;
        EXPECT_EQ(tabs.activations - activations, c.beeps ? 0 : 1) << c.n;
        if (!c.beeps) {
            EXPECT_EQ(manager.activeSession(), manager.sessions()[c.n - 1]);
        }
    }

    manager.sessions().front()->close();
    EXPECT_EQ(tabs.tabs.size(), 9u) << "a closed session leaves its tab";
    Session* added = add(247);
    EXPECT_EQ(tabs.tabs.back(), added) << "a new session gets its tab at once";
    EXPECT_EQ(added->getState(), Session::COLLECT);

    manager.sessionFrameClosed();
    EXPECT_EQ(manager.getCount(), 0);
    for (int port = 247; port <= 256; ++port)
        EXPECT_TRUE(portFree(port)) << port;
}

TEST_F(SessionManagerTest, SurveillanceComesAndGoesWhileSessionsStay)
{
    FakeFrames frames;
    manager.setFrames(&frames);
    Session* session = add(247);
    manager.showSurveillance();
    EXPECT_EQ(frames.surveillanceFrames, 1);
    FakeTabView view;
    manager.setSurveillanceView(&view);
    EXPECT_EQ(view.tabs, std::vector<Session*> { session });
    manager.surveillanceFrameClosed();
    EXPECT_EQ(manager.getCount(), 1);
    Session* second = add(248);
    EXPECT_EQ(view.tabs.size(), 1u) << "a closed view hears of nothing";
    FakeTabView again;
    manager.setSurveillanceView(&again);
    EXPECT_EQ(again.tabs, (std::vector<Session*> { session, second }));
    second->close();
    EXPECT_EQ(again.tabs, std::vector<Session*> { session });
    manager.surveillanceFrameClosed();
}

TEST_F(SessionManagerTest, DestructionClosesEveryRemainingSession)
{
    {
        SessionManager local;
        local.add(DemoPorts::liveSession(255).release());
        local.add(DemoPorts::liveSession(256).release());
    }
    EXPECT_TRUE(portFree(255));
    EXPECT_TRUE(portFree(256));
}

TEST_F(SessionManagerTest, DisplayOptions)
{
    for (bool cardiac : { false, true }) {
        services.cardiacOutput = cardiac;
        SessionManager local;
        int ids[4], on[4];
        for (int k = 0; k < 4; ++k) {
            ids[k] = local.displayOptions[k].id;
            on[k] = local.displayOptions[k].on;
        }
        EXPECT_EQ(std::vector<int>(ids, ids + 4), (std::vector<int> { 1003, 1001, 1013, 1321 }));
        EXPECT_EQ(std::vector<int>(on, on + 4), (std::vector<int> { 1, 1, 1, cardiac }));
    }
}

} // namespace
