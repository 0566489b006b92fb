#pragma once

namespace res {

// Registers the bitmaps as bitmap resources.
void registerBitmaps();

} // namespace res
