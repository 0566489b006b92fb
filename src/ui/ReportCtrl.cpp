#include "ui/ReportCtrl.h"

#include "gettext/Translator.h"
#include "platform/Registry.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "ui/GdiPaint.h"
#include "ui/RangeGauge.h"
#include "ui/ReportCompanions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPainter>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>

namespace {

constexpr int frameBand = 2 * 3; // twice the dialog frame height, under the fixed row
constexpr int escapeKey = 27;

// The virtual-key code a parent is told for a Qt key.
int virtualKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: break;
    }
    int key = event->key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    return 0;
}

RECT narrowed(RECT r, bool grid)
{
    if (grid) {
        r.left += 1;
        r.right -= 1;
        r.bottom -= 1;
    }
    return r;
}

} // namespace

CReportCtrl::CReportCtrl(QWidget* parent, DWORD controlStyle)
    : QAbstractScrollArea(parent),
      // Shown to the user like every other text, so in the loaded language.
      emptyText(QString::fromStdWString(translate("There are no items to show in this view."))),
      sortTip(QString::fromStdWString(translate("Sort by: %s")))
{
    data.style = controlStyle & 0xFFFF;
    data.setOwner(this);
    setFrameStyle(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    head = new CFlatHeaderCtrl(this);
    head->setListener(this);
    tip = new ReportTipWnd(this);
    readWheelLines();
    if (parent)
        setFont(parent->font());
    applyFont();
    loadSystemColours();
    relayout();
}

CReportCtrl::~CReportCtrl()
{
    data.setOwner(nullptr);
    delete tip;
}

void CReportCtrl::registerWindowClass()
{
    platform::registerControlClass("TavoReportCtrl", [](const platform::ControlParameters& params, QWidget* parent) {
        auto* control = new CReportCtrl(parent, params.style & 0xFFFF);
        if (params.style & WS_BORDER)
            control->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        return static_cast<QWidget*>(control);
    });
}

bool CReportCtrl::create(DWORD windowStyle, const RECT& rect, QWidget* parent, int id)
{
    setParent(parent);
    modifyStyle(0xFFFF, windowStyle & 0xFFFF);
    setFrameStyle((windowStyle & WS_BORDER) ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
    setGeometry(ui::pixelRect(rect));
    platform::setControlId(this, id);
    if (parent)
        setFont(parent->font());
    setVisible(windowStyle & WS_VISIBLE);
    return true;
}

// ---- notifications ----

bool CReportCtrl::enabled(int code) const { return parentListener && (notifyMask & (1u << ((-code) & 31))); }

int CReportCtrl::notify(int code, int row, int subitem, int state, int itemData)
{
    if (!enabled(code))
        return 0;
    ReportNotify n;
    n.code = code;
    n.row = row;
    n.subitem = subitem;
    n.state = state;
    n.data = itemData;
    return parentListener->reportNotify(*this, n);
}

int CReportCtrl::selectionChanging(int row, int newState)
{
    return notify(ReportCode::SelectionChanging, row, -1, newState, 0);
}

void CReportCtrl::selectionChanged(int row, int newState)
{
    notify(ReportCode::SelectionChanged, row, -1, newState, 0);
}

void CReportCtrl::rowChanged(int row)
{
    int position = data.positionOf(row);
    if (position == ReportModel::noRow)
        return;
    RECT r = rowRect(position);
    if (r.bottom > r.top)
        viewport()->update(0, r.top, viewport()->width(), r.bottom - r.top);
}

void CReportCtrl::requestRow(ReportItem& request)
{
    if (!enabled(ReportCode::GetItem)) {
        request.mask = 0;
        return;
    }
    ReportItemNotify n;
    n.item = request;
    parentListener->reportGetItem(*this, n);
    request = n.item;
}

// ---- columns ----

std::vector<int> CReportCtrl::shownColumns() const
{
    std::vector<int> result;
    const FlatHeaderModel& h = head->model();
    for (int position = 0; position < h.count(); ++position)
        result.push_back(h.item(h.orderToIndex(position))->data);
    return result;
}

int CReportCtrl::headerItemOf(int column) const
{
    const FlatHeaderModel& h = head->model();
    for (int i = 0; i < h.count(); ++i)
        if (h.item(i)->data == column)
            return i;
    return -1;
}

int CReportCtrl::defineColumn(int index, const ReportColumn& column, bool notifyChooser)
{
    int result = data.defineColumn(index, column);
    if (result < 0)
        return result;
    FlatHeaderModel& h = head->model();
    for (int i = 0; i < h.count(); ++i)
        if (h.item(i)->data >= index)
            ++h.item(i)->data;
    if (notifyChooser)
        refillChooser();
    return result;
}

int CReportCtrl::showColumn(int column, int position)
{
    const ReportColumn* c = data.column(column);
    if (!c || isColumnShown(column))
        return -1;
    HeaderItem item;
    item.width = c->width;
    item.format = c->format & 0xFFFF;
    item.data = column;
    item.image = (c->format & HDF_IMAGE) ? c->image : 0;
    if (c->format & HDF_STRING)
        item.text = c->title;
    int index = head->insertItem(head->getItemCount(), item, position);
    HeaderItemEx extra;
    extra.flags = (c->format >> 16) & 0xFF;
    extra.minWidth = c->minWidth;
    extra.maxWidth = c->maxWidth;
    if (extra.flags & HeaderItemEx::HasTip)
        extra.tip = QString(sortTip).replace(QStringLiteral("%s"), c->title);
    head->setItemEx(index, extra);
    data.column(column)->width = head->model().item(index)->width;
    recomputeTotal();
    refillChooser();
    updateScroll();
    viewport()->update();
    return index;
}

bool CReportCtrl::hideColumn(int column)
{
    int item = headerItemOf(column);
    if (item < 0)
        return false;
    endEdit(false);
    head->deleteItem(item);
    const int shown = getShownColumnCount();
    if (data.focusColumn >= shown)
        data.focusColumn = shown - 1;
    recomputeTotal();
    refillChooser();
    updateScroll();
    viewport()->update();
    return true;
}

void CReportCtrl::hideAllColumns()
{
    while (head->getItemCount() > 0)
        hideColumn(head->model().item(0)->data);
}

bool CReportCtrl::isColumnShown(int column) const { return headerItemOf(column) >= 0; }

int CReportCtrl::getShownColumnCount() const { return head->getItemCount(); }

int CReportCtrl::getColumnWidth(int column) const
{
    const ReportColumn* c = data.column(column);
    return c ? c->width : 0;
}

bool CReportCtrl::setColumnWidth(int column, int width)
{
    ReportColumn* c = data.column(column);
    if (!c)
        return false;
    if (width < 0)
        width = ReportModel::defaultWidth;
    width = std::max(width, c->minWidth);
    if (c->maxWidth >= 0)
        width = std::min(width, c->maxWidth);
    c->width = width;
    int item = headerItemOf(column);
    if (item >= 0)
        head->setItemWidth(item, width);
    recomputeTotal();
    updateScroll();
    return true;
}

bool CReportCtrl::modifyColumn(int index, const ReportColumn& column, bool notifyChooser)
{
    if (!data.modifyColumn(index, column))
        return false;
    int item = headerItemOf(index);
    if (item >= 0) {
        HeaderItem h;
        h.text = column.title;
        h.format = column.format & 0xFFFF;
        head->setItem(item, h, HDI_TEXT | HDI_FORMAT);
    }
    setColumnWidth(index, column.width);
    if (notifyChooser)
        refillChooser();
    return true;
}

bool CReportCtrl::deleteColumn(int index)
{
    if (!data.column(index))
        return false;
    hideColumn(index);
    data.deleteColumn(index);
    FlatHeaderModel& h = head->model();
    for (int i = 0; i < h.count(); ++i)
        if (h.item(i)->data > index)
            --h.item(i)->data;
    refillChooser();
    viewport()->update();
    return true;
}

void CReportCtrl::deleteAllColumns()
{
    while (data.columnCount() > 0)
        deleteColumn(data.columnCount() - 1);
}

bool CReportCtrl::getSubitemWidth(int row, int column, RECT* rect) const
{
    if (!rect)
        return false;
    *rect = RECT{0, 0, ReportModel::defaultWidth, rowHeight};
    if (column == -1)
        return true;
    ReportItem item;
    item.row = row;
    item.subitem = column;
    item.mask = ReportMask::Text;
    if (!data.getItem(&item))
        return false;
    int right = cellMargin;
    if (item.image >= 0)
        right += imageWidth + cellMargin;
    if (item.check >= 0)
        right += checkWidth + cellMargin;
    if (item.mask & ReportMask::Text) {
        QFontMetrics metrics((item.state & ReportState::Bold) ? boldFont : normalFont);
        right += cellMargin + metrics.horizontalAdvance(item.text);
    }
    rect->right = right;
    return true;
}

void CReportCtrl::fitColumnWidth(int column, int firstRow, int rowCount)
{
    const ReportColumn* c = data.column(column);
    int item = headerItemOf(column);
    if (!c || item < 0)
        return;
    int width = QFontMetrics(normalFont).horizontalAdvance(c->title) + 2 * cellMargin;
    const int count = data.getItemCount();
    const int first = std::max(firstRow, 0);
    const int end = rowCount < 0 ? count : std::min(count, first + rowCount);
    for (int row = first; row < end; ++row) {
        RECT r;
        if (getSubitemWidth(row, column, &r))
            width = std::max(width, int(r.right));
    }
    head->setItemWidth(item, width);
}

void CReportCtrl::recomputeTotal() { totalWidth = head->model().totalWidth(); }

void CReportCtrl::headerItemChanged(int item, int mask)
{
    endEdit(false);
    const HeaderItem* h = head->model().item(item);
    ReportColumn* c = h ? data.column(h->data) : nullptr;
    if (!c)
        return;
    if (mask & HDI_FORMAT)
        c->format = (c->format & ~HDF_JUSTIFYMASK) | (h->format & HDF_JUSTIFYMASK);
    if (mask & HDI_WIDTH)
        c->width = h->width;
    recomputeTotal();
    updateScroll();
    viewport()->update();
    notify(ReportCode::ColumnChanged, -1, h->data, 0, 0);
}

void CReportCtrl::headerDividerDoubleClicked(int item)
{
    endEdit(false);
    const HeaderItem* h = head->model().item(item);
    if (!h)
        return;
    const int column = h->data;
    int answer = 0;
    if (enabled(ReportCode::DividerDoubleClick))
        answer = parentListener->reportDividerDoubleClick(*this, column);
    const ReportColumn* c = data.column(column);
    if (answer != 0 || (data.style & ReportStyle::OwnerData) || !c || (c->format & ReportColumn::NoFit) ||
        data.getItemCount() == 0)
        return;
    fitColumnWidth(column);
}

// ---- colours, rows, items ----

int CReportCtrl::insertColor(int index, COLORREF colour)
{
    int result = data.insertColor(index, colour);
    viewport()->update();
    return result;
}

bool CReportCtrl::deleteColor(int index)
{
    bool result = data.deleteColor(index);
    viewport()->update();
    return result;
}

int CReportCtrl::insertItem(const ReportItem& item)
{
    int row = data.insertItem(item);
    if (row >= 0) {
        updateScroll();
        viewport()->update();
    }
    return row;
}

int CReportCtrl::insertItem(const QString& text, int image, int check, int colour)
{
    ReportItem item;
    item.row = data.getItemCount();
    item.subitem = 0;
    item.mask = ReportMask::Text;
    item.text = text;
    if (image >= 0) {
        item.mask |= ReportMask::Image;
        item.image = image;
    }
    if (check >= 0) {
        item.mask |= ReportMask::Check;
        item.check = check;
    }
    if (colour >= 0) {
        item.mask |= ReportMask::Colour;
        item.colour = colour;
    }
    return insertItem(item);
}

bool CReportCtrl::setItem(const ReportItem& item)
{
    if (tip)
        tip->hide();
    if (!data.setItem(item))
        return false;
    if (item.mask & ReportMask::ExtraHeight)
        updateScroll();
    return true;
}

bool CReportCtrl::deleteItem(int row)
{
    const ReportData* r = data.row(row);
    if (!r || row < 0 || (data.style & ReportStyle::OwnerData))
        return false;
    endEdit(false);
    notify(ReportCode::ItemDeleted, row, 0, 0, r->data);
    data.deleteItem(row);
    firstRow = std::min(firstRow, layout().bottom());
    updateScroll();
    viewport()->update();
    return true;
}

void CReportCtrl::deleteAllItems()
{
    endEdit(false);
    if (!(data.style & ReportStyle::OwnerData))
        for (int row = 0; row < data.getItemCount(); ++row)
            notify(ReportCode::ItemDeleted, row, 0, 0, data.row(row)->data);
    data.deleteAllItems();
    firstRow = 0;
    updateScroll();
    viewport()->update();
}

bool CReportCtrl::setItemCount(int count)
{
    if (!data.setItemCount(count))
        return false;
    firstRow = std::min(firstRow, layout().bottom());
    updateScroll();
    viewport()->update();
    return true;
}

int CReportCtrl::insertFixedRow()
{
    ReportItem item;
    item.row = data.getItemCount();
    int row = insertItem(item);
    if (row < 0)
        return row;
    for (int c = 0; c < data.columnCount(); ++c) {
        ReportItem source;
        source.row = ReportModel::fixedRowIndex;
        source.subitem = c;
        if (!data.getItem(&source))
            continue;
        source.row = row;
        source.mask = (source.mask & (ReportMask::Text | ReportMask::Colour | ReportMask::Image | ReportMask::Check)) |
                      ReportMask::Text;
        data.setItem(source);
    }
    return row;
}

QString CReportCtrl::getItemText(int row, int subitem) const
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.mask = ReportMask::Text;
    if (!data.getItem(&item) || !(item.mask & ReportMask::Text))
        return QString();
    return item.text;
}

int CReportCtrl::getItemImage(int row, int subitem) const
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    return data.getItem(&item) ? item.image : -1;
}

