#include "session/SessionServices.h"

#include "Database/Database.h"
#include "Database/EventTable.h"
#include "Database/PersonTable.h"
#include "Utillib/LogStream.h"

namespace {

SessionServices* installed = nullptr;

} // namespace

SessionServices& sessionServices()
{
    LOG_ASSERT(installed != nullptr);
    return *installed;
}

void setSessionServices(SessionServices* services)
{
    installed = services;
}

std::vector<ScenarioEvent> loadScenarioEvents(const std::string& scenario)
{
    ScenarioEvents events(scenario);
    std::vector<ScenarioEvent> out;
    for (const EventRecord& event : events.load())
        out.push_back({ event.Name, event.Tooltip, event.Icon });
    return out;
}

void addPersonIfNew(const std::string& name)
{
    PersonTable persons(database);
    if (persons.open(std::string()))
        persons.addIfNew(name, false);
}
