#include "Database/EventTable.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/Database.h"
#include "Database/DbText.h"
#include "Database/Transaction.h"

#include <algorithm>
#include <cctype>
#include <optional>

EventRecord::EventRecord() { reset(); }

void EventRecord::reset()
{
    Scenario.clear();
    Order = 0;
    Name.clear();
    Tooltip.clear();
    Icon = 0;
}

std::wstring EventRecord::nameText() const { return GString::to_wstring(Name); }

void EventRecord::setNameText(const std::wstring& name) { Name = GString::to_string(name); }

EventTable::EventTable(Database& db)
    : DatabaseTable(db)
{
    bindLong("Icon", Icon);
    bindText("Name", Name);
    bindLong("Order", Order);
    bindText("Scenario", Scenario);
    bindText("Tooltip", Tooltip);
}

bool EventTable::open(const std::string& filter) { return openAs(filter, tableKind::Events); }

std::string EventTable::getField(const std::string& column)
{
    std::string lower = column;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "name")
        return Name;
    LOG_ASSERT(false);
    return std::string();
}

EventRecord EventTable::getRecord()
{
    EventRecord r;
    r.Scenario = Scenario;
    r.Order = Order;
    r.Name = Name;
    r.Tooltip = Tooltip;
    r.Icon = Icon;
    return r;
}

void EventTable::setRecord(const EventRecord& r)
{
    Scenario = r.Scenario;
    Order = r.Order;
    Name = r.Name;
    Tooltip = r.Tooltip;
    Icon = r.Icon;
}

bool EventTable::rename(const EventKey&, const EventKey&) { return true; }

bool EventTable::remove(const EventKey& key, bool)
{
    bool success = DBUtil::remove(connection(), "Events", "Scenario", key.Scenario);
    tablePool.refresh(tableKind::Events);
    return success;
}

int EventTable::count(const EventKey& key)
{
    if (!ok || (IsBOF() && IsEOF()) || !MoveFirst())
        return 0;
    int n = 0;
    while (!IsEOF()) {
        if (dbtext::equalNoCase(Scenario, key.Scenario) && Order == key.Order)
            ++n;
        if (!MoveNext())
            break;
    }
    return n;
}

ScenarioEvents::ScenarioEvents(const std::string& scenario)
    : name(scenario), table(database)
{
}

bool ScenarioEvents::ensureOpen()
{
    if (opened)
        return true;
    // Every event row, and those of the scenario are picked by the program's
    // own comparison: a filter would follow the data source's case rules
    // (SQLite's NOCASE folds A to Z only), and a list it missed would pass
    // for a scenario without events, whose saving deletes the real ones.
    if (!table.open(""))
        return false;
    opened = true;
    return true;
}

std::vector<EventRecord> ScenarioEvents::defaultEvents(const std::string& scenario)
{
    struct Entry {
        const char* name;
        const char* tooltip;
        int icon;
        int order;
    };
    static const Entry entries[] = {
        {"Own safety", "Pay attention to own safety", 96, 0},
        {"Shake & shout", "Check conscious state", 1, 0},
        {"Phone", "Call for help", 0, 1},
        {"Airway", "Clear airway", 3, 2},
        {"Head-tilt", "Open airway", 5, 3},
        {"Breathing", "Check for breathing", 4, 4},
        {"Pulse", "Check for pulse", 2, 5},
    };
    std::vector<EventRecord> events;
    for (const Entry& e : entries) {
        EventRecord event;
        event.Scenario = scenario;
        event.Order = e.order;
        event.Name = GString::to_string(translate(e.name));
        event.Tooltip = GString::to_string(translate(e.tooltip));
        event.Icon = e.icon;
        events.push_back(event);
    }
    return events;
}

std::vector<EventRecord> ScenarioEvents::load()
{
    std::vector<EventRecord> events;
    if (!databaseOpen)
        return events;
    // A list that could not be read gives the built-in one: a session then
    // still has its buttons, and saves nothing. So does a name this station
    // cannot tell from another's: it must not show that one's events.
    if (nameIsShown())
        read(events);
    if (events.empty())
        events = defaultEvents(name);
    return events;
}

