#include "ui/ToolBar.h"

#include "Utillib/DrawUtil.h"
#include "Utillib/LogStream.h"
#include "ui/Bitmaps.h"
#include "ui/IdMap.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QToolBar>

namespace {

constexpr int stripBitmap = 280;

int bitmapOfSize(int size) { return size == 1 ? 279 : size == 2 ? 278 : stripBitmap; }

QPixmap cell(const QImage& strip, int index, int width, int height)
{
    if (strip.isNull() || index < 0 || (index + 1) * width > strip.width())
        return {};
    return QPixmap::fromImage(withTransparentColour(strip.copy(index * width, 0, width, height), eventIconMask));
}

} // namespace

ToolBarEntry::ToolBarEntry(int id, const std::wstring& name, const std::wstring& toolTip, int image)
    : id(id)
    , name(name)
    , toolTip(toolTip)
    , image(image)
{
    LOG_ASSERT(toolTip.size()<80);
}

ToolBar::ToolBar()
    : strip(platform::loadBitmapImage(stripBitmap))
{
}

ToolBar::~ToolBar() = default;

bool ToolBar::addButton(const ToolBarEntry& entry)
{
    entries.push_back(entry);
    ++buttonCount;
    return idMap::insert(entry.id, entry.toolTip);
}

const ToolBarEntry* ToolBar::findButton(int id) const
{
    for (const ToolBarEntry& entry : entries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

void ToolBar::createButtons(QToolBar* toolBar) const
{
    LOG_ASSERT(!strip.isNull());
    toolBar->setIconSize(QSize(buttonWidth, buttonHeight));
    for (const ToolBarEntry& entry : entries) {
        if (entry.id < 0) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = toolBar->addAction(cell(strip, entry.image, buttonWidth, buttonHeight),
                                             QString::fromStdWString(entry.name));
        action->setToolTip(QString::fromStdWString(entry.toolTip));
        action->setProperty("commandId", entry.id);
        action->setData(QVariant::fromValue(reinterpret_cast<quintptr>(&entry)));
    }
}

void ToolBar::enableButtons(QToolBar* toolBar, bool enable) const
{
    for (QAction* action : toolBar->actions())
        if (!action->isSeparator() && action->property("commandId").toInt() >= 0)
            action->setEnabled(enable);
}

void ToolBar::drawImage(const ToolBarEntry& entry, QPainter& painter, int x, int y) const
{
    painter.drawImage(x, y, strip, buttonWidth * entry.image, 0, buttonWidth, buttonHeight);
}

void ToolBar::drawImageStretched(const ToolBarEntry& entry, QPainter& painter, int x, int y, int width,
                                 int height) const
{
    Utillib::showDib(painter, stripBitmap, x, y, width, height, buttonWidth * entry.image, 0, buttonWidth,
                     buttonHeight);
}

EventIconList::EventIconList(int size)
    : bitmapId(bitmapOfSize(size))
{
    if (bitmapId == 279)
        width = height = 24;
    else if (bitmapId == 278)
        width = height = 32;
    const QImage strip = platform::loadBitmapImage(bitmapId);
    for (int i = 0; i < eventIconCount; ++i) {
        QPixmap one = cell(strip, i, width, height);
        if (one.isNull())
            break;
        icons.push_back(one);
    }
}

EventIconList::~EventIconList() = default;

QPixmap EventIconList::icon(int index) const
{
    return index >= 0 && index < count() ? icons[static_cast<std::size_t>(index)] : QPixmap();
}

void EventIconList::attachToList(QListWidget* list) const
{
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(width, height));
    list->setGridSize(QSize(std::max(20, width + 4), std::max(20, height + 4)));
    list->setSpacing(0);
    QPalette colours = list->palette();
    colours.setColor(QPalette::Base, QColor(0xC0C0C0));
    colours.setColor(QPalette::Window, QColor(0xC0C0C0));
    list->setPalette(colours);
}

void EventIconList::fillList(QListWidget* list) const
{
    list->clear();
    for (int i = 0; i < eventIconCount; ++i) {
        auto* item = new QListWidgetItem(QIcon(icon(i)), QString());
        item->setData(Qt::UserRole, i);
        list->addItem(item);
    }
}

void EventIconList::showIcon(QLabel* control, int index) const
{
    if (control)
        control->setPixmap(icon(index));
}

void EventIconList::draw(QPainter& painter, int index, int x, int y) const
{
    QPixmap one = icon(index);
    if (!one.isNull())
        painter.drawPixmap(x, y, one);
}
