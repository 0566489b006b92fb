#include "platform/Resources.h"

#include <map>
#include <utility>

namespace platform {

namespace {
// Built on first use: resources register from static initialisers of other files.
std::map<std::pair<std::string, int>, Resource>& table()
{
    static std::map<std::pair<std::string, int>, Resource> resources;
    return resources;
}
} // namespace

Resource findResource(const std::string& type, int id)
{
    auto it = table().find({ type, id });
    return it == table().end() ? Resource {} : it->second;
}

void registerResource(const std::string& type, int id, const unsigned char* data, std::size_t size)
{
    table()[{ type, id }] = Resource { data, size };
}

void unregisterResource(const std::string& type, int id) { table().erase({ type, id }); }

} // namespace platform
