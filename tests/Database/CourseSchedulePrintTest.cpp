// Printing of a course's schedule: the page geometry alone, then schedules
// printed to PDF files that pdftotext reads back and pdftoppm renders into
// the artefact folder (look at them), and a print target that fails.
#include "Database/CourseSchedulePrint.h"
#include "res/Resources.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>

namespace {

TEST(CourseSchedulePrintLayout, PageGeometryFollowsThePageSize)
{
    const courseprint::Geometry g = courseprint::geometryOf(4800, 6600);
    EXPECT_EQ(g.margin, 240);
    EXPECT_EQ(g.smallHeight, 200);
    EXPECT_EQ(g.largeHeight, 528);
    EXPECT_EQ(g.smallWidth, 1027);
    EXPECT_EQ(g.smallX, 240);
    EXPECT_EQ(g.smallY, 164);
    // The whole picture (459 x 315), its right edge on the margin.
    EXPECT_EQ(g.largeWidth, 769);
    EXPECT_EQ(g.largeX, 3791);
    EXPECT_EQ(g.largeX + g.largeWidth, 4800 - g.margin);
    EXPECT_EQ(g.titleY, 364);

    SessionRecord row;
    row.StartTime = "09:02";
    row.EndTime = "09:12";
    EXPECT_EQ(courseprint::timeText(row), "09:02-09:12");
    row.EndTime.clear();
    EXPECT_EQ(courseprint::timeText(row), "09:02-") << "a scenario without time limit";
}

// The columns between 240 and 4560, 96 apart: the manikin and time columns
// take their own width, the name columns share the rest.
TEST(CourseSchedulePrintLayout, ColumnsFollowThePageAndTheirTexts)
{
    const struct {
        const char* name;
        int needed[5];
        int start[5];
        int width[5];
    } cases[] = {
        // 3536 for the names: 1200 needed, 2336 more shared out.
        {"all fit", {300, 400, 500, 150, 250}, {240, 1414, 2688, 4062, 4308}, {1078, 1178, 1278, 150, 250}},
        // A long scenario takes what the short names leave.
        {"long scenario", {300, 300, 5000, 150, 250}, {240, 636, 1032, 4064, 4310}, {300, 300, 2936, 150, 250}},
        // All too wide: equal shares, give or take a pixel.
        {"all too wide", {5000, 6000, 7000, 150, 250}, {240, 1514, 2789, 4064, 4310}, {1178, 1179, 1179, 150, 250}},
    };
    for (const auto& c : cases) {
        const courseprint::Columns columns = courseprint::layoutColumns(240, 4560, 96, c.needed);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(columns.start[i], c.start[i]) << c.name << " " << i;
            EXPECT_EQ(columns.width[i], c.width[i]) << c.name << " " << i;
        }
        EXPECT_LE(columns.start[4] + columns.width[4], 4560) << c.name;
    }
}

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

// A word of a PDF and its box in points, as pdftotext -bbox gives it.
struct Word {
    std::string text;
    double x0, y0, x1, y1;
};

std::vector<Word> wordsOf(const std::string& xhtml)
{
    std::vector<Word> words;
    const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator it(xhtml.begin(), xhtml.end(), word), end; it != end; ++it)
        words.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
    return words;
}

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Row k of a test schedule; every name is unique in the printout.
SessionRecord plannedRow(int k)
{
    SessionRecord row;
    char text[32];
    std::snprintf(text, sizeof text, "Vent%02d Berg", k);
    row.PersonVentilation = text;
    std::snprintf(text, sizeof text, "Comp%02d Lund", k);
    row.PersonChestCompression = text;
    row.Scenario = "Adult basic";
    row.Manikin = 247 + k % 3;
    std::snprintf(text, sizeof text, "%02d:%02d", 9 + k / 6, k % 6 * 10);
    row.StartTime = text;
    std::snprintf(text, sizeof text, "%02d:%02d", 9 + k / 6, k % 6 * 10 + 9);
    row.EndTime = text;
    return row;
}

class CourseSchedulePrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        res::registerResources();
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        course.Instructor = "Dr. Berg";
        course.Date = "2026-12-10";
        course.Time = "09:00";
        course.DefaultScenario = "Adult basic";
    }

    // Prints into the artefact folder; the text of the PDF.
    std::string print(const std::string& name, const std::vector<SessionRecord>& rows,
                      const QPageSize& page = QPageSize(QPageSize::A4))
    {
        const std::string path = std::string(ARTEFACT_DIR) + "/" + name + ".pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPageSize(page);
        reports.clear();
        printed = courseprint::printCourseSchedule(printer, course, rows,
                                                   [this](const std::wstring& text, const std::wstring& caption) {
                                                       reports.push_back(caption + L": " + text);
                                                   });
        run("pdftoppm -r 50 -png '" + path + "' '" + std::string(ARTEFACT_DIR) + "/" + name + "'");
        info = run("pdfinfo '" + path + "'");
        words = wordsOf(run("pdftotext -bbox '" + path + "' -"));
        return run("pdftotext -layout '" + path + "' -");
    }

    testsupport::LogCapture log;
    CourseRecord course;
    std::vector<std::wstring> reports;
    bool printed = false;
    std::string info;
    std::vector<Word> words;
};

// The forms' schedules end in an empty input row: the page lists the
// sessions above it and never that row.
TEST_F(CourseSchedulePrintTest, ThreeSessionsOnOnePageWithoutTheInputRow)
{
    course.Note = "Bring the pocket masks. The second group starts in room 2 after the break, "
                  "when the manikins have been cleaned and checked again by the assistants.";
    std::vector<SessionRecord> rows = {plannedRow(0), plannedRow(1), plannedRow(2)};
    rows[1].PersonVentilation = "Maximiliane Theodora Wilhelmina von Hohenzollern-Sigmaringen";
    SessionRecord placeholder;
    placeholder.Scenario = "Adult basic";
    placeholder.Manikin = 249;
    placeholder.StartTime = "09:31";
    placeholder.EndTime = "09:41";
    rows.push_back(placeholder);

    const std::string text = print("schedule-3-rows", rows);
    EXPECT_TRUE(printed);
    EXPECT_TRUE(reports.empty());
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Tavo CPR Course Schedule"), std::string::npos) << info;
    for (const char* part : {"Course schedule", "Instructor: Dr. Berg on 2026-12-10 at 09:00",
                             "Default scenario: Adult basic", "Notes:", "Bring the pocket masks.", "assistants.",
                             "Ventilation", "Chest compression", "Scenario", "Manikin", "Time"})
        EXPECT_EQ(count(text, part) > 0, true) << part;
    EXPECT_EQ(count(text, "Vent00 Berg"), 1);
    EXPECT_EQ(count(text, "Comp02 Lund"), 1);
    EXPECT_EQ(count(text, "09:00-09:09"), 1);
    EXPECT_EQ(count(text, "09:31-"), 0) << "the input row's times: " << text;
    EXPECT_EQ(count(text, "Adult basic"), 4) << "the default scenario line and three sessions";
    EXPECT_EQ(count(text, "ManikinTime"), 0) << "headings apart: " << text;
    // A name wider than its column ends in an ellipsis inside it.
    EXPECT_EQ(count(text, "Hohenzollern-Sigmaringen"), 0);
    EXPECT_EQ(count(text, "Maximiliane"), 1);
    // Three numbered lines: the number starts each one.
    for (const char* line : {"1 ", "2 ", "3 "})
        EXPECT_NE(text.find(std::string("\n") + line), std::string::npos) << line;
    EXPECT_EQ(text.find("\n4 "), std::string::npos) << text;

    // A course with no session yet prints its headings and no line.
    const std::string empty = print("schedule-input-row-only", {placeholder});
    EXPECT_TRUE(printed);
    EXPECT_EQ(count(empty, "Chest compression"), 1);
    EXPECT_EQ(count(empty, "09:31-"), 0) << empty;
    EXPECT_EQ(empty.find("\n1 "), std::string::npos) << empty;
}

