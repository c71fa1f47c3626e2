#include "runtime/forms/persistent_image_win.h"

#include <algorithm>
#include <cstddef>

#include "runtime/base/colour_win.h"

namespace kpv::rt {

PersistentImage::PersistentImage() : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) originalBitmap_ = GetCurrentObject(dc_.get(), OBJ_BITMAP);
}

PersistentImage::~PersistentImage() { SelectNothing(); }

HBITMAP PersistentImage::bitmap() const { return foreign_ ? foreign_ : own_.get(); }

void PersistentImage::SelectNothing() {
    if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
}

bool PersistentImage::Resize(int width, int height, COLORREF fill) {
    if (!dc_) return false;
    if (!foreign_ && own_ && width == width_ && height == height_) return true;
    uint32_t* bits = nullptr;
    UniqueBitmap next = CreateImageBitmap(width, height, &bits);
    const bool wanted = width > 0 && height > 0;
    if (next) {
        const uint32_t pixel = ColourToPixel(fill);
        std::fill(bits, bits + static_cast<size_t>(width) * static_cast<size_t>(height), pixel);
        if (bits_) {
            // What fits of the old image is kept.
            const UniqueMemoryDc scratch(CreateCompatibleDC(nullptr));
            if (scratch) {
                const SelectedObject selected(scratch.get(), next.get());
                BitBlt(scratch.get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_.get(), 0, 0,
                       SRCCOPY);
            }
        }
        GdiFlush();
    }
    SelectNothing();
    foreign_ = nullptr;
    own_ = std::move(next);
    bits_ = own_ ? bits : nullptr;
    width_ = own_ ? width : 0;
    height_ = own_ ? height : 0;
    if (own_) SelectObject(dc_.get(), own_.get());
    return own_ || !wanted;
}

void PersistentImage::Fill(COLORREF colour) {
    if (!bits_) return;
    GdiFlush();
    std::fill(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_), ColourToPixel(colour));
}

void PersistentImage::ShowForeign(HBITMAP bitmap, uint32_t* bits, int width, int height) {
    if (!dc_) return;
    SelectNothing();
    own_.reset();
    foreign_ = bitmap;
    bits_ = bitmap ? bits : nullptr;
    width_ = bitmap ? width : 0;
    height_ = bitmap ? height : 0;
    if (bitmap) SelectObject(dc_.get(), bitmap);
}

void PersistentImage::ReleaseForeign() {
    if (!foreign_) return;
    SelectNothing();
    foreign_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void PersistentImage::CopyTo(HDC target, int x, int y, int w, int h) const {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + std::max(w, 0), width_);
    const int bottom = std::min(y + std::max(h, 0), height_);
    if (right <= left || bottom <= top || !target) return;
    BitBlt(target, left, top, right - left, bottom - top, dc_.get(), left, top, SRCCOPY);
}

}  // namespace kpv::rt
