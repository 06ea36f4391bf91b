#pragma once

#include <cstdint>

namespace oplix {

// The process's pseudo-random generator: answer shuffling and the filler bytes of scrambled
// texts draw from it. Tests replace it to make draws predictable.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform integer r with 0 <= r < n; 0 when n is 0.
    virtual std::uint32_t Below(std::uint32_t n) = 0;
};

RandomSource& ProcessRandom();

// Seeds the default generator; the program does it once from the clock at start-up.
void SeedProcessRandom(std::uint64_t seed);
void SeedProcessRandomFromClock();

// Installs a replacement for the lifetime of the object, then restores the previous one.
class ScopedRandomOverride {
public:
    explicit ScopedRandomOverride(RandomSource& replacement);
    ~ScopedRandomOverride();
    ScopedRandomOverride(const ScopedRandomOverride&) = delete;
    ScopedRandomOverride& operator=(const ScopedRandomOverride&) = delete;

private:
    RandomSource* previous_;
};

}  // namespace oplix
