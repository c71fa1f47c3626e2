#include "transitions/random_block_draw.h"

#include <cmath>

namespace kpv {

namespace {

constexpr int32_t kSingleDrawBlocks = 1 << 24;

double DrawFraction(rt::RandomSource& rng, int32_t n) {
    double v = rng.Next();
    if (n > kSingleDrawBlocks) v += rng.Next() / static_cast<double>(kSingleDrawBlocks);
    return v;
}

}  // namespace

int32_t BlockNumberFromDraw(double v, int32_t n) {
    const double k = std::floor(v * n + 1);
    if (!(k >= 1)) return 1;
    if (k > n) return n;
    return static_cast<int32_t>(k);
}

int32_t DrawUnshownBlock(rt::RandomSource& rng, const ShownBlocks& shown) {
    const int32_t n = shown.Count();
    int32_t k = BlockNumberFromDraw(DrawFraction(rng, n), n);
    while (shown.IsShown(k)) k = BlockNumberFromDraw(DrawFraction(rng, n), n);
    return k;
}

}  // namespace kpv
