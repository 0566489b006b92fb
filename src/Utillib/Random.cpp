#include "Utillib/Random.h"

#include <chrono>
#include <random>

namespace Utillib {

namespace {

class ProcessGenerator : public RandomGenerator {
public:
    std::uint32_t next() override
    {
        if (!seeded)
            seed(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
        return static_cast<std::uint32_t>(engine());
    }
    void seed(std::uint32_t value)
    {
        engine.seed(value);
        seeded = true;
    }

private:
    std::mt19937 engine;
    bool seeded = false;
};

ProcessGenerator& processGenerator()
{
    static ProcessGenerator generator;
    return generator;
}

RandomGenerator* installed = nullptr;

} // namespace

RandomGenerator& randomGenerator() { return installed ? *installed : processGenerator(); }

void setRandomGenerator(RandomGenerator* replacement) { installed = replacement; }

void seedRandom(std::uint32_t seed) { processGenerator().seed(seed); }

} // namespace Utillib
