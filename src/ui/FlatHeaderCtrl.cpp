#include "ui/FlatHeaderCtrl.h"

#include "ui/GdiPaint.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>

namespace {

QPolygon polyline(const std::vector<POINT>& points)
{
    QPolygon result;
    for (const POINT& p : points)
        result << QPoint(p.x, p.y);
    return result;
}

constexpr COLORREF dropMarkerColour = 0x0000FF;

} // namespace

CFlatHeaderCtrl::CFlatHeaderCtrl(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CFlatHeaderCtrl::~CFlatHeaderCtrl() { delete marker.data(); }

int CFlatHeaderCtrl::insertItem(int index, const HeaderItem& item, int order)
{
    int result = items.insertItem(index, item, order);
    update();
    return result;
}

bool CFlatHeaderCtrl::deleteItem(int index)
{
    if (!items.deleteItem(index))
        return false;
    if (sortItem == index)
        sortItem = -1;
    else if (sortItem > index)
        --sortItem;
    update();
    return true;
}

bool CFlatHeaderCtrl::setItem(int index, const HeaderItem& item, int mask)
{
    HeaderItem* target = items.item(index);
    if (!target)
        return false;
    if (mask & HDI_WIDTH)
        target->width = item.width;
    if (mask & HDI_TEXT)
        target->text = item.text;
    if (mask & HDI_FORMAT)
        target->format = item.format;
    changed(index, mask);
    return true;
}

bool CFlatHeaderCtrl::setItemWidth(int index, int width)
{
    HeaderItem item;
    item.width = width;
    return setItem(index, item, HDI_WIDTH);
}

bool CFlatHeaderCtrl::getItem(int index, HeaderItem* item) const
{
    const HeaderItem* source = items.item(index);
    if (!source || !item)
        return false;
    *item = *source;
    return true;
}

bool CFlatHeaderCtrl::setItemEx(int index, const HeaderItemEx& extra)
{
    const HeaderItem* item = items.item(index);
    if (!item)
        return false;
    int before = item->width;
    items.setItemEx(index, extra, [this](const QString& text) { return textWidth(text); });
    if (items.item(index)->width != before)
        changed(index, HDI_WIDTH);
    return true;
}

void CFlatHeaderCtrl::setSortColumn(int item, bool up)
{
    sortItem = item;
    ascending = up;
    update();
}

int CFlatHeaderCtrl::getSortColumn(bool* up) const
{
    if (up)
        *up = ascending;
    return sortItem;
}

bool CFlatHeaderCtrl::setOption(int kind, int value)
{
    switch (kind) {
    case 1:
        items.margin = value;
        break;
    case 2:
        items.arrowWidth = value & 0xFFFF;
        items.arrowHeight = (value >> 16) & 0xFFFF;
        break;
    case 3:
    case 4:
    case 5:
    case 6:
        break;
    default:
        return false;
    }
    options[kind] = value;
    update();
    return true;
}

int CFlatHeaderCtrl::getOption(int kind) const { return kind >= 1 && kind <= 6 ? options[kind] : 0; }

void CFlatHeaderCtrl::setHeight(int height)
{
    fixedHeight = height;
    updateGeometry();
}

int CFlatHeaderCtrl::getHeight() const { return fixedHeight >= 0 ? fixedHeight : height(); }

int CFlatHeaderCtrl::layoutHeight() const
{
    if (fixedHeight >= 0)
        return fixedHeight;
    return std::max(fontMetrics().height(), items.imageHeight) + 8;
}

void CFlatHeaderCtrl::setImageSize(int width, int height)
{
    items.imageWidth = width;
    items.imageHeight = height;
}

void CFlatHeaderCtrl::setOffset(int pixels)
{
    if (scroll != pixels) {
        scroll = pixels;
        update();
    }
}

int CFlatHeaderCtrl::textWidth(const QString& text) const { return fontMetrics().horizontalAdvance(text); }

bool CFlatHeaderCtrl::resizable(int item) const
{
    const HeaderItemEx* extra = items.extra(item);
    return extra && !(extra->flags & HeaderItemEx::FixedWidth);
}

void CFlatHeaderCtrl::changed(int item, int mask)
{
    update();
    if (owner)
        owner->headerItemChanged(item, mask);
}

QColor CFlatHeaderCtrl::highlightColour() const { return palette().color(QPalette::Light); }
QColor CFlatHeaderCtrl::shadowColour() const { return palette().color(QPalette::Dark); }
QColor CFlatHeaderCtrl::faceColour() const { return palette().color(QPalette::Button); }
QColor CFlatHeaderCtrl::textColour() const { return palette().color(QPalette::ButtonText); }

void CFlatHeaderCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintTo(painter, rect());
}

