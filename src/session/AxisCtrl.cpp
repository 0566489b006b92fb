#include "session/AxisCtrl.h"

#include "Utillib/FontUtil.h"
#include "Utillib/LogStream.h"
#include "session/GraphView.h"
#include "session/SessionManager.h"

#include <QCursor>
#include <QFontDatabase>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cstdlib>

AxisCtrl::AxisCtrl(Session& owner, AxisHost* page, QWidget* parent)
    : QWidget(parent)
    , model(owner.getCommSession().sampleRate)
    , session(&owner)
    , host(page)
{
    font.setFamily(QFontDatabase::hasFamily(QStringLiteral("Tahoma")) ? QStringLiteral("Tahoma")
                                                                      : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    setFont(font);
    setAttribute(Qt::WA_OpaquePaintEvent);
    owner.addUpdateReceiver(this);
    if (sessionManager)
        for (auto& option : sessionManager->displayOptions)
            option.changed.connect(this, &AxisCtrl::redrawViews);
}

AxisCtrl::~AxisCtrl()
{
    detach();
    while (!graphViewList.empty())
        graphViewList.front()->setAxisCtrl(nullptr);
    LOG_ASSERT(graphViewList.empty());
}

void AxisCtrl::detach()
{
    if (session) {
        session->removeUpdateReceiver(this);
        session = nullptr;
    }
}

void AxisCtrl::addGraphView(GraphView* view)
{
    LOG_ASSERT(view != 0);
    if (!view)
        return;
    graphViewList.push_back(view);
    view->onAxisChanged();
}

void AxisCtrl::removeGraphView(GraphView* view)
{
    LOG_ASSERT(view != 0);
    const bool removed = std::erase(graphViewList, view) > 0;
    LOG_ASSERT_TEXT(removed, "Util::stlRemove(graphViewList,graphView)==true");
}

int AxisCtrl::computeTickStep(int width) const
{
    return model.tickStep(width, QFontMetrics(font).horizontalAdvance(QStringLiteral("000:00")));
}

void AxisCtrl::refresh()
{
    if (session)
        model.setSampleRate(session->getCommSession().sampleRate);
    QWidget::update();
    for (std::size_t k = 0; k < graphViewList.size(); ++k)
        graphViewList[k]->onAxisChanged();
}

void AxisCtrl::setLeftIndex(int left)
{
    model.setLeftIndex(left);
    refresh();
}

void AxisCtrl::setViewIndexes(int n)
{
    model.setViewIndexes(n);
    refresh();
    if (host)
        host->syncZoomCombo();
}

void AxisCtrl::setRange(int left, int n)
{
    model.setRange(left, n);
    refresh();
    if (host)
        host->syncZoomCombo();
}

void AxisCtrl::setMouseMode(int mode)
{
    switch (mode) {
    case ZOOM:
        mouseMode = ZOOM;
        if (host)
            host->setCursorMode(ZOOM);
        break;
    case ZOOM_ALL:
        model.zoomAll();
        refresh();
        if (host)
            host->syncZoomCombo();
        [[fallthrough]];
    case 2:
    case NORMAL:
        mouseMode = NORMAL;
        if (host)
            host->setCursorMode(NORMAL);
        break;
    case RANGE:
        mouseMode = RANGE;
        break;
    default:
        break;
    }
}

void AxisCtrl::showNewest()
{
    if (session)
        update(static_cast<int>(session->getCommSession().manData.size()) - 1);
}

void AxisCtrl::redrawViews(int, bool)
{
    for (std::size_t k = 0; k < graphViewList.size(); ++k) {
        graphViewList[k]->redraw();
        graphViewList[k]->QWidget::update();
    }
}

int AxisCtrl::labelFontHeight() const { return QFontMetrics(font).height(); }

void AxisCtrl::update(int newestIndex)
{
    if (!session)
        return;
    const bool hasArea = width() > 0 && height() > 0;
    const AxisModel::Update step
        = model.update(newestIndex, hasArea, session->isFinished(), static_cast<int>(session->getRecord().Duration));
    switch (step.step) {
    case AxisModel::Step::none:
    case AxisModel::Step::remember:
        return;
    case AxisModel::Step::endOfTime: {
        clearDrag();
        Session* ending = session;
        ending->endOfTime();
        ending->setState(Session::DEBRIEF);
        refresh();
        if (host)
            host->updateScrollBar();
        return;
    }
    case AxisModel::Step::page:
        for (std::size_t k = 0; k < graphViewList.size(); ++k) {
            graphViewList[k]->redraw();
            graphViewList[k]->QWidget::update();
        }
        trackCursor();
        model.setSampleRate(session->getCommSession().sampleRate);
        QWidget::update();
        return;
    case AxisModel::Step::segment:
        for (std::size_t k = 0; k < graphViewList.size(); ++k)
            graphViewList[k]->drawSegment(step.from, step.to);
        return;
    }
}

void AxisCtrl::clearDrag()
{
    selectionAnchor = -1;
    for (GraphView* view : graphViewList) {
        view->releaseMouse();
        view->showZoomBand(-1, -1);
        view->showRange(-1, -1);
    }
}

void AxisCtrl::onMouseMove(int index)
{
    if (selectionAnchor < 0 || mouseMode == ZOOM_ALL)
        return;
    const int lo = std::min(selectionAnchor, index);
    const int hi = std::max(selectionAnchor, index);
    for (GraphView* view : graphViewList)
        mouseMode == ZOOM ? view->showZoomBand(lo, hi) : view->showRange(lo, hi);
}

void AxisCtrl::onLButtonDown(GraphView*, int index)
{
    if (mouseMode == ZOOM_ALL)
        return;
    selectionAnchor = index;
    onMouseMove(index);
}

void AxisCtrl::onLButtonUp(int index)
{
    if (selectionAnchor < 0)
        return;
    const int anchor = selectionAnchor;
    clearDrag();
    if (mouseMode == ZOOM) {
        model.zoomIn(anchor, index);
        refresh();
        if (host) {
            host->syncZoomCombo();
            host->setCursorMode(NORMAL);
        }
        mouseMode = NORMAL;
    }
}

void AxisCtrl::onRButtonUp(int index)
{
    if (mouseMode == RANGE) {
        onLButtonDblClk();
        return;
    }
    model.zoomOut(index);
    refresh();
    if (host) {
        host->syncZoomCombo();
        host->setCursorMode(NORMAL);
    }
    mouseMode = NORMAL;
}

void AxisCtrl::onLButtonDblClk()
{
    if (mouseMode != RANGE)
        return;
    clearDrag();
    if (session)
        sessionServices().showSession(*session);
}

std::vector<std::pair<QRect, QString>> AxisCtrl::labelPlaces(const QRect& rect, const QFontMetrics& metrics,
                                                              int inset) const
{
    const int leftmost = rect.left() + inset;
    const int rightmost = rect.right() - inset;
    std::vector<std::pair<QRect, QString>> places;
    const int step = model.tickStep(rect.width(), metrics.horizontalAdvance(QStringLiteral("000:00")));
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    int lastRight = leftmost - gap;
    for (int i : model.tickIndexes(step)) {
        char text[16];
        AxisModel::labelText(model.msOfIndex(i), text, sizeof text);
        const QString label = QString::fromLatin1(text);
        const int x = rect.left()
            + static_cast<int>(static_cast<long long>(rect.width()) * (i - model.leftIndex) / model.viewIndexes);
        const int width = metrics.horizontalAdvance(label);
        const int left = std::clamp(x - width / 2, leftmost, std::max(leftmost, rightmost + 1 - width));
        if (left < lastRight + gap)
            continue;
        places.emplace_back(QRect(left, rect.top(), width, metrics.height()), label);
        lastRight = left + width;
    }
    return places;
}

void AxisCtrl::drawLabels(QPainter& painter, const QRect& rect, bool background, const QFont& labelFont,
                          int inset) const
{
    if (background)
        painter.fillRect(rect, palette().color(QPalette::Button));
    painter.save();
    painter.setFont(labelFont);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(labelFont, painter.device());
    for (const auto& [box, label] : labelPlaces(rect, metrics, inset))
        painter.drawText(box.left(), box.top() + metrics.ascent(), label);
    painter.restore();
}

QFont AxisCtrl::printFont(QPaintDevice* device) const
{
    QFont printed = font;
    printed.setPixelSize(std::max(1, std::abs(FontUtil::pointSizeToHeight(60, device))));
    return printed;
}

void AxisCtrl::trackCursor()
{
    if (selectionAnchor < 0)
        return;
    const QPoint screen = QCursor::pos();
    for (GraphView* view : graphViewList) {
        const QPoint local = view->mapFromGlobal(screen);
        if (view->isVisible() && view->rect().contains(local)) {
            onMouseMove(view->graphPainter().xToIndex(local.x()));
            return;
        }
    }
}

void AxisCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawLabels(painter, rect(), true, font);
}

void AxisCtrl::resizeEvent(QResizeEvent*) { QWidget::update(); }
