#pragma once
// The demonstration data sets that ports 247 to 256 play in demonstration
// mode; built by the application's start-up from its recordings.

struct DemoSet;

namespace DemoSets {
constexpr int count = 3;
// The set with this number (0 to 2); null until the start-up installed it.
const DemoSet* get(int number);
void install(int number, const DemoSet* set);
} // namespace DemoSets
