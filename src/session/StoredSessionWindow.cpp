#include "session/StoredSessionWindow.h"

#include "gettext/Translator.h"
#include "platformqt/AppIcon.h"
#include "session/Session.h"
#include "session/SessionGraphView.h"
#include "session/SessionWindows.h"

#include <QApplication>

InspectSessionDialog::InspectSessionDialog(Session& shown, bool debrief, QWidget* parent)
    : QDialog(parent)
    , session(&shown)
    , showDebrief(debrief)
{
    setModal(true);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowTitle(QString::fromStdWString(translate("Inspect session details")));
    setWindowIcon(platform::applicationIcon());
    resize(770, 470);
}

// The signal receiver base drops its connection to the session.
InspectSessionDialog::~InspectSessionDialog() = default;

void InspectSessionDialog::initDialog()
{
    auto* container = dynamic_cast<SessionContainerHandle*>(session->createView());
    if (container && container->view()) {
        view = container->view();
        view->setParent(this);
        view->show();
    }
    session->poll();
    if (auto* graphs = dynamic_cast<GraphPageHandle*>(session->graphPage()); graphs && graphs->page()) {
        graphs->page()->updateControls();
        graphs->page()->updateScrollBar();
    }
    if (showDebrief)
        session->setState(Session::DEBRIEF);
    if (view)
        view->setGeometry(rect());
    session->destroyed.connect(this, &InspectSessionDialog::onSessionDestroyed);
}

// Closing the window closes the session at once, without the save question.
void InspectSessionDialog::reject()
{
    if (session)
        session->close();
    else
        QDialog::reject();
}

void InspectSessionDialog::onSessionDestroyed(Session*)
{
    session = nullptr;
    view = nullptr;
    done(QDialog::Rejected);
}

void InspectSessionDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (view)
        view->setGeometry(rect());
}
