// The debriefing page on the offscreen platform: which rows it shows for a
// training mode and the debriefing switches, where its group separators go,
// that showing it again recomputes every figure, and a stored session's page
// in the inspection window; screenshots in artefacts/.
#include "res/Resources.h"
#include "session/StoredSessionWindow.h"
#include "session/SessionDataFile.h"
#include "session/SessionGraphView.h"
#include "session/SessionDebriefView.h"
#include "session/SessionWindows.h"

#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace sessiontest;

namespace {

class PageServices : public FakeSessionServices {
public:
    std::unique_ptr<SessionContainer> createContainer(Session& session) override
    {
        return std::make_unique<SessionContainerHandle>(session);
    }
    std::unique_ptr<GraphPageWindow> createGraphPage(Session& session) override
    {
        return std::make_unique<GraphPageHandle>(session);
    }
    std::unique_ptr<SessionPageWindow> createDebriefPage(Session& session) override
    {
        return std::make_unique<DebriefPageHandle>(session, [this] { return options; });
    }
    bool loadDataFile(Session& session) override
    {
        return sessiondata::load(session, path, 20.0) == sessiondata::LoadResult::read;
    }
    DebriefOptions options;
    std::string path;
};

SessionDebriefView* pageOf(Session& session)
{
    session.setState(Session::DEBRIEF);
    auto* handle = dynamic_cast<DebriefPageHandle*>(session.debriefPage());
    return handle ? handle->page() : nullptr;
}

class DebriefPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        res::registerResources();
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
    }
    std::unique_ptr<Session> live(int trainingMode, int ticks)
    {
        SessionRecord rec;
        rec.TrainingMode = trainingMode;
        rec.Duration = -1;
        std::unique_ptr<Session> session = DemoPorts::liveSession(250, rec);
        session->createView();
        // Shown, so that its pages hear when they are shown.
        if (auto* container = dynamic_cast<SessionContainerHandle*>(session->getSessionView())) {
            container->view()->resize(900, 560);
            container->view()->show();
        }
        run(*session, ticks);
        return session;
    }
    static void run(Session& session, int ticks)
    {
        session.start();
        for (int k = 0; k < ticks; ++k)
            session.poll();
        session.pause();
    }

    testsupport::LogCapture log;
    PageServices services;
    DemoPorts demo;
};

