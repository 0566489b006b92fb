#include "session/SurveillanceView.h"

#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "platformqt/Window.h"
#include "session/AxisCtrl.h"
#include "session/GraphView.h"
#include "session/Session.h"
#include "session/SessionGraphView.h"
#include "session/SurveillanceGrid.h"
#include "ui/AppServices.h"
#include "ui/ToolTips.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString tr8(const char* key) { return QString::fromStdWString(translate(key)); }

constexpr int listWidth = 150;

} // namespace

// --- SurveillanceCell ----------------------------------------------------

void SurveillanceCell::onStateChanged()
{
    if (axisCtrl)
        axisCtrl->redrawViews();
}

void SurveillanceCell::move(int x, int y, int width, int height)
{
    const int c = QFontMetrics(staticCtrl->font()).height();
    const int a = axisCtrl->labelFontHeight();
    const CellParts parts = cellParts(x, y, width, height, c, a);
    auto place = [](QWidget* window, const PartRect& rect) {
        if (rect.placed)
            window->setGeometry(rect.x, rect.y, rect.width, rect.height);
    };
    place(staticCtrl, parts.caption);
    place(axisCtrl, parts.axis);
    place(ventGraphView, parts.ventilation);
    place(compGraphView, parts.compression);
}

void SurveillanceCell::show(bool visible)
{
    for (QWidget* window : { static_cast<QWidget*>(staticCtrl), static_cast<QWidget*>(axisCtrl),
                             static_cast<QWidget*>(ventGraphView), static_cast<QWidget*>(compGraphView) })
        window->setVisible(visible);
}

void SurveillanceCell::destroyWindows()
{
    // The graphs and the axis leave the session now: it is deleted right
    // after it announced its closing.
    ventGraphView->detach();
    compGraphView->detach();
    axisCtrl->detach();
    for (QWidget* window : { static_cast<QWidget*>(ventGraphView), static_cast<QWidget*>(compGraphView),
                             static_cast<QWidget*>(axisCtrl), static_cast<QWidget*>(staticCtrl) }) {
        window->hide();
        window->deleteLater();
    }
    ventGraphView = compGraphView = nullptr;
    axisCtrl = nullptr;
    staticCtrl = nullptr;
}

// --- sessionManagerMultiView ---------------------------------------------

sessionManagerMultiView::sessionManagerMultiView(QWidget* parent)
    : QWidget(parent)
    , viewListCtrl(new QListWidget(this))
    , zoomList(new QComboBox(this))
    , zoomSpin(new QSpinBox(this))
    , readout(new ReadoutStatic(this))
    , closeBtn(new QPushButton(tr8("Close"), this))
    , helpBtn(new QPushButton(tr8("Help"), this))
{
    // The column on the left: the sessions, the zoom, the readout, the buttons.
    auto* column = new QVBoxLayout;
    column->setContentsMargins(5, 5, 0, 5);
    column->addWidget(viewListCtrl, 1);
    column->addWidget(new QLabel(tr8("Zoom:"), this));
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoomList, 1);
    zoomRow->addWidget(zoomSpin);
    column->addLayout(zoomRow);
    column->addWidget(new QLabel(tr8("Mouse Position:"), this));
    readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addWidget(readout);
    column->addWidget(closeBtn);
    column->addWidget(helpBtn);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(column);
    outer->addStretch(1);
    viewListCtrl->setFixedWidth(listWidth);
    zoomList->setFixedWidth(listWidth - 22);
    zoomSpin->setFixedWidth(18);
    readout->setFixedWidth(listWidth);
    closeBtn->setDefault(true);

    const std::pair<QWidget*, int> controlIds[] = {
        { viewListCtrl, 1016 }, { zoomList, 1010 }, { zoomSpin, 1024 }, { readout, 1007 }, { closeBtn, 1 },
        { helpBtn, 32800 },
    };
    for (const auto& [control, id] : controlIds)
        platform::setControlId(control, id);

    // The zoom spans of the graph page.
    for (int ms : SessionGraphView::zoomSpans)
        zoomList->addItem(ms < 60000 ? QString::number(ms / 1000) + tr8(" sec.")
                                     : QString::number(ms / 60000) + tr8(" min."),
                          ms);
    zoomSpin->setRange(0, zoomList->count() - 1);
    const int selected = zoomList->findData(spanMs);
    LOG_ASSERT(selected != -1);
    zoomList->setCurrentIndex(selected);
    zoomSpin->setValue(std::max(selected, 0));
    QObject::connect(zoomList, &QComboBox::activated, this, [this](int index) { onZoomSelected(index); });
    QObject::connect(zoomSpin, &QSpinBox::valueChanged, this, [this](int index) {
        if (index != zoomList->currentIndex()) {
            zoomList->setCurrentIndex(index);
            onZoomSelected(index);
        }
    });
    QObject::connect(viewListCtrl, &QListWidget::itemChanged, this, [this] { applyChecks(); });
    QObject::connect(viewListCtrl, &QListWidget::itemDoubleClicked, this, [this] { applyChecks(); });
    QObject::connect(closeBtn, &QPushButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
    QObject::connect(helpBtn, &QPushButton::clicked, this, [] {
        if (AppServices* app = appServices())
            app->showHelp(10005);
    });

    captionFont = font();
    captionFont.setBold(true);
    gridX = listWidth + 5 + 5;
    forwardToolTips(this);
    // The manager adds every open session now, and later ones as they open.
    if (sessionManager)
        sessionManager->setSurveillanceView(this);
}

