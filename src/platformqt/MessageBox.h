#pragma once
// Message boxes with the buttons, icon and default button given as the
// message-box flags the program's windows pass, answering with the id of the
// button pressed. A hook can answer in the box's place (tests do), so that
// code which asks the user runs without anyone at the screen.
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QMessageBox;

namespace platform {

// Buttons.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_TYPEMASK = 0xF;
// Icons.
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONMASK = 0xF0;
// The default button, the first when none is given.
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_DEFMASK = 0xF00;

struct MessageBoxRequest {
    QWidget* owner = nullptr;
    std::wstring text;
    std::wstring caption;
    unsigned flags = 0;
};

// Answers a box with a button id (IDOK, IDCANCEL, IDRETRY, IDYES, IDNO).
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

// Installs a hook (an empty one shows the boxes again); returns the previous one.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// What every message box of the program shares: a title bar with only the
// close button (a question cannot be minimised or maximised) and the text,
// whose lines of tab-separated columns ("Date:\t\t11 Dec 2026") line up in
// columns whatever the widths of their labels.
void prepareMessageBox(QMessageBox& box, const QString& text);
// The text as the box shows it: plain text without tabs stays plain (null
// result); otherwise rich text in which each run of lines with tabs is a table.
QString messageBoxRichText(const QString& text);

// Shows the box modally over the owner's window, or lets the hook answer.
// Escape answers Cancel where the box has it, else No, else OK.
int messageBox(QWidget* owner, const std::wstring& text, const std::wstring& caption, unsigned flags);

} // namespace platform
