#pragma once
// The editors of a scenario's events: EditEventsDialog edits the ordered
// list (add, change, delete, move) as a working copy that is stored only
// when the user closes it and agrees; EventDialog edits one event's name,
// tooltip and icon.
#include "Database/EventTable.h"
#include "ui/ResizableDialog.h"
#include "ui/ToolBar.h"

#include <memory>
#include <string>
#include <vector>

class QTreeWidget;

// A report list of events (icon, name, tooltip) as ScenarioEvents fills it.
class EventListView : public EventListControl {
public:
    explicit EventListView(QTreeWidget* tree);

    void insertColumn(int column, const std::wstring& heading, Align align, int width) override;
    void setFullRowSelect() override;
    void useSmallEventIcons() override;
    void deleteAllItems() override;
    void insertItem(int index, int image, std::intptr_t data) override;
    void setItemText(int index, int column, const std::wstring& text) override;
    int autoSizeColumn(int column) override;
    void setColumnWidth(int column, int width) override;
    int clientWidth() const override;

private:
    QTreeWidget* tree;
    EventIconList icons;
};

class EditEventsDialog : public ResizableDialog {
public:
    EditEventsDialog(const std::string& scenarioName, QWidget* parent = nullptr);
    ~EditEventsDialog() override;

    // The list as edited so far.
    const std::vector<EventRecord>& workingCopy() const { return events; }
    bool isChanged() const { return changed; }
    void setChanged() { changed = true; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onSize(UINT type, int cx, int cy) override;

private:
    QTreeWidget* list() const;
    int selected() const;
    void select(int index);
    void showList();
    void add();
    void edit();
    void remove();
    void move(int step);
    void close();

    std::string scenarioName;
    ScenarioEvents scenarioEvents;
    std::vector<EventRecord> events;
    bool changed = false;
    std::unique_ptr<EventListView> view;
};

class EventDialog : public platform::Dialog {
public:
    // Texts in the ANSI code page; an icon outside 0 to 96 starts with none chosen.
    EventDialog(const std::string& name, const std::string& tooltip, int icon, QWidget* parent = nullptr);

    // Creates the dialog and runs it modally: IDOK when the user confirmed.
    int doModal();

    std::string name;
    std::string tooltip;
    int icon;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    EventIconList icons;
};

// The event list editor as the scenario editor opens it; whether the list was saved.
bool editScenarioEvents(QWidget* parent, const std::string& scenarioName);
