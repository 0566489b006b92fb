#pragma once
// The paper record of one session: its evaluation (portrait: header, session
// information, the debriefing table, the graphs, and by the print settings a
// second page with the event registration list and the advice, and the
// approval and comments fields) or its graphs (landscape). Everything is
// painted with a QPainter onto the print target the caller set up: a
// printer, or a PDF file.
#include <QRect>

#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class Session;
struct GraphEvent;
class PropertyModel;

namespace sessionprint {

// The print settings of the configuration.
struct Settings {
    bool graph = true;
    bool eventList = false;
    bool debriefText = false;
    bool approval = false;
    int graphMinutes = 5;
    std::wstring heading;
};
Settings settingsOf(const PropertyModel& model);

// What the printout draws from the session's pages.
class Sources {
public:
    virtual ~Sources() = default;
    // The debriefing table at (left, top) in `width`; the height it used.
    virtual int printTable(QPainter& painter, int left, int top, int width, int lineHeight) = 0;
    // Whether there is a graph page to draw the graphs.
    virtual bool hasGraphs() const = 0;
    virtual void setPrintRange(int minutes) = 0;
    virtual void printGraphs(QPainter& painter, const QRect& rect, bool monochrome) = 0;
    virtual std::wstring adviceText() = 0;
};

// A page that prints the debriefing table (the debriefing page).
class PrintedTable {
public:
    virtual ~PrintedTable() = default;
    virtual int printTable(QPainter& painter, int left, int top, int width, int lineHeight) = 0;
};

// The sources of a session with windows: its graph page, its debriefing
// page and its advice.
class PageSources : public Sources {
public:
    explicit PageSources(Session& session);
    int printTable(QPainter& painter, int left, int top, int width, int lineHeight) override;
    bool hasGraphs() const override;
    void setPrintRange(int minutes) override;
    void printGraphs(QPainter& painter, const QRect& rect, bool monochrome) override;
    std::wstring adviceText() override;

private:
    Session& session;
};

// The print heading's lines: split at each CR LF; the text after the last
// break is a line only with at least two characters; an empty heading is one empty line.
std::vector<std::wstring> headingLines(const std::wstring& heading);
// An event's time "m:ss" from its sample index; before the first sample 0:00.
std::wstring eventTimeText(int sampleIndex, double sampleRate);
// An event's name; one read back from a data file carries only its type,
// and is named by the session's event bar button of that type.
std::wstring eventName(const Session& session, const GraphEvent& event);
// "Approved: __ Yes ___No" for 0, "Approved: Yes" for 1, else "Approved: No".
std::wstring approvalText(int approved);
// The evaluation has a second page when the event list or the advice is printed.
bool hasSecondPage(bool evaluation, const Settings& settings);

// How a job failed; the box's text and caption go to the reporter.
using ErrorReporter = std::function<void(const std::wstring& text, const std::wstring& caption)>;

// Prints onto the printer as it is set up (its orientation is the caller's
// choice); the document is named "Tavo CPR Evaluation Data". False after the
// failure was reported ("Printer error").
bool printSession(QPrinter& printer, Session& session, bool evaluation, const Settings& settings, Sources& sources,
                  const ErrorReporter& report);

} // namespace sessionprint
