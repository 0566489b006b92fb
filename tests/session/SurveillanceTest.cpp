// The surveillance window on the offscreen platform with live demonstration
// sessions: the grid's shape for 1, 4, 9 and 16 sessions, live drawing in
// every cell, showing and hiding cells, closing a session, the zoom, the
// range mode of a cell's axis; and the grid's arithmetic on its own.
#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "comm/Measurement.h"
#include "res/Bitmaps.h"
#include "session/AxisCtrl.h"
#include "session/GraphView.h"
#include "session/SessionManager.h"
#include "session/SurveillanceGrid.h"
#include "session/SurveillanceView.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace sessiontest;

namespace {

TEST(SurveillanceGrid, ShapeFollowsTheWindowsProportions)
{
    struct Case {
        int shown, width, height, columns, rows;
    };
    const Case cases[] = {
        { 0, 800, 400, 0, 0 },    // nothing to place
        { 3, 0, 400, 0, 0 },      // no area
        { 1, 800, 400, 1, 1 },    // one cell fills the grid
        { 1, 300, 900, 1, 1 },
        { 4, 800, 400, 2, 2 },    // 4^(2/3.5) = 2.21
        { 3, 500, 500, 2, 2 },    // 3^0.4 = 1.55: one place stays empty
        { 9, 800, 400, 3, 3 },    // 9^0.571 = 3.51 gives 4, one column too many
        { 9, 500, 500, 2, 5 },    // 9^0.4 = 2.41
        { 16, 800, 400, 4, 4 },   // 16^0.571 = 4.87 gives 5, one column too many
        { 16, 500, 500, 3, 6 },   // 16^0.4 = 3.03
        { 32, 800, 400, 7, 5 },   // 32^0.571 = 7.24
        { 5, 100, 5000, 1, 5 },   // a tall window: one column
    };
    for (const Case& c : cases) {
        const GridShape shape = gridShape(c.shown, c.width, c.height);
        EXPECT_EQ(shape.columns, c.columns) << c.shown << " cells in " << c.width << " by " << c.height;
        EXPECT_EQ(shape.rows, c.rows) << c.shown << " cells in " << c.width << " by " << c.height;
    }
}

TEST(SurveillanceGrid, CellPartsShareTheHeight)
{
    // Caption 14, axis 16: the graphs get (100 - 16 - 14) / 2 = 35 each.
    CellParts parts = cellParts(10, 20, 200, 100, 14, 16);
    EXPECT_EQ(parts.caption.y, 20);
    EXPECT_EQ(parts.caption.height, 14);
    EXPECT_EQ(parts.ventilation.y, 34);
    EXPECT_EQ(parts.ventilation.height, 35);
    EXPECT_EQ(parts.axis.y, 69);
    EXPECT_EQ(parts.axis.height, 16);
    EXPECT_EQ(parts.compression.y, 85);
    EXPECT_EQ(parts.compression.height, 35);
    EXPECT_EQ(parts.compression.width, 200);

    // Too low for graphs: the axis is placed, the graphs are not.
    parts = cellParts(0, 0, 200, 31, 14, 16);
    EXPECT_TRUE(parts.axis.placed);
    EXPECT_FALSE(parts.ventilation.placed);
    EXPECT_FALSE(parts.compression.placed);
    // No width: only the caption.
    parts = cellParts(0, 0, 0, 100, 14, 16);
    EXPECT_TRUE(parts.caption.placed);
    EXPECT_FALSE(parts.axis.placed);
}

class SurveillanceTest : public ::testing::Test {
protected:
    SurveillanceTest()
    {
        res::registerBitmaps();
        manager = std::make_unique<SessionManager>();
        sessionManager = manager.get();
    }
    ~SurveillanceTest() override
    {
        view.reset();
        manager.reset();
        sessionManager = nullptr;
    }