TEST_F(DebriefPageTest, RowsAndSeparatorsFollowTheModeAndTheSwitches)
{
    struct Case {
        const char* name;
        TrainingMode mode;
        std::vector<int> hiddenRows; // switched off
        bool comments;
        std::vector<int> rows;       // shown, in order
        std::vector<int> separated;  // rows with a separator under them
    };
    std::vector<int> everyRow;
    for (int row = 0; row < DEBRIEF_ROW_COUNT; ++row)
        everyRow.push_back(row);
    const Case cases[] = {
        { "everything off", TWO_PERSON, everyRow, false, {}, {} },
        { "compressions only", COMPRESSION_ONLY, {}, true, { 6, 7, 8, 9, 10, 11 }, { 11 } },
        { "ventilations only", VENTILATION_ONLY, {}, false, { 3, 4, 5 }, { 5 } },
        { "no stomach inflations", TWO_PERSON, { STOMACH_INFLATION }, false,
          { 0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12 }, { 1, 4, 11 } },
        { "no cardiac output, comments", SINGLE_PERSON, { CARDIAC_OUTPUT }, true,
          { 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 }, { 0, 5, 11, 12 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.options = DebriefOptions();
        for (int row : c.hiddenRows)
            services.options.rowShown[row] = false;
        services.options.showComments = c.comments;
        std::unique_ptr<Session> session = live(c.mode, 0);
        SessionDebriefView* page = pageOf(*session);
        ASSERT_NE(page, nullptr);
        CReportCtrl& report = *page->report();
        const int adviceRows = c.comments ? 1 : 0;
        ASSERT_EQ(report.getItemCount(), static_cast<int>(c.rows.size()) + adviceRows);
        std::vector<int> shown, separated;
        for (int k = 0; k < static_cast<int>(c.rows.size()); ++k) {
            shown.push_back(page->rowOf(k));
            EXPECT_EQ(report.getItemText(k, 0).toStdWString(), DebriefRows::rowName(page->rowOf(k)));
            EXPECT_EQ(report.getItemData(k), 0);
            const int extra = report.model().extraHeightOf(k);
            EXPECT_TRUE(extra == 0 || extra == 8) << extra;
            if (extra == 8)
                separated.push_back(page->rowOf(k));
        }
        EXPECT_EQ(shown, c.rows);
        EXPECT_EQ(separated, c.separated);
        if (c.comments) {
            const int k = report.getItemCount() - 1;
            EXPECT_EQ(page->rowOf(k), -1);
            EXPECT_EQ(report.getItemText(k, 0), QStringLiteral("Evaluation: "));
            EXPECT_EQ(report.getItemData(k), 1);
            EXPECT_EQ(report.model().extraHeightOf(k), 3 * QFontMetrics(page->font()).height() + 4);
        }
    }
}

TEST_F(DebriefPageTest, ShowingAgainRecomputesEveryFigureAndCellsWithoutTextHoldABlank)
{
    std::unique_ptr<Session> session = live(TWO_PERSON, 300);
    SessionDebriefView* page = pageOf(*session);
    ASSERT_NE(page, nullptr);
    CReportCtrl& report = *page->report();
    auto cellOf = [&](int row, int column) {
        for (int k = 0; k < report.getItemCount(); ++k)
            if (page->rowOf(k) == row)
                return report.getItemText(k, column).toStdWString();
        return std::wstring(L"(none)");
    };
    // What the rows give for the statistics as they stand.
    auto expected = [&](int row, int column) {
        DebriefRows rows(session->getAlgorithm(), TWO_PERSON, services.options, debriefStats(session->getCommSession()));
        std::wstring cells[3] = { L" ", L" ", L" " };
        rows.rowTexts(row, cells[0], cells[1], cells[2]);
        return cells[column == 2 ? 0 : column == 3 ? 1 : 2];
    };
    const std::wstring firstDepth = cellOf(COMPRESSION_DEPTH, 2);
    EXPECT_EQ(firstDepth, expected(COMPRESSION_DEPTH, 2));
    EXPECT_EQ(cellOf(MINUTE_VOLUME, 2), L" ") << "the minute volume has no Total";
    EXPECT_EQ(cellOf(COMPRESSION_DEPTH, 4), L"40 - 50 mm");
    page->grab().save(QStringLiteral(ARTEFACT_DIR "/debriefing-page-early.png"));

    // Back to the graph, on with the session, and the page again.
    session->setState(Session::COLLECT);
    run(*session, 900);
    session->setState(Session::DEBRIEF);
    EXPECT_NE(cellOf(COMPRESSION_DEPTH, 2), firstDepth) << "more compressions since";
    for (int row : { COMPRESSION_DEPTH, ECC_RATE, VENTILATION_VOLUME, LEANING, COMP_VENT_RATIO })
        for (int column : { 2, 3, 5 })
            EXPECT_EQ(cellOf(row, column), expected(row, column)) << row << "/" << column;
    EXPECT_EQ(page->gauge(COMPRESSION_DEPTH).value,
              static_cast<int>(session->getCommSession().averageDepth + 0.5));
    EXPECT_EQ(page->abortButton()->text(), QStringLiteral("Abort")) << "its duration has not passed";
    EXPECT_TRUE(page->reviewButton()->isVisibleTo(page));
    page->grab().save(QStringLiteral(ARTEFACT_DIR "/debriefing-page.png"));

    // Print... prints the evaluation here and the graphs on the graph page;
    // the page buttons change pages.
    page->printButton()->click();
    page->graphButton()->click();
    EXPECT_EQ(session->getState(), Session::COLLECT);
    auto* graphs = dynamic_cast<GraphPageHandle*>(session->graphPage());
    ASSERT_NE(graphs, nullptr);
    graphs->page()->printButton()->click();
    EXPECT_EQ(services.printed, (std::vector<bool>{ true, false }));
    session->setState(Session::DEBRIEF);
    page->reviewButton()->click();
    EXPECT_EQ(session->getState(), Session::REVIEW);
}

TEST_F(DebriefPageTest, StoredSessionShowsItsDebriefingInTheInspectionWindowWithoutReview)
{
    testsupport::TempDir folder;
    services.path = folder.path() + "/replay.dat";
    SessionRecord rec;
    {
        std::unique_ptr<Session> session = live(TWO_PERSON, 400);
        ASSERT_TRUE(sessiondata::save(*session, services.path, nullptr));
        rec = session->getRecord();
    }
    rec.Manikin = -1;
    Session replay(rec, Algorithm());
    ASSERT_TRUE(replay.isReplay());

    InspectSessionDialog dialog(replay, true);
    dialog.initDialog();
    bool checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        auto* handle = dynamic_cast<DebriefPageHandle*>(replay.debriefPage());
        ASSERT_NE(handle, nullptr);
        SessionDebriefView* page = handle->page();
        EXPECT_EQ(replay.getState(), Session::DEBRIEF);
        EXPECT_TRUE(page->isVisible());
        EXPECT_FALSE(page->reviewButton()->isVisibleTo(page)) << "a stored session is not reviewed again";
        EXPECT_EQ(page->abortButton()->text(), QStringLiteral("Close"));
        EXPECT_GT(replay.getCommSession().nrCompressions, 0) << "the page computed the stored session's statistics";
        dialog.grab().save(QStringLiteral(ARTEFACT_DIR "/debriefing-stored.png"));
        checked = true;
        page->abortButton()->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected) << "Close ends the session and the window";
    EXPECT_TRUE(checked);
    EXPECT_EQ(replay.getSessionView(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
