#pragma once
// Block addressing shared by every transition: column c from 1 (left), row r from 1 (top), and the block
// number k = (r - 1) * Columns + c, row by row from the top-left block.
#include <cstdint>

namespace kpv {

struct BlockPosition {
    int32_t c = 0;
    int32_t r = 0;
    friend bool operator==(const BlockPosition&, const BlockPosition&) = default;
};

// The grid sizes are bounded so that Columns * Rows fits 32 bits; the product is still formed wide so a
// position outside the grid cannot overflow.
inline int64_t BlockNumber(BlockPosition p, int32_t columns) {
    return (static_cast<int64_t>(p.r) - 1) * columns + p.c;
}

inline bool IsInGrid(BlockPosition p, int32_t columns, int32_t rows) {
    return p.c >= 1 && p.c <= columns && p.r >= 1 && p.r <= rows;
}

// k from 1 to Columns * Rows back to its column and row.
inline BlockPosition PositionOfBlock(int32_t k, int32_t columns) {
    int32_t c = k % columns;
    if (c == 0) c = columns;
    return {c, (k - 1) / columns + 1};
}

}  // namespace kpv
