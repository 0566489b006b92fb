#include "ui/BaseDialog.h"

#include "Utillib/LogStream.h"
#include "gettext/TranslateWindow.h"
#include "platform/WindowStyles.h"
#include "ui/AppServices.h"
#include "ui/ChildFrame.h"
#include "ui/KeyboardRouting.h"

BaseDialog::BaseDialog(QWidget* parent) : platform::Dialog(parent) { installKeyboardRouting(); }

void BaseDialog::onParentShow(bool, int) {}

void BaseDialog::showHelp() {}

ChildFrame* BaseDialog::parentFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = dynamic_cast<ChildFrame*>(w))
            return frame;
    return nullptr;
}

void BaseDialog::hideParentFrame()
{
    ChildFrame* frame = parentFrame();
    LOG_ASSERT(frame != nullptr);
    if (frame)
        frame->hideFrame();
}

void BaseDialog::showParentFrame()
{
    ChildFrame* frame = parentFrame();
    LOG_ASSERT(frame != nullptr);
    if (frame)
        frame->activateFrame();
}

bool BaseDialog::onInitDialog()
{
    const bool result = platform::Dialog::onInitDialog();
    if (result)
        translateWindow(this);
    return result;
}

bool BaseDialog::onCommand(int id, int code)
{
    if (id == IDOK && code == BN_CLICKED) {
        onOK();
        return true;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {
        onCancel();
        return true;
    }
    if (id == ID_HELP) {
        showHelp();
        return true;
    }
    return platform::Dialog::onCommand(id, code);
}

void BaseDialog::accept() { sendCommand(IDOK, BN_CLICKED); }

void BaseDialog::onOK()
{
    endDialog(IDOK);
    destroyParentFrame();
}

void BaseDialog::onCancel()
{
    endDialog(IDCANCEL);
    destroyParentFrame();
}

void BaseDialog::destroyParentFrame()
{
    ChildFrame* frame = parentFrame();
    LOG_ASSERT(frame != nullptr);
    if (frame)
        frame->destroyFrame();
}

bool BaseDialog::routeCommand(int id)
{
    command(id, ACCELERATOR_CODE);
    if (onCommand(id, ACCELERATOR_CODE))
        return true;
    if (ChildFrame* frame = parentFrame())
        if (frame->onCommand(id))
            return true;
    AppServices* services = appServices();
    return services && services->onCommand(id);
}
