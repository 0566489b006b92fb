// The session windows on the offscreen platform: a live demonstration
// session in its tab with the graph page, the save question, and the graph
// painting on a plain image.
#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "session/AxisCtrl.h"
#include "session/GraphPainter.h"
#include "session/GraphView.h"
#include "session/LabelPictures.h"
#include "session/SessionDataFile.h"
#include "session/SessionGraphView.h"
#include "session/SessionWindows.h"
#include "res/Bitmaps.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
    // A question has no minimise or maximise button.
    EXPECT_FALSE(collecting.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(collecting.windowFlags() & Qt::WindowCloseButtonHint);
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

// A printed graph's title stands at the edge where the curve rests at zero:
// the curve is drawn beside the title, never through it, and still reaches
// the columns under it.
TEST_F(SessionWindowsTest, PrintedCurveKeepsClearOfTheTitle)
{
    SessionRecord record;
    record.Manikin = -1;
    Session replay(record, Algorithm());
    auto& data = replay.getCommSession().manData;
    for (int i = 0; i < 400; ++i) {
        Measurement m;
        // Mostly at rest, with a stroke now and then.
        const double stroke = std::max(0.0, std::sin(i * 0.3));
        m.depth = 50 * stroke * stroke * stroke * stroke;
        m.volume = 0.8 * stroke * stroke * stroke * stroke;
        data.push_back(m);
    }
    AxisModel axis(20.0);
    axis.setRange(0, 400);
    axis.lastUpdateIndex = 399;
    for (GraphDoc* doc : { &replay.compressionDoc, &replay.ventilationDoc }) {
        const GraphDescription& description = doc->getDescription();
        GraphPainter graph(*doc, axis);
        graph.printing = true;
        graph.plot = QRect(0, 0, 400, 140);
        QImage image(400, 140, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            graph.redraw(painter, false);
        }
        const QFontMetrics metrics(graph.labelFont);
        const int h = metrics.height();
        const QRect title(graph.plot.left() + 10, description.drawnDownward ? graph.plot.top() : graph.plot.bottom() - h + 1,
                          metrics.horizontalAdvance(QString::fromStdWString(description.title)), h);
        const QColor curve = colourOf(description.colour);
        int inTitle = 0;
        int besideTitle = 0;
        for (int x = title.left(); x <= title.right(); ++x)
            for (int y = graph.plot.top(); y <= graph.plot.bottom(); ++y)
                if (image.pixelColor(x, y) == curve)
                    ++(title.contains(x, y) ? inTitle : besideTitle);
        const std::string name = QString::fromStdWString(description.title).toStdString();
        EXPECT_EQ(inTitle, 0) << name;
        EXPECT_GT(besideTitle, 0) << name << ": the curve goes on under the title";
        EXPECT_EQ(graph.valueToY(0), description.drawnDownward ? title.bottom() + 1 : title.top() - 1) << name;
    }
}

// Every label inside its plot, none over another.
void expectApartAndInside(const std::vector<ScaleLabel>& labels, const QRect& plot, const std::string& at)
{
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(plot.contains(labels[i].rect)) << at << " " << labels[i].text.toStdString();
        for (std::size_t k = i + 1; k < labels.size(); ++k)
            EXPECT_FALSE(labels[i].rect.intersects(labels[k].rect))
                << at << " " << labels[i].text.toStdString() << " on " << labels[k].text.toStdString();
    }
}

bool hasLabel(const std::vector<ScaleLabel>& labels, const char* text)
{
    return std::any_of(labels.begin(), labels.end(),
                       [&](const ScaleLabel& l) { return l.text == QString::fromUtf8(text); });
}

