#include "storage/Random.h"

#include <chrono>
#include <random>

namespace oplix {
namespace {

class MersenneSource : public RandomSource {
public:
    MersenneSource() { SeedFromClock(); }
    void Seed(std::uint64_t seed) { engine_.seed(seed); }
    void SeedFromClock() {
        Seed(static_cast<std::uint64_t>(
            std::chrono::system_clock::now().time_since_epoch().count()));
    }
    std::uint32_t Below(std::uint32_t n) override {
        if (n == 0) {
            return 0;
        }
        return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(engine_);
    }

private:
    std::mt19937_64 engine_;
};

MersenneSource& DefaultSource() {
    static MersenneSource source;
    return source;
}

RandomSource* g_current = nullptr;

}  // namespace

RandomSource& ProcessRandom() {
    return g_current ? *g_current : DefaultSource();
}

void SeedProcessRandom(std::uint64_t seed) {
    DefaultSource().Seed(seed);
}

void SeedProcessRandomFromClock() {
    DefaultSource().SeedFromClock();
}

ScopedRandomOverride::ScopedRandomOverride(RandomSource& replacement) : previous_(g_current) {
    g_current = &replacement;
}

ScopedRandomOverride::~ScopedRandomOverride() {
    g_current = previous_;
}

}  // namespace oplix
