#include "Database/DbUiQt.h"

#include "Utillib/WindowUtil.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"

#include <QApplication>
#include <QMessageBox>

namespace dbui {

namespace {

MessageBoxHook& hook()
{
    static MessageBoxHook current;
    return current;
}

int answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

} // namespace

int QtUserInterface::messageBox(const std::wstring& text, unsigned flags)
{
    return messageBox(text, QGuiApplication::applicationDisplayName().toStdWString(), flags);
}

int QtUserInterface::messageBox(const std::wstring& text, const std::wstring& caption, unsigned flags)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdWString(caption));
    platform::prepareMessageBox(box, QString::fromStdWString(text));

    std::vector<QMessageBox::StandardButton> buttons;
    switch (flags & 0xF) {
    case MB_YESNOCANCEL:
        buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        break;
    case MB_YESNO:
        buttons = {QMessageBox::Yes, QMessageBox::No};
        break;
    default:
        buttons = {QMessageBox::Ok};
        break;
    }
    for (QMessageBox::StandardButton b : buttons)
        box.addButton(b);
    // A default beyond the last button falls back to the first, as the
    // system's boxes do (a Yes/No box asked for its third button).
    std::size_t defaultIndex = (flags & MB_DEFBUTTON3) ? 2 : (flags & MB_DEFBUTTON2) ? 1 : 0;
    if (defaultIndex >= buttons.size())
        defaultIndex = 0;
    box.setDefaultButton(buttons[defaultIndex]);
    // Escape and the close box answer Cancel, or No where there is no Cancel.
    box.setEscapeButton(buttons.back());

    switch (flags & 0xF0) {
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    case 0x10: // the stop sign
        box.setIcon(QMessageBox::Critical);
        break;
    default:
        break;
    }

    if (hook())
        return answerOf(hook()(box));
    // The box shows the arrow even while the program waits.
    bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    return answerOf(box.standardButton(box.clickedButton()));
}

void QtUserInterface::beginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUserInterface::endWaitCursor() { QApplication::restoreOverrideCursor(); }

void installQtUserInterface()
{
    static QtUserInterface windows;
    setUserInterface(&windows);
}

void setMessageBoxHook(MessageBoxHook replacement) { hook() = std::move(replacement); }

std::string QtComboBox::getText() const { return Utillib::getComboText(combo); }

void QtComboBox::resetContent()
{
    if (combo)
        combo->resetContent();
}

void QtComboBox::addString(const std::string& text)
{
    if (combo)
        combo->addString(platform::ansiToQString(text));
}

bool QtComboBox::selectString(const std::string& text)
{
    if (!combo)
        return false;
    Utillib::selectComboString(combo, text);
    return Utillib::getComboText(combo) == text;
}

} // namespace dbui
