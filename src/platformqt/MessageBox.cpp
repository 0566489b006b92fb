#include "platformqt/MessageBox.h"

#include "platform/WindowStyles.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace platform {

namespace {

MessageBoxHook& installedHook()
{
    static MessageBoxHook hook;
    return hook;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int id;
};

std::vector<ButtonChoice> buttonsOf(unsigned flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return { { QMessageBox::Ok, IDOK }, { QMessageBox::Cancel, IDCANCEL } };
    case MB_YESNOCANCEL:
        return { { QMessageBox::Yes, IDYES }, { QMessageBox::No, IDNO }, { QMessageBox::Cancel, IDCANCEL } };
    case MB_YESNO:
        return { { QMessageBox::Yes, IDYES }, { QMessageBox::No, IDNO } };
    case MB_RETRYCANCEL:
        return { { QMessageBox::Retry, IDRETRY }, { QMessageBox::Cancel, IDCANCEL } };
    default:
        return { { QMessageBox::Ok, IDOK } };
    }
}

QMessageBox::Icon iconOf(unsigned flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook hook) { return std::exchange(installedHook(), std::move(hook)); }

int messageBox(QWidget* owner, const std::wstring& text, const std::wstring& caption, unsigned flags)
{
    if (const MessageBoxHook& hook = installedHook())
        return hook(MessageBoxRequest { owner, text, caption, flags });

    const std::vector<ButtonChoice> choices = buttonsOf(flags);
    QMessageBox box(iconOf(flags), QString::fromStdWString(caption), QString::fromStdWString(text),
                    QMessageBox::NoButton, owner ? owner->window() : nullptr);
    std::vector<QPushButton*> buttons;
    for (const ButtonChoice& choice : choices)
        buttons.push_back(box.addButton(choice.button));
    const std::size_t defaultIndex = (flags & MB_DEFMASK) >> 8;
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    for (QMessageBox::StandardButton escape : { QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok })
        if (QAbstractButton* button = box.button(escape)) {
            box.setEscapeButton(button);
            break;
        }
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return choices[i].id;
    // Closed without a button: as Escape.
    QAbstractButton* escape = box.escapeButton();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (escape == buttons[i])
            return choices[i].id;
    return IDCANCEL;
}

} // namespace platform
