#pragma once
// The program's one random generator: single-precision draws r with 0 <= r < 1, reseeded from the clock
// at the start of each picture preparation and each transition choice. Tests install their own source.
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

RandomSource& Random();                  // the program-wide generator
void SetRandomForTesting(RandomSource* source);  // nullptr restores the real one

float Rnd();                              // Random().Next()
void Randomize();                         // Random().Reseed()

// Index 0..n-1 drawn as floor(r * n), formed in double precision; n must be > 0.
int64_t DrawIndex(float r, int64_t n);

}  // namespace kpv::rt