int CReportCtrl::getItemCheck(int row, int subitem) const
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    return data.getItem(&item) ? item.check : -1;
}

int CReportCtrl::getItemData(int row) const
{
    ReportItem item;
    item.row = row;
    return data.getItem(&item) ? item.data : 0;
}

bool CReportCtrl::setItemText(int row, int subitem, const QString& text)
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.mask = ReportMask::Text;
    item.text = text;
    return setItem(item);
}

bool CReportCtrl::setItemImage(int row, int subitem, int image)
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.mask = ReportMask::Image;
    item.image = image;
    return setItem(item);
}

bool CReportCtrl::setItemCheck(int row, int subitem, int check)
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.mask = ReportMask::Check;
    item.check = check;
    return setItem(item);
}

bool CReportCtrl::setItemData(int row, int value)
{
    ReportItem item;
    item.row = row;
    item.mask = ReportMask::Data;
    item.data = value;
    return setItem(item);
}

// ---- appearance and layout ----

void CReportCtrl::setImageList(int width, int height)
{
    imageWidth = width;
    imageHeight = height;
    head->setImageSize(width, height);
    if (rowHeight < height) {
        rowHeight = height;
        relayout();
    }
}

void CReportCtrl::setRowHeight(int height)
{
    rowHeight = std::max(height, 1);
    relayout();
    viewport()->update();
}

