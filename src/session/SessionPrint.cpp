#include "session/SessionPrint.h"

#include "Utillib/DrawUtil.h"
#include "Utillib/Duration.h"
#include "Utillib/FontUtil.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/QtTextDevice.h"
#include "Utillib/TextBlock.h"
#include "config/PropertyModel.h"
#include "gettext/PrintFailureText.h"
#include "gettext/Translator.h"
#include "platformqt/PrintJob.h"
#include "platformqt/Window.h"
#include "session/GraphPainter.h"
#include "session/Session.h"
#include "session/SessionGraphView.h"
#include "session/SessionWindows.h"
#include "ui/ToolBar.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>

#include <algorithm>
#include <cstdio>

namespace sessionprint {

Settings settingsOf(const PropertyModel& model)
{
    Settings s;
    s.graph = model.printGraph;
    s.eventList = model.printEventList;
    s.debriefText = model.printDebriefingText;
    s.approval = model.printApprovalFields;
    s.graphMinutes = model.graphPrintMinutes;
    s.heading = model.getPrintHeading();
    return s;
}

std::vector<std::wstring> headingLines(const std::wstring& heading)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t at = heading.find(L"\r\n"); at != std::wstring::npos; at = heading.find(L"\r\n", start)) {
        lines.push_back(heading.substr(start, at - start));
        start = at + 2;
    }
    if (heading.size() - start >= 2)
        lines.push_back(heading.substr(start));
    if (lines.empty())
        lines.emplace_back();
    return lines;
}

std::wstring eventTimeText(int sampleIndex, double sampleRate)
{
    unsigned t = 0;
    // An event registered before the first sample is at the start.
    if (sampleIndex >= 0 && sampleRate > 0)
        t = static_cast<unsigned>((sampleIndex + 0.5) / sampleRate * 1000 + 0.5);
    wchar_t text[32];
    std::swprintf(text, 32, L"%u:%02u", t / 60000, (t % 60000) / 1000);
    return text;
}

std::wstring approvalText(int approved)
{
    if (approved == 0)
        return translate("Approved: __ Yes ___No");
    return approved == 1 ? translate("Approved: Yes") : translate("Approved: No");
}

std::wstring eventName(const Session& session, const GraphEvent& event)
{
    if (!event.name.empty())
        return event.name;
    for (const EventButton& button : session.eventToolBar())
        if (button.eventType == event.imageIndex)
            return button.name;
    return {};
}

bool hasSecondPage(bool evaluation, const Settings& settings)
{
    return evaluation && (settings.eventList || settings.debriefText);
}

namespace {

QString q(const std::wstring& text) { return QString::fromStdWString(text); }

// One print job: the painter, the fonts and the page geometry.
class Job {
public:
    Job(QPrinter& printer, QPainter& painter, Session& session, const Settings& settings, Sources& sources)
        : printer(printer)
        , p(painter)
        , session(session)
        , settings(settings)
        , sources(sources)
    {
        const std::string face = FontUtil::exists("DejaVu Sans", &printer, 0) ? "DejaVu Sans" : "Sans Serif";
        titleFont = QFont(QString::fromStdString(face));
        titleFont.setPixelSize(std::abs(FontUtil::pointSizeToHeight(200, &printer)));
        titleFont.setBold(true);
        bodyFont = QFont(QString::fromStdString(face));
        bodyFont.setPixelSize(std::abs(FontUtil::pointSizeToHeight(100, &printer)));
        p.setFont(bodyFont);
        p.setPen(QPen(Qt::black));
        p.setBrush(Qt::NoBrush);
        lh = height(L"Abjg");
        takeGeometry();
    }

    void takeGeometry()
    {
        W = printer.width();
        H = printer.height();
        m = W / 20;
    }

    int width(const std::wstring& text) const { return p.fontMetrics().horizontalAdvance(q(text)); }
    int height(const std::wstring&) const { return p.fontMetrics().height(); }
    void textOut(int x, int y, const std::wstring& text) { p.drawText(QPoint(x, y + p.fontMetrics().ascent()), q(text)); }

