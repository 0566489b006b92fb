#pragma once
// One compiled message catalogue (".mo"), held whole in memory: given the
// exact bytes of a source text, the bytes of its translation.
//
// The file is outside input (it is named on the command line), so every
// offset and length is checked when it is loaded and a damaged file is
// refused with a line in the error log; lookups never leave the image and
// never probe the hash table more than once per slot.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class MoCatalog {
public:
    MoCatalog() = default;
    MoCatalog(const MoCatalog&) = delete;
    MoCatalog& operator=(const MoCatalog&) = delete;

    // Reads the catalogue; ".mo" is appended unless the path ends with it.
    // False when the file is missing (silently) or damaged (logged); the
    // catalogue is then empty.
    bool load(const std::string& path);
    // The same for a file image already in memory; `name` is used in the log.
    bool loadImage(std::vector<char> bytes, const std::string& name);

    bool isLoaded() const { return !image.empty(); }

    // The translation of `text`, or empty when the catalogue does not hold it.
    std::string find(const std::string& text) const;

    // The whole catalogue as ".po"-style text, in hash-table order.
    std::string toPoText() const;

    // The path that `load` opens for `path`.
    static std::string fileName(const std::string& path);

private:
    std::uint32_t word(std::size_t offset) const;
    // String `index` of a table, up to its first NUL.
    std::string_view stringAt(std::size_t table, std::uint32_t index) const;
    bool validate(const std::string& name);
    void clear();

    std::vector<char> image;
    std::uint32_t stringCount = 0;    // N
    std::uint32_t hashSize = 0;       // S
    std::uint32_t hashTable = 0;      // offsets into the image
    std::uint32_t sourceTable = 0;
    std::uint32_t translationTable = 0;
    bool swapped = false;
};
