#pragma once
// One open key of the registry (platform/Registry.h), remembering the result
// of its last operation. It never logs: callers look at the result and at
// `lastError` and decide themselves.
#include "platform/Registry.h"
#include "platform/WinTypes.h"

#include <string>

class RegistryKey {
public:
    // Holds the root until a key is opened.
    explicit RegistryKey(platform::HKEY root);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens `subKey` below `parent`, closing a key held before. On failure no
    // key is held and later reads fail with ERROR_INVALID_HANDLE.
    bool open(platform::HKEY parent, const std::string& subKey);
    // Success needs a value of at most 4 bytes; `value` is left as it was otherwise.
    bool readDword(const std::string& name, DWORD& value);
    // Text of up to 199 bytes (200 with its closing NUL); a longer value fails
    // with ERROR_MORE_DATA. `value` is left as it was on failure.
    bool readString(const std::string& name, std::string& value);
    bool writeDword(const std::string& name, DWORD value);
    void close();

    LONG lastError = 0;
    DWORD lastType = 0;
    DWORD lastSize = 0;
    platform::HKEY key;
    std::string keyName;

private:
    bool holdsOpenedKey() const;
};