    Session* addSession(int port, const char* ventilation = "Ann", const char* compression = "Bob")
    {
        SessionRecord record;
        record.Duration = -1;
        record.PersonVentilation = ventilation;
        record.PersonChestCompression = compression;
        Session* session = DemoPorts::liveSession(port, record).release();
        manager->add(session);
        return session;
    }

    // A session fed by hand (a replay: it has no port), for classes larger
    // than the ten demonstration ports.
    Session* addFedSession(int number)
    {
        SessionRecord record;
        record.Manikin = -1;
        record.Duration = -1;
        record.PersonVentilation = "V" + std::to_string(number);
        record.PersonChestCompression = "C" + std::to_string(number);
        Session* session = new Session(record, Algorithm());
        manager->add(session);
        return session;
    }

    static void feed(Session& session, int samples)
    {
        auto& data = session.getCommSession().manData;
        for (int k = 0; k < samples; ++k) {
            const int i = static_cast<int>(data.size());
            Measurement m;
            m.depth = 25 + 25 * std::sin(i * 0.6);
            m.volume = 0.3 + 0.2 * std::sin(i * 0.05);
            data.push_back(m);
            session.poll();
        }
    }

    void openView(int width, int height)
    {
        view = std::make_unique<sessionManagerMultiView>();
        view->resize(width, height);
        view->show();
    }

    void tick(int ticks)
    {
        for (int k = 0; k < ticks; ++k)
            manager->poll();
        QCoreApplication::processEvents();
    }

    std::vector<const SurveillanceCell*> visibleCells() const
    {
        std::vector<const SurveillanceCell*> cells;
        for (const SurveillanceCell& cell : view->cells())
            if (cell.axisCtrl->isVisible())
                cells.push_back(&cell);
        return cells;
    }

    void saveShot(const char* name)
    {
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        view->grab().save(QStringLiteral(ARTEFACT_DIR "/") + QLatin1String(name) + QStringLiteral(".png"));
    }

