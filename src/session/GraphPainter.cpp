#include "session/GraphPainter.h"

#include "Utillib/LogStream.h"
#include "comm/ListClasses.h"
#include "gettext/Translator.h"
#include "session/LabelPictures.h"
#include "session/Session.h"
#include "ui/ToolBar.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

QColor colourOf(unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void drawPixelsScaled(QPainter& painter, const QImage& image, const QRect& target)
{
    const int w = image.width();
    const int h = image.height();
    if (w <= 0 || h <= 0)
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int y = 0; y < h; ++y) {
        const int top = target.top() + y * target.height() / h;
        const int bottom = target.top() + (y + 1) * target.height() / h;
        for (int x = 0; x < w; ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() == 0)
                continue;
            const int left = target.left() + x * target.width() / w;
            const int right = target.left() + (x + 1) * target.width() / w;
            painter.fillRect(QRect(left, top, right - left, bottom - top), colour);
        }
    }
    painter.restore();
}

namespace {

const QColor pausedBackground = colourOf(0xDEDFDE);

QString valueLabel(double value, const std::wstring& unit)
{
    return QString::asprintf("%0.2f ", value) + QString::fromStdWString(unit);
}

} // namespace

GraphPainter::GraphPainter(const GraphDoc& document, const AxisModel& axisModel)
    : doc(&document)
    , description(&document.getDescription())
    , axis(&axisModel)
{
    labelFont.setFamily(QStringLiteral("DejaVu Sans"));
    labelFont.setPixelSize(12);
    labelFont.setBold(true);
}

int GraphPainter::sampleCount() const { return static_cast<int>(doc->getSession().getCommSession().manData.size()); }

int GraphPainter::indexToX(int i) const
{
    if (axis->viewIndexes <= 0)
        return plot.left();
    return plot.left() + static_cast<int>(static_cast<long long>(i - axis->leftIndex) * plot.width() / axis->viewIndexes);
}

int GraphPainter::xToIndex(int x) const
{
    if (plot.width() <= 0)
        return axis->leftIndex;
    return static_cast<int>(static_cast<double>(axis->viewIndexes) * (x - plot.left()) / plot.width() + axis->leftIndex + 0.5);
}

int GraphPainter::titleRoom() const
{
    // A printed graph's title stands at its zero edge, where the curve rests:
    // the values are drawn beside it, never through it.
    if (!printing)
        return 0;
    return std::clamp(labelHeight(), 0, std::max(plot.height() - 1, 0));
}

int GraphPainter::valueToY(double v) const
{
    const int room = titleRoom();
    const int h = plot.height() - room;
    const int scaled = static_cast<int>(h * v / description->maxValue);
    return description->drawnDownward ? plot.top() + room + scaled : plot.top() + h - scaled - 1;
}

double GraphPainter::yToValue(int y) const
{
    const int room = titleRoom();
    const int h = std::max(plot.height() - room, 1);
    const int dy = y - plot.top() - (description->drawnDownward ? room : 0);
    return description->drawnDownward ? description->maxValue * dy / h : description->maxValue * (h - dy) / h;
}

int GraphPainter::penWidth() const { return axis->msOfIndex(axis->viewIndexes) < 50001 ? 2 : 1; }

int GraphPainter::labelHeight() const { return QFontMetrics(labelFont).height(); }

int GraphPainter::groupRow(int row) const
{
    const int h = labelHeight();
    const int g = printing ? plot.height() / 100 : 2;
    const int e = printing ? plot.width() / 50 : eventButtonHeight + 2;
    const int first = description->drawnDownward ? plot.top() + std::max(plot.height() - 2 * (h + g) - e, 0)
                                                : plot.top() + std::min(plot.height(), e + 2 * g);
    return row == 0 ? first : first + 1 + h;
}

