#pragma once
// Menus from menu templates: popups become submenus, commands become actions
// that carry their command id, separators stay separators.
#include <QMenuBar>
#include <cstddef>
#include <memory>

class QAction;

namespace platform {

// The menu bar of the template bytes (owned by the caller); null when they
// are not a complete menu template.
std::unique_ptr<QMenuBar> loadMenuIndirect(const unsigned char* data, std::size_t size);

// The command id an action sends; 0 for popups, separators and other actions.
int menuCommandId(const QAction* action);

// The first action with the command id in the menu or menu bar and its submenus, or null.
QAction* findMenuCommand(const QWidget* menu, int id);

} // namespace platform