    int header()
    {
        const int h1 = static_cast<int>(H * 0.08);
        const int w1 = h1 * 459 / 315;
        Utillib::showDib(p, 166, W - m - w1, 0, w1, h1, 0, 0, 459, 315);
        const int h2 = static_cast<int>(H * 0.0304);
        const int w2 = h2 * 446 / 81;
        Utillib::showDib(p, 165, m, (h1 - h2) / 2, w2, h2, 0, 0, 446, 81);

        p.setFont(titleFont);
        const std::wstring title = translate("Training Results");
        int y = (h1 + h2) / 2;
        textOut((W - width(title)) / 2, y, title);
        const int titleHeight = height(title);
        p.setFont(bodyFont);

        const SessionRecord& rec = session.getRecord();
        const std::wstring when = GString::to_wstring(rec.CourseDate + " " + rec.StartTime);
        y = static_cast<int>(H * 0.01 + y + titleHeight);
        textOut((W - width(when)) / 2, y, when);
        y += height(when);

        const std::vector<std::wstring> lines = headingLines(settings.heading);
        int widest = 0;
        for (const std::wstring& line : lines)
            widest = std::max(widest, width(line));
        const int x = (W - widest) / 2;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int h = height(lines[i]);
            y += i == 0 ? h : h / 6;
            textOut(x, y, lines[i]);
            if (i + 1 < lines.size())
                y += h;
        }
        return y + height(L"A");
    }

    int sessionInformation(int y0)
    {
        const SessionRecord& rec = session.getRecord();
        std::wstring vent = translate("Ventilation: ") + GString::to_wstring(rec.PersonVentilation);
        if (m + width(vent) > W / 2)
            vent = translate("Vent: ") + GString::to_wstring(rec.PersonVentilation);
        std::wstring comp = translate("Compression: ") + GString::to_wstring(rec.PersonChestCompression);
        if (width(comp) > W / 2)
            comp = translate("Comp: ") + GString::to_wstring(rec.PersonChestCompression);
        int y = y0 + lh;
        textOut(m, y, vent);
        textOut(m, y + lh * 3 / 2, comp);
        if (!rec.CourseInstructor.empty())
            textOut(m, y + 3 * lh, translate("Course Instructor: ") + GString::to_wstring(rec.CourseInstructor));

        const std::wstring right[3] = {
            translate("Duration: ") + GString::to_wstring(durationText(static_cast<int>(session.elapsedSeconds()))),
            translate("Algorithm: ") + GString::to_wstring(session.getAlgorithm().Name),
            translate("Metronome: ") + (rec.Metronome == 1 ? translate("on") : translate("off")),
        };
        for (const std::wstring& line : right) {
            textOut(W - m - width(line), y, line);
            y += lh * 3 / 2;
        }
        return y0 + lh * 13 / 2;
    }

    // One column of the list from `from`; at most 21 rows, then "...".
    int eventColumn(const std::vector<const GraphEvent*>& events, std::size_t from, std::size_t count, int left,
                    int right, int y)
    {
        const double rate = session.getCommSession().sampleRate;
        const std::size_t rows = std::min<std::size_t>(count, 21);
        // The icons with their mask colour transparent, as on the event bars.
        static const EventIconList icons(0);
        for (std::size_t i = 0; i < rows; ++i) {
            const GraphEvent& e = *events[from + i];
            const QPixmap icon = icons.icon(e.imageIndex);
            if (!icon.isNull())
                drawPixelsScaled(p, icon.toImage(), QRect(left, y, lh, lh));
            std::wstring name = eventName(session, e);
            for (std::size_t at = name.find(L"&&"); at != std::wstring::npos; at = name.find(L"&&", at + 1))
                name.replace(at, 2, L"&");
            const int nameX = left + lh * 5 / 4;
            textOut(nameX, y, name);
            const std::wstring time = eventTimeText(e.sampleIndex, rate);
            const int timeX = right - width(time);
            textOut(timeX, y + lh / 4, time);
            const int dotsX = nameX + width(name) + width(L" ");
            std::wstring dots;
            while (dotsX + width(dots + L".") < timeX - width(L" "))
                dots += L".";
            if (!dots.empty())
                dots.pop_back();
            textOut(dotsX, y, dots);
            y += lh * 5 / 4;
        }
        if (count > rows) {
            textOut(left, y, L"...");
            y += lh * 5 / 4;
        }
        return y;
    }

