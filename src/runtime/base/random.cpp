#include "runtime/base/random.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace kpv::rt {

namespace {
uint64_t ClockSeed() {
    // Two reseeds within one clock tick still differ, on one thread or on several.
    static std::atomic<uint64_t> salt{0x9E3779B97F4A7C15ull};
    const uint64_t mine = salt.fetch_add(0x9E3779B97F4A7C15ull, std::memory_order_relaxed);
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<uint64_t>(now) ^ mine;
}
}  // namespace

ClockSeededRandom::ClockSeededRandom() { Reseed(); }
ClockSeededRandom::ClockSeededRandom(uint64_t seed) { Seed(seed); }

void ClockSeededRandom::Seed(uint64_t seed) {
    // splitmix64 scramble, so that close seeds give unrelated sequences and the state is never 0.
    uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    state_ = (z ^ (z >> 31)) | 1;
}

void ClockSeededRandom::Reseed() { Seed(ClockSeed()); }

float ClockSeededRandom::Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    const uint64_t x = state_ * 0x2545F4914F6CDD1Dull;
    return static_cast<float>(x >> 40) * (1.0f / 16777216.0f);  // exactly representable, < 1
}


int64_t DrawIndex(float r, int64_t n) {
    const int64_t k = static_cast<int64_t>(std::floor(static_cast<double>(r) * static_cast<double>(n)));
    return k < 0 ? 0 : (k >= n ? n - 1 : k);
}

}  // namespace kpv::rt
