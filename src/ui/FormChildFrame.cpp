#include "ui/FormChildFrame.h"

#include "ui/AppServices.h"
#include "ui/BaseDialog.h"
#include "platformqt/Window.h"

FormChildFrame::~FormChildFrame()
{
    // A form that never became part of the frame would be left behind.
    if (form && !isAncestorOf(form))
        delete form;
}

QWidget* FormChildFrame::getView() { return form; }

bool FormChildFrame::createView() { return form && form->create(clientArea()); }

bool FormChildFrame::canClose() { return form ? form->canClose() : true; }

bool FormChildFrame::onCommand(int id) { return id == ID_HELP; }

void FormChildFrame::setVisible(bool visible)
{
    // Told before the change, and only on a change.
    if (visible == isHidden() && form && form->isCreated())
        form->onParentShow(visible, 0);
    ChildFrame::setVisible(visible);
}

// The form's control that had the focus last gets it again, else its first tab stop.
void FormChildFrame::focusInEvent(QFocusEvent* event)
{
    ChildFrame::focusInEvent(event);
    if (!form)
        return;
    QWidget* target = form->focusWidget();
    if (!target || target == form)
        target = platform::nextDlgTabItem(form, nullptr);
    (target ? target : form)->setFocus();
}

void FormChildFrame::onClientSize(int width, int height)
{
    if (resizable && form)
        form->setGeometry(0, 0, width, height);
}
