// Printing of a session: the layout rules alone, then a finished
// demonstration session printed to PDF files that pdftotext reads back and
// pdftoppm renders into the artefact folder (look at them), and a print
// target that fails.
#include "gettext/Translator.h"
#include "res/Resources.h"
#include "session/GraphView.h"
#include "session/PrintedTable.h"
#include "session/SessionDataFile.h"
#include "session/SessionManager.h"
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
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
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
    // A stored session reads the data file a live one wrote.
    bool loadDataFile(Session& session) override
    {
        return sessiondata::load(session, path, 20.0) == sessiondata::LoadResult::read;
    }
    std::string path;
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

// A word of a PDF page and its box, in points.
struct Word {
    std::string text;
    double x0, y0, x1, y1;
    int page;
    bool overlaps(const Word& o) const
    {
        return page == o.page && x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1;
    }
};

// The words of pdftotext's box listing.
std::vector<Word> wordsOf(const std::string& listing)
{
    std::vector<Word> words;
    const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    std::istringstream lines(listing);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (line.find("<page ") != std::string::npos)
            ++page;
        else if (std::regex_search(line, m, word))
            words.push_back({ m[5].str(), std::stod(m[1].str()), std::stod(m[2].str()), std::stod(m[3].str()),
                              std::stod(m[4].str()), page });
    }
    return words;
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
        rec.Scenario = "Drowning";
        services.scenarios["Drowning"] = { { "Shake & shout", "", 1 }, { "Call for help", "", 2 },
                                           { "Open airway", "", 3 }, { "Check breathing", "", 4 },
                                           { "Defibrillation", "", 5 } };
        session = DemoPorts::liveSession(250, rec);
        session->createView();
        session->start();
        for (int k = 0; k < 1300; ++k) {
            session->poll();
            // The event bars' buttons, as the graph page registers them.
            if (k % 60 == 30) {
                const EventButton& button = session->eventToolBar()[static_cast<std::size_t>(k / 60 % 5)];
                (k % 120 == 30 ? session->compressionDoc : session->ventilationDoc)
                    .addEvent(button.id, button.name, button.toolTip, button.eventType);
            }
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
                      sessionprint::Sources& sources, Session* target = nullptr)
    {
        const std::string path = std::string(ARTEFACT_DIR) + "/" + name + ".pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(evaluation ? QPageLayout::Portrait : QPageLayout::Landscape);
        reports.clear();
        printed = sessionprint::printSession(printer, target ? *target : *session, evaluation, settings, sources,
                                             [this](const std::wstring& text, const std::wstring& caption) {
                                                 reports.push_back(caption + L": " + text);
                                             });
        run("pdftoppm -r 50 -png '" + path + "' '" + std::string(ARTEFACT_DIR) + "/" + name + "'");
        info = run("pdfinfo '" + path + "'");
        words = wordsOf(run("pdftotext -bbox '" + path + "' -"));
        return run("pdftotext -layout '" + path + "' -");
    }

    testsupport::LogCapture log;
    GraphServices services;
    DemoPorts demo;
    std::unique_ptr<Session> session;
    std::vector<std::wstring> reports;
    bool printed = false;
    std::string info;
    std::vector<Word> words;
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
                             "Event registration (Ann Smith)", "Shake & shout", "Keep your arms straight",
                             "Approved: No", "Approved by: Dr. Berg", "Comments: Good compressions",
                             "Page 1 of 2", "Page 2 of 2"})
        EXPECT_TRUE(has(text, part)) << part;
    EXPECT_FALSE(has(text, "Shake && shout"));
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

// A target that cannot be opened, and a file cut short found out only at
// the end: a box and a line in the error log that say why and name the
// file, and no file left behind; for the evaluation (with its table) and
// the graphs.
TEST_F(SessionPrintTest, PrintTargetThatFailsIsReported)
{
    testsupport::TempDir dir;
    for (const auto& target : testsupport::failingPrintTargets(dir)) {
        for (const bool evaluation : {true, false}) {
            testsupport::LogCapture capture;
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(target.path));
            TableSources sources(*session);
            std::vector<std::wstring> boxes;
            bool printedAnyway = false;
            {
                testsupport::PrintTargetCondition condition(target);
                printedAnyway = sessionprint::printSession(printer, *session, evaluation, {}, sources,
                                                           [&](const std::wstring& text, const std::wstring& caption) {
                                                               boxes.push_back(caption + L": " + text);
                                                           });
            }
            EXPECT_FALSE(printedAnyway) << target.path;
            EXPECT_EQ(boxes, std::vector<std::wstring>{target.box()}) << target.path;
            EXPECT_NE(capture.text().find(target.logLine()), std::string::npos) << capture.text();
            EXPECT_FALSE(testsupport::anythingAt(target.path)) << target.path;
        }
    }
}