    testsupport::LogCapture log;
    FakeSessionServices services;
    DemoPorts demo;
    std::unique_ptr<SessionManager> manager;
    std::unique_ptr<sessionManagerMultiView> view;
};

// Pixels of the colour in the image.
int countColour(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

TEST_F(SurveillanceTest, GridOfOneFourNineAndSixteenLiveSessions)
{
    struct Case {
        int sessions, columns, rows;
    };
    // A window twice as wide as high.
    for (const Case c : { Case { 1, 1, 1 }, Case { 4, 2, 2 }, Case { 9, 3, 3 }, Case { 16, 4, 4 } }) {
        SCOPED_TRACE(c.sessions);
        openView(1600, 800);
        std::vector<Session*> sessions;
        // Live demonstration manikins on ports 247 to 256, then sessions fed by hand.
        std::vector<Session*> fed;
        for (int k = 0; k < c.sessions; ++k) {
            if (k < 10) {
                sessions.push_back(addSession(247 + k));
                sessions.back()->start();
            } else {
                sessions.push_back(addFedSession(k));
                fed.push_back(sessions.back());
            }
        }
        ASSERT_EQ(view->checkList()->count(), c.sessions);
        tick(60);
        for (Session* session : fed)
            feed(*session, 60);
        QCoreApplication::processEvents();

        const auto cells = visibleCells();
        ASSERT_EQ(static_cast<int>(cells.size()), c.sessions);
        std::set<int> xs, ys;
        const int cellWidth = (1600 - view->gridLeft() - 1) / c.columns;
        for (const SurveillanceCell* cell : cells) {
            const QRect axis = cell->axisCtrl->geometry();
            xs.insert(axis.x());
            ys.insert(cell->staticCtrl->y());
            EXPECT_GE(axis.x(), view->gridLeft());
            EXPECT_EQ(axis.width(), cellWidth - 4);
            EXPECT_LE(cell->compGraphView->geometry().bottom(), 800);
            EXPECT_EQ(cell->ventGraphView->height(), cell->compGraphView->height());
            EXPECT_GT(cell->ventGraphView->height(), 0);
            // Live: every cell has drawn its compression curve.
            EXPECT_GT(countColour(cell->compGraphView->picture(), QColor(0xC8, 0x32, 0x32)), 0)
                << cell->staticCtrl->text().toStdString();
        }
        EXPECT_EQ(static_cast<int>(xs.size()), c.columns);
        EXPECT_EQ(static_cast<int>(ys.size()), c.rows);
        // Filled row by row in the order the sessions were opened.
        EXPECT_EQ(cells.front()->session, sessions.front());
        EXPECT_EQ(cells.front()->axisCtrl->x(), view->gridLeft());
        if (c.sessions == 4)
            saveShot("surveillance-4");

        for (Session* session : sessions) {
            session->pause();
            session->close();
        }
        EXPECT_TRUE(view->cells().empty());
        view.reset();
    }
}

TEST_F(SurveillanceTest, CellsFollowTheSessionsTheChecksAndTheZoom)
{
    Session* first = addSession(247, "Ann", "Bob");
    openView(1200, 600); // the open session gets its cell at once
    Session* second = addSession(248, "Cleo", "Dan");
    Session* third = addSession(249, "Eve", "Fay");
    ASSERT_EQ(view->cells().size(), 3u);
    EXPECT_EQ(view->cells().front().staticCtrl->text(), QStringLiteral("Tavo Man 247, Vent.:Ann Comp.:Bob"));
    EXPECT_EQ(view->checkList()->item(1)->text(), QStringLiteral("Tavo Man 248"));
    EXPECT_EQ(visibleCells().size(), 3u);

    // Closing a session removes its line and its cell; the rest fill the grid again.
    const int widthOfThree = view->cells().front().axisCtrl->width();
    second->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(view->cells().size(), 2u);
    ASSERT_EQ(view->checkList()->count(), 2);
    EXPECT_EQ(view->checkList()->item(1)->text(), QStringLiteral("Tavo Man 249"));
    EXPECT_GT(view->cells().front().axisCtrl->width(), widthOfThree);

    // Every check off: an empty grid area; one on again: it has the whole area.
    for (int row = 0; row < 2; ++row)
        view->checkList()->item(row)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(view->showCount(), 0);
    EXPECT_TRUE(visibleCells().empty());
    view->checkList()->item(1)->setCheckState(Qt::Checked);
    ASSERT_EQ(visibleCells().size(), 1u);
    const SurveillanceCell& shown = view->cells().back();
    EXPECT_EQ(shown.session, third);
    EXPECT_EQ(shown.axisCtrl->x(), view->gridLeft());
    EXPECT_EQ(shown.axisCtrl->width(), 1200 - view->gridLeft() - 1 - 4);
    EXPECT_EQ(shown.staticCtrl->y(), 2);

    // The zoom reaches every cell, and a session added later takes it.
    const int tenMinutes = view->zoomCombo()->findData(600000);
    view->zoomCombo()->setCurrentIndex(tenMinutes);
    view->onZoomSelected(tenMinutes);
    for (const SurveillanceCell& cell : view->cells())
        EXPECT_EQ(cell.axisCtrl->model.viewIndexes, cell.axisCtrl->model.indexesForMs(600000));
    addSession(250);
    EXPECT_EQ(view->cells().back().axisCtrl->model.viewIndexes,
              view->cells().back().axisCtrl->model.indexesForMs(600000));

    // A cell's axis measures ranges: a right click brings the session's own
    // window forward and does not zoom.
    AxisCtrl* axis = view->cells().front().axisCtrl;
    EXPECT_EQ(axis->getMouseMode(), AxisCtrl::RANGE);
    const int before = axis->model.viewIndexes;
    axis->onRButtonUp(10);
    EXPECT_EQ(services.count("show session"), 1);
    EXPECT_EQ(axis->model.viewIndexes, before);
    (void)first;
}

} // namespace
