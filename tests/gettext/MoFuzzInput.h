#pragma once
// What the .mo fuzz target does with one input; the corpus replay test does
// exactly the same, so every corpus file is run in the plain test build too.
#include "gettext/MoCatalog.h"

#include <cstddef>
#include <string>
#include <vector>

// Loads the bytes as a catalogue and, when they are accepted, reads every
// string and looks up texts that are there and texts that are not.
inline bool exerciseCatalogueImage(const unsigned char* data, std::size_t size)
{
    MoCatalog catalogue;
    if (!catalogue.loadImage(std::vector<char>(data, data + size), "fuzz input"))
        return false;
    std::string dump = catalogue.toPoText();
    catalogue.find("");
    catalogue.find("Open");
    catalogue.find(dump.substr(0, 40));
    // A key of input bytes steers the hash search to other slots.
    catalogue.find(std::string(reinterpret_cast<const char*>(data), size < 24 ? size : 24));
    return true;
}
