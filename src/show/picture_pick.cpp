#include "show/picture_pick.h"

#include <algorithm>

namespace kpv {

int64_t PickPictureIndex(const std::vector<std::wstring>& list, const std::wstring& last, rt::RandomSource& rng) {
    const auto n = static_cast<int64_t>(list.size());
    if (n == 0) return -1;
    int64_t index = rt::DrawIndex(rng.Next(), n);
    const bool otherExists = std::any_of(list.begin(), list.end(), [&](const std::wstring& p) { return p != last; });
    if (!otherExists) return index;
    while (list[static_cast<size_t>(index)] == last) index = rt::DrawIndex(rng.Next(), n);
    return index;
}

}  // namespace kpv