void CFlatHeaderCtrl::paintTo(QPainter& painter, const QRect& area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, faceColour());
    painter.setFont(font());
    const int h = area.height();
    const int count = items.count();
    for (int position = 0; position < count; ++position) {
        int index = items.orderToIndex(position);
        const HeaderItem& item = *items.item(index);
        RECT r = items.itemRect(index, h);
        r.left += area.left() - scroll;
        r.right += area.left() - scroll;
        r.top += area.top();
        r.bottom += area.top();
        if (r.right < area.left() || r.left > area.right())
            continue;
        if (!(item.format & HDF_OWNERDRAW)) {
            RECT inner{r.left + items.margin, r.top, r.right - items.margin, r.bottom};
            painter.save();
            painter.setClipRect(ui::pixelRect(r), Qt::IntersectClip);
            drawItem(painter, inner, item, index == sortItem, ascending);
            painter.restore();
            if (index == pressedItem && dragItem < 0) {
                painter.save();
                painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                painter.fillRect(ui::pixelRect(r), Qt::white);
                painter.restore();
            }
        }
        if (position + 1 < count) {
            painter.setPen(QPen(shadowColour(), 0));
            painter.drawLine(r.right - 1, r.top + 2, r.right - 1, r.bottom - 3);
            painter.setPen(QPen(highlightColour(), 0));
            painter.drawLine(r.right, r.top + 2, r.right, r.bottom - 3);
        }
    }
    int total = items.totalWidth();
    if (total > 0) {
        RECT frame{area.left() - scroll, area.top(), area.left() - scroll + total, area.top() + h};
        ui::paintFrame3d(painter, frame, ui::colourRef(highlightColour()), ui::colourRef(shadowColour()));
    }
    painter.restore();
}

void CFlatHeaderCtrl::drawItem(QPainter& painter, const RECT& rect, const HeaderItem& item, bool isSortItem,
                               bool up)
{
    const int align = item.format & HDF_JUSTIFYMASK;
    if (align == HDF_JUSTIFYMASK || rect.right <= rect.left)
        return;
    const bool hasText = (item.format & HDF_STRING) && !item.text.isEmpty();
    const int m = items.margin;
    const int arrowRoom = isSortItem ? items.arrowWidth + m : 0;
    RECT textRect = rect;
    int arrowX = rect.right - items.arrowHeight;
    if (align == HDF_LEFT) {
        textRect.right -= arrowRoom;
        if (isSortItem) {
            int used = hasText ? std::min(textWidth(item.text), int(textRect.right - textRect.left)) : 0;
            arrowX = rect.left + used + (hasText ? m : 0);
        }
    } else {
        textRect.right -= arrowRoom;
    }
    if (hasText && textRect.right > textRect.left) {
        painter.setPen(textColour());
        QRect box = ui::pixelRect(textRect);
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= align == HDF_RIGHT ? Qt::AlignRight : align == HDF_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
        painter.drawText(box, flags, ui::fitText(painter, item.text, box.width()));
    }
    if (isSortItem) {
        SortArrow arrow = sortArrow(rect, arrowX, items.arrowWidth, items.arrowHeight, up);
        if (arrow.drawn) {
            painter.setPen(QPen(highlightColour(), 0));
            painter.drawPolyline(polyline(arrow.highlight));
            painter.setPen(QPen(shadowColour(), 0));
            painter.drawPolyline(polyline(arrow.shadow));
        }
    }
}

void CFlatHeaderCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    HeaderHit hit = hitAt(x);
    if (hit.flags == HeaderHit::OnDivider) {
        if (!resizable(hit.item))
            return; // a fixed divider takes no clicks
        dragItem = hit.item;
        RECT r = items.itemRect(hit.item, height());
        dragOffset = (r.right - scroll) - x;
    } else if (hit.flags == HeaderHit::OnItem) {
        pressedItem = hit.item;
        update();
    }
}

void CFlatHeaderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (dragItem >= 0 && (event->buttons() & Qt::LeftButton)) {
        RECT r = items.itemRect(dragItem, height());
        int width = items.clampDraggedWidth(dragItem, x + dragOffset + scroll - r.left);
        if (width != items.item(dragItem)->width)
            setItemWidth(dragItem, width);
        return;
    }
    HeaderHit hit = hitAt(x);
    if (hit.flags == HeaderHit::OnDivider && resizable(hit.item))
        setCursor(Qt::SplitHCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void CFlatHeaderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragItem = -1;
    if (pressedItem >= 0) {
        pressedItem = -1;
        update();
    }
}

void CFlatHeaderCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    HeaderHit hit = hitAt(event->position().toPoint().x());
    if (hit.flags == HeaderHit::OnDivider && resizable(hit.item) && owner)
        owner->headerDividerDoubleClicked(hit.item);
}

void CFlatHeaderCtrl::leaveEvent(QEvent*)
{
    if (dragItem < 0)
        setCursor(Qt::ArrowCursor);
}

bool CFlatHeaderCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        HeaderHit hit = hitAt(help->pos().x());
        const HeaderItemEx* extra = items.extra(hit.item);
        if (options[6] && hit.flags == HeaderHit::OnItem && extra && !extra->tip.isEmpty())
            QToolTip::showText(help->globalPos(), extra->tip, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

int CFlatHeaderCtrl::setHotDivider(const QPoint& globalPoint)
{
    QPoint local = mapFromGlobal(globalPoint);
    int position = rect().contains(local) ? items.dropPosition(local.x() + scroll) : -1;
    return setHotDivider(position);
}

int CFlatHeaderCtrl::setHotDivider(int position)
{
    if (position < 0 || position > items.count()) {
        delete marker.data();
        return position;
    }
    if (!marker)
        marker = new HeaderDropWnd(height(), dropMarkerColour);
    int x;
    if (position == items.count()) {
        x = items.totalWidth();
    } else {
        RECT r = items.itemRect(items.orderToIndex(position), height());
        x = r.left - 1;
    }
    marker->placeAt(mapToGlobal(QPoint(x - scroll, height() / 2)));
    return position;
}

QWidget* CFlatHeaderCtrl::dropMarker() const { return marker.data(); }

HeaderDropWnd::HeaderDropWnd(int headerHeight, COLORREF markerColour)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), colour(markerColour)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int b = headerHeight + 20;
    resize(12, b);
    QPolygon down({QPoint(8, 0), QPoint(8, 4), QPoint(11, 4), QPoint(6, 9), QPoint(1, 4), QPoint(4, 4),
                   QPoint(4, 0)});
    QPolygon up({QPoint(4, b), QPoint(4, b - 4), QPoint(0, b - 4), QPoint(6, b - 10), QPoint(12, b - 4),
                 QPoint(8, b - 4), QPoint(8, b)});
    setMask(QRegion(down).united(QRegion(up)));
}

void HeaderDropWnd::placeAt(const QPoint& globalPoint)
{
    move(globalPoint.x() - 6, globalPoint.y() - height() / 2);
    show();
    raise();
}

void HeaderDropWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ui::qColour(colour));
}

HeaderDragWnd::HeaderDragWnd(CFlatHeaderCtrl* owner, int item, const HeaderItem& shown, const QSize& size)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), header(owner),
      index(item), content(shown)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (owner)
        setFont(owner->font());
    resize(size);
}

void HeaderDragWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!header)
        return;
    painter.fillRect(rect(), header->faceColour());
    RECT r{0, 0, width(), height()};
    ui::paintFrame3d(painter, r, ui::colourRef(header->highlightColour()), ui::colourRef(header->shadowColour()));
    const int m = header->model().margin;
    bool up = true;
    bool isSort = header->getSortColumn(&up) == index;
    header->drawItem(painter, RECT{m, 0, width() - m, height()}, content, isSort, up);
}