// Only an empty row at the end is the input row; a session without
// participants further up is still one of the course's.
TEST(CourseSchedulePrintLayout, SessionsAreTheRowsAboveTheInputRow)
{
    SessionRecord named = plannedRow(0);
    SessionRecord empty;
    SessionRecord compressionOnly;
    compressionOnly.PersonChestCompression = "Lund";
    const struct {
        const char* name;
        std::vector<SessionRecord> rows;
        std::size_t sessions;
    } cases[] = {
        {"nothing", {}, 0},
        {"input row only", {empty}, 0},
        {"sessions and input row", {named, named, empty}, 2},
        {"no input row", {named, named}, 2},
        {"empty session above", {named, empty, empty}, 2},
        {"last row has a participant", {named, compressionOnly}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(courseprint::sessionCount(c.rows), c.sessions) << c.name;
}

TEST_F(CourseSchedulePrintTest, LongScheduleGoesOnOverPagesAndLosesNoRow)
{
    std::vector<SessionRecord> rows;
    for (int k = 0; k < 60; ++k)
        rows.push_back(plannedRow(k));
    rows[7].Scenario = "10 minute BLS (adult, two rescuers)";
    const std::string text = print("schedule-60-rows", rows);
    // Short names leave the scenario room to print whole.
    EXPECT_EQ(count(text, "10 minute BLS (adult, two rescuers)"), 1) << text;
    EXPECT_TRUE(printed);
    EXPECT_TRUE(reports.empty());
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    for (int k = 0; k < 60; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "Vent%02d Berg", k);
        EXPECT_EQ(count(text, name), 1) << name;
        std::snprintf(name, sizeof name, "Comp%02d Lund", k);
        EXPECT_EQ(count(text, name), 1) << name;
    }
    EXPECT_EQ(count(text, "Chest compression"), 2) << "the headings again on the second page";
    EXPECT_EQ(count(text, "Course schedule"), 1) << "the title only on the first page";
    EXPECT_NE(text.find("60 "), std::string::npos);
}

// On a narrow page the three name columns, all wanted wider than there is
// room, are narrower than their bold headings: each heading is cut to its
// column and none runs into the next.
TEST_F(CourseSchedulePrintTest, HeadingsStayInsideNarrowColumns)
{
    std::vector<SessionRecord> rows = {plannedRow(0), plannedRow(1)};
    rows[0].PersonVentilation = "Maximiliane Theodora Wilhelmina von Hohenzollern";
    rows[0].PersonChestCompression = "Bartholomew Alexander Montgomery-Fitzwilliam";
    rows[0].Scenario = "10 minute BLS (adult, two rescuers, with defibrillator)";
    const QPageSize page(QSizeF(105, 148), QPageSize::Millimeter, QStringLiteral("narrow"));
    const std::string text = print("schedule-narrow-headings", rows, page);
    EXPECT_TRUE(printed);

    // The heading line is the one "Manikin" stands on (never cut: its
    // column is as wide as it).
    const auto manikin = std::find_if(words.begin(), words.end(), [](const Word& w) { return w.text == "Manikin"; });
    ASSERT_NE(manikin, words.end()) << text;
    std::vector<Word> line;
    for (const Word& w : words)
        if (std::abs(w.y0 - manikin->y0) < 1)
            line.push_back(w);
    std::sort(line.begin(), line.end(), [](const Word& a, const Word& b) { return a.x0 < b.x0; });
    std::string shown;
    for (const Word& w : line)
        shown += w.text + " ";
    ASSERT_GE(line.size(), 5u) << shown;
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        EXPECT_LE(line[i].x1, line[i + 1].x0 + 0.1) << line[i].text << " runs into " << line[i + 1].text << ": " << shown;
    EXPECT_LE(line.back().x1, 105 / 25.4 * 72 * 0.95 + 0.1) << "past the right margin: " << shown;
    EXPECT_EQ(shown.find("compression"), std::string::npos) << "cut with an ellipsis: " << shown;
    EXPECT_NE(shown.find("\u2026"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Time"), std::string::npos) << shown;
}

// A target that cannot be opened, and a file cut short found out only at
// the end: a box and a line in the error log that say why and name the
// file, and no file left behind.
TEST_F(CourseSchedulePrintTest, PrintTargetThatFailsIsReported)
{
    testsupport::TempDir dir;
    for (const auto& target : testsupport::failingPrintTargets(dir)) {
        testsupport::LogCapture log;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(target.path));
        std::vector<std::wstring> boxes;
        bool printedAnyway = false;
        {
            testsupport::PrintTargetCondition condition(target);
            printedAnyway = courseprint::printCourseSchedule(printer, course, {plannedRow(0)},
                                                             [&](const std::wstring& text, const std::wstring& caption) {
                                                                 boxes.push_back(caption + L": " + text);
                                                             });
        }
        EXPECT_FALSE(printedAnyway) << target.path;
        EXPECT_EQ(boxes, std::vector<std::wstring>{target.box()}) << target.path;
        EXPECT_NE(log.text().find(target.logLine()), std::string::npos) << log.text();
        EXPECT_FALSE(testsupport::anythingAt(target.path)) << target.path;
    }
}

} // namespace
