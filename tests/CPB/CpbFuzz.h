#pragma once
#include <cstddef>
#include <cstdint>

// Feed arbitrary bytes to the CPR Controller's reply parser and to the memory
// decoders and check what comes out. Return 0; a broken invariant aborts,
// which the fuzzer and the replay test catch.
int fuzzReplies(const std::uint8_t* data, std::size_t size);
int fuzzMemory(const std::uint8_t* data, std::size_t size);
