#pragma once
// Small recordsets over a few columns of the schema's tables, for tests
// of the recordset layer and of the refreshes that cascades cause.
#include "Database/Database.h"
#include "Database/Recordset.h"

#include <cstdint>
#include <string>

namespace dbtest {

struct PersonSet : Recordset {
    PersonSet()
        : Recordset(database)
    {
        bindText("Name", Name);
        bindBool("Instructor", Instructor);
        bindText("Address", Address);
    }
    std::string Name;
    std::int32_t Instructor = 0;
    std::string Address;
};

struct SessionSet : Recordset {
    SessionSet()
        : Recordset(database)
    {
        bindText("Serialidentifier", Serialidentifier);
        bindText("Algorithm", Algorithm);
        bindText("Scenario", Scenario);
        bindByte("Approved", Approved);
        bindDouble("CompDepth", CompDepth);
        bindBool("Done", Done);
    }
    std::string Serialidentifier;
    std::string Algorithm;
    std::string Scenario;
    std::uint8_t Approved = 0;
    double CompDepth = 0;
    std::int32_t Done = 0;
};

struct ScenarioSet : Recordset {
    ScenarioSet()
        : Recordset(database)
    {
        bindText("Name", Name);
        bindText("Algorithm", Algorithm);
    }
    std::string Name;
    std::string Algorithm;
};

struct EventSet : Recordset {
    EventSet()
        : Recordset(database)
    {
        bindLong("Order", Order);
        bindText("Name", Name);
    }
    std::int32_t Order = 0;
    std::string Name;
};

// The values of one column of every row, walking the set from the first row.
template <class Set, class Member>
std::vector<Member> column(Set& set, Member Set::*member)
{
    std::vector<Member> values;
    if (set.IsBOF() && set.IsEOF())
        return values;
    set.MoveFirst();
    while (!set.IsEOF()) {
        values.push_back(set.*member);
        set.MoveNext();
    }
    return values;
}

} // namespace dbtest
