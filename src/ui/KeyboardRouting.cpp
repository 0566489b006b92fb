#include "ui/KeyboardRouting.h"

#include "ui/BaseDialog.h"
#include "ui/ChildFrame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPointer>

namespace {

enum class MdiKey { none, close, next, previous };

MdiKey mdiKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier))
        return MdiKey::none;
    const bool shift = mods & Qt::ShiftModifier;
    switch (key.key()) {
    case Qt::Key_F4: return shift ? MdiKey::none : MdiKey::close;
    case Qt::Key_F6:
    case Qt::Key_Tab: return shift ? MdiKey::previous : MdiKey::next;
    case Qt::Key_Backtab: return MdiKey::previous;
    default: return MdiKey::none;
    }
}

void runMdiKey(QMdiArea& mdi, MdiKey key)
{
    switch (key) {
    case MdiKey::close:
        if (QMdiSubWindow* active = mdi.activeSubWindow())
            active->close();
        break;
    case MdiKey::next: mdi.activateNextSubWindow(); break;
    case MdiKey::previous: mdi.activatePreviousSubWindow(); break;
    case MdiKey::none: break;
    }
}

// The form and the frame that a key for this widget passes through: the
// nearest form and the nearest frame above the widget, within its own window
// (a message box over a form is not part of the form).
void findOwners(QWidget* widget, BaseDialog*& form, ChildFrame*& frame)
{
    form = nullptr;
    frame = nullptr;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (!form)
            form = dynamic_cast<BaseDialog*>(w);
        frame = dynamic_cast<ChildFrame*>(w);
        if (frame || (w->isWindow() && w != form))
            return;
    }
}

class KeyboardRouter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        AppServices* services = appServices();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!services || !widget)
            return false;
        BaseDialog* form = nullptr;
        ChildFrame* frame = nullptr;
        findOwners(widget, form, frame);
        if (!form && !frame)
            return false;

        auto* key = static_cast<QKeyEvent*>(event);
        QMdiArea* mdi = services->mdiClient();
        const MdiKey mdiAction = mdi ? mdiKey(*key) : MdiKey::none;
        const int command = mdiAction == MdiKey::none ? acceleratorCommand(services->accelerators(), key->keyCombination()) : 0;
        if (mdiAction == MdiKey::none && command == 0)
            return false;
        // Taken before Qt's own shortcuts and before the focused control.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (mdiAction != MdiKey::none)
            runMdiKey(*mdi, mdiAction);
        else if (form)
            form->routeCommand(command);
        else if (!frame->onCommand(command))
            services->onCommand(command);
        return true;
    }
};

} // namespace

int acceleratorCommand(const std::vector<Accelerator>& table, QKeyCombination key)
{
    const Qt::KeyboardModifiers mods =
        key.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    const QKeyCombination plain(mods, key.key());
    for (const Accelerator& entry : table)
        if (entry.key == plain)
            return entry.command;
    return 0;
}

void installKeyboardRouting()
{
    static QPointer<KeyboardRouter> router;
    if (router || !qApp)
        return;
    router = new KeyboardRouter;
    router->setParent(qApp);
    qApp->installEventFilter(router);
}
