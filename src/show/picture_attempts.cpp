#include "show/picture_attempts.h"

#include <array>

#include "show/picture_pick.h"

namespace kpv {

namespace {

// Random draws among the entries wanted first; once they keep hitting others (most of a large list has
// failed), the next wanted entry after the draw is taken, so the search always ends.
constexpr int kDrawsBeforeScan = 32;

int64_t DrawWanted(int64_t n, rt::RandomSource& rng, const std::function<bool(int64_t)>& wanted) {
    int64_t index = 0;
    for (int d = 0; d < kDrawsBeforeScan; ++d) {
        index = rt::DrawIndex(rng.Next(), n);
        if (wanted(index)) return index;
    }
    for (int64_t step = 0; step < n; ++step) {
        const int64_t i = (index + step) % n;
        if (wanted(i)) return i;
    }
    return -1;
}

}  // namespace

int64_t PickLoadablePicture(const std::vector<std::wstring>& list, const std::wstring& last,
                            rt::RandomSource& rng, const std::function<bool(int64_t)>& tryLoad,
                            const std::function<bool(int64_t)>& heldElsewhere) {
    const auto n = static_cast<int64_t>(list.size());
    if (n == 0) return -1;
    // 0: wanted; 1: held by another monitor; 2: the picture prepared last. A monitor shows another
    // monitor's picture rather than its own again, so every monitor keeps changing picture.
    const auto rank = [&](int64_t i) {
        if (list[static_cast<size_t>(i)] == last) return 2;
        return heldElsewhere && heldElsewhere(i) ? 1 : 0;
    };
    std::array<int64_t, 3> untried{};
    for (int64_t i = 0; i < n; ++i) ++untried[static_cast<size_t>(rank(i))];
    const auto bestRank = [&] {
        for (int r = 0; r < 3; ++r)
            if (untried[static_cast<size_t>(r)] > 0) return r;
        return -1;
    };
    std::vector<bool> tried(static_cast<size_t>(n), false);
    const auto drawBest = [&] {
        const int best = bestRank();
        if (best < 0) return int64_t{-1};
        return DrawWanted(n, rng, [&](int64_t i) { return !tried[static_cast<size_t>(i)] && rank(i) == best; });
    };

    int64_t index = heldElsewhere ? drawBest() : PickPictureIndex(list, last, rng);
    while (index >= 0) {
        if (tryLoad(index)) return index;
        tried[static_cast<size_t>(index)] = true;
        --untried[static_cast<size_t>(rank(index))];
        index = drawBest();
    }
    return -1;
}

}  // namespace kpv
