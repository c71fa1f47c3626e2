#include "transitions/spiral_walk.h"

#include "transitions/shown_blocks.h"

namespace kpv {

SpiralWalk::SpiralWalk(int32_t columns, int32_t rows)
    : columns_(columns), rows_(rows), pos_{columns, 1}, columnLimit_(columns), rowLimit_(rows) {}

void SpiralWalk::AdvanceInward() {
    switch (direction_) {
        case SpiralDirection::Down:
            if (pos_.r == rowLimit_) {
                direction_ = SpiralDirection::Left;
                columnLimit_ = columns_ - columnLimit_ + 1;
                --pos_.c;
            } else {
                ++pos_.r;
            }
            break;
        case SpiralDirection::Left:
            if (pos_.c == columnLimit_) {
                direction_ = SpiralDirection::Up;
                rowLimit_ = rows_ - rowLimit_ + 1;
                --pos_.r;
            } else {
                --pos_.c;
            }
            break;
        case SpiralDirection::Up:
            if (pos_.r == rowLimit_) {
                direction_ = SpiralDirection::Right;
                columnLimit_ = columns_ - columnLimit_;
                ++pos_.c;
            } else {
                --pos_.r;
            }
            break;
        case SpiralDirection::Right:
            if (pos_.c == columnLimit_) {
                direction_ = SpiralDirection::Down;
                rowLimit_ = rows_ - rowLimit_;
                ++pos_.r;
            } else {
                ++pos_.c;
            }
            break;
    }
}

void SpiralWalk::ReverseForOutward() {
    switch (direction_) {
        case SpiralDirection::Up:
            direction_ = SpiralDirection::Down;
            rowLimit_ = rows_ - rowLimit_ + 1;
            break;
        case SpiralDirection::Down:
            direction_ = SpiralDirection::Up;
            rowLimit_ = rows_ - rowLimit_;
            break;
        case SpiralDirection::Left:
            direction_ = SpiralDirection::Right;
            columnLimit_ = columns_ - columnLimit_ + 1;
            rowLimit_ = rows_ - rowLimit_ + 1;
            break;
        case SpiralDirection::Right:
            direction_ = SpiralDirection::Left;
            columnLimit_ = columns_ - columnLimit_;
            rowLimit_ = rows_ - rowLimit_;
            break;
    }
}

void SpiralWalk::AdvanceOutward() {
    switch (direction_) {
        case SpiralDirection::Down:
            if (pos_.r == rowLimit_) {
                direction_ = SpiralDirection::Right;
                columnLimit_ = columns_ - columnLimit_ + 1;
                ++pos_.c;
            } else {
                ++pos_.r;
            }
            break;
        case SpiralDirection::Left:
            if (pos_.c == columnLimit_) {
                direction_ = SpiralDirection::Down;
                rowLimit_ = rows_ - rowLimit_ + 1;
                ++pos_.r;
            } else {
                --pos_.c;
            }
            break;
        case SpiralDirection::Up:
            if (pos_.r == rowLimit_) {
                direction_ = SpiralDirection::Left;
                columnLimit_ = columns_ - columnLimit_;
                --pos_.c;
            } else {
                --pos_.r;
            }
            break;
        case SpiralDirection::Right:
            if (pos_.c == columnLimit_) {
                direction_ = SpiralDirection::Up;
                rowLimit_ = rows_ - rowLimit_;
                --pos_.r;
            } else {
                ++pos_.c;
            }
            break;
    }
}

SpiralWalk FindInwardEnd(int32_t columns, int32_t rows) {
    SpiralWalk walk(columns, rows);
    if (columns <= 0 || rows <= 0) return walk;
    const int32_t n = columns * rows;
    ShownBlocks shown(n);
    // The inward walk takes a new block at every step, so N steps always reach the end.
    for (int32_t step = 0; step < n; ++step) {
        const BlockPosition p = walk.Position();
        // The inward walk stays inside the grid until its last block; stop rather than index outside it.
        if (!IsInGrid(p, columns, rows)) break;
        shown.MarkShown(static_cast<int32_t>(BlockNumber(p, columns)));
        if (shown.AllBlocksShown()) break;
        walk.AdvanceInward();
    }
    return walk;
}

}  // namespace kpv
