#include "calibrate/CalibrateWindow.h"

#include "calibrate/CalibrateView.h"
#include "gettext/Translator.h"
#include "ui/AppServices.h"
#include "ui/FormChildFrame.h"

#include <QPointer>

bool CalibrateWindow::onCalibrate()
{
    if (calibrateFrame) {
        calibrateFrame->activateFrame();
        return false;
    }
    auto* frame = new FormChildFrame;
    frame->fitToView = true;
    frame->resizable = false;
    frame->hideOnClose = true;
    auto* view = new CalibrateView;
    view->setExpanded(false);
    frame->form = view;
    if (!frame->createFrame(translate("Calibrate")))
        return false;
    calibrateFrame = frame;
    frame->destroyed.connect(this, &CalibrateWindow::frameDestroyed);
    frame->activateFrame();

    view->repaint();
    if (AppServices* services = appServices())
        if (QWidget* main = services->mainWindow())
            main->repaint();

    // The message boxes run the event loop: the window may go meanwhile.
    QPointer<CalibrateView> alive(view);
    const bool error = view->checkCalibration();
    if (alive)
        alive->setExpanded(true);
    return error;
}

CalibrateView* CalibrateWindow::view() const
{
    return calibrateFrame ? static_cast<CalibrateView*>(calibrateFrame->form) : nullptr;
}

void CalibrateWindow::frameDestroyed(ChildFrame* frame)
{
    if (frame == calibrateFrame)
        calibrateFrame = nullptr;
}