TEST_F(SessionWindowsTest, ScaleLabelsStayInsideTheirGraphAndApart)
{
    SessionRecord record;
    record.Manikin = -1;
    Algorithm narrow;
    narrow.vVolLow = 0.5;
    narrow.vVolHigh = 0.6;
    narrow.compDepthLow = 40;
    narrow.compDepthHigh = 50;
    Algorithm wide = narrow;
    wide.vVolLow = 0.2;
    wide.vVolHigh = 0.8;
    wide.compDepthLow = 10;
    wide.compDepthHigh = 60;
    AxisModel axis(20.0);
    axis.setRange(0, 400);
    for (const Algorithm* algorithm : { &narrow, &wide }) {
        Session replay(record, *algorithm);
        for (GraphDoc* doc : { &replay.ventilationDoc, &replay.compressionDoc }) {
            GraphPainter graph(*doc, axis);
            const int h = graph.labelHeight();
            for (int height : { 2 * h, 3 * h, 60, 100, 150, 197, 400 }) {
                graph.plot = QRect(5, 7, 300, height);
                const std::vector<ScaleLabel> labels = graph.scaleLabels();
                const std::string at = QString::fromStdWString(doc->getDescription().title).toStdString() + " "
                    + std::to_string(height) + (algorithm == &narrow ? " narrow" : " wide");
                expectApartAndInside(labels, graph.plot, at);
                EXPECT_GE(labels.size(), 2u) << at << ": the maximum and zero";
                if (height >= 150) {
                    const bool vent = doc == &replay.ventilationDoc;
                    const bool thin = algorithm == &narrow;
                    EXPECT_TRUE(hasLabel(labels, vent ? (thin ? "0.60 L." : "0.80 L.") : (thin ? "50.00 mm." : "60.00 mm.")))
                        << at;
                    EXPECT_TRUE(hasLabel(labels, vent ? (thin ? "0.50 L." : "0.20 L.") : (thin ? "40.00 mm." : "10.00 mm.")))
                        << at;
                }
            }
        }
        // A band wide enough holds its labels inside it, as they always stood.
        if (algorithm == &wide) {
            GraphPainter graph(replay.ventilationDoc, axis);
            graph.plot = QRect(0, 0, 300, 200);
            for (const ScaleLabel& label : graph.scaleLabels())
                if (label.text == QStringLiteral("0.80 L.") || label.text == QStringLiteral("0.20 L."))
                    EXPECT_TRUE(label.rect.top() >= graph.valueToY(0.8) && label.rect.bottom() <= graph.valueToY(0.2))
                        << label.text.toStdString();
        }
    }
    // Too low a graph has no labels.
    Session replay(record, narrow);
    GraphPainter graph(replay.ventilationDoc, axis);
    graph.plot = QRect(0, 0, 300, 2 * graph.labelHeight() - 1);
    EXPECT_TRUE(graph.scaleLabels().empty());

    // The time labels of a 9-second span (one a second) in a narrow surveillance cell.
    AxisCtrl timeAxis(replay, nullptr, nullptr);
    timeAxis.model.setRange(1, timeAxis.model.indexesForMs(9000));
    const QFontMetrics metrics(timeAxis.labelFont());
    for (int width : { 120, 200, 600 }) {
        const QRect strip(3, 0, width, metrics.height());
        const auto places = timeAxis.labelPlaces(strip, metrics);
        ASSERT_FALSE(places.empty()) << width;
        EXPECT_EQ(places.size() == 9, width == 600) << width << ": all nine only where they fit";
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_TRUE(strip.contains(places[i].first)) << width << " " << places[i].second.toStdString();
            if (i > 0)
                EXPECT_GT(places[i].first.left(), places[i - 1].first.right()) << width;
        }
    }
    timeAxis.detach();
}

// How two images of one size differ: the largest difference of one colour
// channel, and how many pixels differ by more than `slight` in a channel.
struct Difference {
    int largest = 0;
    int pixels = 0;
};
Difference differenceOf(const QImage& a, const QImage& b, int slight)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int most = std::max({ std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                        std::abs(qBlue(p) - qBlue(q)) });
            d.largest = std::max(d.largest, most);
            d.pixels += most > slight;
        }
    return d;
}

