#include "Utillib/RegistryKey.h"

#include <cstring>

RegistryKey::RegistryKey(platform::HKEY root)
    : key(root)
{
}

RegistryKey::~RegistryKey() { close(); }

bool RegistryKey::holdsOpenedKey() const
{
    return key != 0 && key != platform::HKEY_CURRENT_USER && key != platform::HKEY_LOCAL_MACHINE;
}

bool RegistryKey::open(platform::HKEY parent, const std::string& subKey)
{
    keyName = subKey;
    platform::HKEY opened = 0;
    lastError = platform::regOpenKey(parent, subKey, &opened);
    lastType = 0;
    lastSize = 0;
    close();
    key = opened;
    return lastError == platform::ERROR_SUCCESS;
}

bool RegistryKey::readDword(const std::string& name, DWORD& value)
{
    unsigned char bytes[4] = {};
    lastType = 0;
    lastSize = sizeof bytes;
    lastError = platform::regQueryValue(key, name, &lastType, bytes, &lastSize);
    if (lastError != platform::ERROR_SUCCESS)
        return false;
    value = static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 | static_cast<DWORD>(bytes[2]) << 16
        | static_cast<DWORD>(bytes[3]) << 24;
    return true;
}

bool RegistryKey::readString(const std::string& name, std::string& value)
{
    // One byte more than the value may take, so the text always ends in a NUL.
    char buffer[201] = {};
    lastType = 0;
    lastSize = 200;
    lastError = platform::regQueryValue(key, name, &lastType, buffer, &lastSize);
    if (lastError != platform::ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

bool RegistryKey::writeDword(const std::string& name, DWORD value)
{
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24),
    };
    lastError = platform::regSetValue(key, name, platform::REG_DWORD, bytes, sizeof bytes);
    lastType = platform::REG_DWORD;
    lastSize = 4;
    return lastError == platform::ERROR_SUCCESS;
}

void RegistryKey::close()
{
    if (holdsOpenedKey())
        platform::regCloseKey(key);
    key = 0;
}
