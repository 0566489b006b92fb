// Printing of a session: the layout rules alone, then a finished
// demonstration session printed to PDF files that pdftotext reads back and
// pdftoppm renders into the artefact folder (look at them), and a print
// target that fails.
#include "res/Resources.h"
#include "session/PrintedTable.h"
#include "session/SessionDebriefView.h"
#include "session/SessionGraphView.h"
#include "session/SessionPrint.h"
#include "session/SessionWindows.h"
#include "ui/RangeGauge.h"

#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace sessiontest;

namespace {

TEST(SessionPrintLayout, HeadingLinesEventTimesApprovalAndPages)
{
    using sessionprint::headingLines;
    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(headingLines(L"Red Cross\r\nNorth"), (Lines{L"Red Cross", L"North"}));
    EXPECT_EQ(headingLines(L"Red Cross\r\nN"), (Lines{L"Red Cross"})) << "a one-character last line is dropped";
    EXPECT_EQ(headingLines(L""), (Lines{L""}));
    EXPECT_EQ(headingLines(L"A\r\n\r\nBC"), (Lines{L"A", L"", L"BC"}));

    struct {
        int index;
        const wchar_t* text;
    } times[] = {{1200, L"1:00"}, {1199, L"0:59"}, {189, L"0:09"}, {0, L"0:00"}, {-1, L"0:00"}, {-5000, L"0:00"}};
    for (const auto& t : times)
        EXPECT_EQ(sessionprint::eventTimeText(t.index, 20.0), t.text) << t.index;

    EXPECT_EQ(sessionprint::approvalText(0), L"Approved: __ Yes ___No");
    EXPECT_EQ(sessionprint::approvalText(1), L"Approved: Yes");
    EXPECT_EQ(sessionprint::approvalText(2), L"Approved: No");

    sessionprint::Settings s;
    EXPECT_FALSE(sessionprint::hasSecondPage(true, s));
    s.debriefText = true;
    EXPECT_TRUE(sessionprint::hasSecondPage(true, s));
    EXPECT_FALSE(sessionprint::hasSecondPage(false, s)) << "the graphs printout has one page";
}

TEST(SessionPrintLayout, TableColumnsFollowTheWidestTextsOfThePrintedRows)
{
    // Every character 10 wide.
    const auto measure = [](const std::wstring& t) { return static_cast<int>(t.size()) * 10; };
    std::vector<sessionprint::PrintedRow> rows(2);
    rows[0] = {L"Rate", nullptr, L"100", L"", L"100-120", L"Good"};
    rows[1] = {L"Depth", nullptr, L"", L"", L"40-50", L"Too deep for a child"};
    EXPECT_EQ(sessionprint::figureOf(rows[0]), L"100") << "no Average: the Total";
    const auto c = sessionprint::tableColumns(rows, 100, 1000, measure);
    EXPECT_EQ(c.evaluationX, 1100 - 200);
    EXPECT_EQ(c.recommendationX, 900 - 100 - 20);
    EXPECT_EQ(c.figureX, 800 - 30 - 30);
    EXPECT_EQ(c.gaugeFrom, 100 + 50 + 30);
    EXPECT_EQ(c.gaugeTo, 800 - 30 - 50);
    rows.pop_back();
    EXPECT_GT(sessionprint::tableColumns(rows, 100, 1000, measure).gaugeTo, c.gaugeTo)
        << "without the long evaluation the gauges reach further right";

    QImage page(800, 600, QImage::Format_RGB32);
    QPainter painter(&page);
    EXPECT_EQ(sessionprint::printTable(painter, {}, 0, 0, 800, 40), 60) << "the note alone";
    EXPECT_EQ(sessionprint::printTable(painter, std::vector<sessionprint::PrintedRow>(5), 0, 0, 800, 40), 360);
}

// The debriefing page as the printout sees it: rows with gauges.
class TableSources : public sessionprint::PageSources {
public:
    explicit TableSources(Session& session)
        : PageSources(session)
    {
        gauge.setRange(0, 100, 0x00C0C0C0);
        gauge.setValue(60);
        gauge.addMarker(40, 50, 0x0000C000, false, false);
        QImage screen(300, 20, QImage::Format_RGB32);
        QPainter p(&screen);
        gauge.drawScaled(p, 0, 0, 300, 20, false);
    }
    int printTable(QPainter& painter, int left, int top, int width, int lineHeight) override
    {
        std::vector<sessionprint::PrintedRow> rows = {
            {L"Compression depth", &gauge, L"", L"47 mm", L"40-50 mm", L"Good"},
            {L"Compression rate", &gauge, L"112", L"", L"100-120 /min", L"Good"},
            {L"Ventilation volume", &gauge, L"", L"", L"0.5-0.6 l", L"Not measured"},
        };
        return sessionprint::printTable(painter, rows, left, top, width, lineHeight);
    }
    std::wstring adviceText() override { return L"Keep your arms straight and let the chest rise fully."; }
    RangeGauge gauge;
};

class GraphServices : public FakeSessionServices {
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
        return std::make_unique<DebriefPageHandle>(session, [] { return DebriefOptions(); });
    }
};

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

class SessionPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        res::registerResources();
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        SessionRecord rec;
        rec.Duration = 60;
        rec.TrainingMode = 0;
        rec.PersonVentilation = "Ann Smith";
        rec.PersonChestCompression = "Ann Smith";
        rec.CourseInstructor = "Dr. Berg";
        rec.Approved = 2;
        rec.ApprovedBy = "Dr. Berg";
        rec.Note = "Good compressions; ventilations too fast.";
        rec.CourseDate = "2026-12-10";
        rec.StartTime = "18:30";
        session = DemoPorts::liveSession(250, rec);
        session->createView();
        session->start();
        for (int k = 0; k < 1300; ++k) {
            session->poll();
            if (k % 60 == 30)
                (k % 120 == 30 ? session->compressionDoc : session->ventilationDoc)
                    .addEvent(Session::nextEventId(), L"Check && call", L"", 1 + k % 5);
        }
        session->pause();
        session->getCommSession().finish();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        session.reset();
        QCoreApplication::processEvents();
    }

    // Prints into the artefact folder; the text of the PDF.
    std::string print(const std::string& name, bool evaluation, const sessionprint::Settings& settings)
    {
        TableSources sources(*session);
        return print(name, evaluation, settings, sources);
    }
    std::string print(const std::string& name, bool evaluation, const sessionprint::Settings& settings,
                      sessionprint::Sources& sources)
    {
        const std::string path = std::string(ARTEFACT_DIR) + "/" + name + ".pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(evaluation ? QPageLayout::Portrait : QPageLayout::Landscape);
        reports.clear();
        printed = sessionprint::printSession(printer, *session, evaluation, settings, sources,
                                             [this](const std::wstring& text, const std::wstring& caption) {
                                                 reports.push_back(caption + L": " + text);
                                             });
        run("pdftoppm -r 50 -png '" + path + "' '" + std::string(ARTEFACT_DIR) + "/" + name + "'");
        info = run("pdfinfo '" + path + "'");
        return run("pdftotext -layout '" + path + "' -");
    }

    testsupport::LogCapture log;
    GraphServices services;
    DemoPorts demo;
    std::unique_ptr<Session> session;
    std::vector<std::wstring> reports;
    bool printed = false;
    std::string info;
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
std::string utf8(const std::wstring& text) { return QString::fromStdWString(text).toStdString(); }
// pdftotext gives "fi" and "fl" as their ligatures.
std::string withoutLigatures(std::string text)
{
    for (const auto& [ligature, letters] : {std::pair<std::string, std::string>{"\uFB01", "fi"}, {"\uFB02", "fl"}})
        for (std::size_t at = text.find(ligature); at != std::string::npos; at = text.find(ligature, at))
            text.replace(at, ligature.size(), letters);
    return text;
}

