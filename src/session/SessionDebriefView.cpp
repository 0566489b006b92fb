#include "session/SessionDebriefView.h"

#include "Utillib/QtTextDevice.h"
#include "Utillib/TextBlock.h"
#include "gettext/Translator.h"
#include "platformqt/Window.h"
#include "session/Session.h"
#include "ui/AppServices.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString tr8(const char* key) { return QString::fromStdWString(translate(key)); }
QString q(const std::wstring& text) { return QString::fromStdWString(text); }

enum Column { NAME, BAR, TOTAL, AVERAGE, RECOMMENDED, EVALUATION };
enum Colour { GREY, RED, GREEN, BLUE };
constexpr int separatorHeight = 8;
constexpr int adviceData = 1;

void setUp(RangeGauge& gauge, const GaugeSetup& g)
{
    gauge.setRange(g.lo, g.hi, 0xC0C0C0);
    gauge.addMarker(g.bandFrom, g.bandTo, 0x00C000, g.pinLow, g.pinHigh);
    gauge.setEnds(g.leftEnd, g.rightEnd, 10, 10);
}

void setCell(CReportCtrl& report, int row, int column, const std::wstring& text, int colour = -1)
{
    ReportItem item;
    item.mask = ReportMask::Text | ReportMask::Colour;
    item.row = row;
    item.subitem = column;
    item.text = q(text);
    item.colour = colour;
    report.setItem(item);
}

void setRowFields(CReportCtrl& report, int row, int state, int extraHeight, int data)
{
    ReportItem item;
    item.mask = ReportMask::State | ReportMask::ExtraHeight | ReportMask::Data;
    item.row = row;
    item.state = state;
    item.extraHeight = extraHeight;
    item.data = data;
    report.setItem(item);
}

} // namespace

SessionDebriefView::SessionDebriefView(Session& owner, OptionsSource source, QWidget* parent)
    : QWidget(parent)
    , session(&owner)
    , optionsSource(std::move(source))
    , options(optionsSource ? optionsSource() : DebriefOptions())
    , reportCtrl(new CReportCtrl(this))
{
    platform::setControlId(reportCtrl, 1332);
    graph = new QPushButton(tr8("<< Graph"), this);
    review = new QPushButton(tr8("Review >>"), this);
    abort = new QPushButton(tr8("Abort"), this);
    print = new QPushButton(tr8("Print..."), this);
    help = new QPushButton(tr8("Help"), this);
    const std::pair<QWidget*, int> ids[] = { { graph, 1021 }, { review, 1027 }, { abort, 2 }, { print, 1072 },
                                             { help, 32800 } };
    for (const auto& [control, id] : ids)
        platform::setControlId(control, id);

    // The report above a row of buttons: the page changes left, the session's own commands right.
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(reportCtrl, 1);
    auto* buttons = new QHBoxLayout;
    auto* pages = new QHBoxLayout;
    pages->addWidget(graph);
    pages->addWidget(review);
    auto* commands = new QHBoxLayout;
    commands->addWidget(abort);
    commands->addWidget(print);
    commands->addWidget(help);
    buttons->addLayout(pages, 2);
    buttons->addStretch(10);
    buttons->addLayout(commands, 3);
    outer->addLayout(buttons, 0);

    QObject::connect(graph, &QPushButton::clicked, this, [this] {
        if (session)
            session->setState(Session::COLLECT);
    });
    QObject::connect(review, &QPushButton::clicked, this, [this] {
        if (session)
            session->setState(Session::REVIEW);
    });
    QObject::connect(print, &QPushButton::clicked, this, [this] {
        if (session)
            session->print(true);
    });
    QObject::connect(help, &QPushButton::clicked, this, [this] {
        if (AppServices* app = appServices())
            app->showHelp(helpContext());
    });
    QObject::connect(abort, &QPushButton::clicked, this, [this] { onAbort(); });

    DebriefRows rows = currentRows();
    for (int row = 0; row < DEBRIEF_ROW_COUNT; ++row) {
        rowTable[row].name = DebriefRows::rowName(row);
        rowTable[row].gauge = std::make_unique<RangeGauge>();
        setUp(*rowTable[row].gauge, rows.gaugeSetup(row));
    }
    // A stored session played back has nothing to review.
    if (owner.isReplay())
        review->hide();

    const char* titles[] = { "Performance", nullptr, "Total", "Average", "Recommended", "Evaluation" };
    for (int column = NAME; column <= EVALUATION; ++column) {
        ReportColumn c;
        c.format = column == NAME ? 0x4184000 : 0x4084000;
        c.width = column == BAR ? 180 : -1;
        c.minWidth = column == NAME ? 0 : 150;
        c.title = titles[column] ? tr8(titles[column]) : QString();
        reportCtrl->defineColumn(column, c);
        reportCtrl->showColumn(column, column);
    }
    for (COLORREF colour : { 0xE6E6E6u, 0x0000FFu, 0x008C00u, 0xC00000u })
        reportCtrl->insertColor(reportCtrl->model().colourTable().size(), colour);
    reportCtrl->setListener(this);

    insertRows();
    refresh();
    resize(760, 520);
}

SessionDebriefView::~SessionDebriefView()
{
    // The report names the gauges in its cells: it goes before them.
    delete reportCtrl;
    reportCtrl = nullptr;
}

