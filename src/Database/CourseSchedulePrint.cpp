#include "Database/CourseSchedulePrint.h"

#include "Database/CourseSchedule.h"
#include "Utillib/DrawUtil.h"
#include "Utillib/FontUtil.h"
#include "Utillib/LogStream.h"
#include "gettext/PrintFailureText.h"
#include "gettext/Translator.h"
#include "platformqt/PrintJob.h"
#include "platformqt/Window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace courseprint {

namespace {
// The size of picture 166.
constexpr int largeSourceWidth = 459;
constexpr int largeSourceHeight = 315;
} // namespace

Geometry geometryOf(int W, int H)
{
    Geometry g;
    g.margin = static_cast<int>(W * 0.05);
    g.smallHeight = static_cast<int>(H * 0.0304);
    g.largeHeight = static_cast<int>(H * 0.08);
    const int M = g.margin;
    g.smallWidth = 411 * g.smallHeight / 80;
    g.smallX = M;
    g.smallY = static_cast<int>((g.largeHeight - g.smallHeight) * 0.5);
    // The whole picture, as the session printouts draw it, inside the margin.
    g.largeWidth = largeSourceWidth * g.largeHeight / largeSourceHeight;
    g.largeX = W - g.largeWidth - M;
    g.titleY = static_cast<int>((g.smallHeight + g.largeHeight) * 0.5);
    return g;
}

Columns layoutColumns(int left, int right, int gap, const int (&needed)[5])
{
    Columns c;
    c.width[3] = needed[3];
    c.width[4] = needed[4];
    const int room = std::max(0, right - left - 4 * gap - needed[3] - needed[4]);
    // The narrowest name column first: what it leaves goes to the others.
    int order[3] = {0, 1, 2};
    std::sort(std::begin(order), std::end(order), [&](int a, int b) { return needed[a] < needed[b]; });
    int leftOver = room;
    for (int k = 0; k < 3; ++k) {
        const int i = order[k];
        c.width[i] = std::min(std::max(0, needed[i]), leftOver / (3 - k));
        leftOver -= c.width[i];
    }
    for (int i = 0; i < 3; ++i)
        c.width[i] += leftOver / 3;
    c.start[0] = left;
    for (int i = 1; i < 5; ++i)
        c.start[i] = c.start[i - 1] + c.width[i - 1] + gap;
    return c;
}

std::string timeText(const SessionRecord& row) { return row.StartTime + "-" + row.EndTime; }

std::size_t sessionCount(const std::vector<SessionRecord>& rows)
{
    // The forms keep an empty input row last; it is no session of the course.
    if (!rows.empty() && CourseSchedule::isPlaceholder(rows.back()))
        return rows.size() - 1;
    return rows.size();
}

namespace {

QString q(const std::wstring& text) { return QString::fromStdWString(text); }
QString q(const std::string& text) { return platform::ansiToQString(text); }

QFont pageFont(QPaintDevice* device, int tenths, bool bold)
{
    const char* face = FontUtil::exists("DejaVu Sans", device, 0) ? "DejaVu Sans" : "Sans Serif";
    QFont font{QString::fromLatin1(face)};
    font.setPixelSize(std::abs(FontUtil::pointSizeToHeight(tenths, device)));
    font.setBold(bold);
    return font;
}

// One printout: the painter with its fonts and the running position.
class Job {
public:
    Job(QPrinter& printer, QPainter& painter)
        : printer(printer)
        , p(painter)
        , W(printer.width())
        , H(printer.height())
        , g(geometryOf(W, H))
        , titleFont(pageFont(&printer, 200, true))
        , headingFont(pageFont(&printer, 100, true))
        , bodyFont(pageFont(&printer, 100, false))
    {
        p.setPen(QPen(Qt::black));
        p.setBrush(Qt::NoBrush);
    }

    int width(const QString& text) const { return p.fontMetrics().horizontalAdvance(text); }
    int height() const { return p.fontMetrics().height(); }
    // Text with its top at y, as a line of the page is placed.
    void textOut(int x, int top, const QString& text) { p.drawText(QPoint(x, top + p.fontMetrics().ascent()), text); }
    // One line between left and right, cut with "..." when it is too wide.
    void cell(int left, int right, int top, int bottom, const QString& text)
    {
        const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
        // A text as wide as its column, measured so when the column was laid
        // out, stays whole.
        const bool fits = width(text) <= right - left;
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   fits ? text : p.fontMetrics().elidedText(text, Qt::ElideRight, right - left));
    }