// On screen a label is copied from a picture made once; it must look as the
// label drawn stroke by stroke over the same graph, at any pixel ratio.
TEST_F(SessionWindowsTest, LabelPicturesLookAsTheLabelsDrawnDirectly)
{
    SessionRecord record;
    record.Manikin = -1;
    Algorithm algorithm;
    algorithm.compDepthLow = 10;
    Session replay(record, algorithm);
    auto& data = replay.getCommSession().manData;
    for (int i = 0; i < 400; ++i) {
        Measurement m;
        m.depth = 25 + 25 * std::sin(i * 0.6);
        m.volume = 0.3 + 0.2 * std::sin(i * 0.05);
        data.push_back(m);
    }
    AxisModel axis(20.0);
    axis.setRange(0, 400);
    axis.lastUpdateIndex = 399;
    for (GraphDoc* doc : { &replay.ventilationDoc, &replay.compressionDoc })
        for (qreal ratio : { 1.0, 2.0 }) {
            const std::string at = QString::fromStdWString(doc->getDescription().title).toStdString() + " at "
                + std::to_string(ratio);
            GraphPainter graph(*doc, axis);
            graph.plot = QRect(0, 0, 300, 200);
            graph.labelsInPicture = false;
            // The curve, the band and the grid under the labels, as a live graph has them.
            QImage under(QSize(300, 200) * ratio, QImage::Format_RGB32);
            under.setDevicePixelRatio(ratio);
            QPainter background(&under);
            graph.redraw(background, true);
            background.end();
            const std::vector<ScaleLabel> labels = graph.scaleLabels();
            ASSERT_GE(labels.size(), 4u) << at;

            QImage direct = under;
            QPainter onDirect(&direct);
            for (const ScaleLabel& label : labels)
                drawLabelDirectly(onDirect, label.rect.topLeft(), label.text, graph.labelFont);
            onDirect.end();
            // The first paint makes the pictures, the second only copies them.
            for (int paint = 0; paint < 2; ++paint) {
                const std::size_t made = LabelPictures::shared().size();
                QImage copied = under;
                QPainter onCopied(&copied);
                graph.drawLabels(onCopied);
                onCopied.end();
                if (paint == 1)
                    EXPECT_EQ(LabelPictures::shared().size(), made) << at;
                EXPECT_NE(copied, under) << at;
                // The picture blends text and halo before the graph, not over it: a
                // channel rounds by a step or two, and at a few edge pixels of the
                // halo over the curve by up to an eighth. A label a pixel off, in
                // another font or colour, or without its halo differs far more.
                int area = 0;
                for (const ScaleLabel& label : labels)
                    area += label.rect.width() * label.rect.height();
                const Difference d = differenceOf(copied, direct, 3);
                EXPECT_LE(d.largest, 32) << at << " paint " << paint;
                EXPECT_LE(d.pixels * ratio * ratio, area * 0.03) << at << " paint " << paint << ": " << d.pixels
                                                                  << " pixels of " << area;
                copied.save(QStringLiteral(ARTEFACT_DIR "/label-pictures-%1-%2.png")
                                .arg(doc == &replay.ventilationDoc ? "vent" : "comp")
                                .arg(ratio));
            }
            direct.save(QStringLiteral(ARTEFACT_DIR "/label-direct-%1-%2.png")
                            .arg(doc == &replay.ventilationDoc ? "vent" : "comp")
                            .arg(ratio));

            // A paint of columns away from the labels leaves them alone; one over a label draws it.
            QImage partly = under;
            QPainter onPartly(&partly);
            graph.drawLabels(onPartly, labels, QRegion(10, 0, 20, 200));
            onPartly.end();
            EXPECT_EQ(partly, under) << at;
            onPartly.begin(&partly);
            graph.drawLabels(onPartly, labels, QRegion(labels.front().rect.center().x(), 0, 2, 200));
            onPartly.end();
            EXPECT_NE(partly, under) << at;
        }
}

