#include "session/GraphView.h"

#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "session/AxisCtrl.h"
#include "session/Session.h"
#include "session/SessionManager.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The window a view without axis would draw over (it draws nothing before it has one).
const AxisModel& placeholderAxis()
{
    static const AxisModel axis(20.0);
    return axis;
}

} // namespace

ReadoutStatic::ReadoutStatic(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    startTimer(1000);
}

void ReadoutStatic::setReading(const QPoint& screenPos, const QString& text)
{
    shownAt = screenPos;
    setText(text);
}

void ReadoutStatic::timerEvent(QTimerEvent*)
{
    if (QCursor::pos() != shownAt && !text().isEmpty())
        setText(QString());
}

GraphView::GraphView(GraphDoc& document, QWidget* parent)
    : QWidget(parent)
    , doc(&document)
    , painter(document, placeholderAxis())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    document.addView(this);
}

GraphView::~GraphView() { detach(); }

void GraphView::detach()
{
    if (axis) {
        AxisCtrl* old = axis;
        axis = nullptr;
        old->removeGraphView(this);
    }
    if (doc) {
        doc->removeView(this);
        doc = nullptr;
    }
    // The mark signals stay connected until either side goes; the slots do
    // nothing without a document.
}

void GraphView::setAxisCtrl(AxisCtrl* newAxis)
{
    if (axis)
        axis->removeGraphView(this);
    axis = newAxis;
    if (axis) {
        painter = GraphPainter(*doc, axis->model);
        // The labels are drawn over the picture, above every later segment.
        painter.labelsInPicture = false;
        axis->addGraphView(this);
    }
}

GraphOptions GraphView::currentOptions()
{
    GraphOptions options;
    options.ratioNotation = compRelaxAsPercent && compRelaxAsPercent();
    if (sessionManager) {
        options.events = sessionManager->displayOptions[SessionManager::EVENTS].on;
        options.problems = sessionManager->displayOptions[SessionManager::PROBLEMS].on;
        options.ratios = sessionManager->displayOptions[SessionManager::RATIOS].on;
        options.cardiacOutput = sessionManager->displayOptions[SessionManager::CARDIAC_OUTPUT].on;
    }
    return options;
}

void GraphView::applyOptions() { painter.options = currentOptions(); }

void GraphView::onAxisChanged()
{
    redraw();
    QWidget::update();
}

void GraphView::redraw()
{
    LOG_ASSERT(axis != 0);
    if (!axis || !doc || image.isNull())
        return;
    applyOptions();
    painter.plot = image.rect();
    painter.labelFont = axis->labelFont();
    painter.tickStepMs = axis->model.tickStep(axis->width(), QFontMetrics(axis->labelFont()).horizontalAdvance("000:00"));
    QPainter p(&image);
    painter.redraw(p, doc->getSession().isRunning());
    labels = painter.scaleLabels();
}

void GraphView::drawSegment(int from, int to)
{
    if (!axis || !doc || image.isNull())
        return;
    applyOptions();
    QPainter p(&image);
    const QRect touched = painter.drawSegment(p, from, to);
    p.end();
    QWidget::update(touched.adjusted(-1, 0, 1, 0));
}

bool GraphView::inWindow(int index) const
{
    return axis && index >= axis->model.leftIndex && index <= axis->model.leftIndex + axis->model.viewIndexes;
}

void GraphView::showEvent(const GraphEvent& event)
{
    if (!axis || !doc || image.isNull() || !inWindow(event.sampleIndex))
        return;
    applyOptions();
    QPainter p(&image);
    const QRect touched = painter.drawEvent(p, event);
    p.end();
    QWidget::update(touched);
}

void GraphView::onSampleMarked(int index)
{
    if (!axis || !doc || image.isNull())
        return;
    LOG_ASSERT(index <= axis->model.lastUpdateIndex);
    applyOptions();
    if (!inWindow(index) || !painter.options.problems || index >= painter.sampleCount())
        return;
    const SampleValue v = doc->getDescription().valueGetter(index);
    QPainter p(&image);
    const QRect touched = painter.drawProblemMarker(p, painter.indexToX(index), painter.valueToY(v.value));
    p.end();
    QWidget::update(touched);
}

void GraphView::onGroupAdded(int index)
{
    if (!axis || !doc || image.isNull() || !inWindow(index))
        return;
    LOG_ASSERT(doc->getGroup(index) != 0);
    applyOptions();
    QPainter p(&image);
    const QRect touched = painter.drawGroupLabels(p, index);
    p.end();
    QWidget::update(touched);
}

void GraphView::showZoomBand(int lo, int hi)
{
    bandLo = lo;
    bandHi = hi;
    QWidget::update();
}

void GraphView::showRange(int lo, int hi)
{
    LOG_ASSERT(lo <= hi);
    rangeLo = lo;
    rangeHi = hi;
    QWidget::update();
}