    int eventList(int y)
    {
        const SessionRecord& rec = session.getRecord();
        const auto heading = [](const std::string& person) {
            return translate("Event registration (") + GString::to_wstring(person) + L")";
        };
        std::vector<const GraphEvent*> vent, comp, merged;
        for (const GraphEvent& e : session.ventilationDoc.getEvents())
            vent.push_back(&e);
        for (const GraphEvent& e : session.compressionDoc.getEvents())
            comp.push_back(&e);
        const int leftA = 2 * m, rightA = W / 2 - 2 * m, leftB = W / 2 + 2 * m, rightB = W - 2 * m;
        const int rows = y + 2 * lh;
        if (rec.TrainingMode == 1) {
            textOut(m, y, heading(rec.PersonVentilation));
            textOut(m + W / 2, y, heading(rec.PersonChestCompression));
            return std::max(eventColumn(vent, 0, vent.size(), leftA, rightA, rows),
                            eventColumn(comp, 0, comp.size(), leftB, rightB, rows));
        }
        if (rec.TrainingMode == 3) {
            textOut(m, y, heading(rec.PersonChestCompression));
            merged = comp;
        } else {
            textOut(m, y, heading(rec.PersonVentilation));
            merged = vent;
            if (rec.TrainingMode == 0) {
                merged.insert(merged.end(), comp.begin(), comp.end());
                // In order of sample; on the same sample the compression event first.
                std::stable_sort(merged.begin(), merged.end(), [&](const GraphEvent* a, const GraphEvent* b) {
                    if (a->sampleIndex != b->sampleIndex)
                        return a->sampleIndex < b->sampleIndex;
                    const bool aComp = std::find(comp.begin(), comp.end(), a) != comp.end();
                    const bool bComp = std::find(comp.begin(), comp.end(), b) != comp.end();
                    return aComp && !bComp;
                });
            }
        }
        const std::size_t first = std::min<std::size_t>(merged.size(), 21);
        const int endA = eventColumn(merged, 0, first, leftA, rightA, rows);
        // What the right column cannot hold is marked there with "...".
        const int endB = eventColumn(merged, first, merged.size() - first, leftB, rightB, rows);
        return std::max(endA, endB);
    }

    int advice(int y)
    {
        QtTextDevice device(p);
        TextBlock block(device, sources.adviceText());
        SIZE used = block.draw(device, W - 2 * m, m, y + lh, 0);
        return y + lh + used.cy;
    }

    void approvalFields()
    {
        const SessionRecord& rec = session.getRecord();
        const int y0 = H - 10 * lh;
        const std::wstring approved = approvalText(rec.Approved);
        const std::wstring by = translate("Approved by: ") + GString::to_wstring(rec.ApprovedBy);
        const std::wstring comments = translate("Comments:") + L" " + GString::to_wstring(rec.Note);
        const int d = static_cast<int>(W * 0.02);
        int xA, xB;
        if (std::max(width(approved), width(by)) + width(translate("Comments:")) < W / 2 - m - d) {
            xA = W / 2 + m;
            xB = xA + d;
        } else {
            xA = W / 2;
            xB = W / 2 + d;
        }
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(QRect(QPoint(m, y0), QPoint(xA - 1, H - 2 * lh - 1)));
        p.drawRect(QRect(QPoint(xB, y0), QPoint(W - m - 1, H - 2 * lh - 1)));
        p.setPen(QPen(Qt::black));
        const QRect inside(QPoint(m + 10, y0 + 5), QPoint(xA - 10 - 1, H - 2 * lh - 5 - 1));
        p.drawText(inside, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, elidedToFit(q(comments), inside));
        const int i = static_cast<int>(W * 0.024);
        textOut(xB + i, y0 + lh, approved);
        textOut(xB + i, y0 + lh * 5 / 2, by);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawLine(xB + i, H - lh * 5 / 2, W - m - i, H - lh * 5 / 2);
        p.setPen(QPen(Qt::black));
    }

    // The text cut at a word, with "...", so that its wrapped lines fit.
    QString elidedToFit(const QString& text, const QRect& box) const
    {
        const QFontMetrics fm = p.fontMetrics();
        const auto fits = [&](const QString& t) {
            return fm.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t).height() <= box.height();
        };
        if (fits(text))
            return text;
        QString cut = text;
        while (!cut.isEmpty()) {
            int blank = cut.lastIndexOf(QLatin1Char(' '));
            cut = blank > 0 ? cut.left(blank) : cut.left(cut.size() - 1);
            if (fits(cut + QStringLiteral("...")))
                return cut + QStringLiteral("...");
        }
        return QString();
    }

    void footer(int page, int pages)
    {
        wchar_t numbers[64];
        std::swprintf(numbers, 64, L"%d", page);
        std::wstring text = translate("Page ") + numbers;
        std::swprintf(numbers, 64, L"%d", pages);
        text += translate(" of ") + numbers;
        textOut(W - m - width(text), H - height(text), text);
    }

    QPrinter& printer;
    QPainter& p;
    Session& session;
    const Settings& settings;
    Sources& sources;
    QFont titleFont;
    QFont bodyFont;
    int lh = 0;
    int W = 0;
    int H = 0;
    int m = 0;
};

} // namespace

