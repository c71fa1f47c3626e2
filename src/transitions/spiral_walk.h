#pragma once
// The rectangular spiral: inward clockwise from the top-right block, ring by ring, and the same path
// walked backwards from where the inward one closes.
#include <cstdint>

#include "transitions/block_position.h"

namespace kpv {

enum class SpiralDirection { Down, Left, Up, Right };

// The limit of the current direction is where the current run ends; the other limit holds the line being
// walked and is mirrored to the opposite side of the ring at the next turn.
class SpiralWalk {
public:
    // Top-right block, heading down, limits at the far column and the bottom row.
    SpiralWalk(int32_t columns, int32_t rows);

    BlockPosition Position() const { return pos_; }
    SpiralDirection Direction() const { return direction_; }
    int32_t ColumnLimit() const { return columnLimit_; }
    int32_t RowLimit() const { return rowLimit_; }

    // One step of the inward walk: turn (and step in the new direction) when the run's limit is reached,
    // otherwise step on.
    void AdvanceInward();
    // Turns an inward walk standing on its path's last block into the outward walk from that block.
    void ReverseForOutward();
    // One step of the outward walk, the inward rule mirrored.
    void AdvanceOutward();

private:
    int32_t columns_;
    int32_t rows_;
    BlockPosition pos_;
    SpiralDirection direction_ = SpiralDirection::Down;
    int32_t columnLimit_;
    int32_t rowLimit_;
};

// Walks the inward path without drawing, marking blocks until all are taken, and stops on the last one
// without advancing past it, so position, direction and limits are those of the path's last block.
SpiralWalk FindInwardEnd(int32_t columns, int32_t rows);

}  // namespace kpv
