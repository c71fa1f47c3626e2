#include "runtime/picture/picture_win.h"

#include "runtime/picture/picture_header.h"

namespace kpv::rt {

UniqueBitmap CreateImageBitmap(int width, int height, uint32_t** bits) {
    *bits = nullptr;
    if (width <= 0 || height <= 0) return {};
    // The size in bytes must stay within what a DIB section may address.
    if (static_cast<int64_t>(width) * height > (INT32_MAX / 4)) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top line first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return {};
    *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

Picture Picture::Create(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        int64_t{width} * height > kMaxPicturePixels)
        return {};
    uint32_t* bits = nullptr;
    UniqueBitmap bitmap = CreateImageBitmap(width, height, &bits);
    if (!bitmap) return {};
    Picture picture;
    picture.bitmap_ = std::move(bitmap);
    picture.bits_ = bits;
    picture.width_ = width;
    picture.height_ = height;
    return picture;
}

}  // namespace kpv::rt
