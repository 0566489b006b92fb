#pragma once
// The few integer and geometry types the rest of the program is written in.
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using COLORREF = DWORD;

struct POINT {
    LONG x = 0;
    LONG y = 0;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};

// Right and bottom are exclusive.
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

// a * b / c with the product in 64 bits, rounded half away from zero; -1 when c is 0.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t p = static_cast<std::int64_t>(a) * b;
    bool negative = (p < 0) != (c < 0);
    std::int64_t ap = p < 0 ? -p : p;
    std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t q = (ap + ac / 2) / ac;
    return static_cast<int>(negative ? -q : q);
}
