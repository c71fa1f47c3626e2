#include "effects/transfer_layout.h"

#include <algorithm>
#include <limits>

namespace kpv {

std::optional<int32_t> TransferImageBytes(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const int64_t pixels = static_cast<int64_t>(width) * height;  // below 2^62, no overflow
    if (pixels > std::numeric_limits<int32_t>::max() / 4) return std::nullopt;
    return static_cast<int32_t>(pixels * 4);
}

void BufferToGrid(const uint32_t* buffer, PixelGrid& grid) {
    const int32_t w = grid.Width(), h = grid.Height();
    for (int32_t l = 0; l < h; ++l) {
        const uint32_t* from = buffer + static_cast<ptrdiff_t>(l) * w;
        std::copy(from, from + w, grid.Line(h - 1 - l));
    }
}

void GridToBuffer(const PixelGrid& grid, uint32_t* buffer) {
    const int32_t w = grid.Width(), h = grid.Height();
    for (int32_t l = 0; l < h; ++l) {
        const uint32_t* from = grid.Line(h - 1 - l);
        std::copy(from, from + w, buffer + static_cast<ptrdiff_t>(l) * w);
    }
}

}  // namespace kpv