int CReportCtrl::linesToHeight(const QFont& font, int lines)
{
    QFontMetrics metrics(font);
    return lines * (metrics.height() + metrics.leading());
}

bool CReportCtrl::setOption(int kind, int value, const QString& text)
{
    switch (kind) {
    case 1:
        cellMargin = value;
        break;
    case 2:
        checkWidth = value & 0xFFFF;
        checkHeight = (value >> 16) & 0xFFFF;
        break;
    case 3:
        emptyText = text;
        break;
    case 5:
        sortTip = text;
        break;
    case 6:
        notifyMask = DWORD(value);
        break;
    case 7:
        data.cacheEnabled = value != 0;
        data.cacheInvalidate();
        break;
    case 8:
        // Subitems are kept apart, so any separator serves; nothing to rebuild.
        break;
    default:
        return false;
    }
    relayout();
    viewport()->update();
    return true;
}

void CReportCtrl::modifyStyle(DWORD remove, DWORD add)
{
    endEdit(false);
    const DWORD before = data.style;
    data.style = ((data.style & ~remove) | add) & 0xFFFF;
    if ((before ^ data.style) & ReportStyle::HorizontalGrid)
        rowHeight += (data.style & ReportStyle::HorizontalGrid) ? 1 : -1;
    relayout();
    viewport()->update();
}

void CReportCtrl::loadSystemColours()
{
    const QPalette p = palette();
    palette_.outside = ui::colourRef(p.color(QPalette::Button));
    palette_.row = ui::colourRef(p.color(QPalette::Base));
    palette_.selectedFocused = ui::colourRef(p.color(QPalette::Active, QPalette::Highlight));
    palette_.selectedUnfocused = ui::colourRef(p.color(QPalette::Button));
    palette_.text = ui::colourRef(p.color(QPalette::Text));
    palette_.selectedText = ui::colourRef(p.color(QPalette::Active, QPalette::HighlightedText));
    palette_.selectedTextUnfocused = ui::colourRef(p.color(QPalette::Text));
    palette_.grid = ui::colourRef(p.color(QPalette::Button));
    palette_.band = ui::colourRef(p.color(QPalette::Button));
    palette_.shadow = ui::colourRef(p.color(QPalette::Dark));
    palette_.highlight = ui::colourRef(p.color(QPalette::Light));
    palette_.darkShadow = ui::colourRef(p.color(QPalette::Shadow));
    viewport()->update();
}

void CReportCtrl::readWheelLines()
{
    linesPerNotch = 3;
    platform::HKEY key = 0;
    if (platform::regOpenKey(platform::HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != platform::ERROR_SUCCESS)
        return;
    char text[128] = {};
    DWORD type = 0, size = sizeof text;
    if (platform::regQueryValue(key, "WheelScrollLines", &type, text, &size) == platform::ERROR_SUCCESS &&
        type == platform::REG_SZ) {
        bool ok = false;
        int lines = QString::fromLatin1(text).trimmed().toInt(&ok, 10);
        if (ok)
            linesPerNotch = lines;
    }
    platform::regCloseKey(key);
}

void CReportCtrl::applyFont()
{
    normalFont = font();
    boldFont = normalFont;
    boldFont.setWeight(QFont::Bold);
    head->setFont(normalFont);
    QFontMetrics metrics(normalFont);
    rowHeight = metrics.height() + metrics.leading() + 8 + ((data.style & ReportStyle::HorizontalGrid) ? 1 : 0);
    rowHeight = std::max(rowHeight, imageHeight);
    checkWidth = checkHeight = rowHeight - 2;
}

int CReportCtrl::fixedBandHeight() const
{
    return (data.style & ReportStyle::FixedRow) ? rowHeight + frameBand : 0;
}

QRect CReportCtrl::rowArea() const
{
    const int top = fixedBandHeight();
    return QRect(0, top, viewport()->width(), std::max(viewport()->height() - top, 0));
}

ReportLayout CReportCtrl::layout() const { return ReportLayout(data, rowHeight, rowArea().height()); }

void CReportCtrl::relayout()
{
    if (tip)
        tip->hide();
    const bool showHeader = !(data.style & ReportStyle::NoHeader);
    const int headerHeight = showHeader ? head->layoutHeight() : 0;
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect contents = contentsRect();
    head->setGeometry(contents.left(), contents.top(), contents.width(), headerHeight);
    head->setVisible(showHeader);
    updateScroll();
}

void CReportCtrl::updateScroll()
{
    if (tip)
        tip->hide();
    const int width = viewport()->width();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(totalWidth - width, 0));
    h->setPageStep(std::max(width, 1));
    h->setSingleStep(std::max(width / 8, 1));
    horizontal = h->value();
    head->setOffset(horizontal);

    ReportLayout rows = layout();
    firstRow = std::clamp(firstRow, 0, rows.bottom());
    const int page = rows.countVisibleRows(true, firstRow, nullptr, false);
    v->setRange(0, rows.count() > page ? rows.bottom() : 0);
    v->setPageStep(std::max(page, 1));
    v->setSingleStep(1);
    v->setValue(firstRow);
    firstRow = v->value();
    // Bars without a range go at once, also while a resize is being handled.
    setHorizontalScrollBarPolicy(h->maximum() > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v->maximum() > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    viewport()->update();
}

void CReportCtrl::scrollContentsBy(int, int)
{
    endEdit(false);
    if (tip)
        tip->hide();
    firstRow = verticalScrollBar()->value();
    horizontal = horizontalScrollBar()->value();
    head->setOffset(horizontal);
    viewport()->update();
}

void CReportCtrl::scrollToRow(int first)
{
    firstRow = std::clamp(first, 0, layout().bottom());
    verticalScrollBar()->setValue(firstRow);
    updateScroll();
}

void CReportCtrl::resizeEvent(QResizeEvent* event)
{
    endEdit(false);
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void CReportCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        applyFont();
        relayout();
    } else if (event->type() == QEvent::PaletteChange) {
        loadSystemColours();
    }
    QAbstractScrollArea::changeEvent(event);
}

