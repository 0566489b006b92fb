#include "CPB/windows/ProgressDialog.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/TranslateWindow.h"
#include "platform/WindowStyles.h"
#include "platformqt/Window.h"
#include "res/resource.h"

#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <QProgressBar>
#include <QPushButton>

ProgressDialog::ProgressDialog()
    : platform::Dialog(nullptr)
{
}

ProgressDialog::~ProgressDialog() { releaseOwner(); }

bool ProgressDialog::create(QWidget* owner)
{
    ownerWindow = owner ? owner->window() : nullptr;
    // The window is not a child of its owner: disabling the owner would
    // disable it too. It goes with its owner all the same.
    if (ownerWindow)
        connect(ownerWindow, &QObject::destroyed, this, [this] {
            ownerGone = true;
            destroyWindow();
        });
    if (!platform::Dialog::create(IDD_TRANSFER_PROGRESS, nullptr))
        return false;
    // While it is up nothing else takes input, as with its owner disabled;
    // being modal itself it stays usable above a modal owner.
    if (ownerWindow) {
        setWindowModality(Qt::ApplicationModal);
        ownerWindow->setEnabled(false);
    }
    return true;
}

bool ProgressDialog::onInitDialog()
{
    const bool result = platform::Dialog::onInitDialog();
    translateWindow(this);
    button = platform::dlgItem<QPushButton>(this, IDCANCEL);
    stepText = platform::dlgItem<QLabel>(this, IDC_PROGRESS_TEXT);
    progress = platform::dlgItem<QProgressBar>(this, IDC_PROGRESS_BAR);
    percentage = platform::dlgItem<QLabel>(this, IDC_PROGRESS_PERCENT);
    LOG_ASSERT(button && stepText && progress && percentage);
    centreOnOwner();
    if (progress) {
        progress->setRange(0, maxPos);
        progress->setValue(0);
    }
    position = 0;
    if (percentage)
        percentage->setText(QStringLiteral("0%"));
    if (stepText)
        stepText->clear();
    return result;
}

void ProgressDialog::centreOnOwner()
{
    if (!ownerWindow)
        return;
    const QRect frame = ownerWindow->frameGeometry();
    const int x = frame.left() + (ownerWindow->width() - width()) / 2;
    const int y = frame.top() + (ownerWindow->height() - height()) / 2;
    move(x, y);
}

void ProgressDialog::setPos(int newPos)
{
    LOG_ASSERT(newPos >= 0 && newPos <= maxPos && newPos >= position);
    position = newPos;
    if (progress)
        progress->setValue(std::clamp(newPos, 0, maxPos));
    if (percentage)
        percentage->setText(QString::fromStdWString(GString::from_int(newPos / 10, "%d%%")));
}

void ProgressDialog::step(int n) { setPos(position + n); }

void ProgressDialog::setText(const std::wstring& text)
{
    if (stepText)
        stepText->setText(QString::fromStdWString(text));
}

void ProgressDialog::setCaption(const std::wstring& text) { setWindowTitle(QString::fromStdWString(text)); }

void ProgressDialog::setButtonText(const std::wstring& text)
{
    if (button)
        button->setText(QString::fromStdWString(text));
}

void ProgressDialog::enableButton(bool enable)
{
    if (!button)
        return;
    button->setEnabled(enable);
    if (enable) {
        unsetCursor();
        button->setFocus(Qt::OtherFocusReason);
    } else {
        setCursor(Qt::WaitCursor);
    }
}

bool ProgressDialog::isButtonEnabled() const { return button && button->isEnabled(); }

bool ProgressDialog::onCommand(int id, int code)
{
    if (id == IDCANCEL && code == BN_CLICKED) {
        // Escape and the close box come here too: nothing ends the window
        // while the transfer runs.
        if (isButtonEnabled())
            destroyWindow();
        return true;
    }
    return platform::Dialog::onCommand(id, code);
}

void ProgressDialog::destroyWindow()
{
    hide();
    releaseOwner();
    deleteLater();
}

void ProgressDialog::releaseOwner()
{
    if (released)
        return;
    released = true;
    if (!ownerWindow || ownerGone)
        return;
    // Another transfer's window still showing over the same owner keeps it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* other = qobject_cast<ProgressDialog*>(window);
        if (other && other != this && !other->released && other->ownerWindow == ownerWindow)
            return;
    }
    ownerWindow->setEnabled(true);
}