// The scale and time labels of the printed graphs: in their own small print
// font, none over another.
void expectPrintedLabelsApartAndReadable(const std::vector<Word>& words, const std::string& at)
{
    const std::regex label(R"(^([0-9]+\.[0-9][0-9]|[0-9]+:[0-9][0-9])$)");
    // The graphs stand below the session information (its last line names the metronome).
    double graphsTop = 0;
    for (const Word& w : words)
        if (w.page == 1 && w.text == "Metronome:")
            graphsTop = w.y1;
    ASSERT_GT(graphsTop, 0) << at;
    std::vector<const Word*> labels;
    for (const Word& w : words)
        if (w.page == 1 && w.y0 > graphsTop && std::regex_match(w.text, label))
            labels.push_back(&w);
    ASSERT_GE(labels.size(), 8u) << at;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double height = labels[i]->y1 - labels[i]->y0;
        EXPECT_TRUE(height > 5 && height < 10) << at << " " << labels[i]->text << " is " << height << " points high";
        for (std::size_t k = i + 1; k < labels.size(); ++k)
            EXPECT_FALSE(labels[i]->overlaps(*labels[k])) << at << " " << labels[i]->text << " on " << labels[k]->text;
    }
}

TEST_F(SessionPrintTest, PrintedGraphLabelsAreApartInTheirOwnFont)
{
    sessionprint::Settings s;
    print("graphs-labels", false, s);
    expectPrintedLabelsApartAndReadable(words, "graphs");
    print("evaluation-labels", true, s);
    expectPrintedLabelsApartAndReadable(words, "evaluation");
}

// The event icons of the graphs and of the event list are drawn, not placed
// as pictures with a transparency mask that a printer or viewer may lose
// (they came out as black squares): the page holds only the two header pictures.
TEST_F(SessionPrintTest, EventIconsArePrintedAsDrawing)
{
    sessionprint::Settings s;
    s.eventList = true;
    for (bool evaluation : { false, true }) {
        const std::string name = evaluation ? "evaluation-icons" : "graphs-icons";
        print(name, evaluation, s);
        const std::string images = run("pdfimages -list '" + std::string(ARTEFACT_DIR) + "/" + name + ".pdf'");
        EXPECT_FALSE(has(images, "mask")) << images;
        int pictures = 0;
        for (std::size_t at = images.find(" image "); at != std::string::npos; at = images.find(" image ", at + 1))
            ++pictures;
        EXPECT_EQ(pictures, evaluation ? 4 : 2) << images;
    }
}

// A stored session prints as the live one did: the same event names, and the
// graphs with the display options of the moment, whether or not its graph
// page was ever drawn.
TEST_F(SessionPrintTest, AStoredSessionPrintsAsTheLiveOne)
{
    SessionManager manager;
    sessionManager = &manager;
    manager.setDisplayOption(SessionManager::CARDIAC_OUTPUT, false);
    GraphView::compRelaxAsPercent = [] { return true; };
    services.path = std::string(ARTEFACT_DIR) + "/stored-session.dat";
    ASSERT_TRUE(sessiondata::save(*session, services.path, nullptr));
    SessionRecord rec = session->getRecord();
    rec.Manikin = -1;
    {
        Session stored(rec, session->getAlgorithm());
        ASSERT_TRUE(stored.isReplay());
        stored.createView();
        stored.poll();
        // One compression group, the same in both: its ratio and its cardiac output.
        CompressionGroup group;
        group.firstIndex = 200;
        group.ratioEndIndex = 500;
        group.outputEndIndex = 520;
        group.compressionPercent = 54;
        group.cardiacOutput = 3.2;
        session->getCommSession().groups[350] = group;
        stored.getCommSession().groups[350] = group;

        sessionprint::Settings s;
        s.eventList = true;
        const std::string live = print("evaluation-live", true, s);
        TableSources storedTable(stored);
        const std::string replayed = print("evaluation-stored", true, s, storedTable, &stored);
        EXPECT_TRUE(printed);
        EXPECT_EQ(replayed, live);
        for (const std::string* text : { &live, &replayed }) {
            const std::string plain = withoutLigatures(*text);
            EXPECT_TRUE(has(plain, "Shake & shout"));
            EXPECT_TRUE(has(plain, "Defibrillation"));
            EXPECT_TRUE(has(plain, "C/R ratio"));
            EXPECT_TRUE(has(plain, "54:46")) << "the ratio in the compression/relaxation notation";
            EXPECT_FALSE(has(plain, " 1.2 ")) << "not as a decimal";
            EXPECT_FALSE(has(plain, "CO. L/min")) << "the cardiac output is not shown";
            EXPECT_FALSE(has(plain, "3.2"));
        }
        const std::string graphs = print("graphs-stored", false, {}, storedTable, &stored);
        EXPECT_FALSE(has(graphs, "CO. L/min"));
        EXPECT_FALSE(has(graphs, "3.2"));
    }
    GraphView::compRelaxAsPercent = nullptr;
    sessionManager = nullptr;
}

} // namespace