TEST_F(SessionWindowsTest, PauseEnablesDebriefingByTheElapsedTimeAndADragFollowsAPageJump)
{
    auto* tabs = new SessionManagerTabView(nullptr);
    tabs->resize(1000, 640);
    tabs->show();
    SessionRecord record;
    record.Duration = -1;
    Session* session = DemoPorts::liveSession(250, record).release();
    manager->add(session);
    auto* handle = dynamic_cast<GraphPageHandle*>(session->graphPage());
    ASSERT_NE(handle, nullptr);
    SessionGraphView* page = handle->page();

    // Five samples are a quarter of a second: no whole second yet.
    session->start();
    tick(*session, 5);
    session->pause();
    EXPECT_GT(page->axis()->model.lastUpdateIndex, 0);
    EXPECT_EQ(session->elapsedSeconds(), 0u);
    EXPECT_FALSE(page->debriefingButton()->isEnabled());
    EXPECT_FALSE(page->printButton()->isEnabled());
    session->start();
    tick(*session, 20);
    session->pause();
    EXPECT_TRUE(page->debriefingButton()->isEnabled());
    EXPECT_TRUE(page->printButton()->isEnabled());

    // The whole session (about 19 seconds) matches no entry of the zoom list:
    // the list shows none, the spin stands at the nearest, and a choice in the
    // list applies again.
    session->start();
    tick(*session, 350);
    session->pause();
    page->axis()->setMouseMode(AxisCtrl::ZOOM_ALL);
    EXPECT_EQ(page->zoomCombo()->currentIndex(), -1);
    EXPECT_EQ(page->findChild<QSpinBox*>()->value(), 2) << "20 seconds are the nearest";
    saveShot(*tabs, "session-zoom-all");
    page->zoomCombo()->setCurrentIndex(2);
    page->onZoomSelected(2);
    EXPECT_EQ(page->zoomCombo()->currentText(), QStringLiteral("20 sec."));
    EXPECT_EQ(page->axis()->model.viewIndexes, 400);

    // A drag begun over the compression graph follows the picture when it jumps a page.
    session->start();
    GraphView* view = page->compressionView();
    const QPoint at(view->width() * 3 / 4, view->height() / 2);
    QCursor::setPos(view->mapToGlobal(at));
    if (QCursor::pos() != view->mapToGlobal(at)) {
        session->close();
        delete tabs;
        GTEST_SKIP() << "this platform does not place the pointer";
    }
    const int anchor = view->graphPainter().xToIndex(at.x());
    page->axis()->onLButtonDown(view, anchor);
    const int left = page->axis()->model.leftIndex;
    tick(*session, 250);
    ASSERT_GT(page->axis()->model.leftIndex, left) << "a page jump";
    EXPECT_EQ(view->shownRange(), std::make_pair(anchor, view->graphPainter().xToIndex(at.x())))
        << "the range reaches the sample now under the pointer";
    saveShot(*tabs, "session-drag-after-page-jump");
    page->axis()->onLButtonUp(anchor);
    session->pause();
    session->close();
    QCoreApplication::processEvents();
    delete tabs;
}

// Before Start a session is paused: its time box blinks "Pause" with its
// caption, the first session of a run and a later one alike.
TEST_F(SessionWindowsTest, BeforeStartEverySessionsTimeBoxBlinksPause)
{
    auto* tabs = new SessionManagerTabView(nullptr);
    tabs->resize(1000, 640);
    tabs->show();
    std::vector<QGroupBox*> boxes;
    std::vector<Session*> sessions;
    for (int port : { 250, 251 }) {
        SessionRecord record;
        record.Duration = 30;
        Session* session = DemoPorts::liveSession(port, record).release();
        manager->add(session);
        sessions.push_back(session);
        tick(*session, 3);
        boxes.push_back(dynamic_cast<GraphPageHandle*>(session->graphPage())->page()->timeBox());
        EXPECT_EQ(boxes.back()->title(), QStringLiteral("Pause")) << port;
    }
    for (QGroupBox* box : boxes) {
        EXPECT_TRUE(QTest::qWaitFor([box] { return box->title() == QStringLiteral("Time"); }, 5000));
        EXPECT_TRUE(QTest::qWaitFor([box] { return box->title() == QStringLiteral("Pause"); }, 5000));
    }
    for (Session* session : sessions)
        session->close();
    QCoreApplication::processEvents();
    delete tabs;
}

} // namespace
