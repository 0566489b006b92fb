#pragma once
// The evaluation page of a session: one report row per evaluated parameter
// with its name, a bar gauge against the recommended band, the Total,
// Average and Recommended figures and the evaluation, and below the rows
// the coaching advice. Every figure and text comes from DebriefRows; the
// page only shows them, and draws the same rows into the printout.
#include "session/DebriefRows.h"
#include "session/PrintedTable.h"
#include "session/SessionPrint.h"
#include "session/SessionServices.h"
#include "session/SessionWindows.h"
#include "ui/RangeGauge.h"
#include "ui/ReportCtrl.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "ui/HelpTopic.h"

class QPushButton;
class Session;

class SessionDebriefView : public QWidget, public ReportListener, public sessionprint::PrintedTable, public HelpTopic {
public:
    // The debriefing settings as they are when asked.
    using OptionsSource = std::function<DebriefOptions()>;

    SessionDebriefView(Session& session, OptionsSource options, QWidget* parent = nullptr);
    ~SessionDebriefView() override;
    int helpContext() const override { return 10003; }
    // The session leaves the page: its window is going.
    void detach() { session = nullptr; }

    // Recomputes the statistics and rewrites every gauge value and figure.
    void refresh();
    // The rows as the printout draws them, with the figures as last computed.
    std::vector<sessionprint::PrintedRow> printedRows() const;
    int printTable(QPainter& painter, int left, int top, int width, int lineHeight) override;

    CReportCtrl* report() const { return reportCtrl; }
    QPushButton* graphButton() const { return graph; }
    QPushButton* reviewButton() const { return review; }
    QPushButton* abortButton() const { return abort; }
    QPushButton* printButton() const { return print; }
    // The DebriefRow of report row k (the advice row: -1).
    int rowOf(int k) const { return k < static_cast<int>(shownRows.size()) ? shownRows[k] : -1; }
    const RangeGauge& gauge(int row) const { return *rowTable[row].gauge; }

    void reportDrawExtra(CReportCtrl& control, const ReportDrawNotify& notify) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DebriefRows currentRows() const;
    void insertRows();
    void onAbort();

    struct RowEntry {
        std::wstring name;
        std::unique_ptr<RangeGauge> gauge;
    };

    Session* session;
    OptionsSource optionsSource;
    DebriefOptions options; // as the rows were inserted
    std::array<RowEntry, DEBRIEF_ROW_COUNT> rowTable;
    std::vector<int> shownRows;
    bool adviceRow = false;
    std::wstring advice; // as of the last refresh; painted with the advice row
    CReportCtrl* reportCtrl;
    QPushButton* graph;
    QPushButton* review;
    QPushButton* abort;
    QPushButton* print;
    QPushButton* help;
};

// What a session owns of its debriefing page; the printout reaches the
// page's table through it.
class DebriefPageHandle : public SessionPageWindow, public SessionPageHandle, public sessionprint::PrintedTable {
public:
    DebriefPageHandle(Session& session, SessionDebriefView::OptionsSource options);
    ~DebriefPageHandle() override;
    void destroyWindow() override;
    QWidget* pageWidget() const override { return window; }
    int printTable(QPainter& painter, int left, int top, int width, int lineHeight) override;
    SessionDebriefView* page() const { return window; }

private:
    QPointer<SessionDebriefView> window;
};
