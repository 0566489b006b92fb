#pragma once
#include <cstddef>
#include <cstdint>

// Reads the bytes as a session's data file into a fresh replay session; 0
// unless what was read breaks the file's rules.
int fuzzSessionDataFile(const std::uint8_t* data, std::size_t size);
