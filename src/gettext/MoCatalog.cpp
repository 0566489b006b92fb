#include "gettext/MoCatalog.h"

#include "Utillib/LogStream.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t magicNative = 0x950412de;
constexpr std::uint32_t magicSwapped = 0xde120495;
constexpr std::size_t headerSize = 28;
constexpr std::size_t tableEntrySize = 8; // length, offset

std::uint32_t swapBytes(std::uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

// The hash function of the catalogue format.
std::uint32_t hashpjw(const std::string& text)
{
    std::uint32_t h = 0;
    for (unsigned char c : text) {
        h = (h << 4) + c;
        std::uint32_t g = h & 0xF0000000u;
        if (g != 0)
            h = h ^ (g >> 24) ^ g;
    }
    return h;
}

bool endsWithMo(const std::string& path)
{
    std::size_t n = path.size();
    return n >= 4 && path[n - 3] == '.' && (path[n - 2] == 'm' || path[n - 2] == 'M')
        && (path[n - 1] == 'o' || path[n - 1] == 'O');
}

void escapeInto(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out += c; break;
        }
    }
}

} // namespace

std::string MoCatalog::fileName(const std::string& path)
{
    return endsWithMo(path) ? path : path + ".mo";
}

bool MoCatalog::load(const std::string& path)
{
    clear();
    std::string name = fileName(path);
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file)
        return false;

    std::vector<char> bytes;
    const char* problem = nullptr;
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        problem = "it is not a regular file";
    } else if (static_cast<std::uint64_t>(info.st_size) > 0xFFFFFFFFu) {
        problem = "it is larger than the format can address";
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
            problem = "it could not be read";
    }
    std::fclose(file);
    if (problem) {
        LogStream::instance() << "Message catalogue '" << name << "' is not used: " << problem << "."
                              << LogStream::endl;
        return false;
    }
    return loadImage(std::move(bytes), name);
}

bool MoCatalog::loadImage(std::vector<char> bytes, const std::string& name)
{
    clear();
    image = std::move(bytes);
    if (!validate(name)) {
        clear();
        return false;
    }
    return true;
}

void MoCatalog::clear()
{
    image.clear();
    image.shrink_to_fit();
    stringCount = hashSize = hashTable = sourceTable = translationTable = 0;
    swapped = false;
}

std::uint32_t MoCatalog::word(std::size_t offset) const
{
    std::uint32_t value;
    std::memcpy(&value, image.data() + offset, sizeof value);
    return swapped ? swapBytes(value) : value;
}

bool MoCatalog::validate(const std::string& name)
{
    auto refuse = [&](const char* problem) {
        LogStream::instance() << "Message catalogue '" << name << "' is damaged and not used: " << problem << "."
                              << LogStream::endl;
        return false;
    };

    const std::uint64_t size = image.size();
    if (size <= headerSize)
        return refuse("it is too short");
    std::uint32_t magic;
    std::memcpy(&magic, image.data(), sizeof magic);
    if (magic == magicNative)
        swapped = false;
    else if (magic == magicSwapped)
        swapped = true;
    else
        return refuse("it is not a message catalogue");

    stringCount = word(8);
    sourceTable = word(12);
    translationTable = word(16);
    hashSize = word(20);
    hashTable = word(24);

    const std::uint64_t tableSize = std::uint64_t { stringCount } * tableEntrySize;
    if (sourceTable + tableSize > size || translationTable + tableSize > size)
        return refuse("a string table lies outside the file");

    // A string runs from its offset to the first NUL; the stored lengths are
    // not used. Every string must end inside the file: it starts inside it,
    // and at or before the file's last NUL byte.
    const void* lastNulAt = ::memrchr(image.data(), '\0', image.size());
    const std::uint64_t lastNul = lastNulAt ? static_cast<const char*>(lastNulAt) - image.data() : 0;
    for (std::uint64_t table : { sourceTable, translationTable }) {
        for (std::uint32_t i = 0; i < stringCount; ++i) {
            std::uint64_t offset = word(table + i * tableEntrySize + 4);
            if (offset >= size)
                return refuse("a string lies outside the file");
            if (!lastNulAt || offset > lastNul)
                return refuse("a string is not terminated");
        }
    }

    if (hashSize > 2) {
        if (hashTable + std::uint64_t { hashSize } * 4 > size)
            return refuse("the hash table lies outside the file");
        bool hasEmptySlot = false;
        for (std::uint32_t slot = 0; slot < hashSize; ++slot) {
            std::uint32_t entry = word(hashTable + std::uint64_t { slot } * 4);
            if (entry > stringCount)
                return refuse("the hash table names a string that does not exist");
            hasEmptySlot = hasEmptySlot || entry == 0;
        }
        if (!hasEmptySlot)
            return refuse("the hash table has no empty slot");
    }
    return true;
}

std::string_view MoCatalog::stringAt(std::size_t table, std::uint32_t index) const
{
    std::size_t offset = word(table + std::size_t { index } * tableEntrySize + 4);
    // Validation put a NUL inside the image after every string.
    return std::string_view(image.data() + offset, ::strnlen(image.data() + offset, image.size() - offset));
}

std::string MoCatalog::find(const std::string& text) const
{
    if (!isLoaded())
        return {};

    if (hashSize > 2) {
        std::uint32_t h = hashpjw(text);
        std::uint64_t index = h % hashSize;
        std::uint64_t increment = 1 + h % (hashSize - 2);
        // Each slot at most once: a table whose probe sequence never meets
        // an empty slot ends the search instead of looping.
        for (std::uint32_t probe = 0; probe < hashSize; ++probe) {
            std::uint32_t entry = word(hashTable + index * 4);
            if (entry == 0)
                return {};
            if (stringAt(sourceTable, entry - 1) == text)
                return std::string(stringAt(translationTable, entry - 1));
            index += increment;
            if (index >= hashSize)
                index -= hashSize;
        }
        return {};
    }

    // The source texts are sorted by their bytes.
    std::uint32_t low = 0;
    std::uint32_t high = stringCount;
    while (low < high) {
        std::uint32_t middle = low + (high - low) / 2;
        int order = std::string_view(text).compare(stringAt(sourceTable, middle));
        if (order == 0)
            return std::string(stringAt(translationTable, middle));
        if (order > 0)
            low = middle + 1;
        else
            high = middle;
    }
    return {};
}

std::string MoCatalog::toPoText() const
{
    std::string out;
    auto addEntry = [&](std::uint32_t index) {
        out += "msgid\t\"";
        escapeInto(out, stringAt(sourceTable, index));
        out += "\"\r\nmsgstr\t\"";
        escapeInto(out, stringAt(translationTable, index));
        out += "\"\r\n\r\n";
    };
    if (!isLoaded())
        return out;
    if (hashSize > 2) {
        for (std::uint32_t slot = 0; slot < hashSize; ++slot)
            if (std::uint32_t entry = word(hashTable + std::uint64_t { slot } * 4))
                addEntry(entry - 1);
    } else {
        for (std::uint32_t i = 0; i < stringCount; ++i)
            addEntry(i);
    }
    return out;
}
