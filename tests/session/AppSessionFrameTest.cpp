// The program with its real session manager and windows on the offscreen
// platform: a session on a demonstration manikin gets its tab in the session
// frame, draws its graphs, and its time axis ends it at its set duration.
#include "DbTestSupport.h"
#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "platformqt/MessageBox.h"
#include "session/MainFrame.h"
#include "session/Session.h"
#include "session/SessionGraphView.h"
#include "session/SessionManager.h"
#include "session/SessionWindows.h"
#include "session/AppCommands.h"
#include "session/Help.h"
#include "session/SurveillanceView.h"
#include "session/TrainingApp.h"
#include "support/ProgramHome.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

using namespace testsupport;

namespace {

class TrainingAppTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        home = new ProgramHome;
        dbtest::prepareOdbc();
        std::string failure;
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        previousHook = platform::setMessageBoxHook([](const platform::MessageBoxRequest&) { return 2; });
        app = new TrainingApp("demo");
        started = app->initInstance();
    }

    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
        platform::setMessageBoxHook(previousHook);
        delete home;
    }

    static inline ProgramHome* home = nullptr;
    static inline TrainingApp* app = nullptr;
    static inline bool started = false;
    static inline platform::MessageBoxHook previousHook;
};

TEST_F(TrainingAppTest, ASessionShowsItsGraphsInTheSessionFrameAndEndsAtItsDuration)
{
    ASSERT_TRUE(started);
    // What the New session form does: a live session on a demonstration
    // manikin, registered, and the session frame shown.
    CalibrateManager& ports = CalibrateManager::get();
    ASSERT_TRUE(ports.getIsCalibrated(250));
    Comm handshake(ports.getSerialPort(250));
    handshake.open(250);
    SessionRecord record;
    record.Manikin = 250;
    record.Duration = 2;
    auto* session = new Session(record, Algorithm());
    sessionManager->add(session);
    sessionManager->showSessionView();
    QCoreApplication::processEvents();
    SessionChildFrame* sessionFrame = nullptr;
    for (QMdiSubWindow* window : app->mainFrame()->mdiClient()->subWindowList())
        if (auto* found = dynamic_cast<SessionChildFrame*>(window))
            sessionFrame = found;
    ASSERT_NE(sessionFrame, nullptr);
    ASSERT_NE(sessionFrame->tabView(), nullptr);
    EXPECT_EQ(sessionFrame->tabView()->tabs()->count(), 1);
    EXPECT_EQ(sessionFrame->tabView()->activeSession(), session);
    auto* page = dynamic_cast<GraphPageHandle*>(session->graphPage());
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->page()->isVisible());
    app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/program-session.png"));

    // F1 in the session window opens the help of the page it shows.
    std::vector<QString> topics;
    Help::setOpener([&](const QUrl& url) {
        topics.push_back(url.fragment());
        return true;
    });
    QTest::keyClick(page->page(), Qt::Key_F1);

    // The heartbeat polls it until its time axis ends it at two seconds.
    session->start();
    for (int tick = 0; tick < 4000 && !session->isFinished(); ++tick) {
        sessionManager->poll();
        if (tick % 20 == 0)
            QCoreApplication::processEvents();
    }
    EXPECT_TRUE(session->isFinished());
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    EXPECT_EQ(session->elapsedSeconds(), 2u);
    QCoreApplication::processEvents();
    QWidget* debriefPage = sessionFrame->tabView()->active()->getActivePage();
    ASSERT_NE(debriefPage, nullptr);
    QTest::keyClick(debriefPage, Qt::Key_F1);
    Help::setOpener(nullptr);
    EXPECT_EQ(topics, (std::vector<QString>{QStringLiteral("10002"), QStringLiteral("10003")}));
    app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/program-session-ended.png"));

    // Closing the only session closes the frame.
    QPointer<SessionChildFrame> watched(sessionFrame);
    session->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull() || !watched->windowExists());
    EXPECT_EQ(sessionManager->getCount(), 0);
}

TEST_F(TrainingAppTest, SurveillanceCommandShowsEveryOpenSessionUntilItsFrameCloses)
{
    ASSERT_TRUE(started);
    CalibrateManager& ports = CalibrateManager::get();
    ASSERT_TRUE(ports.getIsCalibrated(249));
    Comm handshake(ports.getSerialPort(249));
    handshake.open(249);
    SessionRecord record;
    record.Manikin = 249;
    record.Duration = -1;
    auto* session = new Session(record, Algorithm());
    sessionManager->add(session);
    sessionManager->showSessionView();
    QCoreApplication::processEvents();
    QMdiSubWindow* sessionFrame = app->mainFrame()->mdiClient()->activeSubWindow();
    ASSERT_NE(sessionFrame, nullptr);
    ASSERT_TRUE(sessionFrame->isMaximized());

    auto surveillanceFrames = [] {
        std::vector<SurveillanceChildFrame*> frames;
        for (QMdiSubWindow* window : app->mainFrame()->mdiClient()->subWindowList())
            if (auto* found = dynamic_cast<SurveillanceChildFrame*>(window); found && found->windowExists())
                frames.push_back(found);
        return frames;
    };
    app->mainFrame()->onCommand(AppCommand::Surveillance);
    app->mainFrame()->onCommand(AppCommand::Surveillance); // the same frame again
    QCoreApplication::processEvents();
    auto frames = surveillanceFrames();
    ASSERT_EQ(frames.size(), 1u);
    sessionManagerMultiView* view = frames.front()->surveillanceView();
    ASSERT_EQ(view->cells().size(), 1u);
    EXPECT_EQ(view->cells().front().session, session);

    session->start();
    for (int tick = 0; tick < 40; ++tick)
        sessionManager->poll();
    QCoreApplication::processEvents();
    EXPECT_GT(view->cells().front().axisCtrl->model.lastUpdateIndex, 0);
    app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/program-surveillance.png"));

    // Close: the frame goes, the session stays.
    view->closeButton()->click();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(surveillanceFrames().empty());
    EXPECT_EQ(sessionManager->getCount(), 1);
    EXPECT_TRUE(sessionFrame->isMaximized()) << "the session window as it was before";
    EXPECT_TRUE(sessionFrame->isVisible());

    // Opened again and closed from its title bar: the same.
    app->mainFrame()->onCommand(AppCommand::Surveillance);
    QCoreApplication::processEvents();
    ASSERT_EQ(surveillanceFrames().size(), 1u);
    surveillanceFrames().front()->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(surveillanceFrames().empty());
    EXPECT_TRUE(sessionFrame->isMaximized());

    // A session window of its own size stays so.
    sessionFrame->showNormal();
    app->mainFrame()->onCommand(AppCommand::Surveillance);
    QCoreApplication::processEvents();
    ASSERT_EQ(surveillanceFrames().size(), 1u);
    surveillanceFrames().front()->surveillanceView()->closeButton()->click();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_FALSE(sessionFrame->isMaximized());
    session->pause();
    session->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sessionManager->getCount(), 0);
}

} // namespace
