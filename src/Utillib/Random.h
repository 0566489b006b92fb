#pragma once
// The program's one pseudo-random generator, seeded once at start-up; session
// serials draw from it. Tests install a generator of their own.
#include <cstdint>

namespace Utillib {

class RandomGenerator {
public:
    virtual ~RandomGenerator() = default;
    // The next value; callers use its low bits.
    virtual std::uint32_t next() = 0;
};

// The generator in use: the installed one, else the process's own, seeded
// from the clock on first use unless seedRandom came first.
RandomGenerator& randomGenerator();
// Installs a generator (not owned); nullptr restores the process's own.
void setRandomGenerator(RandomGenerator* replacement);
// Seeds the process's own generator.
void seedRandom(std::uint32_t seed);

inline std::uint32_t nextRandom() { return randomGenerator().next(); }

} // namespace Utillib
