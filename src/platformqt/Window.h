#pragma once
// Windows seen the way the program's dialogs expect: every control keeps its
// numeric id, class name and style bits; each kind of widget has one "window
// text"; children are enumerated in creation order, which is also the order
// of the keyboard focus chain.
#include "platform/WinTypes.h"

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

namespace platform {

// Name of the class of dialogs.
inline constexpr char dialogClassName[] = "#32770";

// The control id (0 when none was given).
int controlId(const QWidget* window);
void setControlId(QWidget* window, int id);

// The first child window of `parent` with the id, or null.
QWidget* dlgItem(const QWidget* parent, int id);
template <class T> T* dlgItem(const QWidget* parent, int id) { return qobject_cast<T*>(dlgItem(parent, id)); }

// The class the window was created as; for widgets made in code a name by their kind.
std::string windowClassName(const QWidget* window);
void setWindowClassName(QWidget* window, const std::string& name);

// The style bits; WS_VISIBLE, WS_DISABLED and WS_TABSTOP follow the widget's
// own state. Setting a style shows, hides, enables or disables the widget as the bits say.
DWORD windowStyle(const QWidget* window);
void setWindowStyle(QWidget* window, DWORD style);
DWORD windowExStyle(const QWidget* window);
void setWindowExStyle(QWidget* window, DWORD exStyle);

// Narrow text in the process ANSI code page, to and from what widgets show.
QString ansiToQString(const std::string& text);
std::string qStringToAnsi(const QString& text);

// The window text: a window's title, a label's or button's text, a group box
// title, an edit's text (lines ending in CR LF for a multi-line edit), a
// combo box's shown text; for any other widget a text it keeps for this.
QString windowText(const QWidget* window);
// False when the window cannot take a text (a drop-down list combo box).
bool setWindowText(QWidget* window, const QString& text);

// The window text in the ANSI code page, cut to at most bufferSize - 1 bytes
// as a caller's buffer of that size would hold it.
std::string getWindowTextA(const QWidget* window, std::size_t bufferSize = static_cast<std::size_t>(-1));
bool setWindowTextA(QWidget* window, const std::string& text);

// Every descendant window, parents before their children, in creation order;
// the inner parts of a control and windows of their own are not counted.
std::vector<QWidget*> childWindows(const QWidget* parent);

// The next (or previous) control after `control` among the dialog's child
// windows that is a tab stop, visible and enabled, wrapping around; `control`
// itself when it is the only one; null when there is none.
QWidget* nextDlgTabItem(const QWidget* dialog, const QWidget* control, bool previous = false);

// The state of a check box or radio button: 0 unchecked, 1 checked, 2 indeterminate.
int buttonCheck(const QWidget* button);
void setButtonCheck(QWidget* button, int state);

// The window's rectangle in its parent's coordinates (right and bottom exclusive).
RECT windowRectInParent(const QWidget* window);

} // namespace platform
