#pragma once
#include <cstddef>
#include <cstdint>

// Feed arbitrary device bytes to the record parsers and check what comes out.
// Return 0; a broken invariant aborts, which the fuzzer and the replay test catch.
int fuzzQueryRecords(const std::uint8_t* data, std::size_t size);
int fuzzFrames(const std::uint8_t* data, std::size_t size);
