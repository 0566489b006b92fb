#include "comm/DemoSets.h"

#include <array>

namespace DemoSets {

namespace {
std::array<const DemoSet*, count> sets {};
}

const DemoSet* get(int number)
{
    if (number < 0 || number >= count)
        return nullptr;
    return sets[static_cast<std::size_t>(number)];
}

void install(int number, const DemoSet* set)
{
    if (number >= 0 && number < count)
        sets[static_cast<std::size_t>(number)] = set;
}

} // namespace DemoSets