bool ScenarioEvents::read(std::vector<EventRecord>& events)
{
    events.clear();
    if (!databaseOpen)
        return true;
    if (!ensureOpen())
        return false;
    // No sort of its own: the rows come in the order they were stored (the
    // row id), which is the order of the list that was saved.
    if (table.IsOpen() && !(table.IsBOF() && table.IsEOF()) && table.MoveFirst()) {
        while (!table.IsEOF()) {
            if (dbtext::equalNoCase(table.Scenario, name))
                events.push_back(table.getRecord());
            if (!table.MoveNext())
                break;
        }
    }
    return true;
}

bool ScenarioEvents::edit(std::vector<EventRecord>& events)
{
    if (!databaseOpen) {
        events.clear();
        return true;
    }
    if (!nameIsShown()) {
        events.clear();
        return DBUtil::refuseUnshownName();
    }
    if (!read(events)) {
        DBUtil::reportError(table.lastError().text);
        return false;
    }
    if (events.empty())
        events = defaultEvents(name);
    return true;
}

bool ScenarioEvents::nameIsShown()
{
    bool scenarioShown = true;
    bool eventsShown = true;
    // Rows that cannot be read are shown as an error; the read that follows fails too.
    DBUtil::nameShown(database, "Scenario", "Name", name, scenarioShown);
    DBUtil::nameShown(database, "Events", "Scenario", name, eventsShown);
    return scenarioShown && eventsShown;
}

bool ScenarioEvents::insert(const EventRecord& event)
{
    if (!table.AddNew())
        return false;
    table.setRecord(event);
    return table.Update();
}

bool ScenarioEvents::save(std::vector<EventRecord>& events)
{
    if (!databaseOpen)
        return false;
    if (!ensureOpen()) {
        DBUtil::reportError(table.lastError().text);
        return false;
    }
    // Written under this station's reading of the name ("?? BLS"), the
    // events would belong to no scenario, and the delete would reach every
    // scenario that reads the same.
    if (!nameIsShown())
        return DBUtil::refuseUnshownName();
    bool committed = false;
    {
        // The old events and the new go together: a save that breaks off
        // leaves the list as it was. Inside a caller's transaction the rows
        // join it.
        std::optional<Transaction> own;
        if (!Transaction::active()) {
            own.emplace(database);
            if (!own->isOpen())
                return false;
        }
        Transaction& transaction = own ? *own : *Transaction::active();
        // Writing the events after a failed delete would list them twice.
        bool done = DBUtil::remove(database, "Events", "scenario", name);
        for (std::size_t i = 0; i < events.size(); ++i) {
            events[i].Order = static_cast<std::int32_t>(i);
            // An event that cannot be written keeps the list as it was; its
            // error is told once everything is rolled back.
            if (done && !insert(events[i])) {
                transaction.keepError(table.lastError().text);
                done = false;
            }
        }
        if (!done)
            transaction.fail();
        committed = own ? own->commit() : done;
    }
    tablePool.refresh(tableKind::Events);
    return committed;
}

void ScenarioEvents::setupList(EventListControl& list)
{
    list.insertColumn(0, std::wstring(), EventListControl::Align::Right, 20);
    list.insertColumn(1, translate("Name"), EventListControl::Align::Left, 100);
    list.insertColumn(2, translate("Tooltip"), EventListControl::Align::Left, 100);
    list.setFullRowSelect();
    list.useSmallEventIcons();
}

void ScenarioEvents::fillList(EventListControl& list) { showEvents(list, load()); }

void ScenarioEvents::showEvents(EventListControl& list, const std::vector<EventRecord>& events)
{
    list.deleteAllItems();
    for (std::size_t i = 0; i < events.size(); ++i) {
        int index = static_cast<int>(i);
        list.insertItem(index, events[i].Icon, static_cast<std::intptr_t>(i));
        list.setItemText(index, 1, GString::to_wstring(events[i].Name));
        list.setItemText(index, 2, GString::to_wstring(events[i].Tooltip));
    }
    fitColumns(list);
}

std::pair<int, int> ScenarioEvents::textColumnWidths(int clientWidth, int iconColumnWidth)
{
    int a = clientWidth - iconColumnWidth;
    int name = 2 * static_cast<int>(0.2 * a + 0.4);
    return {name, a - name};
}

void ScenarioEvents::fitColumns(EventListControl& list)
{
    int icon = list.autoSizeColumn(0);
    auto [nameWidth, tooltipWidth] = textColumnWidths(list.clientWidth(), icon);
    list.setColumnWidth(1, nameWidth);
    list.setColumnWidth(2, tooltipWidth);
}