namespace {

// The printed graphs alone, in the graph area of a landscape page at printer
// resolution, in the language whose catalogue is open; the words of the PDF.
std::vector<Word> printedGraphWords(const std::string& name, QRect& frame, double& pointsPerPixel)
{
    SessionRecord record;
    record.Manikin = -1; // fed by hand
    Algorithm algorithm;
    algorithm.compDepthLow = 10; // band labels inside the band, as they stand in most sessions
    algorithm.vVolLow = 0.2;
    algorithm.vVolHigh = 0.8;
    Session session(record, algorithm);
    auto& data = session.getCommSession().manData;
    for (int i = 0; i < 1200; ++i) {
        Measurement m;
        m.depth = 25 + 25 * std::sin(i * 0.6);
        m.volume = 0.3 + 0.2 * std::sin(i * 0.05);
        data.push_back(m);
    }
    SessionGraphView page(session);
    page.resize(1000, 640);
    session.poll();
    page.setPrintRange(1);

    const std::string path = std::string(ARTEFACT_DIR) + "/" + name + ".pdf";
    {
        QPdfWriter writer(QString::fromStdString(path));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        QPainter painter(&writer);
        const int W = writer.width();
        const int H = writer.height();
        const int m = W / 20;
        // Where the graphs printout puts them: below the header and the session information.
        frame = QRect(QPoint(m, H / 3), QPoint(W - m, H - 3 * m / 2));
        page.printGraphs(painter, frame, false);
        pointsPerPixel = 72.0 / writer.resolution();
    }
    page.detach();
    run("pdftoppm -r 100 -png '" + path + "' '" + std::string(ARTEFACT_DIR) + "/" + name + "'");
    return wordsOf(run("pdftotext -bbox '" + path + "' -"));
}

} // namespace

// Every printed label (the scale labels with the longest texts at the right
// edge, the legends, the titles, the times) lies wholly inside the graph's
// 3-pixel frame, in each language.
TEST(SessionPrintGraphs, LabelsStayInsideTheFrameInEveryLanguage)
{
    res::registerResources();
    QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
    FakeSessionServices services;
    for (const std::string language : { "en", "de", "ja" }) {
        if (language != "en")
            ASSERT_TRUE(theTranslator.open(std::string(CATALOGUE_DIR) + "/" + language + ".mo")) << language;
        QRect frame;
        double pt = 0;
        const std::vector<Word> words = printedGraphWords("graph-frame-" + language, frame, pt);
        // The frame's pen is 3 pixels wide on the rectangle's edges: its inside begins 2 pixels in.
        const double left = (frame.left() + 2) * pt;
        const double top = (frame.top() + 2) * pt;
        const double right = (frame.right() - 1) * pt;
        const double bottom = (frame.bottom() - 1) * pt;
        const std::wstring legend = translate("C/R ratio");
        const std::string legendWord = utf8(legend.substr(0, legend.find(L' ')));
        bool legendSeen = false;
        ASSERT_GE(words.size(), 10u) << language;
        for (const Word& w : words) {
            // A word may be cut where the font changes ("圧迫" "/解除比").
            legendSeen |= w.text.size() > 1 && legendWord.rfind(w.text, 0) == 0;
            EXPECT_TRUE(w.x0 > left && w.x1 < right && w.y0 > top && w.y1 < bottom)
                << language << ": \"" << w.text << "\" at " << w.x0 << ".." << w.x1 << ", " << w.y0 << ".." << w.y1
                << " in the frame's inside " << left << ".." << right << ", " << top << ".." << bottom;
        }
        EXPECT_TRUE(legendSeen) << language << ": " << legendWord;
        theTranslator.open("");
    }
}
