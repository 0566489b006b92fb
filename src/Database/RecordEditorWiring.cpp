#include "Database/RecordEditorWiring.h"

#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace recordEditor {

namespace {

// Tells the combo box's dialog that its list closed. The notification is
// queued: a choice made with the mouse is selected only after the list hid.
class CloseUpReporter : public QObject {
public:
    CloseUpReporter(platform::ComboBox* comboBox)
        : QObject(comboBox)
        , combo(comboBox)
    {
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            QPointer<platform::ComboBox> box = combo;
            QTimer::singleShot(0, combo, [box] {
                if (box)
                    platform::notifyParent(box, CBN_CLOSEUP);
            });
        }
        return false;
    }

private:
    platform::ComboBox* combo;
};

// The child of the dialog that holds the widget (a combo box for its inner line edit).
QWidget* controlOf(const platform::Dialog* dialog, QWidget* widget)
{
    while (widget && widget->parentWidget() && widget->parentWidget() != dialog)
        widget = widget->parentWidget();
    return widget && widget->parentWidget() == dialog ? widget : nullptr;
}

} // namespace

void installWiring(platform::Dialog* dialog)
{
    // No button is the default: Enter on a field is the dialog's OK, and on
    // a button the click of that button.
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    if (platform::ComboBox* combo = quickFindBox(dialog)) {
        // The list's frame is the window that opens and closes.
        QWidget* popup = combo->view()->window();
        popup->installEventFilter(new CloseUpReporter(combo));
    }
}

void enableButtons(platform::Dialog* dialog, int bits, bool deleteAllowed)
{
    static const std::pair<int, int> byBit[] = {
        {1, idSave}, {2, idDiscard}, {4, idFirst}, {8, idLast}, {16, idNext}, {32, idPrevious}, {128, idNew},
    };
    for (const auto& [bit, id] : byBit)
        Utillib::enableWithFocus(platform::dlgItem(dialog, id), (bits & bit) != 0);
    Utillib::enableWithFocus(platform::dlgItem(dialog, idDelete), (bits & 64) != 0 && deleteAllowed);
}

platform::ComboBox* quickFindBox(const platform::Dialog* dialog)
{
    return platform::dlgItem<platform::ComboBox>(dialog, idQuickFind);
}

std::string quickFindText(const platform::Dialog* dialog) { return Utillib::getComboText(quickFindBox(dialog)); }

bool pressEnter(platform::Dialog* dialog, const QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (auto* button = qobject_cast<QPushButton*>(dialog->focusWidget())) {
        if (button->isEnabled())
            button->click();
        return true;
    }
    dialog->sendCommand(IDOK, BN_CLICKED);
    return true;
}

void focusNextField(platform::Dialog* dialog)
{
    QWidget* current = controlOf(dialog, dialog->focusWidget());
    if (QWidget* next = platform::nextDlgTabItem(dialog, current))
        next->setFocus(Qt::TabFocusReason);
}

bool isEditChange(const platform::Dialog* dialog, int id, int code)
{
    if (code != EN_CHANGE)
        return false;
    QWidget* control = platform::dlgItem(dialog, id);
    return qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control);
}

} // namespace recordEditor