sessionManagerMultiView::~sessionManagerMultiView()
{
    if (sessionManager)
        sessionManager->surveillanceFrameClosed();
    for (SurveillanceCell& cell : viewList)
        if (cell.axisCtrl) {
            // Without a running event loop the windows go with this one.
            cell.ventGraphView->detach();
            cell.compGraphView->detach();
            cell.axisCtrl->detach();
        }
}

void sessionManagerMultiView::createCell(SurveillanceCell& cell)
{
    Session& session = *cell.session;
    cell.axisCtrl = new AxisCtrl(session, nullptr, this);
    cell.axisCtrl->setViewIndexes(cell.axisCtrl->model.indexesForMs(zoomList->currentData().toInt()));
    cell.ventGraphView = new GraphView(session.ventilationDoc, this);
    cell.compGraphView = new GraphView(session.compressionDoc, this);
    for (GraphView* view : { cell.ventGraphView, cell.compGraphView }) {
        view->readout = readout;
        view->setAxisCtrl(cell.axisCtrl);
    }
    session.stateChanged.connect(&cell, &SurveillanceCell::onStateChanged);

    const QString caption = QString::fromStdWString(session.getName()) + QStringLiteral(", ") + tr8("Vent.") +
                            QStringLiteral(":") + QString::fromStdWString(session.ventilationPerson()) +
                            QStringLiteral(" ") + tr8("Comp.") + QStringLiteral(":") +
                            QString::fromStdWString(session.compressionPerson());
    cell.staticCtrl = new QLabel(caption, this);
    cell.staticCtrl->setFont(captionFont);
    platform::setControlId(cell.staticCtrl, 0xFFFF);
    // In a cell a drag measures a range, and a right or double click brings
    // the session's own window forward.
    cell.axisCtrl->setMouseMode(AxisCtrl::RANGE);
    cell.axisCtrl->showNewest();
    cell.show(false);
}

void sessionManagerMultiView::addSession(Session& session, SessionContainer*)
{
    SurveillanceCell& cell = viewList.emplace_back();
    cell.session = &session;
    createCell(cell);
    fillViewList();
    layout(width(), height());
}

void sessionManagerMultiView::removeSession(Session& session, SessionContainer*)
{
    auto found = std::find_if(viewList.begin(), viewList.end(),
                              [&](const SurveillanceCell& cell) { return cell.session == &session; });
    LOG_ASSERT_TEXT(found != viewList.end(), "i!=viewList.end()");
    if (found == viewList.end())
        return;
    found->destroyWindows();
    viewList.erase(found);
    fillViewList();
    layout(width(), height());
}

void sessionManagerMultiView::fillViewList()
{
    viewListCtrl->blockSignals(true);
    viewListCtrl->clear();
    for (SurveillanceCell& cell : viewList) {
        auto* line = new QListWidgetItem(QString::fromStdWString(cell.session->getName()), viewListCtrl);
        line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        line->setCheckState(cell.shown ? Qt::Checked : Qt::Unchecked);
    }
    viewListCtrl->blockSignals(false);
}

void sessionManagerMultiView::applyChecks()
{
    bool changed = false;
    int row = 0;
    for (SurveillanceCell& cell : viewList) {
        QListWidgetItem* line = viewListCtrl->item(row++);
        if (!line)
            break;
        const bool checked = line->checkState() == Qt::Checked;
        changed |= checked != cell.shown;
        cell.shown = checked;
    }
    if (changed)
        layout(width(), height());
}

void sessionManagerMultiView::onZoomSelected(int index)
{
    if (index < 0)
        return;
    const int ms = zoomList->itemData(index).toInt();
    for (SurveillanceCell& cell : viewList)
        cell.axisCtrl->setViewIndexes(cell.axisCtrl->model.indexesForMs(ms));
    zoomSpin->blockSignals(true);
    zoomSpin->setValue(index);
    zoomSpin->blockSignals(false);
}

int sessionManagerMultiView::showCount() const
{
    return static_cast<int>(std::count_if(viewList.begin(), viewList.end(), [](const SurveillanceCell& cell) {
        return cell.shown;
    }));
}

void sessionManagerMultiView::layout(int w, int h)
{
    const GridShape shape = gridShape(showCount(), w, h);
    if (shape.columns > 0) {
        const int cellHeight = (h - 4) / shape.rows;
        const int cellWidth = (w - gridX - 1) / shape.columns;
        int x = gridX, y = 2, placed = 0;
        for (SurveillanceCell& cell : viewList) {
            if (!cell.shown)
                continue;
            cell.move(x, y, cellWidth - 4, cellHeight - 8);
            x += cellWidth;
            if (++placed % shape.columns == 0) {
                x = gridX;
                y += cellHeight;
            }
        }
    }
    for (SurveillanceCell& cell : viewList)
        cell.show(cell.shown);
}

void sessionManagerMultiView::resizeEvent(QResizeEvent*) { layout(width(), height()); }

// --- SurveillanceChildFrame ----------------------------------------------

bool SurveillanceChildFrame::createView()
{
    setMinimumSize(400, 300);
    auto* frameLayout = new QVBoxLayout(clientArea());
    frameLayout->setContentsMargins(0, 0, 0, 0);
    view = new sessionManagerMultiView(clientArea());
    frameLayout->addWidget(view);
    setWindowTitle(tr8("Surveillance"));
    view->onClose = [this] { destroyFrame(); };
    return true;
}
