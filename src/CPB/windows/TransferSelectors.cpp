#include "CPB/windows/TransferSelectors.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/ControlGroup.h"
#include "ui/QtWindows.h"

#include <QListWidget>

namespace {

// The label above, the list taking every change of size.
void layOut(ResizableDialog& dialog, int listId)
{
    WindowHandle self = handleOf(&dialog);
    VerticalBox column;
    column.add(0, makeControlGroup(self, IDC_SELECTOR_LABEL), 0.0);
    column.add(1, makeControlGroup(self, listId), 0.0);
    dialog.setLayout(column, false);
}

// One item per port, the port as its data; the first item selected.
void fill(QListWidget* widget, const std::vector<int>& ports)
{
    LOG_ASSERT(!ports.empty());
    auto* list = qobject_cast<platform::ListBox*>(widget);
    if (!list)
        return;
    auto* checkList = qobject_cast<platform::CheckListBox*>(widget);
    list->resetContent();
    const std::wstring com = translate("Com");
    for (int port : ports) {
        const int index = list->addString(QString::fromStdWString(com + L" " + GString::from_int(port)));
        list->item(index)->setData(Qt::UserRole, port);
        if (checkList)
            checkList->setCheck(index, 1);
    }
    if (list->getCount() > 0)
        list->setCurSel(0);
}

} // namespace

// CPBSendSelector

CPBSendSelector::CPBSendSelector()
    : ResizableDialog(IDD_SEND_SELECTOR, nullptr)
{
}

QListWidget* CPBSendSelector::list() const { return platform::dlgItem<QListWidget>(this, IDC_SELECTOR_SEND_LIST); }

bool CPBSendSelector::onInitDialog()
{
    const bool result = ResizableDialog::onInitDialog();
    layOut(*this, IDC_SELECTOR_SEND_LIST);
    fill(list(), candList);
    chosenPorts.clear();
    return result;
}

bool CPBSendSelector::onCommand(int id, int code)
{
    if (code != BN_CLICKED || (id != IDOK && id != IDCANCEL))
        return ResizableDialog::onCommand(id, code);
    chosenPorts.clear();
    if (id == IDOK)
        if (QListWidget* ports = list())
            for (int row = 0; row < ports->count(); ++row)
                if (ports->item(row)->checkState() == Qt::Checked)
                    chosenPorts.push_back(ports->item(row)->data(Qt::UserRole).toInt());
    endDialog(id);
    return true;
}

// CPGGetSelector

CPGGetSelector::CPGGetSelector()
    : ResizableDialog(IDD_GET_SELECTOR, nullptr)
{
}

QListWidget* CPGGetSelector::list() const { return platform::dlgItem<QListWidget>(this, IDC_SELECTOR_GET_LIST); }

bool CPGGetSelector::onInitDialog()
{
    const bool result = ResizableDialog::onInitDialog();
    layOut(*this, IDC_SELECTOR_GET_LIST);
    fill(list(), candList);
    chosenPort = -1;
    return result;
}

bool CPGGetSelector::onCommand(int id, int code)
{
    if (code != BN_CLICKED || (id != IDOK && id != IDCANCEL))
        return ResizableDialog::onCommand(id, code);
    chosenPort = -1;
    if (id == IDOK)
        if (QListWidget* ports = list()) {
            QListWidgetItem* item = ports->currentItem();
            if (item && item->isSelected())
                chosenPort = item->data(Qt::UserRole).toInt();
        }
    endDialog(id);
    return true;
}
