#include "ui/ReportCompanions.h"

#include "ui/FlatHeaderCtrl.h"
#include "ui/ReportCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace {

constexpr int enterKey = 13;
constexpr int escapeKey = 27;
constexpr int tabKey = 9;

int endingKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return tabKey;
    case Qt::Key_Return:
    case Qt::Key_Enter: return enterKey;
    case Qt::Key_Escape: return escapeKey;
    default: return 0;
    }
}

// What every in-place editor does with the first character.
enum class Start { CaretToEnd, DeleteLast, SelectAll, Replace };

Start startOf(int ch)
{
    if (ch == 1 || ch == enterKey)
        return Start::CaretToEnd;
    if (ch == 8)
        return Start::DeleteLast;
    if (ch == tabKey || ch == ' ')
        return Start::SelectAll;
    return Start::Replace;
}

void reportEnd(CReportCtrl* report, QWidget* editor, ReportEditState& edit, const QString& text)
{
    if (edit.ended || !report)
        return;
    edit.ended = true;
    ReportEditNotify n;
    n.code = ReportCode::EndEdit;
    n.row = edit.row;
    n.column = edit.column;
    n.editor = editor;
    n.key = edit.endingKey;
    n.text = text;
    report->editorEnded(n);
}

} // namespace

// ---- tip ----

ReportTipWnd::ReportTipWnd(CReportCtrl* owner)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), report(owner)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    clock.start();
}

ReportTipWnd::~ReportTipWnd() { qApp->removeEventFilter(this); }

bool ReportTipWnd::show(const RECT& cell, const QString& shown, const QFont* font)
{
    if (cell.right <= cell.left || cell.bottom <= cell.top || isVisible() || !QApplication::activeWindow())
        return false;
    setFont(font ? *font : report->font());
    const int needed = fontMetrics().horizontalAdvance(shown) + 2 * report->margin();
    if (cell.left + needed <= cell.right)
        return false;
    text = shown;
    const QPoint topLeft = report->viewport()->mapToGlobal(QPoint(cell.left, cell.top));
    keep = QRect(topLeft - QPoint(1, 1), QSize(cell.right - cell.left + 2, cell.bottom - cell.top + 1));
    setGeometry(QRect(topLeft, QSize(needed, cell.bottom - cell.top)));
    QWidget::show();
    raise();
    qApp->installEventFilter(this);
    return true;
}

void ReportTipWnd::hide()
{
    qApp->removeEventFilter(this);
    QWidget::hide();
}

void ReportTipWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(QRect(report->margin() - 1, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void ReportTipWnd::forwardMouse(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    QWidget* target = QApplication::widgetAt(global);
    if (!target || target == this)
        target = report->viewport();
    QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress && event->button() == Qt::LeftButton) {
        const qint64 now = clock.elapsed();
        if (lastClick >= 0 && now - lastClick <= QApplication::doubleClickInterval())
            type = QEvent::MouseButtonDblClick;
        lastClick = now;
    }
    auto* copy = new QMouseEvent(type, target->mapFromGlobal(QPointF(global)), QPointF(global), event->button(),
                                 event->buttons(), event->modifiers());
    QApplication::postEvent(target, copy);
}

bool ReportTipWnd::eventFilter(QObject*, QEvent* event)
{
    if (!isVisible())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        if (!keep.contains(move->globalPosition().toPoint()))
            hide();
        return false;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        hide();
        QApplication::postEvent(report, new QKeyEvent(QEvent::KeyPress, key->key(), key->modifiers(), key->text(),
                                                      key->isAutoRepeat(), key->count()));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        hide();
        forwardMouse(static_cast<QMouseEvent*>(event));
        return true;
    }
    case QEvent::ApplicationDeactivate:
        hide();
        return false;
    default:
        return false;
    }
}

// ---- in-place edit ----

ReportEdit::ReportEdit(CReportCtrl* owner, int row, int column) : QLineEdit(owner->viewport()), report(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrame(false);
    edit.row = row;
    edit.column = column;
}

void ReportEdit::start(int ch)
{
    switch (startOf(ch)) {
    case Start::CaretToEnd:
        end(false);
        break;
    case Start::DeleteLast:
        end(false);
        backspace();
        break;
    case Start::SelectAll:
        selectAll();
        break;
    case Start::Replace:
        setText(QString(QChar(ch)));
        end(false);
        break;
    }
}