DebriefRows SessionDebriefView::currentRows() const
{
    // The formats follow the settings of the moment; the rows stay those the page was built with.
    DebriefOptions now = optionsSource ? optionsSource() : options;
    std::copy(std::begin(options.rowShown), std::end(options.rowShown), std::begin(now.rowShown));
    now.showComments = options.showComments;
    const Session& s = *session;
    return DebriefRows(s.getAlgorithm(), static_cast<TrainingMode>(s.getRecord().TrainingMode), now,
                       debriefStats(s.getCommSession()));
}

void SessionDebriefView::insertRows()
{
    DebriefRows rows = currentRows();
    for (const DebriefLine& line : rows.lines(L" ")) {
        const int k = reportCtrl->getItemCount();
        ReportItem first;
        first.mask = ReportMask::Text;
        first.row = k;
        first.text = q(rowTable[line.row].name);
        reportCtrl->insertItem(first);
        setRowFields(*reportCtrl, k, ReportState::Bold, 0, 0);
        reportCtrl->setItemText(k, BAR, rowTable[line.row].gauge->barCellText());
        setCell(*reportCtrl, k, TOTAL, L" ", BLUE);
        setCell(*reportCtrl, k, AVERAGE, L" ", BLUE);
        setCell(*reportCtrl, k, RECOMMENDED, line.recommended, GREEN);
        shownRows.push_back(line.row);
    }
    adviceRow = options.showComments;
    if (adviceRow) {
        const int k = reportCtrl->getItemCount();
        ReportItem first;
        first.mask = ReportMask::Text;
        first.row = k;
        first.text = q(translate("Evaluation") + L": ");
        reportCtrl->insertItem(first);
        setRowFields(*reportCtrl, k, ReportState::Bold, 3 * QFontMetrics(font()).height() + 4, adviceData);
    }
}

void SessionDebriefView::refresh()
{
    if (!session)
        return;
    session->getCommSession().finish();
    DebriefRows rows = currentRows();
    for (int row = 0; row < DEBRIEF_ROW_COUNT; ++row)
        rowTable[row].gauge->setValue(rows.gaugeValue(row));
    for (int k = 0; k < static_cast<int>(shownRows.size()); ++k) {
        const int row = shownRows[k];
        std::wstring total = L" ", average = L" ", evaluation = L" ";
        rows.rowTexts(row, total, average, evaluation);
        setCell(*reportCtrl, k, TOTAL, total, BLUE);
        setCell(*reportCtrl, k, AVERAGE, average, BLUE);
        setCell(*reportCtrl, k, EVALUATION, evaluation);
        setRowFields(*reportCtrl, k, 0, rows.endsGroup(row) ? separatorHeight : 0, 0);
    }
    advice = session->adviceText();
    for (int column : { NAME, TOTAL, AVERAGE, RECOMMENDED, EVALUATION })
        reportCtrl->fitColumnWidth(column);
    reportCtrl->viewport()->update();
    update();
}

std::vector<sessionprint::PrintedRow> SessionDebriefView::printedRows() const
{
    std::vector<sessionprint::PrintedRow> printed;
    if (!session)
        return printed;
    DebriefRows rows = currentRows();
    for (int row : shownRows) {
        sessionprint::PrintedRow p;
        p.name = rowTable[row].name;
        p.gauge = rowTable[row].gauge.get();
        p.recommended = rows.recommendedText(row);
        rows.rowTexts(row, p.total, p.average, p.evaluation);
        printed.push_back(std::move(p));
    }
    return printed;
}

int SessionDebriefView::printTable(QPainter& painter, int left, int top, int width, int lineHeight)
{
    return sessionprint::printTable(painter, printedRows(), left, top, width, lineHeight);
}

void SessionDebriefView::reportDrawExtra(CReportCtrl&, const ReportDrawNotify& n)
{
    QPainter& painter = *n.painter;
    const RECT& r = n.area;
    if (n.data == adviceData) {
        painter.setPen(Qt::black);
        QtTextDevice device(painter);
        TextBlock block(device, advice);
        block.draw(device, r.right - r.left - 10, r.left + 10, r.top, 0);
        return;
    }
    // A group separator: a black bar two pixels high across a white band.
    painter.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), Qt::white);
    const int middle = (r.top + r.bottom) / 2;
    painter.fillRect(QRect(QPoint(r.left, middle - 1), QPoint(r.right - 1, middle)), Qt::black);
}

void SessionDebriefView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
    if (session && (session->isFinished() || session->isReplay()))
        abort->setText(tr8("Close"));
}

void SessionDebriefView::onAbort()
{
    Session* current = session;
    if (current && current->askSave()) {
        current->pause();
        // Closes (and may delete) the session and this page: nothing after it.
        current->close();
    }
}

// --- DebriefPageHandle ---------------------------------------------------

DebriefPageHandle::DebriefPageHandle(Session& session, SessionDebriefView::OptionsSource options)
    : window(new SessionDebriefView(session, std::move(options)))
{
}

DebriefPageHandle::~DebriefPageHandle() { destroyWindow(); }

void DebriefPageHandle::destroyWindow()
{
    if (!window)
        return;
    window->detach();
    // Deleted from the event loop: it may be the one whose button is being handled.
    window->hide();
    window->setParent(nullptr);
    window->deleteLater();
    window = nullptr;
}

int DebriefPageHandle::printTable(QPainter& painter, int left, int top, int width, int lineHeight)
{
    return window ? window->printTable(painter, left, top, width, lineHeight) : 0;
}