// ---- painting ----

RECT CReportCtrl::rowRect(int position) const
{
    if (position == ReportModel::fixedRowIndex)
        return RECT{-horizontal, 0, -horizontal + totalWidth, rowHeight};
    const QRect area = rowArea();
    if (position < firstRow)
        return RECT{};
    ReportLayout rows = layout();
    int top = area.top();
    for (int p = firstRow; p < position; ++p) {
        top += rows.heightAt(p);
        if (top > area.bottom())
            return RECT{};
    }
    return RECT{-horizontal, top, -horizontal + totalWidth, top + rows.heightAt(position)};
}

void CReportCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    paintTo(painter, event->rect());
}

void CReportCtrl::drawBackground(QPainter& painter, const QRect& clip)
{
    painter.fillRect(clip, ui::qColour(palette_.outside));
}

void CReportCtrl::paintTo(QPainter& painter, const QRect& clip)
{
    if (clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawBackground(painter, clip);
    painter.setFont(normalFont);
    const QRect area = rowArea();
    const bool grid = data.style & (ReportStyle::HorizontalGrid | ReportStyle::VerticalGrid);
    const QPen gridPen(ui::qColour(palette_.grid), 0);
    const int left = -horizontal;
    const int right = left + totalWidth;

    if (data.style & ReportStyle::FixedRow) {
        const int bandBottom = area.top();
        RECT frame{left, bandBottom - frameBand, std::max(right, int(viewport()->width())), bandBottom};
        painter.fillRect(ui::pixelRect(frame), ui::qColour(palette_.band));
        ui::paintFrame3d(painter, frame, palette_.highlight, palette_.darkShadow);
        if (const ReportData* fixed = data.row(ReportModel::fixedRowIndex)) {
            RECT r{left, 0, right, rowHeight};
            drawRow(painter, r, clip, ReportModel::fixedRowIndex, *fixed, false);
            if (hasFocus_ && !editWindow && data.focusRow == ReportModel::fixedRowIndex && data.focusColumn < 0) {
                RECT f = r;
                if (grid) {
                    f.left += 1;
                    f.right -= 1;
                }
                ui::paintFocusRect(painter, f);
            }
        }
    }

    const int count = data.getItemCount();
    int position = firstRow;
    int top = area.top();
    int lastBottom = top;
    int lastExtra = 0;
    while (position < count && top <= clip.bottom()) {
        const int index = data.rowAt(position);
        const ReportData* row = data.row(index);
        if (!row)
            break;
        const int bottom = top + rowHeight + row->extraHeight;
        if (bottom >= clip.top()) {
            RECT r{left, top, right, bottom};
            drawRow(painter, r, clip, position, *row, position % 2 == 1);
            if (row->extraHeight != 0 && enabled(ReportCode::DrawExtra)) {
                ReportDrawNotify n;
                n.row = index;
                n.state = row->state;
                n.painter = &painter;
                n.area = RECT{left, top + rowHeight, right, bottom};
                n.data = row->data;
                painter.save();
                parentListener->reportDrawExtra(*this, n);
                painter.restore();
            }
            if (data.style & ReportStyle::HorizontalGrid) {
                painter.setPen(gridPen);
                painter.drawLine(left, bottom - 1, right - 1, bottom - 1);
            }
            const bool rowFocus = !(data.style & ReportStyle::CellFocus) || data.focusColumn < 0;
            if (hasFocus_ && !editWindow && data.focusRow == index && rowFocus)
                ui::paintFocusRect(painter, narrowed(r, grid));
        }
        lastBottom = bottom;
        lastExtra = row->extraHeight;
        top = bottom;
        ++position;
    }

    painter.setPen(gridPen);
    const int clientBottom = viewport()->height();
    if (grid && count > 0) {
        const int lineBottom = (data.style & ReportStyle::GridToBottom) ? clientBottom : lastBottom;
        painter.drawLine(left, area.top(), left, lineBottom - 1);
        painter.drawLine(right - 1, area.top(), right - 1, lineBottom - 1);
    }
    if ((data.style & ReportStyle::HorizontalGrid) && (data.style & ReportStyle::GridToBottom) && position >= count)
        for (int y = lastBottom + rowHeight; y <= clip.bottom() + rowHeight; y += rowHeight)
            painter.drawLine(left, y - 1, right - 1, y - 1);
    if ((data.style & ReportStyle::VerticalGrid) && count > 0) {
        int x = left;
        for (int column : shownColumns()) {
            x += data.column(column)->width;
            if (x - 1 > clip.right())
                break;
            painter.drawLine(x - 1, area.top(), x - 1, lastBottom - lastExtra - 1);
        }
    }

    if (count == 0 && !emptyText.isEmpty()) {
        int width = viewport()->width();
        if (getShownColumnCount() > 0 && totalWidth < width)
            width = totalWidth;
        QRect band(left, area.top() + 2, width, rowHeight);
        painter.setPen(ui::qColour(palette_.text));
        painter.drawText(band, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(emptyText, Qt::ElideRight, band.width()));
    }
    painter.restore();
}

void CReportCtrl::drawRow(QPainter& painter, const RECT& rowRect, const QRect& clip, int position,
                          const ReportData& row, bool odd)
{
    const int index = data.rowAt(position);
    const bool selected = row.state & ReportState::Selected;
    const COLORREF background = rowBackground(data, palette_, odd, row.background, selected, hasFocus_);
    painter.fillRect(ui::pixelRect(rowRect), ui::qColour(background));
    const bool bold = row.state & ReportState::Bold;
    painter.setFont(bold ? boldFont : normalFont);
    const bool grid = data.style & (ReportStyle::HorizontalGrid | ReportStyle::VerticalGrid);

    int x = rowRect.left;
    const std::vector<int> columns = shownColumns();
    for (int columnPosition = 0; columnPosition < int(columns.size()) && x <= clip.right(); ++columnPosition) {
        const int column = columns[columnPosition];
        const int width = data.column(column)->width;
        RECT cell{x, rowRect.top, x + width, rowRect.top + rowHeight};
        x += width;
        if (cell.right < clip.left())
            continue;
        ReportItem item;
        item.row = index;
        item.subitem = column;
        item.mask = ReportMask::Text;
        if (!data.getItem(&item))
            continue;
        if (!(item.mask & ReportMask::Text))
            item.text.clear();
        COLORREF text = cellTextColour(data, palette_, item.colour, selected, hasFocus_);
        const bool cellFocus = data.focusRow == index && data.focusColumn == columnPosition &&
                               (index == ReportModel::fixedRowIndex || (data.style & ReportStyle::CellFocus));
        if (cellFocus) {
            painter.fillRect(ui::pixelRect(cell), ui::qColour(palette_.row));
            text = palette_.text;
        }
        painter.setPen(ui::qColour(text));
        RECT inner{cell.left + cellMargin, cell.top, cell.right - cellMargin, cell.bottom};
        painter.save();
        painter.setClipRect(ui::pixelRect(cell), Qt::IntersectClip);
        drawSubitem(painter, inner, item, column, bold);
        painter.restore();
        if (cellFocus && hasFocus_ && !editWindow)
            ui::paintFocusRect(painter, narrowed(cell, grid));
    }
    painter.setFont(normalFont);
}

void CReportCtrl::drawSubitem(QPainter& painter, const RECT& rect, const ReportItem& item, int column, bool bold)
{
    const int imageWidthDrawn = drawImage(painter, rect, item);
    if (item.image >= 0 && imageWidthDrawn == 0)
        return;
    RECT rest = rect;
    rest.left += imageWidthDrawn + (imageWidthDrawn ? cellMargin : 0);
    const int checkWidthDrawn = drawCheck(painter, rest, item, column);
    if (item.check >= 0 && checkWidthDrawn == 0)
        return;
    rest.left += checkWidthDrawn + (checkWidthDrawn ? cellMargin : 0);
    drawText(painter, rest, item, column, bold);
}

int CReportCtrl::drawImage(QPainter&, const RECT&, const ReportItem&) { return 0; }

int CReportCtrl::drawCheck(QPainter& painter, const RECT& rect, const ReportItem& item, int column)
{
    if (item.check < 0) {
        const ReportColumn* c = data.column(column);
        return c && (c->format & ReportColumn::ReserveCheck) ? checkWidth : 0;
    }
    if (rect.right - rect.left <= checkWidth)
        return 0;
    const int top = (rect.top + rect.bottom) / 2 - checkHeight / 2;
    RECT box{rect.left, top, rect.left + checkWidth, top + checkHeight};
    ui::paintRectangle(painter, box, palette_.shadow, palette_.row);
    if (item.check != 0) {
        painter.save();
        painter.setPen(QPen(ui::qColour(palette_.text), std::max(1, checkWidth / 8)));
        const int w = checkWidth, h = checkHeight;
        painter.drawPolyline(QPolygon({QPoint(box.left + w / 4, box.top + h / 2),
                                       QPoint(box.left + w * 2 / 5, box.top + h * 3 / 4),
                                       QPoint(box.left + w * 3 / 4, box.top + h / 4)}));
        painter.restore();
    }
    return checkWidth;
}

int CReportCtrl::drawText(QPainter& painter, const RECT& rect, const ReportItem& item, int column, bool)
{
    // A cell that names a live gauge draws it; any other text is only text.
    if (RangeGauge* gauge = RangeGauge::fromBarCell(item.text)) {
        gauge->drawScaled(painter, rect.left, rect.top + 1, rect.right, rect.bottom - 2, true);
        return 0;
    }
    if (rect.right <= rect.left || rect.bottom <= rect.top || item.text.isEmpty())
        return 0;
    const ReportColumn* c = data.column(column);
    const int align = c ? c->format & HDF_JUSTIFYMASK : HDF_LEFT;
    if (align == HDF_JUSTIFYMASK)
        return 0;
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    flags |= align == HDF_RIGHT ? Qt::AlignRight : align == HDF_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
    QRect box = ui::pixelRect(rect);
    painter.drawText(box, flags, ui::fitText(painter, item.text, box.width()));
    return 0;
}

// ---- selection, focus, keys ----

void CReportCtrl::select(int from, int to, bool change, bool extend, bool toggle, bool notifyParent)
{
    data.select(from, to, change, extend, toggle, notifyParent);
}

bool CReportCtrl::selectRow(int row, bool extend)
{
    int position = data.positionOf(row);
    if (position == ReportModel::noRow)
        return false;
    data.select(position, position, true, extend, false, true);
    if (!extend || data.anchor == ReportModel::noRow)
        data.anchor = position;
    return true;
}

bool CReportCtrl::selectRows(const std::vector<int>& rows, bool extend)
{
    bool all = true;
    bool first = true;
    for (int row : rows) {
        all = selectRow(row, extend || !first) && all;
        first = false;
    }
    return all;
}

void CReportCtrl::getFocus(int* row, int* column) const
{
    if (row)
        *row = data.focusRow;
    if (column)
        *column = data.focusColumn;
}

bool CReportCtrl::setFocus(int row, int column)
{
    const std::vector<int> columns = shownColumns();
    if (column >= int(columns.size()) || column < -1)
        return false;
    if (column >= 0 && (data.column(columns[column])->format & ReportColumn::NoFocus))
        return false;
    int position = data.positionOf(row);
    if (position == ReportModel::noRow)
        return false;
    data.select(position, position, false, false, false, true);
    data.focusColumn = column;
    scrollFocusIntoView();
    viewport()->update();
    return true;
}

int CReportCtrl::focusPosition() const { return data.positionOf(data.focusRow); }

int CReportCtrl::getVisibleRowCount() const { return layout().countVisibleRows(true, firstRow, nullptr, false); }

bool CReportCtrl::isRowVisible(int row, bool partial) const
{
    int position = data.positionOf(row);
    if (position < firstRow)
        return position == ReportModel::fixedRowIndex && (data.style & ReportStyle::FixedRow);
    int last = firstRow;
    layout().countVisibleRows(!partial, firstRow, &last, false);
    return position <= last;
}

void CReportCtrl::scrollFocusIntoView()
{
    const int position = focusPosition();
    if (position < 0)
        return;
    scrollToRow(layout().scrollToShow(firstRow, position));
}

int CReportCtrl::columnLeft(int columnPosition) const
{
    int x = 0;
    const std::vector<int> columns = shownColumns();
    for (int p = 0; p < columnPosition && p < int(columns.size()); ++p)
        x += data.column(columns[p])->width;
    return x;
}

void CReportCtrl::scrollColumnIntoView(int columnPosition)
{
    if (columnPosition < 0)
        return;
    const int before = columnLeft(columnPosition);
    const int width = data.column(shownColumns()[columnPosition])->width;
    if (before + width > horizontal + viewport()->width() || before < horizontal)
        horizontalScrollBar()->setValue(before);
}

void CReportCtrl::moveFocusTo(int position, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        data.select(position, position, false, false, false, true);
        data.anchor = position;
    } else if (modifiers & Qt::ShiftModifier) {
        if (data.anchor == ReportModel::noRow)
            data.anchor = position;
        data.select(position, data.anchor, true, false, false, true);
    } else {
        data.select(position, position, true, false, false, true);
        data.anchor = position;
    }
    scrollFocusIntoView();
}