TEST_F(SessionPrintTest, EvaluationOnTwoPagesWithEventsAdviceAndApproval)
{
    sessionprint::Settings s;
    s.eventList = s.debriefText = s.approval = true;
    s.heading = L"Tavo Rescue School\r\nCourse room 2";
    const std::string text = print("evaluation-two-pages", true, s);
    EXPECT_TRUE(printed);
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(has(info, "Pages:           2")) << info;
    EXPECT_TRUE(has(info, "Title:           Tavo CPR Evaluation Data")) << info;
    for (const char* part : {"Training Results", "2026-12-10 18:30", "Tavo Rescue School", "Course room 2",
                             "Ventilation: Ann Smith", "Course Instructor: Dr. Berg", "Metronome: o",
                             "Compression depth", "47 mm", "(40-50 mm)", "Recommended values in brackets.",
                             "Event registration (Ann Smith)", "Check & call", "Keep your arms straight",
                             "Approved: No", "Approved by: Dr. Berg", "Comments:Good compressions",
                             "Page 1 of 2", "Page 2 of 2"})
        EXPECT_TRUE(has(text, part)) << part;
    EXPECT_FALSE(has(text, "Check && call"));
}

TEST_F(SessionPrintTest, EvaluationOnOnePageWithTheApprovalAtTheBottom)
{
    sessionprint::Settings s;
    s.approval = true;
    const std::string text = print("evaluation-one-page", true, s);
    EXPECT_TRUE(has(info, "Pages:           1")) << info;
    EXPECT_TRUE(has(text, "Approved: No"));
    EXPECT_FALSE(has(text, "Page 1 of")) << "no footer on a single page";
    EXPECT_FALSE(has(text, "Event registration"));
}

TEST_F(SessionPrintTest, GraphsPrintoutIsLandscape)
{
    sessionprint::Settings s;
    const std::string text = print("graphs", false, s);
    EXPECT_TRUE(printed);
    EXPECT_TRUE(has(info, "Pages:           1")) << info;
    EXPECT_TRUE(has(info, "842 x 595")) << "A4 landscape: " << info;
    EXPECT_TRUE(has(text, "Ventilation: Ann Smith"));
    EXPECT_FALSE(has(text, "Recommended values")) << "no evaluation table";
}

TEST_F(SessionPrintTest, EvaluationPrintsTheDebriefingPageRowsAndTheSessionAdvice)
{
    session->setState(Session::DEBRIEF);
    auto* page = dynamic_cast<DebriefPageHandle*>(session->debriefPage());
    ASSERT_NE(page, nullptr);
    const std::vector<sessionprint::PrintedRow> rows = page->page()->printedRows();
    const std::wstring advice = session->adviceText();
    // The recording has mistakes of the breaths and the rhythm, and events
    // registered late: there is something to print in both parts.
    ASSERT_GE(rows.size(), 10u);
    ASSERT_FALSE(advice.empty());

    sessionprint::Settings s;
    s.debriefText = true;
    sessionprint::PageSources sources(*session);
    const std::string text = withoutLigatures(print("evaluation-debriefing", true, s, sources));
    EXPECT_TRUE(printed);
    int evaluated = 0;
    for (const sessionprint::PrintedRow& row : rows) {
        EXPECT_TRUE(has(text, utf8(row.name))) << utf8(row.name);
        EXPECT_TRUE(has(text, utf8(L"(" + row.recommended + L")")))
            << utf8(row.recommended);
        if (!row.evaluation.empty()) {
            ++evaluated;
            EXPECT_TRUE(has(text, utf8(row.evaluation))) << utf8(row.evaluation);
        }
    }
    EXPECT_GT(evaluated, 3);
    // Every sentence of the advice starts a line of its own.
    std::size_t start = 0;
    while (start < advice.size()) {
        std::size_t end = advice.find(L'\n', start);
        const std::wstring sentence = advice.substr(start, std::min<std::size_t>(end - start, 30));
        EXPECT_TRUE(has(text, utf8(sentence))) << utf8(sentence);
        start = end == std::wstring::npos ? advice.size() : end + 1;
    }
}

TEST_F(SessionPrintTest, PrintTargetThatFailsIsReported)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/sub/out.pdf"));
    TableSources sources(*session);
    std::vector<std::wstring> boxes;
    EXPECT_FALSE(sessionprint::printSession(printer, *session, true, {}, sources,
                                            [&](const std::wstring& text, const std::wstring& caption) {
                                                boxes.push_back(caption + L": " + text);
                                            }));
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"Printer error: Error initializing printer"});
}

} // namespace
