#include "res/Resources.h"

#include "res/Animations.h"
#include "res/Bitmaps.h"
#include "res/DemoRecordings.h"
#include "res/Dialogs.h"

namespace res {

void registerResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    for (const auto& table : dialogTables())
        platform::registerDialog(table);
    registerDemoRecordings();
    registerAnimations();
    registerBitmaps();
}

} // namespace res