void CReportCtrl::keyPressEvent(QKeyEvent* event)
{
    editChar = false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (enabled(ReportCode::KeyDown)) {
        ReportKeyNotify n;
        n.key = virtualKey(event);
        n.flags = event->isAutoRepeat() ? 0x4000 : 0;
        n.row = data.focusRow;
        const std::vector<int> columns = shownColumns();
        n.column = data.focusColumn >= 0 && data.focusColumn < int(columns.size()) ? columns[data.focusColumn] : -1;
        n.data = data.focusRow != ReportModel::noRow ? data.row(data.focusRow) ? data.row(data.focusRow)->data : 0 : 0;
        if (parentListener->reportKeyDown(*this, n) != 0) {
            event->ignore();
            return;
        }
    }
    const int count = data.getItemCount();
    const int focus = focusPosition();
    const bool hasFixed = data.style & ReportStyle::FixedRow;
    ReportLayout rows = layout();
    switch (event->key()) {
    case Qt::Key_Escape:
        event->ignore();
        return;
    case Qt::Key_Space:
        if (focus != ReportModel::noRow)
            data.select(focus, focus, true, true, mods & Qt::ControlModifier, true);
        break;
    case Qt::Key_Up:
        if (focus == ReportModel::noRow && count > 0)
            moveFocusTo(0, mods);
        else if (focus > 0 || (focus == 0 && hasFixed))
            moveFocusTo(focus - 1, mods);
        break;
    case Qt::Key_Down:
        if (focus == ReportModel::noRow && count > 0)
            moveFocusTo(0, mods);
        else if (focus + 1 < count)
            moveFocusTo(focus + 1, mods);
        break;
    case Qt::Key_PageUp:
        if (count > 0) {
            if (focus == firstRow)
                scrollToRow(rows.pageUp(firstRow));
            moveFocusTo(firstRow, mods);
        }
        break;
    case Qt::Key_PageDown:
        if (count > 0) {
            int last = firstRow;
            rows.countVisibleRows(true, firstRow, &last, false);
            if (focus == last) {
                scrollToRow(rows.pageDown(firstRow));
                layout().countVisibleRows(true, firstRow, &last, false);
            }
            moveFocusTo(last, mods);
        }
        break;
    case Qt::Key_Home:
        if (count > 0 && focus != 0) {
            scrollToRow(0);
            if (!(mods & Qt::ShiftModifier) || data.anchor == ReportModel::noRow)
                data.anchor = 0;
            data.select(0, data.anchor, !(mods & Qt::ControlModifier), false, false, true);
        }
        break;
    case Qt::Key_End:
        if (count > 0) {
            scrollToRow(rows.bottom());
            if (!(mods & Qt::ShiftModifier) || data.anchor == ReportModel::noRow)
                data.anchor = count - 1;
            data.select(data.anchor, count - 1, !(mods & Qt::ControlModifier), false, false, true);
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const std::vector<int> columns = shownColumns();
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        int next = data.focusColumn + step;
        while (next >= 0 && next < int(columns.size()) &&
               (data.column(columns[next])->format & ReportColumn::NoFocus))
            next += step;
        if (next < 0)
            data.focusColumn = -1;
        else if (next < int(columns.size()))
            data.focusColumn = next;
        scrollColumnIntoView(data.focusColumn);
        rowChanged(data.focusRow);
        break;
    }
    default: {
        editChar = !(mods & Qt::ControlModifier);
        const QString text = event->text();
        const bool editable = data.focusColumn >= 0 &&
                              (data.focusRow == ReportModel::fixedRowIndex || (data.style & ReportStyle::CellFocus));
        if (editChar && editable && !text.isEmpty() && text[0] != QChar(escapeKey) && text[0] != QChar('\t')) {
            if (beginEdit(data.focusRow, data.focusColumn, text[0].unicode()))
                break;
        }
        event->ignore();
        return;
    }
    }
    viewport()->update();
    event->accept();
}

