#include "Database/TablePool.h"

#include "Database/DatabaseUtil.h"
#include "Database/Recordset.h"
#include "Utillib/LogStream.h"

#include <algorithm>

#include "Database/WinBool.h"

const char* const TablePool::names[6] = {"Algorithm", "Course", "Events", "Person", "Scenario", "Session"};

void TablePool::add(Recordset* table, TableKind kind)
{
    if (std::find(tables.begin(), tables.end(), table) != tables.end())
        return;
    tables.push_back(table);
    kinds.push_back(kind);
}

void TablePool::remove(Recordset* table)
{
    auto it = std::find(tables.begin(), tables.end(), table);
    if (it == tables.end())
        return;
    std::size_t i = static_cast<std::size_t>(it - tables.begin());
    tables.erase(it);
    kinds.erase(kinds.begin() + static_cast<std::ptrdiff_t>(i));
}

void TablePool::refresh(TableKind k)
{
    if (k < 0 || k > 5)
        return;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (kinds[i] != k)
            continue;
        if (!tables[i]->IsOpen()) {
            LOG_ASSERT(FALSE);
            continue;
        }
        if (!tables[i]->CanRestart()) {
            LOG_ASSERT(FALSE);
            continue;
        }
        // Read again in place: when that fails, the rows read before stay.
        const bool reread = DBUtil::Open(tables[i], names[k]);
        LOG_ASSERT_TEXT(reread, "DBUtil::Open(tables[i], names[k]) == true");
    }
}

void TablePool::refreshAll()
{
    for (std::size_t i = 0; i < tables.size(); ++i)
        if (tables[i]->IsOpen() && tables[i]->CanRestart())
            DBUtil::Open(tables[i], names[kinds[i]]);
}
