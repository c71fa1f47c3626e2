#include "show/picture_attempts.h"

#include <array>

#include "show/picture_pick.h"

namespace kpv {

namespace {

// The entries not yet tried, in one pool per rank: 0 wanted; 1 held by another monitor; 2 the picture
// prepared last. A draw takes a uniform entry of the best pool still holding any and removes it, so every
// entry is drawn at most once and each draw costs the same however many have failed.
class Candidates {
public:
    static constexpr uint8_t kExcluded = 3;

    Candidates(const std::vector<std::wstring>& list, const std::wstring& last, const PickRules& rules)
        : rank_(list.size()), slot_(list.size()) {
        for (size_t i = 0; i < list.size(); ++i) {
            const auto index = static_cast<int64_t>(i);
            uint8_t rank = 0;
            if (rules.knownFailed && rules.knownFailed(index)) rank = kExcluded;
            else if (list[i] == last) rank = 2;
            else if (rules.heldElsewhere && rules.heldElsewhere(index)) rank = 1;
            rank_[i] = rank;
            if (rank == kExcluded) continue;
            slot_[i] = pools_[rank].size();
            pools_[rank].push_back(index);
        }
    }

    bool Untried(int64_t index) const { return rank_[static_cast<size_t>(index)] != kExcluded; }

    void Remove(int64_t index) {
        const auto i = static_cast<size_t>(index);
        if (rank_[i] == kExcluded) return;
        std::vector<int64_t>& pool = pools_[rank_[i]];
        const int64_t moved = pool.back();
        pool[slot_[i]] = moved;
        slot_[static_cast<size_t>(moved)] = slot_[i];
        pool.pop_back();
        rank_[i] = kExcluded;
    }

    int64_t Draw(rt::RandomSource& rng) const {
        for (const std::vector<int64_t>& pool : pools_)
            if (!pool.empty()) return pool[static_cast<size_t>(rt::DrawIndex(rng.Next(), static_cast<int64_t>(pool.size())))];
        return -1;
    }

private:
    std::vector<uint8_t> rank_;
    std::vector<size_t> slot_;
    std::array<std::vector<int64_t>, 3> pools_;
};

}  // namespace

int64_t PickLoadablePicture(const std::vector<std::wstring>& list, const std::wstring& last,
                            rt::RandomSource& rng, const std::function<bool(int64_t)>& tryLoad,
                            const PickRules& rules) {
    if (list.empty()) return -1;
    Candidates candidates(list, last, rules);
    int64_t index = rules.heldElsewhere ? candidates.Draw(rng) : PickPictureIndex(list, last, rng);
    while (index >= 0) {
        if (rules.keepGoing && !rules.keepGoing()) return -1;
        if (candidates.Untried(index) && tryLoad(index)) return index;
        candidates.Remove(index);
        index = candidates.Draw(rng);
    }
    return -1;
}

}  // namespace kpv