void ReportEdit::keyPressEvent(QKeyEvent* event)
{
    if (int key = endingKeyOf(event->key())) {
        edit.endingKey = key;
        QPointer<CReportCtrl> owner = report;
        reportEnd(report, this, edit, text());
        if (owner)
            owner->setFocus();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ReportEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    reportEnd(report, this, edit, text());
}

ReportCombo::ReportCombo(CReportCtrl* owner, int row, int column) : QComboBox(owner->viewport()), report(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    edit.row = row;
    edit.column = column;
}

void ReportCombo::start(int ch)
{
    // Only a combo box with its own edit field takes the first character.
    if (!isEditable() || ch == 1 || ch == enterKey)
        return;
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(ch)));
    QApplication::sendEvent(this, &typed);
}

void ReportCombo::keyPressEvent(QKeyEvent* event)
{
    if (int key = endingKeyOf(event->key())) {
        edit.endingKey = key;
        QPointer<CReportCtrl> owner = report;
        reportEnd(report, this, edit, currentText());
        if (owner)
            owner->setFocus();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ReportCombo::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (view() && view()->isVisible())
        return; // the list of the box has the focus for a moment
    reportEnd(report, this, edit, currentText());
}

// ---- column chooser ----

ReportColumnChooser::ReportColumnChooser(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

ReportColumnChooser::~ReportColumnChooser() { delete dragWindow; }

void ReportColumnChooser::setReportCtrl(CReportCtrl* control)
{
    report = control;
    clear();
}

void ReportColumnChooser::refill()
{
    clear();
    if (!report)
        return;
    const ReportModel& model = report->model();
    for (int c = 0; c < model.columnCount(); ++c) {
        if (report->isColumnShown(c) || !canList(c))
            continue;
        auto* item = new QListWidgetItem(model.column(c)->title, this);
        item->setData(Qt::UserRole, c);
        item->setSizeHint(QSize(0, fontMetrics().height() + 8));
        if (isLocked(c))
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
}

void ReportColumnChooser::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    QListWidgetItem* item = itemAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !item || !report)
        return;
    const int column = item->data(Qt::UserRole).toInt();
    if (isLocked(column))
        return;
    dragged = column;
    dropPosition = -1;
    HeaderItem content;
    content.width = width();
    content.format = HDF_STRING;
    content.text = item->text().left(79);
    delete dragWindow;
    dragWindow = new HeaderDragWnd(report->header(), -1, content, QSize(viewport()->width(), visualItemRect(item).height()));
}

void ReportColumnChooser::mouseMoveEvent(QMouseEvent* event)
{
    if (dragged < 0 || !(event->buttons() & Qt::LeftButton)) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    dragTo(event->globalPosition().toPoint());
}

void ReportColumnChooser::dragTo(const QPoint& global)
{
    if (dragWindow) {
        dragWindow->move(global - QPoint(dragWindow->width() / 2, dragWindow->height() / 2));
        dragWindow->show();
        dragWindow->raise();
    }
    if (rect().contains(mapFromGlobal(global))) {
        report->header()->setHotDivider(-1);
        dropPosition = -1;
        setCursor(Qt::DragMoveCursor);
        return;
    }
    dropPosition = report->header()->setHotDivider(global);
    const bool overReport = report->rect().contains(report->mapFromGlobal(global));
    setCursor(overReport ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void ReportColumnChooser::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragged >= 0 && event->button() == Qt::LeftButton)
        finishDrag(true, event->globalPosition().toPoint());
    QListWidget::mouseReleaseEvent(event);
}

void ReportColumnChooser::keyPressEvent(QKeyEvent* event)
{
    if (dragged >= 0 && event->key() == Qt::Key_Escape) {
        finishDrag(false, QPoint());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ReportColumnChooser::finishDrag(bool drop, const QPoint& global)
{
    const int column = dragged;
    if (drop && report)
        dropPosition = rect().contains(mapFromGlobal(global)) ? -1 : report->header()->setHotDivider(global);
    if (report)
        report->header()->setHotDivider(-1);
    delete dragWindow;
    dragWindow = nullptr;
    dragged = -1;
    unsetCursor();
    if (!drop || !report || column < 0)
        return;
    if (report->getShownColumnCount() == 0)
        report->showColumn(column, 0);
    else if (dropPosition >= 0)
        report->showColumn(column, dropPosition);
}