void GraphView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.drawImage(event->rect(), image, event->rect());
    if (!axis || image.isNull())
        return;
    // A tick repaints a few new columns: only the labels there are drawn again.
    painter.drawLabels(p, labels, event->region());
    const AxisModel& m = axis->model;
    if (bandLo >= 0 && bandHi >= 0) {
        const int lo = std::clamp(bandLo, m.leftIndex, m.leftIndex + m.viewIndexes);
        const int hi = std::clamp(bandHi, m.leftIndex, m.leftIndex + m.viewIndexes);
        const int xa = painter.indexToX(lo) - 1;
        const int xb = painter.indexToX(hi) - 1;
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(QRect(QPoint(xa, 0), QPoint(xb, height() - 1)), Qt::white);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (rangeLo >= 0 && rangeHi >= 0) {
        const unsigned d = m.msOfIndex(rangeHi + 1) - m.msOfIndex(rangeLo);
        QString text;
        if (d >= 60000)
            text = QString::asprintf("%u:%02u ", d / 60000, (d / 1000) % 60) + QString::fromStdWString(translate("min:sec"));
        else
            text = QString::asprintf("%02.1f ", ((d / 100) % 600) / 10.0) + QString::fromStdWString(translate("sec"));
        const int w = width();
        const int xa = painter.indexToX(std::clamp(rangeLo, m.leftIndex, m.leftIndex + m.viewIndexes));
        const int xb = painter.indexToX(std::clamp(rangeHi, m.leftIndex, m.leftIndex + m.viewIndexes));
        p.setFont(axis->labelFont());
        const QFontMetrics metrics(p.font());
        const int c = (xa + xb) / 2;
        const int half = (metrics.horizontalAdvance(text) + 10) / 2;
        const int mid = height() / 2;
        const int t = metrics.height() + 2;
        p.setPen(Qt::black);
        for (int side = 0; side < 2; ++side) {
            const int edge = side == 0 ? xa : xb;
            const int textEdge = side == 0 ? c - half : c + half;
            const bool outside = side == 0 ? textEdge >= xa : textEdge <= xb;
            if (outside) {
                if (edge >= 0 && edge <= w)
                    p.drawLine(edge, 0, edge, height());
                p.drawLine(edge, mid, textEdge, mid);
                p.drawLine(textEdge, mid - t / 2, textEdge, mid + t / 2);
            } else if (edge >= 0 && edge <= w) {
                p.drawLine(edge, 0, edge, mid - t / 2);
                p.drawLine(edge, mid + t / 2, edge, height());
            }
        }
        const QRect textRect(c - half + 5, mid - t / 2 - t / 2, 2 * half - 10, t);
        p.fillRect(textRect, doc && doc->getSession().isRunning() ? QColor(Qt::white) : colourOf(0xDEDFDE));
        p.drawText(textRect, Qt::AlignCenter, text);
    }
}

void GraphView::resizeEvent(QResizeEvent*)
{
    LOG_ASSERT(width() >= 0 && height() >= 0);
    if (image.size() != size()) {
        image = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    redraw();
}

void GraphView::updateReadout(const QPoint& pos)
{
    if (!readout || !rect().contains(pos) || !axis || !doc)
        return;
    const double value = painter.yToValue(pos.y());
    const unsigned s = axis->model.msOfIndex(painter.xToIndex(pos.x()));
    const QString format = QString::fromStdWString(translate("%2d:%02d min:sec, %2.2f %s"));
    QString text = QString::asprintf("%2u:%02u", s / 60000, (s / 1000) % 60);
    // The catalogue's format with the unit as text: fill it piece by piece.
    QString filled = format;
    filled.replace(QStringLiteral("%2d:%02d"), text);
    filled.replace(QStringLiteral("%2.2f"), QString::asprintf("%2.2f", value));
    filled.replace(QStringLiteral("%s"), QString::fromStdWString(doc->getDescription().unit));
    readout->setReading(mapToGlobal(pos), filled);
}

void GraphView::mouseMoveEvent(QMouseEvent* event)
{
    updateReadout(event->position().toPoint());
    if (axis && isVisible())
        axis->onMouseMove(painter.xToIndex(event->position().toPoint().x()));
}

void GraphView::mousePressEvent(QMouseEvent* event)
{
    if (axis && isVisible() && event->button() == Qt::LeftButton)
        axis->onLButtonDown(this, painter.xToIndex(event->position().toPoint().x()));
}

void GraphView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!axis || !isVisible())
        return;
    const int index = painter.xToIndex(event->position().toPoint().x());
    if (event->button() == Qt::LeftButton)
        axis->onLButtonUp(index);
    else if (event->button() == Qt::RightButton)
        axis->onRButtonUp(index);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (axis && isVisible() && event->button() == Qt::LeftButton)
        axis->onLButtonDblClk();
}
