// The session windows on the offscreen platform: a live demonstration
// session in its tab with the graph page, the save question, and the graph
// painting on a plain image.
#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "session/GraphPainter.h"
#include "session/GraphView.h"
#include "session/SessionDataFile.h"
#include "session/SessionGraphView.h"
#include "session/SessionWindows.h"
#include "res/Bitmaps.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace sessiontest;

namespace {

// The fake services with the real windows.
class WindowServices : public FakeSessionServices {
public:
    std::unique_ptr<SessionContainer> createContainer(Session& session) override
    {
        log.push_back("container");
        return std::make_unique<SessionContainerHandle>(session);
    }
    std::unique_ptr<GraphPageWindow> createGraphPage(Session& session) override
    {
        return std::make_unique<GraphPageHandle>(session);
    }
};

void saveShot(QWidget& window, const char* name)
{
    QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
    window.grab().save(QStringLiteral(ARTEFACT_DIR "/") + QLatin1String(name) + QStringLiteral(".png"));
}

// Pixels of the colour in the image.
int countColour(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

class SessionWindowsTest : public ::testing::Test {
protected:
    SessionWindowsTest()
    {
        res::registerBitmaps();
        manager = std::make_unique<SessionManager>();
        sessionManager = manager.get();
    }
    ~SessionWindowsTest() override
    {
        manager.reset();
        sessionManager = nullptr;
    }

    void tick(Session& session, int ticks)
    {
        for (int k = 0; k < ticks; ++k)
            session.poll();
        QCoreApplication::processEvents();
    }

    testsupport::LogCapture log;
    WindowServices services;
    DemoPorts demo;
    std::unique_ptr<SessionManager> manager;
};

TEST_F(SessionWindowsTest, LiveDemoSessionDrawsPagesRegistersEventsAndEndsAtItsDuration)
{
    auto* tabs = new SessionManagerTabView(nullptr);
    int lastTabGone = 0;
    tabs->onLastTabRemoved = [&] { ++lastTabGone; };
    tabs->resize(1000, 640);
    tabs->show();

    SessionRecord record;
    record.Duration = 20;
    record.PersonVentilation = "Ann";
    record.PersonChestCompression = "Bob";
    record.Scenario = "Drowning";
    services.scenarios["Drowning"] = { { "Shock", "Defibrillation", 5 }, { "Airway", "Airway opened", 12 } };
    Session* session = DemoPorts::liveSession(250, record).release();
    manager->add(session); // the tab view makes its container, the session its graph page
    ASSERT_EQ(tabs->tabs()->count(), 1);
    EXPECT_EQ(tabs->tabs()->tabText(0), QStringLiteral("Tavo Man 250"));
    auto* handle = dynamic_cast<GraphPageHandle*>(session->graphPage());
    ASSERT_NE(handle, nullptr);
    SessionGraphView* page = handle->page();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->axis()->model.viewIndexes, 400);
    EXPECT_FALSE(page->debriefingButton()->isEnabled()) << "nothing recorded yet";

    session->start();
    EXPECT_TRUE(page->pauseButton()->isEnabled());
    EXPECT_FALSE(page->startButton()->isEnabled());
    EXPECT_TRUE(page->eventBar(1)->isVisible());
    tick(*session, 40);
    saveShot(*tabs, "session-start");
    const QColor compressionColour = colourOf(0x3232C8);
    EXPECT_GT(countColour(page->compressionView()->picture(), compressionColour), 100) << "the curve is drawn";

    // An event from the bar below the compression graph lands in its document.
    QList<QAction*> actions = page->eventBar(1)->actions();
    ASSERT_FALSE(actions.isEmpty());
    actions.front()->trigger();
    ASSERT_EQ(session->compressionDoc.getEvents().size(), 1u);
    EXPECT_EQ(session->compressionDoc.getEvents()[0].sampleIndex,
              static_cast<int>(session->getCommSession().manData.size()) - 1);
    EXPECT_TRUE(session->ventilationDoc.getEvents().empty());

    tick(*session, 180);
    // 220 samples: 10.975 seconds.
    EXPECT_EQ(page->timeBox()->title(), QStringLiteral("0:10 / 0:20"));
    EXPECT_EQ(page->progress()->value(), 10);
    saveShot(*tabs, "session-mid");

    // A 10-second span while running keeps the newest sample in view and pages.
    page->zoomCombo()->setCurrentIndex(1);
    page->onZoomSelected(1);
    EXPECT_EQ(page->axis()->model.viewIndexes, 200);
    tick(*session, 60);
    const AxisModel& axis = page->axis()->model;
    EXPECT_GT(axis.leftIndex, 0);
    EXPECT_LE(axis.lastUpdateIndex, axis.leftIndex + axis.viewIndexes);
    saveShot(*tabs, "session-paged");

    // The set duration ends the session through the axis.
    tick(*session, 200);
    EXPECT_TRUE(session->isFinished());
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    EXPECT_EQ(page->abortButton()->text(), QStringLiteral("Close"));
    EXPECT_TRUE(page->scrollBar()->isVisibleTo(page));
    EXPECT_EQ(axis.leftIndex, 0);
    EXPECT_TRUE(page->debriefingButton()->isEnabled());
    QCoreApplication::processEvents();
    saveShot(*tabs, "session-ended");

    // The registered event travels into the data file.
    const std::string text = sessiondata::text(*session);
    const std::string eventLine = std::to_string(session->compressionDoc.getEvents()[0].sampleIndex) + " "
        + std::to_string(session->compressionDoc.getEvents()[0].imageIndex) + "\r\n";
    EXPECT_EQ(text.rfind("1\r\n" + eventLine, 0), 0u) << text.substr(0, 40);

    session->close(); // the manager deletes it; the last tab goes
    QCoreApplication::processEvents();
    EXPECT_EQ(tabs->tabs()->count(), 0);
    EXPECT_EQ(lastTabGone, 1);
    delete tabs;
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

TEST_F(SessionWindowsTest, RemovingTheActiveTabSelectsItsNeighbour)
{
    auto* tabs = new SessionManagerTabView(nullptr);
    tabs->resize(800, 500);
    tabs->show();
    std::vector<Session*> sessions;
    for (int port : { 250, 251, 252 }) {
        sessions.push_back(DemoPorts::liveSession(port).release());
        manager->add(sessions.back());
    }
    ASSERT_EQ(tabs->tabs()->count(), 3);
    tabs->selectSession(*sessions[0]);
    sessions[0]->close(); // the first: the one taking its place
    EXPECT_EQ(tabs->activeSession(), sessions[1]);
    tabs->selectSession(*sessions[2]);
    sessions[2]->close(); // the last: the one before it
    EXPECT_EQ(tabs->activeSession(), sessions[1]);
    EXPECT_EQ(tabs->tabs()->currentIndex(), 0);
    delete tabs; // closes the rest
    QCoreApplication::processEvents();
    EXPECT_EQ(manager->getCount(), 0);
}

TEST_F(SessionWindowsTest, AReplayDeletedWithItsPagesLetsThemGoBeforeItsChannels)
{
    // A replay is deleted by whoever made it, pages and all, without close.
    services.replayMeasurements = 300;
    SessionRecord record;
    record.Manikin = -1;
    auto replay = std::make_unique<Session>(record, Algorithm());
    replay->createView();
    replay->setState(Session::DEBRIEF);
    replay->setState(Session::COLLECT);
    QCoreApplication::processEvents();
    ASSERT_EQ(replay->compressionDoc.getViews().size(), 1u) << "the graph page shows the channel";
    replay.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(log.hasAssertion("viewList.size() == 0")) << log.text();
}

TEST_F(SessionWindowsTest, SaveQuestionAnswers)
{
    struct Case {
        const char* button;
        bool review, save, close;
    };
    const Case cases[] = {
        { "&Yes", false, true, true },
        { "&No", false, false, true },
        { "&Review", true, false, false },
        { "&Cancel", false, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        SaveSessionDialog box(L"Tavo Man 3", true, nullptr);
        for (QPushButton* button : box.findChildren<QPushButton*>())
            if (button->text() == QLatin1String(c.button))
                button->click();
        EXPECT_EQ(box.review, c.review);
        EXPECT_EQ(box.save, c.save);
        EXPECT_EQ(box.close, c.close);
    }
    SaveSessionDialog collecting(L"Tavo Man 3", false, nullptr);
    EXPECT_FALSE(collecting.reviewButton()->isEnabled());
    collecting.show();
    QTest::keyClick(&collecting, Qt::Key_Escape);
    EXPECT_FALSE(collecting.save || collecting.close || collecting.review);
}

// The painter alone on an image: the printout and the surveillance view draw this way.
TEST_F(SessionWindowsTest, PainterGeometryLabelsAndEventsOnAnyImage)
{
    SessionRecord record;
    record.Manikin = -1;
    Session replay(record, Algorithm());
    auto& data = replay.getCommSession().manData;
    for (int i = 0; i < 400; ++i) {
        Measurement m;
        m.depth = 50;
        m.volume = 0.5;
        data.push_back(m);
    }
    AxisModel axis(20.0);
    axis.setRange(0, 400);
    axis.lastUpdateIndex = 399;
    GraphPainter graph(replay.compressionDoc, axis);
    graph.plot = QRect(0, 0, 400, 140);
    EXPECT_EQ(graph.indexToX(200), 200);
    EXPECT_EQ(graph.xToIndex(200), 200);
    EXPECT_EQ(graph.valueToY(35.0), 70); // downward: 0 at the top
    GraphPainter vent(replay.ventilationDoc, axis);
    vent.plot = graph.plot;
    EXPECT_EQ(vent.valueToY(0.0), 139);
    EXPECT_DOUBLE_EQ(vent.yToValue(70), 0.5);

    axis.setRange(0, axis.indexesForMs(50000) - 1);
    EXPECT_EQ(graph.penWidth(), 2);
    axis.setRange(0, axis.indexesForMs(51000));
    EXPECT_EQ(graph.penWidth(), 1);
    axis.setRange(0, 400);

    // Labels only when the graph is at least twice their height.
    QImage image(400, 140, QImage::Format_RGB32);
    for (int height : { 140, 2 * graph.labelHeight() - 1 }) {
        image.fill(Qt::white);
        graph.plot = QRect(0, 0, 400, height);
        QPainter painter(&image);
        graph.drawLabels(painter);
        painter.end();
        EXPECT_EQ(countColour(image, Qt::black) > 0, height == 140) << height;
    }
    graph.plot = QRect(0, 0, 400, 140);

    // An event outside the recorded samples gets no connector; one inside does.
    for (int index : { 399, 1000 }) {
        image.fill(Qt::white);
        QPainter painter(&image);
        graph.drawEvent(painter, GraphEvent { 1, L"", L"", 0, index });
        painter.end();
        const int x = graph.indexToX(index);
        int dark = 0;
        for (int y = 101; y < 120; ++y) // between the curve point and the box
            dark += x < image.width() && image.pixelColor(x, y) == Qt::black;
        EXPECT_EQ(dark > 0, index == 399) << index;
    }
}

} // namespace
