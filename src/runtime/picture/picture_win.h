#pragma once
// Pictures loaded from BMP and JPEG files, held as one 32-bit top-down DIB section at the size the picture
// is meant to be seen (EXIF orientation already applied), ready to be selected into a memory DC.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "runtime/base/handles_win.h"

namespace kpv::rt {

// A 32-bit top-down DIB section; *bits receives its pixels. Empty when the size is not positive, too large
// for a DIB section to address, or the bitmap cannot be made.
UniqueBitmap CreateImageBitmap(int width, int height, uint32_t** bits);

class Picture {
public:
    Picture() = default;
    Picture(Picture&& o) noexcept
        : bitmap_(std::move(o.bitmap_)), bits_(std::exchange(o.bits_, nullptr)),
          width_(std::exchange(o.width_, 0)), height_(std::exchange(o.height_, 0)) {}
    Picture& operator=(Picture&& o) noexcept {
        if (this != &o) {
            bitmap_ = std::move(o.bitmap_);
            bits_ = std::exchange(o.bits_, nullptr);
            width_ = std::exchange(o.width_, 0);
            height_ = std::exchange(o.height_, 0);
        }
        return *this;
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // A blank (black) picture of the given size; empty when the size is not positive or memory is short.
    static Picture Create(int width, int height);

    HBITMAP bitmap() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels as 0x00RRGGBB (bytes blue, green, red, 0), top line first, stride() bytes from line to line.
    uint32_t* bits() { return bits_; }
    const uint32_t* bits() const { return bits_; }
    int stride() const { return width_ * 4; }
    bool empty() const { return bits_ == nullptr; }
    void reset() { *this = Picture(); }

private:
    UniqueBitmap bitmap_;
    uint32_t* bits_ = nullptr;  // owned by bitmap_
    int width_ = 0;
    int height_ = 0;
};

enum class PictureLoadError {
    None,
    Missing,       // no such file, or it cannot be opened for reading
    NotAPicture,   // neither a BMP nor a JPEG by its first bytes, or a kind of them this loader refuses
    TooLarge,      // its header claims more pixels than the loader accepts
    DecodeFailed,  // damaged, truncated, inconsistent with its own header, or refused by the decoder
    Stopped,       // the watch stopped the load
};

// Hears of a load's progress: once the header is read and after each band of lines decoded. Returning
// false stops the load there.
class LoadWatch {
public:
    virtual bool Continue() = 0;

protected:
    ~LoadWatch() = default;
};

// Loads a BMP or JPEG file. On failure the result is empty and *error (when given) says why; nothing is
// reported to the user. Initialises COM on the calling thread for the duration of the call if needed.
Picture LoadPicture(const std::wstring& path, PictureLoadError* error = nullptr, LoadWatch* watch = nullptr);

}  // namespace kpv::rt
