#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>

// A window over bytes that someone else owns: values are read or written at
// the cursor, which only moves forward. It never allocates or frees.
struct mem_buffer {
    class buffer_overflow_error : public std::runtime_error {
    public:
        buffer_overflow_error(std::int32_t left, std::int32_t asked);
        std::int32_t bytesLeft;   // room before the failing step
        std::int32_t bytesAsked;  // size of the failing step
    };

    mem_buffer() = default;
    mem_buffer(char* start, std::size_t size)
        : bufferStart(start)
        , cursor(start)
        , bufferEnd(start + size)
    {
    }

    // Reserves n bytes at the cursor and returns where they start. When they
    // do not fit, the cursor is left at the end, so every later step fails too,
    // and buffer_overflow_error is raised.
    char* advance(std::int32_t n);

    std::size_t bytesUsed() const { return static_cast<std::size_t>(cursor - bufferStart); }
    std::size_t bytesLeft() const { return static_cast<std::size_t>(bufferEnd - cursor); }

    char* bufferStart = nullptr;
    char* cursor = nullptr;
    char* bufferEnd = nullptr;
};
