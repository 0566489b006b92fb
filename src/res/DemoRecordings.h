#pragma once

namespace res {

// Registers the demonstration recordings as the "BIN" resources 169 to 177
// (three sets of compression, ventilation and status channels). The start-up
// of every program and test that plays them calls it once, before the
// demonstration sets are built; calling it again changes nothing.
void registerDemoRecordings();

} // namespace res
