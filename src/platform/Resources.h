#pragma once
// The program's resources, looked up by type and numeric id in place of the
// resource section of an executable: dialog templates, menus, bitmaps,
// binary data, sounds. Resources register themselves at start-up.
#include <cstddef>
#include <string>

namespace platform {

struct Resource {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// The resource, or one with null data when there is none.
Resource findResource(const std::string& type, int id);

// Adds a resource (the bytes are not copied and must live as long as the
// program); an existing one of the same type and id is replaced.
void registerResource(const std::string& type, int id, const unsigned char* data, std::size_t size);
void unregisterResource(const std::string& type, int id);

} // namespace platform