void CReportCtrl::focusInEvent(QFocusEvent* event)
{
    hasFocus_ = true;
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void CReportCtrl::focusOutEvent(QFocusEvent* event)
{
    QWidget* now = QApplication::focusWidget();
    if (!editWindow || now != editWindow.data())
        hasFocus_ = false;
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void CReportCtrl::wheelEvent(QWheelEvent* event)
{
    const int steps = wheel.add(event->angleDelta().y(), linesPerNotch);
    ReportLayout rows = layout();
    int first = firstRow;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (linesPerNotch == -1)
            first = steps > 0 ? rows.pageUp(first) : rows.pageDown(first);
        else
            first = steps > 0 ? rows.lineUp(first) : rows.lineDown(first);
    }
    if (first != firstRow)
        scrollToRow(first);
    event->accept();
}

// ---- mouse and hit tests ----

void CReportCtrl::hitTest(ReportHitTest* test) const
{
    if (!test)
        return;
    const QPoint p = test->point;
    test->flags = 0;
    test->row = ReportModel::noRow;
    test->column = -1;
    test->rowPosition = ReportModel::noRow;
    test->columnPosition = -1;
    test->cell = RECT{};
    if (p.y() < 0)
        test->flags |= ReportHitTest::Above;
    if (p.y() >= viewport()->height())
        test->flags |= ReportHitTest::Below;
    if (p.x() < 0)
        test->flags |= ReportHitTest::LeftOf;
    if (p.x() >= viewport()->width())
        test->flags |= ReportHitTest::RightOf;
    if (test->flags)
        return;
    const QRect area = rowArea();
    int top = 0, height = rowHeight;
    if ((data.style & ReportStyle::FixedRow) && p.y() < area.top()) {
        test->flags = ReportHitTest::OnFixedRow;
        test->row = test->rowPosition = ReportModel::fixedRowIndex;
        if (p.y() >= rowHeight)
            return;
    } else {
        int rowTop = 0;
        int position = layout().positionAt(firstRow, p.y() - area.top(), &rowTop);
        if (position == ReportModel::noRow) {
            test->flags = ReportHitTest::Nowhere;
            return;
        }
        test->rowPosition = position;
        test->row = data.rowAt(position);
        top = area.top() + rowTop;
        if (p.y() >= top + rowHeight) {
            test->flags = ReportHitTest::OnExtraArea;
            return;
        }
    }
    const std::vector<int> columns = shownColumns();
    int x = -horizontal;
    for (int position = 0; position < int(columns.size()); ++position) {
        const int width = data.column(columns[position])->width;
        if (p.x() >= x && p.x() < x + width) {
            test->column = columns[position];
            test->columnPosition = position;
            test->cell = RECT{x, top, x + width, top + height};
            ReportItem item;
            item.row = test->row;
            item.subitem = test->column;
            data.getItem(&item);
            int edge = x + cellMargin;
            if (item.image >= 0 && p.x() < (edge += imageWidth + cellMargin)) {
                test->flags |= ReportHitTest::OnImage;
            } else if (item.check >= 0 && p.x() < edge + checkWidth + cellMargin) {
                test->flags |= ReportHitTest::OnCheck;
            } else {
                test->flags |= ReportHitTest::OnText;
            }
            return;
        }
        x += width;
    }
    test->flags |= ReportHitTest::Nowhere;
}

bool CReportCtrl::getSubitemRect(int row, int column, RECT* rect, int part) const
{
    if (!rect)
        return false;
    const int position = data.positionOf(row);
    const std::vector<int> columns = shownColumns();
    auto found = std::find(columns.begin(), columns.end(), column);
    if (position == ReportModel::noRow || found == columns.end())
        return false;
    RECT r = rowRect(position);
    if (position != ReportModel::fixedRowIndex && r.bottom <= r.top)
        return false; // not on screen
    const int left = -horizontal + columnLeft(int(found - columns.begin()));
    RECT cell{left, r.top, left + data.column(column)->width, r.top + rowHeight};
    ReportItem item;
    item.row = row;
    item.subitem = column;
    data.getItem(&item);
    int x = cell.left + cellMargin;
    RECT image{x, cell.top, x, cell.bottom};
    if (item.image >= 0) {
        image.right = x + imageWidth;
        x = image.right + cellMargin;
    }
    RECT check{x, cell.top, x, cell.bottom};
    const ReportColumn* c = data.column(column);
    if (item.check >= 0 || (c->format & ReportColumn::ReserveCheck)) {
        check.right = x + checkWidth;
        x = check.right + cellMargin;
    }
    RECT text{x, cell.top, std::max(x, int(cell.right - cellMargin)), cell.bottom};
    *rect = part == 1 ? image : part == 2 ? check : part == 3 ? text : cell;
    return true;
}

void CReportCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    QAbstractScrollArea::setFocus(Qt::MouseFocusReason);
    ReportHitTest hit;
    hit.point = event->position().toPoint();
    hitTest(&hit);
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->button() == Qt::RightButton) {
        if (notify(ReportCode::RightClick, hit.row, hit.column, 0, 0) != 0)
            return;
        if (hit.rowPosition != ReportModel::noRow && !(mods & (Qt::ShiftModifier | Qt::ControlModifier))) {
            data.select(hit.rowPosition, hit.rowPosition, true, false, false, true);
            data.anchor = hit.rowPosition;
        }
        viewport()->update();
        return;
    }
    if (notify(ReportCode::ItemClick, hit.row, hit.column, 0, 0) != 0)
        return;
    const int oldRow = data.focusRow, oldColumn = data.focusColumn;
    int columnPosition = hit.columnPosition;
    if (columnPosition >= 0 && (data.column(hit.column)->format & ReportColumn::NoFocus))
        columnPosition = -1;
    data.focusColumn = columnPosition;
    if (hit.rowPosition != ReportModel::noRow) {
        const int p = hit.rowPosition;
        if (data.anchor == ReportModel::noRow)
            data.anchor = p;
        const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
        if (shift && ctrl) {
            data.select(p, data.anchor, true, true, false, true);
            data.anchor = p;
        } else if (shift) {
            data.select(p, data.anchor, true, false, false, true);
        } else if (ctrl) {
            data.select(p, p, true, true, true, true);
            data.anchor = p;
        } else {
            data.select(p, p, true, false, false, true);
            data.anchor = p;
            const bool editable = hit.row == ReportModel::fixedRowIndex || (data.style & ReportStyle::CellFocus);
            if (oldRow == data.focusRow && oldColumn == data.focusColumn && editable && columnPosition >= 0)
                beginEdit(hit.row, columnPosition, 1);
        }
    }
    viewport()->update();
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    ReportHitTest hit;
    hit.point = event->position().toPoint();
    hitTest(&hit);
    notify(ReportCode::ItemDoubleClick, hit.row, hit.column, 0, 0);
}

void CReportCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton || !(data.style & ReportStyle::Tips) || editWindow || !tip)
        return;
    ReportHitTest hit;
    hit.point = event->position().toPoint();
    hitTest(&hit);
    if (hit.column < 0 || !(hit.flags & ReportHitTest::OnText))
        return;
    const QString text = getItemText(hit.row, hit.column);
    if (text.isEmpty() || RangeGauge::fromBarCell(text))
        return;
    const bool bold = data.stateOf(hit.row) & ReportState::Bold;
    tip->show(hit.cell, text, bold ? &boldFont : &normalFont);
}

// ---- sorting ----

int CReportCtrl::compareRows(int column, int rowA, int rowB) const
{
    if (sortCallback)
        return sortCallback(column, rowA, rowB);
    ReportItem a, b;
    a.row = rowA;
    b.row = rowB;
    a.subitem = b.subitem = column;
    a.mask = b.mask = ReportMask::Text;
    data.getItem(&a);
    data.getItem(&b);
    const bool textA = a.mask & ReportMask::Text, textB = b.mask & ReportMask::Text;
    if (textA || textB) {
        const QByteArray x = textA ? a.text.toUtf8() : QByteArray();
        const QByteArray y = textB ? b.text.toUtf8() : QByteArray();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return a.image - b.image;
}

void CReportCtrl::sortByColumn(int column, bool ascending)
{
    const int item = headerItemOf(column);
    head->setSortColumn(item, ascending);
    const int count = data.getItemCount();
    if (count > 1)
        data.sortRange(0, count - 1, [&](int a, int b) {
            int r = compareRows(column, a, b);
            return ascending ? r : -r;
        });
    scrollFocusIntoView();
    viewport()->update();
}

void CReportCtrl::sortAll(bool ascending)
{
    std::vector<int> order = data.getRowOrder();
    const std::vector<int> columns = shownColumns();
    auto compare = [&](int a, int b) {
        for (int column : columns)
            if (int r = compareRows(column, a, b))
                return ascending ? r : -r;
        return 0;
    };
    // An exchange sort, stable for rows that compare equal.
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        for (std::size_t j = i + 1; j < order.size(); ++j)
            if (compare(order[j], order[i]) < 0)
                std::swap(order[i], order[j]);
    data.setRowOrder(order);
    scrollFocusIntoView();
    viewport()->update();
}

bool CReportCtrl::setRowOrder(const std::vector<int>& order)
{
    if (!data.setRowOrder(order))
        return false;
    scrollFocusIntoView();
    viewport()->update();
    return true;
}

bool CReportCtrl::moveRowUp(int position)
{
    bool moved = data.moveRowUp(position);
    viewport()->update();
    return moved;
}

bool CReportCtrl::moveRowDown(int position)
{
    bool moved = data.moveRowDown(position);
    viewport()->update();
    return moved;
}

// ---- layout strings ----

QString CReportCtrl::layoutString() const
{
    const std::vector<int> shown = shownColumns();
    QString text = QString("(%1,%2)").arg(data.columnCount()).arg(shown.size());
    for (int c = 0; c < data.columnCount(); ++c)
        text += QString(" %1").arg(data.column(c)->width);
    for (int c : shown)
        text += QString(" %1").arg(c);
    return text;
}

bool CReportCtrl::applyLayoutString(const QString& text)
{
    const int open = text.indexOf('('), comma = text.indexOf(','), close = text.indexOf(')');
    if (open != 0 || comma < 0 || close < comma)
        return false;
    bool ok1 = false, ok2 = false;
    const int columns = text.mid(1, comma - 1).toInt(&ok1);
    const int shown = text.mid(comma + 1, close - comma - 1).toInt(&ok2);
    const QStringList numbers = text.mid(close + 1).split(' ', Qt::SkipEmptyParts);
    if (!ok1 || !ok2 || columns != data.columnCount() || shown < 0 || shown > columns ||
        numbers.size() != columns + shown)
        return false;
    std::vector<int> values;
    for (const QString& n : numbers) {
        bool ok = false;
        values.push_back(n.toInt(&ok));
        if (!ok)
            return false;
    }
    for (int i = 0; i < shown; ++i)
        if (values[columns + i] < 0 || values[columns + i] >= columns)
            return false;
    hideAllColumns();
    for (int c = 0; c < columns; ++c)
        data.column(c)->width = values[c] < 0 ? ReportModel::defaultWidth : values[c];
    for (int i = 0; i < shown; ++i)
        showColumn(values[columns + i], i);
    return true;
}

bool CReportCtrl::saveLayout(const std::string& section, const std::string& entry) const
{
    platform::HKEY key = 0;
    const std::string path = "Software\\Tavo\\Tavo CPR\\" + section;
    if (platform::regCreateKey(platform::HKEY_CURRENT_USER, path, &key) != platform::ERROR_SUCCESS)
        return false;
    const std::string value = layoutString().toStdString();
    LONG result = platform::regSetValue(key, entry, platform::REG_SZ, value.c_str(), DWORD(value.size() + 1));
    platform::regCloseKey(key);
    return result == platform::ERROR_SUCCESS;
}

bool CReportCtrl::loadLayout(const std::string& section, const std::string& entry)
{
    platform::HKEY key = 0;
    const std::string path = "Software\\Tavo\\Tavo CPR\\" + section;
    if (platform::regOpenKey(platform::HKEY_CURRENT_USER, path, &key) != platform::ERROR_SUCCESS)
        return false;
    char text[1024] = {};
    DWORD type = 0, size = sizeof text - 1;
    LONG result = platform::regQueryValue(key, entry, &type, text, &size);
    platform::regCloseKey(key);
    return result == platform::ERROR_SUCCESS && type == platform::REG_SZ && applyLayoutString(QString::fromLatin1(text));
}

// ---- editing and companions ----

QString CReportCtrl::editText(int row, int column) const { return getItemText(row, column); }

bool CReportCtrl::beginEdit(int row, int columnPosition, int character)
{
    if (editWindow)
        endEdit(true);
    if (row < 0 && !(row == ReportModel::fixedRowIndex && (data.style & ReportStyle::FixedRow)))
        return false;
    const std::vector<int> columns = shownColumns();
    if (columnPosition < 0 || columnPosition >= int(columns.size()))
        return false;
    const int column = columns[columnPosition];
    ReportItem item;
    item.row = row;
    item.subitem = column;
    item.mask = ReportMask::Text;
    if (!data.getItem(&item) || item.check >= 0)
        return false;
    RECT cell, textPart;
    if (!getSubitemRect(row, column, &cell, 0) || !getSubitemRect(row, column, &textPart, 3))
        return false;
    if (enabled(ReportCode::BeginEdit)) {
        ReportEditNotify n;
        n.code = ReportCode::BeginEdit;
        n.row = row;
        n.column = column;
        n.rect = cell;
        n.key = character;
        n.text = (item.mask & ReportMask::Text) ? item.text : QString();
        n.data = item.data;
        if (parentListener->reportBeginEdit(*this, n) != 0) {
            if (!n.editor)
                return false;
            editWindow = n.editor;
            editRow = row;
            editColumn = column;
            editWindow->setFocus();
            return true;
        }
    }
    if (textPart.right <= textPart.left)
        return false;
    auto* edit = new ReportEdit(this, row, column);
    edit->setFont((item.state & ReportState::Bold) ? boldFont : normalFont);
    edit->setGeometry(ui::pixelRect(textPart));
    edit->setText((item.mask & ReportMask::Text) ? item.text : QString());
    editWindow = edit;
    editRow = row;
    editColumn = column;
    edit->show();
    edit->setFocus();
    edit->start(character);
    viewport()->update();
    return true;
}

void CReportCtrl::endEdit(bool save, const ReportEditNotify* notification)
{
    if (!editWindow)
        return;
    QPointer<QWidget> window = editWindow;
    editWindow = nullptr;
    if (save && !(data.style & ReportStyle::OwnerData)) {
        QString text;
        if (notification)
            text = notification->text;
        else if (auto* line = qobject_cast<QLineEdit*>(window.data()))
            text = line->text();
        else if (auto* combo = qobject_cast<QComboBox*>(window.data()))
            text = combo->currentText();
        setItemText(editRow, editColumn, text.left(255));
    }
    if (window)
        QMetaObject::invokeMethod(window.data(), "close", Qt::QueuedConnection);
    if (!hasFocus())
        hasFocus_ = false;
    rowChanged(editRow);
    editRow = ReportModel::noRow;
    editColumn = -1;
}

void CReportCtrl::editorEnded(const ReportEditNotify& notification)
{
    int answer = 0;
    if (enabled(ReportCode::EndEdit))
        answer = parentListener->reportEndEdit(*this, notification);
    endEdit(notification.key != escapeKey && answer == 0, &notification);
}

void CReportCtrl::setColumnChooser(ReportColumnChooser* newChooser)
{
    chooser = newChooser;
    head->setOption(5, 0);
    if (chooser) {
        chooser->setReportCtrl(this);
        chooser->refill();
    }
}

void CReportCtrl::refillChooser()
{
    if (chooser)
        chooser->refill();
}

// ---- the view ----

CReportView::CReportView(QWidget* parent) : QWidget(parent), control(new CReportCtrl(this))
{
    setFocusPolicy(Qt::StrongFocus);
    control->setGeometry(rect());
}

void CReportView::resizeEvent(QResizeEvent*) { control->setGeometry(rect()); }

void CReportView::focusInEvent(QFocusEvent*) { control->setFocus(); }
