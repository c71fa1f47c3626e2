#pragma once
// A picture as plain 32-bit pixels, addressed by column from the left and line from the top. In memory each
// pixel is blue, green, red and a fourth byte, so as a number it reads 0xXXRRGGBB.
//
// A grid either owns its pixels (a zero-filled vector) or views memory that belongs to someone else, such as
// the bits of a DIB section. A view may step backwards through memory (negative stride), which is how a
// bottom-up bitmap is seen top line first without copying it.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kpv {

class PixelGrid {
public:
    PixelGrid() = default;

    // An owned grid of width x height zero pixels. Negative sizes are refused rather than wrapped.
    PixelGrid(int32_t width, int32_t height) {
        if (width < 0 || height < 0) throw std::invalid_argument("PixelGrid: negative size");
        width_ = width;
        height_ = height;
        stride_ = width;
        owned_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
        top_ = owned_.data();
    }

    // A view over external memory: topLine points at the first pixel of line 0, strideInPixels is the
    // distance from one line to the next (negative for bottom-up memory). The memory must outlive the view.
    static PixelGrid View(uint32_t* topLine, int32_t width, int32_t height, ptrdiff_t strideInPixels) {
        if (width < 0 || height < 0) throw std::invalid_argument("PixelGrid: negative size");
        PixelGrid g;
        g.width_ = width;
        g.height_ = height;
        g.stride_ = strideInPixels;
        g.top_ = topLine;
        return g;
    }

    // A view of the rectangle (x, y, w, h) of this grid, clipped to the grid. The result shares pixels with
    // this grid, so it must not outlive it.
    PixelGrid Part(int32_t x, int32_t y, int32_t w, int32_t h) {
        const int64_t left = Clamp(x, 0, width_);
        const int64_t top = Clamp(y, 0, height_);
        const int64_t right = Clamp(static_cast<int64_t>(x) + (w > 0 ? w : 0), left, width_);
        const int64_t bottom = Clamp(static_cast<int64_t>(y) + (h > 0 ? h : 0), top, height_);
        const int32_t pw = static_cast<int32_t>(right - left);
        const int32_t ph = static_cast<int32_t>(bottom - top);
        if (pw == 0 || ph == 0) return View(nullptr, 0, 0, 0);
        return View(top_ + top * stride_ + left, pw, ph, stride_);
    }

    PixelGrid(const PixelGrid& other) { CopyFrom(other); }
    PixelGrid& operator=(const PixelGrid& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    PixelGrid(PixelGrid&& other) noexcept { MoveFrom(other); }
    PixelGrid& operator=(PixelGrid&& other) noexcept {
        if (this != &other) MoveFrom(other);
        return *this;
    }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    ptrdiff_t Stride() const { return stride_; }

    uint32_t* Line(int32_t y) { return top_ + y * stride_; }
    const uint32_t* Line(int32_t y) const { return top_ + y * stride_; }
    uint32_t& At(int32_t column, int32_t line) { return Line(line)[column]; }
    uint32_t At(int32_t column, int32_t line) const { return Line(line)[column]; }

private:
    static int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

    // A copy of an owned grid owns a copy of the pixels; a copy of a view is another view of the same memory.
    void CopyFrom(const PixelGrid& other) {
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        owned_ = other.owned_;
        top_ = owned_.empty() ? other.top_ : owned_.data();
    }
    void MoveFrom(PixelGrid& other) {
        const bool owned = !other.owned_.empty();
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        owned_ = std::move(other.owned_);
        top_ = owned ? owned_.data() : other.top_;
        other.owned_.clear();
        other.top_ = nullptr;
        other.width_ = other.height_ = 0;
        other.stride_ = 0;
    }

    int32_t width_ = 0;
    int32_t height_ = 0;
    ptrdiff_t stride_ = 0;
    std::vector<uint32_t> owned_;
    uint32_t* top_ = nullptr;
};

}  // namespace kpv
