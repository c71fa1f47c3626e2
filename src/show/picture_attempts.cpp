#include "show/picture_attempts.h"

#include "show/picture_pick.h"

namespace kpv {

namespace {

// Random draws among the untried entries first; once they keep hitting tried ones (most of a large list
// has failed), the next untried entry after the draw is taken, so the search always ends.
constexpr int kDrawsBeforeScan = 32;

int64_t DrawUntried(const std::vector<std::wstring>& list, const std::wstring& last, const std::vector<bool>& tried,
                    int64_t untriedOthers, rt::RandomSource& rng) {
    const auto n = static_cast<int64_t>(list.size());
    // The last picture is avoided while any other untried entry remains.
    const auto acceptable = [&](int64_t i) {
        return !tried[static_cast<size_t>(i)] && (untriedOthers == 0 || list[static_cast<size_t>(i)] != last);
    };
    int64_t index = 0;
    for (int d = 0; d < kDrawsBeforeScan; ++d) {
        index = rt::DrawIndex(rng.Next(), n);
        if (acceptable(index)) return index;
    }
    for (int64_t step = 0; step < n; ++step) {
        const int64_t i = (index + step) % n;
        if (acceptable(i)) return i;
    }
    return -1;
}

}  // namespace

int64_t PickLoadablePicture(const std::vector<std::wstring>& list, const std::wstring& last,
                            rt::RandomSource& rng, const std::function<bool(int64_t)>& tryLoad) {
    const auto n = static_cast<int64_t>(list.size());
    if (n == 0) return -1;
    int64_t index = PickPictureIndex(list, last, rng);
    std::vector<bool> tried(static_cast<size_t>(n), false);
    int64_t untried = n;
    int64_t untriedOthers = 0;
    for (const auto& path : list) untriedOthers += path != last ? 1 : 0;
    while (index >= 0) {
        if (tryLoad(index)) return index;
        tried[static_cast<size_t>(index)] = true;
        --untried;
        if (list[static_cast<size_t>(index)] != last) --untriedOthers;
        if (untried == 0) return -1;
        index = DrawUntried(list, last, tried, untriedOthers, rng);
    }
    return -1;
}

}  // namespace kpv
