#include "ui/FlatTabCtrl.h"

#include "platform/WindowStyles.h"
#include "platformqt/Window.h"
#include "ui/QtWindows.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int margin = 3;
constexpr int iconSize = 16;

// The virtual key of the keys the control handles.
int virtualKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    default: return 0;
    }
}

// The colours of the edges, from the palette the way the system colours
// of buttons stand for them.
struct EdgeColours {
    QColor highlight, light, face, darkShadow, shadow;
    explicit EdgeColours(const QPalette& p)
        : highlight(p.color(QPalette::Light))
        , light(p.color(QPalette::Midlight))
        , face(p.color(QPalette::Button))
        , darkShadow(p.color(QPalette::Shadow))
        , shadow(p.color(QPalette::Dark))
    {
    }
};

void line(QPainter& painter, const QColor& colour, int x1, int y1, int x2, int y2)
{
    painter.setPen(QPen(colour, 0));
    painter.drawLine(x1, y1, x2, y2);
}

// A raised edge around the rectangle (right and bottom exclusive).
void drawRaisedEdge(QPainter& painter, const EdgeColours& c, const RECT& r)
{
    int right = r.right - 1;
    int bottom = r.bottom - 1;
    line(painter, c.highlight, r.left, r.top, right - 1, r.top);
    line(painter, c.highlight, r.left, r.top, r.left, bottom - 1);
    line(painter, c.darkShadow, r.left, bottom, right, bottom);
    line(painter, c.darkShadow, right, r.top, right, bottom);
    line(painter, c.light, r.left + 1, r.top + 1, right - 2, r.top + 1);
    line(painter, c.light, r.left + 1, r.top + 1, r.left + 1, bottom - 2);
    line(painter, c.shadow, r.left + 1, bottom - 1, right - 1, bottom - 1);
    line(painter, c.shadow, right - 1, r.top + 1, right - 1, bottom - 1);
}

} // namespace

// ---- FlatTab ----

FlatTab::FlatTab(const QString& text, FlatTabCtrl* owner)
    : text(text)
    , owner(owner)
{
}

RECT FlatTab::getRect() const
{
    const int height = owner->tabHeight();
    const int top = (owner->getStyle() & FlatTabCtrl::TABS_BOTTOM) ? owner->height() - height - 1 : 0;
    return RECT { left, top, left + width, top + height };
}

void FlatTab::setIcon(const QIcon& newIcon) { icon = newIcon; }

