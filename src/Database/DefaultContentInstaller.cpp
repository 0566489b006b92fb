#include "Database/DefaultContentInstaller.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionRecord.h"
#include "Database/Transaction.h"
#include "Utillib/LogStream.h"
#include "Utillib/RegistryKey.h"
#include "config/TrainingMode.h"

namespace {

struct BuiltInScenario {
    const char* name;
    std::int32_t duration;
    const char* algorithm;
};

const BuiltInScenario builtInScenarios[] = {
    {"10 minute BLS (AHA)", 600, AlgorithmTable::ahaName},  {"20 minute BLS (AHA)", 1200, AlgorithmTable::ahaName},
    {"5 minute BLS (AHA)", 300, AlgorithmTable::ahaName},   {"10 minute BLS (ERC)", 600, AlgorithmTable::ercName},
    {"20 minute BLS (ERC)", 1200, AlgorithmTable::ercName}, {"5 minute BLS (ERC)", 300, AlgorithmTable::ercName},
};

void logFailure(const char* what, const DbError& error)
{
    LogStream::instance() << std::string("Built-in content: ") + what + " could not be written: " + error.text + "\n";
}

} // namespace

void DefaultContentInstaller::installDefaultContent()
{
    // Closed tables would find nothing and the writes would fail one by one.
    if (!databaseOpen)
        return;
    if (readPatchLevel() != 0)
        return;
    // The check and the insertions are one transaction under the lock of the
    // installation: a station that starts at the same time waits for it and
    // then finds the content stored, so that one set is ever stored. A
    // failure (logged) stores nothing, and the next start tries again.
    Transaction transaction(database);
    if (!transaction.isOpen())
        return;
    bool done = lockInstallation();
    readFailed = false;
    if (done && defaultsMissing())
        done = insertDefaultAlgorithms() && insertDefaultScenarios();
    // Content that could not be looked for is not known to be missing.
    if (readFailed)
        done = false;
    if (!done)
        transaction.fail();
    transaction.commit();
}

bool DefaultContentInstaller::lockInstallation()
{
    std::string statement;
    switch (database.dialect()) {
    case Database::Dialect::PostgreSQL:
        // A mode that conflicts with itself (and with writers), not with readers.
        statement = "LOCK TABLE algorithm IN SHARE ROW EXCLUSIVE MODE";
        break;
    case Database::Dialect::SQLite:
        // A write, even of no row, takes the database's write lock for the
        // rest of the transaction; made first, before anything was read.
        statement = "DELETE FROM Algorithm WHERE 1 = 0";
        break;
    case Database::Dialect::Other:
        return true;
    }
    if (database.execute(statement))
        return true;
    LogStream::instance() << "Built-in content: the installation could not be locked: " + database.lastError().text + "\n";
    return false;
}

std::uint32_t DefaultContentInstaller::readPatchLevel()
{
    RegistryKey key(platform::HKEY_LOCAL_MACHINE);
    DWORD level = 0;
    if (!key.open(platform::HKEY_LOCAL_MACHINE, installationKey) || !key.readDword("Patch level", level))
        return 0;
    return level;
}

bool DefaultContentInstaller::defaultsMissing()
{
    AlgorithmTable algorithms(database);
    if (!algorithms.open("")) {
        logReadFailure("the guidelines", algorithms.lastError());
        return false;
    }
    for (const char* name : {AlgorithmTable::ahaName, AlgorithmTable::ercName})
        if (algorithms.findByName(name).builtIn)
            return false;
    ScenarioTable scenarios(database);
    if (!scenarios.open("")) {
        logReadFailure("the scenarios", scenarios.lastError());
        return false;
    }
    for (const BuiltInScenario& s : builtInScenarios)
        if (!scenarios.findByName(s.name).Algorithm.empty())
            return false;
    return true;
}

void DefaultContentInstaller::logReadFailure(const char* what, const DbError& error)
{
    readFailed = true;
    LogStream::instance() << std::string("Built-in content: ") + what + " could not be read: " + error.text + "\n";
}

bool DefaultContentInstaller::insertDefaultAlgorithms()
{
    AlgorithmTable table(database);
    if (!table.open("")) {
        logFailure("the guidelines", table.lastError());
        return false;
    }
    Algorithm a;
    a.compDepthHigh = 50;
    a.compDepthLow = 40;
    a.compRelaxHigh = 60;
    a.compRelaxLow = 40;
    a.compRelaxRecc = 50;
    a.eccRateHigh = 110;
    a.eccRateLow = 90;
    a.ventCompRatioDoubleComp = 30;
    a.ventCompRatioDoubleVent = 2;
    a.ventCompRatioSingleComp = 30;
    a.ventCompRatioSingleVent = 2;
    a.vRateHigh = 6;
    a.vRateLow = 3;
    a.vVolHigh = 0.6;
    a.vVolLow = 0.5;
    a.builtIn = true;
    bool success = true;
    struct Guideline {
        const char* name;
        std::int32_t initVent;
    };
    for (const Guideline& g : {Guideline{AlgorithmTable::ahaName, 2}, Guideline{AlgorithmTable::ercName, 0}}) {
        const char* name = g.name;
        a.Name = name;
        a.initVent = g.initVent;
        bool written = table.AddNew();
        if (written) {
            table.setRecord(a);
            written = table.Update();
        }
        if (!written) {
            logFailure(name, table.lastError());
            success = false;
        }
    }
    return success;
}

bool DefaultContentInstaller::insertDefaultScenarios()
{
    ScenarioTable table(database);
    if (!table.open("")) {
        logFailure("the scenarios", table.lastError());
        return false;
    }
    bool success = true;
    for (const BuiltInScenario& s : builtInScenarios) {
        ScenarioRecord r;
        r.Name = s.name;
        r.Duration = s.duration;
        r.Algorithm = s.algorithm;
        r.RegisterEvents = 1;
        r.TrainingMode = TWO_PERSON;
        bool written = table.AddNew();
        if (written) {
            table.setRecord(r);
            written = table.Update();
        }
        if (!written) {
            logFailure(s.name, table.lastError());
            success = false;
        }
    }
    return success;
}

void DefaultContentInstaller::writePatchLevel(std::uint32_t level)
{
    RegistryKey key(platform::HKEY_LOCAL_MACHINE);
    if (key.open(platform::HKEY_LOCAL_MACHINE, installationKey))
        key.writeDword("Patch level", level);
}
