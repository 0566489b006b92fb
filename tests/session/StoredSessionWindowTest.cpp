// The inspection window of a stored session on the offscreen platform: a
// replay read from a data file that a demonstration session wrote, shown
// inside the dialog, following its size; Escape closes the session and the
// dialog.
#include "platformqt/AppIcon.h"
#include "res/Resources.h"
#include "session/StoredSessionWindow.h"
#include "session/SessionDataFile.h"
#include "session/SessionGraphView.h"
#include "session/SessionWindows.h"

#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace sessiontest;

namespace {

class ReplayServices : public FakeSessionServices {
public:
    std::unique_ptr<SessionContainer> createContainer(Session& session) override
    {
        return std::make_unique<SessionContainerHandle>(session);
    }
    std::unique_ptr<GraphPageWindow> createGraphPage(Session& session) override
    {
        return std::make_unique<GraphPageHandle>(session);
    }
    bool loadDataFile(Session& session) override
    {
        return sessiondata::load(session, path, 20.0) == sessiondata::LoadResult::read;
    }
    std::string path;
};

TEST(StoredSessionWindow, ReplayShownInsideFollowsTheSizeAndEscapeClosesBoth)
{
    res::registerResources();
    testsupport::LogCapture log;
    testsupport::TempDir folder;
    ReplayServices services;
    services.path = folder.path() + "/replay.dat";
    SessionRecord rec;
    {
        DemoPorts demo;
        std::unique_ptr<Session> live = DemoPorts::liveSession(250, rec);
        live->start();
        for (int k = 0; k < 400; ++k)
            live->poll();
        live->pause();
        ASSERT_TRUE(sessiondata::save(*live, services.path, nullptr));
        rec = live->getRecord();
    }
    rec.Manikin = -1;
    Session replay(rec, Algorithm());
    ASSERT_TRUE(replay.isReplay());
    ASSERT_GT(replay.getCommSession().manData.size(), 300u);
    // Without its graph page a replay's elapsed time is its recording's length
    // (more than 300 samples at 20 a second).
    EXPECT_GE(replay.elapsedSeconds(), 15u);
    EXPECT_LE(replay.elapsedSeconds(), 20u);

    InspectSessionDialog dialog(replay, false);
    EXPECT_EQ(dialog.windowIcon().cacheKey(), platform::applicationIcon().cacheKey()) << "the program's icon";
    dialog.initDialog();
    QTimer::singleShot(0, &dialog, [&] {
        QWidget* view = dialog.sessionWidget();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->parentWidget(), &dialog);
        EXPECT_EQ(replay.getState(), Session::COLLECT) << "the graph page";
        dialog.resize(900, 600);
        EXPECT_EQ(view->size(), dialog.size());
        QCoreApplication::processEvents();
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        dialog.grab().save(QStringLiteral(ARTEFACT_DIR "/inspect-session.png"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.sessionWidget(), nullptr) << "the session's view went with it";
    EXPECT_EQ(replay.getSessionView(), nullptr);
}

} // namespace
