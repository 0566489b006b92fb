#pragma once
// A scenario's events: the steps an instructor marks during a session, one
// row each, tied to the scenario by its name; and ScenarioEvents, which
// loads, saves and lists the events of one scenario.
#include "Database/DatabaseTable.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class EventRecord {
public:
    EventRecord();
    void reset();

    std::wstring nameText() const;
    void setNameText(const std::wstring& name);

    std::string Scenario;
    // Position in the scenario's list, from 0.
    std::int32_t Order;
    std::string Name;
    std::string Tooltip;
    // Index into the event icons, 0 to 96.
    std::int32_t Icon;
};

// An event row's key: the scenario (ignoring case) and the position.
struct EventKey {
    std::string Scenario;
    std::int32_t Order = 0;
};

class EventTable : public DatabaseTable<EventRecord, EventKey> {
public:
    explicit EventTable(Database& db);

    bool open(const std::string& filter) override;
    std::string getField(const std::string& column) override;
    EventRecord getRecord() override;
    void setRecord(const EventRecord& record) override;
    // Nothing refers to an event.
    bool rename(const EventKey& oldKey, const EventKey& newKey) override;
    // Every event of the key's scenario, whatever its position.
    bool remove(const EventKey& key, bool cascade) override;
    int count(const EventKey& key) override;

    // Column members, in column order.
    std::int32_t Icon = 0;
    std::string Name;
    std::int32_t Order = 0;
    std::string Scenario;
    std::string Tooltip;
};

// A report-style list of events as ScenarioEvents fills it: an icon column,
// the name and the tooltip. The window layer implements it.
class EventListControl {
public:
    enum class Align { Left, Right };
    virtual ~EventListControl() = default;
    virtual void insertColumn(int column, const std::wstring& heading, Align align, int width) = 0;
    virtual void setFullRowSelect() = 0;
    // Items show their image from the small event icons.
    virtual void useSmallEventIcons() = 0;
    virtual void deleteAllItems() = 0;
    virtual void insertItem(int index, int image, std::intptr_t data) = 0;
    virtual void setItemText(int index, int column, const std::wstring& text) = 0;
    // Fits the column to its contents and returns its new width.
    virtual int autoSizeColumn(int column) = 0;
    virtual void setColumnWidth(int column, int width) = 0;
    virtual int clientWidth() const = 0;
};

class ScenarioEvents {
public:
    explicit ScenarioEvents(const std::string& scenario);
    virtual ~ScenarioEvents() = default;
    ScenarioEvents(const ScenarioEvents&) = delete;
    ScenarioEvents& operator=(const ScenarioEvents&) = delete;

    // The scenario's events in their stored order; the built-in list (not
    // stored) when there are none, and also when they could not be read
    // (a live session's buttons); nothing without a database.
    std::vector<EventRecord> load();
    // The list to edit, as load gives it; false when the stored events could
    // not be read, or the station cannot show the scenario's name: the
    // reason is shown in a box and `events` is empty, so that nobody edits,
    // and saves over, events never read.
    bool edit(std::vector<EventRecord>& events);
    // Replaces the stored events by these, numbering their Order from 0, all
    // in one transaction: when anything fails (shown) nothing is changed.
    // False then, and without a database.
    bool save(std::vector<EventRecord>& events);

    void setupList(EventListControl& list);
    void fillList(EventListControl& list);
    void showEvents(EventListControl& list, const std::vector<EventRecord>& events);
    void fitColumns(EventListControl& list);

    // The list of a scenario without stored events, translated.
    static std::vector<EventRecord> defaultEvents(const std::string& scenario);
    // The widths of the name and tooltip columns: two fifths (an even
    // number) and the rest of what the icon column leaves.
    static std::pair<int, int> textColumnWidths(int clientWidth, int iconColumnWidth);

private:
    // Opens the table on the scenario's rows; false while that fails.
    bool ensureOpen();
    // The stored events; false when they could not be read.
    bool read(std::vector<EventRecord>& events);
    bool insert(const EventRecord& event);
    // False when the name reads on this station like a stored scenario name
    // that is not the same (its letters lost in the code page): its events
    // cannot be told from that one's.
    bool nameIsShown();

    std::string name;
    EventTable table;
    bool opened = false;
};