    void header(const CourseRecord& course)
    {
        Utillib::showDib(p, 165, g.smallX, g.smallY, g.smallWidth, g.smallHeight, 0, 0, 411, 80);
        Utillib::showDib(p, 166, g.largeX, 0, g.largeWidth, g.largeHeight, 0, 0, largeSourceWidth, largeSourceHeight);

        p.setFont(titleFont);
        const QString title = q(translate("Course schedule"));
        textOut(static_cast<int>((W - width(title)) * 0.5), g.titleY, title);
        const int th = height();

        p.setFont(bodyFont);
        y = static_cast<int>(H * 0.01 + th + (g.smallHeight + g.largeHeight) * 0.5);
        const QString courseLine = q(translate("Instructor: ")) + q(course.Instructor) + q(translate(" on ")) +
                                   q(course.Date) + q(translate(" at ")) + q(course.Time);
        textOut(g.margin, y, courseLine);
        h = height();
        y = static_cast<int>(h * 1.5 + y);
        textOut(g.margin, y, q(translate("Default scenario: ")) + q(course.DefaultScenario));
        h = height();
        if (!course.Note.empty()) {
            y = static_cast<int>(h * 1.5 + y);
            const QString notes = q(translate("Notes:"));
            textOut(g.margin, y, notes);
            const int nw = width(notes);
            h = height();
            QString note = q(course.Note);
            note.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            const QRect box(QPoint(nw + 2 * g.margin, y), QPoint(W - g.margin - 1, H - g.margin - 1));
            QRect used;
            p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note, &used);
            // A note longer than the page is cut at the margin, and so is the room it takes.
            y += std::min(used.height(), box.height());
        }
        y += 2 * h;
        headings();
    }

    static QString heading(int column)
    {
        static const char* const texts[5] = {"Ventilation", "Chest compression", "Scenario", "Manikin", "Time"};
        return q(translate(texts[column]));
    }

    static QString cellText(int column, const SessionRecord& r)
    {
        switch (column) {
        case 0: return q(r.PersonVentilation);
        case 1: return q(r.PersonChestCompression);
        case 2: return q(r.Scenario);
        case 3: return QString::number(r.Manikin);
        default: return q(timeText(r));
        }
    }

    // The columns from the page width and the widest heading or cell of each.
    void layOut(const std::vector<SessionRecord>& rows)
    {
        int needed[5] = {};
        p.setFont(headingFont);
        for (int i = 0; i < 5; ++i)
            needed[i] = width(heading(i));
        p.setFont(bodyFont);
        for (const SessionRecord& r : rows)
            for (int i = 0; i < 5; ++i)
                needed[i] = std::max(needed[i], width(cellText(i, r)));
        columns = layoutColumns(g.margin, W - g.margin, static_cast<int>(W * 0.02), needed);
    }

    // A heading wider than its column (narrow name columns, a long
    // translation) is cut like a cell, so it never runs into the next one.
    void headings()
    {
        p.setFont(headingFont);
        const int bottom = y + height();
        for (int i = 0; i < 5; ++i)
            cell(columns.start[i], columns.start[i] + columns.width[i], y, bottom, heading(i));
        p.setFont(bodyFont);
    }

    // Whether the row that would follow still fits above the bottom margin.
    bool rowFits() const
    {
        const int top = static_cast<int>(y + 1.5 * h);
        return static_cast<int>(1.4 * h + top) <= H - g.margin;
    }

    // Goes on at the top of a new page with the headings again.
    bool nextPage()
    {
        if (!printer.newPage())
            return false;
        y = g.margin;
        headings();
        return true;
    }

    void row(int number, const SessionRecord& r)
    {
        y = static_cast<int>(y + 1.5 * h);
        const int bottom = static_cast<int>(1.4 * h + y);
        cell(g.margin / 2, g.margin, y, bottom, QString::number(number));
        for (int i = 0; i < 4; ++i)
            cell(columns.start[i], columns.start[i] + columns.width[i], y, bottom, cellText(i, r));
        textOut(columns.start[4], y, cellText(4, r));
    }

    QPrinter& printer;
    QPainter& p;
    const int W;
    const int H;
    const Geometry g;
    const QFont titleFont;
    const QFont headingFont;
    const QFont bodyFont;
    Columns columns;
    int y = 0;
    int h = 0;
};

} // namespace

bool printCourseSchedule(QPrinter& printer, const CourseRecord& course, const std::vector<SessionRecord>& rows,
                         const ErrorReporter& report)
{
    printer.setDocName(q(translate("Tavo CPR Course Schedule")).left(99));
    QPainter painter;
    platform::PrintJob printJob(printer);
    if (!printJob.begin(painter)) {
        LogStream::instance() << "The printer could not be opened: " << printJob.failure().logText().toStdString()
                              << LogStream::endl;
        report(printFailureText(translate("Error initializing printer"), printJob.failure()), translate("Printer error"));
        return false;
    }
    const std::vector<SessionRecord> sessions(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(sessionCount(rows)));
    Job job(printer, painter);
    job.layOut(sessions);
    job.header(course);
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        // A row that would pass the bottom margin starts the next page; the
        // first row under the headings is always printed.
        if (!job.rowFits() && job.y > job.g.margin && !job.nextPage()) {
            printJob.abandon(painter);
            LogStream::instance() << "The printer refused a new page" << LogStream::endl;
            report(translate("Error initializing new page"), translate("Printer error"));
            return false;
        }
        job.row(static_cast<int>(i) + 1, sessions[i]);
    }
    if (!printJob.end(painter)) {
        LogStream::instance() << "The print job could not be finished: " << printJob.failure().logText().toStdString()
                              << LogStream::endl;
        report(printFailureText(translate("The printout could not be finished."), printJob.failure()),
               translate("Printer error"));
        return false;
    }
    return true;
}

} // namespace courseprint
