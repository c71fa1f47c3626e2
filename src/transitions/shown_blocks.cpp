#include "transitions/shown_blocks.h"

#include <algorithm>

namespace kpv {

ShownBlocks::ShownBlocks(int32_t count)
    : count_(std::max<int32_t>(0, count)), shown_(static_cast<size_t>(count_) + 1, 0) {}

int32_t ShownBlocks::FirstUnshown() const {
    while (firstUnshown_ <= count_ && shown_[static_cast<size_t>(firstUnshown_)] != 0) ++firstUnshown_;
    return firstUnshown_;
}

bool ShownBlocks::AllBlocksShown() const { return FirstUnshown() > count_; }

}  // namespace kpv