void GraphPainter::redraw(QPainter& painter, bool running) const
{
    if (!printing)
        painter.fillRect(plot, running ? QColor(Qt::white) : pausedBackground);
    drawBand(painter);
    drawGrid(painter, tickStepMs);
    if (printing)
        drawTitle(painter);
    const int a = axis->leftIndex;
    const int b = std::min({ axis->lastUpdateIndex, axis->leftIndex + axis->viewIndexes, sampleCount() - 1 });
    if (b > a) {
        if (printing) {
            drawSegment(painter, a, b);
            drawEvents(painter, a, b);
        } else {
            drawEvents(painter, a, b);
            drawSegment(painter, a, b);
        }
    }
    if (labelsInPicture)
        drawLabels(painter);
}

void GraphPainter::drawBand(QPainter& painter) const
{
    int y1 = valueToY(description->bandHigh);
    int y2 = valueToY(description->bandLow);
    if (y1 > y2)
        std::swap(y1, y2);
    painter.fillRect(QRect(plot.left(), y1, plot.width(), y2 - y1 + 1), colourOf(printing ? 0xF2FF62 : 0x90A700));
}

void GraphPainter::drawGrid(QPainter& painter, int stepMs) const
{
    QPen pen(colourOf(0x969696), 1, Qt::DotLine);
    painter.save();
    painter.setPen(pen);
    for (int i : axis->tickIndexes(stepMs)) {
        const int x = indexToX(i);
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    painter.restore();
}


std::vector<ScaleLabel> GraphPainter::scaleLabels() const
{
    std::vector<ScaleLabel> placed;
    const QFontMetrics metrics(labelFont);
    const int h = metrics.height();
    if (plot.height() < 2 * h)
        return placed;
    const QRect area = plot.adjusted(labelInset, labelInset, -labelInset, -labelInset);
    const int right = area.left() + area.width();
    // Right-aligned at the area's right edge, with its top (topAligned) or
    // its bottom at y, and kept inside the area.
    const auto box = [&](const QString& text, int y, bool topAligned) {
        const int w = metrics.horizontalAdvance(text);
        const int top = std::clamp(topAligned ? y : y - h, area.top(), std::max(area.top(), area.top() + area.height() - h));
        return QRect(right - w, top, w, h);
    };
    // The first of the places where the label overlaps none placed before.
    const auto place = [&](const QString& text, std::initializer_list<std::pair<int, bool>> places) {
        for (const auto& [y, topAligned] : places) {
            const QRect rect = box(text, y, topAligned);
            const bool free = std::none_of(placed.begin(), placed.end(),
                                           [&](const ScaleLabel& other) { return other.rect.intersects(rect); });
            if (free) {
                placed.push_back({ text, rect });
                return;
            }
        }
    };
    // The outer alignment runs from the maximum's edge into the plot, the inner one the other way.
    const bool outerTop = !description->drawnDownward;
    place(valueLabel(description->maxValue, description->unit), { { valueToY(description->maxValue), outerTop } });
    place(valueLabel(0, description->unit),
          { { description->drawnDownward ? plot.top() + titleRoom() : plot.top() + plot.height() - titleRoom(),
              !outerTop } });
    // Inside the band, or beside it: the upper bound toward the maximum, the lower one toward zero.
    const int yHigh = valueToY(description->bandHigh);
    const int yLow = valueToY(description->bandLow);
    place(valueLabel(description->bandHigh, description->unit), { { yHigh, outerTop }, { yHigh, !outerTop } });
    place(valueLabel(description->bandLow, description->unit), { { yLow, !outerTop }, { yLow, outerTop } });
    if (description->groupGetter) {
        if (options.ratios)
            place(QString::fromStdWString(translate("C/R ratio")), { { groupRow(0), !outerTop } });
        if (options.cardiacOutput)
            place(QString::fromStdWString(translate("CO. L/min")), { { groupRow(1), !outerTop } });
    }
    return placed;
}

void GraphPainter::drawLabels(QPainter& painter) const { drawLabels(painter, scaleLabels()); }

void GraphPainter::drawLabels(QPainter& painter, const std::vector<ScaleLabel>& labels, const QRegion& dirty) const
{
    if (labels.empty())
        return;
    const bool pictures = !printing && painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster
        && painter.deviceTransform().type() <= QTransform::TxTranslate;
    const int reach = labelHaloReach(labelFont);
    for (const ScaleLabel& label : labels) {
        if (!dirty.isEmpty() && !dirty.intersects(label.rect.adjusted(-reach, -reach, reach, reach)))
            continue;
        if (pictures)
            LabelPictures::shared().draw(painter, label.rect.topLeft(), label.text, labelFont);
        else
            drawLabelDirectly(painter, label.rect.topLeft(), label.text, labelFont);
    }
}

void GraphPainter::drawTitle(QPainter& painter) const
{
    painter.save();
    painter.setFont(labelFont);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(labelFont);
    const int baseline = description->drawnDownward ? plot.top() + metrics.ascent() : plot.bottom() - metrics.descent();
    painter.drawText(plot.left() + 10, baseline, QString::fromStdWString(description->title));
    painter.restore();
}

QRect GraphPainter::drawSegment(QPainter& painter, int from, int to) const
{
    LOG_ASSERT(from <= to);
    const int count = sampleCount();
    from = std::max(from, 0);
    to = std::min(to, count - 1);
    if (from > to)
        return {};
    QPen pen(printing && monochrome ? QColor(Qt::black) : colourOf(description->colour), printing ? 1 : penWidth());
    painter.save();
    painter.setPen(pen);
    QPolygon points;
    points.reserve(to - from + 1);
    for (int i = from; i <= to; ++i) {
        const SampleValue v = description->valueGetter(i);
        points << QPoint(indexToX(i), valueToY(v.value));
    }
    if (points.size() == 1)
        painter.drawPoint(points.front());
    else
        painter.drawPolyline(points);
    painter.restore();
    QRect touched(points.front().x() - 9, plot.top(), points.back().x() - points.front().x() + 19, plot.height());
    for (int i = from; i <= to; ++i) {
        const SampleValue v = description->valueGetter(i);
        if (options.problems && v.problem)
            touched |= drawProblemMarker(painter, indexToX(i), valueToY(v.value));
        touched |= drawGroupLabels(painter, i);
    }
    return touched;
}

QRect GraphPainter::drawProblemMarker(QPainter& painter, int x, int y) const
{
    const int s = printing ? std::max(plot.width() / 70, 4) : 16;
    const QRect box(x - s / 2, description->drawnDownward ? y : y - s, s, s);
    // A warning triangle pointing at the curve point, in the channel's colour.
    QPolygon triangle;
    if (description->drawnDownward)
        triangle << QPoint(box.center().x(), box.top()) << box.bottomLeft() << box.bottomRight();
    else
        triangle << QPoint(box.center().x(), box.bottom()) << box.topLeft() << box.topRight();
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(printing && monochrome ? QColor(Qt::white) : QColor(255, 200, 0));
    painter.drawPolygon(triangle);
    painter.setPen(QPen(Qt::black, std::max(1, s / 8)));
    const int cx = box.center().x();
    const int mid = description->drawnDownward ? box.top() + s / 2 : box.top() + s / 5;
    painter.drawLine(cx, mid, cx, mid + s / 4);
    painter.restore();
    return box.adjusted(-1, -1, 1, 1);
}

QRect GraphPainter::drawGroupLabels(QPainter& painter, int index) const
{
    if (axis->viewIndexes >= axis->indexesForMs(300000) || !(options.ratios || options.cardiacOutput)
        || !description->groupGetter)
        return {};
    const CompressionGroup* group = description->groupGetter(index);
    if (!group)
        return {};
    painter.save();
    painter.setFont(labelFont);
    painter.setPen(QPen(Qt::black, 1));
    QRect touched;
    if (options.ratios) {
        QString text;
        if (options.ratioNotation) {
            text = QString::asprintf("%02d:%02d", group->compressionPercent, 100 - group->compressionPercent);
        } else {
            const double r = group->compressionPercent * 0.01;
            text = r == 1.0 ? QStringLiteral("-") : QString::asprintf("%.1f", r / (1 - r));
        }
        touched |= drawGroupLabel(painter, text, groupRow(0), group->firstIndex, group->ratioEndIndex);
    }
    if (options.cardiacOutput)
        touched |= drawGroupLabel(painter, QString::asprintf("%.1f", group->cardiacOutput), groupRow(1),
                                  group->firstIndex, group->outputEndIndex);
    painter.restore();
    return touched;
}

QRect GraphPainter::drawGroupLabel(QPainter& painter, const QString& text, int y, int first, int last) const
{
    const QFontMetrics metrics(painter.font());
    const int xs = indexToX(first);
    const int xe = indexToX(last);
    const int tw = metrics.horizontalAdvance(text);
    const int th = metrics.height();
    const QRect textRect((xs + xe) / 2 - tw / 2, y, tw, th);
    painter.drawText(textRect.left(), y + metrics.ascent(), text);
    if (tw < xe - xs) {
        const int middle = y + th / 2;
        painter.drawLine(xs, y + 1, xs, y + th - 1);
        painter.drawLine(xe, y + 1, xe, y + th - 1);
        painter.drawLine(xs, middle, textRect.left(), middle);
        painter.drawLine(textRect.right(), middle, xe, middle);
    }
    return textRect | QRect(QPoint(xs, y), QPoint(xe, y + th));
}

void GraphPainter::drawEvents(QPainter& painter, int a, int b) const
{
    for (const GraphEvent& event : doc->getEvents())
        if (event.sampleIndex > a && event.sampleIndex <= b)
            drawEvent(painter, event);
}

QRect GraphPainter::drawEvent(QPainter& painter, const GraphEvent& event) const
{
    if (!options.events)
        return {};
    const int x = indexToX(event.sampleIndex);
    const int w = printing ? plot.width() / 50 : eventButtonWidth + 2;
    const int hb = printing ? plot.width() / 50 : eventButtonHeight + 2;
    const int gap = printing ? plot.height() / 100 : 2;
    const bool down = description->drawnDownward;
    const int bottom = down ? plot.top() + plot.height() - gap : plot.top() + gap + hb;
    const int top = bottom - hb;
    const int left = x - w / 2;
    const int right = x + w / 2;

    painter.save();
    painter.setPen(QPen(colourOf(0xDEDFDE), 1));
    painter.drawLine(left, bottom, left, top);
    painter.drawLine(left, top, right, top);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left - 1, bottom);
    painter.setPen(QPen(colourOf(0x848284), 1));
    painter.drawLine(left + 1, bottom - 1, right - 1, bottom - 1);
    painter.drawLine(right - 1, bottom - 1, right - 1, top + 1);
    static const EventIconList eventIcons(0);
    const QPixmap icon = eventIcons.icon(event.imageIndex);
    if (!icon.isNull()) {
        if (printing)
            drawPixelsScaled(painter, icon.toImage(), QRect(left + 1, top + 1, w - 2, hb - 2));
        else
            painter.drawPixmap(left + 1, top + 1, icon);
    }
    int yLow = top;
    int yHigh = bottom;
    // The connector needs the value of the event's sample: an event outside
    // the recorded samples (before the first one, or from a damaged file) has none.
    if (event.sampleIndex >= 0 && event.sampleIndex < sampleCount()) {
        const int y = valueToY(description->valueGetter(event.sampleIndex).value);
        const int edge = down ? top : bottom;
        if (down ? y < edge : y > edge) {
            painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
            painter.drawLine(x, edge, x, y);
            yLow = std::min(yLow, y);
            yHigh = std::max(yHigh, y);
        }
    }
    painter.restore();
    return QRect(QPoint(left - 1, yLow), QPoint(right + 1, yHigh));
}
