#pragma once
// A kept image: a memory device context with a 32-bit top-down DIB section selected into it. Drawing goes
// into it through dc(); the window it belongs to is painted from it.
#include <windows.h>

#include <cstdint>

#include "runtime/base/handles_win.h"
#include "runtime/picture/picture_win.h"

namespace kpv::rt {

class PersistentImage {
public:
    PersistentImage();
    ~PersistentImage();
    PersistentImage(const PersistentImage&) = delete;
    PersistentImage& operator=(const PersistentImage&) = delete;

    // A new size. What fits of the old image is kept at the top left and the rest takes `fill`. A size of
    // zero (or below) on either axis leaves an empty image. False when the bitmap cannot be made; the image
    // is then empty too, so nothing is ever drawn at a size that was not asked for.
    bool Resize(int width, int height, COLORREF fill);
    void Fill(COLORREF colour);

    // Shows a bitmap that someone else owns (a loaded picture of the same kind) in place of an own image,
    // which is dropped. The owner must call ReleaseForeign before it deletes the bitmap.
    void ShowForeign(HBITMAP bitmap, uint32_t* bits, int width, int height);
    void ReleaseForeign();
    bool ShowsForeign() const { return foreign_ != nullptr; }

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const;
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return bits_ == nullptr; }
    // Top line first, width() pixels per line, 0x00RRGGBB. Call GdiFlush() after GDI drawing before reading.
    uint32_t* bits() { return bits_; }

    // Copies the part (x, y, w, h), clipped to the image, to the same place of `target`.
    void CopyTo(HDC target, int x, int y, int w, int h) const;

private:
    void SelectNothing();

    UniqueMemoryDc dc_;
    HGDIOBJ originalBitmap_ = nullptr;  // the DC's own 1 x 1 bitmap, put back before any bitmap goes
    UniqueBitmap own_;
    HBITMAP foreign_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kpv::rt
