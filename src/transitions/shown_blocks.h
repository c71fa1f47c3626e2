#pragma once
// Which blocks a running transition has taken, and whether all of them are taken (which alone ends a
// transition). Entries are numbered 1 to N like the blocks.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kpv {

class ShownBlocks {
public:
    explicit ShownBlocks(int32_t count);

    int32_t Count() const { return count_; }
    bool IsShown(int32_t k) const { return shown_[static_cast<size_t>(k)] != 0; }
    void MarkShown(int32_t k) { shown_[static_cast<size_t>(k)] = 1; }

    // True when every entry 1..N is marked. Entries are only ever marked, never cleared, so the first
    // unmarked entry can only move forward: a whole run of N checks costs O(N), not O(N^2).
    bool AllBlocksShown() const;
    // The lowest unmarked entry, or N + 1 when all are marked.
    int32_t FirstUnshown() const;

private:
    int32_t count_;
    std::vector<uint8_t> shown_;  // index 0 unused
    mutable int32_t firstUnshown_ = 1;
};

}  // namespace kpv
