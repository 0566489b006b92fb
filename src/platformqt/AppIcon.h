#pragma once
#include <QIcon>

namespace platform {

// The program's icon (icon 128 of the resources): a red heart with a white
// cross, drawn at the sizes window frames ask for.
QIcon applicationIcon();

} // namespace platform
