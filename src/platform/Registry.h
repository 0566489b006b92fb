#pragma once
// The registry: keys and typed values kept in one INI file,
// $XDG_CONFIG_HOME/tavo/registry.ini (~/.config/tavo/registry.ini without
// it). Each key is a section named by its root and path, so the per-machine
// keys sit in their own sections apart from the per-user ones:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Tavo\Tavo CPR\2.3]
//   Data Folder=sz:/home/trainer/cpr-data/
//   Patch level=dword:00000001
//
// Value kinds: "sz:" text (with \\, \n and \r escaped), "dword:" eight hex
// digits, "hex:" bytes as comma-separated hex pairs. Key and value names
// compare ignoring ASCII case; lines that are not understood are kept as they
// are. The file is read at every call and rewritten through a replacing
// rename at every write, so it can be edited while the program runs.
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>

namespace platform {

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Results, numbered as the registry interface numbers them.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

// Where the store lives now (it follows the environment).
std::string registryFilePath();

// Opens an existing key below `parent` (a root or an open key); `result` is 0
// on failure. A key exists when its section, or a section below it, does.
LONG regOpenKey(HKEY parent, const std::string& subKey, HKEY* result);
// Opens `subKey` below `parent` whether or not it exists; its section is
// written with the key's first value.
LONG regCreateKey(HKEY parent, const std::string& subKey, HKEY* result);
LONG regCloseKey(HKEY key);

// Reads a value into `data` of `*size` bytes; `*size` becomes the value's
// size (text counts its closing NUL) and `*type` its kind. A buffer that is
// too small gives ERROR_MORE_DATA and nothing copied; a null `data` only asks
// for the size.
LONG regQueryValue(HKEY key, const std::string& name, DWORD* type, void* data, DWORD* size);

// Writes a value of kind REG_SZ (text up to its first NUL), REG_DWORD (four
// bytes) or REG_BINARY, creating the key's section and the file as needed.
LONG regSetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size);

} // namespace platform
