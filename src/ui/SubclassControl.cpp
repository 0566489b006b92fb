#include "ui/SubclassControl.h"

#include "platformqt/Window.h"

#include <QWidget>

bool replaceDlgItem(QWidget* dialog, int controlId, QWidget* replacement)
{
    QWidget* old = platform::dlgItem(dialog, controlId);
    if (!old || !replacement || old == replacement)
        return false;
    const std::string className = platform::windowClassName(old);
    const DWORD style = platform::windowStyle(old);
    const DWORD exStyle = platform::windowExStyle(old);
    const QString text = platform::windowText(old);
    replacement->setParent(dialog);
    replacement->setGeometry(old->geometry());
    replacement->setFont(old->font());
    // Just before the old control among the dialog's children, and after it
    // in the focus chain, so both orders stay as they were once it is gone.
    replacement->stackUnder(old);
    QWidget::setTabOrder(old, replacement);
    delete old;
    platform::setControlId(replacement, controlId);
    platform::setWindowClassName(replacement, className);
    platform::setWindowExStyle(replacement, exStyle);
    platform::setWindowStyle(replacement, style);
    platform::setWindowText(replacement, text);
    return true;
}