bool FlatTab::hitTest(int x, int y) const
{
    RECT r = getRect();
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

RECT FlatTab::contentRect(bool selected) const
{
    RECT r = getRect();
    if (!selected)
        r.top += 2;
    r.left += margin;
    r.right -= margin;
    return r;
}

int FlatTab::drawIcon(QPainter& painter, bool selected)
{
    RECT r = contentRect(selected);
    // Room for the icon only when the tab is wider than the icon.
    if (icon.isNull() || r.right - r.left <= iconSize)
        return r.left;
    QPixmap large(32, 32);
    large.fill(owner->palette().color(QPalette::Button));
    {
        QPainter into(&large);
        icon.paint(&into, 0, 0, 32, 32);
    }
    int top = r.top + (r.bottom - r.top - iconSize) / 2;
    painter.drawPixmap(QRect(r.left, top, iconSize, iconSize), large);
    return r.left + 1 + iconSize;
}

void FlatTab::drawText(QPainter& painter, bool selected, bool focusRect)
{
    RECT r = contentRect(selected);
    r.left = drawIcon(painter, selected) + 2;
    QFontMetrics metrics(painter.font());
    QString shown = shortenTabText(text, r.right - r.left,
                                   [&](const QString& candidate) { return metrics.horizontalAdvance(candidate); });
    if (!shown.isEmpty()) {
        painter.setPen(owner->palette().color(QPalette::ButtonText));
        painter.drawText(toQRect(r), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }
    if (focusRect) {
        QRect frame = toQRect(r).adjusted(-1, 2, 0, -2);
        QPen dotted(owner->palette().color(QPalette::ButtonText), 0, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
}

void FlatTab::drawFrame(QPainter& painter, bool selected)
{
    EdgeColours c(owner->palette());
    RECT r = getRect();
    const int L = r.left, R = r.right, T = r.top, B = r.bottom;
    if (owner->getStyle() & FlatTabCtrl::TABS_BOTTOM) {
        // The mirror image: cut corners at the bottom.
        int top = T, bottom = selected ? B : B - 2;
        if (selected)
            painter.fillRect(QRect(L, top, R - L, bottom - top), c.face);
        line(painter, c.highlight, L, top, L, bottom - 3);
        line(painter, c.highlight, L, bottom - 3, L + 2, bottom - 1);
        line(painter, c.face, L + 1, top, L + 1, bottom - 2);
        line(painter, c.darkShadow, L + 2, bottom - 1, R - 3, bottom - 1);
        line(painter, c.darkShadow, R - 3, bottom - 1, R - 1, bottom - 3);
        line(painter, c.darkShadow, R - 1, bottom - 3, R - 1, top);
        line(painter, c.shadow, R - 2, top, R - 2, bottom - 3);
        line(painter, c.shadow, L + 2, bottom - 2, R - 3, bottom - 2);
        return;
    }
    int top = T;
    int bottom = B;
    if (selected) {
        // Opens the page frame below the tab.
        line(painter, c.face, L, B - 1, R - 1, B - 1);
        line(painter, c.face, R - 1, B, L, B);
    } else {
        top = T + 2;
        bottom = B - 1;
    }
    line(painter, c.highlight, L, bottom, L, top + 2);
    line(painter, c.highlight, L, top + 2, L + 2, top);
    line(painter, c.highlight, L + 2, top, R - 2, top);
    line(painter, c.darkShadow, R - 1, bottom, R - 1, top + 2);
    line(painter, c.darkShadow, R - 1, top + 2, R - 3, top);
    line(painter, c.light, L + 1, bottom, L + 1, top + 1);
    line(painter, c.light, L + 2, top + 1, R - 2, top + 1);
    line(painter, c.shadow, R - 2, bottom, R - 2, top + 1);
}

int FlatTab::measureWidth(const QFontMetrics& metrics) const
{
    return flatTabNaturalWidth(metrics.horizontalAdvance(text), !icon.isNull());
}

void FlatTab::draw(QPainter& painter, bool selected, bool focused)
{
    drawFrame(painter, selected);
    drawText(painter, selected, selected && focused);
}

// ---- FlatTabCtrl ----

int FlatTabCtrl::commandOfKey(int key, Qt::KeyboardModifiers modifiers)
{
    modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    const bool plain = modifiers == Qt::NoModifier;
    switch (key) {
    case Qt::Key_Left: return plain ? ID_PREVIOUS_TAB : 0;
    case Qt::Key_Right: return plain ? ID_NEXT_TAB : 0;
    case Qt::Key_End: return plain ? ID_LAST_TAB : 0;
    case Qt::Key_Home: return plain ? ID_FIRST_TAB : 0;
    case Qt::Key_Up: return plain ? ID_FIRST_CHILD_UP : 0;
    case Qt::Key_Down: return plain ? ID_FIRST_CHILD_DOWN : 0;
    case Qt::Key_Tab:
        if (plain)
            return ID_NEXT_CONTROL;
        if (modifiers == Qt::ControlModifier)
            return ID_NEXT_TAB_CTRL;
        if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
            return ID_PREVIOUS_TAB_CTRL;
        return modifiers == Qt::ShiftModifier ? ID_PREVIOUS_CONTROL : 0;
    case Qt::Key_Backtab:
        // Shift+Tab arrives as its own key.
        if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
            return ID_PREVIOUS_TAB_CTRL;
        return modifiers == Qt::ShiftModifier || plain ? ID_PREVIOUS_CONTROL : 0;
    default: return 0;
    }
}

FlatTabCtrl::FlatTabCtrl(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    platform::setWindowClassName(this, "FlatTabCtrl");
}

FlatTabCtrl::~FlatTabCtrl()
{
    while (!tabs.empty()) {
        delete tabs.back();
        tabs.pop_back();
    }
}

bool FlatTabCtrl::create(DWORD newStyle, const RECT& rect, QWidget* parent, UINT id)
{
    if (!(newStyle & (TABS_TOP | TABS_BOTTOM)))
        newStyle |= TABS_TOP;
    setParent(parent);
    setGeometry(toQRect(rect));
    platform::setControlId(this, static_cast<int>(id));
    platform::setWindowStyle(this, (newStyle & ~DWORD(3)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    setFocusPolicy(Qt::StrongFocus);
    style = newStyle & 3;
    recalcLayout();
    return true;
}

FlatTab* FlatTabCtrl::getTab(int index) const
{
    return index >= 0 && index < getCount() ? tabs[static_cast<std::size_t>(index)] : nullptr;
}

int FlatTabCtrl::tabHeight() const { return (style & TABS_BOTTOM) ? 24 : 22; }

DWORD FlatTabCtrl::getTabData(int index) const
{
    FlatTab* tab = getTab(index);
    return tab ? tab->data : 0;
}

SIZE FlatTabCtrl::getTabSize(int index) const
{
    if (FlatTab* tab = getTab(index))
        return SIZE { tab->width, tabHeight() };
    int sum = 0;
    for (FlatTab* tab : tabs)
        sum += tab->width;
    return SIZE { sum, tabHeight() };
}

bool FlatTabCtrl::removeTab(int index)
{
    FlatTab* tab = getTab(index);
    if (!tab)
        return false;
    delete tab;
    tabs.erase(tabs.begin() + index);
    recalcLayout();
    update();
    return true;
}

void FlatTabCtrl::addTab(const QString& text, DWORD data, const QIcon& icon)
{
    auto* tab = new FlatTab(text, this);
    tab->setIcon(icon);
    tab->data = data;
    tabs.push_back(tab);
    recalcLayout();
    update();
}

void FlatTabCtrl::onSelChanged(int, int) { }

RECT FlatTabCtrl::displayRect() const
{
    RECT r { 2, 2, width() - 2, height() - 2 };
    if (style & TABS_BOTTOM)
        r.bottom -= tabHeight();
    else
        r.top += tabHeight();
    return r;
}

int FlatTabCtrl::hitTest(int x, int y) const
{
    for (int i = 0; i < getCount(); ++i)
        if (tabs[static_cast<std::size_t>(i)]->hitTest(x, y))
            return i;
    return -1;
}

void FlatTabCtrl::layoutTabs(int total, int available)
{
    std::vector<FlatTabPlace> places;
    for (FlatTab* tab : tabs)
        places.push_back({ tab->left, tab->width });
    layoutFlatTabs(places, total, available);
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        tabs[i]->left = places[i].left;
        tabs[i]->width = places[i].width;
    }
}

QFont FlatTabCtrl::drawingFont() const { return parentWidget() ? parentWidget()->font() : font(); }

void FlatTabCtrl::recalcLayout()
{
    if (tabs.empty())
        return;
    QFontMetrics metrics(drawingFont());
    int x = 1;
    for (FlatTab* tab : tabs) {
        tab->width = tab->measureWidth(metrics);
        tab->left = x;
        x += tab->width;
    }
    layoutTabs(x, width());
}

int FlatTabCtrl::notify(int code, int key, int flags)
{
    auto* listener = dynamic_cast<FlatTabListener*>(parentWidget());
    return listener ? listener->onTabNotify(this, code, key, flags) : 0;
}

bool FlatTabCtrl::select(int index)
{
    if (index < 0 || index >= getCount())
        return false;
    if (index == currentSel)
        return true;
    const int old = currentSel;
    // The parent sees the new selection while it decides.
    currentSel = index;
    if (notify(TCN_SELCHANGING) != 0) {
        currentSel = old;
        return false;
    }
    onSelChanged(old, index);
    update();
    notify(TCN_SELCHANGE);
    return true;
}

void FlatTabCtrl::paintEvent(QPaintEvent*)
{
    // Drawn into a bitmap first, so that nothing flickers.
    QPixmap buffer(size());
    if (buffer.isNull())
        return;
    QPainter painter(&buffer);
    painter.setFont(drawingFont());
    EdgeColours c(palette());
    painter.fillRect(rect(), c.face);
    RECT frame { 0, 0, width(), height() };
    if (style & TABS_BOTTOM)
        frame.bottom -= tabHeight() - 1;
    else
        frame.top += tabHeight() - 1;
    drawRaisedEdge(painter, c, frame);
    const bool focused = hasFocus();
    for (int i = 0; i < getCount(); ++i)
        tabs[static_cast<std::size_t>(i)]->draw(painter, i == currentSel, focused);
    painter.end();
    QPainter screen(this);
    screen.drawPixmap(0, 0, buffer);
}

void FlatTabCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    recalcLayout();
}

void FlatTabCtrl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void FlatTabCtrl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void FlatTabCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    int index = event->button() == Qt::LeftButton ? hitTest(at.x(), at.y()) : -1;
    if (index >= 0 && select(index)) {
        setFocus(Qt::MouseFocusReason);
        notify(NM_CLICK);
    }
    QWidget::mousePressEvent(event);
}

void FlatTabCtrl::runCommand(int command, bool shift)
{
    const int count = getCount();
    switch (command) {
    case ID_PREVIOUS_TAB:
    case ID_PREVIOUS_TAB_CTRL:
        // From the first (or from no selection) to the last.
        select(currentSel <= 0 ? count - 1 : currentSel - 1);
        break;
    case ID_NEXT_TAB:
    case ID_NEXT_TAB_CTRL: select((currentSel + 1) % count); break;
    case ID_LAST_TAB: select(count - 1); break;
    case ID_FIRST_TAB: select(0); break;
    case ID_NEXT_CONTROL:
    case ID_PREVIOUS_CONTROL: {
        const bool previous = shift;
        if (QWidget* next = platform::nextDlgTabItem(parentWidget(), this, previous))
            next->setFocus(previous ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        break;
    }
    case ID_FIRST_CHILD_UP:
    case ID_FIRST_CHILD_DOWN:
        if (QWidget* child = findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            child->setFocus(Qt::OtherFocusReason);
        break;
    default: break;
    }
}

void FlatTabCtrl::keyPressEvent(QKeyEvent* event)
{
    const int command = tabs.empty() ? 0 : commandOfKey(event->key(), event->modifiers());
    if (!command) {
        QWidget::keyPressEvent(event);
        return;
    }
    runCommand(command, event->modifiers() & Qt::ShiftModifier);
    notify(TCN_KEYDOWN, virtualKey(event->key()), 0);
    event->accept();
}

bool FlatTabCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && !tabs.empty()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

bool FlatTabCtrl::focusNextPrevChild(bool next)
{
    if (!tabs.empty())
        return false;
    return QWidget::focusNextPrevChild(next);
}
