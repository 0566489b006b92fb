#pragma once
// Rectangle arithmetic with the platform's conventions: right and bottom are
// exclusive, and a rectangle with no width or height is empty and never
// contributes to a union.
#include "platform/WinTypes.h"

namespace ui {

inline RECT makeRect(LONG left, LONG top, LONG right, LONG bottom)
{
    RECT r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

inline LONG width(const RECT& r) { return r.right - r.left; }
inline LONG height(const RECT& r) { return r.bottom - r.top; }
inline bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

inline bool equal(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The smallest rectangle holding both; an empty operand is ignored, and two
// empty operands give (0, 0, 0, 0).
inline RECT unite(const RECT& a, const RECT& b)
{
    if (isEmpty(a))
        return isEmpty(b) ? RECT{} : b;
    if (isEmpty(b))
        return a;
    return makeRect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                    a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom);
}

inline RECT offset(const RECT& r, LONG dx, LONG dy)
{
    return makeRect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

} // namespace ui
