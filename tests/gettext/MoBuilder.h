#pragma once
// Catalogue images built byte by byte, for the cases msgfmt never writes:
// small hash tables, empty translations and damaged files.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace motest {

struct Entry {
    std::string source;
    std::string translation;
};

// The layout msgfmt uses: header, source table, translation table, hash
// table (all slots empty), then the strings. `entries` must be sorted.
class MoBuilder {
public:
    MoBuilder(std::vector<Entry> sortedEntries, std::uint32_t hashSlots, bool bigEndian = false)
        : entries(std::move(sortedEntries))
        , hashSize(hashSlots)
        , big(bigEndian)
    {
        auto n = static_cast<std::uint32_t>(entries.size());
        bytes.assign(28 + 16 * n + 4 * hashSize, '\0');
        put(0, 0x950412de);
        put(8, n);
        put(12, sourceTable());
        put(16, translationTable());
        put(20, hashSize);
        put(24, hashTable());
        for (std::uint32_t i = 0; i < n; ++i)
            addString(sourceTable() + 8 * i, entries[i].source);
        for (std::uint32_t i = 0; i < n; ++i)
            addString(translationTable() + 8 * i, entries[i].translation);
    }

    std::uint32_t sourceTable() const { return 28; }
    std::uint32_t translationTable() const { return 28 + 8 * static_cast<std::uint32_t>(entries.size()); }
    std::uint32_t hashTable() const { return 28 + 16 * static_cast<std::uint32_t>(entries.size()); }

    // Writes a 32-bit word in the catalogue's byte order.
    void put(std::size_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) {
            int shift = big ? 24 - 8 * i : 8 * i;
            bytes[offset + i] = static_cast<char>((value >> shift) & 0xFF);
        }
    }
    void setSlot(std::uint32_t slot, std::uint32_t entry) { put(hashTable() + 4 * slot, entry); }

    std::vector<char> image() const { return bytes; }
    void write(const std::string& path) const
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<char> bytes;

private:
    void addString(std::uint32_t tableEntry, const std::string& text)
    {
        put(tableEntry, static_cast<std::uint32_t>(text.size()));
        put(tableEntry + 4, static_cast<std::uint32_t>(bytes.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back('\0');
    }

    std::vector<Entry> entries;
    std::uint32_t hashSize;
    bool big;
};

} // namespace motest
