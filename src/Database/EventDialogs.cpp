#include "Database/EventDialogs.h"

#include "Database/DbUi.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/AppIcon.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/AppServices.h"
#include "ui/ControlGroup.h"
#include "ui/QtWindows.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

namespace {

void showHelp(int context)
{
    if (AppServices* services = appServices())
        services->showHelp(context);
    else
        LogStream::instance() << "Help context " << context << " asked without an application" << LogStream::endl;
}

} // namespace

// EventListView

EventListView::EventListView(QTreeWidget* list)
    : tree(list)
    , icons(0)
{
}

void EventListView::insertColumn(int column, const std::wstring& heading, Align align, int width)
{
    QTreeWidgetItem* header = tree->headerItem();
    if (tree->columnCount() <= column)
        tree->setColumnCount(column + 1);
    header->setText(column, QString::fromStdWString(heading));
    header->setTextAlignment(column, (align == Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    tree->setColumnWidth(column, width);
}

void EventListView::setFullRowSelect() { tree->setSelectionBehavior(QAbstractItemView::SelectRows); }

void EventListView::useSmallEventIcons() { tree->setIconSize(QSize(icons.iconWidth(), icons.iconHeight())); }

void EventListView::deleteAllItems() { tree->clear(); }

void EventListView::insertItem(int index, int image, std::intptr_t data)
{
    auto* item = new QTreeWidgetItem;
    item->setIcon(0, icons.icon(image));
    item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    tree->insertTopLevelItem(index, item);
}

void EventListView::setItemText(int index, int column, const std::wstring& text)
{
    if (QTreeWidgetItem* item = tree->topLevelItem(index))
        item->setText(column, QString::fromStdWString(text));
}

int EventListView::autoSizeColumn(int column)
{
    tree->resizeColumnToContents(column);
    return tree->columnWidth(column);
}

void EventListView::setColumnWidth(int column, int width) { tree->setColumnWidth(column, width); }

int EventListView::clientWidth() const { return tree->viewport()->width(); }

// EditEventsDialog

EditEventsDialog::EditEventsDialog(const std::string& scenario, QWidget* parent)
    : ResizableDialog(IDD_EDIT_EVENTS, parent)
    , scenarioName(scenario)
    , scenarioEvents(scenario)
{
}

EditEventsDialog::~EditEventsDialog() = default;

QTreeWidget* EditEventsDialog::list() const { return platform::dlgItem<QTreeWidget>(this, IDC_EVENTS_LIST); }

bool EditEventsDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    bool result = ResizableDialog::onInitDialog();
    std::wstring label = GString::format(translate("Events associated with scenario '%hs':"), scenarioName.c_str());
    platform::setWindowText(platform::dlgItem(this, IDC_EVENTS_LABEL), QString::fromStdWString(label));
    setWindowIcon(platform::applicationIcon());
    view = std::make_unique<EventListView>(list());
    scenarioEvents.setupList(*view);

    // The buttons stay together, centred under the list, which takes every change of size.
    WindowHandle self = handleOf(this);
    HorizontalBox buttons;
    buttons.add(1, makeSpacer(0, 0), 0.0);
    buttons.add(1, makeControlGroup(self, IDC_EVENTS_ADD, IDC_DB_DELETE, IDC_EVENTS_UP, IDC_EVENTS_DOWN, IDCANCEL, IDC_DB_HELP), 0.0);
    buttons.add(1, makeSpacer(0, 0), 0.0);
    VerticalBox column;
    column.add(0, makeControlGroup(self, IDC_EVENTS_LABEL), 0.0);
    column.add(1, makeControlGroup(self, IDC_EVENTS_LIST), 0.0);
    column.add(0, buttons, 0.0);
    setLayout(column, false);

    // Events that could not be read are not edited: a list saved over them
    // would replace them. The reason has been shown; Close just closes.
    if (!scenarioEvents.edit(events))
        for (int id : {IDC_EVENTS_LIST, IDC_EVENTS_ADD, IDC_DB_DELETE, IDC_EVENTS_UP, IDC_EVENTS_DOWN})
            if (QWidget* control = platform::dlgItem(this, id))
                control->setEnabled(false);
    showList();
    changed = false;
    return result;
}

bool EditEventsDialog::onCommand(int id, int code)
{
    const bool clicked = code == BN_CLICKED;
    switch (id) {
    case IDC_EVENTS_ADD:
        if (clicked)
            add();
        return true;
    case IDC_DB_DELETE:
        if (clicked)
            remove();
        return true;
    case IDC_EVENTS_UP:
        if (clicked)
            move(-1);
        return true;
    case IDC_EVENTS_DOWN:
        if (clicked)
            move(1);
        return true;
    case IDC_EVENTS_LIST:
        if (code == NM_DBLCLK)
            edit();
        return true;
    case IDC_DB_HELP:
        if (clicked)
            showHelp(10015);
        return true;
    case IDOK:
        // Enter changes nothing here.
        return true;
    case IDCANCEL:
        if (clicked)
            close();
        return true;
    default:
        return ResizableDialog::onCommand(id, code);
    }
}

void EditEventsDialog::onSize(UINT type, int cx, int cy)
{
    ResizableDialog::onSize(type, cx, cy);
    if (initialised && view)
        scenarioEvents.fitColumns(*view);
}

int EditEventsDialog::selected() const
{
    QTreeWidgetItem* item = list()->currentItem();
    if (!item || !item->isSelected())
        return -1;
    return list()->indexOfTopLevelItem(item);
}

void EditEventsDialog::select(int index)
{
    list()->setFocus(Qt::OtherFocusReason);
    if (QTreeWidgetItem* item = list()->topLevelItem(index)) {
        list()->setCurrentItem(item);
        item->setSelected(true);
        list()->scrollToItem(item);
    }
}

void EditEventsDialog::showList() { scenarioEvents.showEvents(*view, events); }

void EditEventsDialog::add()
{
    EventDialog dialog(GString::to_string(translate("Name")), GString::to_string(translate("Tooltip")), 0, this);
    if (dialog.doModal() != IDOK)
        return;
    EventRecord event;
    event.Scenario = scenarioName;
    event.Order = 0;
    event.Name = dialog.name;
    event.Tooltip = dialog.tooltip;
    event.Icon = dialog.icon;
    events.push_back(event);
    showList();
    select(static_cast<int>(events.size()) - 1);
    changed = true;
}

void EditEventsDialog::edit()
{
    int index = selected();
    if (index < 0 || index >= static_cast<int>(events.size())) {
        QApplication::beep();
        return;
    }
    EventRecord& event = events[index];
    EventDialog dialog(event.Name, event.Tooltip, event.Icon, this);
    if (dialog.doModal() != IDOK)
        return;
    event.Name = dialog.name;
    event.Tooltip = dialog.tooltip;
    event.Icon = dialog.icon;
    showList();
    select(index);
    changed = true;
}

void EditEventsDialog::remove()
{
    int index = selected();
    if (index < 0 || index >= static_cast<int>(events.size())) {
        QApplication::beep();
        return;
    }
    events.erase(events.begin() + index);
    delete list()->takeTopLevelItem(index);
    if (index < list()->topLevelItemCount())
        select(index);
    else
        list()->clearSelection();
    changed = true;
}

void EditEventsDialog::move(int step)
{
    int index = selected();
    int target = index + step;
    if (index < 0 || target < 0 || target >= static_cast<int>(events.size())) {
        QApplication::beep();
        return;
    }
    std::swap(events[index], events[target]);
    showList();
    select(target);
    changed = true;
}

void EditEventsDialog::close()
{
    if (!changed) {
        endDialog(IDCANCEL);
        return;
    }
    switch (dbui::userInterface().messageBox(translate("Save changes?"), dbui::MB_YESNOCANCEL | dbui::MB_ICONQUESTION)) {
    case dbui::IDYES:
        // A list that could not be stored stays open with the edits (the
        // reason has been shown), to be saved again or dropped with No.
        if (scenarioEvents.save(events))
            endDialog(IDOK);
        break;
    case dbui::IDNO:
        endDialog(IDCANCEL);
        break;
    default:
        break;
    }
}

// EventDialog

EventDialog::EventDialog(const std::string& eventName, const std::string& eventTooltip, int eventIcon, QWidget* parent)
    : platform::Dialog(parent)
    , name(eventName)
    , tooltip(eventTooltip)
    , icon(eventIcon)
    , icons(0)
{
}

int EventDialog::doModal()
{
    if (!isCreated() && !create(IDD_EVENT, parentWidget()))
        return -1;
    return platform::Dialog::doModal();
}

bool EventDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    translateWindow(this);
    platform::Dialog::onInitDialog();
    setWindowIcon(platform::applicationIcon());
    auto* nameField = platform::dlgItem<QLineEdit>(this, IDC_EDITOR_NAME);
    auto* tooltipField = platform::dlgItem<QLineEdit>(this, IDC_EVENT_TOOLTIP);
    platform::setWindowTextA(nameField, name);
    nameField->setMaxLength(20);
    platform::setWindowTextA(tooltipField, tooltip);
    tooltipField->setMaxLength(80);

    auto* list = platform::dlgItem<QListWidget>(this, IDC_EVENT_ICONS);
    icons.attachToList(list);
    icons.fillList(list);
    list->setFocus(Qt::OtherFocusReason);
    if (icon >= 0 && icon < list->count()) {
        list->setCurrentRow(icon);
        list->scrollToItem(list->item(icon));
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
    nameField->setFocus(Qt::OtherFocusReason);
    nameField->selectAll();
    return false;
}

bool EventDialog::onCommand(int id, int code)
{
    auto* list = platform::dlgItem<QListWidget>(this, IDC_EVENT_ICONS);
    switch (id) {
    case IDC_EVENT_ICONS:
        if (code == LVN_ITEMCHANGED) {
            QList<QListWidgetItem*> chosen = list->selectedItems();
            if (!chosen.isEmpty()) {
                icon = list->row(chosen.front());
                icons.showIcon(platform::dlgItem<QLabel>(this, IDC_EVENT_PICTURE), icon);
            }
        }
        return true;
    case IDOK: {
        if (code != BN_CLICKED)
            return true;
        name = Utillib::getWindowText(platform::dlgItem(this, IDC_EDITOR_NAME));
        tooltip = Utillib::getWindowText(platform::dlgItem(this, IDC_EVENT_TOOLTIP));
        QList<QListWidgetItem*> chosen = list->selectedItems();
        if (chosen.isEmpty()) {
            QApplication::beep();
            return true;
        }
        icon = list->row(chosen.front());
        endDialog(IDOK);
        return true;
    }
    default:
        return platform::Dialog::onCommand(id, code);
    }
}

bool editScenarioEvents(QWidget* parent, const std::string& scenarioName)
{
    EditEventsDialog editor(scenarioName, parent);
    return editor.doModal() == IDOK;
}
