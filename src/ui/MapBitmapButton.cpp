#include "ui/MapBitmapButton.h"

#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "ui/Bitmaps.h"
#include "ui/Placement.h"
#include "ui/QtWindows.h"
#include "ui/SubclassControl.h"

#include <QMouseEvent>
#include <QPainter>

void ButtonLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, shownText);
}

void ButtonLabel::mousePressEvent(QMouseEvent* event)
{
    pressed = event->button() == Qt::LeftButton && button && button->isEnabled();
    if (!pressed) {
        QWidget::mousePressEvent(event);
        return;
    }
    button->setDown(true);
    event->accept();
}

// Released over the caption: the button's click, as if its picture had been clicked.
void ButtonLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pressed || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    pressed = false;
    event->accept();
    if (!button)
        return;
    button->setDown(false);
    if (rect().contains(event->position().toPoint()) && button->isEnabled())
        button->click();
}

MapBitmapButton::MapBitmapButton()
{
    label.button = this;
    platform::setWindowClassName(this, "Button");
    connect(this, &QAbstractButton::clicked, this, [this] { platform::notifyParent(this, BN_CLICKED); });
}

MapBitmapButton::~MapBitmapButton() = default;

bool MapBitmapButton::subclassAndLoad(unsigned controlId, QWidget* parent, unsigned normalId, unsigned selectedId,
                                      unsigned focusId, unsigned disabledId, unsigned selectedFocusId)
{
    if (!replaceDlgItem(parent, static_cast<int>(controlId), this))
        return false;
    setFocusPolicy(platform::windowStyle(this) & WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
    loadBitmaps(normalId, selectedId, focusId, disabledId, selectedFocusId);
    if (m_bitmap.isNull())
        return false;
    sizeToContent();
    return true;
}

bool MapBitmapButton::loadBitmaps(unsigned normalId, unsigned selectedId, unsigned focusId, unsigned disabledId,
                                  unsigned selectedFocusId)
{
    m_bitmap = selectedBitmap = focusBitmap = selectedFocusBitmap = disabledBitmap = QPixmap();
    auto load = [this](unsigned id) { return createMappedBitmap(static_cast<int>(id), palette()); };
    m_bitmap = load(normalId);
    if (m_bitmap.isNull())
        return false;
    bool allLoaded = true;
    for (auto [id, bitmap] : { std::pair { selectedId, &selectedBitmap }, std::pair { focusId, &focusBitmap },
                               std::pair { selectedFocusId, &selectedFocusBitmap } }) {
        if (id == 0)
            continue;
        *bitmap = load(id);
        allLoaded = allLoaded && !bitmap->isNull();
    }
    if (disabledId != 0) {
        disabledBitmap = load(disabledId);
        if (disabledBitmap.isNull())
            return false;
    }
    update();
    return allLoaded;
}

void MapBitmapButton::sizeToContent()
{
    LOG_ASSERT(!m_bitmap.isNull());
    if (!m_bitmap.isNull())
        resize(m_bitmap.size());
}

const QPixmap& MapBitmapButton::bitmapFor(bool pressed, bool focused, bool disabled) const
{
    if (pressed && focused && !selectedFocusBitmap.isNull())
        return selectedFocusBitmap;
    if (pressed && !selectedBitmap.isNull())
        return selectedBitmap;
    if (focused && !focusBitmap.isNull())
        return focusBitmap;
    if (disabled && !disabledBitmap.isNull())
        return disabledBitmap;
    return m_bitmap;
}

void MapBitmapButton::paintEvent(QPaintEvent*)
{
    LOG_ASSERT(!m_bitmap.isNull());
    QPainter painter(this);
    const QPixmap& bitmap = bitmapFor(isDown(), hasFocus(), !isEnabled());
    painter.drawPixmap(0, 0, bitmap, 0, 0, width(), height());
}

void MapBitmapButton::createLabel(unsigned labelId)
{
    QWidget* parent = parentWidget();
    label.setParent(parent);
    label.setGeometry(0, 0, 0, height());
    platform::setControlId(&label, static_cast<int>(labelId));
    platform::setWindowClassName(&label, "Static");
    platform::setWindowStyle(&label, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE);
    label.setFont(font());
    const QString caption = platform::windowText(this);
    label.setShownText(caption);
    label.textEnabled = true;
    platform::setWindowText(&label, caption);
    Utillib::fitWindowToText(&label);
    moveWindowNextTo(handleOf(&label), toRECT(geometry()), 5, 6);
    label.textEnabled = false;
    platform::setWindowText(&label, QString());
    label.show();
}