PageSources::PageSources(Session& owner)
    : session(owner)
{
}

int PageSources::printTable(QPainter& painter, int left, int top, int width, int lineHeight)
{
    auto* table = dynamic_cast<PrintedTable*>(session.debriefPage());
    // Printing is offered only for a session whose debriefing page exists.
    LOG_ASSERT(table != nullptr);
    return table ? table->printTable(painter, left, top, width, lineHeight) : 0;
}

std::wstring PageSources::adviceText() { return session.adviceText(); }

bool PageSources::hasGraphs() const { return dynamic_cast<GraphPageHandle*>(session.graphPage()) != nullptr; }

void PageSources::setPrintRange(int minutes)
{
    if (auto* graphs = dynamic_cast<GraphPageHandle*>(session.graphPage()); graphs && graphs->page())
        graphs->page()->setPrintRange(minutes);
}

void PageSources::printGraphs(QPainter& painter, const QRect& rect, bool monochrome)
{
    if (auto* graphs = dynamic_cast<GraphPageHandle*>(session.graphPage()); graphs && graphs->page())
        graphs->page()->printGraphs(painter, rect, monochrome);
}

bool printSession(QPrinter& printer, Session& session, bool evaluation, const Settings& settings, Sources& sources,
                  const ErrorReporter& report)
{
    printer.setDocName(QString::fromStdWString(translate("Tavo CPR Evaluation Data")));
    QPainter painter;
    platform::PrintJob printJob(printer);
    if (!printJob.begin(painter)) {
        LogStream::instance() << "The printer could not be opened: " << printJob.failure().logText().toStdString()
                              << LogStream::endl;
        report(printFailureText(translate("Error initializing printer"), printJob.failure()), translate("Printer error"));
        return false;
    }
    Job job(printer, painter, session, settings, sources);
    const bool twoPages = hasSecondPage(evaluation, settings);

    int y = job.header();
    y = job.sessionInformation(y);
    QRect graphArea;
    if (evaluation) {
        y += sources.printTable(painter, job.m, y, job.W - 2 * job.m, job.lh) + job.lh;
        graphArea = QRect(QPoint(job.m, y), QPoint(job.W - job.m - 1, static_cast<int>(job.H * 0.29 + y) - 1));
        if (sources.hasGraphs())
            sources.setPrintRange(settings.graphMinutes);
    } else {
        graphArea = QRect(QPoint(job.m, y + job.m / 2), QPoint(job.W - job.m - 1, job.H - 3 * job.m / 2 - 1));
    }
    if (settings.graph) {
        if (sources.hasGraphs())
            sources.printGraphs(painter, graphArea, printer.colorMode() == QPrinter::GrayScale);
        else
            LOG_ASSERT(sources.hasGraphs());
    }

    if (twoPages) {
        job.footer(1, 2);
        if (!printer.newPage()) {
            printJob.abandon(painter);
            LogStream::instance() << "The printer refused a new page" << LogStream::endl;
            report(translate("Error initializing new page"), translate("Printer error"));
            return false;
        }
        job.takeGeometry();
        y = job.header();
        y = job.sessionInformation(y);
        if (settings.eventList)
            y = job.eventList(y);
        if (settings.debriefText)
            y = job.advice(y);
        if (settings.approval)
            job.approvalFields();
        job.footer(2, 2);
    } else if (evaluation && settings.approval) {
        job.approvalFields();
    }
    // A job that could not be finished (a full disk, a spooler that gave up)
    // is not reported as printed.
    if (!printJob.end(painter)) {
        LogStream::instance() << "The print job could not be finished: " << printJob.failure().logText().toStdString()
                              << LogStream::endl;
        report(printFailureText(translate("The printout could not be finished."), printJob.failure()),
               translate("Printer error"));
        return false;
    }
    return true;
}

} // namespace sessionprint
