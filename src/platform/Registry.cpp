#include "platform/Registry.h"

#include "platform/FileReplace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

namespace platform {

namespace {

struct Handles {
    std::map<HKEY, std::string> paths;
    HKEY next = 1;
};

Handles& handles()
{
    static Handles table;
    return table;
}

std::optional<std::string> pathOf(HKEY key)
{
    if (key == HKEY_CURRENT_USER)
        return std::string("HKEY_CURRENT_USER");
    if (key == HKEY_LOCAL_MACHINE)
        return std::string("HKEY_LOCAL_MACHINE");
    auto found = handles().paths.find(key);
    if (found == handles().paths.end())
        return std::nullopt;
    return found->second;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string trim(const std::string& s)
{
    std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    std::size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::string joinKey(const std::string& parent, const std::string& sub)
{
    std::size_t first = sub.find_first_not_of('\\');
    if (first == std::string::npos)
        return parent;
    std::size_t last = sub.find_last_not_of('\\');
    return parent + "\\" + sub.substr(first, last - first + 1);
}

std::string escape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '=': out += "\\="; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescape(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char next = s[++i];
        switch (next) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case '\\':
        case '=': out += next; break;
        default:
            out += '\\';
            out += next;
        }
    }
    return out;
}

// Where a name ends: the first '=' that is not escaped.
std::size_t nameEnd(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string::npos;
}

struct Value {
    DWORD type = REG_NONE;
    std::string bytes;
};

std::optional<Value> decode(const std::string& text)
{
    std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    std::string kind = text.substr(0, colon);
    std::string rest = text.substr(colon + 1);
    Value v;
    if (sameName(kind, "sz")) {
        v.type = REG_SZ;
        v.bytes = unescape(rest) + '\0';
    } else if (sameName(kind, "dword")) {
        rest = trim(rest);
        if (rest.empty() || rest.size() > 8 || rest.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        auto n = static_cast<DWORD>(std::strtoul(rest.c_str(), nullptr, 16));
        v.type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            v.bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
    } else if (sameName(kind, "hex")) {
        v.type = REG_BINARY;
        std::stringstream list(rest);
        std::string pair;
        while (std::getline(list, pair, ',')) {
            pair = trim(pair);
            if (pair.empty() || pair.size() > 2 || pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return std::nullopt;
            v.bytes += static_cast<char>(std::strtoul(pair.c_str(), nullptr, 16));
        }
    } else {
        return std::nullopt;
    }
    return v;
}

std::string encode(DWORD type, const char* data, DWORD size)
{
    char hex[16];
    if (type == REG_SZ)
        return "sz:" + escape(std::string(data, strnlen(data, size)));
    if (type == REG_DWORD) {
        DWORD n = 0;
        for (DWORD i = 0; i < 4; ++i)
            n |= static_cast<DWORD>(static_cast<unsigned char>(data[i])) << (8 * i);
        std::snprintf(hex, sizeof hex, "%08x", n);
        return std::string("dword:") + hex;
    }
    std::string out = "hex:";
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", static_cast<unsigned char>(data[i]));
        out += hex;
    }
    return out;
}

std::vector<std::string> readLines()
{
    std::vector<std::string> lines;
    std::ifstream in(registryFilePath(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The section a line opens, if it opens one.
std::optional<std::string> sectionName(const std::string& line)
{
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    return trim(t.substr(1, t.size() - 2));
}

bool keyExists(const std::vector<std::string>& lines, const std::string& path)
{
    if (path.find('\\') == std::string::npos)
        return true; // a root
    for (const std::string& line : lines) {
        auto section = sectionName(line);
        if (!section)
            continue;
        if (sameName(*section, path)
            || (section->size() > path.size() && (*section)[path.size()] == '\\'
                && sameName(section->substr(0, path.size()), path)))
            return true;
    }
    return false;
}

// Index of the line holding the value, or the end of the lines.
std::size_t findValueLine(const std::vector<std::string>& lines, const std::string& path, const std::string& name)
{
    bool inKey = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto section = sectionName(lines[i])) {
            inKey = sameName(*section, path);
            continue;
        }
        if (!inKey)
            continue;
        std::size_t end = nameEnd(lines[i]);
        if (end != std::string::npos && sameName(unescape(trim(lines[i].substr(0, end))), name))
            return i;
    }
    return lines.size();
}

bool writeLines(const std::vector<std::string>& lines)
{
    std::string path = registryFilePath();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return replaceFile(path, text.data(), text.size()) == ReplaceResult::replaced;
}

} // namespace

std::string registryFilePath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : ".") + "/.config";
    }
    return base + "/tavo/registry.ini";
}

LONG regOpenKey(HKEY parent, const std::string& subKey, HKEY* result)
{
    *result = 0;
    auto parentPath = pathOf(parent);
    if (!parentPath)
        return ERROR_INVALID_HANDLE;
    std::string path = joinKey(*parentPath, subKey);
    if (!keyExists(readLines(), path))
        return ERROR_FILE_NOT_FOUND;
    Handles& table = handles();
    *result = table.next++;
    table.paths[*result] = path;
    return ERROR_SUCCESS;
}

LONG regCreateKey(HKEY parent, const std::string& subKey, HKEY* result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    auto parentPath = pathOf(parent);
    if (!parentPath)
        return ERROR_INVALID_HANDLE;
    // The key's section appears with its first value.
    Handles& table = handles();
    *result = table.next++;
    table.paths[*result] = joinKey(*parentPath, subKey);
    return ERROR_SUCCESS;
}

LONG regCloseKey(HKEY key)
{
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    return handles().paths.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG regQueryValue(HKEY key, const std::string& name, DWORD* type, void* data, DWORD* size)
{
    auto path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> lines = readLines();
    std::size_t at = findValueLine(lines, *path, name);
    if (at == lines.size())
        return ERROR_FILE_NOT_FOUND;
    auto value = decode(trim(lines[at].substr(nameEnd(lines[at]) + 1)));
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = value->type;
    DWORD needed = static_cast<DWORD>(value->bytes.size());
    if (data && size && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && size)
        std::memcpy(data, value->bytes.data(), needed);
    if (size)
        *size = needed;
    return ERROR_SUCCESS;
}

LONG regSetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    auto path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    if ((type != REG_SZ && type != REG_DWORD && type != REG_BINARY) || (type == REG_DWORD && size != 4)
        || (size && !data))
        return ERROR_INVALID_PARAMETER;
    std::string line = escape(name) + "=" + encode(type, static_cast<const char*>(data), size);

    std::vector<std::string> lines = readLines();
    std::size_t at = findValueLine(lines, *path, name);
    if (at < lines.size()) {
        lines[at] = line;
    } else {
        // After the last line of the key's first section, or in a new section.
        std::size_t insert = lines.size();
        bool sectionFound = false;
        for (std::size_t i = 0; i < lines.size() && !sectionFound; ++i) {
            auto section = sectionName(lines[i]);
            if (!section || !sameName(*section, *path))
                continue;
            sectionFound = true;
            insert = i + 1;
            for (std::size_t j = i + 1; j < lines.size() && !sectionName(lines[j]); ++j)
                if (!trim(lines[j]).empty())
                    insert = j + 1;
        }
        if (!sectionFound) {
            if (!lines.empty() && !trim(lines.back()).empty())
                lines.push_back(std::string());
            lines.push_back("[" + *path + "]");
            insert = lines.size();
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), line);
    }
    return writeLines(lines) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

} // namespace platform
