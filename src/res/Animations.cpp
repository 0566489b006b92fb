#include "res/Animations.h"

#include "platform/Resources.h"
#include "res/resource.h"

namespace res {

void registerAnimations()
{
    // The search animation: a ring of twelve dots, one step every 80 ms.
    static const unsigned char search[] = { 12, 0, 80, 0 };
    platform::registerResource("ANIMATION", IDR_SEARCH_ANIMATION, search, sizeof search);
}

} // namespace res
