#include "config/mem_buffer.h"

#include <limits>

mem_buffer::buffer_overflow_error::buffer_overflow_error(std::int32_t left, std::int32_t asked)
    : std::runtime_error("XTL mem_buffer overflow")
    , bytesLeft(left)
    , bytesAsked(asked)
{
}

char* mem_buffer::advance(std::int32_t n)
{
    std::ptrdiff_t left = bufferEnd - cursor;
    if (n < 0 || n > left) {
        // A pointer may not move past the end of its block, so the cursor
        // stops at the end instead of beyond it.
        cursor = bufferEnd;
        std::ptrdiff_t limit = std::numeric_limits<std::int32_t>::max();
        throw buffer_overflow_error(static_cast<std::int32_t>(left < limit ? left : limit), n);
    }
    char* start = cursor;
    cursor += n;
    return start;
}
