#pragma once
// Random draws: single-precision values r with 0 <= r < 1, reseeded from the clock at the start of each
// picture preparation and each transition choice. Each show draws from a generator of its own; tests hand
// in their own source.
#include <cstdint>

namespace kpv::rt {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float Next() = 0;      // 0 <= r < 1
    virtual void Reseed() = 0;     // from the clock
};

// A small, fast generator (xorshift64*) giving 24-bit single-precision fractions.
class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom();
    explicit ClockSeededRandom(uint64_t seed);
    float Next() override;
    void Reseed() override;
    void Seed(uint64_t seed);
private:
    uint64_t state_;
};

// Index 0..n-1 drawn as floor(r * n), formed in double precision; n must be > 0.
int64_t DrawIndex(float r, int64_t n);

}  // namespace kpv::rt
