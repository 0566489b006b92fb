#include "platformqt/Menu.h"

#include "platform/MenuTemplate.h"
#include "platform/WindowStyles.h"

#include <QAction>
#include <QMenu>

namespace platform {

namespace {

constexpr char commandProperty[] = "tavoCommandId";

void addItems(QWidget* owner, const std::vector<MenuTemplateItem>& items)
{
    auto* bar = qobject_cast<QMenuBar*>(owner);
    auto* menu = qobject_cast<QMenu*>(owner);
    for (const auto& item : items) {
        QString text = QString::fromStdU16String(item.text);
        QAction* action = nullptr;
        if (item.isPopup()) {
            auto* popup = new QMenu(text, owner);
            addItems(popup, item.items);
            action = bar ? bar->addMenu(popup) : menu->addMenu(popup);
        } else if (item.isSeparator()) {
            action = bar ? bar->addSeparator() : menu->addSeparator();
        } else {
            action = bar ? bar->addAction(text) : menu->addAction(text);
            action->setProperty(commandProperty, static_cast<int>(item.id));
            if (item.options & MF_CHECKED) {
                action->setCheckable(true);
                action->setChecked(true);
            }
        }
        if (item.options & (MF_GRAYED | MF_DISABLED))
            action->setEnabled(false);
    }
}

} // namespace

std::unique_ptr<QMenuBar> loadMenuIndirect(const unsigned char* data, std::size_t size)
{
    auto items = parseMenuTemplate(data, size);
    if (!items)
        return nullptr;
    auto bar = std::make_unique<QMenuBar>();
    addItems(bar.get(), *items);
    return bar;
}

int menuCommandId(const QAction* action) { return action ? action->property(commandProperty).toInt() : 0; }

QAction* findMenuCommand(const QWidget* menu, int id)
{
    if (!menu)
        return nullptr;
    for (QAction* action : menu->actions()) {
        if (menuCommandId(action) == id && id != 0)
            return action;
        if (QAction* inner = action->menu() ? findMenuCommand(action->menu(), id) : nullptr)
            return inner;
    }
    return nullptr;
}

} // namespace platform
