#include "session/HelpPlacement.h"

#include <algorithm>

namespace helpplacement {

Rect place(const Rect& owner, int width, int height, const Rect& area)
{
    Rect help;
    help.width = std::clamp(width, 0, std::max(0, area.width));
    help.height = std::clamp(height, 0, std::max(0, area.height));
    help.y = std::clamp(owner.y, area.y, area.bottom() - help.height);

    const int roomRight = area.right() - std::max(owner.right(), area.x);
    const int roomLeft = std::min(owner.x, area.right()) - area.x;
    if (roomRight >= help.width) {
        help.x = std::max(owner.right(), area.x);
    } else if (roomLeft >= help.width) {
        help.x = std::min(owner.x, area.right()) - help.width;
    } else if (std::max(roomLeft, roomRight) >= minimumWidth) {
        help.width = std::max(roomLeft, roomRight);
        help.x = roomRight >= roomLeft ? area.right() - help.width : area.x;
    } else {
        help.x = roomRight >= roomLeft ? area.right() - help.width : area.x;
    }
    return help;
}

} // namespace helpplacement
