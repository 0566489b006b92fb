#include "ui/IdMap.h"

#include "Utillib/LogStream.h"

#include <map>

namespace idMap {

namespace {
using Map = std::map<int, std::wstring>;
Map& texts()
{
    static Map map;
    return map;
}
} // namespace

bool insert(int id, const std::wstring& str)
{
    Map& map = texts();
    const bool added = map.insert(Map::value_type(id, str)).second;
    LOG_ASSERT(added == true);
    return added;
}

std::wstring lookup(int id)
{
    auto it = texts().find(id);
    return it == texts().end() ? std::wstring() : it->second;
}

void clear() { texts().clear(); }

} // namespace idMap
